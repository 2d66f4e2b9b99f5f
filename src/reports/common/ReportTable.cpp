#include "reports/common/ReportTable.h"

#include "common/CommonFunctions.h"
#include "common/Messages.h"
#include "platform/FileLookup.h"
#include "platform/Prompter.h"
#include "platform/SystemInfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <exception>

namespace quillon {

namespace {

struct Entry {
    const char* script;  // nullptr for the telnet entry
    const char* files;
};

// Index n is report number n.
constexpr std::array<Entry, ReportTable::kLast + 1> kEntries = {{
    {nullptr, ""},
    {nullptr, ""},  // telnet
    {"Detail.shp", "detail.rep"},
    {"sum.shp", "sum.rep"},
    {"Cost.shp", "cost.rep"},
    {"Stats.shp", "stats.rep"},
    {"WDog.shp", "wdog.rep"},
    {"Crono.shp", "24hour.rep"},
    {"Trunk.shp", "trunk.rep"},
    {"Area.shp", "area.rep"},
    {"Errors.shp", "ERRORCOM|ERROR.LOG|ERROR.PMS|ERROR.911"},
    {"billing.shp", "bill.rep"},
    {"cor.shp", "cor.rep"},
    {"status.shp", "status.log"},
    {"auth.shp", "auth.rep"},
    {"Ccal.shp", "Ccal.rep"},
    {"unused.shp", "unused.rep"},
}};

bool inTable(int n) {
    return n >= ReportTable::kFirst && n <= ReportTable::kLast;
}

}  // namespace

bool ReportTable::fill(int n) {
    if (!inTable(n)) return false;
    if (n == 1) {
        // The telnet entry is never run; its text only marks it as configured.
        sBatPath[1] = QStringLiteral("telnet <ip> <telnetport>");
        sRepFile[1].clear();
        return true;
    }
    // The script files are the site editor's; the command is never run.
    sBatPath[n] = QStringLiteral("ftp -s:\"") + platform::SystemInfo::programFolder() +
                  QStringLiteral("\\<site>\\Bats\\") + QLatin1String(kEntries[n].script);
    sRepFile[n] = QLatin1String(kEntries[n].files);
    return true;
}

void ReportTable::fillAll() {
    for (int n = kFirst; n <= kLast; ++n) fill(n);
}

bool ReportTable::isFilled() const {
    for (int n = kFirst; n <= kLast; ++n)
        if (!sBatPath[n].isEmpty()) return true;
    return false;
}

void ReportTable::clear() {
    for (QString& s : sBatPath) s.clear();
    for (QString& s : sRepFile) s.clear();
}

bool ReportTable::isConfigured(int n) const {
    return n >= 0 && n <= kLast && !sBatPath[n].isEmpty();
}

QString ReportTable::getReportName(int n) const {
    if (n == 1) return QStringLiteral("telnet");
    return inTable(n) ? sRepFile[n] : QString();
}

QStringList ReportTable::reportNames(int n) const {
    if (!inTable(n) || n == 1) return {};
    return sRepFile[n].split(QLatin1Char('|'), Qt::SkipEmptyParts);
}

ReportTable& reportTable() {
    static ReportTable table;
    return table;
}

void getBatPath(int iRepNum, const QString&) {
    try {
        if (!reportTable().fill(iRepNum))
            tell(QStringLiteral("Invalid Bat file number. Please contact your Varnel Reports "
                                "Administrator."),
                 platform::Icon::Exclamation, titles::kVarnelReports);
    } catch (const std::exception& e) {
        tell(QStringLiteral("The following error occurred:\r\n\r\n") +
                 QString::fromLocal8Bit(e.what()) +
                 QStringLiteral("\r\n\r\nPlease check KTREPORTS.INI for valid Bat file paths."),
             platform::Icon::Critical, titles::kVarnelReports);
    }
}

QString getReportName(int iRepNum) {
    return reportTable().getReportName(iRepNum);
}

QString proposedReportName(const QString& fetchedName, const QDateTime& when) {
    return when.toString(QStringLiteral("MM-dd")) + QLatin1Char('_') +
           when.toString(QStringLiteral("HH-mm")) + QLatin1Char('_') +
           fetchedName.left(qMax<qsizetype>(0, fetchedName.size() - 4)) + QStringLiteral(".rtf");
}

void removeEverySpelling(const QString& folder, const QString& name) {
    const QDir dir(folder);
    for (const QString& entry : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (entry.compare(name, Qt::CaseInsensitive) == 0) QFile::remove(dir.filePath(entry));
}

SavedReport saveFetchedReport(const QString& fetchedPath, const QString& reportsFolder,
                              const QString& proposedName) {
    platform::FileDialogRequest request;
    request.initialFolder = reportsFolder;
    request.proposedName = proposedName;
    request.defaultSuffix = QStringLiteral("rtf");
    request.filter = QStringLiteral("Reports (*.rtf);;All files (*)");

    SavedReport result;
    for (;;) {
        const auto chosen = platform::Prompter::instance().saveFile(request);
        if (!chosen) {
            DeleteFileIfExists(fetchedPath);
            result.outcome = SavedReport::Cancelled;
            return result;
        }
        // Asked again for as long as it takes: an existing file is never shown as the report.
        if (FileExists(*chosen)) {
            tell(QStringLiteral("File already exist please rename file."));
            // The dialog comes back where the user left it.
            request.initialFolder = QFileInfo(*chosen).path();
            request.proposedName = QFileInfo(*chosen).fileName();
            continue;
        }
        result.path = *chosen;
        break;
    }
    QFile fetched(fetchedPath);
    if (!fetched.rename(result.path)) {
        result.outcome = SavedReport::Failed;
        result.error = QStringLiteral(
                           "The report could not be saved as %1: %2\r\n\r\nIt is "
                           "still in %3.")
                           .arg(QDir::toNativeSeparators(result.path), fetched.errorString(),
                                QDir::toNativeSeparators(fetchedPath));
        return result;
    }
    result.outcome = SavedReport::Saved;
    return result;
}

}  // namespace quillon
