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

// The site's address and port with a login of it.
SessionTarget targetForSite(int site, const QString& login, const QString& password) {
    return {G().g_SiteIPAddress[site].trimmed(), portOf(G().g_SiteSSHPort[site]), login, password};
}

}  // namespace

SessionTarget shellTargetForSite(int site) {
    if (!validSite(site)) return {};
    return targetForSite(site, G().g_SiteSSHUser[site], QString::fromLatin1(kShellPassword));
}

SessionTarget sftpTargetForSite(int site) {
    if (!validSite(site)) return {};
    return targetForSite(site, G().g_SiteUsername[site], G().g_SitePassword[site]);
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
