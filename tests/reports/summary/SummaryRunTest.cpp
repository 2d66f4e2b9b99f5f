// The summary reports' runs over the fake server: the folder, every line in order, the
// report each program leaves and the number handed to report retrieval.
#include "reports/summary/FAreacode.h"
#include "reports/summary/fAuditReport.h"
#include "reports/summary/fTrunk.h"
#include "reports/summary/fcrono.h"
#include "reports/summary/fstatsreport.h"

#include "SummaryTestSupport.h"
#include "common/Globals.h"
#include "remote/CheckedLines.h"
#include "support/DebugLogLines.h"
#include "support/FakeServer.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>

#include <memory>
#include <ostream>

using namespace quillon;
using testsupport::FakeServer;

namespace {

QStringList checked(const QStringList& lines) {
    QStringList out;
    for (const QString& l : lines) out << withExitStatus(l);
    return out;
}

struct RunCase {
    const char* name;
    std::function<std::unique_ptr<ReportWindow>()> open;
    std::function<void(ReportWindow&)> choose;
    const char* program;  // the program's line
    const char* report;   // what it leaves
    int reportNumber;
};
void PrintTo(const RunCase& c, std::ostream* os) {
    *os << c.name;
}

template <class W>
std::unique_ptr<ReportWindow> make() {
    return std::make_unique<W>();
}

const RunCase kRuns[] = {
    {"Audit", make<fAuditReport>, [](ReportWindow&) {}, "./ORV_B3 1c", "sum.rep", 3},
    {"Stats", make<fstatsreport>,
     [](ReportWindow& w) { dynamic_cast<fstatsreport&>(w).txtValue->setText("10"); },
     "./ORV_B4 2 TESTPC_STATS.TMP", "TESTPC_STATS.rep", 5},
    {"Crono", make<fcrono>, [](ReportWindow&) {}, "./ORV_BD 2 TESTPC_CRONO.TMP", "TESTPC_CRONO.rep",
     7},
    {"Trunk", make<fTrunk>,
     [](ReportWindow& w) { summarytest::pick(*dynamic_cast<fTrunk&>(w).lists, {"0005 North A"}); },
     "./ORV_B2 2 TESTPC_TRUNK.TMP", "TESTPC_TRUNK.rep", 8},
    {"Area", make<FAreacode>,
     [](ReportWindow& w) { summarytest::pick(*dynamic_cast<FAreacode&>(w).lists, {"0012 South"}); },
     "./ORV_B9 2 TESTPC_AREA.TMP", "TESTPC_AREA.rep", 9},
};

// The site's tables and a server whose programs leave their reports.
template <class Param>
class SummaryScene : public ::testing::TestWithParam<Param> {
protected:
    void SetUp() override {
        summarytest::writeTables(home);
        testsupport::configureFakeSite(1);
        G().g_CurSite = 1;
        // A value an earlier run of another window left.
        G().g_ParamFileName = QStringLiteral("TESTPC_DETAIL.TMP");
        server.on(QRegularExpression("^test -f ")).reply("REPORT_READY\n");
    }

