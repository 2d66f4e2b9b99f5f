// The area-code menu, the table window and its two forms through the fake server: what the
// window shows and filters, its sort, the row a double click hands over, and the records,
// checks and closing of the modify and add forms.
#include "rates/frmac.h"
#include "rates/frmaddac.h"
#include "rates/frmareacode.h"
#include "rates/frmeditAC.h"

#include "changes/ChangeRequest.h"
#include "common/Globals.h"
#include "common/ShellQuote.h"
#include "remote/CheckedLines.h"
#include "support/Controls.h"
#include "support/FakeServer.h"
#include "support/FakeSite.h"
#include "support/LocalShell.h"
#include "support/Modal.h"
#include "support/ProgramWindows.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"
#include "widgets/SortableGrid.h"
#include "widgets/WindowRegistry.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <memory>
#include <ostream>
#include <utility>

using namespace quillon;
using testsupport::control;
using testsupport::FakeSite;
using State = ChangeExchange::State;

namespace {

// Rate rows that do not stand one per line in order, and calc rows that do not either.
const QByteArray kLd =
    "1,617,555,Boston MA,1,252\n2,617,556,Cambridge MA,1,250\n3,012,555,Leading Zero,1,240\n"
    "4,12,555,No Zero,1,248\n5,,555,No Area,1,223.9\n6,508,,Worcester MA,1,224\n";
const QByteArray kRate =
    "252,0.12,0.10,0.18,0.15,0,10\n250,0.05,0.05,0.08,0.08,0,7\n240,0,0,0,0,0,1\n"
    "1,0.10,0.08,0.15,0.12,0,1\n";
const QByteArray kCalc =
    "10,5,0.50,6.25,6,30,60,60,60,60,0,0\n1,0,0,0,6,0,0.10,0.10,0.25,0.25,0,0\n"
    "7,0,0,5,0,0,60,60,60,60,1,0\n";

class AreaCodeTest : public ::testing::Test {
protected:
    AreaCodeTest() {
        FakeSite::addServerTables(server);
        server.addFile("/usr/varnel/ld.csv", kLd);
        server.addFile("/usr/varnel/rate.csv", kRate);
        server.addFile("/usr/varnel/calc.csv", kCalc);
    }
    ~AreaCodeTest() override { setWindowOpenHook({}); }

    QStringList column(const SortableGrid* g, int col) const {
        QStringList out;
        for (int r = 1; r <= g->dataRows(); ++r) out << g->cell(r, col);
        return out;
    }
    // The answer the server writes for the request the form sent, found at the first poll.
    void answer(ChangeForm& f, const QByteArray& bytes) {
        const QString done = f.exchange().answerName();
        server.on(answerPollLine(done)).reply(done + "\n");
        server.addFile(FakeSite::folder() + "/" + done, bytes);
    }
    int tableFetches() const {
        int n = 0;
        for (const auto& fetch : server.fetches())
            if (fetch.remotePath.endsWith(".csv")) ++n;
        return n;
    }

