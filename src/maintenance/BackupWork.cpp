#include "maintenance/BackupWork.h"

#include "common/CommonFunctions.h"
#include "common/Globals.h"
#include "common/SiteContext.h"
#include "remote/SessionError.h"
#include "remote/ShellControl.h"

#include <QDir>
#include <QFile>

namespace quillon {

BackupWork::~BackupWork() {
    closeShell();
    closeFiles();
}

ServerFailure BackupWork::openShell(SiteFolder folder) {
    closeShell();
    ServerFailure failure;
    m_shell = ServerWork::instance().openShell(
        shellRequestForSite(SiteContext::current().index(), folder, kShellControl), failure);
    return failure;
}

ServerFailure BackupWork::run(const QList<ServerStep>& steps, int* failedStep) {
    if (failedStep) *failedStep = 0;
    if (!m_shell) return {kSessionFailed, QStringLiteral("No session is open."), QString()};
    const StepsRun r = runServerSteps(*m_shell, steps,
                                      {.cancelled = [this] { return m_cancelled; },
                                       .log = [](const QString& text) { WriteDebugLog(text); }});
    if (failedStep) *failedStep = r.failedStep;
    return r.failure;
}

LineResult BackupWork::runLine(const QString& line, int deadlineSec) {
    if (!m_shell) return {{kSessionFailed, QStringLiteral("No session is open."), line}, {}, {}};
    return m_shell->run(line, deadlineSec);
}

LineResult BackupWork::runCheckedLine(const QString& line, int deadlineSec) {
    if (!m_shell) return {{kSessionFailed, QStringLiteral("No session is open."), line}, {}, {}};
    return m_shell->runChecked(line, deadlineSec);
}

void BackupWork::closeShell() {
    if (m_shell) m_shell->close();
    m_shell.reset();
}

ServerFailure BackupWork::openFiles() {
    closeFiles();
    ServerFailure failure;
    m_files = ServerWork::instance().openFiles(filesRequestForSite(SiteContext::current().index()),
                                               failure);
    return failure;
}

ServerFailure BackupWork::fetch(const QString& remotePath, const QString& localPath,
                                int deadlineSec) {
    if (m_cancelled) return {kSessionCancelled, cancelledWaitText(QStringLiteral("The work")), QString()};
    if (!m_files || !m_files->isOpen()) {
        const ServerFailure opened = openFiles();
        if (!opened.ok()) return opened;
    }
    return m_files->fetch(remotePath, localPath, deadlineSec);
}

void BackupWork::closeFiles() {
    if (m_files) m_files->close();
    m_files.reset();
}

void BackupWork::cancel() {
    m_cancelled = true;
    if (m_shell) m_shell->cancel();
    if (m_files) m_files->cancel();
}

FetchedListing fetchBackupListing(bool withDiskSpace) {
    FetchedListing out;
    const SiteContext& site = SiteContext::current();

    // getreportfilelist: the old copies go first, so a failed listing or fetch leaves none.
    const QString reports = siteReportsFolder(site.name());
    if (reports.isEmpty()) {
        out.failure = {kSessionFailed, unusableSiteText(site.name(), -1), QString()};
        return out;
    }
    const QString folder = reports + QLatin1Char('/');
    const QString listing = folder + QStringLiteral("restore.txt");
    const QString listingUnix = folder + QStringLiteral("restoreunix.txt");
    const QString disk = folder + QStringLiteral("diskspace.txt");
    const QString diskUnix = folder + QStringLiteral("diskspaceunix.txt");
    DeleteFileIfExists(listing);
    if (withDiskSpace) {
        DeleteFileIfExists(disk);
        DeleteFileIfExists(diskUnix);
    }
    DeleteFileIfExists(listingUnix);

    {
        BackupWork work;
        out.failure = work.openShell(SiteFolder::Backup);
        if (!out.failure.ok()) return out;
        const QString login = G().g_SiteSSHUser[site.index()];
        // The ownership lines make the listing the login's to write; where the server has no
        // group of the login's name they fail, and the listing is still written.
        for (const QString& line : listingLines(login, withDiskSpace)) {
            const LineResult r = work.runLine(line);
            if (!r.ok()) {
                out.failure = r.failure;
                return out;
            }
            // A refused redirection leaves the old listing there: nothing of it is fetched.
            if (line != kListingLine) continue;
            if (const QString problem = listingWriteProblem(r.reply); !problem.isEmpty()) {
                out.failure = {kSessionFailed, problem, line};
                return out;
            }
        }
    }

    BackupWork files;
    const QString remote = site.serverFolder(true) + QLatin1Char('/');
    out.failure = files.fetch(remote + QStringLiteral("restore.txt"), listingUnix);
    if (!out.failure.ok()) return out;
    if (withDiskSpace) {
        const ServerFailure fetched =
            files.fetch(remote + QStringLiteral("diskspace.txt"), diskUnix);
        if (!fetched.ok()) WriteDebugLog(QStringLiteral("diskspace.txt: ") + fetched.text);
        if (fetched.code == kSessionCancelled) {
            out.failure = fetched;
            return out;
        }
    }
    files.closeFiles();
    if (!ConvertUnixFile(listingUnix, listing)) {
        out.failure = {kSessionFailed,
                       QStringLiteral("The list of backups could not be written to %1.")
                           .arg(QDir::toNativeSeparators(listing)),
                       QString()};
        return out;
    }
    out.listing = readBackupListing(listing);
    if (withDiskSpace) {
        ConvertUnixFile(diskUnix, disk);
        QFile file(disk);
        if (file.open(QIODevice::ReadOnly))
            for (const QString& line : splitTextLines(QString::fromLatin1(file.readAll())))
                if (const auto entry = parseDiskSpaceLine(line)) out.disks << *entry;
    }
    return out;
}

}  // namespace quillon
