// The step runner over the fake server: what each kind sends, where a run stops and how the
// failure that stopped it reads.
#include "remote/ServerSteps.h"

#include "remote/CheckedLines.h"
#include "remote/SessionError.h"
#include "support/FakeServer.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

using namespace quillon;
using testsupport::FakeServer;
using K = ServerStep::Kind;

namespace {

ShellRequest loginShell() {
    return {{QStringLiteral("10.0.0.9"), 22, QStringLiteral("varneltail"), QString()},
            std::nullopt,
            QStringLiteral("wodSSH1"),
            30};
}

// Every kind once, each with what it is for.
const QList<ServerStep> kSteps = {
    {K::Plain, "sudo lpq  >printjob.rtf", 0, "The queue could not be listed"},
    {K::BestEffort, "sudo chgrp ops restore.txt", 0, "A step on the server failed"},
    {K::Checked, "cp a b", 0, "The tables could not be copied"},
    {K::Folder, "/srv/my site", 0, "The site folder could not be reached"},
    {K::BareFolder, "/srv/site/ACL/USERS/", 0, "The folder could not be reached"},
};
const QStringList kSent = {"sudo lpq  >printjob.rtf", "sudo chgrp ops restore.txt",
                           withExitStatus("cp a b"), "cd '/srv/my site'",
                           "cd /srv/site/ACL/USERS/"};

struct StepsCase {
    const char* name;
    std::function<void(FakeServer&, ServerShell&)> arrange;
    int failedStep;     // kSteps.size(): every step ran
    int code;           // of the failure
    const char* told;   // the failure's text exactly
    int cancelAt = -1;  // the step before which the user's Cancel came
};
void PrintTo(const StepsCase& c, std::ostream* os) {
    *os << c.name;
}

class StepsRunner : public ::testing::TestWithParam<StepsCase> {};

TEST_P(StepsRunner, RunsInOrderAndStopsAtTheFirstFailure) {
    const StepsCase& c = GetParam();
    FakeServer server;
    ServerFailure opened;
    const std::unique_ptr<ServerShell> shell = server.openShell(loginShell(), opened);
    ASSERT_TRUE(shell) << opened.text.toStdString();
    c.arrange(server, *shell);
    QStringList logged;
    int asked = 0;
    const StepsRun run =
        runServerSteps(*shell, kSteps,
                       {.cancelled = [&asked, &c] { return asked++ == c.cancelAt; },
                        .log = [&logged](const QString& t) { logged << t; }});

    EXPECT_EQ(run.failedStep, c.failedStep);
    EXPECT_EQ(run.failure.code, c.code);
    EXPECT_EQ(run.failure.text.toStdString(), std::string(c.told));
    // Nothing after the step that stopped the run is sent.
    const int sent = c.cancelAt >= 0 ? c.cancelAt : qMin(c.failedStep + 1, int(kSteps.size()));
    EXPECT_EQ(server.lines(), kSent.mid(0, sent));
    if (!run.ok() && run.failure.code != kSessionCancelled)
        EXPECT_TRUE(logged.last().startsWith(kSteps.at(c.failedStep).line + ": "));
}

const int kAll = int(kSteps.size());

INSTANTIATE_TEST_SUITE_P(
    Runner, StepsRunner,
    ::testing::Values(
        StepsCase{"EveryStepRuns", [](FakeServer&, ServerShell&) {}, kAll, kSessionOk, ""},
        // The command's own words, what the step was for, and the line as written.
        StepsCase{"ACheckedLineFails",
                  [](FakeServer& s, ServerShell&) {
                      s.on("cp a b").reply("cp: cannot stat 'a'\n").status(1);
                  },
                  2, kSessionFailed,
                  "The tables could not be copied.\r\n\r\ncp: cannot stat 'a'\r\n"
                  "(the line was: cp a b)"},
        // A text that quotes the line already does not quote it twice.
        StepsCase{"APlainLineTimesOut",
                  [](FakeServer& s, ServerShell&) { s.on("sudo lpq  >printjob.rtf").timesOut(); },
                  0, kSessionTimedOut,
                  "The queue could not be listed.\r\n\r\nNo answer from the server within 60 "
                  "seconds to: sudo lpq  >printjob.rtf"},
        StepsCase{
            "ABestEffortLineThatTimesOutIsPassedOver",
            [](FakeServer& s, ServerShell&) { s.on("sudo chgrp ops restore.txt").timesOut(); },
            kAll, kSessionOk, ""},
        StepsCase{
            "ABestEffortLineThatLosesTheSessionStops",
            [](FakeServer& s, ServerShell&) { s.on("sudo chgrp ops restore.txt").dropsSession(); },
            1, kSessionFailed,
            "A step on the server failed.\r\n\r\nThe server closed the session while "
            "running: sudo chgrp ops restore.txt"},
        // The set-up's cd goes bare; cd's complaint is the failure.
        StepsCase{"ABareFolderChangeThatDoesNotArrive",
                  [](FakeServer& s, ServerShell&) {
                      s.on("cd /srv/site/ACL/USERS/")
                          .reply("bash: cd: /srv/site/ACL/USERS/: No such file or directory\n");
                  },
                  4, kSessionFailed,
                  "The folder could not be reached.\r\n\r\nbash: cd: /srv/site/ACL/USERS/: No "
                  "such file or directory\r\n(the line was: cd /srv/site/ACL/USERS/)"},
        // The user's Cancel during a wait is told as cancelled, not as a failed step.
        StepsCase{"ACancelledWait",
                  [](FakeServer& s, ServerShell& shell) {
                      s.on("cp a b").then([&shell](const QString&) { shell.cancel(); });
                  },
                  2, kSessionCancelled,
                  "Cancelled by the user; the server may still finish the work."},
        // A Cancel that came between steps: the next one is not sent.
        StepsCase{"CancelledBeforeAStep", [](FakeServer&, ServerShell&) {}, 3, kSessionCancelled,
                  "The work was cancelled. The server may still finish the work.", 3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StepsRunner, OpensTheRequestsShellAndClosesIt) {
    FakeServer server;
    const StepsRun run = runServerSteps(loginShell(), {ServerStep::checked("ls")});
    EXPECT_TRUE(run.ok()) << run.failure.text.toStdString();
    EXPECT_EQ(server.lines(), QStringList{withExitStatus("ls")});
    EXPECT_FALSE(server.isShellOpen(0));

    server.failOpen(kSessionUnreachable, "Connection refused by 10.0.0.9:22.");
    const StepsRun refused = runServerSteps(loginShell(), {ServerStep::checked("ls")});
    EXPECT_EQ(refused.failure.code, kSessionUnreachable);
    EXPECT_EQ(refused.failure.text, "Connection refused by 10.0.0.9:22.");
    EXPECT_EQ(refused.failedStep, 0);
    EXPECT_EQ(server.lines().size(), 1);
}

}  // namespace
