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

Watchdog::Watchdog() : thread_([this] { run(); }) {}

Watchdog::~Watchdog() {
    {
        std::lock_guard lock(m_);
        stop_ = true;
    }
    cv_.notify_all();
    if (thread_.joinable()) thread_.join();
}

quint64 Watchdog::arm(const std::shared_ptr<SocketGuard>& guard, Clock::time_point when) {
    std::lock_guard lock(m_);
    const quint64 id = ++next_;
    timers_.emplace(id, Entry{guard, when});
    cv_.notify_all();
    return id;
}

void Watchdog::disarm(quint64 id) {
    std::lock_guard lock(m_);
    timers_.erase(id);
}

void Watchdog::run() {
    std::unique_lock lock(m_);
    while (!stop_) {
        auto next = Clock::time_point::max();
        for (auto it = timers_.begin(); it != timers_.end();) {
            if (it->second.when <= Clock::now()) {
                if (auto g = it->second.guard.lock()) g->fire();
                it = timers_.erase(it);
            } else {
                next = std::min(next, it->second.when);
                ++it;
            }
        }
        if (next == Clock::time_point::max())
            cv_.wait(lock);
        else
            cv_.wait_until(lock, next);
    }
}

}  // namespace quillon
