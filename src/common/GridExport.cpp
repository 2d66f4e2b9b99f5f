#include "common/GridExport.h"

#include "common/ExcelFileV2.h"
#include "common/TextFormats.h"
#include "platform/DocumentViewer.h"
#include "platform/SaveFile.h"
#include "platform/TextCodec.h"

#include <QSaveFile>
#include <QVarLengthArray>

#include <charconv>

namespace quillon {

namespace {

bool writeWhole(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && platform::writeAndCommit(file, bytes);
}

bool writeAndOpen(const QString& path, const QByteArray& bytes) {
    if (!writeWhole(path, bytes)) return false;
    platform::DocumentViewer::instance().open(path);
    return true;
}

// Whether the text holds one of the characters; a plain scan, as the exports call it for every
// cell of tables of many thousand rows.
bool holdsAny(const QString& text, QStringView characters) {
    for (QChar c : text)
        if (characters.contains(c)) return true;
    return false;
}

QString csvCell(const QString& text) {
    if (!holdsAny(text, u",\"\r\n")) return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString htmlText(const QString& text) {
    if (!holdsAny(text, u"&<>")) return text;
    QString out = text;
    out.replace(QLatin1Char('&'), QStringLiteral("&amp;"));
    out.replace(QLatin1Char('<'), QStringLiteral("&lt;"));
    out.replace(QLatin1Char('>'), QStringLiteral("&gt;"));
    return out;
}

QStringList tabLines(const QString& text) {
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\t'));
}

}  // namespace

// ---- grids --------------------------------------------------------------------------------

MemoryGrid::MemoryGrid(QList<QStringList> rows, int fixedRows, int fixedCols)
    : m_rows(std::move(rows)), m_fixedRows(fixedRows), m_fixedCols(fixedCols) {
    for (const QStringList& row : m_rows) m_cols = std::max(m_cols, int(row.size()));
}

QString MemoryGrid::TextMatrix(int row, int col) const {
    if (row < 0 || row >= m_rows.size()) return {};
    return m_rows.at(row).value(col);
}

void MemoryGrid::addRow(const QStringList& cells) {
    m_rows << cells;
    m_cols = std::max(m_cols, int(cells.size()));
}

// ---- file contents ------------------------------------------------------------------------

// The exports build each row as text and convert it at once, so a table of many thousand rows
// is never held twice.
QByteArray csvExportBytes(const GridSource& grid) {
    QByteArray out;
    QString line;
    const int rows = grid.Rows();
    for (int r = 0; r < rows; ++r) {
        line.clear();
        const int cols = grid.Cols();
        for (int c = 0; c < cols; ++c) {
            if (c > 0) line += QLatin1Char(',');
            line += csvCell(grid.TextMatrix(r, c));
        }
        line += kCrLf;
        platform::appendCp1252(out, line);
    }
    return out;
}

QByteArray htmlExportBytes(const GridSource& grid, const QString& title) {
    QByteArray out;
    QString row = QStringLiteral("<HTML><HEAD><TITLE>") + htmlText(title) +
                  QStringLiteral("</TITLE></HEAD><BODY TEXT=#000000><CENTER>") + kCrLf +
                  QStringLiteral("<TABLE BORDER=1 BGCOLOR=#C0C0C0 CELLPADDING=5 text=#000000>") +
                  kCrLf;
    const int rows = grid.Rows();
    out.reserve(qsizetype(rows) * qMax(1, grid.Cols()) * 20);
    const auto cell = [&row](QStringView open, const QString& text, QStringView close) {
        row += open;
        row += htmlText(text);
        row += close;
    };
    row += u"<TR>\r\n";
    // A grid without rows has no heading row to show: the heading is left empty.
    if (rows > 0) {
        const int cols = grid.Cols();
        for (int c = 0; c < cols; ++c) cell(u"  <TH>", grid.TextMatrix(0, c), u"</TH>\r\n");
    }
    row += u"</TR>\r\n";
    platform::appendCp1252(out, row);
    for (int r = 1; r < rows; ++r) {
        row.clear();
        row += u"<TR>\r\n";
        const int cols = grid.Cols();
        for (int c = 0; c < cols; ++c) cell(u"  <TD>", grid.TextMatrix(r, c), u"</TD>\r\n");
        row += u"</TR>\r\n";
        platform::appendCp1252(out, row);
    }
    platform::appendCp1252(out, QStringLiteral("</TABLE>") + kCrLf +
                                    QStringLiteral("</CENTER></BODY></HTML>") + kCrLf);
    return out;
}

namespace {
// [+-]?(digits[.digits?]|.digits)([eE][+-]?digits)? over the whole text, ASCII digits.
bool isPlainNumber(QStringView t) {
    qsizetype i = 0;
    const qsizetype n = t.size();
    const auto digits = [&] {
        const qsizetype from = i;
        while (i < n && t[i] >= u'0' && t[i] <= u'9') ++i;
        return i - from;
    };
    if (i < n && (t[i] == u'+' || t[i] == u'-')) ++i;
    qsizetype mantissa = digits();
    if (i < n && t[i] == u'.') {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0) return false;
    if (i < n && (t[i] == u'e' || t[i] == u'E')) {
        ++i;
        if (i < n && (t[i] == u'+' || t[i] == u'-')) ++i;
        if (digits() == 0) return false;
    }
    return i == n;
}
}  // namespace

bool IsNumericCell(const QString& text, double* value) {
    const QStringView t = QStringView(text).trimmed();
    if (!isPlainNumber(t)) return false;
    // ASCII only from here, and from_chars reads it without a locale or an allocation.
    QVarLengthArray<char, 64> ascii;
    for (QChar c : t.startsWith(u'+') ? t.mid(1) : t) ascii.append(char(c.unicode()));
    double v = 0;
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), v);
    // Out of the double's range (over or under): kept as text.
    if (error != std::errc() || end != ascii.data() + ascii.size()) return false;
    if (value) *value = v;
    return true;
}

