#pragma once
// File transfers from a server over SFTP, as plain calls (the I/O runs on a worker thread
// while the caller's event loop runs). Every transfer has a deadline.
#include "common/SiteTargets.h"
#include "remote/SessionError.h"

#include <QObject>
#include <QString>

#include <memory>

namespace quillon {

class FileTransferSession : public QObject {
    Q_OBJECT
public:
    explicit FileTransferSession(QObject* parent = nullptr);
    ~FileTransferSession() override;

    // Connects within timeoutSec (0 or less: kServerTimeoutSec), which is also the deadline
    // of each transfer that does not give its own.
    bool connectToHost(const SessionTarget& target, int timeoutSec);
    // Downloads remotePath (absolute, or relative to the login's start folder) to a temporary
    // name beside localPath and renames it into place when complete. A failed download leaves
    // no file at localPath. Deadline: timeoutSec (0 for the connect's) without any data; a
    // transfer that keeps receiving is never cut, one that receives nothing for that long
    // closes the session.
    bool getFile(const QString& localPath, const QString& remotePath, int timeoutSec = 0);
    // As RemoteShellSession::cancel(): the waiting connect or transfer returns at once with
    // kSessionCancelled (a transfer leaves no file) and the session is closed.
    void cancel();
    void disconnect();
    bool isConnected() const;
    QString errorString() const;
    int errorCode() const;  // a SessionError

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

}  // namespace quillon
