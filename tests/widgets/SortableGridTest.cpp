// The list windows' grid: rows as loaded, header clicks that sort numbers as numbers and text as
// text with their "> " / "< " marker, the current row, ticks, and what the exports read. Also
// the typed length limit of the name boxes.
#include "common/GridExport.h"
#include "widgets/SortableGrid.h"
#include "widgets/TypedLengthLimit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using namespace quillon;

namespace {

const QStringList kHeaders{"Ext #", "Ext Name", "Dept #"};

QList<QStringList> rows() {
    return {{"0012", "bob", "100"},
            {"0005", "Alice", "9"},
            {"12345", "alice", "x"},
            {"0100", "Carl", ""},
            {"0007", "bob", "100"}};
}

QStringList column(const SortableGrid& g, int col) {
    QStringList out;
    for (int r = 1; r <= g.dataRows(); ++r) out << g.cell(r, col);
    return out;
}

QStringList headers(const SortableGrid& g) {
    return g.rowCells(0);
}

TEST(SortableGrid, ShowsTheRowsAsLoadedUnderTheirHeaders) {
    SortableGrid g;
    g.load(kHeaders, {{"1", "one", "a", "beyond"}, {"2"}, {}});
    EXPECT_EQ(g.dataRows(), 3);
    EXPECT_EQ(g.columns(), 3);
    EXPECT_EQ(g.rowCells(0), kHeaders);
    EXPECT_EQ(g.rowCells(1), (QStringList{"1", "one", "a"}));
    EXPECT_EQ(g.rowCells(2), (QStringList{"2", "", ""}));
    EXPECT_EQ(g.rowCells(3), (QStringList{"", "", ""}));
    EXPECT_EQ(g.currentRow(), 0);
    EXPECT_EQ(g.sortColumn(), -1);
    EXPECT_EQ(g.cell(4, 0), "");
}

struct SortCase {
    const char* name;
    std::vector<int> clicks;
    int col;  // the column to look at
    QStringList order;
    QStringList headers;
};
void PrintTo(const SortCase& c, std::ostream* os) {
    *os << c.name;
}

class SortMarkers : public ::testing::TestWithParam<SortCase> {};

TEST_P(SortMarkers, SortAndMarkTheClickedColumn) {
    SortableGrid g;
    g.load(kHeaders, rows());
    for (int col : GetParam().clicks) g.SortByColumn(col);
    EXPECT_EQ(column(g, GetParam().col), GetParam().order);
    EXPECT_EQ(headers(g), GetParam().headers);
    EXPECT_EQ(g.currentRow(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Clicks, SortMarkers,
    ::testing::Values(SortCase{"NumbersAscending",
                               {0},
                               0,
                               {"0005", "0007", "0012", "0100", "12345"},
                               {"> Ext #", "Ext Name", "Dept #"}},
                      SortCase{"SameHeaderAgainDescending",
                               {0, 0},
                               0,
                               {"12345", "0100", "0012", "0007", "0005"},
                               {"< Ext #", "Ext Name", "Dept #"}},
                      SortCase{"ThirdClickAscendingAgain",
                               {0, 0, 0},
                               0,
                               {"0005", "0007", "0012", "0100", "12345"},
                               {"> Ext #", "Ext Name", "Dept #"}},
                      // Without regard to case, then by case; equal names keep their order.
                      SortCase{"TextMovesTheMarker",
                               {0, 0, 1},
                               1,
                               {"Alice", "alice", "bob", "bob", "Carl"},
                               {"Ext #", "> Ext Name", "Dept #"}},
                      SortCase{"TiesKeepTheirOrder",
                               {1},
                               0,
                               {"0005", "12345", "0012", "0007", "0100"},
                               {"Ext #", "> Ext Name", "Dept #"}},
                      SortCase{"TiesKeepTheirOrderDescending",
                               {1, 1},
                               0,
                               {"0100", "0012", "0007", "12345", "0005"},
                               {"Ext #", "< Ext Name", "Dept #"}},
                      // One cell that is no number makes the whole column text: "100" before "9".
                      SortCase{"AColumnWithTextSortsAsText",
                               {2},
                               2,
                               {"", "100", "100", "9", "x"},
                               {"Ext #", "Ext Name", "> Dept #"}}));

TEST(SortableGrid, EmptyCellsOfANumberColumnComeFirst) {
    SortableGrid g;
    g.load({"N"}, {{"10"}, {""}, {"9"}, {"-2.5"}});
    g.SortByColumn(0);
    EXPECT_EQ(column(g, 0), (QStringList{"", "-2.5", "9", "10"}));
}

TEST(SortableGrid, AHeaderClickSortsAndAnyLoadClearsTheMarker) {
    SortableGrid g;
    g.resize(400, 300);
    g.show();
    g.load(kHeaders, rows());
    QHeaderView* header = g.horizontalHeader();
    const QPoint second(header->sectionViewportPosition(1) + 5, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, second);
    EXPECT_EQ(headers(g), (QStringList{"Ext #", "> Ext Name", "Dept #"}));
    g.setCurrentRow(3);
    EXPECT_EQ(g.currentRow(), 3);
    g.load(kHeaders, rows());
    EXPECT_EQ(headers(g), kHeaders);
    EXPECT_EQ(g.cell(1, 0), "0012");
    EXPECT_EQ(g.sortColumn(), -1);
    EXPECT_EQ(g.currentRow(), 0);

    g.setSortable(false);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, second);
    EXPECT_EQ(headers(g), kHeaders);
}

TEST(SortableGrid, ADoubleClickNamesItsRow) {
    SortableGrid g;
    g.resize(400, 300);
    g.show();
    g.load(kHeaders, rows());
    QSignalSpy spy(&g, &SortableGrid::rowDoubleClicked);
    const QRect third = g.visualRect(g.model()->index(2, 1));
    QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, third.center());
    QTest::mouseDClick(g.viewport(), Qt::LeftButton, {}, third.center());
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 3);
}

