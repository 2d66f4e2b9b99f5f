#pragma once
// Writes the table shown in a grid to a CSV, HTML or Excel (BIFF2) file and opens the file in
// the desktop's program for it. The caller chooses the path; these only write and open.
#include <QList>
#include <QString>
#include <QStringList>

namespace quillon {

// What the exports read of a grid; counts and indexes are 0-based.
struct GridSource {
    virtual ~GridSource() = default;
    virtual int Rows() const = 0;
    virtual int Cols() const = 0;
    // Heading rows at the top and heading columns at the left.
    virtual int FixedRows() const = 0;
    virtual int FixedCols() const = 0;
    virtual QString TextMatrix(int row, int col) const = 0;
};

// A grid held in memory: one string list per row; a short row reads as empty cells.
class MemoryGrid : public GridSource {
public:
    MemoryGrid() = default;
    MemoryGrid(QList<QStringList> rows, int fixedRows = 1, int fixedCols = 0);

    int Rows() const override { return static_cast<int>(m_rows.size()); }
    int Cols() const override { return m_cols; }
    int FixedRows() const override { return m_fixedRows; }
    int FixedCols() const override { return m_fixedCols; }
    QString TextMatrix(int row, int col) const override;

    void addRow(const QStringList& cells);

private:
    QList<QStringList> m_rows;
    int m_cols = 0;
    int m_fixedRows = 1;
    int m_fixedCols = 0;
};

// Each writes the file whole (an existing one is replaced only once the new one is complete)
// and then opens it through platform::DocumentViewer. False, with nothing opened, when the file
// could not be written. Text files are Windows-1252 with CR LF line ends.

// One line per row, cells joined by ","; a cell holding a comma, a double quote, CR or LF is
// quoted with its quotes doubled, so it stays one field.
bool ExportGridToCsv(const QString& path, const GridSource& grid);
// One table: row 0 as the heading row, the other rows as body rows; "&", "<" and ">" in the
// cells and the title are written as entities.
bool ExportGridToHtml(const GridSource& grid, const QString& path, const QString& title);
// text1: lines above the table, text2: lines below it, each separated by tab characters.
bool ExportGridToExcel(const GridSource& grid, const QString& path, const QString& text1,
                       const QString& text2);

// The three file contents, for the exports and their tests.
QByteArray csvExportBytes(const GridSource& grid);
QByteArray htmlExportBytes(const GridSource& grid, const QString& title);

// The numeric test of the Excel body cells, by the C locale's rules whatever the user's
// language: optional blanks around an optional sign, digits with an optional decimal point
// and an optional exponent ("0001", "-2.5", ".5", "1e3"). On success `value` holds the number.
bool IsNumericCell(const QString& text, double* value);

}  // namespace quillon
