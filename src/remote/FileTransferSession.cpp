#include "remote/FileTransferSession.h"

#include "platform/SaveFile.h"
#include "remote/SessionTexts.h"

#include "remote/BlockingCore.h"
#include "remote/Connection.h"
#include "remote/ServerWork.h"
#include "remote/ServerWaits.h"

#include <QFile>
#include <QSaveFile>

#include <fcntl.h>
#include <deque>
#include <functional>
#include <vector>

namespace quillon {

namespace {

QString sftpErrorText(sftp_session sftp, ssh_session ssh) {
    switch (sftp_get_error(sftp)) {
        case SSH_FX_NO_SUCH_FILE:
        case SSH_FX_NO_SUCH_PATH:
            return sessiontexts::noSuchFile();
        case SSH_FX_PERMISSION_DENIED:
            return QStringLiteral("the server denied access to it");
        default:
            return sshError(ssh);
    }
}

// Reads the remote file into out with several requests in flight, so a large table does not
// wait one round trip per chunk. received() runs after each chunk that brought data.
bool copyRemote(sftp_file file, QIODevice& out, QString& why,
                const std::function<void()>& received) {
    constexpr uint32_t kChunk = 64 * 1024;
    constexpr size_t kDepth = 16;
    std::deque<int> pending;
    std::vector<char> buf(kChunk);
    quint64 written = 0;
    bool eof = false;
    auto drain = [&] {
        for (int id : pending) sftp_async_read(file, buf.data(), kChunk, static_cast<uint32_t>(id));
        pending.clear();
    };
    while (!eof || !pending.empty()) {
        while (!eof && pending.size() < kDepth) {
            const int id = sftp_async_read_begin(file, kChunk);
            if (id < 0) {
                drain();
                why = QStringLiteral("the read request failed");
                return false;
            }
            pending.push_back(id);
        }
        const int id = pending.front();
        pending.pop_front();
        const int n = sftp_async_read(file, buf.data(), kChunk, static_cast<uint32_t>(id));
        if (n < 0) {
            drain();
            why = sessiontexts::transferBrokeOff();
            return false;
        }
        if (n > 0 && out.write(buf.data(), n) != n) {
            drain();
            why = QStringLiteral("could not write the local file: %1").arg(out.errorString());
            return false;
        }
        written += static_cast<quint64>(n);
        if (n > 0) received();
        if (static_cast<uint32_t>(n) < kChunk) {
            // End of file, or a short read: the requests after it are for the wrong offsets.
            drain();
            if (n == 0) {
                eof = true;
            } else if (sftp_seek64(file, written) < 0) {
                why = sessiontexts::transferBrokeOff();
                return false;
            }
        }
    }
    return true;
}

}  // namespace

struct FileTransferSession::Impl : BlockingCore {
    int transferTimeoutSec = kServerTimeoutSec;
};

FileTransferSession::FileTransferSession(QObject* parent) : QObject(parent), d(new Impl) {}

FileTransferSession::~FileTransferSession() {
    d->destroy();
}

bool FileTransferSession::connectToHost(const SessionTarget& target, int timeoutSec) {
    if (!d->startConnect()) return false;
    disconnect();
    const int seconds = deadlineSeconds(timeoutSec);
    d->transferTimeoutSec = seconds;
    const auto deadline = deadlineIn(seconds);
    ServerFailure f;
    bool ok = false;
    Impl* p = d.get();
    d->startWait();
    const std::shared_ptr<bool> alive = d->alive;
    runBlocking(p->worker(), [p, target, deadline, seconds, &f, &ok] {
        ArmedWatchdog dog(p->guard, deadline);
        SshConnection conn = openSsh(target, deadline, p->guard, f);
        if (!conn) return;
        conn.setSftp(SftpSession(sftp_new(conn.session())));
        if (conn.sftp() && sftp_init(conn.sftp()) == SSH_OK && !p->guard->fired) {
            p->conn = std::move(conn);
            ok = true;
            return;
        }
        if (p->guard->fired) f.set(kSessionTimedOut, timeoutText(target, seconds));
        f.set(kSessionFailed, QStringLiteral("The server %1 did not start a file transfer: %2")
                                  .arg(hostLabel(target), sshError(conn.session())));
    });
    if (!*alive) return {};
    d->busy = false;
    if (d->cancelled) {
        d->closeOnWorker();
        ok = false;
        f = ServerFailure{kSessionCancelled, QStringLiteral("Cancelled by the user."), {}};
    }
    d->connected = ok;
    if (!ok) d->fail(f.code, f.text);
    return ok;
}

bool FileTransferSession::getFile(const QString& localPath, const QString& remotePath,
                                  int timeoutSec) {
    if (d->busy) return d->fail(kSessionFailed, sessiontexts::busyWithTransfer());
    // The promise is that a failed download leaves no file at localPath, old copies included.
    auto failWith = [&](int failureCode, const QString& text) {
        QFile::remove(localPath);
        return d->fail(failureCode, text);
    };
    if (!d->connected) return failWith(kSessionFailed, sessiontexts::notConnected());
    const int seconds = timeoutSec > 0 ? timeoutSec : d->transferTimeoutSec;
    bool ok = false;
    bool missing = false;
    QString why;
    Impl* p = d.get();
    const QByteArray remote = remotePath.toUtf8();
    d->startWait();
    const std::shared_ptr<bool> alive = d->alive;
    // The user may end this wait (a window's wait panel).
    const ServerWaits::Cancellable cancellable([p, alive] {
        if (*alive) p->cancel();
    });
    runBlocking(p->worker(), [p, localPath, remote, seconds, &ok, &missing, &why] {
        // The deadline is the time without data: a large file that keeps flowing is never cut.
        ArmedWatchdog dog(p->guard, deadlineIn(seconds));
        const SftpFile file(sftp_open(p->conn.sftp(), remote.constData(), O_RDONLY, 0));
        if (!file) {
            const int error = sftp_get_error(p->conn.sftp());
            missing = error == SSH_FX_NO_SUCH_FILE || error == SSH_FX_NO_SUCH_PATH;
            why = sftpErrorText(p->conn.sftp(), p->conn.session());
            return;
        }
        // Written under a temporary name beside the target and renamed only when complete.
        QSaveFile out(localPath);
        out.setDirectWriteFallback(false);
        if (!out.open(QIODevice::WriteOnly)) {
            why = sessiontexts::couldNotWrite(localPath, out.errorString());
        } else if (copyRemote(file.get(), out, why,
                              [&dog, seconds] { dog.rearm(deadlineIn(seconds)); })) {
            QString error;
            ok = platform::commitWritten(out, &error);
            if (!ok) why = sessiontexts::couldNotWrite(localPath, error);
        }
        if (!ok) out.cancelWriting();
    });
    if (!*alive) return {};
    d->busy = false;
    if (d->cancelled) {
        d->connected = false;
        d->closeOnWorker();
        return failWith(kSessionCancelled, sessiontexts::fetchCancelled(remotePath));
    }
    if (ok) return true;
    if (d->guard->fired) {
        d->connected = false;
        d->closeOnWorker();
        return failWith(kSessionTimedOut, sessiontexts::fetchStalled(seconds, remotePath));
    }
    if (missing) return failWith(kSessionFailed, noSuchRemoteFileText(remotePath));
    return failWith(kSessionFailed, sessiontexts::fetchFailed(remotePath, why));
}

void FileTransferSession::cancel() {
    d->cancel();
}

void FileTransferSession::disconnect() {
    d->disconnect();
}

bool FileTransferSession::isConnected() const {
    return d->connected;
}
QString FileTransferSession::errorString() const {
    return d->error;
}
int FileTransferSession::errorCode() const {
    return d->code;
}

}  // namespace quillon
