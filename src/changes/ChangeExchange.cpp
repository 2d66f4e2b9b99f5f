#include "changes/ChangeExchange.h"

#include "remote/SessionTexts.h"

#include "changes/ChangeRequest.h"
#include "changes/SiteTables.h"
#include "common/CommonFunctions.h"
#include "common/ShellQuote.h"
#include "common/SiteContext.h"
#include "common/TextFormats.h"
#include "remote/ShellControl.h"
#include "remote/ShellLines.h"

#include <QDir>
#include <QFile>

namespace quillon {

namespace {

const QString kMayStillApply = QStringLiteral("The server may still carry out the request.");

// A wait the user ended, whichever step it was in.
QString requestCancelledText() {
    return cancelledWaitText(QStringLiteral("The request"));
}

}  // namespace

ChangeExchange::ChangeExchange(QString acceptedAnswer)
    : m_accepted(std::move(acceptedAnswer)),
      m_site(SiteContext::current().index()),
      m_siteName(SiteContext::current().name()) {}

ChangeExchange::~ChangeExchange() = default;

QStringList ChangeExchange::prepare(const QStringList& records) {
    m_site = SiteContext::current().index();
    m_siteName = SiteContext::current().name();
    m_todo = nextRequestName(GetPCName());
    m_done = answerFileName(m_todo);
    return records.isEmpty() ? QStringList() : requestLines(records, m_todo);
}

ServerFailure ChangeExchange::failedFor(const ServerFailure& failure) const {
    // Before its publishing line went out the request is not on the server: it cannot be
    // carried out, and the hidden part written is never taken up.
    if (!m_published) {
        if (failure.code == kSessionCancelled || m_cancelled)
            return {kSessionCancelled, QStringLiteral("The request was not sent."), failure.line};
        return failure;
    }
    if (failure.code == kSessionCancelled || m_cancelled)
        return {kSessionCancelled,
                requestCancelledText(),
                failure.line};
    return {failure.code,
            QStringLiteral("The request could not be sent completely: %1\r\n\r\n%2")
                .arg(failure.text, kMayStillApply),
            failure.line};
}

// A server that did not answer a line or a transfer in time does not get the next line (the
// tables' rewrite would wait its ten minutes on a server that has stopped answering): the steps
// after the failure find the session closed and skip.
void ChangeExchange::closeAfterTimeOut(const ServerFailure& failure) {
    if (failure.code == kSessionTimedOut && m_shell) m_shell->close();
}

// A request not yet published leaves the exchange as it was before Save: nothing is on the
// server to wait for, and the form may send it again.
ServerFailure ChangeExchange::sendFailed(const ServerFailure& failure) {
    const ServerFailure told = failedFor(failure);
    if (m_published) {
        m_state = State::Finishing;
        closeAfterTimeOut(failure);
    } else {
        close();
        m_state = State::Idle;
    }
    return told;
}

ServerFailure ChangeExchange::send(QStringList& lstCommands) {
    m_state = State::Sending;
    m_cancelled = false;
    m_published = false;
    // The names go into shell lines unquoted: they must be plain file names.
    if (!isSafeFileName(m_todo, 64) || lstCommands.isEmpty()) {
        m_state = State::Idle;
        return {kSessionFailed,
                QStringLiteral("The request \"%1\" cannot be written on the server.").arg(m_todo),
                QString()};
    }
    ServerFailure failure;
    m_wait = std::make_unique<ServerWaits::Scope>();
    {
        const ReentryGuard::Entry busy = m_busy.enter();
        m_shell = ServerWork::instance().openShell(
            shellRequestForSite(m_site, SiteFolder::Home, kShellControl), failure);
    }
    if (!m_shell || m_cancelled) {
        close();
        m_state = State::Idle;
        if (!failure.ok()) return failure;
        return {kSessionCancelled, QStringLiteral("The request was not sent."), QString()};
    }

    const QString publishing = publishLine(m_todo);
    while (!lstCommands.isEmpty()) {
        const QString line = lstCommands.first();
        // A line the shell layer refuses never goes out; one that does may have run, whatever
        // its outcome.
        if (const auto refusal = lineRefusal(typedLine(line)))
            return sendFailed({kSessionFailed, *refusal, line});
        if (line == publishing) m_published = true;
        LineResult written;
        {
            const ReentryGuard::Entry busy = m_busy.enter();
            written = m_shell->runChecked(line);
        }
        // A move that ran and said it failed renamed nothing.
        if (line == publishing && written.status && *written.status != 0) m_published = false;
        if (!written.ok()) return sendFailed(written.failure);
        lstCommands.removeFirst();
    }
    m_requestSent = true;
    m_state = State::Waiting;
    m_limitSec = answerTimeoutSec();
    m_waiting.start();
    return {};
}

ChangeExchange::Outcome ChangeExchange::notAccepted(Outcome::Kind kind, const QString& message) {
    m_requestSent = false;
    m_state = State::Finishing;
    return {kind, QString(), message};
}

ChangeExchange::Outcome ChangeExchange::poll() {
    using Kind = Outcome::Kind;
    if (m_state != State::Waiting) return {};
    const QString cancelledText = requestCancelledText();
    if (m_cancelled) return notAccepted(Kind::Cancelled, cancelledText);
    const QString lostText =
        QStringLiteral(
            "The connection to the server was lost while waiting for its answer: "
            "%1\r\n\r\n") +
        kMayStillApply;
    if (!m_shell || !m_shell->isOpen())
        return notAccepted(Kind::Failed, lostText.arg(QStringLiteral("the session was closed")));

    LineResult listed;
    {
        const ReentryGuard::Entry busy = m_busy.enter();
        listed = m_shell->run(answerPollLine(m_done));
    }
    if (m_cancelled || listed.failure.code == kSessionCancelled)
        return notAccepted(Kind::Cancelled, cancelledText);
    if (!listed.ok()) {
        closeAfterTimeOut(listed.failure);
        return notAccepted(Kind::Failed, lostText.arg(listed.failure.text));
    }
    if (!answerListed(listed.reply, m_done)) return waitOn();
    m_requestSent = false;
    m_state = State::Finishing;
    const Outcome judged = judge();
    if (judged.kind != Kind::Waiting) return judged;
    // An answer file that holds nothing yet: the server made it and writes it a moment later.
    m_requestSent = true;
    m_state = State::Waiting;
    return waitOn();
}

ChangeExchange::Outcome ChangeExchange::waitOn() {
    if (m_waiting.elapsed() < qint64(m_limitSec) * 1000) return {};
    return notAccepted(Outcome::Kind::TimedOut,
                       QStringLiteral("The server has not answered within %1. ")
                               .arg(durationText(m_limitSec)) +
                           kMayStillApply + kCrLf + kRefreshingData);
}

ChangeExchange::Outcome ChangeExchange::judge() {
    using Kind = Outcome::Kind;
    const QString folder = siteTableFolder(m_siteName);
    QDir().mkpath(folder);
    const QString local = folder + QLatin1Char('/') + m_done;
    const auto notFetched = [&](const ServerFailure& f) -> Outcome {
        closeAfterTimeOut(f);
        if (f.code == kSessionCancelled || m_cancelled)
            return {
                Kind::Cancelled, QString(),
                requestCancelledText()};
        return {
            Kind::Failed, QString(),
            QStringLiteral("The server's answer %1 could not be fetched: %2").arg(m_done, f.text) +
                kCrLf + kRefreshingData};
    };

    ServerFailure failure;
    std::unique_ptr<ServerFiles> files;
    {
        const ReentryGuard::Entry busy = m_busy.enter();
        files = ServerWork::instance().openFiles(filesRequestForSite(m_site), failure);
    }
    if (!files) return notFetched(failure);
    if (m_cancelled) return notFetched({kSessionCancelled, QString(), QString()});
    {
        const ReentryGuard::Entry busy = m_busy.enter();
        m_files = files.get();
        failure = files->fetch(siteServerFolder(m_site) + QLatin1Char('/') + m_done, local);
        m_files = nullptr;
    }
    files->close();
    if (!failure.ok()) return notFetched(failure);

    QFile answerFile(local);
    if (!answerFile.open(QIODevice::ReadOnly))
        return notFetched({kSessionFailed, answerFile.errorString(), QString()});
    const QString answer = answerText(answerFile.readAll());
    if (answer.isEmpty()) return {};
    if (answer == m_accepted) return {Kind::Accepted, answer, QString()};
    return {Kind::Refused, answer, answer + kCrLf + kRefreshingData};
}

ServerFailure ChangeExchange::regenerateTables() {
    if (!m_shell || !m_shell->isOpen())
        return {kSessionFailed, sessiontexts::notConnected(), QStringLiteral("./do_csv.sh")};
    const ReentryGuard::Entry busy = m_busy.enter();
    return m_shell->runChecked(QStringLiteral("./do_csv.sh"), kTableWriteTimeoutSec).failure;
}

ServerFailure ChangeExchange::sendReloadLine(const QString& word) {
    if (!m_shell || !m_shell->isOpen())
        return {kSessionFailed, sessiontexts::notConnected(), reloadLine(word)};
    const ReentryGuard::Entry busy = m_busy.enter();
    return m_shell->run(reloadLine(word)).failure;
}

void ChangeExchange::close() {
    if (m_busy.running()) {
        cancel();
        return;
    }
    if (m_shell) m_shell->close();
    m_shell.reset();
    m_wait.reset();
    m_requestSent = false;
    if (m_state != State::Idle) m_state = State::Closed;
}

TableMirrorResult ChangeExchange::refreshTables() const {
    return pullSiteTables(m_site, m_siteName);
}

void ChangeExchange::cancel() {
    m_cancelled = true;
    if (m_busy.running()) {
        if (m_files)
            m_files->cancel();
        else if (m_shell)
            m_shell->cancel();
    } else if (m_shell) {
        m_shell->close();
    }
}

}  // namespace quillon
