#include "common/SiteTargets.h"

#include "common/Globals.h"
#include "common/ShellQuote.h"

namespace quillon {

namespace {

int portOf(const QString& text) {
    return isValidPort(text.trimmed()) ? text.trimmed().toInt() : 22;
}
bool validSite(int site) {
    return site >= 0 && site < kMaxSites;
}
int configuredTimeout() {
    return G().g_FtpTimeout > 0 ? G().g_FtpTimeout : kServerTimeoutSec;
}

}  // namespace

SessionTarget shellTargetForSite(int site) {
    SessionTarget t;
    if (!validSite(site)) return t;
    t.host = G().g_SiteIPAddress[site].trimmed();
    t.port = portOf(G().g_SiteSSHPort[site]);
    t.login = G().g_SiteSSHUser[site];
    t.password = QString::fromLatin1(kShellPassword);
    return t;
}

SessionTarget sftpTargetForSite(int site) {
    SessionTarget t;
    if (!validSite(site)) return t;
    t.host = G().g_SiteIPAddress[site].trimmed();
    t.port = portOf(G().g_SiteSSHPort[site]);
    t.login = G().g_SiteUsername[site];
    t.password = G().g_SitePassword[site];
    return t;
}

QString siteServerFolder(int site, bool backup) {
    if (!validSite(site)) return QString();
    QString f = G().g_SiteHomedir[site];
    if (backup) f += QStringLiteral("/backup");
    return f;
}

ShellRequest shellRequestForSite(int site, SiteFolder folder, const QString& control) {
    ShellRequest r;
    r.target = shellTargetForSite(site);
    if (folder != SiteFolder::Login)
        r.folder = siteServerFolder(site, folder == SiteFolder::Backup);
    r.control = control;
    r.connectTimeoutSec = configuredTimeout();
    return r;
}

FilesRequest filesRequestForSite(int site) {
    return {sftpTargetForSite(site), configuredTimeout()};
}

}  // namespace quillon
