#include "common/SiteTargets.h"

#include "common/CommonFunctions.h"
#include "common/ConfigNames.h"
#include "common/Globals.h"
#include "common/ShellQuote.h"
#include "common/SiteContext.h"

namespace quillon {

namespace {

// The site as the user knows it: its name when it is the chosen one, else its section.
QString siteLabel(int site) {
    const SiteContext& current = SiteContext::current();
    if (current.index() == site && !current.name().isEmpty()) return current.name();
    return config::siteSection(site + 1);
}
bool validSite(int site) {
    return site >= 0 && site < kMaxSites;
}
int configuredTimeout() {
    return G().g_FtpTimeout > 0 ? G().g_FtpTimeout : kServerTimeoutSec;
}

// The site's address and port with a login of it.
SessionTarget targetForSite(int site, const QString& login, const QString& password) {
    SessionTarget t{G().g_SiteIPAddress[site].trimmed(), 22, login, password, QString()};
    // A mistyped port must not reach whatever listens on 22 and have its host key recorded.
    const QString port = G().g_SiteSSHPort[site].trimmed();
    if (isValidPort(port)) {
        t.port = port.toInt();
    } else {
        t.port = 0;
        t.refusal = QStringLiteral(
                        "The SSH port \"%1\" of the site %2 is not a port number from "
                        "1 to 65535. No connection was made; correct the port in the "
                        "site's settings.")
                        .arg(G().g_SiteSSHPort[site], siteLabel(site));
    }
    return t;
}

}  // namespace

int lineTimeoutSec() {
    return configuredSeconds(config::kLineTimeout, kLineTimeoutSec);
}

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
    // No folder is no folder: "/backup" would be a folder at the server's root, where the
    // listing would be written and a restore would remove tables.
    if (f.trimmed().isEmpty()) return QString();
    if (backup) f += QStringLiteral("/backup");
    return f;
}

QString noServerFolderText() {
    return QStringLiteral("No server folder is configured for this site.");
}

ShellRequest shellRequestForSite(int site, SiteFolder folder, const QString& control) {
    ShellRequest r;
    r.target = shellTargetForSite(site);
    if (folder != SiteFolder::Login) {
        r.folder = siteServerFolder(site, folder == SiteFolder::Backup);
        // Refused before the connect, as a bad port is: work meant for the site's folder never
        // starts anywhere else.
        if (r.folder->isEmpty() && r.target.refusal.isEmpty() && validSite(site))
            r.target.refusal = noServerFolderText();
    }
    r.control = control;
    r.connectTimeoutSec = configuredTimeout();
    r.lineTimeoutSec = lineTimeoutSec();
    return r;
}

FilesRequest filesRequestForSite(int site) {
    return {sftpTargetForSite(site), configuredTimeout()};
}

}  // namespace quillon
