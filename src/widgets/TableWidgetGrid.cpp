#include "widgets/TableWidgetGrid.h"

#include <QTableWidget>

namespace quillon {

TableWidgetGrid::TableWidgetGrid(const QTableWidget* table, bool withHeader, int fixedRows,
                                 int fixedCols)
    : m_table(table), m_withHeader(withHeader), m_fixedRows(fixedRows), m_fixedCols(fixedCols) {}

int TableWidgetGrid::Rows() const {
    if (!m_table) return 0;
    return m_table->rowCount() + (m_withHeader ? 1 : 0);
}

int TableWidgetGrid::Cols() const {
    return m_table ? m_table->columnCount() : 0;
}

QString TableWidgetGrid::TextMatrix(int row, int col) const {
    if (!m_table) return {};
    if (m_withHeader) {
        if (row == 0) {
            const QTableWidgetItem* item = m_table->horizontalHeaderItem(col);
            return item ? item->text() : QString();
        }
        --row;
    }
    const QTableWidgetItem* item = m_table->item(row, col);
    return item ? item->text() : QString();
}

}  // namespace quillon