// ---- exports ------------------------------------------------------------------------------

bool ExportGridToCsv(const QString& path, const GridSource& grid) {
    return writeAndOpen(path, csvExportBytes(grid));
}

bool ExportGridToHtml(const GridSource& grid, const QString& path, const QString& title) {
    return writeAndOpen(path, htmlExportBytes(grid, title));
}

bool ExportGridToExcel(const GridSource& grid, const QString& path, const QString& text1,
                       const QString& text2) {
    const QStringList above = tabLines(text1);
    const QStringList below = tabLines(text2);
    const int n = static_cast<int>(above.size());
    const int rows = grid.Rows();
    const int cols = grid.Cols();
    const int fixedRows = grid.FixedRows();
    const int fixedCols = grid.FixedCols();
    // Beyond the 16-bit row numbers the file cannot hold the table: nothing is written.
    if (qint64(rows) + n + below.size() > ExcelFileV2::kMaxRows) return false;

    ExcelFileV2 xls;
    if (!xls.OpenFile(path)) return false;
    for (int i = 1; i <= n; ++i) xls.EWriteString(i, 1, above.at(i - 1));
    for (int r = 1; r <= fixedRows && r <= rows; ++r) {
        for (int c = 1; c <= cols; ++c) xls.EWriteString(n + r, c, grid.TextMatrix(r - 1, c - 1));
    }
    for (int r = fixedRows + 1; r <= rows; ++r) {
        for (int c = 1; c <= cols; ++c) {
            const QString text = grid.TextMatrix(r - 1, c - 1);
            double value = 0;
            if (c > fixedCols && IsNumericCell(text, &value))
                xls.EWriteDouble(n + r, c, value);
            else
                xls.EWriteString(n + r, c, text);
        }
    }
    for (int i = 0; i < below.size(); ++i) xls.EWriteString(rows + n + i + 1, 1, below.at(i));
    if (!xls.CloseFile()) return false;
    platform::DocumentViewer::instance().open(path);
    return true;
}

}  // namespace quillon
