#include "remote/LiveTailSession.h"

#include "remote/Connection.h"
#include "remote/ShellChannel.h"

#include <QPointer>

#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace quillon {

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
    const int seconds = deadlineSeconds(timeoutSec);
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
        ServerFailure f;
        SshConnection conn;
        PromptMatcher greeting = PromptMatcher::withoutEcho();
        {
            ArmedWatchdog dog(st->guard, deadline);
            conn = openSsh(target, deadline, st->guard, f);
            if (conn) {
                SshChannel channel = openShellChannel(conn.session(), target, f);
                if (channel) conn.adoptShell(std::move(channel));
            }
            if (conn.shell()) {
                // Ready means at the prompt, so the first lines sent are not typed ahead.
                const ReadResult r = readUntilPrompt(conn.shell(), greeting, deadline);
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
            conn.close();
            if (!stopped)
                deliver([code = f.code, text = f.text](LiveTailSession* self, Impl*) {
                    emit self->connected(code, text);
                });
            return;
        }
        deliver([greeting = greeting.received()](LiveTailSession* self, Impl* impl) {
            impl->connected = true;
            emit self->connected(kSessionOk, QString());
            if (!greeting.isEmpty()) emit self->dataReceived(decodeServerText(greeting));
        });
        const ssh_channel ch = conn.shell();
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
                // One byte is one character: a chunk never ends inside one.
                const QString text = decodeServerText(QByteArray(chunk, n));
                if (!text.isEmpty())
                    deliver(
                        [text](LiveTailSession* self, Impl*) { emit self->dataReceived(text); });
            } else if (n < 0 || ssh_channel_is_eof(ch) || ssh_channel_is_closed(ch)) {
                dropped = true;
                break;
            }
        }
        conn.close();
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
    d->state->outgoing += encodeServerText(text);
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
