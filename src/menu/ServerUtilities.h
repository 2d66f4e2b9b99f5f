#pragma once
// The main window's server utilities (clock and table unlock): their lines, and the work its
// buttons do once the user has agreed. No widgets here. The lines run as checked lines
// (remote/CheckedLines.h).
#include "platform/Prompter.h"
#include "remote/CheckedLines.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace quillon {

// The PC time as the server's date command takes it: "mmddhhmmyy" (24-hour clock).
QString clockStamp(const QDateTime& when);
// "sudo date <stamp>", then "sudo /sbin/hwclock --systohc " (the server's line, blank and all).
QStringList clockLines(const QDateTime& when);
// The 14 table files the unlock frees, in order: ext.db ... oa.db.
QStringList unlockTableFiles();
// "sudo ./ORV_UNLOCK <table file>" for each of them, in the same order.
QStringList unlockLines();

// What the user is told when a utility has run.
struct UtilityOutcome {
    QString text;
    platform::Icon icon = platform::Icon::None;
};

// "Time Sync": sets the server's clock and hardware clock of the site to `when`, in the shell
// login's start folder (session SSHTIMESYNC). Both lines are sent whatever the first did.
UtilityOutcome setServerClock(int site, const QDateTime& when);
// "Unlock Tables": frees the 14 table files in the site's server folder (session SSHUNLOCK);
// a failed table does not stop the others. A site without a server folder sends nothing.
UtilityOutcome unlockServerTables(int site);
// What Time Sync tells when the user answered No.
QString clockNotChangedText();

}  // namespace quillon
