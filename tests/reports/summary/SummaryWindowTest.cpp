// The summary report windows without a server: what they open with, the number boxes, the
// refused runs, the trunk groups and their kinds, the area codes and the line types.
#include "reports/summary/FAreacode.h"
#include "reports/summary/fAuditReport.h"
#include "reports/summary/fTrunk.h"
#include "reports/summary/fcrono.h"
#include "reports/summary/fstatsreport.h"

#include "SummaryTestSupport.h"
#include "common/Globals.h"
#include "support/Controls.h"
#include "support/DebugLogLines.h"
#include "support/FakeServer.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>

#include <memory>
#include <ostream>

using namespace quillon;
using platform::Icon;
using summarytest::chooseInterval;
using summarytest::pick;
using summarytest::texts;
using testsupport::control;

namespace {

const QString kQuestion =
    QStringLiteral("Are you sure you want to change how you are running the report?\r\n");

class SummaryWindowTest : public ::testing::Test {
protected:
    void SetUp() override { summarytest::writeTables(home); }

    testsupport::TempHome home;
    testsupport::ScriptedPrompter prompter;
    testsupport::FakeReportHost host;
};

using Open = std::function<std::unique_ptr<ReportWindow>()>;
template <class W>
Open opener() {
    return [] { return std::make_unique<W>(); };
}

struct OpeningCase {
    const char* name;
    Open open;
    const char* caption;
    bool dates;
    bool times;
    QStringList loadLog;
};
void PrintTo(const OpeningCase& c, std::ostream* os) {
    *os << c.name;
}

class Opening : public SummaryWindowTest, public ::testing::WithParamInterface<OpeningCase> {};

TEST_P(Opening, StartsFromTheDefaults) {
    const OpeningCase& c = GetParam();
    testsupport::startDebugLog();
    const std::unique_ptr<ReportWindow> w = c.open();
    EXPECT_EQ(w->windowTitle(), c.caption);
    EXPECT_EQ(testsupport::debugLogMessages(), c.loadLog);
    EXPECT_EQ(w->Command1->text(), "RUN REPORT");
    EXPECT_FALSE(w->lblrunning->isVisibleTo(w.get()));
    EXPECT_EQ(w->lblrunning->text(), "Report Running");
    EXPECT_FALSE(w->tmrreport->isActive());
    EXPECT_EQ(w->tmrreport->interval(), 1000);
    if (!c.dates) {
        EXPECT_EQ(w->startdate, nullptr);
        EXPECT_EQ(w->chksendprinter, nullptr);
        return;
    }
    EXPECT_FALSE(w->chksendprinter->isChecked());
    EXPECT_EQ(w->chksendprinter->text(), "Send to Printer on Varnel Computer");
    EXPECT_EQ(w->startdate->date(), QDate::currentDate());
    EXPECT_EQ(w->enddate->date(), QDate::currentDate());
    EXPECT_TRUE(w->Optdate[1]->isChecked());
    // No summary report offers all calls in the system.
    EXPECT_TRUE(w->Optdate[0]->isHidden());
    EXPECT_TRUE(w->startdate->isEnabled());
    EXPECT_FALSE(w->txtinterval->isEnabled());
    EXPECT_EQ(w->starttime->isHidden(), !c.times);
    EXPECT_EQ(w->starttime->time(), QTime(0, 1));
    EXPECT_EQ(w->endtime->time(), QTime(23, 59));
    w->Optdate[2]->setChecked(true);
    EXPECT_FALSE(w->startdate->isEnabled());
    EXPECT_FALSE(w->starttime->isEnabled());
    EXPECT_TRUE(w->txtinterval->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    Windows, Opening,
    ::testing::Values(
        OpeningCase{
            "Audit", opener<fAuditReport>(), "Audit Report", false, false, {"AUDIT REPORT"}},
        OpeningCase{
            "Stats", opener<fstatsreport>(), "Statistics Report", true, true, {"STATS REPORT"}},
        OpeningCase{"Crono", opener<fcrono>(), "Crono Report", true, false, {"CRONO REPORT"}},
        OpeningCase{"Trunk", opener<fTrunk>(), "Trunk Report", true, true, {"TRUNK REPORT"}},
        OpeningCase{"Area",
                    opener<FAreacode>(),
                    "Area Code Report",
                    true,
                    true,
                    {"AREACODE REPORT", "setting DEFAULT values"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SummaryWindowTest, AuditOpensDailyWithClearing) {
    fAuditReport w;
    EXPECT_TRUE(w.Optaudit[0]->isChecked());
    EXPECT_EQ(w.Optaudit[0]->text(), "Daily Audit Report");
    EXPECT_EQ(w.Optaudit[1]->text(), "Monthly Audit Report");
    EXPECT_TRUE(w.chkclear->isChecked());
    EXPECT_EQ(w.chkclear->text(), "Clear Audit Report");
    EXPECT_EQ(w.Frame1->title(), "Report Options");
}

// The number boxes keep the longest leading part that reads as a number; typing and pasting
// alike. The interval boxes take three characters, but the area-code window's.
TEST_F(SummaryWindowTest, NumberBoxesKeepOnlyANumber) {
    struct Case {
        const char* name;
        Open open;
        const char* box;
        int limit;  // 0: none
    };
    const Case cases[] = {
        {"stats interval", opener<fstatsreport>(), "txtinterval", 3},
        {"stats value", opener<fstatsreport>(), "txtValue", 3},
        {"crono interval", opener<fcrono>(), "txtinterval", 3},
        {"trunk interval", opener<fTrunk>(), "txtinterval", 3},
        {"area interval", opener<FAreacode>(), "txtinterval", 0},
        {"area code", opener<FAreacode>(), "txtarea", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto w = c.open();
        auto* box = control<QLineEdit>(w.get(), c.box);
        box->setEnabled(true);
        QTest::keyClicks(box, "1a");
        EXPECT_EQ(box->text(), "1");
        EXPECT_EQ(box->cursorPosition(), 1);
        box->setText("a12");  // as a paste
        EXPECT_EQ(box->text(), "");
        QTest::keyClicks(box, "1234");
        EXPECT_EQ(box->text(), c.limit ? QStringLiteral("123") : QStringLiteral("1234"));
        box->setText("2x4");
        EXPECT_EQ(box->text(), "2");
    }
}

// A run the window refuses: its messages in order, nothing sent, nothing handed over, and the
// Run button back with the choices as they were.
TEST_F(SummaryWindowTest, RefusedRunsTellWhyAndSendNothing) {
    struct Case {
        const char* name;
        Open open;
        std::function<void(ReportWindow&)> choose;
        QStringList said;
    };
    const auto stats = [](std::function<void(fstatsreport&)> f) {
        return [f](ReportWindow& w) { f(dynamic_cast<fstatsreport&>(w)); };
    };
    const auto trunk = [](std::function<void(fTrunk&)> f) {
        return [f](ReportWindow& w) { f(dynamic_cast<fTrunk&>(w)); };
    };
    const auto area = [](std::function<void(FAreacode&)> f) {
        return [f](ReportWindow& w) { f(dynamic_cast<FAreacode&>(w)); };
    };
    const Case cases[] = {
        {"stats without a value",
         opener<fstatsreport>(),
         [](ReportWindow&) {},
         {"SELECT A VALUE TO RUN REPORT"}},
        {"stats with an empty interval",
         opener<fstatsreport>(),
         stats([](fstatsreport& w) {
             w.txtValue->setText("10");
             chooseInterval(w, "");
         }),
         {"INTERVAL NOT ADDED"}},
        {"crono with an empty interval",
         opener<fcrono>(),
         [](ReportWindow& w) { chooseInterval(w, ""); },
         {"interval not added", "Bad paramters passed"}},
        {"trunk without a group",
         opener<fTrunk>(),
         [](ReportWindow&) {},
         {"You Must Add Trunks Group"}},
        {"trunk detail without a group",
         opener<fTrunk>(),
         trunk([](fTrunk& w) { w.Optreporttype[1]->setChecked(true); }),
         {"You Must Add Trunk Group"}},
        {"trunk with an empty interval",
         opener<fTrunk>(),
         trunk([](fTrunk& w) {
             pick(*w.lists, {"0005 North A"});
             chooseInterval(w, "");
         }),
         {"interval not added", "Bad paramters passed"}},
        {"trunk with neither",
         opener<fTrunk>(),
         [](ReportWindow& w) { chooseInterval(w, ""); },
         {"interval not added", "You Must Add Trunks Group"}},
        {"area without a group",
         opener<FAreacode>(),
         area([](FAreacode& w) {
             w.txtarea->setText("212");
             w.cmdadd1->click();
         }),
         {"Bad paramters passed"}},
        {"area with an empty interval",
         opener<FAreacode>(),
         area([](FAreacode& w) {
             pick(*w.lists, {"0005 North A"});
             w.Optsort[1]->setChecked(true);
             chooseInterval(w, "");
         }),
         {"interval Not added", "Bad paramters passed"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::FakeServer server;
        const auto w = c.open();
        c.choose(*w);
        const qsizetype before = prompter.prompts().size();
        for (qsizetype i = 0; i < c.said.size(); ++i) prompter.ok();
        w->Command1_Click();
        EXPECT_TRUE(prompter.exhausted());
        QStringList said;
        for (size_t i = before; i < prompter.prompts().size(); ++i) {
            said << prompter.prompts()[i].text;
            EXPECT_TRUE(prompter.prompts()[i].title.isEmpty());
        }
        EXPECT_EQ(said, c.said);
        EXPECT_TRUE(server.shellRequests().empty());
        EXPECT_TRUE(host.handOvers.isEmpty());
        EXPECT_TRUE(w->Command1->isVisibleTo(w.get()));
        EXPECT_TRUE(w->Command1->isEnabled());
        EXPECT_FALSE(w->lblrunning->isVisibleTo(w.get()));
        EXPECT_FALSE(w->tmrreport->isActive());
        EXPECT_NE(w->result(), QDialog::Accepted);
    }
}

// --- trunk groups

TEST_F(SummaryWindowTest, TrunkGroupsAreListedOnceInKeyOrder) {
    fTrunk w;
    // Group 5 stands on three lines: listed once, with the text of its first.
    EXPECT_EQ(texts(w.lstDivision),
              (QStringList{"0003 Toll Free", "0005 North A", "0010 Hotel", "0012 South"}));
    EXPECT_EQ(texts(w.lstDivisionHidden), (QStringList{"0003", "0005", "0010", "0012"}));
    EXPECT_TRUE(w.lstItem->count() == 0 && w.lstItemHidden->count() == 0);
    EXPECT_TRUE(w.lstDivisionHidden->isHidden());
    EXPECT_TRUE(w.lstItemHidden->isHidden());
    EXPECT_EQ(w.lblreporttype[0]->text(), "Add Trunks Group");
    EXPECT_EQ(w.lblreporttype[1]->text(), "Selected Trunk Groups");
    EXPECT_EQ(w.reportType, 0);
    EXPECT_TRUE(w.Optreporttype[0]->isChecked());
    // The hour box: pick-only, 1 to 24, greyed for the group summary.
    EXPECT_FALSE(w.Combotime->isEditable());
    EXPECT_EQ(w.Combotime->count(), 24);
    EXPECT_EQ(w.Combotime->currentText(), "1");
    EXPECT_EQ(w.Combotime->itemText(23), "24");
    EXPECT_FALSE(w.Combotime->isEnabled());
    const char* captions[] = {"Trunk Group Summary", "Detail By Trunk Number",
                              "Detail By Trunk Group", "Trunk Number Summary"};
    const bool hourly[] = {false, true, true, false};
    for (int i = 3; i >= 0; --i) {
        SCOPED_TRACE(i);
        w.Optreporttype[i]->setChecked(true);
        EXPECT_EQ(w.Optreporttype[i]->text(), captions[i]);
        EXPECT_EQ(w.Combotime->isEnabled(), hourly[i]);
        EXPECT_EQ(w.lblreporttype[0]->text(), i == 0 ? "Add Trunks Group" : "Add Trunk Group");
    }
    EXPECT_TRUE(prompter.prompts().empty());  // nothing was selected: nothing asked
}

TEST_F(SummaryWindowTest, DoubleClicksWalkDownTheList) {
    fTrunk w;
    w.lstDivision->setCurrentRow(1);  // 0005
    emit w.lstDivision->itemDoubleClicked(w.lstDivision->item(1));
    EXPECT_EQ(texts(w.lstItem), QStringList{"0005 North A"});
    EXPECT_EQ(texts(w.lstItemHidden), QStringList{"0005"});
    // The entry that took its place is highlighted: the next double click takes it.
    EXPECT_EQ(w.lstDivision->currentItem()->text(), "0010 Hotel");
    emit w.lstDivision->itemDoubleClicked(w.lstDivision->currentItem());
    EXPECT_EQ(w.lstDivision->currentItem()->text(), "0012 South");
    emit w.lstDivision->itemDoubleClicked(w.lstDivision->currentItem());
    // The last one moved: nothing is left to highlight.
    EXPECT_EQ(w.lstDivision->currentRow(), -1);
    EXPECT_EQ(texts(w.lstDivision), QStringList{"0003 Toll Free"});
    EXPECT_EQ(texts(w.lstItemHidden), (QStringList{"0005", "0010", "0012"}));
    // Back again from the top of the selection.
    w.lstItem->setCurrentRow(0);
    emit w.lstItem->itemDoubleClicked(w.lstItem->item(0));
    EXPECT_EQ(w.lstItem->currentItem()->text(), "0010 Hotel");
    EXPECT_EQ(texts(w.lstDivisionHidden), (QStringList{"0003", "0005"}));
}

TEST_F(SummaryWindowTest, AllAfterSomePicksSelectsTheRestAndGivesAllBack) {
    fTrunk w;
    pick(*w.lists, {"0012 South", "0003 Toll Free"});
    w.chkall->setChecked(true);
    EXPECT_EQ(texts(w.lstItemHidden), (QStringList{"0003", "0005", "0010", "0012"}));
    EXPECT_EQ(w.lstDivision->count(), 0);
    EXPECT_FALSE(w.lstDivision->isEnabled());
    EXPECT_FALSE(w.lstItem->isEnabled());
    // A greyed list keeps its entries.
    w.lstItem->setCurrentRow(0);
    w.cmdremove->click();
    EXPECT_EQ(w.lstItem->count(), 4);
    w.chkall->setChecked(false);
    EXPECT_EQ(texts(w.lstDivisionHidden), (QStringList{"0003", "0005", "0010", "0012"}));
    EXPECT_EQ(w.lstItem->count(), 0);
    EXPECT_TRUE(w.lstDivision->isEnabled());
    EXPECT_TRUE(w.lstItem->isEnabled());
    EXPECT_TRUE(prompter.prompts().empty());
}

TEST_F(SummaryWindowTest, ChangingTheKindWithGroupsChosenAsksFirst) {
    fTrunk w;
    w.chkall->setChecked(true);
    prompter.no();
    w.Optreporttype[2]->setChecked(true);
    ASSERT_EQ(prompter.prompts().size(), 1u);
    EXPECT_EQ(prompter.prompts()[0].text, kQuestion);
    EXPECT_EQ(prompter.prompts()[0].title, "Configure Sites");
    EXPECT_EQ(prompter.prompts()[0].icon, Icon::Question);
    EXPECT_EQ(prompter.prompts()[0].buttons, platform::Buttons::YesNo);
    // No: the kind and the choice stay.
    EXPECT_EQ(w.reportType, 0);
    EXPECT_TRUE(w.Optreporttype[0]->isChecked());
    EXPECT_EQ(w.lstItem->count(), 4);
    EXPECT_TRUE(w.chkall->isChecked());

    prompter.yes();
    w.Optreporttype[2]->setChecked(true);
    EXPECT_EQ(w.reportType, 2);
    EXPECT_EQ(w.lstItem->count(), 0);
    EXPECT_EQ(w.lstDivision->count(), 4);
    EXPECT_FALSE(w.chkall->isChecked());
    EXPECT_TRUE(w.lstDivision->isEnabled());
    EXPECT_TRUE(w.Combotime->isEnabled());
    EXPECT_EQ(w.lblreporttype[0]->text(), "Add Trunk Group");
}

// The table of the trunk groups is read whatever it holds: a missing one lists nothing, lines
// without a text are listed without one; either is told.
TEST_F(SummaryWindowTest, AMissingOrShortTrunkTableIsTold) {
    QFile::remove(home.file("North/Bats/trunk.csv"));
    prompter.ok();
    fTrunk missing;
    EXPECT_EQ(missing.lstDivision->count(), 0);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].contains("trunk.csv"))
        << prompter.messages()[0].toStdString();
    EXPECT_EQ(prompter.prompts()[0].icon, Icon::Exclamation);

    home.write("North/Bats/trunk.csv", "7\r\n7,Late\r\n\r\n9,Nine\r\n");
    prompter.ok();
    FAreacode shortLines;
    EXPECT_EQ(texts(shortLines.lstDivision), (QStringList{"0007 ", "0009 Nine"}));
    EXPECT_EQ(prompter.messages().size(), 2);
}

// --- area codes

TEST_F(SummaryWindowTest, AreaCodesAreTypedInAndTakenOutUpwards) {
    FAreacode w;
    EXPECT_EQ(w.lblreporttype[0]->text(), "Add Trunk Group");
    EXPECT_EQ(w.lblreporttype[1]->text(), "Selected Trunk Groups");
    EXPECT_TRUE(w.Optsort[0]->isChecked());
    EXPECT_FALSE(w.chkallarea->isChecked());
    // Enter adds what the box holds and empties it; an empty box adds nothing.
    QTest::keyClicks(w.txtarea, "212");
    QTest::keyClick(w.txtarea, Qt::Key_Return);
    EXPECT_EQ(w.txtarea->text(), "");
    QTest::keyClick(w.txtarea, Qt::Key_Return);
    for (const char* code : {"718", "212", "9", "45"}) {
        w.txtarea->setText(code);
        w.cmdadd1->click();
    }
    EXPECT_EQ(texts(w.lstarea), (QStringList{"212", "718", "212", "9", "45"}));

    w.lstarea->setCurrentRow(2);
    QTest::keyClick(w.lstarea, Qt::Key_Delete);
    EXPECT_EQ(texts(w.lstarea), (QStringList{"212", "718", "9", "45"}));
    EXPECT_EQ(w.lstarea->currentRow(), 1);
    w.cmdremove1->click();
    EXPECT_EQ(w.lstarea->currentRow(), 0);
    w.cmdremove1->click();  // the first: nothing left highlighted
    EXPECT_EQ(texts(w.lstarea), (QStringList{"9", "45"}));
    EXPECT_EQ(w.lstarea->currentItem(), nullptr);
    w.cmdremove1->click();  // nothing highlighted: nothing taken out
    EXPECT_EQ(w.lstarea->count(), 2);

    w.chkallarea->setChecked(true);
    EXPECT_EQ(w.lstarea->count(), 0);
    for (QWidget* c :
         std::initializer_list<QWidget*>{w.txtarea, w.cmdadd1, w.cmdremove1, w.lstarea})
        EXPECT_FALSE(c->isEnabled()) << c->objectName().toStdString();
    w.chkallarea->setChecked(false);
    EXPECT_EQ(w.lstarea->count(), 0);  // the codes do not come back
    EXPECT_TRUE(w.txtarea->isEnabled());
    EXPECT_TRUE(w.lstarea->isEnabled());
}

// --- line types and kinds of the statistics report

TEST_F(SummaryWindowTest, StatisticsKindsAndLineTypes) {
    fstatsreport w;
    EXPECT_FALSE(w.cboReportType->isEditable());
    EXPECT_FALSE(w.cboDivision->isEditable());
    EXPECT_TRUE(w.cboDivisionhidden->isHidden());
    EXPECT_EQ(w.cboReportType->count(), 5);
    EXPECT_EQ(w.cboReportType->currentIndex(), 0);
    EXPECT_EQ(w.Label4->text(), "Enter number for top n calls by cost (between 5-500)");
    w.cboReportType->setCurrentIndex(3);
    EXPECT_EQ(w.cboReportType->currentText(), "Calls with duration over");
    EXPECT_EQ(w.Label4->text(),
              "Enter Number of minutes duration calls must be over (between 5-500)");
    EXPECT_EQ(w.txtValue->maxLength(), 3);

    QStringList shown, keys;
    for (int i = 0; i < w.cboDivision->count(); ++i) {
        shown << w.cboDivision->itemText(i);
        keys << w.cboDivisionhidden->itemText(i);
    }
    EXPECT_EQ(shown, (QStringList{"0000 ALL", "0001 Administrative", "0003 Guest Room"}));
    EXPECT_EQ(keys, (QStringList{"0000", "0001", "0003"}));
    EXPECT_EQ(w.cboDivisionhidden->currentText(), "0000");
    w.cboDivision->setCurrentIndex(2);
    EXPECT_EQ(w.cboDivisionhidden->currentText(), "0003");
    EXPECT_TRUE(prompter.prompts().empty());
}

TEST_F(SummaryWindowTest, WithoutLineTypesOnlyAllIsOffered) {
    home.write("North/Bats/lt.csv", "");
    fstatsreport empty;
    EXPECT_EQ(empty.cboDivision->count(), 1);
    EXPECT_EQ(empty.cboDivision->currentText(), "0000 ALL");
    EXPECT_TRUE(prompter.prompts().empty());

    QFile::remove(home.file("North/Bats/lt.csv"));
    prompter.ok();
    fstatsreport missing;
    EXPECT_EQ(missing.cboDivision->count(), 1);
    EXPECT_EQ(missing.cboDivisionhidden->currentText(), "0000");
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].contains("lt.csv"));
}

}  // namespace
