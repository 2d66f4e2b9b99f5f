#include "common/GridExport.h"
#include "widgets/ListFind.h"
#include "widgets/TableWidgetGrid.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QListWidget>
#include <QTableWidget>

using namespace quillon;

namespace {

// ---- list and combo search -----------------------------------------------------------------

struct FindCase {
    const char* text;
    bool exact;
    int index;
};

TEST(FindStringTest, ComboAndListFindTheFirstMatchWithoutRegardToCase) {
    const QStringList items{"North", "north wing", "South", "Nor", "SOUTH"};
    QComboBox combo;
    combo.addItems(items);
    QListWidget list;
    list.addItems(items);
    const FindCase cases[] = {
        {"north", true, 0}, {"NORTH WING", true, 1}, {"nor", true, 3},      {"south", true, 2},
        {"Sou", true, -1},  {"NOR", false, 0},       {"north w", false, 1}, {"so", false, 2},
        {"x", false, -1},   {"Northern", false, -1}, {"", true, -1},
    };
    for (const FindCase& c : cases) {
        EXPECT_EQ(ComboFindString(&combo, QString::fromLatin1(c.text), c.exact), c.index)
            << c.text << " exact " << c.exact;
        EXPECT_EQ(ListFindString(&list, QString::fromLatin1(c.text), c.exact), c.index)
            << c.text << " exact " << c.exact;
    }
    QComboBox emptyCombo;
    QListWidget emptyList;
    EXPECT_EQ(ComboFindString(&emptyCombo, QStringLiteral("a"), false), -1);
    EXPECT_EQ(ListFindString(&emptyList, QStringLiteral("a"), true), -1);
    EXPECT_EQ(ComboFindString(nullptr, QStringLiteral("a"), false), -1);
}

TEST(GridExportTableWidget, HeaderIsRowZeroAndMissingItemsAreEmpty) {
    QTableWidget table(2, 3);
    table.setHorizontalHeaderLabels(
        {QStringLiteral("Key"), QStringLiteral("Name"), QStringLiteral("Dept")});
    table.setItem(0, 0, new QTableWidgetItem(QStringLiteral("0001")));
    table.setItem(0, 1, new QTableWidgetItem(QStringLiteral("North")));
    table.setItem(1, 2, new QTableWidgetItem(QStringLiteral("12")));

    const TableWidgetGrid grid(&table, /*withHeader=*/true, 0, /*fixedCols=*/1);
    EXPECT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.Cols(), 3);
    EXPECT_EQ(grid.FixedRows(), 1);
    EXPECT_EQ(grid.FixedCols(), 1);
    EXPECT_EQ(csvExportBytes(grid), "Key,Name,Dept\r\n0001,North,\r\n,,12\r\n");

    const TableWidgetGrid bare(&table, /*withHeader=*/false);
    EXPECT_EQ(csvExportBytes(bare), "0001,North,\r\n,,12\r\n");
    EXPECT_EQ(bare.FixedRows(), 0);
}

}  // namespace
