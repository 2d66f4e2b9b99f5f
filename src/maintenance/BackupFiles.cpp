#include "maintenance/BackupFiles.h"

#include "common/CommonFunctions.h"
#include "common/ConfigNames.h"
#include "common/ShellQuote.h"
#include "platform/TextCodec.h"

#include <QFile>
#include <QLocale>
#include <QRegularExpression>

namespace quillon {

namespace {
const QString kArchiveEnd = QStringLiteral(".tar.gz");
const QString kPcChars = QStringLiteral("[A-Za-z0-9_-]+");
constexpr int kDefaultBackupStepTimeoutSec = 1800;
// Lines of diskspace.txt end in a tail of this many characters that the lists do not show.
constexpr int kDiskLineTail = 13;

// A deadline of 0 is the configured line deadline: only the long steps name their own.
ServerStep checked(const QString& line, const QString& what, int deadline = 0) {
    return {ServerStep::Kind::Checked, line, deadline, what};
}
// Ownership changes the server may not make (the stand-in has no group of the login's name).
ServerStep bestEffort(const QString& line) {
    return {ServerStep::Kind::BestEffort, line, 0, QStringLiteral("A step on the server failed")};
}
ServerStep folder(const QString& path, const QString& what) {
    return {ServerStep::Kind::Folder, path, 0, what};
}
}  // namespace

const QStringList& backupTables() {
    static const QStringList tables{
        QStringLiteral("ac.db"),      QStringLiteral("account.db"), QStringLiteral("block.db"),
        QStringLiteral("break.db"),   QStringLiteral("calc.db"),    QStringLiteral("cc.db"),
        QStringLiteral("div.db"),     QStringLiteral("dpt.db"),     QStringLiteral("ext.db"),
        QStringLiteral("holiday.db"), QStringLiteral("lc.db"),      QStringLiteral("ld.db"),
        QStringLiteral("line.db"),    QStringLiteral("lt.db"),      QStringLiteral("oa.db"),
        QStringLiteral("rate.db"),    QStringLiteral("site.db"),    QStringLiteral("sort.db"),
        QStringLiteral("sum.db"),     QStringLiteral("trunk.db")};
    return tables;
}

bool isBackupArchiveName(const QString& name) {
    // Anchored as a whole: "$" alone would let a final line feed through.
    static const QRegularExpression re(QRegularExpression::anchoredPattern(
        QStringLiteral("[0-9]{6}_[0-9]{6}_") + kPcChars + QStringLiteral("\\.tar\\.gz")));
    // Its record file is the name and ".info": both must fit in a file name, or the archive
    // could never be on the server and a deletion would stop half way.
    return name.size() + int(qstrlen(".info")) <= kMaxServerFileName && re.match(name).hasMatch();
}

bool isPlainComputerName(const QString& pc) {
    static const QRegularExpression re(
        QRegularExpression::anchoredPattern(QStringLiteral("[A-Za-z0-9][A-Za-z0-9_-]{0,31}")));
    return re.match(pc).hasMatch();
}

QString backupArchiveName(const QDateTime& when, const QString& pc) {
    return QLocale::c().toString(when, QStringLiteral("HHmmss_MMddyy")) + QLatin1Char('_') + pc +
           kArchiveEnd;
}

bool isProvisionalArchiveName(const QString& name, const QString& pc) {
    static const QRegularExpression digits(
        QRegularExpression::anchoredPattern(QStringLiteral("[0-9]{6}")));
    return isPlainComputerName(pc) && name.size() == 6 + pc.size() + kArchiveEnd.size() &&
           digits.match(name.left(6)).hasMatch() && name.mid(6, pc.size()) == pc &&
           name.endsWith(kArchiveEnd);
}

QString BackupInfoRecord::line() const {
    return QStringList{fileName, createdDate, backType, startDate, endDate, machine}.join(
        QLatin1Char(','));
}

QString backupPickerDate(const QDate& date) {
    return QLocale::c().toString(date, QStringLiteral("MM/dd/yy"));
}

QString backupCreatedDate(const QDate& date) {
    // One spelling whatever this computer's locale: a locale's own digits, words or separators
    // would not fit the record (or the line that writes it), and the lists read it as text.
    return QLocale::c().toString(date, QStringLiteral("M/d/yyyy"));
}

QStringList BackupListRow(const BackupInfoRecord& record) {
    const bool all = record.backType == kBackupAll;
    return {record.fileName,
            record.createdDate,
            all ? QStringLiteral("All Calls") : QStringLiteral("Between"),
            all ? QString() : record.startDate,
            record.endDate,
            record.machine};
}

const QStringList& restoreListTitles() {
    static const QStringList titles{
        QStringLiteral("File Name "), QStringLiteral("Created Date"),
        QStringLiteral("Back Type"),  QStringLiteral("Start Date"),
        QStringLiteral("End Date"),   QStringLiteral("Machine Name that created backup")};
    return titles;
}

QStringList tickListTitles(const QString& lastTitle) {
    QStringList titles = restoreListTitles();
    titles.last() = lastTitle;
    titles.prepend(QStringLiteral("Select"));
    return titles;
}

namespace {
// The computer part of an archive name; empty for another name.
QString archiveComputer(const QString& name) {
    if (!isBackupArchiveName(name)) return {};
    constexpr int kStampLength = 14;  // hhmmss_mmddyy_
    return name.mid(kStampLength, name.size() - kStampLength - kArchiveEnd.size());
}

// One field holding a record's machine and, run on, the next record's archive name: the two,
// or nothing when it does not split in exactly one way.
std::optional<std::pair<QString, QString>> splitMachineAndName(const QString& field,
                                                               const QString& machine) {
    if (!machine.isEmpty() && field.startsWith(machine) &&
        isBackupArchiveName(field.mid(machine.size())))
        return std::pair{machine, field.mid(machine.size())};
    std::optional<std::pair<QString, QString>> found;
    for (int at = 1; at < field.size(); ++at) {
        if (!isBackupArchiveName(field.mid(at))) continue;
        if (found) return std::nullopt;
        found = std::pair{field.left(at), field.mid(at)};
    }
    return found;
}

// `cat *.info` runs a record without its final line feed into the next: the last field of one
// and the first of the next share a field, so k records give 6 + 5(k-1) fields. The records,
// or nothing when the fields are not such a run.
std::optional<QList<QStringList>> recordsRunTogether(const QStringList& f) {
    constexpr int kFields = 6;
    if (f.size() <= kFields || (f.size() - kFields) % (kFields - 1) != 0) return std::nullopt;
    QList<QStringList> records;
    QStringList current = f.mid(0, kFields - 1);
    for (int i = kFields - 1; i < f.size() - 1; i += kFields - 1) {
        const auto split = splitMachineAndName(f.at(i), archiveComputer(current.first()));
        if (!split) return std::nullopt;
        current << split->first;
        records << current;
        current = QStringList{split->second} + f.mid(i + 1, kFields - 2);
    }
    current << f.last();
    records << current;
    return records;
}
}  // namespace

BackupListing parseBackupListing(const QStringList& lines) {
    BackupListing listing;
    listing.present = true;
    for (const QString& line : lines) {
        const QStringList f = SplitCsvLine(line);
        if (f.size() < 6) {
            ++listing.shortLines;
            continue;
        }
        QList<QStringList> records{f};
        if (f.size() > 6) {
            const auto run = recordsRunTogether(f);
            if (!run) {
                listing.tooManyFields << line;
                continue;
            }
            records = *run;
        }
        for (const QStringList& r : records) {
            if (!isBackupArchiveName(r.at(0))) {
                listing.refused << r.at(0);
                continue;
            }
            listing.records.append({r.at(0), r.at(1), r.at(2), r.at(3), r.at(4), r.at(5)});
        }
    }
    return listing;
}

BackupListing readBackupListing(const QString& path) {
    QFile file(path);
    if (!FileExists(path) || !file.open(QIODevice::ReadOnly)) return {};
    return parseBackupListing(splitTextLines(platform::fromCp1252(file.readAll())));
}

QString refusedRecordsText(const BackupListing& listing) {
    QStringList parts;
    if (!listing.refused.isEmpty())
        parts << QStringLiteral(
                     "These backup records do not name a backup archive and are left out "
                     "of the list:\r\n") +
                     listing.refused.join(QStringLiteral("\r\n"));
    if (!listing.tooManyFields.isEmpty())
        parts << QStringLiteral(
                     "These lines of the backup list hold more than six fields and are left "
                     "out of the list:\r\n") +
                     listing.tooManyFields.join(QStringLiteral("\r\n"));
    return parts.join(QStringLiteral("\r\n\r\n"));
}

std::optional<DiskSpace> parseDiskSpaceLine(const QString& line) {
    QString text = line;
    while (text.startsWith(QLatin1Char(' '))) text.remove(0, 1);
    while (text.endsWith(QLatin1Char(' '))) text.chop(1);
    text.replace(QStringLiteral("  "), QStringLiteral(","));
    if (text.size() < kDiskLineTail) return std::nullopt;
    text.chop(kDiskLineTail);
    const QStringList pieces = text.split(QLatin1Char(','));
    if (pieces.size() < 3) return std::nullopt;
    return DiskSpace{pieces.at(0), pieces.at(2)};
}

int backupStepTimeoutSec() {
    return configuredSeconds(config::kBackupTimeout, kDefaultBackupStepTimeoutSec);
}

QString callPutCommand(const QString& type, const QDate& start, const QDate& end) {
    if (type == kBackupAll) return QStringLiteral("./CALL_PUT5 ");
    return QStringLiteral("./CALL_PUT5 ") + backupPickerDate(start) + QLatin1Char(' ') +
           backupPickerDate(end);
}

QList<ServerStep> backupPackSteps(const QString& home, const QString& callPut, const QString& pc) {
    const int slow = backupStepTimeoutSec();
    QStringList copy = backupTables();
    copy.prepend(QStringLiteral("cp"));
    copy.append(QStringLiteral("remotebackup"));
    return {
        checked(callPut, QStringLiteral("The server could not gather the calls"), slow),
        // The scratch folder is removed only where it belongs: in the site folder.
        folder(home, QStringLiteral("The site folder could not be reached")),
        checked(QStringLiteral("rm -r -f remotebackup"),
                QStringLiteral("The old scratch folder could not be removed")),
        checked(QStringLiteral("mkdir remotebackup"),
                QStringLiteral("The scratch folder could not be made")),
        checked(QStringLiteral("cp *DAT call.put remotebackup"),
                QStringLiteral("The call files could not be copied"), slow),
        checked(copy.join(QLatin1Char(' ')), QStringLiteral("The tables could not be copied"),
                slow),
        folder(QStringLiteral("remotebackup"),
               QStringLiteral("The scratch folder could not be reached")),
        checked(QStringLiteral("tar cvf `date +%m%d%y`") + pc + QStringLiteral(".tar *"),
                QStringLiteral("The archive could not be packed"), slow),
        checked(QStringLiteral("gzip *.tar"), QStringLiteral("The archive could not be compressed"),
                slow),
    };
}

ServerStep backupMoveStep(const QString& home) {
    // The final "/" makes a missing backup folder an error, not a file named "backup".
    return checked(QStringLiteral("mv *.gz ") + shellQuote(home + QStringLiteral("/backup/")),
                   QStringLiteral("The archive could not be moved to the backup folder"),
                   backupStepTimeoutSec());
}

QList<ServerStep> backupRecordSteps(const QString& provisional, const BackupInfoRecord& record) {
    const QString info = record.fileName + QStringLiteral(".info");
    return {
        // The name was free when the folder was listed; mv and ">" would replace what took it
        // since. test reads no alias or colour, only the files.
        checked(QStringLiteral("test ! -e ") + record.fileName + QStringLiteral(" && test ! -e ") +
                    info,
                QStringLiteral("The backup's name is already taken on the server")),
        checked(QStringLiteral("mv ") + provisional + QLatin1Char(' ') + record.fileName,
                QStringLiteral("The archive could not be given its name")),
        checked(QStringLiteral("echo ") + shellQuote(record.line()) + QLatin1Char('>') +
                    record.fileName + QStringLiteral(".info"),
                QStringLiteral("The backup's record could not be written")),
        checked(QStringLiteral("ls ") + record.fileName + QStringLiteral(".info"),
                QStringLiteral("The backup's record is not on the server")),
    };
}

QString loginWord(const QString& login) {
    return isPlainAccountName(login) ? login : shellQuote(login);
}

QList<ServerStep> restoreSteps(const QString& name, const QString& pc, const QString& login) {
    const int slow = backupStepTimeoutSec();
    const QString tar = pc + QStringLiteral("restore.tar");
    const QString user = loginWord(login);
    return {
        checked(QStringLiteral("sudo rm -f ") + tar,
                QStringLiteral("The last restore's archive could not be removed")),
        checked(QStringLiteral("sudo rm -f ") + tar + QStringLiteral(".gz"),
                QStringLiteral("The last restore's archive could not be removed")),
        checked(kRemoveTablesLine,
                QStringLiteral("The last restore's tables could not be removed")),
        checked(QStringLiteral("cp ") + name + QLatin1Char(' ') + tar + QStringLiteral(".gz"),
                QStringLiteral("The backup could not be copied"), slow),
        checked(QStringLiteral("gunzip ") + tar + QStringLiteral(".gz"),
                QStringLiteral("The backup could not be uncompressed"), slow),
        checked(QStringLiteral("sudo tar xvf ") + tar,
                QStringLiteral("The backup could not be unpacked"), slow),
        checked(QStringLiteral("sudo ./CALL_GET5"),
                QStringLiteral("The server could not take up the restored calls"), slow),
        bestEffort(QStringLiteral("sudo chown ") + user + QStringLiteral(" *.db *.DAT")),
        bestEffort(QStringLiteral("sudo chgrp ") + user + QStringLiteral(" *.db *.DAT")),
    };
}

QStringList listingLines(const QString& login, bool withDiskSpace) {
    const QString user = loginWord(login);
    const auto ownership = [&user](const QString& file) {
        return QStringList{QStringLiteral("sudo chgrp ") + user + QLatin1Char(' ') + file,
                           QStringLiteral("sudo chown ") + user + QLatin1Char(' ') + file,
                           QStringLiteral("sudo chmod 666 ") + file};
    };
    const QString listing = QStringLiteral("restore.txt");
    QStringList lines = ownership(listing);
    lines << kListingLine;
    lines << ownership(listing);
    if (withDiskSpace) lines << ownership(QStringLiteral("diskspace.txt"));
    return lines;
}

QString listingWriteProblem(const QString& reply) {
    // What cat says when the folder holds no record: the listing is empty, as it should be.
    static const QRegularExpression noRecords(QRegularExpression::anchoredPattern(
        QStringLiteral("cat: '?\\*\\.info'?: No such file or directory")));
    QStringList said;
    for (const QString& line : splitTextLines(reply))
        if (!line.trimmed().isEmpty() && !noRecords.match(line.trimmed()).hasMatch())
            said << line.trimmed();
    if (said.isEmpty()) return {};
    return QStringLiteral("The server could not write the list of backups (restore.txt):\r\n") +
           said.join(QStringLiteral("\r\n"));
}

QString backupFolderListLine(const QString& home) {
    return QStringLiteral("ls -1 ") + shellQuote(home + QStringLiteral("/backup/"));
}

QString freeBackupArchiveName(const QDateTime& when, const QString& pc,
                              const std::function<bool(const QString&)>& taken) {
    for (int second = 0; second < kBackupNameTries; ++second) {
        const QString name = backupArchiveName(when.addSecs(second), pc);
        if (!taken(name)) return name;
    }
    return {};
}

QList<ServerStep> deleteSteps(const QString& name) {
    return {checked(QStringLiteral("sudo rm -f ") + name,
                    QStringLiteral("The backup could not be deleted")),
            checked(QStringLiteral("sudo rm -f ") + name + QStringLiteral(".info"),
                    QStringLiteral("The backup's record could not be deleted"))};
}

}  // namespace quillon
