#include "widgets/NumericTextFilter.h"

#include "common/TextFormats.h"

#include <QLineEdit>

namespace quillon {

QString numericPrefix(const QString& text) {
    QString left = text;
    while (!left.isEmpty() && !isNumberText(left)) left.chop(1);
    return left;
}

namespace {
void keepPrefix(QLineEdit* box, const QString& left) {
    if (left == box->text()) return;
    // One change to what the repeated removals would leave, rather than one per character.
    box->setText(left);
    box->setCursorPosition(left.size());
}
}  // namespace

void applyNumericTextFilter(QLineEdit* box) {
    keepPrefix(box, numericPrefix(box->text()));
}

QString digitsPrefix(const QString& text) {
    int n = 0;
    while (n < text.size() && text[n] >= QLatin1Char('0') && text[n] <= QLatin1Char('9')) ++n;
    return text.left(n);
}

void applyDigitsOnlyFilter(QLineEdit* box) {
    keepPrefix(box, digitsPrefix(box->text()));
}

}  // namespace quillon
