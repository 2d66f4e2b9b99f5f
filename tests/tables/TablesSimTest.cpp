// The organisation-table forms and the manager against the stand-in server: the bytes each
// form's request file receives, hostile names and amounts with a canary file, a division added
// and an extension modified through the manager, and the ends of a wait that gets no answer.
#include "support/ProgramWindows.h"
#include "tables/DepartmentForms.h"
#include "tables/DivisionForms.h"
#include "tables/ExtensionForms.h"
#include "tables/LineForms.h"
#include "tables/frmmanager.h"

#include "TablesTestSupport.h"
#include "changes/ChangeRequest.h"
#include "support/ChangeForms.h"
#include "support/ScriptedPrompter.h"
#include "support/SimServer.h"
#include "support/SimSite.h"
#include "support/TempHome.h"
#include "support/Wait.h"
#include "widgets/SortableGrid.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <ostream>

using namespace quillon;
using tablestest::pick;
using testsupport::SimServer;

namespace {

using Opener = testsupport::FormOpener;
using testsupport::addForm;
using testsupport::box;
using testsupport::list;
using testsupport::modifyForm;
using testsupport::saveAndWait;

class TablesSimTest : public testsupport::SimSiteTest {
protected:
    QStringList requests() const { return QDir(site.folder()).entryList({"*.todo"}, QDir::Files); }
    QByteArray mirror(const QString& table) const { return home.read("North/Bats/" + table); }
    // Runs `act` on the named window once the opener has shown it modally.
    static void whenShown(const QString& name, std::function<void(QWidget&)> act) {
        QTimer::singleShot(10, [name, act] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->objectName() == name && w->isVisible()) return act(*w);
            whenShown(name, act);
        });
    }

    testsupport::ScriptedPrompter prompter;
};

// ---- the request files ---------------------------------------------------------------------

struct GoldenCase {
    const char* name;
    Opener open;
    std::function<void(ChangeForm&)> fill;
    QByteArray request;
    QString success;
    QString table;
    QByteArray row;  // as the refreshed mirror then holds it
};
void PrintTo(const GoldenCase& c, std::ostream* os) {
    *os << c.name;
}

class RequestFiles : public TablesSimTest, public ::testing::WithParamInterface<GoldenCase> {};

TEST_P(RequestFiles, HoldTheRecordAndTheChangeComesBackInTheMirror) {
    const GoldenCase& c = GetParam();
    const auto f = c.open();
    c.fill(*f);
    prompter.ok();
    saveAndWait(*f);
    EXPECT_EQ(prompter.messages(), QStringList{c.success});
    ASSERT_EQ(requests().size(), 1);
    EXPECT_EQ(site.read(requests().first()), c.request);
    EXPECT_TRUE(mirror(c.table).contains("\r\n" + c.row + "\r\n") ||
                mirror(c.table).startsWith(c.row + "\r\n"))
        << mirror(c.table).constData();
}

