#pragma once
// The shared module helpers every window calls: date and computer name, the debug log, list
// search, CSV line splitting, file checks and line-end conversion.
#include <QString>
#include <QStringList>

class QDateTime;

namespace quillon {

// <program folder>/KTReports.ini. The name is spelled exactly so, as every window that writes
// a key writes it there.
QString configurationFilePath();
// A positive whole number of seconds in [Sites] <key> of KTReports.ini (read afresh), else
// defaultSeconds: the deadlines of our own keys.
int configuredSeconds(const QString& key, int defaultSeconds);

// Today's date as "mm/dd/yyyy".
QString TodayString();
// The computer's name as it goes into server file names; never empty.
QString GetPCName();

// A debug-log time as "mmm-dd-yy hh:mm:ss" (English month, 24-hour clock), e.g.
// "Dec-09-08 14:05:33"; for every log the program writes in this form.
QString LogTimeStamp(const QDateTime& when);

// Stores the path; when debug mode is on, truncates the file and writes "OPENED".
// Returns G().g_DebugMode. The caller creates the folder first.
bool OpenDebugLog(const QString& path);
// Appends "mmm-dd-yy hh:mm:ss <message>" CR LF when debug mode is on; nothing otherwise.
void WriteDebugLog(const QString& message);

// The first item that matches text without regard to case (exact: whole item; otherwise an
// item that begins with text), or -1. The list and combo searches use it.
int findItemText(const QStringList& items, const QString& text, bool exact);

// Splits one CSV line by the system's own rules (see the tests); returns the fields.
QStringList SplitCsvLine(const QString& line);
QString StripNulls(const QString& text);

// True when the file exists, its name (and its folders) matched without regard to case (an
// exact spelling wins).
// With an empty path: whether the folder can be listed.
bool FileExists(const QString& path, const QString& folder = QString());
// Deletes the file (found as FileExists finds it) when it exists.
void DeleteFileIfExists(const QString& path);
// There is no registry here: both answer "Not Found".
QString RegReadString(const QString& rootKey, const QString& subKey, const QString& valueName);
QString GetProgramFilesDir();

// Copies an LF-ended text file to target with CR LF line ends; a last line without LF is kept
// (ended with CR LF). A missing source leaves the target as it is (and is no failure). False,
// with the target as it was, when the source cannot be read or the target cannot be written.
bool ConvertUnixFile(const QString& source, const QString& target);

// Splits a text file's content into its lines (CR LF, LF or CR ends); a last line without an
// end counts, an empty content has no lines.
QStringList splitTextLines(const QString& content);

}  // namespace quillon
