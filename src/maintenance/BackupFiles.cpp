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
ServerStep plain(const QString& line, int deadline = 0) {
    return {ServerStep::Kind::Plain, line, deadline, QString()};
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
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    // The system's short date carries the whole year (12/9/2008); Qt's short formats give two.
    if (!format.contains(QStringLiteral("yyyy")))
        format.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    QString text = QLocale().toString(date, format);
    // A comma would split the record's fields; locale blanks are not single-byte.
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    text.replace(QChar(0x202F), QLatin1Char(' ')).replace(QChar(0x00A0), QLatin1Char(' '));
    return text;
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

BackupListing parseBackupListing(const QStringList& lines) {
    BackupListing listing;
    listing.present = true;
    for (const QString& line : lines) {
        const QStringList f = SplitCsvLine(line);
        if (f.size() < 6) {
            ++listing.shortLines;
            continue;
        }
        if (!isBackupArchiveName(f.at(0))) {
            listing.refused << f.at(0);
            continue;
        }
        listing.records.append({f.at(0), f.at(1), f.at(2), f.at(3), f.at(4), f.at(5)});
    }
    return listing;
}

BackupListing readBackupListing(const QString& path) {
    QFile file(path);
    if (!FileExists(path) || !file.open(QIODevice::ReadOnly)) return {};
    return parseBackupListing(splitTextLines(platform::fromCp1252(file.readAll())));
}

QString refusedRecordsText(const BackupListing& listing) {
    if (listing.refused.isEmpty()) return {};
    return QStringLiteral(
               "These backup records do not name a backup archive and are left out "
               "of the list:\r\n") +
           listing.refused.join(QStringLiteral("\r\n"));
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
    return checked(QStringLiteral("mv *.gz ") + shellQuote(home + QStringLiteral("/backup")),
                   QStringLiteral("The archive could not be moved to the backup folder"),
                   backupStepTimeoutSec());
}

QList<ServerStep> backupRecordSteps(const QString& provisional, const BackupInfoRecord& record) {
    return {
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
        checked(QStringLiteral("sudo rm -f *.db *.DAT"),
                QStringLiteral("The last restore's tables could not be removed")),
        checked(QStringLiteral("cp ") + name + QLatin1Char(' ') + tar + QStringLiteral(".gz"),
                QStringLiteral("The backup could not be copied"), slow),
        checked(QStringLiteral("gunzip ") + tar + QStringLiteral(".gz"),
                QStringLiteral("The backup could not be uncompressed"), slow),
        checked(QStringLiteral("sudo tar xvf ") + tar,
                QStringLiteral("The backup could not be unpacked"), slow),
        checked(QStringLiteral("sudo ./CALL_GET5"),
                QStringLiteral("The server could not take up the restored calls"), slow),
        plain(QStringLiteral("sudo chown ") + user + QStringLiteral(" *.db *.DAT")),
        plain(QStringLiteral("sudo chgrp ") + user + QStringLiteral(" *.db *.DAT")),
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
    lines << QStringLiteral("cat *.info >restore.txt");
    lines << ownership(listing);
    if (withDiskSpace) lines << ownership(QStringLiteral("diskspace.txt"));
    return lines;
}

QList<ServerStep> deleteSteps(const QString& name) {
    return {checked(QStringLiteral("sudo rm -f ") + name,
                    QStringLiteral("The backup could not be deleted")),
            checked(QStringLiteral("sudo rm -f ") + name + QStringLiteral(".info"),
                    QStringLiteral("The backup's record could not be deleted"))};
}

}  // namespace quillon
