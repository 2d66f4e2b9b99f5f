#pragma once
// The sixteen numbered report entries of the main window and the naming of a fetched report:
// the entries' commands and local file names, the proposed dated name, and the save dialog
// that moves a fetched file into the site's Download/reports folder.
#include "common/SiteContext.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <array>

namespace quillon {

class ReportTable {
public:
    static constexpr int kFirst = 1;
    static constexpr int kLast = 16;

    // Entry 1 holds the telnet command; 2 to 16 a script command that only marks the entry as
    // configured. Index 0 is never filled.
    std::array<QString, kLast + 1> sBatPath;
    // The local name of the fetched report; names joined by "|" for an entry of several.
    std::array<QString, kLast + 1> sRepFile;

    // Fills entry iRepNum. False (and nothing changed) when it is not between 1 and 16.
    bool fill(int iRepNum);
    void fillAll();
    bool isFilled() const;
    void clear();

    // True when iRepNum is an entry of the table with a command.
    bool isConfigured(int iRepNum) const;
    // The entry's local report file name; "telnet" for 1; "" outside 1 to 16.
    QString getReportName(int iRepNum) const;
    // The entry's names, in order (one for a plain entry).
    QStringList reportNames(int iRepNum) const;
};

// The main window's table: it lives as long as the program.
ReportTable& reportTable();

// Fills entry iRepNum of the main window's table, as the main window's load does for 1 to 16;
// a number outside the table is told to the user. sIniFile is not read.
void getBatPath(int iRepNum, const QString& sIniFile = QString());
QString getReportName(int iRepNum);

// "mm-dd_hh-mm_" + the fetched name less its last four characters + ".rtf".
QString proposedReportName(const QString& fetchedName, const QDateTime& when);

// Removes every file of the folder whose name is `name` in any letter case, so that no copy
// from an earlier run can pass for the file about to be fetched.
void removeEverySpelling(const QString& folder, const QString& name);

// Names the fetched file through the save dialog and moves it there. A chosen name that
// exists already is told to the user ("File already exist please rename file.") and asked for
// again until it is free or the user cancels.
struct SavedReport {
    enum Outcome {
        Saved,      // the file was moved to path
        Cancelled,  // the user cancelled; the fetched file is deleted
        Failed,     // the move failed; the fetched file stays, error says why
    } outcome = Failed;
    QString path;
    QString error;
};
SavedReport saveFetchedReport(const QString& fetchedPath, const QString& reportsFolder,
                              const QString& proposedName);

}  // namespace quillon
