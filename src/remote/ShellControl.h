#pragma once
// The name the system gives the shell session of a window's server work. The debug log names
// a session by its control (ShellRequest::control), so every window's shell logs as this one.
#include <QString>

namespace quillon {

inline const QString kShellControl = QStringLiteral("wodSSH1");

}  // namespace quillon