INSTANTIATE_TEST_SUITE_P(
    Forms, RequestFiles,
    ::testing::Values(
        GoldenCase{"AddDivision", addForm<fAddDiv>(),
                   [](ChangeForm& f) {
                       box(f, "txtdivnumber")->setText("60");
                       box(f, "txtDivName")->setText("New  Division ");
                   },
                   "1,add,div,60,New  Division \n", "Div added OK", "div.csv",
                   "60,New  Division ,"},
        GoldenCase{"ModifyDivision", modifyForm<fEditDiv>({"0030", "Operations"}),
                   [](ChangeForm& f) { box(f, "txtDivName")->setText("Ops  North"); },
                   "1,mod,div,0030,\"Operations\",0030,\"Ops  North\"\n", "Div Modified OK",
                   "div.csv", "30,Ops  North,"},
        GoldenCase{"AddDepartment", addForm<fAddDpt>(),
                   [](ChangeForm& f) {
                       box(f, "txtdptnumber")->setText("180");
                       box(f, "txtdptname")->setText("Spa");
                       pick(list(f, "cboDivision"), "0050 Guests");
                   },
                   "1,add,dpt,180,Spa,0050\n", "DPT added OK", "dpt.csv", "180,Spa,50"},
        GoldenCase{"ModifyDepartment", modifyForm<feditdpt>({"0100", "Front Office", "10"}),
                   [](ChangeForm& f) { box(f, "txtdptname")->setText("Front  Office"); },
                   "1,mod,dpt,0100,\"Front Office\",10,0100,\"Front  Office\",0010 \n",
                   "DPT Modified OK", "dpt.csv", "100,Front  Office,10"},
        GoldenCase{"AddExtension", addForm<fAddext>(),
                   [](ChangeForm& f) {
                       box(f, "txtextnumber")->setText("1060");
                       box(f, "txtextname")->setText("Gift Shop");
                       pick(list(f, "cboDepartment"), "0100 Front Office");
                       box(f, "txtequipment")->setText("5.00");
                   },
                   "1,add,ext,1060,Gift Shop,0100,5.00,0,0,0,0\n", "EXT added OK", "ext.csv",
                   "1060,Gift Shop,100,5.00,0,0,0,0"},
        GoldenCase{"ModifyExtension",
                   modifyForm<feditext>({"1030", "Liam O'Brien", "120", "15.00", "0.00", "2.50",
                                         "64", ""}),
                   [](ChangeForm& f) {
                       box(f, "txtextname")->setText("Liam O'Brien Jr");
                       box(f, "txtother")->setText("0");
                   },
                   "1,mod,ext,1030,\"Liam O'Brien\",120,15.00,0.00,2.50,64,,1030,\"Liam O'Brien "
                   "Jr\",0120,15.00,0.00,2.50,64,0  \n",
                   "EXT Modified OK", "ext.csv", "1030,Liam O'Brien Jr,120,15.00,0.00,2.50,64,0"},
        GoldenCase{"AddLine", addForm<FAddLine>(),
                   [](ChangeForm& f) {
                       box(f, "txtlinenumber")->setText("8");
                       pick(list(f, "cboext"), "1031 Ana Duarte");
                       pick(list(f, "cbolt"), "0002 Executive");
                   },
                   "1,add,line,8,1031,0002\n", "LINE added OK", "line.csv", "8,1031,2"},
        GoldenCase{"ModifyLine", modifyForm<feditline>({"0001", "1001", "1"}),
                   [](ChangeForm& f) { pick(list(f, "cbolt1"), "0003 Guest Room"); },
                   "1,mod,line,0001,1001,1,0001,1001,0003\n", "LINE Modified OK", "line.csv",
                   "1,1001,3"}));

// ---- hostile text ----------------------------------------------------------------------------

struct FieldCase {
    const char* field;
    Opener open;
    std::function<void(ChangeForm&)> fill;  // everything but the name
    const char* nameBox;
    const char* label;
    QString table;
    const char* success;
};
struct HostileCase {
    FieldCase field;
    const char* name;
    bool refused;
};
void PrintTo(const HostileCase& c, std::ostream* os) {
    *os << c.field.field << " " << c.name;
}

class HostileNames : public TablesSimTest, public ::testing::WithParamInterface<HostileCase> {};

TEST_P(HostileNames, AreRefusedWithTheirMessageOrStoredByteForByte) {
    const HostileCase& c = GetParam();
    const QString name = QString::fromUtf8(c.name);
    const auto f = c.field.open();
    c.field.fill(*f);
    box(*f, c.field.nameBox)->setText(name);
    prompter.ok();
    if (c.refused) {
        f->show();
        f->cmdsave_Click();
        EXPECT_EQ(prompter.messages(),
                  QStringList{nameProblem(QString::fromLatin1(c.field.label), name)});
        EXPECT_TRUE(requests().isEmpty());
    } else {
        // The request and the server's table hold the name.
        saveAndWait(*f);
        EXPECT_EQ(prompter.messages(), QStringList{QString::fromLatin1(c.field.success)});
        const QString answer = f->exchange().answerName();
        ASSERT_EQ(requests().size(), 1);
        const QByteArray request = site.read(requests().first());
        EXPECT_TRUE(request.trimmed().split(',').contains(name.toUtf8())) << request.constData();
        EXPECT_EQ(site.read(answer), "1,Record added OK\n");
        const QByteArray stored = site.read(".tables/" + c.field.table);
        EXPECT_TRUE(stored.contains("," + name.toUtf8() + ",")) << stored.constData();
    }
    EXPECT_FALSE(site.exists("canary"));
    EXPECT_FALSE(QFile::exists(SimServer::siteDir() + "/canary"));
}

