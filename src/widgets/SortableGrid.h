#pragma once
// The grid of the list windows (the manager's tables, the price lists, the backup lists): a
// header row and data rows of text, numbered as the system numbers them (row 0 the header, the
// data from 1). A click on a header sorts by that column — numbers as numbers when every cell
// of the column is one, otherwise text — ascending first, descending on the next click of the
// same column, and marks the header "> " or "< "; any load clears the marker. Hidden columns
// (values a window needs and the user does not see) stay hidden through loads and sorts, and
// each row knows its place in the list it was loaded from. The grid is also what the exports
// read (common/GridExport.h), as it is sorted, the marker included.
#include "common/GridExport.h"

#include <QList>
#include <QStringList>
#include <QTableView>

namespace quillon {

class SortableGridModel;

class SortableGrid : public QTableView, public GridSource {
    Q_OBJECT
public:
    explicit SortableGrid(QWidget* parent = nullptr);
    ~SortableGrid() override;

    // Shows these rows under these headers, in the order given: each row cut or padded with
    // empty cells to the headers' count. No sort marker; no data row is current; ticks off.
    void load(const QStringList& headers, QList<QStringList> rows);
    void clear();

    // Data rows (the header row not counted), and the texts by the system's row numbers.
    int dataRows() const;
    int columns() const;
    QString cell(int row, int col) const;
    QStringList rowCells(int row) const;
    QString headerText(int col) const;
    // The index in the loaded list of the row now shown as `row` (sorts move rows); -1 for the
    // header row and rows that do not exist.
    int sourceIndex(int row) const;

    // Columns that are never shown (nor sized, nor clickable), kept through every load and sort.
    void setHiddenColumns(const QList<int>& cols);

    // The row the user is on: 1 or more for a data row, 0 for the header row (after a load or a
    // sort, and while no data row has been chosen).
    int currentRow() const;
    void setCurrentRow(int row);

    // The header click: sorts the data rows by `col` (see above) and makes the header row
    // current. Ties keep their order.
    void SortByColumn(int col);
    int sortColumn() const { return m_sortCol; }  // -1 when no header carries the marker
    // Whether a header click sorts (on by default).
    void setSortable(bool sortable) { m_sortable = sortable; }

    // A column whose cells carry a tick box each (the backup lists); -1 for none. A click on a
    // cell of the column (or Space on the current row) turns its tick; a header click on it
    // sorts by the ticks, the rows not ticked first; ticks move with their rows in every sort.
    void setTickColumn(int col);
    bool isTicked(int row) const;
    void setTicked(int row, bool ticked);
    // The ticked rows, top to bottom as shown.
    QList<int> tickedRows() const;

    // Column widths for the texts, the window fitted around the grid.
    void AutoSizeGrid();

    // What the exports read: the header row and the data rows as they are shown now.
    int Rows() const override { return dataRows() + 1; }
    int Cols() const override { return columns(); }
    int FixedRows() const override { return 1; }
    int FixedCols() const override { return 0; }
    QString TextMatrix(int row, int col) const override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

signals:
    // A double click on a data row (its number); the header row gives none.
    void rowDoubleClicked(int row);

private:
    void applyHiddenColumns();

    SortableGridModel* m_model;
    QList<int> m_hidden;
    int m_sortCol = -1;
    int m_sortOrder = 1;
    bool m_sortable = true;
};

}  // namespace quillon
