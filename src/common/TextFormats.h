#pragma once
// Small text formats every layer shares: the line end of the files and messages the system
// writes, the number test of the number boxes, and the key format of the lists.
#include <QString>

namespace quillon {

// The line end of every text file written for the user and of the messages' line breaks.
inline const QString kCrLf = QStringLiteral("\r\n");

// The number test of the number boxes and the run: optional blanks or tabs around an optional
// sign, digits with at most one decimal point (at least one digit) and an optional exponent;
// nothing else, no line break either.
bool isNumberText(const QString& text);

// The key as the lists show it: a whole number with at least four digits ("000#": 12 gives
// 0012, 00001 gives 0001, 12345 stays); any other text stays as it is.
QString formatKey(const QString& key);

// A wait for the user: "10 minutes" when the seconds are whole minutes, else "90 seconds"
// ("1 minute", "1 second").
QString durationText(int seconds);

}  // namespace quillon
