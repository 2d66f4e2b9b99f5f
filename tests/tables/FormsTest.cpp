// The eight add and modify forms without a server: their fields, the records they send, their
// checks in order, the exact-key preselection, and the change frame around them (what Save,
// the answer, Cancel and closing do) through the fake server.
#include "prices/PriceModifyForm.h"
#include "rates/frmaddac.h"
#include "rates/frmeditAC.h"
#include "tables/DepartmentForms.h"
#include "tables/DivisionForms.h"
#include "tables/ExtensionForms.h"
#include "tables/LineForms.h"
#include "utilities/fdeletecalls.h"

#include "TablesTestSupport.h"
#include "changes/ChangeRequest.h"
#include "remote/CheckedLines.h"
#include "support/ChangeForms.h"
#include "support/Controls.h"
#include "support/FakeServer.h"
#include "support/FakeSite.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"
#include "support/Wait.h"
#include "common/ProgramClock.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <utility>
#include <QTimer>

#include <functional>
#include <memory>
#include <ostream>

using namespace quillon;
using tablestest::items;
using tablestest::pick;
using testsupport::control;
using testsupport::FakeSite;
using State = ChangeExchange::State;

namespace {

using Opener = testsupport::FormOpener;
using testsupport::addForm;
using testsupport::box;
using testsupport::list;
using testsupport::modifyForm;

const QStringList kDivRow{"0003", "Operations"};
const QStringList kDptRow{"0100", "Front Office", "3"};
const QStringList kExtRow{"0012", "Front Desk", "100", "12.50", "0.00", "2.00", "148", ""};
const QStringList kLineRow{"0005", "12", "1"};

class FormTest : public ::testing::Test {
protected:
    void SetUp() override {
        tablestest::writeMirror(home);
        FakeSite::addServerTables(server);
    }
    // The answer the server writes for the request the form sent.
    void answer(ChangeForm& f, const QByteArray& bytes) {
        const QString done = f.exchange().answerName();
        server.on(answerPollLine(done)).reply(done + "\n");
        server.addFile(FakeSite::folder() + "/" + done, bytes);
    }
    QString missingReply(ChangeForm& f) {
        return "ls: cannot access '" + f.exchange().answerName() + "': No such file or directory\n";
    }
    // Fetches of table files (a pull fetches 13).
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

// ---- fields ---------------------------------------------------------------------------------

TEST_F(FormTest, TheDivisionFormsHoldTheNumberAndTheName) {
    fAddDiv a;
    EXPECT_EQ(a.windowTitle(), "Add Division ");
    EXPECT_TRUE(a.txtdivnumber->isEnabled());
    EXPECT_TRUE(a.txtDivName->text().isEmpty());
    fEditDiv e(kDivRow);
    EXPECT_EQ(e.windowTitle(), "Modify Division");
    EXPECT_FALSE(e.txtdivnumber->isEnabled());
    EXPECT_EQ(e.txtdivnumber->text(), "0003");
    EXPECT_EQ(e.txtDivName->text(), "Operations");
    EXPECT_EQ(e.txtdivnumberold->text(), "0003");
    EXPECT_EQ(e.txtDivNameold->text(), "Operations");
    EXPECT_TRUE(e.txtDivNameold->isHidden());
}

// Every form's running label waits hidden with its words in red.
TEST_F(FormTest, TheRunningLabelIsSavingDataInRed) {
    for (const Opener& open :
         {addForm<fAddDiv>(), modifyForm<fEditDiv>(kDivRow), addForm<fAddDpt>(),
          modifyForm<feditdpt>(kDptRow), addForm<fAddext>(), modifyForm<feditext>(kExtRow),
          addForm<FAddLine>(), modifyForm<feditline>(kLineRow)}) {
        const auto f = open();
        const QLabel* label = f->lblrunning;
        EXPECT_EQ(label->text(), "Saving Data") << f->windowTitle().toStdString();
        EXPECT_EQ(label->palette().color(label->foregroundRole()), QColor(Qt::red))
            << f->windowTitle().toStdString();
        EXPECT_TRUE(label->isHidden());
    }
}

TEST_F(FormTest, PickListsShowTheMirrorInFileOrderWithTheirKeys) {
    fAddDpt d;
    EXPECT_EQ(d.windowTitle(), "Add Department");
    EXPECT_EQ(items(d.cboDivision),
              (QStringList{"12345 Big Division", "0003 Operations", "1234 Twelve"}));
    EXPECT_EQ(items(d.cboDivisionhidden), (QStringList{"12345", "0003", "1234"}));
    EXPECT_EQ(d.cboDivision->currentIndex(), -1);
    EXPECT_TRUE(d.cboDivisionhidden->isHidden());
    EXPECT_FALSE(d.cboDivision->isEditable());
    pick(d.cboDivision, "1234 Twelve");
    EXPECT_EQ(d.cboDivisionhidden->currentText(), "1234");

    FAddLine l;
    EXPECT_EQ(items(l.cboext), (QStringList{"0012 Front Desk", "12345 Suite", "1234 Lobby"}));
    EXPECT_EQ(items(l.cbolt), (QStringList{"0001 Administrative", "0003 Guest Room"}));
    fAddext x;
    EXPECT_EQ(items(x.cboDepartmenthidden), (QStringList{"0100", "10000", "1000"}));
    for (QLineEdit* amount : {x.txtequipment, x.txtcredit, x.txtoverhead, x.txttotal, x.txtother})
        EXPECT_EQ(amount->text(), "0");
}

TEST_F(FormTest, AMissingTableLeavesItsListEmptyAndIsTold) {
    QFile::remove(home.file("North/Bats/div.csv"));
    prompter.ok();
    fAddDpt d;
    EXPECT_EQ(d.cboDivision->count(), 0);
    EXPECT_EQ(prompter.messages(),
              QStringList{"The table div.csv is not on this computer. Choose the site again to "
                          "fetch its tables."});
}

// Exact keys: 1234 is never taken for 12345 (listed first), 1000 never for 10000.
TEST_F(FormTest, ModifyFormsPreselectTheRowsOwnKey) {
    feditdpt d1({"0100", "Front Office", "1234"});
    EXPECT_EQ(d1.cboDivision->currentText(), "1234 Twelve");
    EXPECT_EQ(d1.cboDivisionhidden->currentText(), "1234");
    feditdpt d2({"0100", "Front Office", "12345"});
    EXPECT_EQ(d2.cboDivision->currentText(), "12345 Big Division");
    feditdpt d3({"0100", "Front Office", "3"});
    EXPECT_EQ(d3.cboDivision->currentText(), "0003 Operations");
    feditext x({"0012", "Front Desk", "1000", "1", "0", "0", "0", "0"});
    EXPECT_EQ(x.cboDepartment->currentText(), "1000 Thousand");
    feditline l({"0006", "1234", "3"});
    EXPECT_EQ(l.cboext->currentText(), "1234 Lobby");
    EXPECT_EQ(l.cbolt1->currentText(), "0003 Guest Room");
    // A key the table does not hold chooses nothing.
    feditline missing({"0006", "99", "1"});
    EXPECT_EQ(missing.cboext->currentIndex(), -1);
    EXPECT_EQ(missing.cbolt1->currentText(), "0001 Administrative");
}

TEST_F(FormTest, NumberBoxesKeepTheLongestNumberAndNamesTwentyFiveTypedCharacters) {
    fAddext x;
    QTest::keyClicks(x.txtextnumber, "12a");
    EXPECT_EQ(x.txtextnumber->text(), "12");
    x.txtequipment->setText("1,000");
    EXPECT_EQ(x.txtequipment->text(), "1");
    x.txtcredit->setText("-");
    EXPECT_EQ(x.txtcredit->text(), "");
    QTest::keyClicks(x.txtextname, QString(30, QLatin1Char('n')));
    EXPECT_EQ(x.txtextname->text(), QString(25, QLatin1Char('n')));

    // A longer stored name stays whole and is sent whole.
    QStringList row = kExtRow;
    row[1] = QString(30, QLatin1Char('L'));
    row[7] = "0";
    feditext e(row);
    EXPECT_EQ(e.txtextname->text(), row[1]);
    QTest::keyClick(e.txtextname, Qt::Key_End);
    QTest::keyClick(e.txtextname, Qt::Key_M);
    EXPECT_EQ(e.txtextname->text(), row[1]);
    EXPECT_TRUE(e.recordsNow().first().contains(",\"" + row[1] + "\","));
}

// A stored amount the user does not touch goes into the new half as stored, as it stands in the
// old half: the number filter and the amount check are for what the user changes.
TEST_F(FormTest, AnUntouchedStoredAmountIsSentAsStored) {
    for (const char* spelling : {"5.00-", "1,000.00", "12.5000", ".15"}) {
        SCOPED_TRACE(spelling);
        const QString stored = QString::fromLatin1(spelling);
        QStringList row = kExtRow;
        row[3] = stored;
        row[7] = "0";
        feditext f(row);
        EXPECT_EQ(f.txtequipment->text(), stored);
        f.cmdsave_Click();
        EXPECT_TRUE(prompter.messages().isEmpty()) << prompter.messages().join('|').toStdString();
        EXPECT_EQ(f.recordsNow(), QStringList{"1,mod,ext,0012,\"Front Desk\",100," + stored +
                                              ",0.00,2.00,148,0,0012,\"Front Desk\",0100," +
                                              stored + ",0.00,2.00,148,0  "});
        ASSERT_EQ(f.state(), State::Waiting);
        f.exchange().cancel();
    }
    // Changed by the user, the box passes the filter again.
    feditext f(kExtRow);
    f.txtequipment->clear();
    QTest::keyClicks(f.txtequipment, "1,000x");
    EXPECT_EQ(f.txtequipment->text(), "1000");
}

// Shown and active, every change form has the focus on its first field that takes input, as the
// tab order gives it; Save and Cancel come after the fields.
struct FocusCase {
    const char* name;
    Opener open;
    const char* first;
};
void PrintTo(const FocusCase& c, std::ostream* os) {
    *os << c.name;
}

class FirstFocus : public FormTest, public ::testing::WithParamInterface<FocusCase> {};

TEST_P(FirstFocus, TheFormOpensOnItsFirstField) {
    const auto f = GetParam().open();
    f->show();
    f->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(f.get()));
    QWidget* first = control<QWidget>(f.get(), GetParam().first);
    QWidget* focused = QApplication::focusWidget();
    EXPECT_TRUE(focused == first || (focused && first->isAncestorOf(focused)))
        << (focused ? focused->objectName().toStdString() : "nothing");
    // Tab from the last field reaches Save before Cancel.
    QWidget* w = focused;
    for (int i = 0; i < 1000 && w && w != f->cmdsave && w != f->cmdcancel; ++i)
        w = w->nextInFocusChain();
    EXPECT_EQ(w, f->cmdsave);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, FirstFocus,
    ::testing::Values(
        FocusCase{"AddDivision", addForm<fAddDiv>(), "txtdivnumber"},
        FocusCase{"ModifyDivision", modifyForm<fEditDiv>(kDivRow), "txtDivName"},
        FocusCase{"AddExtension", addForm<fAddext>(), "txtextnumber"},
        FocusCase{"ModifyExtension", modifyForm<feditext>(kExtRow), "txtextname"},
        FocusCase{"AddLine", addForm<FAddLine>(), "txtlinenumber"},
        FocusCase{"AddAreaCode", addForm<frmaddac>(), "txtname"},
        FocusCase{"ModifyAreaCode", modifyForm<frmeditAC>({"1", "617", "555", "Boston", "2"}),
                  "txtname"},
        FocusCase{"DomesticPrice",
                  [] { return std::make_unique<frmdomesticpricingmodify>(PriceLine{}); },
                  "txtoait"},
        FocusCase{"DeleteCalls", addForm<fdeletecalls>(), "startdate"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- records ---------------------------------------------------------------------------------

struct RecordCase {
    const char* name;
    Opener open;
    std::function<void(ChangeForm&)> fill;
    QString record;
};
void PrintTo(const RecordCase& c, std::ostream* os) {
    *os << c.name;
}

class Records : public FormTest, public ::testing::WithParamInterface<RecordCase> {};

TEST_P(Records, SaveWritesTheRecordAsTheFileMustHoldIt) {
    const RecordCase& c = GetParam();
    const auto f = c.open();
    c.fill(*f);
    EXPECT_EQ(f->recordsNow(), QStringList{c.record});
    f->cmdsave_Click();
    EXPECT_TRUE(prompter.messages().isEmpty()) << prompter.messages().join('|').toStdString();
    ASSERT_EQ(f->state(), State::Waiting);
    const QString todo = f->exchange().requestName();
    EXPECT_EQ(server.linesOf(0).value(1).toStdString(),
              withExitStatus("echo '" + c.record + "' > ." + todo + ".tmp").toStdString());
}

const RecordCase kRecordCases[] = {
    RecordCase{"AddDivision", addForm<fAddDiv>(),
               [](ChangeForm& f) {
                   box(f, "txtdivnumber")->setText("7");
                   box(f, "txtDivName")->setText("Sales  Team ");
               },
               "1,add,div,7,Sales  Team "},
    RecordCase{"ModifyDivision", modifyForm<fEditDiv>(kDivRow),
               [](ChangeForm& f) { box(f, "txtDivName")->setText("Ops  North"); },
               "1,mod,div,0003,\"Operations\",0003,\"Ops  North\""},
    RecordCase{"AddDepartment", addForm<fAddDpt>(),
               [](ChangeForm& f) {
                   box(f, "txtdptnumber")->setText("120");
                   box(f, "txtdptname")->setText("Sales");
                   pick(list(f, "cboDivision"), "0003 Operations");
               },
               "1,add,dpt,120,Sales,0003"},
    // Unchanged but for the name: the old division as the mirror holds it, the new one as
    // the key, and the one trailing blank.
    RecordCase{"ModifyDepartment", modifyForm<feditdpt>({"0003", "Old", "3"}),
               [](ChangeForm& f) { box(f, "txtdptname")->setText("New"); },
               "1,mod,dpt,0003,\"Old\",3,0003,\"New\",0003 "},
    RecordCase{"AddExtension", addForm<fAddext>(),
               [](ChangeForm& f) {
                   box(f, "txtextnumber")->setText("1060");
                   box(f, "txtextname")->setText("Gift Shop");
                   pick(list(f, "cboDepartment"), "0100 Front Office");
                   box(f, "txtequipment")->setText("5.00");
               },
               "1,add,ext,1060,Gift Shop,0100,5.00,0,0,0,0"},
    RecordCase{"ModifyExtension", modifyForm<feditext>(kExtRow),
               [](ChangeForm& f) {
                   box(f, "txtextname")->setText("Front  Desk");
                   box(f, "txtother")->setText("0");
               },
               "1,mod,ext,0012,\"Front Desk\",100,12.50,0.00,2.00,148,,0012,\"Front  Desk\","
               "0100,12.50,0.00,2.00,148,0  "},
    RecordCase{"AddLine", addForm<FAddLine>(),
               [](ChangeForm& f) {
                   box(f, "txtlinenumber")->setText("8");
                   pick(list(f, "cboext"), "0012 Front Desk");
                   pick(list(f, "cbolt"), "0001 Administrative");
               },
               "1,add,line,8,0012,0001"},
    RecordCase{"ModifyLineUnchanged", modifyForm<feditline>(kLineRow), [](ChangeForm&) {},
               "1,mod,line,0005,12,1,0005,0012,0001"}};

INSTANTIATE_TEST_SUITE_P(Forms, Records, ::testing::ValuesIn(kRecordCases));

// What each member of the frame says and sends after an accepted answer: its caption, its
// success text, the reload line with its one open quote (18 characters for DIV, DPT and EXT, 19
// for LINE) and whether closing pulls the tables once more.
struct MemberCase {
    const char* name;
    const char* caption;
    const char* accepted;
    const char* success;
    const char* reloadLine;
    int tableFetches;  // the pull after the answer, and the one of closing where there is one
};
void PrintTo(const MemberCase& c, std::ostream* os) {
    *os << c.name;
}

class Members : public FormTest, public ::testing::WithParamInterface<MemberCase> {};

TEST_P(Members, AnAcceptedAnswerIsToldAndTheTableReloaded) {
    const MemberCase& m = GetParam();
    const RecordCase* form = nullptr;
    for (const RecordCase& r : kRecordCases)
        if (QLatin1String(r.name) == QLatin1String(m.name)) form = &r;
    ASSERT_NE(form, nullptr);
    const auto f = form->open();
    EXPECT_EQ(f->windowTitle(), m.caption);
    form->fill(*f);
    f->show();
    f->cmdsave_Click();
    ASSERT_EQ(f->state(), State::Waiting);
    answer(*f, QByteArray(m.accepted) + "\n");
    prompter.ok();
    f->tmrcheckdone_Timer();
    EXPECT_EQ(prompter.messages(), QStringList{m.success});
    const QStringList lines = server.linesOf(0);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.last(), m.reloadLine);
    EXPECT_EQ(lines.value(lines.size() - 2), withExitStatus("./do_csv.sh"));
    EXPECT_EQ(tableFetches(), m.tableFetches);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, Members,
    ::testing::Values(
        MemberCase{"AddDivision", "Add Division ", "1,Record added OK", "Div added OK",
                   "echo \">>reload_DIV", 13},
        MemberCase{"ModifyDivision", "Modify Division", "1,Record modify OK", "Div Modified OK",
                   "echo \">>reload_DIV", 26},
        MemberCase{"AddDepartment", "Add Department", "1,Record added OK", "DPT added OK",
                   "echo \">>reload_DPT", 26},
        MemberCase{"ModifyDepartment", "Modify Department", "1,Record modify OK",
                   "DPT Modified OK", "echo \">>reload_DPT", 26},
        MemberCase{"AddExtension", "Add Extension", "1,Record added OK", "EXT added OK",
                   "echo \">>reload_EXT", 26},
        MemberCase{"ModifyExtension", "Modify Extension", "1,Record modify OK",
                   "EXT Modified OK", "echo \">>reload_EXT", 26},
        MemberCase{"AddLine", "Add Line", "1,Record added OK", "LINE added OK",
                   "echo \">>reload_LINE", 26},
        MemberCase{"ModifyLineUnchanged", "Modify Line", "1,Record modify OK",
                   "LINE Modified OK", "echo \">>reload_LINE", 26}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- checks ---------------------------------------------------------------------------------

struct CheckCase {
    const char* name;
    Opener open;
    std::function<void(ChangeForm&)> fill;
    QString message;
};
void PrintTo(const CheckCase& c, std::ostream* os) {
    *os << c.name;
}

class Checks : public FormTest, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(Checks, TheFirstFailingCheckIsToldAndNothingIsSent) {
    const CheckCase& c = GetParam();
    const auto f = c.open();
    c.fill(*f);
    prompter.ok();
    f->cmdsave_Click();
    EXPECT_EQ(prompter.messages(), QStringList{c.message});
    EXPECT_TRUE(server.shellRequests().empty());
    EXPECT_EQ(f->state(), State::Idle);
    EXPECT_FALSE(f->cmdsave->isHidden());
    EXPECT_TRUE(f->cmdsave->isEnabled());
}

const auto kNothing = [](ChangeForm&) {};
const QString kNameChars =
    "may not hold a comma, a double quote, a backslash or a control character.";

INSTANTIATE_TEST_SUITE_P(
    Forms, Checks,
    ::testing::Values(
        CheckCase{"AddDivisionEmpty", addForm<fAddDiv>(), kNothing,
                  "You must enter a Division name"},
        CheckCase{"AddDivisionWithoutNumber", addForm<fAddDiv>(),
                  [](ChangeForm& f) { box(f, "txtDivName")->setText("Sales"); },
                  "You must enter a Division number"},
        CheckCase{"AddDivisionCommaInTheName", addForm<fAddDiv>(),
                  [](ChangeForm& f) {
                      box(f, "txtdivnumber")->setText("7");
                      box(f, "txtDivName")->setText("Sales, North");
                  },
                  "The Division Name " + kNameChars},
        CheckCase{"AddDivisionDecimalNumber", addForm<fAddDiv>(),
                  [](ChangeForm& f) {
                      box(f, "txtdivnumber")->setText("7.5");
                      box(f, "txtDivName")->setText("Sales");
                  },
                  "The Division Number must be a whole number: digits only."},
        CheckCase{"ModifyDivisionNameEmptied", modifyForm<fEditDiv>(kDivRow),
                  [](ChangeForm& f) { box(f, "txtDivName")->clear(); },
                  "You must enter a Division name"},
        // Refused at its box, before anything is sent: the server's shell would refuse the
        // line unsent, after the form had counted the request as sent.
        CheckCase{"ModifyDivisionNameWithoutAWindows1252Code", modifyForm<fEditDiv>(kDivRow),
                  [](ChangeForm& f) {
                      box(f, "txtDivName")->setText(QString::fromUtf8("\u0141\u00f3d\u017a"));
                  },
                  QString::fromUtf8("The Division Name may not hold the character \"\u0141\" "
                                    "(U+0141): the server's text is Windows-1252, which has no "
                                    "code for it.")},
        CheckCase{"ModifyDivisionQuoteInTheName", modifyForm<fEditDiv>(kDivRow),
                  [](ChangeForm& f) { box(f, "txtDivName")->setText("Ops \"North\""); },
                  "The Division Name " + kNameChars},
        CheckCase{"AddDepartmentWithoutDivision", addForm<fAddDpt>(),
                  [](ChangeForm& f) {
                      box(f, "txtdptnumber")->setText("1");
                      box(f, "txtdptname")->setText("A");
                  },
                  "You must Choose a Division"},
        CheckCase{"AddDepartmentEmpty", addForm<fAddDpt>(), kNothing,
                  "You must enter a Department name"},
        CheckCase{"ModifyDepartmentDivisionNotInTheTable",
                  modifyForm<feditdpt>({"0100", "A", "99"}), kNothing,
                  "You must Choose a Division"},
        CheckCase{"ModifyDepartmentBackslash", modifyForm<feditdpt>(kDptRow),
                  [](ChangeForm& f) { box(f, "txtdptname")->setText("A\\B"); },
                  "The Department Name " + kNameChars},
        CheckCase{"AddExtensionEmpty", addForm<fAddext>(), kNothing,
                  "You must enter a name for this extension"},
        CheckCase{"AddExtensionWithoutNumber", addForm<fAddext>(),
                  [](ChangeForm& f) { box(f, "txtextname")->setText("A"); },
                  "You must enter an extension Number"},
        CheckCase{"AddExtensionWithoutDepartment", addForm<fAddext>(),
                  [](ChangeForm& f) {
                      box(f, "txtextname")->setText("A");
                      box(f, "txtextnumber")->setText("1");
                  },
                  "You must choose a Department"},
        CheckCase{"AddExtensionAnAmountCleared", addForm<fAddext>(),
                  [](ChangeForm& f) {
                      box(f, "txtextname")->setText("A");
                      box(f, "txtextnumber")->setText("1");
                      box(f, "txtother")->clear();
                  },
                  "You must enter a value in Other category"},
        CheckCase{"AddExtensionHalfANumber", addForm<fAddext>(),
                  [](ChangeForm& f) {
                      box(f, "txtextname")->setText("A");
                      box(f, "txtextnumber")->setText("1");
                      pick(list(f, "cboDepartment"), "0100 Front Office");
                      box(f, "txtequipment")->setText("5.");
                  },
                  "The Equipment Cost must be a number such as 12.50: digits, an optional sign "
                  "and \".\" before the decimals."},
        CheckCase{"ModifyExtensionOtherEmpty", modifyForm<feditext>(kExtRow), kNothing,
                  "You must enter a value in Other category"},
        CheckCase{"ModifyExtensionNumberAndNameEmpty", modifyForm<feditext>(kExtRow),
                  [](ChangeForm& f) {
                      box(f, "txtextnumber")->clear();
                      box(f, "txtextname")->clear();
                  },
                  "You must enter an extension Number"},
        CheckCase{"ModifyExtensionNameEmpty", modifyForm<feditext>(kExtRow),
                  [](ChangeForm& f) {
                      box(f, "txtother")->setText("0");
                      box(f, "txtextname")->clear();
                  },
                  "YYou must enter an extension Name"},
        CheckCase{"ModifyExtensionTotalEmpty", modifyForm<feditext>(kExtRow),
                  [](ChangeForm& f) {
                      box(f, "txtother")->setText("0");
                      box(f, "txttotal")->clear();
                  },
                  "YYou must enter a value in Total category"},
        CheckCase{"ModifyExtensionOverHeadEmpty", modifyForm<feditext>(kExtRow),
                  [](ChangeForm& f) {
                      box(f, "txtother")->setText("0");
                      box(f, "txtoverhead")->clear();
                  },
                  "You must enter a value in OverHead category"},
        CheckCase{"ModifyExtensionEquipmentEmpty", modifyForm<feditext>(kExtRow),
                  [](ChangeForm& f) {
                      box(f, "txtother")->setText("0");
                      box(f, "txtequipment")->clear();
                  },
                  "You must enter a value in Equipment category"},
        CheckCase{"ModifyExtensionCreditEmpty", modifyForm<feditext>(kExtRow),
                  [](ChangeForm& f) {
                      box(f, "txtother")->setText("0");
                      box(f, "txtcredit")->clear();
                  },
                  "You must enter a value in Credit category"},
        CheckCase{"AddLineEmpty", addForm<FAddLine>(), kNothing, "You must enter a Line number"},
        CheckCase{"AddLineWithoutExtension", addForm<FAddLine>(),
                  [](ChangeForm& f) { box(f, "txtlinenumber")->setText("8"); },
                  "You must choose an Extension"},
        CheckCase{"AddLineWithoutLineType", addForm<FAddLine>(),
                  [](ChangeForm& f) {
                      box(f, "txtlinenumber")->setText("8");
                      pick(list(f, "cboext"), "1234 Lobby");
                  },
                  "You must choose a Line Type"},
        CheckCase{"ModifyLineExtensionNotInTheTable", modifyForm<feditline>({"0005", "99", "1"}),
                  kNothing, "You must choose an Extension"}));

// ---- the frame --------------------------------------------------------------------------------

TEST_F(FormTest, SaveLocksTheFormAndAnAcceptedAnswerFinishesInOrder) {
    feditdpt f(kDptRow);
    f.show();
    EXPECT_FALSE(f.tmrreport->isActive());  // the one form whose dots wait for Save
    f.txtdptname->setText("Front Desk");
    f.cmdsave_Click();
    EXPECT_TRUE(f.cmdsave->isHidden());
    EXPECT_TRUE(f.cmdcancel->isHidden());
    EXPECT_FALSE(f.txtdptname->isEnabled());
    EXPECT_FALSE(f.cboDivision->isEnabled());
    EXPECT_FALSE(f.lblrunning->isHidden());
    EXPECT_EQ(f.lblrunning->text(), "Saving Data");
    EXPECT_FALSE(f.cmdcancelwait->isHidden());
    EXPECT_TRUE(f.tmrreport->isActive());
    EXPECT_TRUE(f.tmrcheckdone->isActive());
    f.waitpanel->dots_Timer();
    EXPECT_EQ(f.lblrunning->text(), "Saving Data.");

    server.on(answerPollLine(f.exchange().answerName())).reply(missingReply(f));
    f.tmrcheckdone_Timer();
    EXPECT_EQ(f.state(), State::Waiting);
    answer(f, "1,Record modify OK\n");
    prompter.ok();
    f.tmrcheckdone_Timer();

    EXPECT_EQ(prompter.messages(), QStringList{"DPT Modified OK"});
    EXPECT_EQ(f.lblrunning->text(), "Refreshing System information. Please wait");
    EXPECT_FALSE(f.tmrreport->isActive());
    EXPECT_FALSE(f.tmrcheckdone->isActive());
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(f.result(), QDialog::Accepted);
    const QString done = f.exchange().answerName();
    const QStringList lines = server.linesOf(0);
    EXPECT_EQ(lines.mid(4).join('\n').toStdString(),
              QStringList({"ls " + done, "ls " + done, withExitStatus("./do_csv.sh"),
                           "echo \">>reload_DPT"})
                  .join('\n')
                  .toStdString());
    EXPECT_FALSE(server.isShellOpen(0));
    // The answer, the pull after it and the pull of closing.
    EXPECT_EQ(server.fetches().front().remotePath, "/usr/varnel/" + done);
    EXPECT_EQ(tableFetches(), 26);
    EXPECT_TRUE(f.txtdptname->isEnabled());
}

TEST_F(FormTest, TheAddDivisionFormPullsNoTablesWhenItCloses) {
    fAddDiv f;
    f.show();
    f.txtdivnumber->setText("7");
    f.txtDivName->setText("Sales");
    f.cmdsave_Click();
    answer(f, "1,Record added OK\n");
    prompter.ok();
    f.tmrcheckdone_Timer();
    EXPECT_EQ(prompter.messages(), QStringList{"Div added OK"});
    EXPECT_EQ(tableFetches(), 13);
}

TEST_F(FormTest, ARefusedAnswerIsShownAndTheTablesAreStillRewrittenAndPulled) {
    fEditDiv f(kDivRow);
    f.show();
    f.cmdsave_Click();
    answer(f, "1,Record not found\n");
    prompter.ok();
    f.tmrcheckdone_Timer();
    EXPECT_EQ(prompter.messages(), QStringList{"1,Record not found\r\nRefeshing Data"});
    const QStringList lines = server.linesOf(0);
    EXPECT_EQ(lines.last(), withExitStatus("./do_csv.sh"));
    EXPECT_FALSE(lines.contains("echo \">>reload_DIV"));
    EXPECT_EQ(tableFetches(), 26);
    EXPECT_FALSE(f.isVisible());
}

TEST_F(FormTest, CancelBeforeSavingSendsNothingAndPullsAsTheFormPulls) {
    for (const bool pulls : {false, true}) {
        const std::unique_ptr<ChangeForm> f =
            pulls ? std::unique_ptr<ChangeForm>(std::make_unique<fAddDpt>())
                  : std::unique_ptr<ChangeForm>(std::make_unique<fAddDiv>());
        f->show();
        QTest::mouseClick(f->cmdcancel, Qt::LeftButton);
        EXPECT_FALSE(f->isVisible());
        EXPECT_EQ(f->result(), QDialog::Rejected);
    }
    EXPECT_TRUE(server.shellRequests().empty());
    EXPECT_EQ(tableFetches(), 13);
}

// Escape in a form at rest starts the closing table pull; Save, still shown during that pull,
// takes no click or key then, so no request goes out and the form closes as asked.
TEST_F(FormTest, SaveDuringTheClosingPullSendsNothing) {
    fEditDiv f(kDivRow);
    f.show();
    bool held = false;
    server.onFetch(FakeSite::folder() + "/ld.csv", [&] {
        if (std::exchange(held, true)) return;
        QTest::mouseClick(f.cmdsave, Qt::LeftButton);
        QTest::keyClick(f.cmdsave, Qt::Key_Space);
    });
    QTest::keyClick(&f, Qt::Key_Escape);
    EXPECT_TRUE(held);
    EXPECT_TRUE(server.shellRequests().empty());
    EXPECT_TRUE(prompter.messages().isEmpty()) << prompter.messages().join('|').toStdString();
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(tableFetches(), 13);
}

TEST_F(FormTest, ATickWhileTheRequestIsSentSendsNothing) {
    fAddDiv f;
    f.txtdivnumber->setText("7");
    f.txtDivName->setText("Sales");
    server.on(QRegularExpression("^echo ")).then([&f](const QString&) { f.tmrcheckdone_Timer(); });
    f.cmdsave_Click();
    EXPECT_EQ(f.state(), State::Waiting);
    EXPECT_EQ(server.linesOf(0).size(), 4);  // cd, the record, the stale answer, the move
}

TEST_F(FormTest, ASessionThatCannotOpenLeavesTheFormToTryAgain) {
    fAddDiv f;
    f.show();
    f.txtdivnumber->setText("7");
    f.txtDivName->setText("Sales");
    server.failOpen(kSessionUnreachable, "Could not connect to 10.0.0.7: refused");
    prompter.ok();
    f.cmdsave_Click();
    EXPECT_EQ(prompter.messages(),
              QStringList{"The request was not sent: Could not connect to 10.0.0.7: refused"});
    EXPECT_EQ(f.state(), State::Idle);
    EXPECT_FALSE(f.cmdsave->isHidden());
    EXPECT_TRUE(f.txtDivName->isEnabled());
    EXPECT_TRUE(f.lblrunning->isHidden());
    EXPECT_TRUE(f.isVisible());
    f.cmdsave_Click();
    EXPECT_EQ(f.state(), State::Waiting);
}

const QString kCancelled = cancelledWaitText(QStringLiteral("The request"));

enum class EndOfWait { CancelBetweenPolls, CancelDuringAPoll, CloseRefusedThenCancel };

class EndingTheWait : public FormTest, public ::testing::WithParamInterface<EndOfWait> {};

// The long-wait Cancel between polls and during one; closing the form while it waits is
// refused (the close box and Escape alike), and Cancel still ends the wait.
TEST_P(EndingTheWait, ClosesTheSessionTellsAndCloses) {
    feditdpt f(kDptRow);
    f.show();
    f.cmdsave_Click();
    ASSERT_EQ(f.state(), State::Waiting);
    const int pulled = tableFetches();
    prompter.ok();
    switch (GetParam()) {
        case EndOfWait::CancelBetweenPolls:
            QTest::mouseClick(f.cmdcancelwait, Qt::LeftButton);
            break;
        case EndOfWait::CancelDuringAPoll:
            server.on(answerPollLine(f.exchange().answerName()))
                .blocksUntilCancel()
                .then([&f](const QString&) {
                    QTimer::singleShot(20, &f, [&f] { f.cmdcancelwait_Click(); });
                });
            f.tmrcheckdone_Timer();
            break;
        case EndOfWait::CloseRefusedThenCancel:
            EXPECT_FALSE(f.close());
            QTest::keyClick(&f, Qt::Key_Escape);
            EXPECT_TRUE(f.isVisible());
            EXPECT_EQ(f.state(), State::Waiting);
            QTest::mouseClick(f.cmdcancelwait, Qt::LeftButton);
            break;
    }
    EXPECT_EQ(prompter.messages(), QStringList{kCancelled});
    EXPECT_FALSE(server.isShellOpen(0));
    EXPECT_FALSE(f.tmrcheckdone->isActive());
    EXPECT_FALSE(f.isVisible());
    // Closing pulls the tables; nothing runs ./do_csv.sh on a session that is gone.
    EXPECT_EQ(tableFetches(), pulled + 13);
    EXPECT_FALSE(server.linesOf(0).contains(withExitStatus("./do_csv.sh")));
}

INSTANTIATE_TEST_SUITE_P(Ways, EndingTheWait,
                         ::testing::Values(EndOfWait::CancelBetweenPolls,
                                           EndOfWait::CancelDuringAPoll,
                                           EndOfWait::CloseRefusedThenCancel));

// Cancelled while a record is written, the request is not on the server: the form is the
// user's again. Cancelled while the publishing move runs, it may be there.
TEST_F(FormTest, TheFormStaysWhileTheRequestIsSent) {
    for (const bool publishing : {false, true}) {
        SCOPED_TRACE(publishing);
        // The rule added last wins: the records go through the second time.
        if (publishing) server.on(QRegularExpression("^echo ")).reply("");
        fAddDiv f;
        f.show();
        f.txtdivnumber->setText("7");
        f.txtDivName->setText("Sales");
        bool stayed = false;
        server.on(QRegularExpression(publishing ? "^mv -f " : "^echo "))
            .blocksUntilCancel()
            .then([&](const QString&) {
                QTimer::singleShot(10, &f, [&] {
                    f.close();
                    stayed = f.isVisible();
                    f.cmdcancelwait_Click();
                });
            });
        prompter.ok();
        f.cmdsave_Click();
        EXPECT_TRUE(stayed);
        EXPECT_EQ(prompter.messages().last(),
                  publishing ? kCancelled : QStringLiteral("The request was not sent."));
        EXPECT_EQ(f.isVisible(), !publishing);
        EXPECT_EQ(f.state(), publishing ? State::Closed : State::Idle);
        EXPECT_EQ(f.cmdsave->isEnabled(), !publishing);
        f.hide();
    }
}

TEST_F(FormTest, NoAnswerWithinTheLimitIsToldAndTheTablesAreRewrittenAndPulled) {
    SettableClock clock;
    home.write("KTReports.ini", "[Sites]\r\nAnswerTimeout=1\r\n");
    fEditDiv f(kDivRow);
    f.show();
    f.cmdsave_Click();
    f.tmrcheckdone->stop();  // the test ticks
    server.on(answerPollLine(f.exchange().answerName())).reply(missingReply(f));
    f.tmrcheckdone_Timer();
    EXPECT_EQ(f.state(), State::Waiting);
    clock.advance(1100);
    prompter.ok();
    f.tmrcheckdone_Timer();
    EXPECT_EQ(prompter.messages(),
              QStringList{"The server has not answered within 1 second. The server may still "
                          "carry out the request.\r\nRefeshing Data"});
    EXPECT_EQ(server.linesOf(0).last(), withExitStatus("./do_csv.sh"));
    EXPECT_EQ(tableFetches(), 26);
    EXPECT_FALSE(f.isVisible());
}

TEST_F(FormTest, ATablePullThatFailsIsToldOnce) {
    server.failOpen(kSessionUnreachable, "refused", testsupport::FakeServer::Times::Every,
                    testsupport::FakeServer::Kind::Files);
    fEditDiv f(kDivRow);
    f.show();
    f.cmdsave_Click();
    server.on(answerPollLine(f.exchange().answerName())).reply(f.exchange().answerName());
    prompter.ok().ok();
    f.tmrcheckdone_Timer();
    // The answer could not be fetched either; both pulls fail, one message says so.
    ASSERT_EQ(prompter.messages().size(), 2);
    EXPECT_TRUE(prompter.messages()[0].endsWith("could not be fetched: refused\r\nRefeshing Data"));
    EXPECT_EQ(prompter.messages()[1],
              "The tables of this site could not all be fetched again: refused");
}

}  // namespace
