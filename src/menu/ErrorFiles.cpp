#include "menu/ErrorFiles.h"

#include "common/CommonFunctions.h"
#include "common/Globals.h"
#include "common/ReentryGuard.h"
#include "common/ShellQuote.h"
#include "common/SiteContext.h"
#include "platform/FileLookup.h"
#include "platform/SystemInfo.h"
#include "remote/ServerWork.h"

#include <QDir>
#include <QFileInfo>

namespace quillon {

namespace {

ReentryGuard g_pull;

}  // namespace

const QStringList& serverErrorFiles() {
    static const QStringList files{QStringLiteral("ERROR.COM"), QStringLiteral("ERROR.LOG"),
                                   QStringLiteral("ERROR.PMS"), QStringLiteral("ERROR.NEW"),
                                   QStringLiteral("ERROR.911")};
    return files;
}

QString errorCopyName(const QString& serverFile) {
    return serverFile + QStringLiteral(".RTF");
}

QString serverFileOfCopy(const QString& entry) {
    for (const QString& file : serverErrorFiles())
        if (entry.compare(errorCopyName(file), Qt::CaseInsensitive) == 0) return file;
    return QString();
}

QString errorFolder(const QString& site) {
    return sitePath(site, QStringLiteral("Download/ERRORS"));
}

QStringList listErrorFiles(const QString& folder) {
    if (folder.isEmpty()) return {};
    QDir dir(folder);
    dir.setNameFilters({QStringLiteral("error*")});
    dir.setFilter(QDir::Files | QDir::Hidden);
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    // QDir matches name filters without regard to case unless told otherwise.
    return dir.entryList();
}

QStringList removalLines(const QStringList& entries) {
    QStringList lines;
    for (const QString& entry : entries) {
        const QString file = serverFileOfCopy(entry);
        if (file.isEmpty()) continue;
        const QString line = QStringLiteral("sudo rm -f ") + file;
        if (!lines.contains(line)) lines << line;
    }
    return lines;
}

QString savedCopyName(const QDateTime& when, const QString& entry) {
    return when.toString(QStringLiteral("MM-dd-yy")) + QLatin1Char('_') +
           when.toString(QStringLiteral("hh-mm")) + QLatin1Char('_') + entry;
}

bool isUsableCopyName(const QString& name) {
    if (name.trimmed().isEmpty()) return false;
    if (name == QLatin1String(".") || name == QLatin1String("..")) return false;
    for (const QChar c : name)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || isControlCharacter(c)) return false;
    return true;
}

bool errorPullRunning() {
    return g_pull.running();
}

ErrorPullResult pullErrorFiles(const FilesRequest& request, const QString& folder,
                               const std::function<void(const QString&)>& log) {
    ErrorPullResult result;
    const ReentryGuard::Entry running = g_pull.enter();
    if (!running) {
        result.skipped = true;
        return result;
    }
    const auto say = [&log](const QString& text) {
        if (log) log(text);
    };
    if (folder.isEmpty()) {
        result.error = QStringLiteral("No site is selected.");
        return result;
    }

    // The copies go first: a file the server no longer has must not be shown any more.
    for (const QString& file : serverErrorFiles())
        DeleteFileIfExists(folder + QLatin1Char('/') + errorCopyName(file));
    say(QStringLiteral("STARTING FTP FOR ERRORS"));

    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder)) {
        result.error = QStringLiteral("The folder %1 could not be created.").arg(folder);
        say(QStringLiteral("FTP FOR ERRORS FAILED: ") + result.error);
        return result;
    }
    ServerFailure failure;
    const std::unique_ptr<ServerFiles> files = ServerWork::instance().openFiles(request, failure);
    if (!files) {
        result.error = failure.text;
        result.code = failure.code;
        say(QStringLiteral("FTP FOR ERRORS FAILED: ") + result.error);
        return result;
    }
    for (const QString& file : serverErrorFiles()) {
        // Fetched as it stands, without line-end conversion.
        const ServerFailure fetched =
            files->fetch(file, folder + QLatin1Char('/') + errorCopyName(file));
        if (fetched.ok()) {
            result.fetched << file;
            continue;
        }
        // A file the server lacks leaves the session as it was; anything that closed the
        // session ends the pull.
        if (!files->isOpen()) {
            result.error = fetched.text;
            result.code = fetched.code;
            say(QStringLiteral("FTP FOR ERRORS FAILED: ") + result.error);
            return result;
        }
    }
    files->close();
    result.completed = true;
    say(QStringLiteral("CLOSING FTP FOR ERRORS"));
    return result;
}

}  // namespace quillon
