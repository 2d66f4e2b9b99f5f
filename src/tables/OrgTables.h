#pragma once
// The four organisation tables the manager window shows (lines, extensions, departments,
// divisions): their files in the table mirror, columns, words and the forms that change them,
// and how a table file becomes the grid's rows.
#include <QList>
#include <QString>
#include <QStringList>

namespace quillon {

struct OrgTable {
    int index;       // the manager's option: 0 line, 1 extension, 2 department, 3 division
    QString option;  // the option's caption
    QString file;    // in the site's Bats folder
    QStringList headers;
    QString word;      // in export names and titles: LINE, EXTENSION, ...
    QString gridName;  // in the log lines: Line, Extension, ...
    QString addForm;   // the windows that add and modify a row
    QString editForm;
    QString editLog;  // logged as the modify form opens
};

// Index 0 to 3; any other index is the division table's.
const OrgTable& orgTable(int index);

struct OrgRows {
    QList<QStringList> rows;  // in file order, the key formatted "000#"
    QString problem;          // for the user: a missing file; empty when it was read
};

// The rows of a table file: one per line that holds anything (CR LF or LF ends, Windows-1252),
// split as CSV, the first field formatted "000#" and the others as read; a short line gets
// empty cells, fields beyond the table's columns are not shown.
OrgRows readOrgRows(const QString& path, int columns);
// The table of the current site's mirror, its file found without regard to case.
OrgRows loadOrgRows(const OrgTable& table);

}  // namespace quillon
