#pragma once
// A stand-in for the server work of the windows (ServerWork): it hands out fake shells and
// file sessions, records every request opened and every line run, and answers by rules, so a
// window's test sees every byte the window would send and can make the server answer, fail,
// time out, drop the session or wait for Cancel. It installs itself for its lifetime.
#include "remote/ServerWork.h"

#include <QByteArray>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace testsupport {

// The lines a rule is for: the exact text, or a regular expression found in the line (anchor
// it with ^ and $ for the whole line).
class LinePattern {
public:
    LinePattern(const QString& exact) : exact_(exact) {}
    LinePattern(const char* exact) : exact_(QString::fromUtf8(exact)) {}
    LinePattern(const QRegularExpression& re) : re_(re) {}
    bool matches(const QString& line) const;

private:
    std::optional<QString> exact_;
    QRegularExpression re_;
};

// Fills entry `index` of the site table in quillon::G() for tests over the fake: address
// 10.0.0.9, SSHPort 22, shell login varneltail, file login varnel / v, the given server folder;
// raises g_SiteCount to index+1 when lower.
void configureFakeSite(int index, const QString& homedir = QStringLiteral("/usr/varnel"));

class FakeServer : public quillon::ServerWork {
public:
    FakeServer();            // installs itself as ServerWork::instance()
    ~FakeServer() override;  // and restores the real one

    // --- rules for lines. A checked line (`<line>; echo "rc=$?"`) is matched without its
    // status check and answered as the shell would: the reply, then "rc=<status>". Lines no
    // rule matches reply "" (status 0). Of the rules that match, the one added last wins.
    struct Rule;
    class RuleHandle {
    public:
        RuleHandle& reply(const QString& text);
        RuleHandle& status(int exitStatus);
        // A checked line whose status never comes (the command ended the shell's reading).
        RuleHandle& withoutStatus();
        // A time-out as the real shell reports it (kSessionTimedOut); the shell stays open.
        RuleHandle& timesOut();
        // The server ends the session while the line runs (kSessionFailed); the shell closes.
        RuleHandle& dropsSession();
        // The line waits until the shell's cancel() or the long-wait Cancel's click
        // (kSessionCancelled, the shell closes) or its deadline (a time-out), serving events
        // meanwhile, as a Cancel button needs.
        RuleHandle& blocksUntilCancel();
        // Runs when the line arrives, before the answer: a rule that changes the fake's files,
        // or a click that comes while the window waits for the line.
        RuleHandle& then(std::function<void(const QString& line)> action);

    private:
        friend class FakeServer;
        explicit RuleHandle(std::shared_ptr<Rule> rule) : rule_(std::move(rule)) {}
        std::shared_ptr<Rule> rule_;
    };
    RuleHandle on(const LinePattern& pattern);

    // --- opens
    enum class Times { Next, Every };
    enum class Kind { Any, Shell, Files };
    // The next open (or every open) of that kind fails with code and text; nothing is opened.
    FakeServer& failOpen(int code, const QString& text, Times times = Times::Next,
                         Kind kind = Kind::Any);

    // --- the server's files, by the remote path a fetch names (as given, not resolved)
    FakeServer& addFile(const QString& remotePath, const QByteArray& bytes);
    FakeServer& removeFile(const QString& remotePath);
    bool hasFile(const QString& remotePath) const;
    // A fetch of remotePath fails with code (kSessionTimedOut closes the session, as the real
    // one does) and text; an empty text is the real side's message for the code.
    FakeServer& failFetch(const QString& remotePath, int code, const QString& text = QString());
    // A fetch of remotePath waits until cancel() or its deadline, as blocksUntilCancel().
    FakeServer& blockFetchUntilCancel(const QString& remotePath);
    // Runs when a fetch of remotePath arrives, before it is answered, as RuleHandle::then():
    // what happens while the caller waits for the transfer.
    FakeServer& onFetch(const QString& remotePath, std::function<void()> action);

    // --- what was asked, in order. A request is recorded also when its open failed; shell i
    // is the shell of shellRequests()[i] (files i that of filesRequests()[i]).
    struct SentLine {
        int shell;
        QString line;     // as sent, status check and all
        int deadlineSec;  // as the caller gave it
    };
    struct Fetch {
        int files;
        QString remotePath;
        QString localPath;
    };
    const std::vector<quillon::ShellRequest>& shellRequests() const;
    const std::vector<quillon::FilesRequest>& filesRequests() const;
    const std::vector<SentLine>& sent() const;
    QStringList lines() const;             // the text of every line sent, across all shells
    QStringList linesOf(int shell) const;  // those of one shell
    const std::vector<Fetch>& fetches() const;
    bool isShellOpen(int shell) const;  // opened and not closed, cancelled or dropped since
    bool isFilesOpen(int files) const;

    std::unique_ptr<quillon::ServerShell> openShell(const quillon::ShellRequest& request,
                                                    quillon::ServerFailure& failure) override;
    std::unique_ptr<quillon::ServerFiles> openFiles(const quillon::FilesRequest& request,
                                                    quillon::ServerFailure& failure) override;

    struct State;

private:
    std::shared_ptr<State> s_;
};

}  // namespace testsupport
