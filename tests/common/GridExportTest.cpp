#include "common/ExcelFileV2.h"
#include "common/GridExport.h"

#include "support/RecordingViewer.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLocale>

using namespace quillon;

namespace {

QByteArray hex(const char* text) {
    return QByteArray::fromHex(QByteArray(text));
}

QByteArray label(quint16 row, quint16 col, const QByteArray& text) {
    return ExcelFileV2::labelRecord(row, col, text);
}
QByteArray number(quint16 row, quint16 col, double value) {
    return ExcelFileV2::numberRecord(row, col, value);
}
QByteArray sheet(const QByteArray& cells) {
    return ExcelFileV2::bofRecord() + cells + ExcelFileV2::eofRecord();
}

// ---- CSV ----------------------------------------------------------------------------------

TEST(GridExportCsv, ExactBytesAndOpensTheFile) {
    testsupport::TempHome home;
    testsupport::RecordingViewer viewer;
    const MemoryGrid grid({{"Key", "Name", "Cost"},
                           {"0001", " North  Wing ", "12.50"},
                           {"0002", "Dock, East", "say \"hi\""},
                           {"0003", "Caf\u00e9 \u20ac", "two\nlines"},
                           {"0004", "", "cr\rhere"}});
    const QString path = home.file(QStringLiteral("ext.csv"));
    ASSERT_TRUE(ExportGridToCsv(path, grid));
    EXPECT_EQ(home.read(QStringLiteral("ext.csv")),
              QByteArray("Key,Name,Cost\r\n"
                         "0001, North  Wing ,12.50\r\n"
                         "0002,\"Dock, East\",\"say \"\"hi\"\"\"\r\n"
                         "0003,Caf\xe9 \x80,\"two\nlines\"\r\n"
                         "0004,,\"cr\rhere\"\r\n"));
    EXPECT_EQ(viewer.opened, QStringList{path});
}

TEST(GridExportCsv, HeadingRowOnlyAndSecondExportReplaces) {
    testsupport::TempHome home;
    testsupport::RecordingViewer viewer;
    const QString path = home.file(QStringLiteral("t.csv"));
    ASSERT_TRUE(ExportGridToCsv(path, MemoryGrid({{"A", "B"}, {"1", "2"}, {"3", "4"}})));
    ASSERT_TRUE(ExportGridToCsv(path, MemoryGrid(QList<QStringList>{{"A", "B"}})));
    EXPECT_EQ(home.read(QStringLiteral("t.csv")), "A,B\r\n");
    EXPECT_EQ(viewer.opened.size(), 2);
}

// ---- HTML ---------------------------------------------------------------------------------

TEST(GridExportHtml, ExactBytesWithEntities) {
    testsupport::TempHome home;
    testsupport::RecordingViewer viewer;
    const MemoryGrid grid({{"Key", "Name"}, {"1", "<b>R&D</b>"}, {"2", "Caf\u00e9"}},
                          /*fixedRows=*/0);
    const QString path = home.file(QStringLiteral("t.htm"));
    ASSERT_TRUE(ExportGridToHtml(grid, path, QStringLiteral("Extensions & <Depts>")));
    EXPECT_EQ(home.read(QStringLiteral("t.htm")),
              QByteArray("<HTML><HEAD><TITLE>Extensions &amp; &lt;Depts&gt;</TITLE></HEAD>"
                         "<BODY TEXT=#000000><CENTER>\r\n"
                         "<TABLE BORDER=1 BGCOLOR=#C0C0C0 CELLPADDING=5 text=#000000>\r\n"
                         "<TR>\r\n"
                         "  <TH>Key</TH>\r\n"
                         "  <TH>Name</TH>\r\n"
                         "</TR>\r\n"
                         "<TR>\r\n"
                         "  <TD>1</TD>\r\n"
                         "  <TD>&lt;b&gt;R&amp;D&lt;/b&gt;</TD>\r\n"
                         "</TR>\r\n"
                         "<TR>\r\n"
                         "  <TD>2</TD>\r\n"
                         "  <TD>Caf\xe9</TD>\r\n"
                         "</TR>\r\n"
                         "</TABLE>\r\n"
                         "</CENTER></BODY></HTML>\r\n"));
    EXPECT_EQ(viewer.opened, QStringList{path});
}

TEST(GridExportHtml, HeadingRowOnlyAndNoRows) {
    const QByteArray head =
        "<HTML><HEAD><TITLE>T</TITLE></HEAD><BODY TEXT=#000000><CENTER>\r\n"
        "<TABLE BORDER=1 BGCOLOR=#C0C0C0 CELLPADDING=5 text=#000000>\r\n"
        "<TR>\r\n";
    const QByteArray tail = "</TR>\r\n</TABLE>\r\n</CENTER></BODY></HTML>\r\n";
    EXPECT_EQ(htmlExportBytes(MemoryGrid(QList<QStringList>{{"A"}}), QStringLiteral("T")),
              head + "  <TH>A</TH>\r\n" + tail);
    EXPECT_EQ(htmlExportBytes(MemoryGrid(), QStringLiteral("T")), head + tail);
}

// ---- Excel --------------------------------------------------------------------------------

TEST(GridExportExcel, ExactBytesOfASmallSheet) {
    testsupport::TempHome home;
    testsupport::RecordingViewer viewer;
    // 0001 is a number only in the body column; in the heading row and heading column it is text.
    const MemoryGrid grid({{"Key", "0001"}, {"0001", "0001"}}, /*fixedRows=*/1, /*fixedCols=*/1);
    const QString path = home.file(QStringLiteral("t.xls"));
    ASSERT_TRUE(ExportGridToExcel(grid, path, QStringLiteral("Title"), QStringLiteral("End")));
    EXPECT_EQ(home.read(QStringLiteral("t.xls")),
              hex("0900 0400 0200 0A00"
                  "0400 0D00 0000 0000 000000 05 5469746C65"     // Title  r0 c0
                  "0400 0B00 0100 0000 000000 03 4B6579"         // Key    r1 c0
                  "0400 0C00 0100 0100 000000 04 30303031"       // 0001   r1 c1 heading row
                  "0400 0C00 0200 0000 000000 04 30303031"       // 0001   r2 c0 heading column
                  "0300 0F00 0200 0100 000000 000000000000F03F"  // 1.0  r2 c1
                  "0400 0B00 0300 0000 000000 03 456E64"         // End    r3 c0
                  "0A00 0000"));
    EXPECT_EQ(viewer.opened, QStringList{path});
}

struct SheetCase {
    const char* name;
    MemoryGrid grid;
    const char* text1;
    const char* text2;
    QByteArray cells;
};

class GridExportExcelCases : public ::testing::TestWithParam<SheetCase> {};

TEST_P(GridExportExcelCases, Cells) {
    testsupport::TempHome home;
    testsupport::RecordingViewer viewer;
    const SheetCase& c = GetParam();
    ASSERT_TRUE(ExportGridToExcel(c.grid, home.file(QStringLiteral("t.xls")),
                                  QString::fromUtf8(c.text1), QString::fromUtf8(c.text2)));
    EXPECT_EQ(home.read(QStringLiteral("t.xls")), sheet(c.cells));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GridExportExcelCases,
    ::testing::Values(
        SheetCase{"EmptyText1StartsAtRowZero", MemoryGrid({{"A"}, {"5"}}), "", "",
                  label(0, 0, "A") + number(1, 0, 5)},
        SheetCase{"TwoTitleLinesAndTwoFooterLines", MemoryGrid({{"A"}, {"x"}}), "t1\tt2", "f1\tf2",
                  label(0, 0, "t1") + label(1, 0, "t2") + label(2, 0, "A") + label(3, 0, "x") +
                      label(4, 0, "f1") + label(5, 0, "f2")},
        SheetCase{"FooterDirectlyBelowTheTable", MemoryGrid({{"A", "B"}, {"1", "2"}, {"3", "4"}}),
                  "", "Total",
                  label(0, 0, "A") + label(0, 1, "B") + number(1, 0, 1) + number(1, 1, 2) +
                      number(2, 0, 3) + number(2, 1, 4) + label(3, 0, "Total")},
        SheetCase{"HeadingRowOnly", MemoryGrid(QList<QStringList>{{"Key", "Name"}}), "", "",
                  label(0, 0, "Key") + label(0, 1, "Name")},
        SheetCase{"TwoHeadingRowsTwoHeadingColumns",
                  MemoryGrid({{"a", "b", "c"}, {"1", "2", "3"}, {"4", "5", "6"}}, 2, 2), "", "",
                  label(0, 0, "a") + label(0, 1, "b") + label(0, 2, "c") + label(1, 0, "1") +
                      label(1, 1, "2") + label(1, 2, "3") + label(2, 0, "4") + label(2, 1, "5") +
                      number(2, 2, 6)},
        SheetCase{"BodyTextsAndNumbers",
                  MemoryGrid({{"h", "h", "h", "h", "h", "h"},
                              {"-2.5", " 7 ", "1e3", "12abc", "1,000", ""}}),
                  "", "",
                  label(0, 0, "h") + label(0, 1, "h") + label(0, 2, "h") + label(0, 3, "h") +
                      label(0, 4, "h") + label(0, 5, "h") + number(1, 0, -2.5) + number(1, 1, 7) +
                      number(1, 2, 1000) + label(1, 3, "12abc") + label(1, 4, "1,000") +
                      label(1, 5, "")}),
    [](const auto& info) { return std::string(info.param.name); });

struct NumericCase {
    const char* text;
    bool numeric;
    double value;
};

TEST(GridExportExcel, NumericTestFollowsTheCLocaleWhateverTheUserLanguage) {
    const NumericCase cases[] = {
        {"0001", true, 1},    {"-2.5", true, -2.5},     {"+.5", true, 0.5}, {"1.", true, 1},
        {"1E-2", true, 0.01}, {" 42 ", true, 42},       {"1,5", false, 0},  {"1.000,5", false, 0},
        {".", false, 0},      {"", false, 0},           {"-", false, 0},    {"1e", false, 0},
        {"0x10", false, 0},   {"inf", false, 0},        {"nan", false, 0},  {"1e999", false, 0},
        {"1e-999", false, 0}, {"4e-320", true, 4e-320}, {"$5", false, 0},   {"5%", false, 0},
        {"1 000", false, 0},
    };
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    for (const NumericCase& c : cases) {
        double value = -99;
        EXPECT_EQ(IsNumericCell(QString::fromLatin1(c.text), &value), c.numeric) << c.text;
        if (c.numeric) {
            EXPECT_DOUBLE_EQ(value, c.value) << c.text;
        }
    }
    QLocale::setDefault(saved);
}

// ---- failures and the table widget --------------------------------------------------------

TEST(GridExportFailures, UnwritablePathOpensNothing) {
    testsupport::TempHome home;
    testsupport::RecordingViewer viewer;
    const MemoryGrid grid({{"A"}, {"1"}});
    const QString path = home.file(QStringLiteral("no/such/folder/t"));
    EXPECT_FALSE(ExportGridToCsv(path, grid));
    EXPECT_FALSE(ExportGridToHtml(grid, path, QStringLiteral("T")));
    EXPECT_FALSE(ExportGridToExcel(grid, path, QString(), QString()));
    EXPECT_TRUE(viewer.opened.isEmpty());
}

TEST(GridExportFailures, SheetTooTallKeepsTheOldFileAndOpensNothing) {
    testsupport::TempHome home;
    testsupport::RecordingViewer viewer;
    home.write(QStringLiteral("t.xls"), "before");
    MemoryGrid grid;
    for (int r = 0; r < 65536; ++r) grid.addRow({QStringLiteral("x")});
    // 65536 rows fit; one title line pushes the last row past the 16-bit grid.
    EXPECT_FALSE(ExportGridToExcel(grid, home.file(QStringLiteral("t.xls")),
                                   QStringLiteral("title"), QString()));
    EXPECT_EQ(home.read(QStringLiteral("t.xls")), "before");
    EXPECT_TRUE(viewer.opened.isEmpty());
}

}  // namespace
