#pragma once
// A shell on a server that reads as plain calls: the libssh I/O runs on a worker thread while
// the caller waits in a local event loop, so its timers keep running. Every wait has a
// deadline; a time-out is a failure with a message, never a success.
#include "common/SiteTargets.h"
#include "remote/SessionError.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace quillon {

class RemoteShellSession : public QObject {
    Q_OBJECT
public:
    explicit RemoteShellSession(QObject* parent = nullptr);
    ~RemoteShellSession() override;  // disconnects

    // Connects, authenticates, opens bash on a "dumb" PTY and waits until it is ready, all
    // within timeoutSec (0 or less: kServerTimeoutSec). False with errorString() on failure
    // (wrong password, closed port, changed host key, time-out).
    bool connectToHost(const SessionTarget& target, int timeoutSec);
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
    // Callable from the user interface while a call of this session waits (a Cancel button's
    // click, served by the wait's event loop): the call returns at once with
    // kSessionCancelled and the session is closed. Does nothing when no call waits.
    void cancel();
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

}  // namespace quillon
