#include "common/RemoteSession.h"

#include "common/Globals.h"

namespace quillon {

namespace {
const QString kNotImplemented = QStringLiteral("not implemented");
int portOf(const QString& text) {
    bool ok = false;
    const int p = text.trimmed().toInt(&ok);
    return ok && p >= 1 && p <= 65535 ? p : 22;
}
bool validSite(int site) {
    return site >= 0 && site < kMaxSites;
}
}  // namespace

SessionTarget shellTargetForSite(int site) {
    SessionTarget t;
    if (!validSite(site)) return t;
    t.host = G().g_SiteIPAddress[site];
    t.port = portOf(G().g_SiteSSHPort[site]);
    t.login = G().g_SiteSSHUser[site];
    t.password = QString::fromLatin1(kShellPassword);
    return t;
}

SessionTarget sftpTargetForSite(int site) {
    SessionTarget t;
    if (!validSite(site)) return t;
    t.host = G().g_SiteIPAddress[site];
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

struct RemoteShellSession::Impl {
    QString error = kNotImplemented;
};
RemoteShellSession::RemoteShellSession(QObject* parent) : QObject(parent), d(new Impl) {}
RemoteShellSession::~RemoteShellSession() = default;
bool RemoteShellSession::connectToHost(const SessionTarget&, int) {
    return false;
}
bool RemoteShellSession::waitForPrompt(int) {
    return false;
}
std::optional<QString> RemoteShellSession::execute(const QString&, int) {
    return std::nullopt;
}
bool RemoteShellSession::changeFolder(const QString&, int) {
    return false;
}
void RemoteShellSession::disconnect() {}
bool RemoteShellSession::isConnected() const {
    return false;
}
QString RemoteShellSession::errorString() const {
    return d->error;
}

QueueResult runCommandQueue(RemoteShellSession& session, QStringList& lstCommands, int timeoutSec) {
    QueueResult r;
    while (!lstCommands.isEmpty()) {
        const QString line = lstCommands.first();
        auto reply = session.execute(line, timeoutSec);
        if (!reply) {
            r.ok = false;
            r.failedLine = line;
            r.error = session.errorString();
            return r;
        }
        r.replies << *reply;
        lstCommands.removeFirst();
    }
    return r;
}

struct FileTransferSession::Impl {
    QString error = kNotImplemented;
};
FileTransferSession::FileTransferSession(QObject* parent) : QObject(parent), d(new Impl) {}
FileTransferSession::~FileTransferSession() = default;
bool FileTransferSession::connectToHost(const SessionTarget&, int) {
    return false;
}
bool FileTransferSession::getFile(const QString&, const QString&, int) {
    return false;
}
void FileTransferSession::disconnect() {}
bool FileTransferSession::isConnected() const {
    return false;
}
QString FileTransferSession::errorString() const {
    return d->error;
}

struct LiveTailSession::Impl {};
LiveTailSession::LiveTailSession(QObject* parent) : QObject(parent), d(new Impl) {}
LiveTailSession::~LiveTailSession() = default;
void LiveTailSession::connectToHost(const SessionTarget&, int) {
    emit connected(-1, kNotImplemented);
}
void LiveTailSession::send(const QString&) {}
void LiveTailSession::disconnect() {}
bool LiveTailSession::isConnected() const {
    return false;
}

}  // namespace quillon
