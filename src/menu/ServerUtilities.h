#pragma once
// The lines of the main window's server utilities (clock and table unlock). No widgets here.
// Their lines run as checked lines (remote/CheckedLines.h).
#include "remote/CheckedLines.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

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

}  // namespace quillon
