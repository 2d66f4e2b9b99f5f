#include "remote/Watchdog.h"

#include <sys/socket.h>

#include <algorithm>

namespace quillon {

int deadlineSeconds(int timeoutSec) {
    return timeoutSec > 0 ? timeoutSec : kServerTimeoutSec;
}

Clock::time_point deadlineIn(int seconds) {
    return Clock::now() + std::chrono::seconds(seconds);
}

int msLeft(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left <= 0 ? 0 : static_cast<int>(std::min<long long>(left, 24LL * 3600 * 1000));
}

void SocketGuard::attach(ssh_session session) {
    std::lock_guard lock(m);
    s = session;
}

void SocketGuard::detach() {
    std::lock_guard lock(m);
    s = nullptr;
}

void SocketGuard::fire() {
    std::lock_guard lock(m);
    fired = true;
    if (!s) return;
    const socket_t fd = ssh_get_fd(s);
    if (fd != SSH_INVALID_SOCKET) ::shutdown(fd, SHUT_RDWR);
}

Watchdog& Watchdog::instance() {
    static Watchdog w;
    return w;
}

Watchdog::Watchdog() : m_thread([this] { run(); }) {}

Watchdog::~Watchdog() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_cv.notify_all();
    if (m_thread.joinable()) m_thread.join();
}

quint64 Watchdog::arm(const std::shared_ptr<SocketGuard>& guard, Clock::time_point when) {
    std::lock_guard lock(m_mutex);
    const quint64 id = ++m_next;
    m_timers.emplace(id, Entry{guard, when});
    m_cv.notify_all();
    return id;
}

void Watchdog::disarm(quint64 id) {
    std::lock_guard lock(m_mutex);
    m_timers.erase(id);
}

void Watchdog::run() {
    std::unique_lock lock(m_mutex);
    while (!m_stop) {
        auto next = Clock::time_point::max();
        for (auto it = m_timers.begin(); it != m_timers.end();) {
            if (it->second.when <= Clock::now()) {
                if (auto g = it->second.guard.lock()) g->fire();
                it = m_timers.erase(it);
            } else {
                next = std::min(next, it->second.when);
                ++it;
            }
        }
        if (next == Clock::time_point::max())
            m_cv.wait(lock);
        else
            m_cv.wait_until(lock, next);
    }
}

}  // namespace quillon
