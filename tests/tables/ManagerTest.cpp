// The manager window without a server: the four tables from the mirror, sorting with its
// markers, the forms it opens (with the row's cells) and the reload after them, the exports of
// the grid as it is sorted with their name questions, and its log lines.
#include "tables/frmmanager.h"

#include "TablesTestSupport.h"
#include "common/CommonFunctions.h"
#include "common/ExcelFileV2.h"
#include "common/Globals.h"
#include "common/GridExport.h"
#include "common/ProgramClock.h"
#include "common/SiteContext.h"
#include "reports/common/ReportTable.h"
#include "support/Controls.h"
#include "support/RecordingViewer.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"
#include "support/Wait.h"
#include "widgets/SortableGrid.h"
#include "widgets/WindowRegistry.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTest>
#include <QTimer>

#include <functional>
#include <ostream>

using namespace quillon;
using testsupport::control;

namespace {

const QStringList kForms{"FAddLine", "feditline", "fAddext", "feditext",
                         "fAddDpt",  "feditdpt",  "fAddDiv", "fEditDiv"};
const QString kExportPrompt = QStringLiteral("Enter a name for the exported data:");
const QString kExistsPrompt = QStringLiteral(
    "The filename you entered already exists.\r\nEnter a new name for the exported report:");

QStringList column(const SortableGrid* g, int col) {
    QStringList out;
    for (int r = 0; r <= g->dataRows(); ++r) out << g->cell(r, col);
    return out;
}

class ManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        tablestest::writeMirror(home);
        SiteContext::install(&site);
        // Stand-ins for the forms: they note what they were opened with and close at once.
        for (const QString& name : kForms)
            WindowRegistry::add(WindowEntry{
                name, QString(), [this, name](QWidget* parent, const QVariant& row) -> QWidget* {
                    opened << name;
                    rows << row.toStringList();
                    if (whileOpen) whileOpen();
                    auto* form = new QDialog(parent);
                    QTimer::singleShot(0, form, &QDialog::accept);
                    return form;
                }});
    }
    void TearDown() override {
        WindowRegistry::clear();
        SiteContext::install(nullptr);
    }
    QString exportFile(const QString& name) const {
        return home.file("North/Download/export/" + name);
    }

    testsupport::TempHome home;
    FixedSite site{1, QStringLiteral("North")};
    SettableClock programClock{QDateTime(QDate(2026, 12, 9), QTime(15, 30))};
    testsupport::ScriptedPrompter prompter;
    testsupport::RecordingViewer viewer;
    QStringList opened;
    QList<QStringList> rows;
    std::function<void()> whileOpen;
};

// Shown at its smallest size, the export-type box still shows each of its texts whole.
TEST_F(ManagerTest, TheExportTypeBoxShowsItsTextsWhole) {
    frmmanager m;
    m.show();
    m.resize(1, 1);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m));
    QApplication::processEvents();
    QComboBox* box = m.cboExport;
    for (int i = 0; i < box->count(); ++i) {
        box->setCurrentIndex(i);
        QStyleOptionComboBox option;
        option.initFrom(box);
        option.currentText = box->currentText();
        option.editable = box->isEditable();
        const QRect field = box->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                         QStyle::SC_ComboBoxEditField, box);
        EXPECT_GE(field.width(), box->fontMetrics().horizontalAdvance(box->currentText()))
            << box->currentText().toStdString();
    }
}