TEST(SortableGrid, TicksStayWithTheirRows) {
    SortableGrid g;
    g.load(kHeaders, rows());
    g.setTickColumn(0);
    g.setTicked(2, true);  // 0005
    EXPECT_TRUE(g.isTicked(2));
    g.SortByColumn(1);  // Alice (0005), alice, bob, bob, Carl
    EXPECT_EQ(g.cell(1, 0), "0005");
    EXPECT_TRUE(g.isTicked(1));
    EXPECT_FALSE(g.isTicked(2));
    EXPECT_EQ(g.model()->index(0, 0).data(Qt::CheckStateRole).toInt(), Qt::Checked);
    g.load(kHeaders, rows());
    EXPECT_FALSE(g.isTicked(2));
}

// The price lists carry values in hidden columns and find a row's line after a sort.
TEST(SortableGrid, HiddenColumnsAndEachRowsPlaceOutliveSortsAndLoads) {
    SortableGrid g;
    g.setHiddenColumns({2});
    g.load(kHeaders, rows());
    EXPECT_TRUE(g.isColumnHidden(2));
    EXPECT_FALSE(g.isColumnHidden(1));
    g.SortByColumn(0);
    EXPECT_TRUE(g.isColumnHidden(2));
    EXPECT_EQ(g.cell(1, 0), "0005");
    EXPECT_EQ(g.sourceIndex(1), 1);
    EXPECT_EQ(g.sourceIndex(5), 2);  // 12345
    EXPECT_EQ(g.sourceIndex(0), -1);
    EXPECT_EQ(g.sourceIndex(6), -1);
    g.load(kHeaders, rows());
    EXPECT_TRUE(g.isColumnHidden(2));
    EXPECT_EQ(g.sourceIndex(1), 0);
    g.setHiddenColumns({});
    EXPECT_FALSE(g.isColumnHidden(2));
}

// The backup lists: a tick column of empty cells in front of the data.
TEST(SortableGrid, AClickInTheTickColumnTurnsTheTickAndOtherColumnsDoNot) {
    SortableGrid g;
    g.resize(600, 300);
    g.load({"Select", "File Name "}, {{"", "b.tar.gz"}, {"", "a.tar.gz"}});
    g.setTickColumn(0);
    g.show();
    const auto click = [&](int row, int col) {
        QTest::mouseClick(g.viewport(), Qt::LeftButton, {},
                          g.visualRect(g.model()->index(row, col)).center());
    };
    click(0, 0);
    EXPECT_EQ(g.tickedRows(), QList<int>{1});
    click(0, 0);
    EXPECT_TRUE(g.tickedRows().isEmpty());
    click(1, 1);
    EXPECT_TRUE(g.tickedRows().isEmpty());
    EXPECT_EQ(g.currentRow(), 2);
    QTest::keyClick(&g, Qt::Key_Space);
    EXPECT_EQ(g.tickedRows(), QList<int>{2});
}

