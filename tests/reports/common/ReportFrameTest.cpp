// The report frame as the summary reports and the calculator use it: a window's own checks
// before the run, a program without a request file, the date block without time pickers or
// "all calls", and the printer box.
#include "reports/common/ReportHandOver.h"
#include "reports/common/ReportWindow.h"

#include "common/Globals.h"
#include "support/LocalShell.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>
#include <QTimer>
#include <QVBoxLayout>

#include <functional>

using namespace quillon;
namespace kinds = quillon::reportkinds;

namespace {

// A window built on the frame the way a summary report is, its parts set by the test.
class FrameWindow : public ReportWindow {
public:
    explicit FrameWindow(const ReportKind& kind, const DateBlock& block = DateBlock())
        : ReportWindow(kind, QStringLiteral("interval not added"), nullptr) {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(buildPrinterBox(this, false));
        layout->addWidget(buildDateFrame(block));
        layout->addWidget(buildRunBox());
        setDefaultDateTimes(QTime(0, 1), QTime(23, 59));
        startdate->setDate(QDate(2026, 12, 1));
        enddate->setDate(QDate(2026, 12, 9));
        Optdate[1]->setChecked(true);
    }

    QStringList checks;
    QString mode;
    std::function<void(ReportRequest&)> lines = [this](ReportRequest& r) {
        r.addHeader();
        queuePrinterLine(r);
        queueDatePart(r);
    };
    int queued = 0;

protected:
    QStringList checksBeforeRun() override { return checks; }
    void queueRequest(ReportRequest& r) override {
        ++queued;
        lines(r);
    }
    // Refused, so that no test here reaches a server.
    std::optional<QString> refusal(const ReportRequest&) override { return QString(); }
    QString programMode() const override {
        return mode.isEmpty() ? ReportWindow::programMode() : mode;
    }
};

class ReportFrameTest : public ::testing::Test, public ReportHandOver {
protected:
    ReportFrameTest() { ReportHandOver::setInstance(this); }
    ~ReportFrameTest() override { ReportHandOver::setInstance(nullptr); }
    void executeBatFileForReport(int reportNumber, QWidget*) override { handOvers << reportNumber; }

    QStringList fileOf(FrameWindow& w) {
        const ReportRequest r = w.buildRequest();
        return testsupport::runLocally(r.lines(), r.paramFileName());
    }

    testsupport::TempHome home;
    testsupport::ScriptedPrompter prompter;
    QList<int> handOvers;
};

TEST_F(ReportFrameTest, TheWindowsOwnChecksAreAllToldAndTheRunNeverStarts) {
    FrameWindow w(kinds::callCost);
    w.checks = {"You must choose a line type", "You must enter an area code."};
    prompter.ok().ok();
    w.Command1_Click();
    EXPECT_EQ(prompter.messages(), w.checks);
    for (const auto& p : prompter.prompts()) EXPECT_TRUE(p.title.isEmpty());
    EXPECT_EQ(w.queued, 0);
    EXPECT_TRUE(w.queuedCommands().isEmpty());
    EXPECT_TRUE(w.Command1->isVisibleTo(&w));
    EXPECT_TRUE(w.Command1->isEnabled());
    EXPECT_FALSE(w.lblrunning->isVisibleTo(&w));
    EXPECT_FALSE(w.tmrreport->isActive());
    EXPECT_TRUE(handOvers.isEmpty());
    // The names are the run's from its first step.
    EXPECT_EQ(G().g_ParamFileName, "TESTPC_CCAL.TMP");
    EXPECT_EQ(G().g_ReportFileName, "TESTPC_CCAL.rep");

    // Once the checks pass, the run goes on to the request.
    w.checks.clear();
    w.Command1_Click();
    EXPECT_EQ(w.queued, 1);
}

TEST_F(ReportFrameTest, AProgramWithoutRequestFileLeavesTheLastRequestNameAlone) {
    G().g_ParamFileName = "TESTPC_STATS.TMP";
    FrameWindow w(kinds::audit);
    w.mode = "1c";
    w.lines = [](ReportRequest&) {};
    w.Command1_Click();
    EXPECT_EQ(G().g_ParamFileName, "TESTPC_STATS.TMP");
    EXPECT_EQ(G().g_ReportFileName, "sum.rep");
    const ReportRequest request = w.buildRequest();
    EXPECT_TRUE(request.lines().isEmpty());
    EXPECT_EQ(w.programLine(request), "./ORV_B3 1c");
    w.mode = "2";
    EXPECT_EQ(w.programLine(request), "./ORV_B3 2");
}

TEST_F(ReportFrameTest, ADateBlockWithoutTimePickersOrAllCalls) {
    FrameWindow w(kinds::crono, {.allCalls = false, .times = false});
    EXPECT_TRUE(w.Optdate[0]->isHidden());
    EXPECT_FALSE(w.Optdate[2]->isHidden());
    EXPECT_TRUE(w.starttime->isHidden());
    EXPECT_TRUE(w.endtime->isHidden());
    EXPECT_FALSE(w.startdate->isHidden());
    EXPECT_EQ(fileOf(w), (QStringList{"L lp", "S", "Z", "DS 120126", "DE 120926"}));
    w.Optdate[2]->setChecked(true);
    w.txtinterval->setText("24");
    EXPECT_EQ(fileOf(w), (QStringList{"L lp", "S", "Z", "I 24"}));
    w.txtinterval->setText("");
    prompter.ok();
    EXPECT_TRUE(w.buildRequest().lines().isEmpty());
    EXPECT_EQ(prompter.messages(), QStringList{"interval not added"});
}

TEST_F(ReportFrameTest, TheFullDateBlockAndThePrinterBox) {
    FrameWindow w(kinds::stats);
    EXPECT_FALSE(w.Optdate[0]->isHidden());
    EXPECT_FALSE(w.endtime->isHidden());
    EXPECT_EQ(w.chksendprinter->text(), "Send to Printer on Varnel Computer");
    EXPECT_TRUE(w.chksendprinter->toolTip().isEmpty());
    w.chksendprinter->setChecked(true);
    EXPECT_EQ(fileOf(w),
              (QStringList{"L lp", "S", "DS 120126", "DE 120926", "TS 0001", "TE 2359"}));
    w.Optdate[0]->setChecked(true);
    EXPECT_EQ(fileOf(w), (QStringList{"L lp", "S", "A"}));
    EXPECT_EQ(w.programLine(w.buildRequest()), "./ORV_B4 2 TESTPC_STATS.TMP");
}

}  // namespace
