#include "remote/RemoteSession.h"

#include "common/Globals.h"
#include "common/ShellQuote.h"
#include "platform/SystemInfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>

#include <libssh/libssh.h>
#include <libssh/sftp.h>
#include <sys/socket.h>

#include <fcntl.h>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <thread>

namespace quillon {

using Clock = std::chrono::steady_clock;

namespace {

int effectiveTimeout(int timeoutSec) {
    if (timeoutSec > 0) return timeoutSec;
    return G().g_FtpTimeout > 0 ? G().g_FtpTimeout : 90;
}

Clock::time_point deadlineIn(int seconds) {
    return Clock::now() + std::chrono::seconds(seconds);
}

int msLeft(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left <= 0 ? 0 : static_cast<int>(std::min<long long>(left, 24LL * 3600 * 1000));
}

// Server text is UTF-8 as a rule; anything that is not is taken byte for byte.
QString decodeText(const QByteArray& bytes) {
    QStringDecoder dec(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString s = dec(bytes);
    return dec.hasError() ? QString::fromLatin1(bytes) : s;
}

QString sshError(ssh_session s) {
    return QString::fromUtf8(ssh_get_error(s)).trimmed();
}

// --- Watchdog -------------------------------------------------------------------------------
// libssh calls can block past their own time-outs when a server stalls (SFTP reads above all).
// The only reliable way out is to shut the socket down under them, which this does at a
// deadline. Both sides lock the guard, so the socket is never shut after the session is freed.
struct SocketGuard {
    std::mutex m;
    ssh_session s = nullptr;
    std::atomic<bool> fired{false};

    void attach(ssh_session session) {
        std::lock_guard lock(m);
        s = session;
    }
    void detach() {
        std::lock_guard lock(m);
        s = nullptr;
    }
    void fire() {
        std::lock_guard lock(m);
        fired = true;
        if (!s) return;
        const socket_t fd = ssh_get_fd(s);
        if (fd != SSH_INVALID_SOCKET) ::shutdown(fd, SHUT_RDWR);
    }
};

class Watchdog {
public:
    static Watchdog& instance() {
        static Watchdog w;
        return w;
    }
    quint64 arm(const std::shared_ptr<SocketGuard>& guard, Clock::time_point when) {
        std::lock_guard lock(m_);
        const quint64 id = ++next_;
        timers_.emplace(id, Entry{guard, when});
        cv_.notify_all();
        return id;
    }
    void disarm(quint64 id) {
        std::lock_guard lock(m_);
        timers_.erase(id);
    }
    ~Watchdog() {
        {
            std::lock_guard lock(m_);
            stop_ = true;
        }
        cv_.notify_all();
        if (thread_.joinable()) thread_.join();
    }

private:
    struct Entry {
        std::weak_ptr<SocketGuard> guard;
        Clock::time_point when;
    };
    Watchdog() : thread_([this] { run(); }) {}
    void run() {
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
    std::mutex m_;
    std::condition_variable cv_;
    std::map<quint64, Entry> timers_;
    quint64 next_ = 0;
    bool stop_ = false;
    std::thread thread_;
};

class ArmedWatchdog {
public:
    ArmedWatchdog(const std::shared_ptr<SocketGuard>& g, Clock::time_point when)
        : id_(Watchdog::instance().arm(g, when)) {}
    ~ArmedWatchdog() { Watchdog::instance().disarm(id_); }
    ArmedWatchdog(const ArmedWatchdog&) = delete;
    ArmedWatchdog& operator=(const ArmedWatchdog&) = delete;

private:
    quint64 id_;
};

// --- Worker thread --------------------------------------------------------------------------
// Runs the jobs of one session, one at a time, so its libssh handles are only ever used by
// one thread.
class Worker {
public:
    Worker() : thread_([this] { run(); }) {}
    ~Worker() {
        {
            std::lock_guard lock(m_);
            stop_ = true;
        }
        cv_.notify_all();
        thread_.join();
    }
    void post(std::function<void()> job) {
        {
            std::lock_guard lock(m_);
            jobs_.push_back(std::move(job));
        }
        cv_.notify_all();
    }

private:
    void run() {
        for (;;) {
            std::function<void()> job;
            {
                std::unique_lock lock(m_);
                cv_.wait(lock, [this] { return stop_ || !jobs_.empty(); });
                if (jobs_.empty()) return;
                job = std::move(jobs_.front());
                jobs_.pop_front();
            }
            job();
        }
    }
    std::mutex m_;
    std::condition_variable cv_;
    std::deque<std::function<void()>> jobs_;
    bool stop_ = false;
    std::thread thread_;
};

// Runs job on the worker while the calling thread serves its own event loop (so a window's
// timers keep firing) and returns when the job has returned. The jobs bound their own waits.
void runBlocking(Worker& worker, std::function<void()> job) {
    struct Sync {
        std::mutex m;
        std::condition_variable cv;
        bool done = false;
    };
    auto sync = std::make_shared<Sync>();
    if (!QCoreApplication::instance()) {
        worker.post([job = std::move(job), sync] {
            job();
            std::lock_guard lock(sync->m);
            sync->done = true;
            sync->cv.notify_all();
        });
        std::unique_lock lock(sync->m);
        sync->cv.wait(lock, [&] { return sync->done; });
        return;
    }
    QEventLoop loop;
    QEventLoop* target = &loop;
    worker.post([job = std::move(job), sync, target] {
        job();
        // Posted under the lock that the caller takes to see done, so the loop still exists
        // when the quit is posted; a quit that lands while an inner loop of the same thread
        // runs reaches ours once that one returns.
        std::lock_guard lock(sync->m);
        sync->done = true;
        QMetaObject::invokeMethod(target, "quit", Qt::QueuedConnection);
    });
    for (;;) {
        {
            std::lock_guard lock(sync->m);
            if (sync->done) break;
        }
        loop.exec();
    }
}

// --- Connecting -----------------------------------------------------------------------------
struct Failure {
    int code = kSessionOk;
    QString text;
    void set(int c, const QString& t) {
        if (code == kSessionOk) {
            code = c;
            text = t;
        }
    }
};

QString knownHostsPath() {
    return QDir(platform::SystemInfo::programFolder()).filePath(QStringLiteral("known_hosts"));
}

QString hostLabel(const SessionTarget& t) {
    return t.port == 22 ? t.host : QStringLiteral("%1 port %2").arg(t.host).arg(t.port);
}

QString timeoutText(const SessionTarget& t, int seconds) {
    return QStringLiteral("No answer from the server %1 within %2 seconds.")
        .arg(hostLabel(t))
        .arg(seconds);
}

// Sessions started at the same moment must not record the same new key twice.
std::mutex& knownHostsMutex() {
    static std::mutex m;
    return m;
}

bool checkHostKey(ssh_session s, const SessionTarget& t, Failure& f) {
    std::lock_guard lock(knownHostsMutex());
    switch (ssh_session_is_known_server(s)) {
        case SSH_KNOWN_HOSTS_OK:
            return true;
        case SSH_KNOWN_HOSTS_CHANGED:
        case SSH_KNOWN_HOSTS_OTHER:
            f.set(kSessionHostKeyChanged,
                  QStringLiteral("The server's host key has changed for %1. The connection was "
                                 "refused: someone may be posing as the server. If the server "
                                 "was reinstalled, remove its line from %2.")
                      .arg(hostLabel(t), QDir::toNativeSeparators(knownHostsPath())));
            return false;
        case SSH_KNOWN_HOSTS_NOT_FOUND:
        case SSH_KNOWN_HOSTS_UNKNOWN:
            // First contact: remember the key, so a later change is noticed.
            if (ssh_session_update_known_hosts(s) != SSH_OK) {
                f.set(kSessionFailed, QStringLiteral("Could not record the host key of %1 in "
                                                     "%2: %3")
                                          .arg(hostLabel(t), knownHostsPath(), sshError(s)));
                return false;
            }
            return true;
        case SSH_KNOWN_HOSTS_ERROR:
        default:
            f.set(kSessionFailed, QStringLiteral("Could not check the host key of %1: %2")
                                      .arg(hostLabel(t), sshError(s)));
            return false;
    }
}

bool authenticate(ssh_session s, const SessionTarget& t, Failure& f) {
    const QByteArray password = t.password.toUtf8();
    int rc = ssh_userauth_none(s, nullptr);
    if (rc == SSH_AUTH_SUCCESS) return true;
    if (rc == SSH_AUTH_ERROR) {
        f.set(kSessionFailed,
              QStringLiteral("The login at %1 failed: %2").arg(hostLabel(t), sshError(s)));
        return false;
    }
    const int methods = ssh_userauth_list(s, nullptr);
    rc = SSH_AUTH_DENIED;
    if (methods & SSH_AUTH_METHOD_PASSWORD)
        rc = ssh_userauth_password(s, nullptr, password.constData());
    if (rc != SSH_AUTH_SUCCESS && rc != SSH_AUTH_ERROR && (methods & SSH_AUTH_METHOD_INTERACTIVE)) {
        rc = ssh_userauth_kbdint(s, nullptr, nullptr);
        for (int round = 0; rc == SSH_AUTH_INFO && round < 8; ++round) {
            const int prompts = ssh_userauth_kbdint_getnprompts(s);
            for (int i = 0; i < prompts; ++i) {
                char echo = 0;
                ssh_userauth_kbdint_getprompt(s, i, &echo);
                ssh_userauth_kbdint_setanswer(s, i, echo ? "" : password.constData());
            }
            rc = ssh_userauth_kbdint(s, nullptr, nullptr);
        }
    }
    if (rc == SSH_AUTH_SUCCESS) return true;
    if (rc == SSH_AUTH_ERROR)
        f.set(kSessionFailed,
              QStringLiteral("The login at %1 failed: %2").arg(hostLabel(t), sshError(s)));
    else
        f.set(kSessionLoginRefused,
              QStringLiteral("The server %1 refused the login %2: wrong password?")
                  .arg(hostLabel(t), t.login));
    return false;
}

// Connects, checks the host key and logs in. The guard is attached to the new session, so the
// watchdog can cut a connect that hangs.
ssh_session openSsh(const SessionTarget& t, Clock::time_point deadline,
                    const std::shared_ptr<SocketGuard>& guard, Failure& f) {
    if (t.host.isEmpty()) {
        f.set(kSessionFailed, QStringLiteral("No server address is configured for this site."));
        return nullptr;
    }
    ssh_session s = ssh_new();
    if (!s) {
        f.set(kSessionFailed, QStringLiteral("Could not start an SSH session."));
        return nullptr;
    }
    const QByteArray host = t.host.toUtf8();
    const QByteArray user = t.login.toUtf8();
    const QByteArray known = QFile::encodeName(knownHostsPath());
    const unsigned int port = static_cast<unsigned int>(t.port > 0 ? t.port : 22);
    const int processConfig = 0;
    const long timeout = std::max(1, (msLeft(deadline) + 999) / 1000);
    ssh_options_set(s, SSH_OPTIONS_PROCESS_CONFIG, &processConfig);  // never ~/.ssh/config
    ssh_options_set(s, SSH_OPTIONS_HOST, host.constData());
    ssh_options_set(s, SSH_OPTIONS_PORT, &port);
    ssh_options_set(s, SSH_OPTIONS_USER, user.constData());
    ssh_options_set(s, SSH_OPTIONS_KNOWNHOSTS, known.constData());
    ssh_options_set(s, SSH_OPTIONS_GLOBAL_KNOWNHOSTS, known.constData());
    ssh_options_set(s, SSH_OPTIONS_TIMEOUT, &timeout);
    guard->attach(s);

    auto fail = [&](int code, const QString& text) {
        guard->detach();
        if (guard->fired) f.set(kSessionTimedOut, timeoutText(t, static_cast<int>(timeout)));
        f.set(code, text);
        ssh_disconnect(s);
        ssh_free(s);
        return nullptr;
    };
    if (guard->fired) return fail(kSessionTimedOut, timeoutText(t, static_cast<int>(timeout)));
    if (ssh_connect(s) != SSH_OK) {
        const QString why = sshError(s);
        if (why.contains(QLatin1String("imeout")) || msLeft(deadline) == 0)
            return fail(kSessionTimedOut, timeoutText(t, static_cast<int>(timeout)));
        return fail(
            kSessionUnreachable,
            QStringLiteral("Could not connect to the server %1: %2").arg(hostLabel(t), why));
    }
    if (!checkHostKey(s, t, f)) return fail(f.code, f.text);
    if (!authenticate(s, t, f)) return fail(f.code, f.text);
    if (guard->fired || msLeft(deadline) == 0)
        return fail(kSessionTimedOut, timeoutText(t, static_cast<int>(timeout)));
    return s;
}

void closeSsh(ssh_session& s, const std::shared_ptr<SocketGuard>& guard) {
    if (!s) return;
    guard->detach();
    // No channel close first: that waits for the server, and a dropped session must not wait.
    ssh_disconnect(s);
    ssh_free(s);
    s = nullptr;
}

// A bash on a "dumb" terminal: no colour, title or bracketed-paste escapes, and wide enough
// that the echo of a long line never wraps.
ssh_channel openShell(ssh_session s, const SessionTarget& t, Failure& f) {
    ssh_channel ch = ssh_channel_new(s);
    if (ch && ssh_channel_open_session(ch) == SSH_OK &&
        ssh_channel_request_pty_size(ch, "dumb", 4000, 24) == SSH_OK &&
        ssh_channel_request_shell(ch) == SSH_OK)
        return ch;
    f.set(kSessionFailed,
          QStringLiteral("The server %1 did not open a shell: %2").arg(hostLabel(t), sshError(s)));
    if (ch) ssh_channel_free(ch);
    return nullptr;
}

// Where the prompt starts when text (from `from` on) ends in it, else -1.
qsizetype promptAtEnd(const QByteArray& text, qsizetype from) {
    static const QRegularExpression re(QString::fromLatin1(kPromptPattern));
    const qsizetype start = std::max(from, text.size() - 64);
    if (start >= text.size()) return -1;
    const QString tail = QString::fromLatin1(text.constData() + start, text.size() - start);
    const auto m = re.match(tail);
    // '$' would also match before a final newline; the prompt must end the text.
    if (!m.hasMatch() || m.capturedEnd() != tail.size()) return -1;
    return start + m.capturedStart();
}

enum class ReadResult { Prompt, TimedOut, Dropped };

// Reads into buf until the text after the first `skipLines` line ends ends in the prompt.
// Returns the prompt's position in promptPos.
ReadResult readUntilPrompt(ssh_channel ch, QByteArray& buf, int skipLines,
                           Clock::time_point deadline, qsizetype* promptPos) {
    char chunk[16384];
    for (;;) {
        qsizetype from = 0;
        bool echoed = true;
        for (int i = 0; i < skipLines; ++i) {
            const qsizetype nl = buf.indexOf('\n', from);
            if (nl < 0) {
                echoed = false;
                break;
            }
            from = nl + 1;
        }
        if (echoed) {
            const qsizetype p = promptAtEnd(buf, from);
            if (p >= 0) {
                // Take what is already here too: a prompt-like text in the middle of output.
                const int more = ssh_channel_read_nonblocking(ch, chunk, sizeof chunk, 0);
                if (more > 0) {
                    buf.append(chunk, more);
                    continue;
                }
                *promptPos = p;
                return ReadResult::Prompt;
            }
        }
        const int wait = msLeft(deadline);
        if (wait == 0) return ReadResult::TimedOut;
        const int n = ssh_channel_read_timeout(ch, chunk, sizeof chunk, 0, wait);
        if (n > 0) {
            buf.append(chunk, n);
        } else if (n < 0 || ssh_channel_is_eof(ch) || ssh_channel_is_closed(ch)) {
            return ReadResult::Dropped;
        }
    }
}

bool writeAll(ssh_channel ch, const QByteArray& data) {
    qsizetype done = 0;
    while (done < data.size()) {
        const int n = ssh_channel_write(ch, data.constData() + done,
                                        static_cast<uint32_t>(data.size() - done));
        if (n <= 0) return false;
        done += n;
    }
    return true;
}

}  // namespace

// --- Blocking sessions ----------------------------------------------------------------------

namespace {

// What both blocking sessions keep on the caller's side.
struct BlockingCore {
    // False once the session is destroyed: a handler that ran during a wait may delete it.
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);
    std::unique_ptr<Worker> worker;
    std::shared_ptr<SocketGuard> guard = std::make_shared<SocketGuard>();
    bool connected = false;
    bool busy = false;
    QString error;
    int code = kSessionOk;

    Worker& w() {
        if (!worker) worker = std::make_unique<Worker>();
        return *worker;
    }
    // Every failure carries a code as well as its text, so none reads as kSessionOk.
    bool fail(int failureCode, const QString& text) {
        code = failureCode;
        error = text;
        return false;
    }
    // A fresh start for a connect; false while a call of this session is still waiting.
    bool startConnect() {
        if (busy) return fail(kSessionFailed, QStringLiteral("The session is busy."));
        error.clear();
        code = kSessionOk;
        guard->fired = false;
        return true;
    }
};

}  // namespace

// --- RemoteShellSession ---------------------------------------------------------------------

struct RemoteShellSession::Impl : BlockingCore {
    // Used on the worker only.
    ssh_session ssh = nullptr;
    ssh_channel channel = nullptr;
    // The line whose prompt has not come yet: its output is still on the way.
    QString unfinishedLine;
    void closeOnWorker() {
        if (!worker) return;
        auto* self = this;
        worker->post([self] {
            self->channel = nullptr;  // freed with the session
            closeSsh(self->ssh, self->guard);
        });
    }
};

RemoteShellSession::RemoteShellSession(QObject* parent) : QObject(parent), d(new Impl) {}

RemoteShellSession::~RemoteShellSession() {
    *d->alive = false;
    if (d->busy) d->guard->fire();
    d->closeOnWorker();
    d->worker.reset();  // runs the close, then joins
}

bool RemoteShellSession::connectToHost(const SessionTarget& target, int timeoutSec) {
    if (!d->startConnect()) return false;
    disconnect();
    const int seconds = effectiveTimeout(timeoutSec);
    const auto deadline = deadlineIn(seconds);
    Failure f;
    bool ok = false;
    QByteArray greeting;
    d->busy = true;
    Impl* p = d.get();
    const std::shared_ptr<bool> alive = d->alive;
    runBlocking(p->w(), [p, target, deadline, seconds, &f, &ok, &greeting] {
        ArmedWatchdog dog(p->guard, deadline);
        p->ssh = openSsh(target, deadline, p->guard, f);
        if (!p->ssh) return;
        p->channel = openShell(p->ssh, target, f);
        if (p->channel) {
            qsizetype pos = -1;
            switch (readUntilPrompt(p->channel, greeting, 0, deadline, &pos)) {
                case ReadResult::Prompt:
                    ok = true;
                    return;
                case ReadResult::TimedOut:
                    f.set(kSessionTimedOut,
                          QStringLiteral("The server %1 showed no shell prompt within %2 seconds.")
                              .arg(hostLabel(target))
                              .arg(seconds));
                    break;
                case ReadResult::Dropped:
                    break;
            }
        }
        if (p->guard->fired) f.set(kSessionTimedOut, timeoutText(target, seconds));
        f.set(kSessionFailed,
              QStringLiteral("The server %1 closed the session.").arg(hostLabel(target)));
        p->channel = nullptr;
        closeSsh(p->ssh, p->guard);
    });
    if (!*alive) return {};
    d->busy = false;
    d->connected = ok;
    d->unfinishedLine.clear();
    if (!ok) d->fail(f.code, f.text);
    if (log) log(ok ? QStringLiteral("Connected to %1").arg(hostLabel(target)) : d->error);
    return ok;
}

bool RemoteShellSession::waitForPrompt(int timeoutSec) {
    // connectToHost returns only once the first prompt has come; a line still running is
    // what there may be to wait for.
    if (!d->connected) {
        // A failed connect's own reason stays the one to show.
        if (d->code == kSessionOk)
            d->fail(kSessionFailed, QStringLiteral("Not connected to the server."));
        return false;
    }
    if (d->unfinishedLine.isEmpty()) return true;
    const auto r = execute(QString(), timeoutSec);  // an empty line, once the old one is done
    return r.has_value();
}

std::optional<QString> RemoteShellSession::execute(const QString& givenLine, int timeoutSec) {
    QString line = givenLine;
    if (line.endsWith(QLatin1Char('\n'))) line.chop(1);
    // The shell would read the rest after the "> " prompt that ends this line's wait, and
    // its output would be taken for the next line's.
    if (line.contains(QLatin1Char('\n')) || line.contains(QLatin1Char('\r'))) {
        d->fail(kSessionFailed,
                QStringLiteral("A shell line cannot hold a line break: %1").arg(line));
        return std::nullopt;
    }
    // The line is typed at an interactive shell: a control character is an editing key there
    // (Ctrl-A goes back to the start of the line, Tab completes, Ctrl-C interrupts) even
    // inside quotes, so it could turn a quoted value into a command.
    for (const QChar c : line) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) {
            d->fail(kSessionFailed,
                    QStringLiteral("A shell line cannot hold the control character %1: %2")
                        .arg(QStringLiteral("0x%1").arg(c.unicode(), 2, 16, QLatin1Char('0')),
                             QString(line).replace(c, QLatin1Char('?'))));
            return std::nullopt;
        }
    }
    if (d->busy) {
        d->fail(kSessionFailed, QStringLiteral("The session is busy with another line."));
        return std::nullopt;
    }
    if (!d->connected) {
        d->fail(kSessionFailed, QStringLiteral("Not connected to the server."));
        return std::nullopt;
    }
    const int seconds = timeoutSec > 0 ? timeoutSec : kLineTimeoutSec;
    const auto deadline = deadlineIn(seconds);
    if (log) log(line);
    enum class Outcome { Reply, StillBusy, TimedOut, Dropped } outcome = Outcome::Dropped;
    QByteArray buf;
    qsizetype promptPos = -1;
    const bool unfinished = !d->unfinishedLine.isEmpty();
    const QByteArray bytes = line.toUtf8() + '\n';
    Impl* p = d.get();
    d->busy = true;
    const std::shared_ptr<bool> alive = d->alive;
    runBlocking(p->w(), [p, bytes, unfinished, deadline, &outcome, &buf, &promptPos] {
        // A safety net only: the reads below end at the deadline on their own.
        ArmedWatchdog dog(p->guard, deadline + std::chrono::seconds(2));
        if (unfinished) {
            QByteArray rest;
            qsizetype pos = -1;
            const ReadResult r = readUntilPrompt(p->channel, rest, 0, deadline, &pos);
            if (r != ReadResult::Prompt) {
                outcome = r == ReadResult::TimedOut ? Outcome::StillBusy : Outcome::Dropped;
                return;
            }
        }
        // Text that came after the last prompt (a background job's, say) is not this line's.
        char stale[4096];
        while (ssh_channel_read_nonblocking(p->channel, stale, sizeof stale, 0) > 0) {
        }
        if (!writeAll(p->channel, bytes)) {
            outcome = Outcome::Dropped;
            return;
        }
        // The echo of the line is its text and CR LF: the reply starts after the first LF.
        switch (readUntilPrompt(p->channel, buf, 1, deadline, &promptPos)) {
            case ReadResult::Prompt:
                outcome = Outcome::Reply;
                break;
            case ReadResult::TimedOut:
                outcome = Outcome::TimedOut;
                break;
            case ReadResult::Dropped:
                outcome = Outcome::Dropped;
                break;
        }
    });
    if (!*alive) return {};
    d->busy = false;
    switch (outcome) {
        case Outcome::Reply: {
            d->unfinishedLine.clear();
            const qsizetype echoEnd = buf.indexOf('\n') + 1;
            QString reply = decodeText(buf.mid(echoEnd, promptPos - echoEnd));
            reply.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            if (log) log(reply);
            return reply;
        }
        case Outcome::StillBusy:
            d->error = QStringLiteral(
                           "No answer from the server within %1 seconds: it is still busy with: %2")
                           .arg(seconds)
                           .arg(d->unfinishedLine);
            break;
        case Outcome::TimedOut:
            d->unfinishedLine = line.isEmpty() ? QStringLiteral("(empty line)") : line;
            d->error = QStringLiteral("No answer from the server within %1 seconds to: %2")
                           .arg(seconds)
                           .arg(line);
            break;
        case Outcome::Dropped:
            d->error =
                d->guard->fired
                    ? QStringLiteral(
                          "No answer from the server within %1 seconds to: %2; "
                          "the session was closed.")
                          .arg(seconds)
                          .arg(line)
                    : QStringLiteral("The server closed the session while running: %1").arg(line);
            d->connected = false;
            d->closeOnWorker();
            break;
    }
    d->code = outcome == Outcome::Dropped && !d->guard->fired ? kSessionFailed : kSessionTimedOut;
    if (log) log(d->error);
    return std::nullopt;
}

