#pragma once
// A non-blocking shell for the live monitors: connect returns at once; the session reports
// through signals on the user-interface thread.
#include "common/SiteTargets.h"
#include "remote/SessionError.h"

#include <QObject>
#include <QString>

#include <memory>

namespace quillon {

class LiveTailSession : public QObject {
    Q_OBJECT
public:
    explicit LiveTailSession(QObject* parent = nullptr);
    ~LiveTailSession() override;

    // Starts connecting in the background; connected(errorCode, errorText) follows once the
    // shell's first prompt has come (or at the failure, at the latest after timeoutSec; 0 or
    // less: kServerTimeoutSec), then dataReceived() with all text received so far.
    void connectToHost(const SessionTarget& target, int timeoutSec);
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
