#pragma once
// The two kinds of session through which all work on a server is done, and the non-blocking
// shell of the live monitors. To a window the blocking sessions read as plain calls: the libssh
// I/O runs on a worker thread while the caller waits in a local event loop, so its timers keep
// running. Every wait has a deadline; a time-out is a failure with a message, never a success.
#include "common/SiteTargets.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace quillon {

// The shell's prompt (and continuation prompt "> "): one of $ % @ # > and a blank at the end.
inline constexpr const char* kPromptPattern = "[$%@#>] $";
inline constexpr int kLineTimeoutSec = 60;

// Why a session failed: errorCode() of the blocking sessions, the code of
// LiveTailSession::connected().
enum SessionError {
    kSessionOk = 0,
    kSessionUnreachable = 1,     // no connection to host and port (refused, no route)
    kSessionHostKeyChanged = 2,  // the key differs from the one in known_hosts
    kSessionLoginRefused = 3,    // wrong login or password
    kSessionTimedOut = 4,        // a deadline passed
    kSessionFailed = 5,          // anything else (dropped session, missing file, ...)
};

class RemoteShellSession : public QObject {
    Q_OBJECT
public:
    explicit RemoteShellSession(QObject* parent = nullptr);
    ~RemoteShellSession() override;  // disconnects

    // Connects, authenticates, opens bash on a "dumb" PTY and waits until it is ready.
    // Deadline: G().g_FtpTimeout seconds unless given. False with errorString() on failure
    // (wrong password, closed port, changed host key, time-out).
    bool connectToHost(const SessionTarget& target, int timeoutSec = -1);
    // Waits for the first prompt.
    bool waitForPrompt(int timeoutSec = kLineTimeoutSec);
    // Sends line + LF (one line: a final LF is dropped; a line break or another control
    // character inside is refused, as the shell would take it for an editing key) and
    // waits until the text after the line's echo ends in the prompt.
    // Returns the text between the echo and the prompt, CR LF as LF; nullopt on time-out or a
    // dropped session. After a time-out the session stays open: the next call first waits
    // (within its own deadline) for the prompt of the line that is still running.
    std::optional<QString> execute(const QString& line, int timeoutSec = kLineTimeoutSec);
    // "cd " + shellQuote(folder), and checks that the shell got there.
    bool changeFolder(const QString& folder, int timeoutSec = kLineTimeoutSec);
    void disconnect();
    bool isConnected() const;
    QString errorString() const;
    int errorCode() const;  // a SessionError

    // Every line sent and every reply, for the caller's debug log.
    std::function<void(const QString&)> log;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// The lstCommands runner: runs the queued lines first to last, removing each as it ran, and
// stops at the first line that fails (the failed line and the rest stay queued).
struct QueueResult {
    bool ok = true;
    QString failedLine;
    QString error;
    QStringList replies;  // one per line that ran
};
QueueResult runCommandQueue(RemoteShellSession& session, QStringList& lstCommands,
                            int timeoutSec = kLineTimeoutSec);

class FileTransferSession : public QObject {
    Q_OBJECT
public:
    explicit FileTransferSession(QObject* parent = nullptr);
    ~FileTransferSession() override;

    // Deadline: G().g_FtpTimeout seconds unless given.
    bool connectToHost(const SessionTarget& target, int timeoutSec = -1);
    // Downloads remotePath (absolute, or relative to the login's start folder) to a temporary
    // name beside localPath and renames it into place when complete. A failed download leaves
    // no file at localPath. Deadline per transfer: G().g_FtpTimeout seconds unless given.
    // A transfer that outlives its deadline closes the session.
    bool getFile(const QString& localPath, const QString& remotePath, int timeoutSec = -1);
    void disconnect();
    bool isConnected() const;
    QString errorString() const;
    int errorCode() const;  // a SessionError

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// A non-blocking shell for the live monitors: connect returns at once; the session reports
// through signals on the user-interface thread.
class LiveTailSession : public QObject {
    Q_OBJECT
public:
    explicit LiveTailSession(QObject* parent = nullptr);
    ~LiveTailSession() override;

    // Starts connecting in the background; connected(errorCode, errorText) follows once the
    // shell's first prompt has come (or at the failure), then dataReceived() with all text
    // received so far.
    void connectToHost(const SessionTarget& target, int timeoutSec = -1);
    // Sends text as typed (the caller adds the LF).
    void send(const QString& text);
    // Drops the session without waiting; nothing more is emitted for it.
    void disconnect();
    bool isConnected() const;

signals:
    void connected(int errorCode, const QString& errorText);  // 0 = connected and ready
    void dataReceived(const QString& text);                   // as received, CR LF and all
    void disconnected();  // the server ended a connected session

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

}  // namespace quillon