TEST(SortableGrid, TheTickColumnSortsByItsTicksAndTheTicksFollowTheirRows) {
    SortableGrid g;
    g.load({"Select", "File Name "}, {{"", "c"}, {"", "a"}, {"", "b"}, {"", "d"}});
    g.setTickColumn(0);
    g.setTicked(1, true);  // c
    g.setTicked(3, true);  // b
    g.SortByColumn(0);
    EXPECT_EQ(column(g, 1), (QStringList{"a", "d", "c", "b"}));
    EXPECT_EQ(g.tickedRows(), (QList<int>{3, 4}));
    EXPECT_EQ(g.headerText(0), "> Select");
    g.SortByColumn(0);
    EXPECT_EQ(column(g, 1), (QStringList{"c", "b", "a", "d"}));
    EXPECT_EQ(g.tickedRows(), (QList<int>{1, 2}));
    g.SortByColumn(1);
    EXPECT_EQ(column(g, 1), (QStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(g.tickedRows(), (QList<int>{2, 3}));
}

TEST(SortableGrid, TheExportsReadItAsItIsSortedMarkerIncluded) {
    SortableGrid g;
    g.load(kHeaders, rows());
    g.setColumnHidden(2, true);
    g.SortByColumn(0);
    g.SortByColumn(0);
    EXPECT_EQ(g.Rows(), 6);
    EXPECT_EQ(g.Cols(), 3);
    EXPECT_EQ(csvExportBytes(g),
              "< Ext #,Ext Name,Dept #\r\n12345,alice,x\r\n0100,Carl,\r\n0012,bob,100\r\n"
              "0007,bob,100\r\n0005,Alice,9\r\n");
}

TEST(TypedLengthLimit, RefusesTypingBeyondTheLimitButKeepsALongerTextPutThere) {
    QLineEdit box;
    limitTypedLength(&box, 5);
    QTest::keyClicks(&box, "abcdefg");
    EXPECT_EQ(box.text(), "abcde");
    box.setText("a longer stored name");
    EXPECT_EQ(box.text(), "a longer stored name");
    box.setCursorPosition(box.text().size());
    QTest::keyClick(&box, Qt::Key_X);
    EXPECT_EQ(box.text(), "a longer stored name");
    QTest::keyClick(&box, Qt::Key_Backspace);
    EXPECT_EQ(box.text(), "a longer stored nam");
    box.clear();
    QTest::keyClicks(&box, "123456");
    EXPECT_EQ(box.text(), "12345");
}

// A paste that would pass the limit keeps the first characters that fit where it lands.
TEST(TypedLengthLimit, APasteLongerThanTheRoomKeepsItsFirstCharacters) {
    struct Case {
        const char* before;
        int selectFrom, selectLength;  // the caret alone where the length is 0
        const char* pasted;
        const char* after;
        int caret;
    };
    const Case cases[] = {
        {"", 0, 0, "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123", "ABCDEFGHIJKLMNOPQRSTUVWXY", 25},
        {"name", 4, 0, " and a much longer tail of text", "name and a much longer ta", 25},
        {"start end", 6, 0, "0123456789012345678901234", "start 0123456789012345end", 22},
        {"abcdefghijklmnopqrstuvwxy", 5, 0, "more", "abcdefghijklmnopqrstuvwxy", 5},
        {"keep this part", 5, 4, "0123456789abcdefghijklmnop", "keep 0123456789abcde part", 20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pasted);
        QLineEdit box;
        limitTypedLength(&box, 25);
        box.setText(QString::fromLatin1(c.before));
        if (c.selectLength > 0)
            box.setSelection(c.selectFrom, c.selectLength);
        else
            box.setCursorPosition(c.selectFrom);
        QApplication::clipboard()->setText(QString::fromLatin1(c.pasted));
        box.paste();
        EXPECT_EQ(box.text(), QString::fromLatin1(c.after));
        EXPECT_EQ(box.cursorPosition(), c.caret);
    }
}

}  // namespace
