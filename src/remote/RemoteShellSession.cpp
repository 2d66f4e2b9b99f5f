#include "remote/RemoteShellSession.h"

#include "remote/SessionTexts.h"

#include "remote/BlockingCore.h"
#include "remote/Connection.h"
#include "remote/ServerWaits.h"
#include "remote/ShellChannel.h"
#include "remote/ShellLines.h"

namespace quillon {

namespace {

QString cancelledText() {
    return sessiontexts::lineCancelled();
}

}  // namespace

struct RemoteShellSession::Impl : BlockingCore {
    // The line whose prompt has not come yet: its output is still on the way.
    QString unfinishedLine;
};

RemoteShellSession::RemoteShellSession(QObject* parent) : QObject(parent), d(new Impl) {}

RemoteShellSession::~RemoteShellSession() {
    d->destroy();
}

bool RemoteShellSession::connectToHost(const SessionTarget& target, int timeoutSec) {
    if (!d->startConnect()) return false;
    disconnect();
    const int seconds = deadlineSeconds(timeoutSec);
    const auto deadline = deadlineIn(seconds);
    ServerFailure f;
    bool ok = false;
    d->startWait();
    Impl* p = d.get();
    const std::shared_ptr<bool> alive = d->alive;
    runBlocking(p->worker(), [p, target, deadline, seconds, &f, &ok] {
        ArmedWatchdog dog(p->guard, deadline);
        SshConnection conn = openSsh(target, deadline, p->guard, f);
        if (!conn) return;
        SshChannel channel = openShellChannel(conn.session(), target, f);
        if (channel) {
            conn.adoptShell(std::move(channel));
            PromptMatcher greeting = PromptMatcher::withoutEcho();
            switch (readUntilPrompt(conn.shell(), greeting, deadline)) {
                case ReadResult::Prompt:
                    p->conn = std::move(conn);
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
    });
    if (!*alive) return {};
    d->busy = false;
    if (d->cancelled) {
        d->closeOnWorker();
        ok = false;
        f = ServerFailure{kSessionCancelled, cancelledText(), {}};
    }
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
        if (d->code == kSessionOk) d->fail(kSessionFailed, sessiontexts::notConnected());
        return false;
    }
    if (d->unfinishedLine.isEmpty()) return true;
    const auto r = execute(QString(), timeoutSec);  // an empty line, once the old one is done
    return r.has_value();
}

std::optional<QString> RemoteShellSession::execute(const QString& givenLine, int timeoutSec) {
    const QString line = typedLine(givenLine);
    if (const auto refusal = lineRefusal(line)) {
        d->fail(kSessionFailed, *refusal);
        return std::nullopt;
    }
    if (d->busy) {
        d->fail(kSessionFailed, sessiontexts::busyWithLine());
        return std::nullopt;
    }
    if (!d->connected) {
        d->fail(kSessionFailed, sessiontexts::notConnected());
        return std::nullopt;
    }
    const int seconds = timeoutSec > 0 ? timeoutSec : kLineTimeoutSec;
    const auto deadline = deadlineIn(seconds);
    if (log) log(line);
    enum class Outcome { Reply, StillBusy, TimedOut, Dropped } outcome = Outcome::Dropped;
    const QByteArray typed = encodeServerText(line);
    PromptMatcher matcher = PromptMatcher::forLine(typed);
    const bool unfinished = !d->unfinishedLine.isEmpty();
    Impl* p = d.get();
    d->startWait();
    const std::shared_ptr<bool> alive = d->alive;
    // The user may end this wait (a window's wait panel).
    const ServerWaits::Cancellable cancellable([p, alive] {
        if (*alive) p->cancel();
    });
    runBlocking(p->worker(), [p, typed, unfinished, deadline, &outcome, &matcher] {
        // A safety net only: the reads below end at the deadline on their own.
        ArmedWatchdog dog(p->guard, deadline + std::chrono::seconds(2));
        const ssh_channel ch = p->conn.shell();
        if (unfinished) {
            PromptMatcher rest = PromptMatcher::withoutEcho();
            const ReadResult r = readUntilPrompt(ch, rest, deadline);
            if (r != ReadResult::Prompt) {
                outcome = r == ReadResult::TimedOut ? Outcome::StillBusy : Outcome::Dropped;
                return;
            }
        }
        // Text that came after the last prompt (a background job's, say) is not this line's.
        char stale[4096];
        while (ssh_channel_read_nonblocking(ch, stale, sizeof stale, 0) > 0) {
        }
        if (!writeAll(ch, typed + '\n')) {
            outcome = Outcome::Dropped;
            return;
        }
        switch (readUntilPrompt(ch, matcher, deadline)) {
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
    if (d->cancelled) {
        // The socket was shut under the line: whatever it was doing, the session is over.
        d->connected = false;
        d->unfinishedLine.clear();
        d->closeOnWorker();
        d->fail(kSessionCancelled, cancelledText());
        if (log) log(d->error);
        return std::nullopt;
    }
    switch (outcome) {
        case Outcome::Reply: {
            d->unfinishedLine.clear();
            const QString reply = matcher.reply();
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
            d->error = sessiontexts::lineTimedOut(seconds, line);
            break;
        case Outcome::Dropped:
            d->error = d->guard->fired ? sessiontexts::lineTimedOut(seconds, line, true)
                                       : sessiontexts::droppedWhileRunning(line);
            d->connected = false;
            d->closeOnWorker();
            break;
    }
    d->code = outcome == Outcome::Dropped && !d->guard->fired ? kSessionFailed : kSessionTimedOut;
    if (log) log(d->error);
    return std::nullopt;
}

bool RemoteShellSession::changeFolder(const QString& folder, int timeoutSec) {
    if (folder.isEmpty()) return d->fail(kSessionFailed, noFolderText());
    const auto reply = execute(changeFolderLine(folder), timeoutSec);
    if (!reply) return false;
    const QString problem = changeFolderProblem(folder, *reply);
    if (!problem.isEmpty()) return d->fail(kSessionFailed, problem);
    return true;
}

void RemoteShellSession::cancel() {
    d->cancel();
}

void RemoteShellSession::disconnect() {
    d->disconnect();
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

}  // namespace quillon