TEST_F(ManagerTest, OpensOnTheDivisionTable) {
    frmmanager m;
    EXPECT_EQ(m.windowTitle(), "Manager");
    EXPECT_TRUE(m.Optreporttype[3]->isChecked());
    EXPECT_EQ(m.tableIndex(), 3);
    const QStringList captions{"Line ", "Extension", "Department", "Division"};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(m.Optreporttype[i]->text(), captions[i]);
    EXPECT_EQ(tablestest::items(m.cboExport), (QStringList{"HTML File", "Excel File"}));
    EXPECT_EQ(m.cboExport->currentIndex(), 0);
    EXPECT_EQ(column(m.MSFlexGrid1, 0), (QStringList{"Div #", "12345", "0003", "1234"}));
    EXPECT_EQ(column(m.MSFlexGrid1, 1),
              (QStringList{"Div Name", "Big Division", "Operations", "Twelve"}));
    EXPECT_EQ(m.MSFlexGrid1->columns(), 2);
    EXPECT_EQ(m.cmdadd->toolTip(), "Click to Add");
    EXPECT_EQ(m.cmdExport->text(), "Export Type");
    EXPECT_EQ(m.cmdsaveascsv->text(), "Export csv");
}

struct TableCase {
    int index;
    QStringList header;
    QStringList firstRow;
};
void PrintTo(const TableCase& c, std::ostream* os) {
    *os << c.index;
}

class ManagerTables : public ManagerTest, public ::testing::WithParamInterface<TableCase> {};

// Only the key column is formatted; short lines get empty cells, blank lines none.
TEST_P(ManagerTables, ShowTheTableFromTheMirror) {
    home.write("North/Bats/line.csv", "5,12,1\r\n\r\n7\r\n");
    frmmanager m;
    QTest::mouseClick(m.Optreporttype[GetParam().index], Qt::LeftButton);
    EXPECT_EQ(m.tableIndex(), GetParam().index);
    EXPECT_EQ(m.MSFlexGrid1->rowCells(0), GetParam().header);
    EXPECT_EQ(m.MSFlexGrid1->rowCells(1), GetParam().firstRow);
}

INSTANTIATE_TEST_SUITE_P(
    Options, ManagerTables,
    ::testing::Values(TableCase{0, {"Line #", "Ext #", "Line Type #"}, {"0005", "12", "1"}},
                      TableCase{1,
                                {"Ext #", "Ext Name", "Dept #", "Equipment Cost", "Credit",
                                 "Overhead", "Total usage", "Other"},
                                {"0012", "Front Desk", "100", "12.50", "0.00", "2.00", "148", ""}},
                      TableCase{
                          2, {"Dept #", "Dept Name", "Div #"}, {"0100", "Front Office", "3"}}));

TEST_F(ManagerTest, AShortLineGetsEmptyCellsAndAMissingTableAnEmptyGridAndAMessage) {
    home.write("North/Bats/line.csv", "5,12,1\r\n\r\n7\r\n");
    frmmanager m;
    m.Optreporttype_Click(0);
    EXPECT_EQ(m.MSFlexGrid1->dataRows(), 2);
    EXPECT_EQ(m.MSFlexGrid1->rowCells(2), (QStringList{"0007", "", ""}));
    QFile::remove(home.file("North/Bats/dpt.csv"));
    prompter.ok();
    m.Optreporttype_Click(2);
    EXPECT_EQ(prompter.messages(),
              QStringList{"The table dpt.csv is not on this computer. Choose the site again to "
                          "fetch its tables."});
    EXPECT_EQ(m.MSFlexGrid1->dataRows(), 0);
    EXPECT_EQ(m.MSFlexGrid1->rowCells(0), (QStringList{"Dept #", "Dept Name", "Div #"}));
}

