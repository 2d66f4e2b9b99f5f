#include "remote/RemoteShellSession.h"

#include "SessionTestSupport.h"
#include "common/Globals.h"
#include "common/ShellQuote.h"
#include "remote/FileTransferSession.h"
#include "support/SimServer.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>

#include <functional>

using namespace quillon;
using namespace remotetest;

namespace {

// Refusals before anything is sent still say why in errorCode(), as windows show it.
TEST(SessionRefusals, EveryFailureCarriesACode) {
    testsupport::TempHome home;
    RemoteShellSession shell;
    FileTransferSession files;
    const struct {
        const char* what;
        std::function<bool()> call;
        bool onShell;
        const char* text;
    } cases[] = {
        {"prompt before connect", [&] { return shell.waitForPrompt(1); }, true, "Not connected"},
        {"line before connect", [&] { return shell.execute(QStringLiteral("pwd")).has_value(); },
         true, "Not connected"},
        {"line break", [&] { return shell.execute(QStringLiteral("a\nb")).has_value(); }, true,
         "line break"},
        {"no folder", [&] { return shell.changeFolder(QString()); }, true, "No server folder"},
        {"file before connect",
         [&] { return files.getFile(home.file(QStringLiteral("x.csv")), QStringLiteral("x.csv")); },
         false, "Not connected"},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(c.call()) << c.what;
        EXPECT_EQ(c.onShell ? shell.errorCode() : files.errorCode(), kSessionFailed) << c.what;
        const QString error = c.onShell ? shell.errorString() : files.errorString();
        EXPECT_TRUE(error.contains(QString::fromLatin1(c.text))) << c.what;
    }
}

// --- shell sessions -------------------------------------------------------------------------

class RemoteShellTest : public SiteTest {
protected:
    void SetUp() override {
        SiteTest::SetUp();
        if (IsSkipped()) return;
        ASSERT_TRUE(shell.connectToHost(shellTargetForSite(0), 30))
            << shell.errorString().toStdString();
    }
    RemoteShellSession shell;
};

TEST_F(RemoteShellTest, RepliesCarryNoEchoAndNoPrompt) {
    const struct {
        QString line;
        QString reply;
    } cases[] = {
        {QString(), QString()},
        {QStringLiteral("printf 'a\\nb\\n'"), QStringLiteral("a\nb\n")},
        // Text that looks like a prompt inside the echo or the output does not end the line.
        {QStringLiteral("echo '$ ' '# '; echo done"), QStringLiteral("$  # \ndone\n")},
        {QStringLiteral("ls /no-such-folder-here"),
         QStringLiteral("ls: cannot access '/no-such-folder-here': No such file or directory\n")},
        {QStringLiteral("echo ") + shellQuote(QString::fromUtf8("caf\xc3\xa9")),
         QString::fromUtf8("caf\xc3\xa9\n")},
    };
    for (const auto& c : cases) {
        const auto reply = shell.execute(c.line);
        ASSERT_TRUE(reply) << shell.errorString().toStdString();
        EXPECT_EQ(*reply, c.reply) << c.line.toStdString();
    }
}

TEST_F(RemoteShellTest, StrayOutputBetweenLinesIsNotTakenForTheReply) {
    const auto started = shell.execute(QStringLiteral("( (sleep 0.3; echo late-output) & )"));
    ASSERT_TRUE(started) << shell.errorString().toStdString();
    // The server's own delay is what is tested: the stray line comes 0.3 s after the reply,
    // with nothing on this side to wait on; the next line goes once it surely came.
    QTest::qWait(800);
    const auto next = shell.execute(QStringLiteral("echo next"));
    ASSERT_TRUE(next) << shell.errorString().toStdString();
    EXPECT_EQ(*next, QStringLiteral("next\n"));
}

TEST_F(RemoteShellTest, LineBreaksInsideALineAreRefused) {
    const QString t = token();
    EXPECT_FALSE(shell.execute("echo 'a\nb' # " + t));
    EXPECT_TRUE(shell.errorString().contains(QStringLiteral("line break")));
    EXPECT_FALSE(shell.execute("echo a\rb # " + t));
    EXPECT_TRUE(journal.lines(t).isEmpty());
    // One final LF is the line's own end, as callers used to add it.
    const auto reply = shell.execute("echo ok-" + t + "\n");
    ASSERT_TRUE(reply) << shell.errorString().toStdString();
    EXPECT_EQ(*reply, "ok-" + t + "\n");
}

TEST_F(RemoteShellTest, ControlCharactersInAQuotedValueAreRefused) {
    // At an interactive shell these are editing keys even inside quotes: Ctrl-A would move
    // the rest of the value to the start of the line and run it.
    const QString t = token();
    const QString victim = "/tmp/quillon-ctl-" + t;
    for (const char16_t key :
         {u'\x01', u'\x03', u'\t', u'\x15', u'\x16', u'\x17', u'\x7f', u'\0'}) {
        const QString value = "x" + QString(QChar(key)) + "touch " + victim + "; # " + t;
        EXPECT_FALSE(shell.execute("echo " + shellQuote(value))) << int(key);
        EXPECT_EQ(shell.errorCode(), kSessionFailed) << int(key);
        EXPECT_TRUE(shell.errorString().contains(QStringLiteral("control character")))
            << shell.errorString().toStdString();
    }
    EXPECT_TRUE(journal.lines(t).isEmpty());
    EXPECT_FALSE(QFile::exists(victim));
    const auto reply = shell.execute("echo ok-" + t);
    ASSERT_TRUE(reply) << shell.errorString().toStdString();
    EXPECT_EQ(*reply, "ok-" + t + "\n");
}

TEST_F(RemoteShellTest, UnbalancedQuoteReturnsAtContinuationPrompt) {
    const QString t = token();
    QElapsedTimer clock;
    clock.start();
    const auto open = shell.execute("echo 'open-" + t, 10);
    ASSERT_TRUE(open) << shell.errorString().toStdString();
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(*open, QString());
    // The next line closes the quote: the shell was waiting for it.
    const auto closed = shell.execute(QStringLiteral("closed'"));
    ASSERT_TRUE(closed);
    EXPECT_EQ(*closed, "open-" + t + "\nclosed\n");
}

TEST_F(RemoteShellTest, BackupModeWorksInTheBackupFolder) {
    SimServer::writeSiteFile(QStringLiteral("backup/.keep"), QByteArray());
    G().g_BackupReportsMode = true;
    ASSERT_TRUE(shell.changeFolder(siteServerFolder(G().g_CurSite, G().g_BackupReportsMode)))
        << shell.errorString().toStdString();
    const auto pwd = shell.execute(QStringLiteral("pwd"));
    ASSERT_TRUE(pwd);
    EXPECT_EQ(*pwd, SimServer::siteDir() + QStringLiteral("/backup\n"));
    EXPECT_TRUE(journal.lines().contains("cd " + shellQuote(SimServer::siteDir() + "/backup")));
}

TEST_F(RemoteShellTest, ChangeFolderToAMissingFolderFails) {
    EXPECT_FALSE(shell.changeFolder(QStringLiteral("/usr/varnel/no-such-folder")));
    EXPECT_TRUE(shell.errorString().contains(QStringLiteral("no-such-folder")));
    // The line itself ran, but the failure must not read as kSessionOk.
    EXPECT_EQ(shell.errorCode(), kSessionFailed);
    EXPECT_FALSE(shell.changeFolder(QString()));
    // The session is still there for the next line.
    const auto pwd = shell.execute(QStringLiteral("pwd"));
    ASSERT_TRUE(pwd);
    EXPECT_EQ(*pwd, SimServer::siteDir() + QStringLiteral("\n"));
}

TEST_F(RemoteShellTest, WindowTimersRunWhileALineWaits) {
    int ticks = 0;
    std::optional<QString> nested = QStringLiteral("not called");
    QTimer dots;
    QObject::connect(&dots, &QTimer::timeout, [&] {
        if (++ticks == 2) nested = shell.execute(QStringLiteral("echo nested"));
    });
    dots.start(100);
    const auto reply = shell.execute(QStringLiteral("sleep 1; echo slept"));
    dots.stop();
    ASSERT_TRUE(reply);
    EXPECT_EQ(*reply, QStringLiteral("slept\n"));
    EXPECT_GE(ticks, 5);
    // A handler that runs during the wait cannot send on the same session.
    EXPECT_FALSE(nested.has_value());
}

TEST_F(RemoteShellTest, DeletingASessionDuringItsOwnWaitIsSafe) {
    auto* doomed = new RemoteShellSession;
    ASSERT_TRUE(doomed->connectToHost(simShell(), 30)) << doomed->errorString().toStdString();
    // A window closed while it waits takes its session with it.
    QTimer::singleShot(200, [&] { delete doomed; });
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(doomed->execute(QStringLiteral("sleep 5")));
    EXPECT_LT(clock.elapsed(), 3000);
}

TEST_F(RemoteShellTest, FolderWithQuoteAndSemicolonIsOneLiteralPath) {
    QTemporaryDir parent(QStringLiteral("/tmp/quillon-remote-XXXXXX"));
    ASSERT_TRUE(parent.isValid());
    ::chmod(QFile::encodeName(parent.path()).constData(), 0755);
    const QString victim = "pwned-" + token();
    const QString odd = parent.path() + "/a'b;touch " + victim;
    if (!SimServer::makeSite(odd)) GTEST_SKIP() << "making a site folder needs root";
    ASSERT_TRUE(shell.changeFolder(odd)) << shell.errorString().toStdString();
    const auto pwd = shell.execute(QStringLiteral("pwd"));
    ASSERT_TRUE(pwd);
    EXPECT_EQ(*pwd, odd + "\n");
    EXPECT_TRUE(journal.lines().contains("cd " + shellQuote(odd)));
    EXPECT_FALSE(QFile::exists(SimServer::siteDir() + "/" + victim));
    EXPECT_FALSE(QFile::exists(parent.path() + "/" + victim));
    EXPECT_FALSE(QFile::exists(odd + "/" + victim));
}

TEST_F(RemoteShellTest, ServerEndingTheShellIsAFailure) {
    EXPECT_FALSE(shell.execute(QStringLiteral("exit")));
    EXPECT_FALSE(shell.isConnected());
    EXPECT_TRUE(shell.errorString().contains(QStringLiteral("closed the session")));
    EXPECT_FALSE(shell.execute(QStringLiteral("echo x")));
    EXPECT_TRUE(shell.errorString().contains(QStringLiteral("Not connected")));
}

}  // namespace