bool RemoteShellSession::changeFolder(const QString& folder, int timeoutSec) {
    if (folder.isEmpty())
        return d->fail(kSessionFailed,
                       QStringLiteral("No server folder is configured for this site."));
    const auto reply = execute(QStringLiteral("cd ") + shellQuote(folder), timeoutSec);
    if (!reply) return false;
    // cd prints nothing when it got there, and its complaint when it did not.
    if (!reply->trimmed().isEmpty())
        return d->fail(kSessionFailed,
                       QStringLiteral("Could not change to the folder %1 on the server: %2")
                           .arg(folder, reply->trimmed()));
    return true;
}

void RemoteShellSession::disconnect() {
    if (d->busy) d->guard->fire();
    if (d->connected || d->worker) d->closeOnWorker();
    d->connected = false;
    d->unfinishedLine.clear();
}

bool RemoteShellSession::isConnected() const {
    return d->connected;
}
QString RemoteShellSession::errorString() const {
    return d->error;
}
int RemoteShellSession::errorCode() const {
    return d->code;
}

QueueResult runCommandQueue(RemoteShellSession& session, QStringList& lstCommands, int timeoutSec) {
    QueueResult r;
    while (!lstCommands.isEmpty()) {
        const QString line = lstCommands.first();
        auto reply = session.execute(line, timeoutSec);
        if (!reply) {
            r.ok = false;
            r.failedLine = line;
            r.error = session.errorString();
            return r;
        }
        r.replies << *reply;
        lstCommands.removeFirst();
    }
    return r;
}

