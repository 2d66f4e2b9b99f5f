#pragma once
// A length limit on what the user types or pastes into a box, not on what the program puts
// there: a longer name copied from a table stays whole (and may be shortened), but no edit
// makes a text longer than the limit grow.
class QLineEdit;

namespace quillon {

void limitTypedLength(QLineEdit* box, int maxLength);

}  // namespace quillon
