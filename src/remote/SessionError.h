#pragma once
// Why server work failed: errorCode() of the blocking sessions, the code of
// LiveTailSession::connected() and of every ServerFailure.
#include <QString>

namespace quillon {

enum SessionError {
    kSessionOk = 0,
    kSessionUnreachable = 1,     // no connection to host and port (refused, no route)
    kSessionHostKeyChanged = 2,  // the key differs from the one in known_hosts
    kSessionLoginRefused = 3,    // wrong login or password
    kSessionTimedOut = 4,        // a deadline passed
    kSessionFailed = 5,          // anything else (dropped session, missing file, ...)
    kSessionCancelled = 6,       // the user ended the wait; the session is closed
};

// How a failed fetch ends when the server has no such file (or folder): the one failure that

}  // namespace quillon
