#pragma once
// Backups of a site's call tables: the archive names, the one-line info record kept beside each
// archive, the listing (every record of the backup folder in one file) as the lists show it,
// the disk-space lines, and the server steps of making, restoring and deleting a backup as
// data, so that their lines are tested without a window.
#include "remote/ServerSteps.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace quillon {

// The 20 table files a backup holds, in the order of the copy line.
const QStringList& backupTables();

// <hhmmss>_<mmddyy>_<PC>.tar.gz: the only names the backup windows pass to the server or make
// a local path of. The PC part is letters, digits, _ and -, so the name is one plain word for
// the shell and a file name without a folder.
bool isBackupArchiveName(const QString& name);
// The final name of a backup finished at `when` (the computer's clock) on computer `pc`.
QString backupArchiveName(const QDateTime& when, const QString& pc);
// Seconds after `when` a backup's name may move on to find a free one.
inline constexpr int kBackupNameTries = 60;
// The first name of `when`, `when` + 1 s, ... that `taken` does not refuse (the clock set back
// gives a name again); empty when none of kBackupNameTries is free.
QString freeBackupArchiveName(const QDateTime& when, const QString& pc,
                              const std::function<bool(const QString&)>& taken);
// The name the server's own date gives the archive while it is made: <mmddyy><PC>.tar.gz.
bool isProvisionalArchiveName(const QString& name, const QString& pc);

// A computer name that may stand in the server's file names unquoted (see GetPCName).
bool isPlainComputerName(const QString& pc);

// "A" (all calls in the system) or "P" (a date range).
inline const QString kBackupAll = QStringLiteral("A");
inline const QString kBackupRange = QStringLiteral("P");

// The info record, one line of six comma-separated fields.
struct BackupInfoRecord {
    QString fileName;
    QString createdDate;  // the computer's short date text
    QString backType;     // "A" or "P"
    QString startDate;    // MM/DD/YY
    QString endDate;      // MM/DD/YY
    QString machine;
    // The line as the record file holds it (without its line feed).
    QString line() const;
};

// "MM/DD/YY" of a picker's date.
QString backupPickerDate(const QDate& date);
// The created-date field: M/d/yyyy (12/9/2008), whatever the computer's locale.
QString backupCreatedDate(const QDate& date);

// The cells of a list row: fields 0 to 5, type "A" shown as "All Calls" with an empty start
// date, any other type as "Between" with both dates.
QStringList BackupListRow(const BackupInfoRecord& record);
// Column titles of the restore list, and of the ticked lists (with "Select" in front).
const QStringList& restoreListTitles();
QStringList tickListTitles(const QString& lastTitle);

// restore.txt as read on this computer. A line of fewer than six fields (a blank line among
// them) is skipped; a record whose name is not an archive name is kept out of the list and
// named in `refused`, so no such name ever reaches a shell line or a local path. Records run
// together (a record file without its final line feed) are each a record; any other line of
// more than six fields is kept out and held in `tooManyFields`.
struct BackupListing {
    bool present = false;  // the file was on this computer
    QList<BackupInfoRecord> records;
    QStringList refused;
    QStringList tooManyFields;
    int shortLines = 0;
};
BackupListing parseBackupListing(const QStringList& lines);
BackupListing readBackupListing(const QString& path);
// What the user hears about records the list leaves out; empty when there are none.
QString refusedRecordsText(const BackupListing& listing);

// One line of diskspace.txt: trimmed, each two blanks a comma, the last 13 characters dropped,
// split at commas; piece 0 is the disk's size and piece 2 the space remaining. A line too short
// for that (or of fewer than three pieces) gives nothing.
struct DiskSpace {
    QString size;
    QString remaining;
};
std::optional<DiskSpace> parseDiskSpaceLine(const QString& line);

// ---- the server steps -----------------------------------------------------------------------

// Seconds the long backup and restore steps (the server's programs, tar, gzip) may run.
int backupStepTimeoutSec();

// "./CALL_PUT5 " for all calls (its trailing blank kept), or with the two dates.
QString callPutCommand(const QString& type, const QDate& start, const QDate& end);

// Making a backup, in the site folder `home`: the call file, the scratch folder, the pack.
QList<ServerStep> backupPackSteps(const QString& home, const QString& callPut, const QString& pc);
// The line that names the packed archive in the scratch folder.
inline const QString kListPackedArchive = QStringLiteral("ls *.tar.gz");
// Moving it into the backup folder.
ServerStep backupMoveStep(const QString& home);
// In the backup folder: the check that nothing holds the final name or its record yet, the
// final name and the info record (kRecordNameSteps of them up to the rename).
inline constexpr int kRecordNameSteps = 2;
QList<ServerStep> backupRecordSteps(const QString& provisional, const BackupInfoRecord& record);

// Restoring archive `name` (an archive name) in the backup folder, as computer `pc` and login
// `login`. From its step kRemoveTablesLine on, the backup folder's tables may be gone.
inline const QString kRemoveTablesLine = QStringLiteral("sudo rm -f *.db *.DAT");
QList<ServerStep> restoreSteps(const QString& name, const QString& pc, const QString& login);

// The line that lists the backup folder from elsewhere (the scratch folder), one name a line.
QString backupFolderListLine(const QString& home);

// The line that writes the listing, and what its reply means: empty when the listing was
// written (also when there is no record, which cat tells); else what the server said, for the
// user, when the listing could not be written (a refused redirection keeps the old one).
inline const QString kListingLine = QStringLiteral("cat *.info >restore.txt");
QString listingWriteProblem(const QString& reply);

// The listing lines, in the backup folder; with the disk-space lines for the delete window.
QStringList listingLines(const QString& login, bool withDiskSpace);

// Deleting archive `name` and its record, in the backup folder.
QList<ServerStep> deleteSteps(const QString& name);
// The line that lists the backup folder afterwards, one name a line.
inline const QString kListBackupFolder = QStringLiteral("ls -1");

// A login as one word for a shell line: as it is when it is a plain account name, else quoted.
QString loginWord(const QString& login);

}  // namespace quillon
