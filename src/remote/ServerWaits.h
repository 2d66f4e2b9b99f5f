#pragma once
// Whether the program waits for a server right now. A wait serves events (its local event loop
// keeps timers and clicks running), so a window must not start other work then or be torn down
// under the waiting code: the main window refuses log off, exit and a second operation, and a
// window that was open when the wait began refuses to be closed (widgets/WaitGuard.h). The
// real server work and the test fakes hold a Scope for each wait. User-interface thread only.
#include <QObject>

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

signals:
    // When the first wait begins (true) and when the last one ends (false).
    void changed(bool waiting);

private:
    int m_count = 0;
};

}  // namespace quillon