    testsupport::TempHome home;
    FakeSite site;
    testsupport::FakeServer server;
    testsupport::ScriptedPrompter prompter;
};

// ---- the menu -----------------------------------------------------------------------------

TEST_F(AreaCodeTest, TheMenuOpensItsWindowsWithTheHourglass) {
    frmareacode menu;
    EXPECT_EQ(menu.windowTitle(), "Areacodes/Prefixes");
    QStringList opened;
    QList<Qt::CursorShape> cursors;
    setWindowOpenHook([&](const QString& w) {
        opened << w;
        cursors << menu.cursor().shape();
    });
    QTest::mouseClick(menu.cmdLD, Qt::LeftButton);
    QTest::mouseClick(menu.cmdaddac, Qt::LeftButton);
    EXPECT_EQ(opened, (QStringList{"frmac", "frmaddac"}));
    EXPECT_EQ(cursors, (QList<Qt::CursorShape>{Qt::WaitCursor, Qt::WaitCursor}));
    EXPECT_EQ(menu.cursor().shape(), Qt::ArrowCursor);
}

// Each of the menu's picture buttons shows its picture, its caption standing beneath it.
TEST(AreaCodeMenu, EachPictureButtonShowsItsPictureAndCaption) {
    frmareacode menu;
    for (QPushButton* b : {menu.cmdLD, menu.cmdaddac}) {
        SCOPED_TRACE(b->objectName().toStdString());
        EXPECT_FALSE(b->icon().pixmap(b->iconSize()).isNull());
        EXPECT_GE(b->iconSize().height(), 32);
        EXPECT_TRUE(b->text().isEmpty());
        const QList<QLabel*> labels = menu.findChildren<QLabel*>();
        const auto caption =
            std::find_if(labels.begin(), labels.end(), [b](QLabel* l) { return l->buddy() == b; });
        ASSERT_NE(caption, labels.end());
        EXPECT_FALSE((*caption)->text().isEmpty());
    }
    EXPECT_EQ(menu.cmdLD->accessibleName(), "Modify Area Codes");
    EXPECT_EQ(menu.cmdaddac->accessibleName(), "Add Area Codes");
}

// A second click while the table window pulls its tables opens no second one (it would show an
// empty grid and say a pull is already running).
TEST_F(AreaCodeTest, ClicksOnTheMenuWhileTheTableWindowLoadsOpenNoSecondWindow) {
    frmareacode menu;
    menu.show();
    QStringList opened;
    bool held = false;
    server.onFetch("/usr/varnel/ld.csv", [&] {
        if (std::exchange(held, true)) return;
        setWindowOpenHook([&](const QString& w) { opened << w; });
        QTest::mouseClick(menu.cmdLD, Qt::LeftButton);
        QTest::mouseDClick(menu.cmdaddac, Qt::LeftButton);
        setWindowOpenHook({});
    });
    testsupport::closeWhenShown("frmac");
    QTest::mouseClick(menu.cmdLD, Qt::LeftButton);
    EXPECT_TRUE(held);
    EXPECT_TRUE(opened.isEmpty()) << opened.join(' ').toStdString();
}

// ---- the table window ---------------------------------------------------------------------

TEST_F(AreaCodeTest, TheWindowPullsTheTablesAndShowsEachRowWithItsClass) {
    frmac w;
    EXPECT_EQ(tableFetches(), 13);
    EXPECT_TRUE(prompter.messages().isEmpty()) << prompter.messages().join('|').toStdString();
    EXPECT_EQ(w.windowTitle(), "Area Codes");
    ASSERT_EQ(w.MSFlexGrid1->dataRows(), 6);
    EXPECT_EQ(w.MSFlexGrid1->rowCells(0), kLdHeaders);
    EXPECT_EQ(w.MSFlexGrid1->rowCells(1),
              (QStringList{"1", "617", "555", "Boston MA", "252", "Intrastate"}));
    EXPECT_EQ(column(w.MSFlexGrid1, 5),
              (QStringList{"Intrastate", "Local", "Toll Free", "900 Calls", "International", ""}));
    EXPECT_TRUE(w.MSFlexGrid1->isColumnHidden(0));
    EXPECT_TRUE(w.MSFlexGrid1->isColumnHidden(4));
    EXPECT_FALSE(w.MSFlexGrid1->isColumnHidden(3));
    EXPECT_EQ(w.MSFlexGrid2->dataRows(), 4);
    EXPECT_TRUE(w.MSFlexGrid2->isHidden());
    EXPECT_EQ(w.MSFlexGrid3->rowCells(0), kCalcHeaders);
    EXPECT_FALSE(w.MSFlexGrid3->isHidden());
    for (QLineEdit* b : {w.txtareacode, w.txtprefix}) EXPECT_FALSE(b->isEnabled());
}

TEST_F(AreaCodeTest, FiltersKeepExactFieldsAndOnlyApplyFilterReloads) {
    frmac w;
    struct Case {
        bool area;
        const char* areaText;
        bool prefix;
        const char* prefixText;
        QStringList locations;
    };
    const Case cases[] = {
        {false,
         "",
         false,
         "",
         {"Boston MA", "Cambridge MA", "Leading Zero", "No Zero", "No Area", "Worcester MA"}},
        {true, "", false, "", {"No Area"}},
        {true, "12", false, "", {"No Zero"}},
        {true, "012", false, "", {"Leading Zero"}},
        {true, "617", true, "556", {"Cambridge MA"}},
        {false, "", true, "", {"Worcester MA"}},
        {true, "999", false, "", {}},
    };
    for (const Case& c : cases) {
        w.chkAreaCode->setChecked(c.area);
        w.chkPrefix->setChecked(c.prefix);
        if (c.area) w.txtareacode->setText(c.areaText);
        if (c.prefix) w.txtprefix->setText(c.prefixText);
        QTest::mouseClick(w.cmdFilter, Qt::LeftButton);
        EXPECT_EQ(column(w.MSFlexGrid1, 3), c.locations) << c.areaText << "/" << c.prefixText;
        EXPECT_EQ(w.MSFlexGrid1->headerText(1), "Area Code");
    }
    // Unticking empties and disables its box and leaves the grid as it is.
    w.chkAreaCode->setChecked(true);
    w.txtareacode->setText("617");
    w.chkPrefix->setChecked(false);
    QTest::mouseClick(w.cmdFilter, Qt::LeftButton);
    EXPECT_EQ(w.MSFlexGrid1->dataRows(), 2);
    w.chkAreaCode->setChecked(false);
    EXPECT_EQ(w.txtareacode->text(), "");
    EXPECT_FALSE(w.txtareacode->isEnabled());
    EXPECT_EQ(w.MSFlexGrid1->dataRows(), 2);
    // The filter boxes take numbers only.
    w.chkPrefix->setChecked(true);
    w.txtprefix->setFocus();
    QTest::keyClicks(w.txtprefix, "5x5");
    EXPECT_EQ(w.txtprefix->text(), "55");
}

TEST_F(AreaCodeTest, AHeaderClickSortsAndMarksAndAReloadClearsTheMarker) {
    frmac w;
    const auto click = [&](int col) {
        emit w.MSFlexGrid1->horizontalHeader()->sectionClicked(col);
    };
    click(2);
    EXPECT_EQ(w.MSFlexGrid1->headerText(2), "> Prefix");
    EXPECT_EQ(column(w.MSFlexGrid1, 2), (QStringList{"", "555", "555", "555", "555", "556"}));
    click(2);
    EXPECT_EQ(w.MSFlexGrid1->headerText(2), "< Prefix");
    EXPECT_EQ(column(w.MSFlexGrid1, 2).first(), "556");
    click(3);
    EXPECT_EQ(w.MSFlexGrid1->headerText(3), "> Location");
    EXPECT_EQ(w.MSFlexGrid1->headerText(2), "Prefix");
    EXPECT_EQ(column(w.MSFlexGrid1, 3).first(), "Boston MA");
    w.cmdFilter_Click();
    EXPECT_EQ(w.MSFlexGrid1->headerText(3), "Location");
    click(3);
    EXPECT_EQ(w.MSFlexGrid1->headerText(3), "> Location");
}

TEST_F(AreaCodeTest, ADoubleClickHandsTheRowAndItsRateRowsToTheModifyForm) {
    frmac w;
    QStringList opened;
    setWindowOpenHook([&](const QString& name) { opened << name; });
    // The header row opens nothing.
    w.MSFlexGrid1_DblClick(0);
    EXPECT_TRUE(opened.isEmpty());

    struct Case {
        int row;
        int rateRow;  // grid rows of MSFlexGrid2 and MSFlexGrid3; 0 for none
        int calcRow;
    };
    const Case cases[] = {{1, 1, 1}, {2, 2, 3}, {3, 3, 2}, {4, 0, 0}, {5, 0, 0}};
    for (const Case& c : cases) {
        w.MSFlexGrid1_DblClick(c.row);
        EXPECT_EQ(G().g_SelectedRow, c.row);
        EXPECT_EQ(w.MSFlexGrid2->currentRow(), c.rateRow) << c.row;
        EXPECT_EQ(w.MSFlexGrid3->currentRow(), c.calcRow) << c.row;
    }
    EXPECT_EQ(opened.size(), 5);
    EXPECT_EQ(opened.first(), "frmeditAC");
    EXPECT_TRUE(w.tmrShowMe->isActive());
}

TEST_F(AreaCodeTest, AfterTheModifyFormTheGridReloadsWithTheFilter) {
    frmac w;
    w.chkAreaCode->setChecked(true);
    w.txtareacode->setText("617");
    w.cmdFilter_Click();
    // The form's closing pulled a table in which Boston has another name.
    setWindowOpenHook([&](const QString&) {
        home.write("North/Bats/ld.csv", "1,617,555,Boston Back Bay,1,252\r\n9,201,555,X,1,250\r\n");
    });
    w.MSFlexGrid1_DblClick(1);
    EXPECT_EQ(column(w.MSFlexGrid1, 3), QStringList{"Boston Back Bay"});
}

// ---- the modify form ----------------------------------------------------------------------

class ModifyTest : public AreaCodeTest {
protected:
    ModifyTest() {
        home.write("North/Bats/rate.csv", kRate);
        home.write("North/Bats/calc.csv", kCalc);
    }
    const QStringList kLocal{"2", "617", "556", "Cambridge MA", "250", "Local"};
};

TEST_F(ModifyTest, TheFormHoldsTheRowAndAPickOnlyListOfTheClasses) {
    frmeditAC f(kLocal);
    EXPECT_EQ(f.windowTitle(), "Modify Area Codes");
    EXPECT_EQ(f.cmdsave->text(), "Save ");
    EXPECT_EQ(control<QPushButton>(f, "Cmdclose"), f.cmdcancel);
    EXPECT_EQ(f.cmdcancel->text(), "Cancel");
    EXPECT_EQ(f.txtareacode->text(), "617");
    EXPECT_FALSE(f.txtareacode->isEnabled());
    EXPECT_FALSE(f.txtprefix->isEnabled());
    EXPECT_EQ(f.txtname->text(), "Cambridge MA");
    EXPECT_EQ(f.txtrateold->text(), "250");
    EXPECT_TRUE(f.txtrateold->isHidden());
    EXPECT_FALSE(f.cborate->isEditable());
    EXPECT_EQ(f.cborate->currentText(), "Local");
    EXPECT_EQ(f.cborate->count(), 8);
    EXPECT_EQ(f.cborate->findText("911"), -1);
    // The hidden boxes hold the rate row 250 and its calc row 7.
    EXPECT_EQ(f.rateBoxes[0]->text(), "0.05");
    EXPECT_EQ(f.calcBoxes[2]->text(), "5");
    f.cborate->setCurrentIndex(f.cborate->findText("Intrastate"));
    EXPECT_EQ(f.rateBoxes[0]->text(), "0.12");
    EXPECT_EQ(f.calcBoxes[2]->text(), "6.25");
    f.cborate->setCurrentIndex(f.cborate->findText("900 Calls"));
    EXPECT_EQ(f.rateBoxes[0]->text(), "");
}

struct ModifyCase {
    const char* name;
    QStringList row;
    std::function<void(frmeditAC&)> change;
    QString record;
};
void PrintTo(const ModifyCase& c, std::ostream* os) {
    *os << c.name;
}
class ModifyRecords : public ModifyTest, public ::testing::WithParamInterface<ModifyCase> {};

TEST_P(ModifyRecords, SaveSendsTheRowAsLoadedAndAsChanged) {
    const ModifyCase& c = GetParam();
    frmeditAC f(c.row);
    c.change(f);
    f.cmdsave_Click();
    EXPECT_TRUE(prompter.messages().isEmpty()) << prompter.messages().join('|').toStdString();
    ASSERT_EQ(f.state(), State::Waiting);
    const QString todo = f.exchange().requestName();
    const QString line = "echo " + shellQuote(c.record) + " > ." + todo + ".tmp";
    EXPECT_EQ(server.linesOf(0).value(1).toStdString(), withExitStatus(line).toStdString());
    // The request file holds the record byte for byte, and nothing in it ran.
    QStringList files;
    EXPECT_EQ(testsupport::runLocally(requestLines({c.record}, todo), todo, &files),
              QStringList{c.record});
    EXPECT_FALSE(files.contains("canary"));
}

const auto kPick = [](const char* text) {
    return [text](frmeditAC& f) { f.cborate->setCurrentIndex(f.cborate->findText(text)); };
};

INSTANTIATE_TEST_SUITE_P(
    AreaCodes, ModifyRecords,
    ::testing::Values(
        ModifyCase{"LdInformationChosen",
                   {"2", "617", "556", "Cambridge MA", "250", "Local"},
                   kPick("LD Information"),
                   "1,mod,ld,617,556,Cambridge MA,1,250,617,556,Cambridge MA,1,247"},
        ModifyCase{"OnlyTheNameChanged",
                   {"2", "617", "556", "Cambridge MA", "250", "Local"},
                   [](frmeditAC& f) { f.txtname->setText("Cambridge  'Kendall'"); },
                   "1,mod,ld,617,556,Cambridge MA,1,250,617,556,Cambridge  'Kendall',1,250"},
        ModifyCase{"AnInternationalRowKeepsItsOwnRate",
                   {"5", "011", "44", "United Kingdom", "223.9", "International"},
                   [](frmeditAC& f) { f.txtname->setText("UK"); },
                   "1,mod,ld,011,44,United Kingdom,1,223.9,011,44,UK,1,223.9"},
        ModifyCase{"AnInternationalRowMovedToAClass",
                   {"5", "011", "44", "United Kingdom", "100", "International"},
                   kPick("Toll Free"),
                   "1,mod,ld,011,44,United Kingdom,1,100,011,44,United Kingdom,1,240"},
        ModifyCase{"AShellWordInTheNameIsOnlyText",
                   {"1", "617", "555", "Boston MA", "252", "Intrastate"},
                   [](frmeditAC& f) { f.txtname->setText("$(touch canary); `id` | x &"); },
                   "1,mod,ld,617,555,Boston MA,1,252,617,555,$(touch canary); `id` | x &,1,252"}));

struct CheckCase {
    const char* name;
    QStringList row;
    std::function<void(frmeditAC&)> change;
    QString message;
};
void PrintTo(const CheckCase& c, std::ostream* os) {
    *os << c.name;
}
class ModifyChecks : public ModifyTest, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(ModifyChecks, TheFirstFailingCheckIsToldAndNothingIsSent) {
    const CheckCase& c = GetParam();
    frmeditAC f(c.row);
    c.change(f);
    prompter.ok();
    f.cmdsave_Click();
    EXPECT_EQ(prompter.messages(), QStringList{c.message});
    EXPECT_TRUE(server.shellRequests().empty());
    EXPECT_EQ(f.state(), State::Idle);
    EXPECT_FALSE(f.cmdsave->isHidden());
}

const QString kNameChars =
    "may not hold a comma, a double quote, a backslash or a control character.";
const QStringList kBoston{"1", "617", "555", "Boston MA", "252", "Intrastate"};
INSTANTIATE_TEST_SUITE_P(
    AreaCodes, ModifyChecks,
    ::testing::Values(
        CheckCase{"NoAreaCodeComesFirst",
                  {"5", "", "", "", "224", ""},
                  [](frmeditAC&) {},
                  "You must enter a areacode"},
        CheckCase{"NoPrefix",
                  {"6", "508", "", "Worcester", "240", "Toll Free"},
                  [](frmeditAC&) {},
                  "You must enter a prefix"},
        CheckCase{"NameEmptied", kBoston, [](frmeditAC& f) { f.txtname->clear(); },
                  "You must enter a Name"},
        CheckCase{"ARowWithoutClassMustChooseOne",
                  {"6", "508", "555", "Worcester", "224", ""},
                  [](frmeditAC&) {},
                  "You must select a rate"},
        CheckCase{"CommaInTheName", kBoston, [](frmeditAC& f) { f.txtname->setText("Boston, MA"); },
                  "The Name " + kNameChars},
        CheckCase{"QuoteInTheName", kBoston,
                  [](frmeditAC& f) { f.txtname->setText("Boston \"MA\""); },
                  "The Name " + kNameChars},
        CheckCase{"BackslashInTheName", kBoston,
                  [](frmeditAC& f) { f.txtname->setText("Boston\\MA"); }, "The Name " + kNameChars},
        CheckCase{"TabInTheName", kBoston, [](frmeditAC& f) { f.txtname->setText("Boston\tMA"); },
                  "The Name " + kNameChars},
        CheckCase{"AStoredNameWithAComma",
                  {"1", "617", "555", "Boston, MA", "252", "Intrastate"},
                  [](frmeditAC& f) { f.txtname->setText("Boston"); },
                  "The stored name " + kNameChars}));

TEST_F(ModifyTest, AnAcceptedAnswerSaysDataModifiedSendsTheLdReloadAndPullsOnce) {
    frmeditAC f(kLocal);
    f.show();
    f.cborate->setCurrentIndex(f.cborate->findText("Local Information"));
    f.cmdsave_Click();
    EXPECT_TRUE(f.cmdsave->isHidden());
    EXPECT_FALSE(f.cmdcancel->isVisible());
    EXPECT_FALSE(f.txtname->isEnabled());
    EXPECT_FALSE(f.lblrunning->isHidden());
    answer(f, "1,Record modify OK\n");
    prompter.ok();
    f.tmrcheckdone_Timer();
    EXPECT_EQ(prompter.messages(), QStringList{"Data Modified"});
    EXPECT_EQ(server.linesOf(0).mid(5).join('\n').toStdString(),
              QStringList({withExitStatus("./do_csv.sh"), "echo \">>reload_LD"})
                  .join('\n')
                  .toStdString());
    EXPECT_FALSE(f.isVisible());
    // The pull after the answer; closing pulls nothing more.
    EXPECT_EQ(tableFetches(), 13);
}

TEST_F(ModifyTest, CancelSendsNothing) {
    frmeditAC f(kLocal);
    f.show();
    QTest::mouseClick(f.cmdcancel, Qt::LeftButton);
    EXPECT_FALSE(f.isVisible());
    EXPECT_TRUE(server.shellRequests().empty());
    EXPECT_EQ(tableFetches(), 0);
}

// ---- the add form -------------------------------------------------------------------------

TEST_F(AreaCodeTest, TheAddFormOffersTheSystemsNineRatesAndTakesDigitsOnly) {
    frmaddac f;
    EXPECT_EQ(f.windowTitle(), "Add Area Codes");
    EXPECT_EQ(f.cborate->count(), 9);
    EXPECT_EQ(f.cborate->currentText(), "");
    EXPECT_TRUE(f.cborate->isEditable());
    for (QLineEdit* b : {f.txtareacode, f.txtprefix}) {
        b->setFocus();
        QTest::keyClicks(b, "a6-1.7e");
        EXPECT_EQ(b->text(), "617") << b->objectName().toStdString();
    }
    f.txtname->setFocus();
    QTest::keyClicks(f.txtname, QString(30, 'x'));
    EXPECT_EQ(f.txtname->text().size(), 25);
}

struct AddCase {
    const char* name;
    std::function<void(frmaddac&)> fill;
    QString record;  // empty: refused with `message`
    QString message;
};
void PrintTo(const AddCase& c, std::ostream* os) {
    *os << c.name;
}
class AddRecords : public AreaCodeTest, public ::testing::WithParamInterface<AddCase> {};

std::function<void(frmaddac&)> added(const char* name, const char* area, const char* prefix,
                                     std::function<void(QComboBox*)> rate) {
    return [=](frmaddac& f) {
        f.txtname->setText(name);
        f.txtareacode->setText(area);
        f.txtprefix->setText(prefix);
        rate(f.cborate);
    };
}
std::function<void(QComboBox*)> chosen(QStringList texts) {
    return [texts](QComboBox* c) {
        for (const QString& t : texts) c->setCurrentIndex(c->findText(t));
    };
}
std::function<void(QComboBox*)> typed(const char* text) {
    return [text](QComboBox* c) { c->setEditText(text); };
}

TEST_P(AddRecords, SaveSendsTheRecordOrTellsWhyNot) {
    const AddCase& c = GetParam();
    frmaddac f;
    c.fill(f);
    if (c.record.isEmpty()) {
        prompter.ok();
        f.cmdsave_Click();
        EXPECT_EQ(prompter.messages(), QStringList{c.message});
        EXPECT_TRUE(server.shellRequests().empty());
        EXPECT_EQ(f.state(), State::Idle);
        return;
    }
    f.cmdsave_Click();
    EXPECT_TRUE(prompter.messages().isEmpty()) << prompter.messages().join('|').toStdString();
    ASSERT_EQ(f.state(), State::Waiting);
    const QString todo = f.exchange().requestName();
    const QString line = "echo " + shellQuote(c.record) + " > ." + todo + ".tmp";
    EXPECT_EQ(server.linesOf(0).value(1).toStdString(), withExitStatus(line).toStdString());
    // The request file holds the record byte for byte, and nothing in it ran.
    QStringList files;
    EXPECT_EQ(testsupport::runLocally(requestLines({c.record}, todo), todo, &files),
              QStringList{c.record});
    EXPECT_FALSE(files.contains("canary"));
    for (QWidget* w :
         std::initializer_list<QWidget*>{f.txtname, f.txtareacode, f.txtprefix, f.cborate})
        EXPECT_FALSE(w->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    AreaCodes, AddRecords,
    ::testing::Values(
        AddCase{"Local", added("Back Bay", "617", "555", chosen({"Local"})),
                "1,add,ld,617,555,Back Bay,1,250"},
        AddCase{"NineOneOne", added("Emergency", "617", "911", chosen({"911"})),
                "1,add,ld,617,911,Emergency,1, 240"},
        AddCase{"TheLastChoiceCounts",
                added("Info", "617", "411", chosen({"Local", "LD Information"})),
                "1,add,ld,617,411,Info,1, 247"},
        AddCase{"BlankRunsCollapse", added(" Back   Bay  ", "617", "555", chosen({"Toll Free"})),
                "1,add,ld,617,555, Back Bay ,1,240"},
        AddCase{"ATypedEntryNameIsThatEntry", added("Pay", "900", "555", typed("900 Calls")),
                "1,add,ld,900,555,Pay,1, 248"},
        AddCase{"ShellWordsAreOnlyText",
                added("$(touch canary)'x';`y`", "617", "555", chosen({"Local"})),
                "1,add,ld,617,555,$(touch canary)'x';`y`,1,250"},
        AddCase{"AllEmptyAsksForTheNameFirst", added("", "", "", typed("")), "",
                "You must enter a Name"},
        AddCase{"NoAreaCode", added("A", "", "555", chosen({"Local"})), "",
                "You must enter a Area Code"},
        AddCase{"NoPrefix", added("A", "617", "", chosen({"Local"})), "",
                "You must enter a Prefix"},
        AddCase{"NoRate", added("A", "617", "555", typed("")), "", "You must Choose pricing"},
        AddCase{"ATypedRateOfNoEntry", added("A", "617", "555", typed("250")), "",
                "\"250\" is not a rate of the list: choose the rate from the list."},
        AddCase{"CommaInTheName", added("A, B", "617", "555", chosen({"Local"})), "",
                "The Name " + kNameChars}));

TEST_F(AreaCodeTest, AnAddedAreaCodeIsToldSendsTheLdReloadAndPullsOnce) {
    frmaddac f;
    f.show();
    added("Back Bay", "617", "557", chosen({"Local"}))(f);
    f.cmdsave_Click();
    EXPECT_FALSE(f.cmdcancel->isVisible());
    answer(f, "1,Record added OK\n");
    prompter.ok();
    f.tmrcheckdone_Timer();
    EXPECT_EQ(prompter.messages(), QStringList{"Areacode added OK"});
    EXPECT_TRUE(server.linesOf(0).endsWith("echo \">>reload_LD"));
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(tableFetches(), 13);
}

TEST_F(AreaCodeTest, ARefusedAddIsShownAndTheTablesAreStillRewritten) {
    frmaddac f;
    f.show();
    added("Back Bay", "617", "555", chosen({"Local"}))(f);
    f.cmdsave_Click();
    answer(f, "1,Record already exists\n");
    prompter.ok();
    f.tmrcheckdone_Timer();
    EXPECT_EQ(prompter.messages(), QStringList{"1,Record already exists\r\nRefeshing Data"});
    EXPECT_TRUE(server.linesOf(0).endsWith(withExitStatus("./do_csv.sh")));
    EXPECT_EQ(tableFetches(), 13);
    EXPECT_FALSE(f.isVisible());
}

}  // namespace
