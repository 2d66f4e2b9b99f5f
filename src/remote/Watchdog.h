#pragma once
// Deadlines, and the watchdog that enforces them under libssh: libssh calls can block past
// their own time-outs when a server stalls (SFTP reads above all). The only reliable way out
// is to shut the socket down under them, which the watchdog does at a deadline.
#include "common/SiteTargets.h"

#include <QtGlobal>

#include <libssh/libssh.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

namespace quillon {

using Clock = std::chrono::steady_clock;

// A given deadline in seconds; 0 or less: kServerTimeoutSec.
int deadlineSeconds(int timeoutSec);
Clock::time_point deadlineIn(int seconds);
// Milliseconds until the deadline; 0 once it has passed.
int msLeft(Clock::time_point deadline);

// The socket of one session, for the watchdog (and a cancel) to shut down. Both sides lock the
// guard, so the socket is never shut after the session is freed.
struct SocketGuard {
    std::mutex m;
    ssh_session s = nullptr;
    std::atomic<bool> fired{false};

    void attach(ssh_session session);
    void detach();
    void fire();
};

class Watchdog {
public:
    static Watchdog& instance();
    quint64 arm(const std::shared_ptr<SocketGuard>& guard, Clock::time_point when);
    void disarm(quint64 id);
    ~Watchdog();

private:
    struct Entry {
        std::weak_ptr<SocketGuard> guard;
        Clock::time_point when;
    };
    Watchdog();
    void run();
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::map<quint64, Entry> m_timers;
    quint64 m_next = 0;
    bool m_stop = false;
    std::thread m_thread;
};

// The watchdog armed for one scope.
class ArmedWatchdog {
public:
    ArmedWatchdog(const std::shared_ptr<SocketGuard>& g, Clock::time_point when)
        : m_guard(g), m_id(Watchdog::instance().arm(g, when)) {}
    ~ArmedWatchdog() { Watchdog::instance().disarm(m_id); }
    // Moves the deadline: a wait that made progress (data came) starts its count again.
    void rearm(Clock::time_point when) {
        Watchdog::instance().disarm(m_id);
        m_id = Watchdog::instance().arm(m_guard, when);
    }
    ArmedWatchdog(const ArmedWatchdog&) = delete;
    ArmedWatchdog& operator=(const ArmedWatchdog&) = delete;

private:
    std::shared_ptr<SocketGuard> m_guard;
    quint64 m_id;
};

}  // namespace quillon
