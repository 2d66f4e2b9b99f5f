#pragma once
// One change request to the current site, from the request to the answer: the records written
// by echo lines in the site's server folder on one shell, the poll for the answer file on that
// shell, the fetch of the answer into the site's Bats folder and its judgement; then what every
// window does after an answer (./do_csv.sh, the reload line, closing, the table pull), for the
// window to call in its own order. No widgets: the windows' timers call poll() and their Cancel
// calls cancel().
#include "common/ReentryGuard.h"
#include "common/ProgramClock.h"
#include "common/SiteTargets.h"
#include "common/TableMirror.h"
#include "remote/ServerWaits.h"
#include "remote/ServerWork.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace quillon {

class ChangeExchange {
public:
    enum class State {
        Idle,       // nothing sent
        Sending,    // the session opens and the records are written
        Waiting,    // the request is on the server; each poll asks for the answer
        Finishing,  // the wait is over (answer, limit, failure or Cancel)
        Closed,     // the session is closed
    };

    struct Outcome {
        enum class Kind {
            Waiting,    // no answer yet
            Accepted,   // the answer is the accepted one
            Refused,    // another answer (shown to the user)
            Failed,     // the session or the fetch failed: not accepted
            TimedOut,   // no answer within answerTimeoutSec(): the change may still be applied
            Cancelled,  // the user ended the wait: the change may still be applied
        };
        Kind kind = Kind::Waiting;
        QString answer;   // as read, for Accepted and Refused
        QString message;  // for the user: all but Waiting and Accepted
    };

    // The accepted answer is compared whole with the answer as read (answerText()).
    explicit ChangeExchange(QString acceptedAnswer);
    ~ChangeExchange();
    ChangeExchange(const ChangeExchange&) = delete;
    ChangeExchange& operator=(const ChangeExchange&) = delete;

    // For the current site (SiteContext): names the request and returns the lines that write
    // its records, first to last (lstCommands).
    QStringList prepare(const QStringList& records);
    const QString& requestName() const { return m_todo; }
    const QString& answerName() const { return m_done; }

    // Opens the shell in the site's server folder (control wodSSH1) and sends the queued lines,
    // removing each one sent: the records go to a hidden name, a stale answer of the request's
    // name is removed, and one line publishes the request whole. On success the request stands
    // on the server and the wait for its answer begins. On failure nothingSent() tells whether
    // the request surely is not there (its publishing line never went out).
    ServerFailure send(QStringList& lstCommands);
    bool requestSent() const { return m_requestSent; }
    bool nothingSent() const { return !m_published; }

    // One poll: the ls line and its judgement; at the wait's limit the time-out; once the answer
    // is listed, its fetch, read and judgement. An answer that reads empty is none yet: the wait
    // goes on. Nothing is sent before the request is.
    Outcome poll();

    // The steps after an answer. ./do_csv.sh has the long deadline of the table writer.
    ServerFailure regenerateTables();
    ServerFailure sendReloadLine(const QString& word);
    void close();
    TableMirrorResult refreshTables() const;

    // From the user interface while a call waits (a Cancel button, closing the window): ends
    // the session at once and the waiting call returns cancelled. Between calls it closes the
    // session, and the next poll reports Cancelled.
    void cancel();
    bool cancelled() const { return m_cancelled; }
    // A call to the server is waiting.
    bool busy() const { return m_busy.running(); }
    State state() const { return m_state; }

private:
    Outcome judge();
    Outcome waitOn();
    ServerFailure failedFor(const ServerFailure& failure) const;
    ServerFailure sendFailed(const ServerFailure& failure);
    void closeAfterTimeOut(const ServerFailure& failure);
    Outcome notAccepted(Outcome::Kind kind, const QString& message);

    QString m_accepted;
    int m_site = -1;
    QString m_siteName;
    QString m_todo;
    QString m_done;
    std::unique_ptr<ServerShell> m_shell;
    // From the first line until the session is closed, polls and the time between them
    // included, the program waits on the server.
    std::unique_ptr<ServerWaits::Scope> m_wait;
    ServerFiles* m_files = nullptr;  // while a fetch waits
    State m_state = State::Idle;
    bool m_requestSent = false;
    bool m_published = false;
    bool m_cancelled = false;
    ReentryGuard m_busy;  // held while a call to the server waits
    ProgramStopwatch m_waiting;  // since the request was published
    int m_limitSec = 0;
};

}  // namespace quillon
