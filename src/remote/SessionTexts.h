#pragma once
// What a session tells when a line or a fetch cannot be done: the real sessions, the change
// exchange and the test fake all say it in these words, so a window shows the same with both.
#include <QString>

namespace quillon::sessiontexts {

inline QString noServerAddress() {
    return QStringLiteral("No server address is configured for this site.");
}
inline QString notConnected() {
    return QStringLiteral("Not connected to the server.");
}
inline QString busy() {
    return QStringLiteral("The session is busy.");
}
inline QString busyWithLine() {
    return QStringLiteral("The session is busy with another line.");
}
inline QString busyWithTransfer() {
    return QStringLiteral("The session is busy with another transfer.");
}
// A line's deadline passed; with `closed` the session was closed for it.
inline QString lineTimedOut(int seconds, const QString& line, bool closed = false) {
    return QStringLiteral("No answer from the server within %1 seconds to: %2")
               .arg(seconds)
               .arg(line) +
           (closed ? QStringLiteral("; the session was closed.") : QString());
}
// The server ended the session while the line ran.
inline QString droppedWhileRunning(const QString& line) {
    return QStringLiteral("The server closed the session while running: %1").arg(line);
}
// The long wait's Cancel during a line.
inline QString lineCancelled() {
    return QStringLiteral("Cancelled by the user; the server may still finish the work.");
}
// The long wait's Cancel during a fetch.
inline QString fetchCancelled(const QString& remotePath) {
    return QStringLiteral("Cancelled by the user; %1 was not fetched.").arg(remotePath);
}
// A fetch that received nothing for its deadline; the session was closed.
inline QString fetchStalled(int seconds, const QString& remotePath) {
    return QStringLiteral(
               "No data from the server within %1 seconds while fetching %2; the "
               "session was closed.")
        .arg(seconds)
        .arg(remotePath);
}
// A failed fetch, `why` one of the reasons below or the server's own words.
inline QString fetchFailed(const QString& remotePath, const QString& why) {
    return QStringLiteral("Could not fetch %1: %2").arg(remotePath, why);
}
inline QString noSuchFile() {
    return QStringLiteral("the server has no such file");
}
inline QString transferBrokeOff() {
    return QStringLiteral("the transfer broke off");
}
inline QString couldNotWrite(const QString& localPath, const QString& why) {
    return QStringLiteral("could not write %1: %2").arg(localPath, why);
}

}  // namespace quillon::sessiontexts
