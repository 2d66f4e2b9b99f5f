// The fake server itself, where a fault in it would hide a window's fault: the bytes a window
// sends, the status answers, the files it leaves, and Cancel.
#include "support/FakeServer.h"

#include "remote/CheckedLines.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTimer>

using namespace quillon;
using testsupport::FakeServer;

namespace {

ShellRequest someShell() {
    return {{QStringLiteral("10.0.0.9"), 22, QStringLiteral("varneltail"), QString()},
            QStringLiteral("/usr/varnel"),
            QStringLiteral("wodSSH1"),
            30};
}

FilesRequest someFiles() {
    return {{QStringLiteral("10.0.0.9"), 22, QStringLiteral("varnel"), QString()}, 30};
}

TEST(FakeServer, AnswersLinesAsTheShellWould) {
    FakeServer server;
    server.on(QStringLiteral("sudo ./ORV_UNLOCK ext.db"))
        .reply(QStringLiteral("locked\n"))
        .status(3);
    server.on(QRegularExpression(QStringLiteral("^ls "))).reply(QStringLiteral("a.rep\n"));
    server.on(QStringLiteral("ls new")).reply(QStringLiteral("first\n"));
    server.on(QStringLiteral("ls new")).reply(QStringLiteral("second\n"));  // the later wins
    ServerFailure failure;
    const auto shell = ServerWork::instance().openShell(someShell(), failure);
    ASSERT_TRUE(shell) << failure.text.toStdString();

    const LineResult unlock = shell->runChecked(QStringLiteral("sudo ./ORV_UNLOCK ext.db"));
    EXPECT_EQ(unlock.status, 3);
    EXPECT_EQ(unlock.failure.text, QStringLiteral("locked"));
    EXPECT_EQ(unlock.failure.line, QStringLiteral("sudo ./ORV_UNLOCK ext.db"));
    const LineResult plain = shell->runChecked(QStringLiteral("true"));
    EXPECT_TRUE(plain.ok());
    EXPECT_EQ(plain.status, 0);
    EXPECT_EQ(shell->run(QStringLiteral("ls *.rep")).reply, QStringLiteral("a.rep\n"));
    EXPECT_EQ(shell->run(QStringLiteral("ls new")).reply, QStringLiteral("second\n"));
    EXPECT_EQ(shell->run(QStringLiteral("cat x")).reply, QString());
    // Refused as the real shell refuses it: never sent.
    const LineResult tab = shell->run(QStringLiteral("echo 'a\tb'"));
    EXPECT_EQ(tab.failure.code, kSessionFailed);
    EXPECT_TRUE(tab.failure.text.contains(QStringLiteral("control character")));

    EXPECT_EQ(server.lines(),
              QStringList({QStringLiteral("cd '/usr/varnel'"),
                           withExitStatus(QStringLiteral("sudo ./ORV_UNLOCK ext.db")),
                           withExitStatus(QStringLiteral("true")), QStringLiteral("ls *.rep"),
                           QStringLiteral("ls new"), QStringLiteral("cat x")}));
    ASSERT_EQ(server.shellRequests().size(), 1u);
    EXPECT_EQ(server.shellRequests()[0].control, QStringLiteral("wodSSH1"));
    EXPECT_EQ(server.sent().back().shell, 0);
}

TEST(FakeServer, TimeOutsDropsAndOpenFailuresReadAsTheRealOnes) {
    FakeServer server;
    server.on(QStringLiteral("sleep 90")).timesOut();
    server.on(QStringLiteral("exit")).dropsSession();
    server.failOpen(kSessionLoginRefused, QStringLiteral("refused"));
    ServerFailure failure;
    EXPECT_FALSE(ServerWork::instance().openShell(someShell(), failure));
    EXPECT_EQ(failure.code, kSessionLoginRefused);
    const auto shell = ServerWork::instance().openShell(someShell(), failure);
    ASSERT_TRUE(shell);

    const LineResult slow = shell->run(QStringLiteral("sleep 90"), 5);
    EXPECT_EQ(slow.failure.code, kSessionTimedOut);
    EXPECT_EQ(slow.failure.text,
              QStringLiteral("No answer from the server within 5 seconds to: sleep 90"));
    EXPECT_TRUE(shell->isOpen());
    EXPECT_EQ(shell->run(QStringLiteral("exit")).failure.code, kSessionFailed);
    EXPECT_FALSE(shell->isOpen());
    EXPECT_FALSE(server.isShellOpen(1));
    EXPECT_FALSE(shell->run(QStringLiteral("echo more")).ok());
    EXPECT_EQ(server.linesOf(1).size(), 3);  // the cd, sleep and exit; nothing after the drop

    server.failOpen(kSessionUnreachable, QStringLiteral("down"), FakeServer::Times::Every,
                    FakeServer::Kind::Files);
    EXPECT_TRUE(ServerWork::instance().openShell(someShell(), failure));
    EXPECT_FALSE(ServerWork::instance().openFiles(someFiles(), failure));
    EXPECT_FALSE(ServerWork::instance().openFiles(someFiles(), failure));
    EXPECT_EQ(failure.code, kSessionUnreachable);
}

TEST(FakeServer, FetchWritesAsTheRealSideDoes) {
    testsupport::TempHome home;
    FakeServer server;
    server.addFile(QStringLiteral("/usr/varnel/ext.csv"), "1,2\n");
    server.failFetch(QStringLiteral("/usr/varnel/big.csv"), kSessionTimedOut);
    ServerFailure failure;
    const auto files = ServerWork::instance().openFiles(someFiles(), failure);
    ASSERT_TRUE(files);
    EXPECT_TRUE(files->fetch(QStringLiteral("/usr/varnel/ext.csv"), home.file("ext.csv")).ok());
    EXPECT_EQ(home.read("ext.csv"), QByteArray("1,2\n"));

    // A failed fetch leaves no file, not even an old copy.
    home.write("line.csv", "old\n");
    const ServerFailure missing =
        files->fetch(QStringLiteral("/usr/varnel/line.csv"), home.file("line.csv"));
    EXPECT_EQ(missing.code, kSessionFailed);
    EXPECT_FALSE(QFile::exists(home.file("line.csv")));
    EXPECT_TRUE(files->isOpen());
    const ServerFailure slow =
        files->fetch(QStringLiteral("/usr/varnel/big.csv"), home.file("big.csv"));
    EXPECT_EQ(slow.code, kSessionTimedOut);
    EXPECT_TRUE(slow.text.contains(QStringLiteral("within 30 seconds"))) << slow.text.toStdString();
    EXPECT_FALSE(files->isOpen());
    ASSERT_EQ(server.fetches().size(), 3u);
    EXPECT_EQ(server.fetches()[1].localPath, home.file("line.csv"));
}

TEST(FakeServer, CancelEndsABlockedLine) {
    FakeServer server;
    server.on(QStringLiteral("./ORV_B1 run")).blocksUntilCancel();
    ServerFailure failure;
    const auto shell = ServerWork::instance().openShell(someShell(), failure);
    ASSERT_TRUE(shell);
    QTimer::singleShot(100, [&] { shell->cancel(); });
    QElapsedTimer clock;
    clock.start();
    const LineResult r = shell->run(QStringLiteral("./ORV_B1 run"));
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(r.failure.code, kSessionCancelled);
    EXPECT_FALSE(shell->isOpen());
}

}  // namespace