// --- FileTransferSession --------------------------------------------------------------------

struct FileTransferSession::Impl : BlockingCore {
    // Used on the worker only.
    ssh_session ssh = nullptr;
    sftp_session sftp = nullptr;
    void closeOnWorker() {
        if (!worker) return;
        auto* self = this;
        worker->post([self] {
            // sftp_free talks to the server; a dead session has nothing to say.
            if (self->sftp) sftp_free(self->sftp);
            self->sftp = nullptr;
            closeSsh(self->ssh, self->guard);
        });
    }
};

FileTransferSession::FileTransferSession(QObject* parent) : QObject(parent), d(new Impl) {}

FileTransferSession::~FileTransferSession() {
    *d->alive = false;
    if (d->busy) d->guard->fire();
    d->closeOnWorker();
    d->worker.reset();
}

bool FileTransferSession::connectToHost(const SessionTarget& target, int timeoutSec) {
    if (!d->startConnect()) return false;
    disconnect();
    const int seconds = effectiveTimeout(timeoutSec);
    const auto deadline = deadlineIn(seconds);
    Failure f;
    bool ok = false;
    Impl* p = d.get();
    d->busy = true;
    const std::shared_ptr<bool> alive = d->alive;
    runBlocking(p->w(), [p, target, deadline, seconds, &f, &ok] {
        ArmedWatchdog dog(p->guard, deadline);
        p->ssh = openSsh(target, deadline, p->guard, f);
        if (!p->ssh) return;
        p->sftp = sftp_new(p->ssh);
        if (p->sftp && sftp_init(p->sftp) == SSH_OK && !p->guard->fired) {
            ok = true;
            return;
        }
        if (p->guard->fired) f.set(kSessionTimedOut, timeoutText(target, seconds));
        f.set(kSessionFailed, QStringLiteral("The server %1 did not start a file transfer: %2")
                                  .arg(hostLabel(target), sshError(p->ssh)));
        if (p->sftp) sftp_free(p->sftp);
        p->sftp = nullptr;
        closeSsh(p->ssh, p->guard);
    });
    if (!*alive) return {};
    d->busy = false;
    d->connected = ok;
    if (!ok) d->fail(f.code, f.text);
    return ok;
}

