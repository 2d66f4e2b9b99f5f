#include "widgets/NumericTextFilter.h"

#include "common/TextFormats.h"

#include <QLineEdit>

namespace quillon {

QString numericPrefix(const QString& text) {
    QString left = text;
    while (!left.isEmpty() && !isNumberText(left)) left.chop(1);
    return left;
}

void applyNumericTextFilter(QLineEdit* box) {
    const QString text = box->text();
    const QString left = numericPrefix(text);
    if (left == text) return;
    // One change to what the repeated removals would leave, rather than one per character.
    box->setText(left);
    box->setCursorPosition(left.size());
}

}  // namespace quillon
