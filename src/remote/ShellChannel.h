#pragma once
// The shell on a connection: opening it, typing into it and reading until its prompt.
#include "remote/Connection.h"
#include "remote/PromptMatcher.h"

#include <QByteArray>

namespace quillon {

// A bash on a "dumb" terminal: no colour, title or bracketed-paste escapes, and wide enough
// that the echo of a long line never wraps. Null, with the reason in f, on failure.
SshChannel openShellChannel(ssh_session s, const SessionTarget& t, ServerFailure& f);

enum class ReadResult { Prompt, TimedOut, Dropped };

// Reads into the matcher until it says the line is complete, the deadline passes or the
// session drops.
ReadResult readUntilPrompt(ssh_channel ch, PromptMatcher& matcher, Clock::time_point deadline);

bool writeAll(ssh_channel ch, const QByteArray& data);

}  // namespace quillon
