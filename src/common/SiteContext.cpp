#include "common/SiteContext.h"

#include "common/Globals.h"
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
    const int i = index();
    if (i < 0 || i >= kMaxSites) return QString();
    QString folder = G().g_SiteHomedir[i];
    if (backup) folder += QStringLiteral("/backup");
    return folder;
}

const SiteContext& SiteContext::current() {
    static const GlobalSite fallback;
    return g_context ? *g_context : fallback;
}

void SiteContext::install(const SiteContext* context) {
    g_context = context;
}

QString siteLocalFolder(const QString& siteName) {
    const QString folder = platform::resolveNoCase(platform::SystemInfo::programFolder(), siteName);
    QDir().mkpath(folder);
    return folder;
}

namespace {
QString siteFolderUnder(const QString& siteName, const QString& path) {
    const QString folder =
        platform::resolveNoCase(platform::SystemInfo::programFolder(), siteName + path);
    QDir().mkpath(folder);
    return folder;
}
}  // namespace

QString siteDownloadFolder(const QString& siteName) {
    return siteFolderUnder(siteName, QStringLiteral("/download"));
}

QString siteReportsFolder(const QString& siteName) {
    return siteFolderUnder(siteName, QStringLiteral("/Download/reports"));
}

QString siteExportFolder(const QString& siteName) {
    return siteFolderUnder(siteName, QStringLiteral("/Download/export"));
}

}  // namespace quillon
