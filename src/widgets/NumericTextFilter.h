#pragma once
// The rule of every number box: whenever its text changes (typing, pasting or the program
// itself) and the whole text does not read as a number (isNumberText), the box loses its last
// character and the caret goes to the end; the removal is a change too, so what stands is the
// longest leading part that reads as a number, or nothing. An empty box stays empty.
#include <QString>

class QLineEdit;

namespace quillon {

// What the rule leaves of a text.
QString numericPrefix(const QString& text);

// Applies the rule to the box: the body of a number box's <box>_Change handler, which the
// window connects to the box's textChanged.
void applyNumericTextFilter(QLineEdit* box);

// The stricter rule of the boxes whose text goes to the server as a code (area codes,
// prefixes, durations): what stands is the longest leading run of ASCII digits, so no sign,
// separator or exponent is kept.
QString digitsPrefix(const QString& text);
void applyDigitsOnlyFilter(QLineEdit* box);

}  // namespace quillon
