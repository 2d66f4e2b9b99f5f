#pragma once
// The debug log's view of a shell session: what the session reports (each line sent, each
// reply, each failure) goes to the log under the name of the window's session control.
#include <QString>

#include <functional>

namespace quillon {

// A RemoteShellSession::log callback. Each line of a report becomes one log line,
// "<control> <text>"; empty lines write nothing, so a bare line feed or a reply-less cd leaves
// the window's own log lines as they are.
std::function<void(const QString&)> sessionDebugLog(const QString& control);

// The text with the password digest of every user-file write in it masked ("echo <digest>
// >.ALICE.USE.tmp", quoted or not): a digest of an unsalted MD5 is as good as the password to
// anyone with a dictionary, so neither the debug log nor a message shows one.
QString maskedDigests(const QString& text);

}  // namespace quillon