    testsupport::TempHome home;
    testsupport::ScriptedPrompter prompter;
    testsupport::FakeReportHost host;
    FakeServer server;
};

using SummaryRun = SummaryScene<RunCase>;

TEST_P(SummaryRun, RunsItsProgramInTheSiteFolderAndHandsItsReportOver) {
    const RunCase& c = GetParam();
    const auto w = c.open();
    c.choose(*w);
    const ReportRequest request = w->buildRequest();
    w->Command1_Click();

    EXPECT_TRUE(prompter.prompts().empty()) << prompter.messages().join('|').toStdString();
    ASSERT_EQ(server.shellRequests().size(), 1u);
    EXPECT_EQ(server.shellRequests()[0].folder, QString("/usr/varnel"));
    const QString report = QString::fromLatin1(c.report);
    // The request, each line checked; the last report removed; the program with the long
    // deadline; then the proof that it left this run's report.
    EXPECT_EQ(server.lines(), (QStringList{"cd '/usr/varnel'"} + checked(request.lines()) +
                               checked({"rm -f '" + report + "'"}) +
                               QStringList{QString::fromLatin1(c.program),
                                           "test -f '" + report + "' && echo REPORT''_READY"}));
    for (const auto& sent : server.sent())
        if (sent.line.startsWith("./")) EXPECT_EQ(sent.deadlineSec, 30 * 60);
    EXPECT_FALSE(server.isShellOpen(0));
    EXPECT_EQ(host.handOvers, QList<int>{c.reportNumber});
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_EQ(G().g_ReportFileName, report);
    // The audit program reads no request file: the name an earlier run left stays.
    EXPECT_EQ(G().g_ParamFileName,
              w->kind().hasRequestFile() ? request.paramFileName() : "TESTPC_DETAIL.TMP");
}

TEST_P(SummaryRun, InBackupModeRunsInTheBackupFolder) {
    const RunCase& c = GetParam();
    G().g_BackupReportsMode = true;
    const auto w = c.open();
    c.choose(*w);
    w->Command1_Click();
    ASSERT_EQ(server.shellRequests().size(), 1u);
    EXPECT_EQ(server.shellRequests()[0].folder, QString("/usr/varnel/backup"));
    EXPECT_EQ(server.lines().first(), "cd '/usr/varnel/backup'");
    EXPECT_TRUE(server.lines().contains(QString::fromLatin1(c.program)));
    EXPECT_EQ(host.handOvers, QList<int>{c.reportNumber});
}

INSTANTIATE_TEST_SUITE_P(Windows, SummaryRun, ::testing::ValuesIn(kRuns),
                         [](const auto& info) { return std::string(info.param.name); });

class SummaryRunTest : public SummaryRun {};

// A report that does not come is told and nothing is handed over: the old sum.rep was removed
// first, so another computer's earlier audit is never taken for this one.
TEST_F(SummaryRunTest, AnAuditThatLeavesNoReportIsToldAndNothingHandedOver) {
    server.on(QRegularExpression("^test -f ")).reply("");
    fAuditReport w;
    w.Optaudit[1]->setChecked(true);
    w.chkclear->setChecked(false);
    prompter.ok();
    w.Command1_Click();
    EXPECT_EQ(prompter.messages(),
              QStringList{"The report program finished without writing sum.rep. Nothing was "
                          "fetched."});
    EXPECT_EQ(server.lines(),
              (QStringList{"cd '/usr/varnel'", withExitStatus("rm -f 'sum.rep'"), "./ORV_B3 2",
                           "test -f 'sum.rep' && echo REPORT''_READY"}));
    EXPECT_TRUE(host.handOvers.isEmpty());
    EXPECT_TRUE(w.Command1->isVisibleTo(&w));
}

TEST_F(SummaryRunTest, ATrunkRunLogsItsSteps) {
    testsupport::startDebugLog();
    fTrunk w;
    summarytest::pick(*w.lists, {"0012 South", "0005 North A"});
    w.Command1_Click();
    EXPECT_EQ(testsupport::debugLogMessages(),
              (QStringList{"TRUNK REPORT", "RUNNING REPORT", "adding 0005  from lstItemHidden.Text",
                           "adding 0012  from lstItemHidden.Text", "Item in list",
                           "DONE RUNNING REPORT"}));
}

// A run that does not go through never says it is done: the log stops at the queue.
struct UnfinishedRun {
    const char* name;
    std::function<void(FakeServer&)> fault;
};
void PrintTo(const UnfinishedRun& c, std::ostream* os) {
    *os << c.name;
}

using UnfinishedTrunkRun = SummaryScene<UnfinishedRun>;

TEST_P(UnfinishedTrunkRun, LogsNoDoneLine) {
    testsupport::startDebugLog();
    GetParam().fault(server);
    fTrunk w;
    summarytest::pick(*w.lists, {"0005 North A"});
    w.show();
    prompter.ok();
    w.Command1_Click();
    EXPECT_TRUE(host.handOvers.isEmpty());
    const QStringList log = testsupport::debugLogMessages();
    EXPECT_EQ(log.mid(0, 4), (QStringList{"TRUNK REPORT", "RUNNING REPORT",
                                          "adding 0005  from lstItemHidden.Text", "Item in list"}));
    EXPECT_FALSE(log.contains("DONE RUNNING REPORT")) << log.join('|').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Faults, UnfinishedTrunkRun,
    ::testing::Values(
        UnfinishedRun{"NoReportLeft",
                      [](FakeServer& s) { s.on(QRegularExpression("^test -f ")).reply(""); }},
        UnfinishedRun{"SessionLost",
                      [](FakeServer& s) { s.on(QRegularExpression("^\\./ORV_B2 ")).dropsSession(); }},
        UnfinishedRun{"CancelledByTheUser",
                      [](FakeServer& s) {
                          s.on(QRegularExpression("^\\./ORV_B2 ")).blocksUntilCancel().then(
                              [](const QString&) {
                                  for (QWidget* top : QApplication::topLevelWidgets())
                                      if (auto* cancel = top->findChild<QPushButton*>(
                                              QStringLiteral("cmdcancelwait")))
                                          QTimer::singleShot(0, cancel, &QPushButton::click);
                              });
                      }}),
    [](const auto& info) { return std::string(info.param.name); });

// The running label of every report window: red, and its words before the dots.
TEST_P(SummaryRun, ShowsItsRunningLabelInRed) {
    const auto w = GetParam().open();
    const QLabel* label = w->lblrunning;
    EXPECT_EQ(label->text(), "Report Running");
    EXPECT_EQ(label->palette().color(label->foregroundRole()), QColor(Qt::red));
}

}  // namespace
