#pragma once
// A QTableWidget seen by the grid exports.
#include "common/GridExport.h"

class QTableWidget;

namespace quillon {

// A QTableWidget seen as a grid. With withHeader the horizontal header's texts are row 0 and
// count as one more heading row above `fixedRows` cell rows.
class TableWidgetGrid : public GridSource {
public:
    explicit TableWidgetGrid(const QTableWidget* table, bool withHeader = true, int fixedRows = 0,
                             int fixedCols = 0);

    int Rows() const override;
    int Cols() const override;
    int FixedRows() const override { return m_fixedRows + (m_withHeader ? 1 : 0); }
    int FixedCols() const override { return m_fixedCols; }
    QString TextMatrix(int row, int col) const override;

private:
    const QTableWidget* m_table;
    bool m_withHeader;
    int m_fixedRows;
    int m_fixedCols;
};

}  // namespace quillon
