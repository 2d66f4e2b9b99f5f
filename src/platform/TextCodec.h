#pragma once
// Text files that the system exchanges are Windows-1252 ("ANSI") with CR LF line ends.
#include <QByteArray>
#include <QString>

namespace platform {

// Characters without a Windows-1252 code become '?'.
QByteArray toCp1252(const QString& text);
// The same, appended to `out`: for writers that convert a large text piece by piece.
void appendCp1252(QByteArray& out, QStringView text);
QString fromCp1252(const QByteArray& bytes);
// The first character of text that has no Windows-1252 code (a surrogate pair whole), or an
// empty string when every character has one.
QString firstWithoutCp1252(QStringView text);

}  // namespace platform
