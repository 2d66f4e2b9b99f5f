#pragma once
// Faults a real server can show, for tests of the real sessions against the stand-in server: a
// relay that stalls (at once, or in the middle of a transfer) or cuts every connection, a port
// nobody listens on, and a host key that is not the server's.
#include <QByteArray>
#include <QtGlobal>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <utility>
#include <vector>

namespace testsupport {

// A TCP relay to the server that can be told to stop passing bytes (a stalled server), or,
// without an upstream port, a server that accepts and never says a word.
class StallProxy {
public:
    explicit StallProxy(int upstreamPort) : upstream_(upstreamPort) {
        listen_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listen_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(listen_, 8);
        socklen_t len = sizeof a;
        ::getsockname(listen_, reinterpret_cast<sockaddr*>(&a), &len);
        port_ = ntohs(a.sin_port);
        if (::pipe(wake_) != 0) wake_[0] = wake_[1] = -1;
        thread_ = std::thread([this] { run(); });
    }
    ~StallProxy() {
        stop_ = true;
        poke();
        thread_.join();
        for (int fd : fds_) ::close(fd);
        ::close(listen_);
        ::close(wake_[0]);
        ::close(wake_[1]);
    }
    int port() const { return port_; }
    void stall() {
        stalled_ = true;
        poke();
    }
    // Stalls once `bytes` more have come from the server: in the middle of a transfer that is
    // larger than that.
    void stallAfter(qint64 bytes) {
        stallBudget_ = bytes;
        poke();
    }
    // Passes at most bytesPerSecond from the server (0: no limit): a slow line whose data keeps
    // flowing.
    void throttle(qint64 bytesPerSecond) {
        rate_ = bytesPerSecond;
        poke();
    }
    // Closes every connection at once, as a server that kills the session does; new ones are
    // still relayed.
    void cut() {
        cut_ = true;
        poke();
    }

private:
    void poke() {
        const char c = 1;
        (void)!::write(wake_[1], &c, 1);
    }
    int dial() {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(static_cast<uint16_t>(upstream_));
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
            ::close(fd);
            return -1;
        }
        return fd;
    }
    void run() {
        std::vector<std::pair<int, int>> pairs;  // client, upstream (-1: silent)
        while (!stop_) {
            std::vector<pollfd> p{{wake_[0], POLLIN, 0}, {listen_, POLLIN, 0}};
            if (!stalled_)
                for (auto& [c, u] : pairs) {
                    p.push_back({c, POLLIN, 0});
                    if (u >= 0) p.push_back({u, POLLIN, 0});
                }
            if (::poll(p.data(), p.size(), 1000) <= 0) continue;
            if (p[0].revents) {
                char buf[16];
                (void)!::read(wake_[0], buf, sizeof buf);
            }
            if (cut_.exchange(false)) {
                for (auto& [c, u] : pairs) {
                    ::shutdown(c, SHUT_RDWR);
                    if (u >= 0) ::shutdown(u, SHUT_RDWR);
                }
                pairs.clear();
                continue;
            }
            if (p[1].revents & POLLIN) {
                const int c = ::accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
                if (c >= 0) {
                    const int u = upstream_ > 0 ? dial() : -1;
                    pairs.emplace_back(c, u);
                    fds_.push_back(c);
                    if (u >= 0) fds_.push_back(u);
                }
            }
            for (size_t i = 2; i < p.size() && !stalled_; ++i) {
                if (!(p[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
                for (auto& [c, u] : pairs) {
                    const int to = p[i].fd == c ? u : p[i].fd == u ? c : -2;
                    if (to == -2 || to < 0) continue;
                    char buf[65536];
                    // Throttled, the server's bytes come in slices of a twentieth of a second.
                    const qint64 rate = rate_;
                    const size_t want = to == c && rate > 0
                                            ? size_t(std::clamp<qint64>(rate / 20, 1, sizeof buf))
                                            : sizeof buf;
                    const ssize_t n = ::read(p[i].fd, buf, want);
                    if (n > 0) (void)!::write(to, buf, static_cast<size_t>(n));
                    if (n > 0 && to == c && rate > 0)
                        std::this_thread::sleep_for(std::chrono::microseconds(n * 1'000'000 / rate));
                    if (n > 0 && to == c && stallBudget_ >= 0 && (stallBudget_ -= n) <= 0) {
                        stallBudget_ = -1;
                        stalled_ = true;
                    }
                    if (n <= 0) ::shutdown(to, SHUT_WR);
                }
            }
        }
    }
    int upstream_;
    int listen_ = -1;
    int port_ = 0;
    int wake_[2]{-1, -1};
    std::atomic<bool> stop_{false};
    std::atomic<bool> stalled_{false};
    std::atomic<bool> cut_{false};
    std::atomic<qint64> stallBudget_{-1};  // bytes from the server until the stall; -1: none
    std::atomic<qint64> rate_{0};          // bytes a second from the server; 0: no limit
    std::vector<int> fds_;
    std::thread thread_;
};

// A port nobody listens on: bound, then released.
inline int closedPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t len = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    ::close(fd);
    return ntohs(a.sin_port);
}

// An ed25519 public key that is not the server's.
inline QByteArray foreignHostKeyLine(int port) {
    auto be32 = [](quint32 v) {
        const char b[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
        return QByteArray(b, 4);
    };
    const QByteArray blob = be32(11) + "ssh-ed25519" + be32(32) + QByteArray(32, '\x42');
    return "[127.0.0.1]:" + QByteArray::number(port) + " ssh-ed25519 " + blob.toBase64() + "\n";
}

}  // namespace testsupport
