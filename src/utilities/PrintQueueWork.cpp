#include "utilities/PrintQueueWork.h"

#include "common/CommonFunctions.h"
#include "common/Globals.h"
#include "common/ShellQuote.h"
#include "common/SiteContext.h"
#include "common/SiteTargets.h"
#include "common/TextFormats.h"
#include "platform/TextCodec.h"
#include "remote/CheckedLines.h"
#include "remote/ServerSteps.h"
#include "remote/FetchFile.h"
#include "remote/ServerWork.h"
#include "utilities/PrintQueue.h"

#include <QDir>
#include <QFile>

#include <memory>

namespace quillon {

namespace {
const QString kControl = QStringLiteral("SSH1print");
}  // namespace

PrintQueueRead readPrintQueue(int site, const QString& siteName) {
    PrintQueueRead read;
    const QString login = G().g_SiteSSHUser[site];

    // The login names the listing's group and owner unquoted: only a plain account name may.
    QString problem;
    if (!isPlainAccountName(login)) {
        problem =
            QStringLiteral("The site's shell login \"%1\" is not a plain account name.").arg(login);
    } else {
        // The replies are the server's business; a line that never came back (its deadline, a
        // lost session) is not: the listing may be missing or an old one.
        QList<ServerStep> steps;
        for (const QString& line : printListingLines(login)) steps << ServerStep::plain(line);
        const StepsRun run =
            runServerSteps(shellRequestForSite(site, SiteFolder::Login, kControl), steps);
        if (!run.ok()) {
            problem = run.failure.text;
            read.code = run.failure.code;
        }
    }

    const QString folder = siteDownloadFolder(siteName);
    if (folder.isEmpty() && problem.isEmpty()) problem = unusableSiteText(siteName, site);
    read.listing = folder.isEmpty() ? QString() : folder + QStringLiteral("/printjobs.rtf");
    read.rawListing = folder.isEmpty() ? QString() : folder + QStringLiteral("/printjobsunix.rtf");
    if (!folder.isEmpty()) {
        DeleteFileIfExists(read.listing);
        DeleteFileIfExists(read.rawListing);
    }

    if (problem.isEmpty()) {
        const ServerFailure failure =
            fetchFile(filesRequestForSite(site), kPrintListing, read.rawListing);
        if (!failure.ok()) WriteDebugLog(QStringLiteral("printjob.rtf: ") + failure.text);
        // A listing the server does not have is an empty queue; any other failure is not.
        if (!failure.ok() && !isMissingRemoteFile(failure)) {
            problem = failure.text;
            read.code = failure.code;
        } else if (failure.ok() && !ConvertUnixFile(read.rawListing, read.listing))
            problem = QStringLiteral("the copy %1 could not be written.")
                          .arg(QDir::toNativeSeparators(read.listing));
    }

    QFile listing(read.listing);
    if (listing.open(QIODevice::ReadOnly))
        read.jobs = parsePrintQueue(platform::fromCp1252(listing.readAll()));
    if (!problem.isEmpty())
        read.told = QStringLiteral("The print queue could not be read: ") + problem;
    return read;
}

PrintJobsRemoval removePrintJobs(int site, const QStringList& jobIds) {
    QStringList lines;
    for (const QString& id : jobIds) lines << printRemovalLine(id);
    const CheckedRun run =
        runCheckedLines(shellRequestForSite(site, SiteFolder::Login, kControl), lines);
    if (!run.error.isEmpty())
        return {QStringLiteral("No print job was removed: ") + run.error, run.code};
    if (run.allOk()) return {};
    return {QStringLiteral("These print jobs were not removed:") +
                failureLines(run, [&jobIds](int i) { return jobIds.at(i); }),
            run.code};
}

}  // namespace quillon
