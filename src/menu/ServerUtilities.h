#pragma once
// The lines of the main window's server utilities (clock and table unlock) and the run that
// sends shell lines and checks how each one ended. No widgets here.
#include "remote/RemoteSession.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace quillon {

// The PC time as the server's date command takes it: "mmddhhmmyy" (24-hour clock).
QString clockStamp(const QDateTime& when);
// "sudo date <stamp>", then "sudo /sbin/hwclock --systohc " (the server's line, blank and all).
QStringList clockLines(const QDateTime& when);
// The 14 table files the unlock frees, in order: ext.db ... oa.db.
QStringList unlockTableFiles();
// "sudo ./ORV_UNLOCK <table file>" for each of them, in the same order.
QStringList unlockLines();

// The time the utilities read (the clock stamp, the dated names of saved error files). Tests
// fix it; an empty function gives the PC's clock again.
QDateTime utilitiesNow();
void setUtilitiesClock(std::function<QDateTime()> clock);

// Each line is sent with its exit status echoed after it on the same line, so the shell reports
// how it ended whatever the command prints: `<line>; echo "rc=$?"`.
QString withExitStatus(const QString& line);
// The status such a line echoed last in its reply; nullopt when the reply holds none.
std::optional<int> exitStatusOf(const QString& reply);
// The reply without the status line, trimmed.
QString replyWithoutStatus(const QString& reply);

struct LineOutcome {
    QString line;     // as given, without the status check
    bool ok = false;  // ran and ended with status 0
    QString problem;  // why not: the command's own words, its status, a time-out
};

struct CheckedRun {
    QString error;  // set when the lines could not be sent (connection, folder)
    QList<LineOutcome> lines;

    // Every line was sent and ended well.
    bool allOk() const;
};

// Opens a shell session to target, changes to folder unless it is empty, then sends every line
// with its status check and records how each ended; the session's lines go to the debug log.
// A line that fails or times out does not stop the rest; a session that is lost marks the lines
// after it as not sent. Every wait has a deadline: the connection g_FtpTimeout, each line
// timeoutSec. The session is closed at the end. `control` names the session in the debug log.
CheckedRun runCheckedLines(const SessionTarget& target, const QString& folder,
                           const QStringList& lines, const QString& control,
                           int timeoutSec = kLineTimeoutSec);

// For the user: CR LF and "<label>: <problem>" for each line that failed, label(i) naming line i.
QString failureLines(const CheckedRun& run, const std::function<QString(int)>& label);

}  // namespace quillon
