#pragma once
// What may be typed at the server's shell, and the line that changes its folder: the same
// rules for the real sessions and for the fakes of the tests.
#include <QString>

#include <optional>

namespace quillon {

// The line as it is typed: one final LF is the line's own end and is dropped.
QString typedLine(const QString& line);
// Why a typed line cannot go to the shell (a line break, another control character, a
// character that has no Windows-1252 byte), or nullopt when it can.
std::optional<QString> lineRefusal(const QString& line);

// "cd " + shellQuote(folder).
QString changeFolderLine(const QString& folder);
// Why the shell did not get to folder, from the reply to changeFolderLine (cd prints nothing
// when it got there); empty when it did.
QString changeFolderProblem(const QString& folder, const QString& reply);
// The refusal of an empty folder: a site without a server folder.
QString noFolderText();

}  // namespace quillon
