#include "FakeServer.h"

#include "remote/SessionTexts.h"

#include "common/Globals.h"
#include "remote/CheckedLines.h"
#include "remote/ServerWaits.h"
#include "remote/ShellLines.h"

#include <QEventLoop>
#include <QFile>
#include <QSaveFile>
#include <QTimer>

namespace testsupport {

using quillon::FilesRequest;
using quillon::LineResult;
using quillon::ServerFailure;
using quillon::ShellRequest;

bool LinePattern::matches(const QString& line) const {
    if (exact_) return line == *exact_;
    return re_.match(line).hasMatch();
}

struct FakeServer::Rule {
    LinePattern pattern;
    QString reply;
    std::optional<int> status = 0;
    enum class Kind { Reply, TimesOut, Drops, Blocks } kind = Kind::Reply;
    std::function<void(const QString&)> action;
};

namespace {

struct OpenFailure {
    int code;
    QString text;
    FakeServer::Times times;
    FakeServer::Kind kind;
};

struct FetchRule {
    int code = quillon::kSessionOk;
    QString text;
    bool blocks = false;
};

}  // namespace

struct FakeServer::State {
    std::vector<std::shared_ptr<Rule>> rules;
    std::vector<OpenFailure> openFailures;
    std::map<QString, QByteArray> files;
    std::map<QString, FetchRule> fetchRules;
    std::map<QString, std::function<void()>> fetchActions;
    std::vector<ShellRequest> shellRequests;
    std::vector<FilesRequest> filesRequests;
    std::vector<SentLine> sent;
    std::vector<Fetch> fetches;
    std::vector<bool> shellOpen;
    std::vector<bool> filesOpen;

    std::shared_ptr<Rule> ruleFor(const QString& bare, const QString& line) const {
        for (auto it = rules.rbegin(); it != rules.rend(); ++it)
            if ((*it)->pattern.matches(bare) || (*it)->pattern.matches(line)) return *it;
        return nullptr;
    }
    // Why an open of that kind fails: as scripted, or as the real side would (a refused
    // target, no address).
    std::optional<ServerFailure> openRefusal(Kind kind, const quillon::SessionTarget& target);
};

namespace {

// What a fake session shares with the waits of its calls: a call in progress, the loop a
// blocking rule waits in, and whether cancel() came during the call.
struct Wait {
    bool busy = false;
    bool cancelled = false;
    QEventLoop* loop = nullptr;

    void cancel() {
        if (!busy) return;
        cancelled = true;
        if (loop) loop->quit();
    }
    // Serves events until cancel() or the deadline; true when cancelled.
    bool untilCancel(int seconds) {
        if (cancelled) return true;
        QEventLoop wait;
        QTimer deadline;
        deadline.setSingleShot(true);
        QObject::connect(&deadline, &QTimer::timeout, &wait, &QEventLoop::quit);
        deadline.start(seconds * 1000);
        loop = &wait;
        wait.exec();
        loop = nullptr;
        return cancelled;
    }
};

// Held for one call; it keeps the wait alive should the session go during the call.
class Busy {
public:
    explicit Busy(std::shared_ptr<Wait> w)
        : w_(std::move(w)), cancellable_([wait = w_] { wait->cancel(); }) {
        w_->busy = true;
        w_->cancelled = false;
    }
    ~Busy() { w_->busy = false; }

private:
    std::shared_ptr<Wait> w_;
    // While a line or a fetch is answered the program waits, as it does on a real server, and
    // the user may end the wait.
    quillon::ServerWaits::Scope waiting_;
    quillon::ServerWaits::Cancellable cancellable_;
};

// The real side's messages, so a window shows what it would show with a real server.
QString noAddressText() {
    return quillon::sessiontexts::noServerAddress();
}
QString notConnectedText() {
    return quillon::sessiontexts::notConnected();
}
QString closedMeanwhileText() {
    return QStringLiteral("The session was closed while it waited.");
}

class FakeShell : public quillon::ServerShell {
public:
    FakeShell(std::shared_ptr<FakeServer::State> s, int index, int lineTimeoutSec)
        : s_(std::move(s)), index_(index), lineTimeoutSec_(lineTimeoutSec) {}
    ~FakeShell() override { *alive_ = false; }