const FieldCase kDivisionName{"DivisionName",
                              addForm<fAddDiv>(),
                              [](ChangeForm& f) { box(f, "txtdivnumber")->setText("61"); },
                              "txtDivName",
                              "Division Name",
                              "div.csv",
                              "Div added OK"};
const FieldCase kDepartmentName{"DepartmentName",
                                addForm<fAddDpt>(),
                                [](ChangeForm& f) {
                                    box(f, "txtdptnumber")->setText("181");
                                    pick(list(f, "cboDivision"), "0010 Rooms Division");
                                },
                                "txtdptname",
                                "Department Name",
                                "dpt.csv",
                                "DPT added OK"};
const FieldCase kExtensionName{"ExtensionName",
                               addForm<fAddext>(),
                               [](ChangeForm& f) {
                                   box(f, "txtextnumber")->setText("1061");
                                   pick(list(f, "cboDepartment"), "0100 Front Office");
                               },
                               "txtextname",
                               "Extension Name",
                               "ext.csv",
                               "EXT added OK"};

std::vector<HostileCase> hostileCases() {
    const std::pair<const char*, bool> names[] = {
        {"O'Brien's", false},      {"a;touch canary", false}, {"$(touch canary)", false},
        {"`touch canary`", false}, {"a|touch canary", false}, {"*", false},
        {"a,touch canary", true},  {"say \"touch\"", true},
    };
    std::vector<HostileCase> out;
    for (const FieldCase& field : {kDivisionName, kDepartmentName, kExtensionName})
        for (const auto& [name, refused] : names) out.push_back({field, name, refused});
    return out;
}

INSTANTIATE_TEST_SUITE_P(Fields, HostileNames, ::testing::ValuesIn(hostileCases()));

// An amount box keeps only what reads as a number, and Save takes only a plain number.
TEST_F(TablesSimTest, HostileAmountsNeverStandOrAreRefused) {
    fAddext f;
    f.txtextnumber->setText("1062");
    f.txtextname->setText("Amounts");
    pick(f.cboDepartment, "0100 Front Office");
    f.txtequipment->setText("1,000");
    f.txtcredit->setText("5;touch canary");
    f.txttotal->setText("$(touch canary)");
    f.txtother->setText("`touch canary`");
    f.txtoverhead->setText("12.5 $(touch canary)");
    EXPECT_EQ(f.txtequipment->text(), "1");
    EXPECT_EQ(f.txtcredit->text(), "5");
    EXPECT_EQ(f.txttotal->text(), "");
    EXPECT_EQ(f.txtother->text(), "");
    EXPECT_EQ(f.txtoverhead->text(), "12.5 ");
    prompter.ok().ok().ok();
    f.show();
    f.cmdsave_Click();
    f.txtother->setText("0");
    f.cmdsave_Click();
    f.txttotal->setText("7");
    f.cmdsave_Click();
    EXPECT_EQ(prompter.messages(), (QStringList{"You must enter a value in Other category",
                                                "YYou must enter a value in Total category",
                                                amountProblem("Overhead", "12.5 ")}));
    EXPECT_TRUE(requests().isEmpty());
    f.txtoverhead->setText("12.5");
    prompter.ok();
    saveAndWait(f);
    ASSERT_EQ(requests().size(), 1);
    EXPECT_EQ(site.read(requests().first()), "1,add,ext,1062,Amounts,0100,1,5,12.5,7,0\n");
    EXPECT_FALSE(site.exists("canary"));
}

// ---- the manager ------------------------------------------------------------------------------

