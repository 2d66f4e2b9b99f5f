// The report run of the selection windows over the fake server: the shell it opens, every line
// it sends in order and with its deadline, how each failure is told, and the hand-over of the
// report to report retrieval.
#include "reports/selection/fAuth.h"
#include "reports/selection/fDetailReport.h"
#include "reports/selection/fWatchdog.h"
#include "reports/selection/fcost.h"
#include "reports/selection/funusedstations.h"

#include "SelectionTestSupport.h"
#include "common/Globals.h"
#include "remote/CheckedLines.h"
#include "reports/common/ReportRun.h"
#include "support/FakeServer.h"
#include "widgets/LongWaitCancel.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <memory>
#include <ostream>

using namespace quillon;
using testsupport::FakeServer;

namespace {

const QString kSiteFolderLine = QStringLiteral("cd '/usr/varnel'");

// The lines as a checked run sends them.
QStringList checked(const QStringList& lines) {
    QStringList out;
    for (const QString& l : lines) out << withExitStatus(l);
    return out;
}

class SelectionRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        selectiontest::writeTables(home);
        home.write("KTReports.ini", "[Site2]\r\nNumWDogEntries=1\r\nwdognum0=555\r\n");
        testsupport::configureFakeSite(1);
        G().g_CurSite = 1;
        // The program leaves its report, as the server's report programs do.
        server.on(QRegularExpression("^test -f ")).reply("REPORT_READY\n");
    }
    void TearDown() override { ReportRun::setReportDeadlineSec(0); }

    // The detail window with the Front Desk extension selected, on 9 December 2026.
    std::unique_ptr<fDetailReport> detailWithOneExtension() {
        auto w = std::make_unique<fDetailReport>();
        selectiontest::selectShown(*w, {"0012 Front Desk"});
        w->startdate->setDate(QDate(2026, 12, 9));
        w->enddate->setDate(QDate(2026, 12, 9));
        return w;
    }
    void expectRunButtonBack(ReportWindow& w) {
        EXPECT_TRUE(w.Command1->isVisibleTo(&w));
        EXPECT_TRUE(w.Command1->isEnabled());
        EXPECT_FALSE(w.lblrunning->isVisibleTo(&w));
        EXPECT_FALSE(w.tmrreport->isActive());
        EXPECT_NE(w.result(), QDialog::Accepted);
    }
    QStringList sentPrograms() const { return server.lines().filter(QRegularExpression("^\\./")); }
    // Runs the window over `local` (a fake of the case's own) and checks what every stopped run
    // shares: the one message, the session ended, nothing handed over, the Run button back.
    void expectStopped(ReportWindow& w, const FakeServer& local, const QString& said,
                       platform::Icon icon = platform::Icon::Critical) {
        const qsizetype before = prompter.messages().size();
        prompter.ok();
        w.Command1_Click();
        EXPECT_EQ(prompter.messages().mid(before), QStringList{said});
        EXPECT_EQ(prompter.prompts().back().icon, icon);
        EXPECT_TRUE(prompter.exhausted());
        EXPECT_FALSE(local.isShellOpen(0));
        EXPECT_TRUE(host.handOvers.isEmpty());
        expectRunButtonBack(w);
    }

    testsupport::TempHome home;
    testsupport::ScriptedPrompter prompter;
    selectiontest::FakeHost host;
    FakeServer server;
};

