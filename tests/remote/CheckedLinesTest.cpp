// The checked-lines runner over the fake server: how each line ended, and what a lost session
// means for the lines after it.
#include "remote/CheckedLines.h"

#include "support/FakeServer.h"

#include <gtest/gtest.h>

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
                               "div.db; echo \"rc=$?\"",
                               "the server gave no exit status",
                               "The server closed the session while running: sudo ./ORV_UNLOCK "
                               "trunk.db; echo \"rc=$?\"",
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

}  // namespace
