#include "common/SiteContext.h"

#include "common/Globals.h"
#include "common/SiteTargets.h"
#include "platform/FileLookup.h"
#include "platform/SystemInfo.h"

#include <QDir>

namespace quillon {

namespace {

const SiteContext* g_context = nullptr;

class GlobalSite : public SiteContext {
public:
    int index() const override { return G().g_CurSite; }
    QString name() const override { return QString(); }
};

}  // namespace

QString SiteContext::localFolder() const {
    return siteLocalFolder(name());
}

QString SiteContext::serverFolder(bool backup) const {
    return siteServerFolder(index(), backup);
}

const SiteContext& SiteContext::current() {
    static const GlobalSite fallback;
    return g_context ? *g_context : fallback;
}

void SiteContext::install(const SiteContext* context) {
    g_context = context;
}

QString siteFolderNameProblem(const QString& name) {
    if (name.isEmpty()) return QStringLiteral("the site has no name.");
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
        name.contains(QStringLiteral("..")) || name == QStringLiteral("."))
        return QStringLiteral(
                   "the name \"%1\" cannot stand as a folder name "
                   "(it holds \"/\", \"\\\" or \"..\").")
            .arg(name);
    return QString();
}

QString siteNameProblem(const QString& name, int index) {
    if (const QString problem = siteFolderNameProblem(name); !problem.isEmpty()) return problem;
    if (index > 0 && name.compare(QStringLiteral("Default"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("the name \"%1\" is kept for the default site, the first one.")
            .arg(name);
    return QString();
}

QString unusableSiteText(const QString& name, int index) {
    const QString problem = siteNameProblem(name, index);
    if (problem.isEmpty()) return QString();
    return QStringLiteral(
               "This site cannot be used: %1\r\n\r\nIts name must be changed in KTREPORTS.INI "
               "first.")
        .arg(problem);
}

QString sitePath(const QString& siteName, const QString& relative) {
    if (!siteFolderNameProblem(siteName).isEmpty()) return QString();
    return platform::resolveNoCase(
        platform::SystemInfo::programFolder(),
        relative.isEmpty() ? siteName : siteName + QLatin1Char('/') + relative);
}

namespace {

QString madeSitePath(const QString& siteName, const QString& relative) {
    const QString folder = sitePath(siteName, relative);
    if (!folder.isEmpty()) QDir().mkpath(folder);
    return folder;
}

}  // namespace

QString siteLocalFolder(const QString& siteName) {
    return madeSitePath(siteName, QString());
}

QString siteDownloadFolder(const QString& siteName) {
    return madeSitePath(siteName, QStringLiteral("download"));
}

QString siteReportsFolder(const QString& siteName) {
    return madeSitePath(siteName, QStringLiteral("Download/reports"));
}

QString siteExportFolder(const QString& siteName) {
    return madeSitePath(siteName, QStringLiteral("Download/export"));
}

QString siteBackupsFolder(const QString& siteName) {
    return madeSitePath(siteName, QStringLiteral("Download/backups"));
}

}  // namespace quillon