TEST_F(SelectionRunTest, DetailRunSendsTheRequestThenTheProgramInTheSiteFolder) {
    const auto w = detailWithOneExtension();
    const QStringList queued = w->buildRequest().lines();
    w->Command1_Click();

    EXPECT_TRUE(prompter.messages().isEmpty()) << prompter.messages().join('|').toStdString();
    ASSERT_EQ(server.shellRequests().size(), 1u);
    const ShellRequest& r = server.shellRequests()[0];
    EXPECT_EQ(r.folder, QString("/usr/varnel"));
    EXPECT_EQ(r.target.host, "10.0.0.9");
    EXPECT_EQ(r.target.login, "varneltail");
    EXPECT_EQ(r.target.password, QString::fromLatin1(kShellPassword));
    // The whole request, each line checked; then the old report goes, the program runs, and
    // the check that it left its report.
    EXPECT_EQ(server.lines(), (QStringList{kSiteFolderLine} + checked(queued) +
                               checked({"rm -f 'TESTPC_DETAIL.rep'"}) +
                               QStringList{"./ORV_B1 2 TESTPC_DETAIL.TMP",
                                           "test -f 'TESTPC_DETAIL.rep' && echo REPORT''_READY"}));
    EXPECT_EQ(queued.first(), "echo 'L lp' >TESTPC_DETAIL.TMP");
    // Only the program's line has the long deadline.
    for (const auto& sent : server.sent())
        EXPECT_EQ(sent.deadlineSec, sent.line.startsWith("./") ? 30 * 60 : kLineTimeoutSec)
            << sent.line.toStdString();
    EXPECT_FALSE(server.isShellOpen(0));
    EXPECT_TRUE(w->queuedCommands().isEmpty());
    EXPECT_EQ(host.handOvers, QList<int>{2});
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_EQ(G().g_ReportFileName, "TESTPC_DETAIL.rep");
    EXPECT_TRUE(server.fetches().empty());  // the fetch is report retrieval's
}

struct WindowCase {
    const char* name;
    std::function<std::unique_ptr<ReportWindow>()> open;
    std::function<void(ReportWindow&)> choose;
    const char* program;
    const char* tag;
    int reportNumber;
};
void PrintTo(const WindowCase& c, std::ostream* os) {
    *os << c.name;
}

class EveryWindow : public SelectionRunTest, public ::testing::WithParamInterface<WindowCase> {};

TEST_P(EveryWindow, RunsItsProgramOnItsRequestAndHandsItsReportOver) {
    const WindowCase& c = GetParam();
    std::unique_ptr<ReportWindow> w = c.open();
    c.choose(*w);
    const QStringList queued = w->buildRequest().lines();
    const QString request = "TESTPC_" + QLatin1String(c.tag) + ".TMP";
    const QString report = "TESTPC_" + QLatin1String(c.tag) + ".rep";
    w->Command1_Click();

    EXPECT_TRUE(prompter.exhausted());
    EXPECT_EQ(server.lines(), (QStringList{kSiteFolderLine} + checked(queued) +
                               checked({"rm -f '" + report + "'"}) +
                               QStringList{"./" + QLatin1String(c.program) + " 2 " + request,
                                           "test -f '" + report + "' && echo REPORT''_READY"}));
    EXPECT_EQ(queued.first(), "echo 'L lp' >" + request);
    EXPECT_EQ(host.handOvers, QList<int>{c.reportNumber});
}

