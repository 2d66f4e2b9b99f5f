#pragma once
// The debug log of a test's program folder, for tests that check what a window logs.
#include "common/CommonFunctions.h"
#include "common/Globals.h"
#include "platform/SystemInfo.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

namespace testsupport {

// Turns the debug log on in <program folder>/Logs/Mainlog.log.
inline void startDebugLog() {
    quillon::G().g_DebugMode = true;
    QDir().mkpath(platform::SystemInfo::path(QStringLiteral("Logs")));
    quillon::OpenDebugLog(platform::SystemInfo::path(QStringLiteral("Logs/Mainlog.log")));
}

// The log's messages after its "OPENED" line, time stamps ("Dec-09-08 14:05:33 ") cut off.
inline QStringList debugLogMessages() {
    QFile file(platform::SystemInfo::path(QStringLiteral("Logs/Mainlog.log")));
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QStringList lines = QString::fromLatin1(file.readAll()).split(QStringLiteral("\r\n"));
    QStringList out;
    for (const QString& line : lines.mid(1, lines.size() - 2)) out << line.mid(19);
    return out;
}

}  // namespace testsupport
