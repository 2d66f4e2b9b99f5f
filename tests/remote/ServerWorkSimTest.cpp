// The real side of ServerWork on the stand-in server: what a window gets from a shell and a
// file session, and Cancel.
#include "remote/ServerWork.h"

#include "SessionTestSupport.h"
#include "common/CommonFunctions.h"
#include "common/Globals.h"
#include "remote/CheckedLines.h"
#include "support/SimServer.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include <memory>

using namespace quillon;
using namespace remotetest;

namespace {

class RealServerWorkTest : public SiteTest {
protected:
    std::unique_ptr<ServerShell> open(SiteFolder folder = SiteFolder::Login,
                                      const QString& control = QString()) {
        ServerFailure failure;
        auto shell =
            ServerWork::instance().openShell(shellRequestForSite(0, folder, control), failure);
        EXPECT_TRUE(shell) << failure.text.toStdString();
        EXPECT_TRUE(failure.ok());
        return shell;
    }
};

TEST_F(RealServerWorkTest, QueueRunsFirstToLastAndEmpties) {
    const auto shell = open();
    ASSERT_TRUE(shell);
    const QString t = token();
    QStringList lstCommands{"echo one-" + t, "echo two-" + t + " >/dev/null", "echo three-" + t};
    const QStringList sent = lstCommands;
    const LineResult r = shell->runQueue(lstCommands);
    ASSERT_TRUE(r.ok()) << r.failure.text.toStdString();
    EXPECT_TRUE(lstCommands.isEmpty());
    EXPECT_EQ(r.reply, "one-" + t + "\nthree-" + t + "\n");
    EXPECT_EQ(journal.lines(t), sent);
}

TEST_F(RealServerWorkTest, LineOutlivingItsDeadlineStopsTheQueue) {
    const auto shell = open();
    ASSERT_TRUE(shell);
    const QString t = token();
    QStringList lstCommands{"echo first-" + t, "sleep 3 # " + t, "echo third-" + t};
    QElapsedTimer clock;
    clock.start();
    const LineResult r = shell->runQueue(lstCommands, 1);
    const qint64 ms = clock.elapsed();
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.failure.code, kSessionTimedOut);
    EXPECT_EQ(r.failure.line, "sleep 3 # " + t);
    EXPECT_EQ(lstCommands, QStringList({"sleep 3 # " + t, "echo third-" + t}));
    EXPECT_EQ(r.reply, "first-" + t + "\n");
    EXPECT_TRUE(
        r.failure.text.contains(QStringLiteral("No answer from the server within 1 seconds")))
        << r.failure.text.toStdString();
    EXPECT_TRUE(r.failure.text.contains("sleep 3 # " + t));
    EXPECT_GE(ms, 900);
    EXPECT_LT(ms, 2500);
    EXPECT_EQ(journal.lines(t), QStringList({"echo first-" + t, "sleep 3 # " + t}));
    EXPECT_TRUE(shell->isOpen());

    // A line sent while the old one still runs gives up at its own deadline...
    const LineResult early = shell->run("echo early-" + t, 1);
    EXPECT_EQ(early.failure.code, kSessionTimedOut);
    EXPECT_TRUE(early.failure.text.contains(QStringLiteral("still busy")));
    // ...and once the old line is done the session carries on, its output not mixed in.
    const LineResult later = shell->run("echo later-" + t, 10);
    ASSERT_TRUE(later.ok()) << later.failure.text.toStdString();
    EXPECT_EQ(later.reply, "later-" + t + "\n");
    EXPECT_FALSE(journal.lines(t).contains("echo early-" + t));
}

