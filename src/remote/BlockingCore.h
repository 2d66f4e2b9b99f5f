#pragma once
// What both blocking sessions keep on the caller's side: their worker, the guard of their
// socket and how the last call ended.
#include "remote/Connection.h"
#include "remote/SessionError.h"
#include "remote/SessionTexts.h"
#include "remote/Watchdog.h"
#include "remote/Worker.h"

#include <QString>

#include <memory>

namespace quillon {

struct BlockingCore {
    // False once the session is destroyed: a handler that ran during a wait may delete it.
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);
    std::unique_ptr<Worker> ownedWorker;  // made by worker() on first use
    std::shared_ptr<SocketGuard> guard = std::make_shared<SocketGuard>();
    SshConnection conn;  // used on the worker only
    bool connected = false;
    bool busy = false;
    bool cancelled = false;  // cancel() came during the current wait
    QString error;
    int code = kSessionOk;

    void closeOnWorker() {
        if (!ownedWorker) return;
        ownedWorker->post([this] { conn.close(); });
    }
    // A call that waits is cut off; the close runs on the worker after it.
    void disconnect() {
        if (busy) guard->fire();
        if (connected || ownedWorker) closeOnWorker();
        connected = false;
    }
    // For the session's destructor: cuts off a waiting call, closes, and joins the worker.
    void destroy() {
        *alive = false;
        if (busy) guard->fire();
        closeOnWorker();
        ownedWorker.reset();
    }
    Worker& worker() {
        if (!ownedWorker) ownedWorker = std::make_unique<Worker>();
        return *ownedWorker;
    }
    // Every failure carries a code as well as its text, so none reads as kSessionOk.
    bool fail(int failureCode, const QString& text) {
        code = failureCode;
        error = text;
        return false;
    }
    // A fresh start for a connect; false while a call of this session is still waiting.
    bool startConnect() {
        if (busy) return fail(kSessionFailed, sessiontexts::busy());
        error.clear();
        code = kSessionOk;
        guard->fired = false;
        return true;
    }
    void startWait() {
        busy = true;
        cancelled = false;
    }
    // Shuts the socket under the waiting call, which returns at once; the caller then closes.
    void cancel() {
        if (!busy) return;
        cancelled = true;
        guard->fire();
    }
};

}  // namespace quillon
