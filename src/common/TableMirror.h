#pragma once
// The local copies of the server's 13 tables: <table>.csv (CR LF lines) and the fetched
// <table>unix.csv in the site's Bats folder. The pull itself is RefreshSiteTables
// (remote/TablePull.h).
#include <QList>
#include <QString>
#include <QStringList>

namespace quillon {

// The 13 tables in the order in which they are pulled.
const QStringList& mirrorTables();

// programFolder/<site name>/Bats, with the spelling of folders that already exist (sitePath:
// empty for a name that cannot name a folder).
QString siteTableFolder(const QString& siteName);
// A file of that folder ("ext.csv"), found without regard to case; as named when missing.
QString siteTableFile(const QString& siteName, const QString& fileName);
// What the user is told when a window finds a table file missing.
QString missingTableText(const QString& fileName);

// The records of a mirror table file: one per line that holds anything (CR LF or LF ends,
// Windows-1252), split as CSV, every field as read, each cut or padded with empty fields to
// `columns`. *problem is missingTableText() when the file cannot be read, else empty.
QList<QStringList> readTableRecords(const QString& path, int columns, QString* problem);

struct TableMirrorResult {
    bool ok = false;
    QStringList missing;  // tables that left no working file
    QString error;        // why, for the caller to tell the user
    int code = 0;         // the SessionError of the failure that ended the pull; 0 when none did
};

}  // namespace quillon