TEST_F(RealServerWorkTest, CheckedLinesReportTheirStatus) {
    const auto shell = open();
    ASSERT_TRUE(shell);
    const struct {
        QString line;
        int status;
        const char* reply;    // the output, without the status line
        const char* problem;  // in the failure text; "" for a line that ended well
    } cases[] = {
        {QStringLiteral("echo fine"), 0, "fine\n", ""},
        {QStringLiteral("printf 'no line end'"), 0, "no line end", ""},
        {QStringLiteral("false"), 1, "", "exit status 1"},
        {QStringLiteral("ls /no-such-folder-here"), 2,
         "ls: cannot access '/no-such-folder-here': No such file or directory\n",
         "No such file or directory"},
    };
    QStringList sent;
    for (const auto& c : cases) {
        const QString& line = c.line;
        sent << withExitStatus(line);
        const LineResult r = shell->runChecked(line);
        ASSERT_TRUE(r.status.has_value()) << c.line.toStdString();
        EXPECT_EQ(*r.status, c.status) << c.line.toStdString();
        EXPECT_EQ(r.reply, QString::fromUtf8(c.reply)) << c.line.toStdString();
        EXPECT_EQ(r.ok(), c.status == 0) << c.line.toStdString();
        if (c.status != 0) {
            EXPECT_EQ(r.failure.code, kSessionFailed);
            EXPECT_EQ(r.failure.line, line);
            EXPECT_TRUE(r.failure.text.contains(QString::fromUtf8(c.problem)))
                << r.failure.text.toStdString();
        }
    }
    // The status check travels on the same line.
    EXPECT_EQ(journal.lines(QStringLiteral("; echo \"rc=$?\"")), sent);
}

TEST_F(RealServerWorkTest, ShellOpensInTheSiteFolderAndLogsUnderItsControl) {
    QDir().mkpath(home.file(QStringLiteral("Logs")));
    G().g_DebugMode = true;
    ASSERT_TRUE(OpenDebugLog(home.file(QStringLiteral("Logs/Mainlog.log"))));
    {
        const auto shell = open(SiteFolder::Home, QStringLiteral("wodSSH1"));
        ASSERT_TRUE(shell);
        const LineResult pwd = shell->run(QStringLiteral("pwd"));
        EXPECT_EQ(pwd.reply, SimServer::siteDir() + "\n");
    }
    const QString log = QString::fromLatin1(home.read(QStringLiteral("Logs/Mainlog.log")));
    EXPECT_TRUE(log.contains(QStringLiteral("wodSSH1 cd '/usr/varnel'"))) << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("wodSSH1 ") + SimServer::siteDir()))
        << log.toStdString();

    // A folder the server lacks, and a site without a server folder, open no shell.
    const struct {
        QString homedir;
        const char* line;
        const char* text;
    } cases[] = {
        {QStringLiteral("/usr/varnel/no-such-folder"), "cd '/usr/varnel/no-such-folder'",
         "Could not change to the folder /usr/varnel/no-such-folder"},
        {QString(), "", "No server folder is configured for this site."},
    };
    for (const auto& c : cases) {
        G().g_SiteHomedir[0] = c.homedir;
        ServerFailure failure;
        EXPECT_FALSE(ServerWork::instance().openShell(
            shellRequestForSite(0, SiteFolder::Home, QString()), failure));
        EXPECT_EQ(failure.code, kSessionFailed);
        EXPECT_EQ(failure.line, QString::fromLatin1(c.line));
        EXPECT_TRUE(failure.text.contains(QString::fromLatin1(c.text)))
            << failure.text.toStdString();
    }
}

TEST_F(RealServerWorkTest, CancelEndsALongLineAtOnce) {
    auto shell = open();
    ASSERT_TRUE(shell);
    // With nothing waiting it changes nothing.
    shell->cancel();
    EXPECT_EQ(shell->run(QStringLiteral("echo idle")).reply, QStringLiteral("idle\n"));

    // As a Cancel button's click, served while the line waits.
    QTimer::singleShot(300, [&] { shell->cancel(); });
    QElapsedTimer clock;
    clock.start();
    const LineResult r = shell->run(QStringLiteral("sleep 30"));
    EXPECT_LT(clock.elapsed(), 1300);
    EXPECT_EQ(r.failure.code, kSessionCancelled);
    EXPECT_EQ(r.failure.line, QStringLiteral("sleep 30"));
    EXPECT_TRUE(r.failure.text.contains(QStringLiteral("Cancelled by the user")))
        << r.failure.text.toStdString();
    EXPECT_TRUE(r.failure.text.contains(QStringLiteral("may still finish")));
    EXPECT_FALSE(shell->isOpen());
    EXPECT_FALSE(shell->run(QStringLiteral("echo after")).ok());
    shell.reset();

    // The next open works as ever.
    const auto next = open();
    ASSERT_TRUE(next);
    EXPECT_EQ(next->run(QStringLiteral("echo next")).reply, QStringLiteral("next\n"));
}