namespace {

QString sftpErrorText(sftp_session sftp, ssh_session ssh) {
    switch (sftp_get_error(sftp)) {
        case SSH_FX_NO_SUCH_FILE:
        case SSH_FX_NO_SUCH_PATH:
            return QStringLiteral("the server has no such file");
        case SSH_FX_PERMISSION_DENIED:
            return QStringLiteral("the server denied access to it");
        default:
            return sshError(ssh);
    }
}

// Reads the remote file into out with several requests in flight, so a large table does not
// wait one round trip per chunk.
bool copyRemote(sftp_file file, QIODevice& out, QString& why) {
    constexpr uint32_t kChunk = 64 * 1024;
    constexpr size_t kDepth = 16;
    std::deque<int> pending;
    std::vector<char> buf(kChunk);
    quint64 written = 0;
    bool eof = false;
    auto drain = [&] {
        for (int id : pending) sftp_async_read(file, buf.data(), kChunk, static_cast<uint32_t>(id));
        pending.clear();
    };
    while (!eof || !pending.empty()) {
        while (!eof && pending.size() < kDepth) {
            const int id = sftp_async_read_begin(file, kChunk);
            if (id < 0) {
                drain();
                why = QStringLiteral("the read request failed");
                return false;
            }
            pending.push_back(id);
        }
        const int id = pending.front();
        pending.pop_front();
        const int n = sftp_async_read(file, buf.data(), kChunk, static_cast<uint32_t>(id));
        if (n < 0) {
            drain();
            why = QStringLiteral("the transfer broke off");
            return false;
        }
        if (n > 0 && out.write(buf.data(), n) != n) {
            drain();
            why = QStringLiteral("could not write the local file: %1").arg(out.errorString());
            return false;
        }
        written += static_cast<quint64>(n);
        if (static_cast<uint32_t>(n) < kChunk) {
            // End of file, or a short read: the requests after it are for the wrong offsets.
            drain();
            if (n == 0) {
                eof = true;
            } else if (sftp_seek64(file, written) < 0) {
                why = QStringLiteral("the transfer broke off");
                return false;
            }
        }
    }
    return true;
}

}  // namespace

