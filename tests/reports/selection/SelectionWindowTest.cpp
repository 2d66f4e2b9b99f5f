// The detail, cost, unused-station and account-code windows without a server: what they open
// with, the report-type and ALL-box confirmations, moving entries and the refused runs.
#include "reports/selection/fAuth.h"
#include "reports/selection/fDetailReport.h"
#include "reports/selection/fcost.h"
#include "reports/selection/funusedstations.h"

#include "SelectionTestSupport.h"
#include "common/CommonFunctions.h"
#include "common/Globals.h"
#include "support/Controls.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimeEdit>

#include <memory>
#include <ostream>

using namespace quillon;
using platform::Icon;
using testsupport::doubleClick;

namespace {

const QString kQuestion =
    QStringLiteral("Are you sure you want to change how you are running the report?\r\n");

using selectiontest::texts;

class SelectionWindowTest : public ::testing::Test {
protected:
    void SetUp() override { selectiontest::writeTables(home); }

    void select(SelectionReportWindow& w, const QString& text) {
        selectiontest::selectShown(w, {text});
    }
    void expectQuestionAsked(size_t index = 0) {
        ASSERT_GT(prompter.prompts().size(), index);
        const auto& p = prompter.prompts()[index];
        EXPECT_EQ(p.text, kQuestion);
        EXPECT_EQ(p.title, "Configure Sites");
        EXPECT_EQ(p.icon, Icon::Question);
        EXPECT_EQ(p.buttons, platform::Buttons::YesNo);
    }