TEST_F(RealServerWorkTest, ShellDestroyedDuringItsOwnWaitIsSafe) {
    auto shell = open();
    ASSERT_TRUE(shell);
    ServerShell* waiting = shell.get();
    // A window closed while it waits takes its shell with it.
    QTimer::singleShot(200, [&] { shell.reset(); });
    QElapsedTimer clock;
    clock.start();
    const LineResult r = waiting->run(QStringLiteral("sleep 5"));
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.failure.line, QStringLiteral("sleep 5"));
}

class RealServerFilesTest : public RealServerWorkTest {
protected:
    void SetUp() override {
        RealServerWorkTest::SetUp();
        if (IsSkipped()) return;
        name = "server-work-" + token() + ".csv";
        QDir().mkpath(home.file(QStringLiteral("dl")));
    }
    void TearDown() override {
        if (!name.isEmpty()) SimServer::removeSiteFile(name);
        RealServerWorkTest::TearDown();
    }
    QStringList localFiles() const {
        return QDir(home.file(QStringLiteral("dl"))).entryList(QDir::Files | QDir::Hidden);
    }
    QString name;
};

TEST_F(RealServerFilesTest, FetchBringsTheFileOrLeavesNone) {
    SimServer::writeSiteFile(name, "a,b\r\nc\n");
    home.write(QStringLiteral("dl/old.csv"), "an old copy\r\n");
    ServerFailure failure;
    const auto files = ServerWork::instance().openFiles(filesRequestForSite(0), failure);
    ASSERT_TRUE(files) << failure.text.toStdString();
    EXPECT_TRUE(files->fetch(name, home.file(QStringLiteral("dl/new.csv"))).ok());
    EXPECT_EQ(home.read(QStringLiteral("dl/new.csv")), QByteArray("a,b\r\nc\n"));

    const ServerFailure missing =
        files->fetch("missing-" + name, home.file(QStringLiteral("dl/old.csv")));
    EXPECT_EQ(missing.code, kSessionFailed);
    EXPECT_TRUE(missing.text.contains(QStringLiteral("no such file")))
        << missing.text.toStdString();
    EXPECT_TRUE(missing.line.isEmpty());
    EXPECT_EQ(localFiles(), QStringList{QStringLiteral("new.csv")});
    EXPECT_TRUE(files->isOpen());

    G().g_SitePassword[0] = QStringLiteral("wrong");
    EXPECT_FALSE(ServerWork::instance().openFiles(filesRequestForSite(0), failure));
    EXPECT_EQ(failure.code, kSessionLoginRefused);
}

TEST_F(RealServerFilesTest, CancelEndsAStalledFetchAtOnce) {
    SimServer::writeSiteFile(name, QByteArray(300'000, 'x'));
    StallProxy proxy(SimServer::port());
    FilesRequest request = filesRequestForSite(0);
    request.target.port = proxy.port();
    ServerFailure failure;
    const auto files = ServerWork::instance().openFiles(request, failure);
    ASSERT_TRUE(files) << failure.text.toStdString();
    proxy.stall();
    QTimer::singleShot(300, [&] { files->cancel(); });
    QElapsedTimer clock;
    clock.start();
    const ServerFailure r = files->fetch(name, home.file(QStringLiteral("dl/big.csv")), 30);
    EXPECT_LT(clock.elapsed(), 1300);
    EXPECT_EQ(r.code, kSessionCancelled) << r.text.toStdString();
    EXPECT_TRUE(r.text.contains(QStringLiteral("Cancelled by the user")));
    EXPECT_FALSE(files->isOpen());
    EXPECT_TRUE(localFiles().isEmpty()) << localFiles().join(' ').toStdString();
}

}  // namespace
