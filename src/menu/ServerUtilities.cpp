// The server clock and table-unlock utilities of the main window.
#include "menu/ServerUtilities.h"
#include "common/SessionLog.h"
#include "widgets/BusyPointer.h"
#include "widgets/ReentryGuard.h"

#include "common/CommonFunctions.h"
#include "common/Globals.h"
#include "common/Messages.h"
#include "common/TextFormats.h"
#include "menu/fMain.h"

#include <QPointer>
#include <QRegularExpression>

namespace quillon {

namespace {

std::function<QDateTime()>& clockSource() {
    static std::function<QDateTime()> clock;
    return clock;
}

// A reply shown to the user stays short; the debug log has it whole.
QString shortened(const QString& text) {
    constexpr int kMax = 200;
    QString one = text.simplified();
    if (one.size() > kMax) one = one.left(kMax) + QStringLiteral("...");
    return one;
}

// Clicks that come while the same utility still waits for the server are dropped.
ReentryGuard g_sync;
ReentryGuard g_unlock;

}  // namespace

// --- lines ------------------------------------------------------------------------------

QString clockStamp(const QDateTime& when) {
    return when.toString(QStringLiteral("MMddhhmmyy")).trimmed();
}

QStringList clockLines(const QDateTime& when) {
    return {QStringLiteral("sudo date ") + clockStamp(when),
            QStringLiteral("sudo /sbin/hwclock --systohc ")};
}

QStringList unlockTableFiles() {
    QStringList files;
    for (const char* t : {"ext", "line", "dpt", "div", "account", "lt", "trunk", "ld", "lc", "rate",
                          "calc", "cc", "ac", "oa"})
        files << QLatin1String(t) + QStringLiteral(".db");
    return files;
}

QStringList unlockLines() {
    QStringList lines;
    for (const QString& file : unlockTableFiles())
        lines << QStringLiteral("sudo ./ORV_UNLOCK ") + file;
    return lines;
}

QDateTime utilitiesNow() {
    return clockSource() ? clockSource()() : QDateTime::currentDateTime();
}

void setUtilitiesClock(std::function<QDateTime()> clock) {
    clockSource() = std::move(clock);
}

// --- checked lines ----------------------------------------------------------------------

QString withExitStatus(const QString& line) {
    return line + QStringLiteral("; echo \"rc=$?\"");
}

namespace {
// The status echo comes last; a command's output without a final line break runs into it.
const QRegularExpression& statusPattern() {
    static const QRegularExpression re(QStringLiteral("rc=(\\d+)\\s*$"));
    return re;
}
}  // namespace

std::optional<int> exitStatusOf(const QString& reply) {
    const QRegularExpressionMatch m = statusPattern().match(reply);
    if (!m.hasMatch()) return std::nullopt;
    bool ok = false;
    const int status = m.captured(1).toInt(&ok);
    if (!ok) return std::nullopt;
    return status;
}

QString replyWithoutStatus(const QString& reply) {
    const QRegularExpressionMatch m = statusPattern().match(reply);
    return (m.hasMatch() ? reply.left(m.capturedStart()) : reply).trimmed();
}

bool CheckedRun::allOk() const {
    if (!error.isEmpty()) return false;
    for (const LineOutcome& o : lines)
        if (!o.ok) return false;
    return true;
}

CheckedRun runCheckedLines(const SessionTarget& target, const QString& folder,
                           const QStringList& lines, const QString& control, int timeoutSec) {
    CheckedRun run;
    RemoteShellSession session;
    session.log = sessionDebugLog(control);
    if (!session.connectToHost(target)) {
        run.error = session.errorString();
        return run;
    }
    if (!folder.isEmpty() && !session.changeFolder(folder, timeoutSec)) {
        run.error = session.errorString();
        return run;
    }
    for (const QString& line : lines) {
        LineOutcome o;
        o.line = line;
        if (!session.isConnected()) {
            o.problem = QStringLiteral("not sent, the connection was lost");
            run.lines << o;
            continue;
        }
        const std::optional<QString> reply = session.execute(withExitStatus(line), timeoutSec);
        if (!reply) {
            o.problem = session.errorString();
        } else if (const std::optional<int> status = exitStatusOf(*reply); !status) {
            o.problem = QStringLiteral("the server gave no exit status");
        } else if (*status != 0) {
            const QString said = replyWithoutStatus(*reply);
            o.problem =
                said.isEmpty() ? QStringLiteral("exit status %1").arg(*status) : shortened(said);
        } else {
            o.ok = true;
        }
        run.lines << o;
    }
    session.disconnect();
    return run;
}

QString failureLines(const CheckedRun& run, const std::function<QString(int)>& label) {
    QString text;
    for (int i = 0; i < run.lines.size(); ++i)
        if (!run.lines[i].ok)
            text += kCrLf + label(i) + QStringLiteral(": ") + run.lines[i].problem;
    return text;
}

// --- the two buttons --------------------------------------------------------------------

void fMain::cmdsynch_Click() {
    const ReentryGuard::Entry running = g_sync.enter();
    if (!running) return;
    if (!ask(QStringLiteral("Are you sure you want to change the date and time on the Varnel "
                            "Call Accounting Server?") +
                 kCrLf,
             titles::kConfigureSites)) {
        tell(QStringLiteral("Varnel Call Accounting Server Time has not been changed"));
        return;
    }

    // Taken after the answer: the question may stay open a while.
    const QStringList lines = clockLines(utilitiesNow());
    QPointer<fMain> self(this);
    // The clock commands run in the login's start folder (session SSHTIMESYNC).
    const CheckedRun run = runCheckedLines(shellTargetForSite(G().g_CurSite), QString(), lines,
                                           QStringLiteral("SSHTIMESYNC"));
    if (!self) return;

    if (!run.error.isEmpty()) {
        tell(QStringLiteral("Varnel Call Accounting Server Time has not been changed") + kCrLf +
                 kCrLf + run.error,
             platform::Icon::Exclamation);
        return;
    }
    if (run.allOk()) {
        tell(QStringLiteral("Varnel Call Accounting Server Time changed"));
        return;
    }
    tell(QStringLiteral("The Varnel Call Accounting Server Time may not have been "
                        "changed. These commands failed:") +
             kCrLf + failureLines(run, [&](int i) { return lines[i].trimmed(); }),
         platform::Icon::Exclamation);
}

void fMain::cmdunlock_Click() {
    const ReentryGuard::Entry running = g_unlock.enter();
    if (!running) return;
    QPointer<fMain> self(this);
    BusyPointer busy(this);

    const QStringList files = unlockTableFiles();
    const int site = G().g_CurSite;
    const QString folder = siteServerFolder(site);
    CheckedRun run;
    // Session SSHUNLOCK, in the site's server folder.
    if (folder.isEmpty())
        run.error = QStringLiteral("No server folder is configured for this site.");
    else
        run = runCheckedLines(shellTargetForSite(site), folder, unlockLines(),
                              QStringLiteral("SSHUNLOCK"));
    busy.release();
    if (!self) return;

    if (!run.error.isEmpty()) {
        tell(QStringLiteral("The Varnel Call Accounting Tables were not unlocked.") + kCrLf +
                 kCrLf + run.error,
             platform::Icon::Exclamation);
    } else if (run.allOk()) {
        tell(QStringLiteral("Varnel Call Accounting Tables unlocked"));
    } else {
        tell(QStringLiteral("These Varnel Call Accounting Tables could not be unlocked:") + kCrLf +
                 failureLines(run, [&](int i) { return files.value(i); }),
             platform::Icon::Exclamation);
    }
}

}  // namespace quillon