TEST_F(ManagerTest, HeaderClicksSortWithTheirMarkerAndAFormsReloadClearsIt) {
    frmmanager m;
    m.resize(500, 400);
    m.show();
    QHeaderView* header = m.MSFlexGrid1->horizontalHeader();
    const auto click = [&](int col) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(col) + 5, header->height() / 2));
    };
    click(0);
    EXPECT_EQ(column(m.MSFlexGrid1, 0), (QStringList{"> Div #", "0003", "1234", "12345"}));
    click(0);
    EXPECT_EQ(column(m.MSFlexGrid1, 0), (QStringList{"< Div #", "12345", "1234", "0003"}));
    click(1);
    EXPECT_EQ(m.MSFlexGrid1->rowCells(0), (QStringList{"Div #", "> Div Name"}));
    EXPECT_EQ(column(m.MSFlexGrid1, 1),
              (QStringList{"> Div Name", "Big Division", "Operations", "Twelve"}));

    // Modify with the header row current (as after every sort) opens nothing.
    m.cmdmodify_Click();
    EXPECT_TRUE(opened.isEmpty());

    m.MSFlexGrid1->setCurrentRow(2);
    home.write("North/Bats/div.csv", "9,Ninth,\r\n3,Operations,\r\n");
    m.cmdmodify_Click();
    EXPECT_EQ(opened, QStringList{"fEditDiv"});
    EXPECT_EQ(rows.value(0), (QStringList{"0003", "Operations"}));
    EXPECT_EQ(G().g_SelectedRow, 2);
    // The table as the file holds it now, in file order, without a marker.
    EXPECT_EQ(column(m.MSFlexGrid1, 0), (QStringList{"Div #", "0009", "0003"}));
    EXPECT_EQ(m.MSFlexGrid1->sortColumn(), -1);
    EXPECT_TRUE(m.tmrShowMe->isActive());
    EXPECT_TRUE(m.isVisible());
}

