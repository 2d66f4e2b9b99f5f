#pragma once
// What the session tests share: tokens of their own, a follower of the server's journal, the
// targets of the stand-in server, and a relay that can stall or stay silent.
#include "common/Globals.h"
#include "common/SiteTargets.h"
#include "support/SimServer.h"
#include "support/TempHome.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>
#include <QThread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace remotetest {

using quillon::SessionTarget;
using testsupport::SimServer;

// Other people's tests may use the server at the same time: lines carry a token of their own.
inline QString token() {
    return QString::number(QRandomGenerator::global()->generate64(), 36);
}

// Follows the server's journal from the moment it is made, so the SHELL lines of a test are
// kept even when another test run clears the journal meanwhile.
class JournalWatch {
public:
    JournalWatch() : thread_([this] { run(); }) {}
    ~JournalWatch() {
        stop_ = true;
        thread_.join();
    }
    // The SHELL lines seen so far that contain `filter`.
    QStringList lines(const QString& filter = QString()) {
        QThread::msleep(30);  // the last line may still be on its way
        std::lock_guard lock(m_);
        QStringList out;
        for (const QString& l : lines_)
            if (l.contains(filter)) out << l;
        return out;
    }
    // Forgets what came so far and follows on from the journal's present end: a test calls it
    // once it holds the server, so lines of a test that held it before are not taken for its own.
    void startHere() {
        skip_ = true;
        while (skip_) QThread::msleep(1);
    }

private:
    void run() {
        const QString path = SimServer::stateDir() + QStringLiteral("/journal");
        qint64 pos = QFileInfo(path).size();
        QByteArray partial;
        while (!stop_) {
            if (skip_) {
                std::lock_guard lock(m_);
                lines_.clear();
                partial.clear();
                pos = QFileInfo(path).size();
                skip_ = false;
            }
            QFile f(path);
            if (f.open(QIODevice::ReadOnly)) {
                if (f.size() < pos) pos = 0;  // cleared
                f.seek(pos);
                partial += f.readAll();
                pos = f.pos();
                qsizetype nl;
                while ((nl = partial.indexOf('\n')) >= 0) {
                    const QString line = QString::fromUtf8(partial.left(nl));
                    partial.remove(0, nl + 1);
                    if (line.startsWith(QStringLiteral("SHELL "))) {
                        std::lock_guard lock(m_);
                        lines_ << line.mid(6);
                    }
                }
            }
            QThread::msleep(3);
        }
    }
    std::mutex m_;
    QStringList lines_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> skip_{false};
    std::thread thread_;
};

inline SessionTarget simShell() {
    return {SimServer::host(), SimServer::port(), SimServer::shellUser(),
            SimServer::shellPassword()};
}
inline SessionTarget simFiles() {
    return {SimServer::host(), SimServer::port(), SimServer::sftpUser(), SimServer::sftpPassword()};
}

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
                    const ssize_t n = ::read(p[i].fd, buf, sizeof buf);
                    if (n > 0) (void)!::write(to, buf, static_cast<size_t>(n));
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

// A test on site 0 of the site table, set up for the stand-in server, in a program folder of its
// own, with the server's journal followed from the start.
class SiteTest : public testsupport::SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        if (IsSkipped()) return;
        SimServer::configureSite(0);
        quillon::G().g_CurSite = 0;
        journal.startHere();
    }
    testsupport::TempHome home;
    JournalWatch journal;
};

}  // namespace remotetest
