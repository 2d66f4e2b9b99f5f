#include "common/TextFormats.h"

#include <QRegularExpression>

namespace quillon {

bool isNumberText(const QString& text) {
    static const QRegularExpression re(
        QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?\\s*$"));
    return re.match(text).hasMatch();
}

QString formatKey(const QString& key) {
    static const QRegularExpression digits(QStringLiteral("^\\d+$"));
    if (!digits.match(key).hasMatch()) return key;
    QString n = key;
    while (n.size() > 1 && n.startsWith(QLatin1Char('0'))) n.remove(0, 1);
    return n.rightJustified(4, QLatin1Char('0'));
}

}  // namespace quillon