TEST_F(ManagerTest, EachTableOpensItsOwnForms) {
    frmmanager m;
    m.resize(500, 400);
    m.show();
    for (int i = 0; i < 4; ++i) {
        m.Optreporttype_Click(i);
        m.cmdadd_Click();
        m.MSFlexGrid1->setCurrentRow(1);
        const QStringList first = m.MSFlexGrid1->rowCells(1);
        // A double click on a row is Modify.
        const QRect cell = m.MSFlexGrid1->visualRect(m.MSFlexGrid1->model()->index(0, 0));
        QTest::mouseClick(m.MSFlexGrid1->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(m.MSFlexGrid1->viewport(), Qt::LeftButton, {}, cell.center());
        EXPECT_EQ(rows.last(), first);
        EXPECT_EQ(m.tableIndex(), i);
    }
    EXPECT_EQ(opened, kForms);
    EXPECT_EQ(rows[0], QStringList());
}

// Each table's lines: its grid loaded, its modify form opened (the line form's "edit" in lower
// case), the window shown again; driven through the option and Modify by name.
TEST_F(ManagerTest, WritesItsLogLines) {
    struct Table {
        const char* grid;
        const char* edit;
    };
    const Table tables[] = {{"Line", "Loading edit Line Form"},
                            {"Extension", "Loading Edit Extension Form"},
                            {"Department", "Loading Edit Department Form"},
                            {"Division", "Loading Edit Division Form"}};
    G().g_DebugMode = true;
    QDir().mkpath(home.file("Logs"));
    OpenDebugLog(home.file("Logs/Mainlog.log"));
    QStringList expected{"Loading Division Grid", "Done Loading Division Grid"};
    {
        frmmanager m;
        m.show();
        for (int i = 0; i < 4; ++i) {
            control<QRadioButton>(m, QStringLiteral("Optreporttype_%1").arg(i))->click();
            m.MSFlexGrid1->setCurrentRow(1);
            control<QPushButton>(m, "cmdmodify")->click();
            const QTimer* showMe = control<QTimer>(m, "tmrShowMe");
            ASSERT_TRUE(testsupport::waitFor([&] { return !showMe->isActive(); }, 5000));
            const QString grid = QString::fromLatin1(tables[i].grid);
            expected << "Loading " + grid + " Grid" << "Done Loading " + grid + " Grid"
                     << QString::fromLatin1(tables[i].edit) << "Loading " + grid + " Grid"
                     << "Done Loading " + grid + " Grid" << "Make Manager Form Visable";
        }
        m.reject();
    }
    expected << "Closing Manager Form";
    QStringList lines;
    for (const QString& l : splitTextLines(QString::fromLatin1(home.read("Logs/Mainlog.log"))))
        lines << l.mid(19);  // after the time
    EXPECT_EQ(lines.mid(1).join('\n').toStdString(), expected.join('\n').toStdString());
}

// ---- exports ---------------------------------------------------------------------------------

TEST_F(ManagerTest, ExportsTheGridAsItIsSortedToTheChosenKindOfFile) {
    frmmanager m;
    m.MSFlexGrid1->SortByColumn(1);
    m.MSFlexGrid1->SortByColumn(1);

    prompter.inputText("12-09-2026 15-30 DIVISION.html");
    m.cmdExport_Click();
    ASSERT_EQ(prompter.prompts().size(), 1u);
    EXPECT_EQ(prompter.prompts()[0].text, kExportPrompt);
    EXPECT_EQ(prompter.prompts()[0].title, "Rename File");
    const QString html = exportFile("12-09-2026 15-30 DIVISION.html");
    const QByteArray page = home.read("North/Download/export/12-09-2026 15-30 DIVISION.html");
    EXPECT_EQ(page, htmlExportBytes(*m.MSFlexGrid1, "Export of  DIVISION table on 12-09-2026"));
    EXPECT_TRUE(page.contains("<TH>&lt; Div Name</TH>")) << page.constData();

    m.cboExport->setCurrentIndex(1);
    prompter.inputText("divisions.xls");
    m.cmdExport_Click();
    const QByteArray sheet = home.read("North/Download/export/divisions.xls");
    EXPECT_TRUE(sheet.startsWith(ExcelFileV2::bofRecord()));
    EXPECT_TRUE(sheet.contains(ExcelFileV2::labelRecord(0, 1, "< Div Name")));
    EXPECT_TRUE(sheet.contains(ExcelFileV2::numberRecord(1, 0, 1234)));

    prompter.inputText("divisions.csv");
    m.cmdsaveascsv_Click();
    EXPECT_EQ(home.read("North/Download/export/divisions.csv"),
              "Div #,< Div Name\r\n1234,Twelve\r\n0003,Operations\r\n12345,Big Division\r\n");

    EXPECT_EQ(viewer.opened,
              (QStringList{html, exportFile("divisions.xls"), exportFile("divisions.csv")}));
}

// A sheet's 16-bit row numbers hold 65,535 rows below the heading: a longer table is told
// before any name is asked and written as CSV instead; one row fewer still goes to Excel.
TEST_F(ManagerTest, ATableLongerThanASheetIsNotExportedToExcel) {
    const auto writeExtensions = [this](int rows) {
        QByteArray table;
        for (int i = 0; i < rows; ++i)
            table += QByteArray::number(10000 + i) + ",Room,100,,,,,\r\n";
        home.write("North/Bats/ext.csv", table);
    };
    writeExtensions(ExcelFileV2::kMaxRows);
    frmmanager m;
    m.Optreporttype_Click(1);
    m.cboExport->setCurrentIndex(1);
    prompter.ok();
    m.cmdExport_Click();
    EXPECT_EQ(prompter.messages(),
              QStringList{"The table has 65536 rows; an Excel file holds at most 65535 below its "
                          "heading. Export it as an HTML or CSV file."});
    prompter.inputText("all.csv");
    m.cmdsaveascsv_Click();
    EXPECT_EQ(home.read("North/Download/export/all.csv").count('\n'), ExcelFileV2::kMaxRows + 1);

    writeExtensions(ExcelFileV2::kMaxRows - 1);
    m.Optreporttype_Click(1);
    prompter.inputText("all.xls");
    m.cmdExport_Click();
    EXPECT_TRUE(home.read("North/Download/export/all.xls").endsWith(ExcelFileV2::eofRecord()));
    EXPECT_EQ(viewer.opened, (QStringList{exportFile("all.csv"), exportFile("all.xls")}));
}

TEST_F(ManagerTest, ProposesADatedNameForEachKind) {
    frmmanager m;
    m.Optreporttype_Click(1);
    prompter.cancelInput();
    m.cmdExport_Click();
    m.cboExport->setCurrentIndex(1);
    prompter.cancelInput();
    m.cmdExport_Click();
    m.Optreporttype_Click(0);
    prompter.cancelInput();
    m.cmdsaveascsv_Click();
    ASSERT_EQ(prompter.prompts().size(), 3u);
    EXPECT_EQ(prompter.prompts()[0].defaultText, "12-09-2026 15-30 EXTENSION.html");
    EXPECT_EQ(prompter.prompts()[1].defaultText, "12-09-2026 15-30 EXTENSION.xls");
    EXPECT_EQ(prompter.prompts()[2].defaultText, "12-09-2026 15-30 LINE.csv");
    EXPECT_TRUE(QDir(home.file("North/Download/export")).isEmpty());
    EXPECT_TRUE(viewer.opened.isEmpty());
}

struct NameCase {
    const char* name;
    std::function<void(testsupport::ScriptedPrompter&)> script;
    const char* written;  // the file written, "" for none
    QStringList prompts;
};
void PrintTo(const NameCase& c, std::ostream* os) {
    *os << c.name;
}

class ExportNames : public ManagerTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(ExportNames, AreAskedAgainUntilTheyAreNewAndPlain) {
    home.write("North/Download/export/taken.csv", "old\r\n");
    frmmanager m;
    GetParam().script(prompter);
    m.cmdsaveascsv_Click();
    QStringList asked;
    for (const auto& p : prompter.prompts()) asked << p.text;
    EXPECT_EQ(asked, GetParam().prompts);
    // A question asked again proposes the name last given.
    for (size_t i = 1; i < prompter.prompts().size(); ++i)
        if (prompter.prompts()[i].kind == testsupport::Prompt::Kind::Input &&
            prompter.prompts()[i - 1].kind == testsupport::Prompt::Kind::Input)
            EXPECT_EQ(prompter.prompts()[i].defaultText.toLower(), "taken.csv");
    QStringList files = QDir(home.file("North/Download/export")).entryList(QDir::Files);
    files.removeAll("taken.csv");
    EXPECT_EQ(files, GetParam().written[0] ? QStringList{GetParam().written} : QStringList());
    EXPECT_EQ(home.read("North/Download/export/taken.csv"), "old\r\n");
}

const QString kPlainOnly = QStringLiteral("A file name may not hold /, \\ or \"..\".");

INSTANTIATE_TEST_SUITE_P(
    Questions, ExportNames,
    ::testing::Values(
        NameCase{"CancelFirst", [](auto& p) { p.cancelInput(); }, "", {kExportPrompt}},
        NameCase{"EmptyFirst", [](auto& p) { p.inputText(""); }, "", {kExportPrompt}},
        NameCase{"TakenThenNew",
                 [](auto& p) { p.inputText("taken.csv").inputText("new.csv"); },
                 "new.csv",
                 {kExportPrompt, kExistsPrompt}},
        // The name is compared without regard to case, as the file system of the system did.
        NameCase{"TakenInAnotherCase",
                 [](auto& p) { p.inputText("TAKEN.csv").inputText("other.csv"); },
                 "other.csv",
                 {kExportPrompt, kExistsPrompt}},
        NameCase{"TakenThenCancel",
                 [](auto& p) { p.inputText("taken.csv").cancelInput(); },
                 "",
                 {kExportPrompt, kExistsPrompt}},
        NameCase{"TakenThenEmpty",
                 [](auto& p) { p.inputText("taken.csv").inputText(""); },
                 "",
                 {kExportPrompt, kExistsPrompt}},
        NameCase{"APathThenAName",
                 [](auto& p) { p.inputText("../escape.csv").ok().inputText("plain.csv"); },
                 "plain.csv",
                 {kExportPrompt, kPlainOnly, kExportPrompt}},
        NameCase{
            "Slashes",
            [](auto& p) { p.inputText("a/b.csv").ok().inputText("a\\b.csv").ok().cancelInput(); },
            "",
            {kExportPrompt, kPlainOnly, kExportPrompt, kPlainOnly, kExportPrompt}}));

}  // namespace
