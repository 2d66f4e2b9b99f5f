// The server clock and table-unlock utilities of the main window.
#include "menu/ServerUtilities.h"

#include "common/TextFormats.h"

namespace quillon {

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

// --- the two utilities -----------------------------------------------------------------

QString clockNotChangedText() {
    return QStringLiteral("Varnel Call Accounting Server Time has not been changed");
}

UtilityOutcome setServerClock(int site, const QDateTime& when) {
    const QStringList lines = clockLines(when);
    const CheckedRun run = runCheckedLines(
        shellRequestForSite(site, SiteFolder::Login, QStringLiteral("SSHTIMESYNC")), lines);
    if (!run.error.isEmpty())
        return {clockNotChangedText() + kCrLf + kCrLf + run.error, platform::Icon::Exclamation};
    if (run.allOk()) return {QStringLiteral("Varnel Call Accounting Server Time changed")};
    return {QStringLiteral("The Varnel Call Accounting Server Time may not have been "
                           "changed. These commands failed:") +
                kCrLf + failureLines(run, [&](int i) { return lines[i].trimmed(); }),
            platform::Icon::Exclamation};
}

UtilityOutcome unlockServerTables(int site) {
    const QStringList files = unlockTableFiles();
    CheckedRun run;
    if (siteServerFolder(site).isEmpty())
        run.error = QStringLiteral("No server folder is configured for this site.");
    else
        run = runCheckedLines(
            shellRequestForSite(site, SiteFolder::Home, QStringLiteral("SSHUNLOCK")),
            unlockLines());
    if (!run.error.isEmpty())
        return {QStringLiteral("The Varnel Call Accounting Tables were not unlocked.") + kCrLf +
                    kCrLf + run.error,
                platform::Icon::Exclamation};
    if (run.allOk()) return {QStringLiteral("Varnel Call Accounting Tables unlocked")};
    return {QStringLiteral("These Varnel Call Accounting Tables could not be unlocked:") + kCrLf +
                failureLines(run, [&](int i) { return files.value(i); }),
            platform::Icon::Exclamation};
}

}  // namespace quillon