    testsupport::TempHome home;
    testsupport::ScriptedPrompter prompter;
    selectiontest::FakeHost host;
};

struct OpeningCase {
    const char* name;
    std::function<std::unique_ptr<SelectionReportWindow>()> open;
    const char* caption;
    int type;
    const char* addCaption;
    const char* selectedCaption;
    const char* allBox;  // the only ALL box that can be ticked
    QStringList ticked;
    QStringList unticked;
    QTime endTime;
    bool lineTypeShown;
    bool allCallsShown;
    bool optionsShown;
    QStringList available;
};
void PrintTo(const OpeningCase& c, std::ostream* os) {
    *os << c.name;
}

class OpeningTest : public SelectionWindowTest,
                    public ::testing::WithParamInterface<OpeningCase> {};

TEST_P(OpeningTest, OpensWithItsDefaults) {
    const OpeningCase& c = GetParam();
    const auto w = c.open();
    EXPECT_EQ(w->windowTitle(), c.caption);
    EXPECT_EQ(w->reportType, c.type);
    EXPECT_TRUE(w->Optreporttype[c.type]->isChecked());
    EXPECT_EQ(w->lblreporttype[0]->text(), c.addCaption);
    EXPECT_EQ(w->lblreporttype[1]->text(), c.selectedCaption);
    for (QCheckBox* box : w->allBoxes)
        EXPECT_EQ(box->isEnabled(), box->objectName() == c.allBox)
            << box->objectName().toStdString();
    for (const QString& n : c.ticked) EXPECT_TRUE(w->optionBox(n)->isChecked()) << n.toStdString();
    for (const QString& n : c.unticked)
        EXPECT_FALSE(w->optionBox(n)->isChecked()) << n.toStdString();
    EXPECT_EQ(w->starttime->time(), QTime(0, 1));
    EXPECT_EQ(w->endtime->time(), c.endTime);
    EXPECT_TRUE(w->Optdate[1]->isChecked());
    EXPECT_EQ(!w->Optreporttype[0]->isHidden(), c.lineTypeShown);
    EXPECT_EQ(!w->Optdate[0]->isHidden(), c.allCallsShown);
    EXPECT_EQ(!w->Frame2->isHidden(), c.optionsShown);
    EXPECT_EQ(texts(w->lstDivision), c.available);
    EXPECT_EQ(w->lstItem->count(), 0);
    EXPECT_TRUE(w->lstDivisionHidden->isHidden());
    EXPECT_TRUE(w->lstItemHidden->isHidden());
    EXPECT_EQ(w->txtinterval->maxLength(), 3);
    EXPECT_TRUE(w->lblrunning->isHidden());
}

const QStringList kDetailOff{"chk800peg",          "chk900peg",   "chkincomingpeg",
                             "chkpagebreak",       "chkallpeg",   "chkcompactver",
                             "chklongdistancepeg", "chklocalpeg", "chksendprinter"};
const QStringList kExtensions{"0007 Lobby", "0012 Front Desk", "0014 Bar", "12345 Suite"};
const QStringList kDivisions{"0001 Rooms", "0003 Operations"};

INSTANTIATE_TEST_SUITE_P(
    Windows, OpeningTest,
    ::testing::Values(OpeningCase{"Detail",
                                  selectiontest::opener<SelectionReportWindow, fDetailReport>,
                                  "Detail Report",
                                  1,
                                  "Add Extension",
                                  "Selected Extension",
                                  "chkext",
                                  {"chkpostcalls", "chklivecalls"},
                                  kDetailOff,
                                  QTime(23, 59),
                                  true,
                                  true,
                                  true,
                                  kExtensions},
                      OpeningCase{"Cost",
                                  selectiontest::opener<SelectionReportWindow, fcost>,
                                  "Cost Report",
                                  3,
                                  "Add Division",
                                  "Selected Division",
                                  "chkdiv",
                                  {},
                                  {"chkcompactver", "chksendprinter"},
                                  QTime(23, 59),
                                  false,
                                  true,
                                  true,
                                  kDivisions},
                      OpeningCase{"Unused",
                                  selectiontest::opener<SelectionReportWindow, funusedstations>,
                                  "UnUsed Station Report",
                                  3,
                                  "Add Division",
                                  "Selected Division",
                                  "chkdiv",
                                  {},
                                  {"chkcompactver", "chksendprinter"},
                                  QTime(23, 59),
                                  false,
                                  true,
                                  false,
                                  kDivisions},
                      OpeningCase{"Auth",
                                  selectiontest::opener<SelectionReportWindow, fAuth>,
                                  "Authorization Code Report",
                                  0,
                                  "Add Account/Auth Code",
                                  "Selected Account/Auth Code",
                                  "chkline",
                                  {"chkpostcalls"},
                                  kDetailOff,
                                  QTime(14, 4),
                                  true,
                                  false,
                                  true,
                                  {"0007 Legal", "0012 Marketing", "PH-9 Phones"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SelectionWindowTest, AuthWindowHasItsOwnCaptionsAndChoosesCodesWithAuthCodes) {
    fAuth w;
    EXPECT_EQ(w.optionBox("chklivecalls"), nullptr);
    EXPECT_EQ(w.optionBox("chkallpeg")->text(), "Total Calls Summary");
    EXPECT_EQ(w.optionBox("chklongdistancepeg")->text(), "Long Distance Call Summary");
    EXPECT_EQ(w.Optreporttype[0]->text(), "Account/Auth codes");
    EXPECT_TRUE(w.optauthtype[0]->isChecked());
    EXPECT_EQ(w.optauthtype[2]->text(), "Calls with && without Auth codes");
    // "Do Not Post Calls" has no handling here: the date choices stay usable.
    w.optionBox("chkpostcalls")->setChecked(false);
    EXPECT_TRUE(w.Optdate[1]->isEnabled());
    EXPECT_TRUE(w.startdate->isEnabled());
}

TEST_F(SelectionWindowTest, ChangingTypeWithNothingSelectedAsksNothing) {
    fDetailReport w;
    w.Optreporttype[3]->setChecked(true);
    EXPECT_EQ(w.reportType, 3);
    EXPECT_EQ(texts(w.lstDivision), kDivisions);
    EXPECT_EQ(w.lblreporttype[0]->text(), "Add Division");
    EXPECT_TRUE(w.allBoxes[3]->isEnabled());
    EXPECT_FALSE(w.allBoxes[1]->isEnabled());
    EXPECT_TRUE(prompter.prompts().empty());
}

TEST_F(SelectionWindowTest, ChangingTypeWithSelectionAndNoKeepsEverything) {
    fDetailReport w;
    select(w, "0012 Front Desk");
    prompter.no();
    w.Optreporttype[2]->setChecked(true);
    expectQuestionAsked();
    EXPECT_EQ(w.reportType, 1);
    EXPECT_TRUE(w.Optreporttype[1]->isChecked());
    EXPECT_FALSE(w.Optreporttype[2]->isChecked());
    EXPECT_EQ(texts(w.lstItem), QStringList{"0012 Front Desk"});
    EXPECT_EQ(w.lstDivision->count(), 3);
    EXPECT_EQ(w.lblreporttype[0]->text(), "Add Extension");
}

TEST_F(SelectionWindowTest, ChangingTypeWithSelectionAndYesDropsTheSelection) {
    fDetailReport w;
    select(w, "0012 Front Desk");
    prompter.yes();
    w.Optreporttype[2]->setChecked(true);
    expectQuestionAsked();
    EXPECT_EQ(w.reportType, 2);
    EXPECT_EQ(w.lstItem->count(), 0);
    EXPECT_EQ(w.lstItemHidden->count(), 0);
    EXPECT_EQ(texts(w.lstDivision), (QStringList{"0100 Front Office", "0120 Sales"}));
}

TEST_F(SelectionWindowTest, AllBoxWithNothingSelectedTakesEveryItemAndBackAgain) {
    fDetailReport w;
    w.allBoxes[1]->setChecked(true);
    EXPECT_EQ(texts(w.lstItem), kExtensions);
    EXPECT_EQ(texts(w.lstItemHidden), (QStringList{"0007", "0012", "0014", "12345"}));
    EXPECT_EQ(w.lstDivision->count(), 0);
    EXPECT_FALSE(w.lstItem->isEnabled());
    EXPECT_FALSE(w.lstDivision->isEnabled());
    w.allBoxes[1]->setChecked(false);
    EXPECT_EQ(texts(w.lstDivision), kExtensions);
    EXPECT_EQ(w.lstItem->count(), 0);
    EXPECT_TRUE(w.lstItem->isEnabled());
    EXPECT_TRUE(w.lstDivision->isEnabled());
    EXPECT_TRUE(prompter.prompts().empty());
}

TEST_F(SelectionWindowTest, AllBoxOverAManualSelection) {
    for (const bool yes : {false, true}) {
        SCOPED_TRACE(yes ? "Yes" : "No");
        fDetailReport w;
        select(w, "0014 Bar");
        prompter.answer(yes ? platform::Answer::Yes : platform::Answer::No);
        w.allBoxes[1]->setChecked(true);
        EXPECT_EQ(w.allBoxes[1]->isChecked(), yes);
        EXPECT_EQ(texts(w.lstItem), yes ? kExtensions : QStringList{});
        EXPECT_EQ(texts(w.lstDivision), yes ? QStringList{} : kExtensions);
        EXPECT_EQ(w.lstItem->isEnabled(), !yes);
    }
    EXPECT_EQ(prompter.messages(), (QStringList{kQuestion, kQuestion}));
}

TEST_F(SelectionWindowTest, AllExtStandsAloneForEveryExtension) {
    fcost w;
    w.Optreporttype[1]->setChecked(true);
    w.allBoxes[1]->setChecked(true);
    EXPECT_EQ(texts(w.lstItem), QStringList{"ALL EXT"});
    EXPECT_EQ(texts(w.lstItemHidden), QStringList{"0"});
    EXPECT_EQ(texts(w.lstDivision), kExtensions);
    EXPECT_FALSE(w.lstDivision->isEnabled());
    // The lists are greyed: the buttons cannot change the selection either.
    w.lstDivision->setCurrentRow(0);
    w.cmdadd->click();
    EXPECT_EQ(texts(w.lstItem), QStringList{"ALL EXT"});
    w.allBoxes[1]->setChecked(false);
    EXPECT_EQ(w.lstItem->count(), 0);
    EXPECT_EQ(w.lstItemHidden->count(), 0);
    EXPECT_EQ(texts(w.lstDivision), kExtensions);
    EXPECT_TRUE(w.lstDivision->isEnabled());
    EXPECT_TRUE(prompter.prompts().empty());
}

TEST_F(SelectionWindowTest, ExtensionAllBoxOverASelectionTakesEachExtension) {
    fcost w;
    w.Optreporttype[1]->setChecked(true);
    select(w, "0012 Front Desk");
    prompter.yes();
    w.allBoxes[1]->setChecked(true);
    expectQuestionAsked();
    EXPECT_EQ(texts(w.lstItem), kExtensions);
    EXPECT_FALSE(texts(w.lstItemHidden).contains("0"));
}

TEST_F(SelectionWindowTest, ChangingTypeWhileAllExtIsSelected) {
    fcost w;
    w.Optreporttype[1]->setChecked(true);
    w.allBoxes[1]->setChecked(true);
    prompter.yes();
    w.Optreporttype[2]->setChecked(true);
    expectQuestionAsked();
    EXPECT_FALSE(w.allBoxes[1]->isChecked());
    EXPECT_FALSE(w.allBoxes[1]->isEnabled());
    EXPECT_TRUE(w.allBoxes[2]->isEnabled());
    EXPECT_EQ(w.lstItem->count(), 0);
    EXPECT_EQ(texts(w.lstDivision), (QStringList{"0100 Front Office", "0120 Sales"}));
    EXPECT_TRUE(w.lstDivision->isEnabled());
}

TEST_F(SelectionWindowTest, NotPostingSwitchesTheDatePartOff) {
    fDetailReport w;
    QCheckBox* post = w.optionBox("chkpostcalls");
    post->setChecked(false);
    EXPECT_FALSE(w.optionBox("chklivecalls")->isChecked());
    for (QRadioButton* r : w.Optdate) EXPECT_FALSE(r->isEnabled());
    EXPECT_FALSE(w.startdate->isEnabled());
    EXPECT_FALSE(w.txtinterval->isEnabled());
    w.Optdate[0]->setChecked(true);
    post->setChecked(true);
    // Ticked again, every picker and the interval box are usable, whatever the date choice.
    for (QWidget* x : std::initializer_list<QWidget*>{w.startdate, w.enddate, w.starttime,
                                                      w.endtime, w.txtinterval, w.Optdate[2]})
        EXPECT_TRUE(x->isEnabled()) << x->objectName().toStdString();
}

TEST_F(SelectionWindowTest, DateChoicesEnableTheirControls) {
    fDetailReport w;
    const std::tuple<int, bool, bool> cases[] = {
        {0, false, false}, {1, true, false}, {2, false, true}};
    for (const auto& [choice, pickers, interval] : cases) {
        w.Optdate[choice]->setChecked(true);
        EXPECT_EQ(w.startdate->isEnabled(), pickers) << choice;
        EXPECT_EQ(w.endtime->isEnabled(), pickers) << choice;
        EXPECT_EQ(w.txtinterval->isEnabled(), interval) << choice;
    }
}

TEST_F(SelectionWindowTest, MovingEntriesOneByOne) {
    fDetailReport w;
    w.cmdadd->click();  // nothing highlighted
    EXPECT_EQ(w.lstItem->count(), 0);
    w.lstDivision->setCurrentRow(1);
    w.cmdadd->click();
    EXPECT_EQ(texts(w.lstItem), QStringList{"0012 Front Desk"});
    EXPECT_EQ(w.lstDivision->currentRow(), 1);  // the next one, ready for another press
    QTest::keyClick(w.lstDivision, Qt::Key_Return);
    EXPECT_EQ(texts(w.lstItem), (QStringList{"0012 Front Desk", "0014 Bar"}));
    QTest::keyClick(w.lstDivision, Qt::Key_Return);  // the last entry of the list
    EXPECT_EQ(texts(w.lstDivision), QStringList{"0007 Lobby"});
    EXPECT_TRUE(w.lstDivision->selectedItems().isEmpty());
    w.lstItem->setCurrentRow(0);
    QTest::keyClick(w.lstItem, Qt::Key_Delete);
    EXPECT_EQ(texts(w.lstDivision), (QStringList{"0007 Lobby", "0012 Front Desk"}));
    EXPECT_EQ(texts(w.lstItemHidden), (QStringList{"0014", "12345"}));
    QTest::keyClick(w.lstItem, Qt::Key_A);  // other keys do nothing
    EXPECT_EQ(w.lstItem->count(), 2);
}

// The account codes keep their unformatted keys: the shown order (0007, 0012) and the key order
// (12, 7) differ, and each entry still takes exactly its own key along.
TEST_F(SelectionWindowTest, AccountCodesKeepTheirOwnKeys) {
    fAuth w;
    w.show();
    EXPECT_EQ(texts(w.lstDivisionHidden), (QStringList{"12", "7", "PH-9"}));
    const auto found = w.lstDivision->findItems("0012 Marketing", Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    doubleClick(w.lstDivision, found.first());
    EXPECT_EQ(texts(w.lstItemHidden), QStringList{"12"});
    EXPECT_EQ(texts(w.lstDivisionHidden), (QStringList{"7", "PH-9"}));
    EXPECT_EQ(texts(w.lstDivision), (QStringList{"0007 Legal", "PH-9 Phones"}));
    doubleClick(w.lstItem, w.lstItem->item(0));
    EXPECT_EQ(texts(w.lstDivisionHidden), (QStringList{"12", "7", "PH-9"}));
}

TEST_F(SelectionWindowTest, IntervalBoxTakesOnlyNumbers) {
    fDetailReport w;
    w.Optdate[2]->setChecked(true);
    const std::pair<const char*, const char*> typed[] = {{"1a", "1"},    {"1.", "1."}, {"a", ""},
                                                         {"12x3", "12"}, {"-", ""},    {"7", "7"}};
    for (const auto& [text, left] : typed) {
        w.txtinterval->clear();
        w.txtinterval->setText(text);
        EXPECT_EQ(w.txtinterval->text(), left) << text;
    }
    w.txtinterval->clear();
    w.txtinterval->setFocus();
    QTest::keyClicks(w.txtinterval, "1234");
    EXPECT_EQ(w.txtinterval->text(), "123");
}

struct RefusalCase {
    const char* name;
    std::function<std::unique_ptr<SelectionReportWindow>()> open;
    bool selectSomething;
    QStringList messages;
};
void PrintTo(const RefusalCase& c, std::ostream* os) {
    *os << c.name;
}

class RefusalTest : public SelectionWindowTest,
                    public ::testing::WithParamInterface<RefusalCase> {};

// A run that cannot start says why, opens no session and gives the Run button back.
TEST_P(RefusalTest, RefusesBeforeAnySession) {
    const RefusalCase& c = GetParam();
    const auto w = c.open();
    if (c.selectSomething) {
        w->lstDivision->setCurrentRow(0);
        w->cmdadd->click();
        w->Optdate[2]->setChecked(true);  // and an empty interval box
    }
    for (int i = 0; i < c.messages.size(); ++i) prompter.ok();
    G().g_CurSite = 1;  // a site table entry that leads nowhere: no session may be tried
    w->Command1_Click();
    EXPECT_EQ(prompter.messages(), c.messages);
    EXPECT_TRUE(prompter.exhausted());
    EXPECT_TRUE(host.handOvers.isEmpty());
    EXPECT_TRUE(w->Command1->isVisibleTo(w.get()));
    EXPECT_TRUE(w->Command1->isEnabled());
    EXPECT_FALSE(w->lblrunning->isVisibleTo(w.get()));
    EXPECT_EQ(G().g_ParamFileName, "TESTPC_" + w->kind().tag + ".TMP");
    EXPECT_EQ(G().g_ReportFileName, "TESTPC_" + w->kind().tag + ".rep");
}

INSTANTIATE_TEST_SUITE_P(
    Windows, RefusalTest,
    ::testing::Values(RefusalCase{"DetailNothingSelected",
                                  selectiontest::opener<SelectionReportWindow, fDetailReport>,
                                  false,
                                  {"You Must Add Extension"}},
                      RefusalCase{"DetailEmptyInterval",
                                  selectiontest::opener<SelectionReportWindow, fDetailReport>,
                                  true,
                                  {"interval not added", "Bad paramters passed"}},
                      RefusalCase{"CostNothingSelected",
                                  selectiontest::opener<SelectionReportWindow, fcost>,
                                  false,
                                  {"You Must Add Division"}},
                      RefusalCase{"CostEmptyInterval",
                                  selectiontest::opener<SelectionReportWindow, fcost>,
                                  true,
                                  {"interval Not added", "Bad paramters passed"}},
                      RefusalCase{"UnusedNothingSelected",
                                  selectiontest::opener<SelectionReportWindow, funusedstations>,
                                  false,
                                  {"You Must Add Division"}},
                      RefusalCase{"AuthNothingSelected",
                                  selectiontest::opener<SelectionReportWindow, fAuth>,
                                  false,
                                  {"You Must Add Account/Auth Code"}},
                      RefusalCase{"AuthEmptyInterval",
                                  selectiontest::opener<SelectionReportWindow, fAuth>,
                                  true,
                                  {"interval Not added", "Bad paramters passed"}}),
    [](const auto& info) { return std::string(info.param.name); });

// The debug log tells the steps of a run, here one the interval check stops.
TEST_F(SelectionWindowTest, RunStepsReachTheDebugLog) {
    struct Case {
        const char* name;
        std::function<std::unique_ptr<SelectionReportWindow>()> open;
        QStringList lines;
    };
    const Case cases[] = {
        {"detail",
         selectiontest::opener<SelectionReportWindow, fDetailReport>,
         {"DETAIL REPORT", "RUNNING REPORT", "adding 0001  from lstItemHidden.Text"}},
        {"cost",
         selectiontest::opener<SelectionReportWindow, fcost>,
         {"COST REPORT", "RUNNING REPORT", "setting report caommand",
          "adding 0001  from lstItemHidden.Text", "Connecting to ssh"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        G().g_DebugMode = true;
        const QString log = home.file("Logs/Mainlog.log");
        QDir().mkpath(home.file("Logs"));
        OpenDebugLog(log);
        const auto w = c.open();
        w->Optreporttype[3]->setChecked(true);
        selectiontest::selectShown(*w, {"0001 Rooms"});
        w->Optdate[2]->setChecked(true);
        prompter.ok().ok();
        w->Command1_Click();
        QStringList written;
        for (const QString& line : QString::fromLatin1(home.read("Logs/Mainlog.log")).split("\r\n"))
            if (line.size() > 19) written << line.mid(19);  // past the time stamp
        written.removeAll("OPENED");
        EXPECT_EQ(written, c.lines);
    }
}

TEST_F(SelectionWindowTest, AMissingTableGivesAnEmptyListAndAMessage) {
    QFile::remove(home.file("North/Bats/ext.csv"));
    prompter.ok();
    fDetailReport w;
    EXPECT_EQ(w.lstDivision->count(), 0);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].contains("ext.csv"));
    // The window stays usable: another type lists its table.
    w.Optreporttype[3]->setChecked(true);
    EXPECT_EQ(texts(w.lstDivision), kDivisions);
}

TEST_F(SelectionWindowTest, LinesWithoutANameAreListedWithAnEmptyName) {
    home.write("North/Bats/div.csv", "1,Rooms\r\n\r\n5\r\n3,Operations\r\n");
    prompter.ok();
    fcost w;
    EXPECT_EQ(texts(w.lstDivision), (QStringList{"0001 Rooms", "0003 Operations", "0005 "}));
    EXPECT_EQ(texts(w.lstDivisionHidden), (QStringList{"0001", "0003", "0005"}));
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].contains("div.csv"));
}

TEST_F(SelectionWindowTest, TablesAreFoundWithoutRegardToCase) {
    QFile::rename(home.file("North/Bats/div.csv"), home.file("North/Bats/DIV.CSV"));
    fcost w;
    EXPECT_EQ(texts(w.lstDivision), kDivisions);
}

TEST_F(SelectionWindowTest, ProgressLabelGrowsToTenDotsAndStartsAgain) {
    fDetailReport w;
    QStringList seen;
    for (int i = 0; i < 12; ++i) {
        w.waitpanel->dots_Timer();
        seen << w.lblrunning->text();
    }
    EXPECT_EQ(seen[0], "Report Running.");
    EXPECT_EQ(seen[9], "Report Running..........");
    EXPECT_EQ(seen[10], "Report Running.");
    EXPECT_EQ(seen[11], "Report Running..");
}

}  // namespace
