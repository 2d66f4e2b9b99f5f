#include "common/TextFormats.h"

#include <QRegularExpression>

namespace quillon {

bool isNumberText(const QString& text) {
    // Blanks may stand around the number, line breaks may not; anchored at the true end, as
    // '$' would also match before a final line break.
    static const QRegularExpression re(QRegularExpression::anchoredPattern(
        QStringLiteral("[ \\t]*[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?[ \\t]*")));
    return re.match(text).hasMatch();
}

QString formatKey(const QString& key) {
    static const QRegularExpression digits(
        QRegularExpression::anchoredPattern(QStringLiteral("\\d+")));
    if (!digits.match(key).hasMatch()) return key;
    QString n = key;
    while (n.size() > 1 && n.startsWith(QLatin1Char('0'))) n.remove(0, 1);
    return n.rightJustified(4, QLatin1Char('0'));
}

QString durationText(int seconds) {
    if (seconds >= 60 && seconds % 60 == 0)
        return seconds == 60 ? QStringLiteral("1 minute")
                             : QStringLiteral("%1 minutes").arg(seconds / 60);
    return seconds == 1 ? QStringLiteral("1 second") : QStringLiteral("%1 seconds").arg(seconds);
}

}  // namespace quillon
