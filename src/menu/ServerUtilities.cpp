// The server clock and table-unlock utilities of the main window.
#include "menu/ServerUtilities.h"
#include "widgets/BusyPointer.h"
#include "common/SessionLog.h"
#include "widgets/ReentryGuard.h"

#include "common/CommonFunctions.h"
#include "common/Globals.h"
#include "common/Messages.h"
#include "common/TextFormats.h"
#include "menu/fMain.h"

#include <QPointer>

namespace quillon {

namespace {

std::function<QDateTime()>& clockSource() {
    static std::function<QDateTime()> clock;
    return clock;
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
    const CheckedRun run = runCheckedLines(
        shellRequestForSite(G().g_CurSite, SiteFolder::Login, QStringLiteral("SSHTIMESYNC")),
        lines);
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
        run = runCheckedLines(
            shellRequestForSite(site, SiteFolder::Home, QStringLiteral("SSHUNLOCK")),
            unlockLines());
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