bool FileTransferSession::getFile(const QString& localPath, const QString& remotePath,
                                  int timeoutSec) {
    if (d->busy)
        return d->fail(kSessionFailed,
                       QStringLiteral("The session is busy with another transfer."));
    // The promise is that a failed download leaves no file at localPath, old copies included.
    auto failWith = [&](int failureCode, const QString& text) {
        QFile::remove(localPath);
        return d->fail(failureCode, text);
    };
    if (!d->connected)
        return failWith(kSessionFailed, QStringLiteral("Not connected to the server."));
    const int seconds = effectiveTimeout(timeoutSec);
    const auto deadline = deadlineIn(seconds);
    bool ok = false;
    QString why;
    Impl* p = d.get();
    const QByteArray remote = remotePath.toUtf8();
    d->busy = true;
    const std::shared_ptr<bool> alive = d->alive;
    runBlocking(p->w(), [p, localPath, remote, deadline, &ok, &why] {
        ArmedWatchdog dog(p->guard, deadline);
        sftp_file file = sftp_open(p->sftp, remote.constData(), O_RDONLY, 0);
        if (!file) {
            why = sftpErrorText(p->sftp, p->ssh);
            return;
        }
        // Written under a temporary name beside the target and renamed only when complete.
        QSaveFile out(localPath);
        out.setDirectWriteFallback(false);
        if (!out.open(QIODevice::WriteOnly)) {
            why = QStringLiteral("could not write %1: %2").arg(localPath, out.errorString());
        } else if (copyRemote(file, out, why)) {
            ok = out.commit();
            if (!ok)
                why = QStringLiteral("could not write %1: %2").arg(localPath, out.errorString());
        }
        if (!ok) out.cancelWriting();
        sftp_close(file);
    });
    if (!*alive) return {};
    d->busy = false;
    if (ok) return true;
    if (d->guard->fired) {
        d->connected = false;
        d->closeOnWorker();
        return failWith(kSessionTimedOut,
                        QStringLiteral("No data from the server within %1 seconds while fetching "
                                       "%2; the session was closed.")
                            .arg(seconds)
                            .arg(remotePath));
    }
    return failWith(kSessionFailed, QStringLiteral("Could not fetch %1: %2").arg(remotePath, why));
}

