#include "startup/ReportScripts.h"

#include "common/SiteContext.h"
#include "common/TextFormats.h"
#include "platform/FileLookup.h"
#include "platform/SaveFile.h"
#include "platform/SystemInfo.h"
#include "platform/TextCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace quillon {

namespace {

bool readWhole(const QString& path, QByteArray* bytes, QString* error) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error) *error = f.errorString();
        return false;
    }
    *bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        if (error) *error = f.errorString();
        return false;
    }
    return true;
}

}  // namespace

QString blankTrimmed(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' ')) ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char(' ')) --end;
    return text.mid(begin, end - begin);
}

const std::array<ReportScriptEntry, 12>& reportScriptEntries() {
    static const std::array<ReportScriptEntry, 12> entries = {{
        {"Detail Report", "Detail.shp"},
        {"Audit Report", "sum.shp"},
        {"Cost Report", "cost.shp"},
        {"Stats Report", "stats.shp"},
        {"Watch Dog Report", "wdog.shp"},
        {"Crono Report", "crono.shp"},
        {"Trunk Report", "trunk.shp"},
        {"Area Code Report", "area.shp"},
        {"Error Report", "errors.shp"},
        {"Billing Report", "billing.shp"},
        {"Current or Overdue Report", "cor.shp"},
        {"Call-Accounting Status", "Status.shp"},
    }};
    return entries;
}

QString replaceScriptPlaceholders(const QString& line, const SiteScriptValues& v) {
    QString out = line;
    out.replace(QStringLiteral("Default"), v.site);
    out.replace(QStringLiteral("<IPAddress>"), v.ipAddress);
    out.replace(QStringLiteral("<SSHPort>"), v.sshPort);
    out.replace(QStringLiteral("<Username>"), v.userName);
    out.replace(QStringLiteral("<Password>"), v.password);
    out.replace(QStringLiteral("<Homedir>"), v.homeDir);
    out.replace(QStringLiteral("<SSHUser>"), v.sshUser);
    return blankTrimmed(out);
}

// Names the system spells in more than one case are one file or folder.
QString templateScriptFolder() {
    return platform::resolveNoCase(platform::SystemInfo::programFolder(),
                                   QStringLiteral("Default/Bats"));
}

QString siteFolder(const QString& site) {
    return sitePath(site);
}

QString siteBatsFolder(const QString& site) {
    return sitePath(site, QStringLiteral("Bats"));
}

QString siteScriptPath(const QString& site, const QString& fileName) {
    return sitePath(site, QStringLiteral("Bats/") + fileName);
}

bool writePrivateFile(const QString& path, const QByteArray& bytes, QString* error) {
    // Written whole under a temporary name and renamed into place, so a write that fails
    // leaves the old file as it was.
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        if (error) *error = f.errorString();
        return false;
    }
    // The temporary file's mode is the one the renamed file keeps, whatever the old file had.
    f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return platform::writeAndCommit(f, bytes, error);
}

ScriptCopyResult copySiteScriptFiles(const SiteScriptValues& values) {
    ScriptCopyResult result;
    QDir templates(templateScriptFolder());
    if (!templates.exists()) return result;
    const QFileInfoList files =
        templates.entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& info : files) {
        if (!info.fileName().endsWith(QStringLiteral(".shp"), Qt::CaseInsensitive)) continue;
        QByteArray bytes;
        if (!readWhole(info.filePath(), &bytes, &result.error)) {
            result.ok = false;
            return result;
        }
        QString out;
        for (const QString& line : splitTextLines(platform::fromCp1252(bytes)))
            out += replaceScriptPlaceholders(line, values) + kCrLf;
        if (!writePrivateFile(siteScriptPath(values.site, info.fileName()), platform::toCp1252(out),
                              &result.error)) {
            result.ok = false;
            return result;
        }
        result.copied << info.fileName();
    }
    return result;
}

bool removeFolderLink(const QString& folder) {
    // Without a trailing '/', which would make the test look through the link.
    const QString path = QDir::cleanPath(folder);
    if (!QFileInfo(path).isSymLink()) return true;
    // Removed rather than refused: Bats is the program's own scratch folder, emptied at every
    // connect, so nothing kept there needs a link, while the target may be anyone's. rm -r
    // does the same with a link.
    if (!QFile::remove(path)) return false;
    WriteDebugLog(QStringLiteral("Removed the link ") + path +
                  QStringLiteral(" in place of a folder"));
    return true;
}

bool deleteFolderTree(const QString& folder) {
    if (QFileInfo(QDir::cleanPath(folder)).isSymLink()) return removeFolderLink(folder);
    QDir dir(folder);
    if (!dir.exists()) return true;
    bool ok = true;
    const QFileInfoList entries = dir.entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& e : entries) {
        if (e.isDir() && !e.isSymLink()) {
            // A read-only folder could not have its entries removed.
            QFile::setPermissions(e.filePath(), QFile::permissions(e.filePath()) |
                                                    QFileDevice::WriteOwner |
                                                    QFileDevice::ExeOwner);
            ok = deleteFolderTree(e.filePath()) && ok;
        } else {
            QFile f(e.filePath());
            if (!e.isSymLink()) f.setPermissions(f.permissions() | QFileDevice::WriteOwner);
            ok = f.remove() && ok;
        }
    }
    return QDir().rmdir(dir.absolutePath()) && ok;
}

bool readScriptForEditing(const QString& path, QString* text, QString* error) {
    QByteArray bytes;
    if (!readWhole(path, &bytes, error)) return false;
    QString out;
    for (const QString& line : splitTextLines(platform::fromCp1252(bytes))) out += line + kCrLf;
    *text = out;
    return true;
}

bool saveScriptText(const QString& path, const QString& text, QString* error) {
    QString body = blankTrimmed(text);
    body.replace(kCrLf, QStringLiteral("\n"));
    body.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    body.replace(QStringLiteral("\n"), kCrLf);
    return writePrivateFile(path, platform::toCp1252(body + kCrLf), error);
}

}  // namespace quillon