    LineResult run(const QString& given, int deadlineSec) override {
        const QString line = quillon::typedLine(given);
        auto fail = [&line](int code, const QString& text) {
            return LineResult{{code, text, line}, QString(), {}};
        };
        if (const auto refusal = quillon::lineRefusal(line))
            return fail(quillon::kSessionFailed, *refusal);
        if (wait_->busy)
            return fail(quillon::kSessionFailed, quillon::sessiontexts::busyWithLine());
        if (!isOpen()) return fail(quillon::kSessionFailed, notConnectedText());
        // The deadline the line is held to: 0 stands for the request's line deadline.
        const int seconds = quillon::lineDeadlineSec(deadlineSec, lineTimeoutSec_);
        s_->sent.push_back({index_, line, seconds});

        const QString check = quillon::withExitStatus(QString());
        const bool checked = line.endsWith(check);
        const QString bare = checked ? line.chopped(check.size()) : line;
        const std::shared_ptr<FakeServer::Rule> rule = s_->ruleFor(bare, line);
        const std::shared_ptr<bool> alive = alive_;
        const std::shared_ptr<Wait> wait = wait_;
        Busy busy(wait);
        using Kind = FakeServer::Rule::Kind;
        if (rule && rule->action) rule->action(bare);
        if (!*alive) return fail(quillon::kSessionFailed, closedMeanwhileText());
        if (rule && rule->kind == Kind::Blocks) wait->untilCancel(seconds);
        if (!*alive) return fail(quillon::kSessionFailed, closedMeanwhileText());
        if (wait->cancelled) {
            close();
            return fail(quillon::kSessionCancelled, quillon::sessiontexts::lineCancelled());
        }
        if (rule && (rule->kind == Kind::TimesOut || rule->kind == Kind::Blocks))
            return fail(quillon::kSessionTimedOut,
                        quillon::sessiontexts::lineTimedOut(seconds, line));
        if (rule && rule->kind == Kind::Drops) {
            close();
            return fail(quillon::kSessionFailed, quillon::sessiontexts::droppedWhileRunning(line));
        }
        QString reply = rule ? rule->reply : QString();
        const std::optional<int> status = rule ? rule->status : 0;
        if (checked && status) reply += QStringLiteral("rc=%1\n").arg(*status);
        return {{}, reply, {}};
    }
    bool isOpen() const override { return s_->shellOpen[index_]; }
    void close() override { s_->shellOpen[index_] = false; }
    void cancel() override { wait_->cancel(); }

private:
    std::shared_ptr<FakeServer::State> s_;
    const int index_;
    const int lineTimeoutSec_;
    std::shared_ptr<Wait> wait_ = std::make_shared<Wait>();
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

class FakeFiles : public quillon::ServerFiles {
public:
    FakeFiles(std::shared_ptr<FakeServer::State> s, int index, int timeoutSec)
        : s_(std::move(s)), index_(index), timeoutSec_(timeoutSec) {}
    ~FakeFiles() override { *alive_ = false; }

