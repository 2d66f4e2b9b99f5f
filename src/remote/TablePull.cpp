#include "remote/TablePull.h"

#include "common/CommonFunctions.h"
#include "common/ReentryGuard.h"
#include "common/SiteContext.h"
#include "remote/ServerWork.h"
#include "remote/ShellLines.h"

#include <QDir>

#include <memory>

namespace quillon {

namespace {

// Every window's pull goes through one file-transfer session at a time; a second pull that a
// timer or a nested event loop starts meanwhile would delete the files the first is writing.
ReentryGuard g_pull;

}  // namespace

TableMirrorResult RefreshSiteTables(const QString& siteName, const FilesRequest& files,
                                    const QString& serverFolder) {
    TableMirrorResult result;
    const ReentryGuard::Entry pulling = g_pull.enter();
    if (!pulling) {
        result.error = QStringLiteral("A table pull is already running");
        return result;
    }

    const QString folder = siteTableFolder(siteName);
    if (folder.isEmpty()) {
        result.error = unusableSiteText(siteName, -1);
        return result;
    }
    // "/<table>.csv" would be fetched from the server's root.
    if (serverFolder.isEmpty()) {
        result.error = noFolderText();
        return result;
    }
    QDir().mkpath(folder);
    auto working = [&](const QString& t) { return folder + QLatin1Char('/') + t + ".csv"; };
    auto scratch = [&](const QString& t) { return folder + QLatin1Char('/') + t + "unix.csv"; };

    // No copy from an earlier pull may survive it: a table that does not arrive has no file.
    for (const QString& t : mirrorTables()) DeleteFileIfExists(working(t));
    for (const QString& t : mirrorTables()) DeleteFileIfExists(scratch(t));

    QStringList failures;
    ServerFailure failure;
    const std::unique_ptr<ServerFiles> session = ServerWork::instance().openFiles(files, failure);
    if (!session) {
        result.error = failure.text;
        result.code = failure.code;
    } else {
        for (const QString& t : mirrorTables()) {
            if (!session->isOpen()) break;  // a time-out closed it: the rest cannot come
            const ServerFailure fetched =
                session->fetch(serverFolder + QLatin1Char('/') + t + ".csv", scratch(t));
            if (fetched.ok()) continue;
            failures << fetched.text;
            // The first failure stands, but a wait the user ended is what the pull is told as.
            if (result.code == kSessionOk || fetched.code == kSessionCancelled)
                result.code = fetched.code;
        }
        session->close();
    }

    for (const QString& t : mirrorTables())
        if (!ConvertUnixFile(scratch(t), working(t)))
            failures << QStringLiteral("%1 could not be written.").arg(working(t));
    for (const QString& t : mirrorTables())
        if (!FileExists(working(t))) result.missing << t;

    if (result.error.isEmpty() && !result.missing.isEmpty()) {
        result.error = QStringLiteral("The server did not send the table(s) %1.")
                           .arg(result.missing.join(QStringLiteral(", ")));
        if (!failures.isEmpty()) result.error += QLatin1Char(' ') + failures.first();
    }
    result.ok = result.error.isEmpty();
    return result;
}

}  // namespace quillon