void FileTransferSession::disconnect() {
    if (d->busy) d->guard->fire();
    if (d->connected || d->worker) d->closeOnWorker();
    d->connected = false;
}

bool FileTransferSession::isConnected() const {
    return d->connected;
}
QString FileTransferSession::errorString() const {
    return d->error;
}
int FileTransferSession::errorCode() const {
    return d->code;
}

// --- LiveTailSession ------------------------------------------------------------------------

namespace {

// What the UI thread and the session's thread share; the thread keeps it alive after the
// session object has let go of it.
struct TailState {
    std::mutex m;
    QPointer<QObject> owner;  // read and reset under m only
    std::shared_ptr<SocketGuard> guard = std::make_shared<SocketGuard>();
    QByteArray outgoing;
    bool stop = false;
};

}  // namespace

struct LiveTailSession::Impl {
    std::shared_ptr<TailState> state;
    std::vector<std::thread> threads;
    quint64 generation = 0;
    bool connected = false;
};

LiveTailSession::LiveTailSession(QObject* parent) : QObject(parent), d(new Impl) {}

LiveTailSession::~LiveTailSession() {
    disconnect();
    for (auto& t : d->threads) t.join();
}

void LiveTailSession::connectToHost(const SessionTarget& target, int timeoutSec) {
    disconnect();
    // Threads of sessions dropped earlier have ended or are about to.
    for (auto it = d->threads.begin(); it != d->threads.end();) {
        it->join();
        it = d->threads.erase(it);
    }
    const int seconds = effectiveTimeout(timeoutSec);
    const auto deadline = deadlineIn(seconds);
    auto st = std::make_shared<TailState>();
    st->owner = this;
    d->state = st;
    const quint64 gen = ++d->generation;

    // Hands a call to the UI thread, unless this session has been dropped or replaced since.
    auto deliver = [st, gen](std::function<void(LiveTailSession*, Impl*)> fn) {
        std::lock_guard lock(st->m);
        if (!st->owner) return;
        QMetaObject::invokeMethod(
            st->owner.data(),
            [owner = QPointer<QObject>(st->owner), gen, fn] {
                auto* self = qobject_cast<LiveTailSession*>(owner.data());
                if (self && self->d->generation == gen) fn(self, self->d.get());
            },
            Qt::QueuedConnection);
    };

    d->threads.emplace_back([st, target, deadline, seconds, deliver] {
        Failure f;
        ssh_session s = nullptr;
        ssh_channel ch = nullptr;
        QByteArray greeting;
        {
            ArmedWatchdog dog(st->guard, deadline);
            s = openSsh(target, deadline, st->guard, f);
            if (s) ch = openShell(s, target, f);
            if (ch) {
                // Ready means at the prompt, so the first lines sent are not typed ahead.
                qsizetype pos = -1;
                const ReadResult r = readUntilPrompt(ch, greeting, 0, deadline, &pos);
                if (r == ReadResult::TimedOut || st->guard->fired)
                    f.set(kSessionTimedOut, timeoutText(target, seconds));
                else if (r == ReadResult::Dropped)
                    f.set(
                        kSessionFailed,
                        QStringLiteral("The server %1 closed the session.").arg(hostLabel(target)));
            }
        }
        bool stopped = false;
        {
            std::lock_guard lock(st->m);
            stopped = st->stop;
        }
        if (stopped || f.code != kSessionOk) {
            if (s) closeSsh(s, st->guard);
            if (!stopped)
                deliver([code = f.code, text = f.text](LiveTailSession* self, Impl*) {
                    emit self->connected(code, text);
                });
            return;
        }
        deliver([greeting](LiveTailSession* self, Impl* impl) {
            impl->connected = true;
            emit self->connected(kSessionOk, QString());
            if (!greeting.isEmpty()) emit self->dataReceived(decodeText(greeting));
        });
        QStringDecoder decoder(QStringDecoder::Utf8);
        char chunk[16384];
        bool dropped = false;
        for (;;) {
            QByteArray out;
            {
                std::lock_guard lock(st->m);
                if (st->stop) break;
                out.swap(st->outgoing);
            }
            if (!out.isEmpty() && !writeAll(ch, out)) {
                dropped = true;
                break;
            }
            // Short waits, so sent text and a disconnect are taken up quickly.
            const int n = ssh_channel_read_timeout(ch, chunk, sizeof chunk, 0, 50);
            if (n > 0) {
                const QString text = decoder(QByteArrayView(chunk, n));
                if (!text.isEmpty())
                    deliver(
                        [text](LiveTailSession* self, Impl*) { emit self->dataReceived(text); });
            } else if (n < 0 || ssh_channel_is_eof(ch) || ssh_channel_is_closed(ch)) {
                dropped = true;
                break;
            }
        }
        closeSsh(s, st->guard);
        if (dropped)
            deliver([](LiveTailSession* self, Impl* impl) {
                impl->connected = false;
                emit self->disconnected();
            });
    });
}

void LiveTailSession::send(const QString& text) {
    if (!d->state) return;
    std::lock_guard lock(d->state->m);
    d->state->outgoing += text.toUtf8();
}

void LiveTailSession::disconnect() {
    ++d->generation;  // whatever the old thread still delivers is dropped
    d->connected = false;
    if (!d->state) return;
    {
        std::lock_guard lock(d->state->m);
        d->state->stop = true;
        d->state->owner = nullptr;
    }
    // A connect in progress would otherwise run on to its deadline.
    d->state->guard->fire();
    d->state.reset();
}

bool LiveTailSession::isConnected() const {
    return d->connected;
}

}  // namespace quillon