    ServerFailure fetch(const QString& remotePath, const QString& localPath,
                        int deadlineSec) override {
        // As the real side: a failed fetch leaves no file at localPath, old copies included.
        auto fail = [&localPath](int code, const QString& text) {
            QFile::remove(localPath);
            return ServerFailure{code, text, QString()};
        };
        if (wait_->busy)
            return {quillon::kSessionFailed, quillon::sessiontexts::busyWithTransfer(), QString()};
        if (!isOpen()) return fail(quillon::kSessionFailed, notConnectedText());
        s_->fetches.push_back({index_, remotePath, localPath});
        if (const auto action = s_->fetchActions.find(remotePath);
            action != s_->fetchActions.end()) {
            const std::shared_ptr<bool> alive = alive_;
            const std::function<void()> run = action->second;
            Busy busy(wait_);
            run();
            if (!*alive) return fail(quillon::kSessionFailed, closedMeanwhileText());
        }
        const int seconds = deadlineSec > 0
                                ? deadlineSec
                                : (timeoutSec_ > 0 ? timeoutSec_ : quillon::kServerTimeoutSec);
        const auto timedOut = [&] {
            close();
            return fail(quillon::kSessionTimedOut,
                        quillon::sessiontexts::fetchStalled(seconds, remotePath));
        };
        if (const auto rule = s_->fetchRules.find(remotePath); rule != s_->fetchRules.end()) {
            const FetchRule r = rule->second;
            if (r.blocks) {
                const std::shared_ptr<bool> alive = alive_;
                const std::shared_ptr<Wait> wait = wait_;
                Busy busy(wait);
                const bool cancelled = wait->untilCancel(seconds);
                if (!*alive) return fail(quillon::kSessionFailed, closedMeanwhileText());
                if (!cancelled) return timedOut();
                close();
                return fail(quillon::kSessionCancelled,
                            quillon::sessiontexts::fetchCancelled(remotePath));
            }
            if (r.code == quillon::kSessionTimedOut && r.text.isEmpty()) return timedOut();
            if (r.code == quillon::kSessionTimedOut) close();
            return fail(r.code, r.text.isEmpty()
                                    ? quillon::sessiontexts::fetchFailed(
                                          remotePath, quillon::sessiontexts::transferBrokeOff())
                                    : r.text);
        }
        const auto file = s_->files.find(remotePath);
        if (file == s_->files.end())
            return fail(quillon::kSessionFailed, quillon::noSuchRemoteFileText(remotePath));
        QSaveFile out(localPath);
        out.setDirectWriteFallback(false);
        if (!out.open(QIODevice::WriteOnly) || out.write(file->second) != file->second.size() ||
            !out.commit())
            return fail(
                quillon::kSessionFailed,
                quillon::sessiontexts::fetchFailed(remotePath, quillon::sessiontexts::couldNotWrite(
                                                                   localPath, out.errorString())));
        return {};
    }
    bool isOpen() const override { return s_->filesOpen[index_]; }
    void close() override { s_->filesOpen[index_] = false; }
    void cancel() override { wait_->cancel(); }

private:
    std::shared_ptr<FakeServer::State> s_;
    const int index_;
    const int timeoutSec_;
    std::shared_ptr<Wait> wait_ = std::make_shared<Wait>();
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace

std::optional<ServerFailure> FakeServer::State::openRefusal(Kind kind,
                                                            const quillon::SessionTarget& target) {
    for (auto it = openFailures.begin(); it != openFailures.end(); ++it) {
        if (it->kind != Kind::Any && it->kind != kind) continue;
        const ServerFailure f{it->code, it->text, QString()};
        if (it->times == Times::Next) openFailures.erase(it);
        return f;
    }
    if (!target.refusal.isEmpty())
        return ServerFailure{quillon::kSessionFailed, target.refusal, {}};
    if (target.host.isEmpty()) return ServerFailure{quillon::kSessionFailed, noAddressText(), {}};
    return std::nullopt;
}

void configureFakeSite(int index, const QString& homedir) {
    auto& g = quillon::G();
    if (index < 0 || index >= quillon::kMaxSites) return;
    g.g_SiteIPAddress[index] = QStringLiteral("10.0.0.9");
    g.g_SiteSSHPort[index] = QStringLiteral("22");
    g.g_SiteSSHUser[index] = QStringLiteral("varneltail");
    g.g_SiteUsername[index] = QStringLiteral("varnel");
    g.g_SitePassword[index] = QStringLiteral("v");
    g.g_SiteHomedir[index] = homedir;
    if (g.g_SiteCount < index + 1) g.g_SiteCount = index + 1;
}

// --- rules ----------------------------------------------------------------------------------

FakeServer::RuleHandle& FakeServer::RuleHandle::reply(const QString& text) {
    rule_->reply = text;
    return *this;
}
FakeServer::RuleHandle& FakeServer::RuleHandle::status(int exitStatus) {
    rule_->status = exitStatus;
    return *this;
}
FakeServer::RuleHandle& FakeServer::RuleHandle::withoutStatus() {
    rule_->status.reset();
    return *this;
}
FakeServer::RuleHandle& FakeServer::RuleHandle::timesOut() {
    rule_->kind = Rule::Kind::TimesOut;
    return *this;
}
FakeServer::RuleHandle& FakeServer::RuleHandle::dropsSession() {
    rule_->kind = Rule::Kind::Drops;
    return *this;
}
FakeServer::RuleHandle& FakeServer::RuleHandle::blocksUntilCancel() {
    rule_->kind = Rule::Kind::Blocks;
    return *this;
}
FakeServer::RuleHandle& FakeServer::RuleHandle::then(std::function<void(const QString&)> action) {
    rule_->action = std::move(action);
    return *this;
}

// --- the server -----------------------------------------------------------------------------

FakeServer::FakeServer() : s_(std::make_shared<State>()) {
    quillon::ServerWork::install(this);
}

FakeServer::~FakeServer() {
    quillon::ServerWork::install(nullptr);
}

FakeServer::RuleHandle FakeServer::on(const LinePattern& pattern) {
    auto rule = std::make_shared<Rule>(Rule{pattern, QString(), 0, Rule::Kind::Reply, {}});
    s_->rules.push_back(rule);
    return RuleHandle(rule);
}

FakeServer& FakeServer::failOpen(int code, const QString& text, Times times, Kind kind) {
    s_->openFailures.push_back({code, text, times, kind});
    return *this;
}

FakeServer& FakeServer::addFile(const QString& remotePath, const QByteArray& bytes) {
    s_->files[remotePath] = bytes;
    return *this;
}
FakeServer& FakeServer::removeFile(const QString& remotePath) {
    s_->files.erase(remotePath);
    return *this;
}
bool FakeServer::hasFile(const QString& remotePath) const {
    return s_->files.count(remotePath) > 0;
}
FakeServer& FakeServer::failFetch(const QString& remotePath, int code, const QString& text) {
    s_->fetchRules[remotePath] = {code, text, false};
    return *this;
}
FakeServer& FakeServer::blockFetchUntilCancel(const QString& remotePath) {
    s_->fetchRules[remotePath] = {quillon::kSessionOk, QString(), true};
    return *this;
}
FakeServer& FakeServer::onFetch(const QString& remotePath, std::function<void()> action) {
    s_->fetchActions[remotePath] = std::move(action);
    return *this;
}

const std::vector<ShellRequest>& FakeServer::shellRequests() const {
    return s_->shellRequests;
}
const std::vector<FilesRequest>& FakeServer::filesRequests() const {
    return s_->filesRequests;
}
const std::vector<FakeServer::SentLine>& FakeServer::sent() const {
    return s_->sent;
}
QStringList FakeServer::lines() const {
    QStringList out;
    for (const SentLine& l : s_->sent) out << l.line;
    return out;
}
QStringList FakeServer::linesOf(int shell) const {
    QStringList out;
    for (const SentLine& l : s_->sent)
        if (l.shell == shell) out << l.line;
    return out;
}
const std::vector<FakeServer::Fetch>& FakeServer::fetches() const {
    return s_->fetches;
}
bool FakeServer::isShellOpen(int shell) const {
    return shell >= 0 && shell < int(s_->shellOpen.size()) && s_->shellOpen[shell];
}
bool FakeServer::isFilesOpen(int files) const {
    return files >= 0 && files < int(s_->filesOpen.size()) && s_->filesOpen[files];
}

std::unique_ptr<quillon::ServerShell> FakeServer::openShell(const ShellRequest& request,
                                                            ServerFailure& failure) {
    const int index = int(s_->shellRequests.size());
    s_->shellRequests.push_back(request);
    s_->shellOpen.push_back(false);
    if (const auto refused = s_->openRefusal(Kind::Shell, request.target)) {
        failure = *refused;
        return nullptr;
    }
    auto shell = std::make_unique<FakeShell>(s_, index, request.lineTimeoutSec);
    s_->shellOpen[index] = true;
    if (request.folder) {
        const LineResult cd = shell->changeFolder(*request.folder);
        if (!cd.ok()) {
            shell->close();
            failure = cd.failure;
            return nullptr;
        }
    }
    failure = {};
    return shell;
}

std::unique_ptr<quillon::ServerFiles> FakeServer::openFiles(const FilesRequest& request,
                                                            ServerFailure& failure) {
    const int index = int(s_->filesRequests.size());
    s_->filesRequests.push_back(request);
    s_->filesOpen.push_back(false);
    if (const auto refused = s_->openRefusal(Kind::Files, request.target)) {
        failure = *refused;
        return nullptr;
    }
    auto files = std::make_unique<FakeFiles>(s_, index, request.timeoutSec);
    s_->filesOpen[index] = true;
    failure = {};
    return files;
}

}  // namespace testsupport
