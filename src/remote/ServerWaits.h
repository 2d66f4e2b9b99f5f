#pragma once
// Whether the program waits for a server right now. A wait serves events (its local event loop
// keeps timers and clicks running), so a window must not start other work then or be torn down
// under the waiting code: the main window refuses log off, exit and a second operation, and a
// window that was open when the wait began refuses to be closed (widgets/WaitGuard.h). The
// real server work and the test fakes hold a Scope for each wait. User-interface thread only.
#include <QObject>

#include <functional>
#include <vector>

namespace quillon {

class ServerWaits : public QObject {
    Q_OBJECT
public:
    static ServerWaits& instance();
    bool waiting() const { return m_count > 0; }

    // A wait in progress, for its length.
    class Scope {
    public:
        Scope();
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
    };

    // A line or fetch that waits and can be ended by the user, for its length: cancel() ends
    // its session (ServerShell::cancel, ServerFiles::cancel). Held by the real sessions and the
    // fake beside their Scope, so a window's wait panel can end any wait of its work.
    class Cancellable {
    public:
        explicit Cancellable(std::function<void()> cancel);
        ~Cancellable();
        Cancellable(const Cancellable&) = delete;
        Cancellable& operator=(const Cancellable&) = delete;

    private:
        int m_id;
    };
    bool cancellable() const { return !m_cancels.empty(); }
    // Ends the innermost wait that can be ended; nothing when none can.
    void cancelCurrent();

signals:
    // When the first wait begins (true) and when the last one ends (false).
    void changed(bool waiting);
    // When a wait that can be ended begins (true) and when none is left (false).
    void cancellableChanged(bool cancellable);

private:
    int m_count = 0;
    int m_nextId = 0;
    std::vector<std::pair<int, std::function<void()>>> m_cancels;
};

}  // namespace quillon
