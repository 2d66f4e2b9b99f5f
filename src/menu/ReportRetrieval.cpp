// The main window's report retrieval: fetch the file a report window left on the server, let
// the user give it a dated name and open it.
#include "menu/ReportRetrieval.h"
#include "common/BusyPointer.h"

#include "common/CommonFunctions.h"
#include "common/Globals.h"
#include "menu/ReportTable.h"
#include "menu/fMain.h"
#include "platform/DocumentViewer.h"
#include "platform/Prompter.h"
#include "remote/RemoteSession.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QStatusBar>

namespace quillon {

namespace {

void tell(const QString& text) {
    platform::Prompter::instance().message(text, retrievalTitle(), platform::Icon::Critical);
}

}  // namespace

QString retrievalTitle() {
    return QStringLiteral("Varnel Reports");
}

bool fetchRemoteFile(const SessionTarget& target, const QString& remotePath,
                     const QString& localPath, QString* error) {
    FileTransferSession sftp;
    bool ok = sftp.connectToHost(target, G().g_FtpTimeout) && sftp.getFile(localPath, remotePath);
    if (!ok && error) *error = sftp.errorString();
    sftp.disconnect();
    return ok;
}

QString commandLineWord(const QString& text) {
    // QProcess::splitCommand reads three quotes inside a quoted word as one literal quote.
    QString word = text;
    word.replace(QLatin1Char('"'), QStringLiteral("\"\"\""));
    return QLatin1Char('"') + word + QLatin1Char('"');
}

void ExecCmd(fMain& main, const QString& cmdline) {
    main.Status->showMessage(QStringLiteral("Running ") + QStringLiteral(" Report") +
                             QStringLiteral("..."));
    // A command that cannot start has nothing to wait for.
    const QStringList parts = QProcess::splitCommand(cmdline);
    if (!parts.isEmpty())
        platform::DocumentViewer::instance().runAndWait(parts.first(), parts.mid(1));
    main.Status->showMessage(main.Status->currentMessage() + QStringLiteral("Done."));
}

void fMain::executeBatFileForReport(int reportNumber) {
    ReportTable& table = reportTable();
    // Filled by the load; filled here when nothing did.
    if (!table.isFilled()) table.fillAll();

    BusyPointer hourglass(this);
    if (!table.isConfigured(reportNumber)) {
        hourglass.release();
        tell(
            QStringLiteral("No Report configured for this Report.\r\n"
                           "Possible reason: error with IPAddress.\r\n"
                           "Please contact your Varnel Reports Administrator."));
        return;
    }
    if (reportNumber == 1) return;  // the telnet entry fetches nothing

    WriteDebugLog(QStringLiteral("STARTING SCP"));
    const QString site = cboSites->currentText();
    const QString siteFolder = siteLocalFolder(site);
    const QString localName = table.getReportName(reportNumber);
    const QStringList names = table.reportNames(reportNumber);
    // A copy left from an earlier run must never be shown as this run's report.
    for (const QString& name : names + QStringList{localName})
        removeEverySpelling(siteFolder, name);

    QString remote = G().g_ReportFileName;
    if (G().g_BackupReportsMode)
        remote = siteServerFolder(G().g_CurSite, true) + QLatin1Char('/') + G().g_ReportFileName;
    QString error;
    const bool fetched = fetchRemoteFile(sftpTargetForSite(cboSites->currentIndex()), remote,
                                         siteFolder + QLatin1Char('/') + localName, &error);
    WriteDebugLog(G().g_ReportFileName);
    WriteDebugLog(QStringLiteral("CLOSING SCP"));
    hourglass.release();
    if (!fetched) {
        tell(QStringLiteral("The report %1 could not be brought back from the server.\r\n\r\n%2")
                 .arg(remote, error));
        return;
    }

    WriteDebugLog(QStringLiteral("STARTING RENAME"));
    const QString reportsFolder = siteReportsFolder(site);
    const QDateTime now = reportClockNow();
    QString chosen;
    for (const QString& name : names) {
        const QString fetchedPath = siteFolder + QLatin1Char('/') + name;
        if (!QFileInfo::exists(fetchedPath)) continue;  // the transfer brought nothing of it
        const SavedReport saved =
            saveFetchedReport(fetchedPath, reportsFolder, proposedReportName(name, now));
        if (saved.outcome == SavedReport::Cancelled) return;
        if (saved.outcome == SavedReport::Failed) {
            tell(saved.error);
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
