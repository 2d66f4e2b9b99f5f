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

// The same rule for a box of digits alone (a dialled number, which goes into a record
// unquoted): what stands is the longest leading run of digits 0-9.
QString digitsPrefix(const QString& text);
void applyDigitsOnlyFilter(QLineEdit* box);

}  // namespace quillon
