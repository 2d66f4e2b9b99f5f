// Report retrieval: fetch the file a report window left on the server, let the user give it a
// dated name and open it.
#include "reports/common/ReportRetrieval.h"

#include "common/CommonFunctions.h"
#include "common/Globals.h"
#include "common/Messages.h"
#include "common/ProgramClock.h"
#include "common/SiteContext.h"
#include "platform/DocumentViewer.h"
#include "platform/Prompter.h"
#include "remote/FetchFile.h"
#include "reports/common/ReportTable.h"
#include "widgets/BusyPointer.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace quillon {

void tellNotBroughtBack(const QString& remote, const QString& error) {
    tell(QStringLiteral("The report %1 could not be brought back from the server.\r\n\r\n%2")
             .arg(remote, error),
         platform::Icon::Critical, titles::kVarnelReports);
}

void executeBatFileForReport(int reportNumber, QWidget* owner) {
    ReportTable& table = reportTable();
    // Filled by the load; filled here when nothing did.
    if (!table.isFilled()) table.fillAll();

    BusyPointer hourglass(owner);
    if (!table.isConfigured(reportNumber)) {
        hourglass.release();
        tell(QStringLiteral("No Report configured for this Report.\r\n"
                            "Possible reason: error with IPAddress.\r\n"
                            "Please contact your Varnel Reports Administrator."),
             platform::Icon::Critical, titles::kVarnelReports);
        return;
    }
    if (reportNumber == 1) return;  // the telnet entry fetches nothing

    WriteDebugLog(QStringLiteral("STARTING SCP"));
    const SiteContext& current = SiteContext::current();
    const QString site = current.name();
    const QString siteFolder = siteLocalFolder(site);
    if (siteFolder.isEmpty()) {
        hourglass.release();
        tell(unusableSiteText(site, current.index()), platform::Icon::Exclamation,
             titles::kVarnelReports);
        return;
    }
    const QString localName = table.getReportName(reportNumber);
    const QStringList names = table.reportNames(reportNumber);
    // A copy left from an earlier run must never be shown as this run's report.
    for (const QString& name : names + QStringList{localName})
        removeEverySpelling(siteFolder, name);

    // Where the report program wrote it: the site's server folder (or its backup folder), which
    // need not be the file-transfer login's start folder, where an old report of the same name
    // may lie.
    const QString remote = current.serverFolder(G().g_BackupReportsMode) +
                           QLatin1Char('/') + G().g_ReportFileName;
    QString error;
    const bool fetched = fetchRemoteFile(filesRequestForSite(current.index()), remote,
                                         siteFolder + QLatin1Char('/') + localName, &error);
    WriteDebugLog(G().g_ReportFileName);
    WriteDebugLog(QStringLiteral("CLOSING SCP"));
    hourglass.release();
    if (!fetched) {
        tellNotBroughtBack(remote, error);
        return;
    }

    WriteDebugLog(QStringLiteral("STARTING RENAME"));
    const QString reportsFolder = siteReportsFolder(site);
    const QDateTime now = programNow();
    QString chosen;
    for (const QString& name : names) {
        const QString fetchedPath = siteFolder + QLatin1Char('/') + name;
        if (!QFileInfo::exists(fetchedPath)) continue;  // the transfer brought nothing of it
        const SavedReport saved =
            saveFetchedReport(fetchedPath, reportsFolder, proposedReportName(name, now));
        if (saved.outcome == SavedReport::Cancelled) return;
        if (saved.outcome == SavedReport::Failed) {
            tell(saved.error, platform::Icon::Critical, titles::kVarnelReports);
            return;
        }
        WriteDebugLog(saved.path);
        chosen = saved.path;
    }
    if (!chosen.isEmpty()) {
        WriteDebugLog(QStringLiteral("BRING UP REPORT IN Wordpad"));
        platform::DocumentViewer::instance().open(chosen);
    }
    QCoreApplication::processEvents();
}

}  // namespace quillon
