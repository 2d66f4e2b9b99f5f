// The checked-lines runner over the fake server: how each line ended, and what a lost session
// means for the lines after it.
#include "remote/CheckedLines.h"

#include "remote/ServerWork.h"
#include "support/FakeServer.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

using namespace quillon;
using testsupport::FakeServer;

namespace {

ShellRequest unlockShell() {
    return {{QStringLiteral("10.0.0.9"), 22, QStringLiteral("varneltail"), QString()},
            QStringLiteral("/usr/varnel"),
            QStringLiteral("SSHUNLOCK"),
            30};
}

TEST(CheckedLines, EachLineEndsOnItsOwnAndALostSessionStopsTheRest) {
    FakeServer server;
    server.on(QStringLiteral("sudo ./ORV_UNLOCK line.db")).status(1);
    server.on(QStringLiteral("sudo ./ORV_UNLOCK dpt.db"))
        .reply(QStringLiteral("dpt.db: busy\n"))
        .status(2);
    server.on(QStringLiteral("sudo ./ORV_UNLOCK div.db")).timesOut();
    server.on(QStringLiteral("sudo ./ORV_UNLOCK lt.db"))
        .reply(QStringLiteral("gone\n"))
        .withoutStatus();
    server.on(QStringLiteral("sudo ./ORV_UNLOCK trunk.db")).dropsSession();
    const QStringList lines{"sudo ./ORV_UNLOCK ext.db", "sudo ./ORV_UNLOCK line.db",
                            "sudo ./ORV_UNLOCK dpt.db", "sudo ./ORV_UNLOCK div.db",
                            "sudo ./ORV_UNLOCK lt.db",  "sudo ./ORV_UNLOCK trunk.db",
                            "sudo ./ORV_UNLOCK ac.db"};

    const CheckedRun run = runCheckedLines(unlockShell(), lines, 7);
    EXPECT_TRUE(run.error.isEmpty()) << run.error.toStdString();
    ASSERT_EQ(run.lines.size(), lines.size());
    const QStringList problems{"",
                               "exit status 1",
                               "dpt.db: busy",
                               "No answer from the server within 7 seconds to: sudo ./ORV_UNLOCK "
                               "div.db",
                               "the server gave no exit status",
                               "The server closed the session while running: sudo ./ORV_UNLOCK "
                               "trunk.db",
                               "not sent, the connection was lost"};
    for (int i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(run.lines[i].line, lines[i]);
        EXPECT_EQ(run.lines[i].ok, i == 0) << i;
        EXPECT_EQ(run.lines[i].problem, problems[i]) << i;
    }
    EXPECT_FALSE(run.allOk());
    // The folder first, then every line with its check, none after the drop.
    QStringList sent{QStringLiteral("cd '/usr/varnel'")};
    for (const QString& l : lines.mid(0, 6)) sent << withExitStatus(l);
    EXPECT_EQ(server.lines(), sent);
    EXPECT_TRUE(failureLines(run, [&](int i) {
                    return lines[i];
                }).startsWith(QStringLiteral("\r\nsudo ./ORV_UNLOCK line.db: exit status 1\r\n")));
}

TEST(CheckedLines, NoShellNoLines) {
    FakeServer server;
    server.on(QStringLiteral("cd '/usr/varnel'"))
        .reply(QStringLiteral("bash: cd: /usr/varnel: No such file or directory\n"));
    const CheckedRun run =
        runCheckedLines(unlockShell(), {QStringLiteral("sudo ./ORV_UNLOCK ext.db")});
    EXPECT_TRUE(run.error.startsWith(QStringLiteral("Could not change to the folder /usr/varnel")))
        << run.error.toStdString();
    EXPECT_TRUE(run.lines.isEmpty());
    EXPECT_FALSE(run.allOk());
    EXPECT_EQ(server.lines(), QStringList{QStringLiteral("cd '/usr/varnel'")});
}

// A checked line quoted to the user is the line as written, without the status check the
// shell was sent.
TEST(CheckedLines, AFailedLineIsQuotedAsWritten) {
    FakeServer server;
    server.on(QStringLiteral("sudo ./ORV_RHOBIC 0 A.TMP")).timesOut();
    server.on(QStringLiteral("sudo ./ORV_RHOBIC 0 B.TMP")).dropsSession();
    ServerFailure failure;
    std::unique_ptr<ServerShell> shell = server.openShell(unlockShell(), failure);
    ASSERT_TRUE(shell);
    const QString refused = QString::fromUtf8("echo \u0141 > C.TMP");
    const QList<std::pair<QString, QString>> cases = {
        {"sudo ./ORV_RHOBIC 0 A.TMP",
         "No answer from the server within 60 seconds to: sudo ./ORV_RHOBIC 0 A.TMP"},
        {refused, "A shell line cannot hold the character U+0141, which has no Windows-1252 "
                  "code: echo ? > C.TMP"},
        {"sudo ./ORV_RHOBIC 0 B.TMP",
         "The server closed the session while running: sudo ./ORV_RHOBIC 0 B.TMP"},
    };
    for (const auto& [line, text] : cases) {
        const LineResult r = shell->runChecked(line);
        EXPECT_EQ(r.failure.text.toStdString(), text.toStdString());
        EXPECT_EQ(r.failure.line, line);
    }
    EXPECT_EQ(withoutStatusCheck("still busy with: ls; echo \"rc=$?\"; the session was closed"),
              "still busy with: ls; the session was closed");
}

// A line whose caller names no deadline is held to the request's line deadline ([Sites]
// LineTimeout), whichever way it is sent.
struct DeadlineCase {
    const char* name;
    std::function<void(ServerShell&, const ShellRequest&)> send;
};
void PrintTo(const DeadlineCase& c, std::ostream* os) {
    *os << c.name;
}

class UnnamedDeadline : public ::testing::TestWithParam<DeadlineCase> {};

TEST_P(UnnamedDeadline, IsTheRequestsLineDeadline) {
    FakeServer server;
    ShellRequest request = unlockShell();
    request.lineTimeoutSec = 7;
    ServerFailure failure;
    const std::unique_ptr<ServerShell> shell = server.openShell(request, failure);
    ASSERT_TRUE(shell) << failure.text.toStdString();
    GetParam().send(*shell, request);
    ASSERT_GE(server.sent().size(), 2u);
    for (const FakeServer::SentLine& sent : server.sent())
        EXPECT_EQ(sent.deadlineSec, 7) << sent.line.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Ways, UnnamedDeadline,
    ::testing::Values(
        DeadlineCase{"Run", [](ServerShell& s, const ShellRequest&) { s.run("ls"); }},
        DeadlineCase{"RunChecked",
                     [](ServerShell& s, const ShellRequest&) { s.runChecked("ls"); }},
        DeadlineCase{"ChangeFolder",
                     [](ServerShell& s, const ShellRequest&) { s.changeFolder("/usr/a b"); }},
        DeadlineCase{"ChangeFolderAsWritten",
                     [](ServerShell& s, const ShellRequest&) {
                         changeFolderAsWritten(s, "/usr/varnel/");
                         changeFolderAsWritten(s, "/usr/a b");
                     }},
        DeadlineCase{"RunQueue",
                     [](ServerShell& s, const ShellRequest&) {
                         QStringList queue{"echo a > T", "echo b >> T"};
                         s.runQueue(queue);
                     }},
        DeadlineCase{"RunCheckedLines",
                     [](ServerShell&, const ShellRequest& r) {
                         runCheckedLines(r, {"sudo ./ORV_UNLOCK ext.db", "sudo ./ORV_UNLOCK lt.db"});
                     }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