INSTANTIATE_TEST_SUITE_P(
    Windows, EveryWindow,
    ::testing::Values(WindowCase{"Cost", selectiontest::opener<ReportWindow, fcost>,
                                 [](ReportWindow& w) {
                                     selectiontest::selectShown(
                                         dynamic_cast<SelectionReportWindow&>(w),
                                         {"0003 Operations"});
                                 },
                                 "ORV_B6", "COST", 4},
                      WindowCase{"Unused", selectiontest::opener<ReportWindow, funusedstations>,
                                 [](ReportWindow& w) {
                                     auto& s = dynamic_cast<SelectionReportWindow&>(w);
                                     s.Optreporttype[1]->setChecked(true);
                                     s.allBoxes[1]->setChecked(true);
                                 },
                                 "ORV_B6N", "UNUSED", 16},
                      WindowCase{"Watchdog", selectiontest::opener<ReportWindow, fWatchdog>,
                                 [](ReportWindow& w) {
                                     auto& wd = dynamic_cast<fWatchdog&>(w);
                                     wd.txtitem->setText("5551234");
                                     wd.cmdadd_Click();
                                 },
                                 "ORV_B5", "WDOG", 6},
                      WindowCase{"Auth", selectiontest::opener<ReportWindow, fAuth>,
                                 [](ReportWindow& w) {
                                     selectiontest::selectShown(
                                         dynamic_cast<SelectionReportWindow&>(w), {"0007 Legal"});
                                 },
                                 "ORV_B8", "AUTH", 14}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SelectionRunTest, BackupReportsRunInTheBackupFolder) {
    G().g_BackupReportsMode = true;
    fcost w;
    selectiontest::selectShown(w, {"0001 Rooms"});
    w.Command1_Click();

    EXPECT_EQ(server.shellRequests()[0].folder, QString("/usr/varnel/backup"));
    EXPECT_EQ(server.lines().first(), "cd '/usr/varnel/backup'");
    EXPECT_EQ(sentPrograms(), QStringList{"./ORV_B6 2 TESTPC_COST.TMP"});
    EXPECT_EQ(host.handOvers, QList<int>{4});
}

// While the report runs the window keeps its timers and refuses to close; past the deadline
// the run is told, nothing is handed over and the session is ended, so no late report
// turns up.
TEST_F(SelectionRunTest, ASlowReportPastTheDeadlineIsToldAndNotFetched) {
    server.on("./ORV_B1 2 TESTPC_DETAIL.TMP").blocksUntilCancel();
    ReportRun::setReportDeadlineSec(2);
    const auto w = detailWithOneExtension();
    w->show();
    QString during;
    QTimer::singleShot(1500, w.get(), [&] {
        during = w->lblrunning->text();
        w->close();
    });
    QElapsedTimer clock;
    clock.start();
    expectStopped(*w, server,
                  "The report did not finish within 2 seconds. Nothing was fetched; please run it "
                  "again later.");
    EXPECT_LT(clock.elapsed(), 4500);
    EXPECT_EQ(during, "Report Running.");
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(server.lines().last().startsWith("test -f"));
}

TEST_F(SelectionRunTest, AProgramThatWritesNoReportIsToldAndNothingFetched) {
    server.on(QRegularExpression("^test -f ")).reply("");
    const auto w = detailWithOneExtension();
    expectStopped(*w, server,
                  "The report program finished without writing TESTPC_DETAIL.rep. Nothing was "
                  "fetched.");
    EXPECT_EQ(sentPrograms(), QStringList{"./ORV_B1 2 TESTPC_DETAIL.TMP"});
}

// Each step that fails is told with its reason; the steps after it are not sent, nothing is
// handed over and the Run button comes back.
TEST_F(SelectionRunTest, AFailedStepIsToldAndTheRunButtonComesBack) {
    struct Case {
        const char* name;
        std::function<void(FakeServer&)> breakIt;
        QString said;
        bool programSent;
    };
    const Case cases[] = {
        {"closed port",
         [](FakeServer& s) {
             s.failOpen(kSessionUnreachable,
                        "Could not connect to the server 10.0.0.9: Connection refused");
         },
         "The report was not run: could not connect to 10.0.0.9.\r\n\r\nCould not connect to "
         "the server 10.0.0.9: Connection refused",
         false},
        {"missing folder",
         [](FakeServer& s) {
             s.on(kSiteFolderLine).reply("bash: cd: /usr/varnel: No such file or directory\n");
         },
         "The report was not run: could not change to the folder /usr/varnel.\r\n\r\nCould not "
         "change to the folder /usr/varnel on the server: bash: cd: /usr/varnel: No such file or "
         "directory",
         false},
        {"dropped while writing",
         [](FakeServer& s) { s.on("echo 'S' >>TESTPC_DETAIL.TMP").dropsSession(); },
         "The report was not run: the request could not be written (echo 'S' "
         ">>TESTPC_DETAIL.TMP).\r\n\r\nThe server closed the session while running: echo 'S' "
         ">>TESTPC_DETAIL.TMP",
         false},
        {"dropped while running",
         [](FakeServer& s) { s.on("./ORV_B1 2 TESTPC_DETAIL.TMP").dropsSession(); },
         "The connection was lost while the report ran (The server closed the session while "
         "running: ./ORV_B1 2 TESTPC_DETAIL.TMP). Nothing was fetched.",
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeServer local;
        c.breakIt(local);
        const auto w = detailWithOneExtension();
        expectStopped(*w, local, c.said);
        EXPECT_EQ(!local.lines().filter(QRegularExpression("^\\./")).isEmpty(), c.programSent);
    }
}

// The request lines and the removal print nothing when they succeed. A reply or a failed
// status stops the run: no program, nothing handed over; a run stopped in the request keeps
// the last report, as its removal comes just before the program.
TEST_F(SelectionRunTest, ARequestLineThatDoesNotSucceedStopsTheRun) {
    struct Case {
        const char* name;
        QString line;
        QString reply;
        int status;
        QString said;
        bool removalSent;
    };
    const QString full = QStringLiteral("bash: TESTPC_DETAIL.TMP: No space left on device\n");
    const Case cases[] = {
        {"reply to an echo", "echo  'V' >>TESTPC_DETAIL.TMP", full, 0,
         "The report was not run: the request could not be written (echo  'V' "
         ">>TESTPC_DETAIL.TMP).\r\n\r\nThe server answered: bash: TESTPC_DETAIL.TMP: No space "
         "left on device",
         false},
        {"failed status", "echo 'L lp' >TESTPC_DETAIL.TMP", QString(), 1,
         "The report was not run: the request could not be written (echo 'L lp' "
         ">TESTPC_DETAIL.TMP).\r\n\r\nexit status 1",
         false},
        {"failed status with words", "echo  '5 0012' >>TESTPC_DETAIL.TMP",
         "bash: TESTPC_DETAIL.TMP: Read-only file system\n", 1,
         "The report was not run: the request could not be written (echo  '5 0012' "
         ">>TESTPC_DETAIL.TMP).\r\n\r\nbash: TESTPC_DETAIL.TMP: Read-only file system",
         false},
        {"removal refused", "rm -f 'TESTPC_DETAIL.rep'",
         "rm: cannot remove 'TESTPC_DETAIL.rep': Permission denied\n", 1,
         "The report was not run: could not remove the last report (rm -f "
         "'TESTPC_DETAIL.rep').\r\n\r\nrm: cannot remove 'TESTPC_DETAIL.rep': Permission denied",
         true},
        {"reply to the removal", "rm -f 'TESTPC_DETAIL.rep'", "rm: remove it? \n", 0,
         "The report was not run: could not remove the last report (rm -f "
         "'TESTPC_DETAIL.rep').\r\n\r\nThe server answered: rm: remove it?",
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeServer local;
        local.on(c.line).reply(c.reply).status(c.status);
        const auto w = detailWithOneExtension();
        expectStopped(*w, local, c.said);
        // Nothing after the failed line is sent.
        EXPECT_EQ(local.lines().last(), withExitStatus(c.line));
        EXPECT_EQ(local.lines().contains(withExitStatus("rm -f 'TESTPC_DETAIL.rep'")),
                  c.removalSent);
    }
}

// While the server is awaited a Cancel beside the progress label ends the wait: the session
// is ended, nothing more is sent, nothing is handed over, the user hears that the server may
// still finish, and the Run button is back for the next run.
TEST_F(SelectionRunTest, CancelEndsTheWaitAndGivesTheRunButtonBack) {
    const struct {
        const char* name;
        QString blockedLine;
    } cases[] = {{"the report", "./ORV_B1 2 TESTPC_DETAIL.TMP"},
                 {"a request line", "echo  '5 0012' >>TESTPC_DETAIL.TMP"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeServer local;
        local.on(QRegularExpression("^test -f ")).reply("REPORT_READY\n");
        local.on(c.blockedLine).blocksUntilCancel();
        const auto w = detailWithOneExtension();
        w->show();
        EXPECT_FALSE(w->cmdcancelwait->isVisible());
        bool offered = false;
        QTimer::singleShot(200, w.get(), [&] {
            offered = w->cmdcancelwait->isVisible() && w->lblrunning->isVisible();
            w->close();  // still refused: the Cancel is the way out
            QTest::mouseClick(w->cmdcancelwait, Qt::LeftButton);
        });
        QElapsedTimer clock;
        clock.start();
        expectStopped(*w, local,
                      "The report was cancelled. The server may still finish the work. Nothing "
                      "was fetched.",
                      platform::Icon::Information);

        EXPECT_LT(clock.elapsed(), 5000);
        EXPECT_TRUE(offered);
        EXPECT_TRUE(w->isVisible());
        const QString last = local.lines().last();
        EXPECT_TRUE(last == c.blockedLine || last == withExitStatus(c.blockedLine))
            << last.toStdString();
        EXPECT_FALSE(w->cmdcancelwait->isVisible());

        // The next run goes through.
        local.on(c.blockedLine).reply(QString());
        w->Command1_Click();
        EXPECT_EQ(host.handOvers, QList<int>{2});
        host.handOvers.clear();
    }
}

}  // namespace