TEST_F(TablesSimTest, ADivisionAddedAndAnExtensionModifiedShowInTheRefreshedGrid) {
    frmmanager m;
    m.show();
    whenShown("fAddDiv", [](QWidget& w) {
        box(w, "txtdivnumber")->setText("70");
        box(w, "txtDivName")->setText("Spa Division");
        static_cast<ChangeForm&>(w).cmdsave_Click();
    });
    prompter.ok();
    m.cmdadd_Click();
    EXPECT_EQ(prompter.messages(), QStringList{"Div added OK"});
    EXPECT_EQ(m.MSFlexGrid1->rowCells(m.MSFlexGrid1->dataRows()),
              (QStringList{"0070", "Spa Division"}));

    QTest::mouseClick(m.Optreporttype[1], Qt::LeftButton);
    int row = 1;
    while (row <= m.MSFlexGrid1->dataRows() && m.MSFlexGrid1->cell(row, 0) != "1001") ++row;
    ASSERT_LE(row, m.MSFlexGrid1->dataRows());
    m.MSFlexGrid1->SortByColumn(1);  // sorted, then a row chosen: the reload shows file order
    for (row = 1; m.MSFlexGrid1->cell(row, 0) != "1001"; ++row) {
    }
    m.MSFlexGrid1->setCurrentRow(row);
    whenShown("feditext", [](QWidget& w) {
        box(w, "txtextname")->setText("Front Desk Main");
        box(w, "txtother")->setText("0");
        static_cast<ChangeForm&>(w).cmdsave_Click();
    });
    prompter.ok();
    m.cmdmodify_Click();
    EXPECT_EQ(prompter.messages(), (QStringList{"Div added OK", "EXT Modified OK"}));
    EXPECT_EQ(m.MSFlexGrid1->sortColumn(), -1);
    EXPECT_EQ(m.MSFlexGrid1->rowCells(1),
              (QStringList{"1001", "Front Desk Main", "100", "12.50", "0.00", "2.00", "148", "0"}));
}

// ---- waits without an answer ---------------------------------------------------------------

TEST_F(TablesSimTest, NoAnswerEndsInTheTimeOutPath) {
    home.write("KTReports.ini", "[Sites]\r\nAnswerTimeout=2\r\n");
    SimServer::setKnob("answer_never");
    fEditDiv f({"0030", "Operations"});
    f.txtDivName->setText("Never");
    prompter.ok();
    saveAndWait(f);
    EXPECT_EQ(prompter.messages(),
              QStringList{"The server has not answered within 2 seconds. The server may still "
                          "carry out the request.\r\nRefeshing Data"});
    const QString todo = f.exchange().requestName();
    EXPECT_TRUE(site.exists(todo));
    EXPECT_FALSE(site.exists(answerFileName(todo)));
    const QStringList shell = SimServer::shellLines();
    EXPECT_EQ(shell.last(), "./do_csv.sh; echo \"rc=$?\"");
    EXPECT_TRUE(mirror("div.csv").contains("30,Operations,"));
}

TEST_F(TablesSimTest, CancelEndsTheWaitAndClosingIsRefused) {
    SimServer::setKnob("answer_never");
    for (const bool cancel : {true, false}) {
        SCOPED_TRACE(cancel ? "cancel" : "close");
        SimServer::clearJournal();
        fEditDiv f({"0030", "Operations"});
        f.show();
        f.cmdsave_Click();
        ASSERT_EQ(f.state(), ChangeExchange::State::Waiting);
        EXPECT_TRUE(testsupport::waitFor(
            [] { return !SimServer::shellLines().filter(QRegularExpression("^ls ")).isEmpty(); },
            10000));  // a poll or two
        prompter.ok();
        if (!cancel) {
            // Closing is refused while the form waits; its Cancel still ends the wait.
            EXPECT_FALSE(f.close());
            EXPECT_TRUE(f.isVisible());
        }
        QTest::mouseClick(f.cmdcancelwait, Qt::LeftButton);
        EXPECT_TRUE(testsupport::waitFor([&] { return !f.isVisible(); }, 10000));
        EXPECT_EQ(prompter.messages().last(), cancelledWaitText("The request"));
        EXPECT_FALSE(f.tmrcheckdone->isActive());
        const QStringList shell = SimServer::shellLines();
        EXPECT_FALSE(shell.isEmpty());
        EXPECT_TRUE(shell.last().startsWith("ls ")) << shell.join('\n').toStdString();
        EXPECT_FALSE(site.exists(f.exchange().answerName()));
    }
}

}  // namespace
