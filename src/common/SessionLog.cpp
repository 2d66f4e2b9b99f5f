#include "common/SessionLog.h"

#include "common/CommonFunctions.h"
#include "common/Globals.h"

#include <QRegularExpression>

namespace quillon {

std::function<void(const QString&)> sessionDebugLog(const QString& control) {
    return [prefix = control + QLatin1Char(' ')](const QString& text) {
        if (!G().g_DebugMode) return;
        for (const QString& line : splitTextLines(text)) {
            if (!line.trimmed().isEmpty()) WriteDebugLog(prefix + maskedDigests(line));
        }
    };
}

QString maskedDigests(const QString& text) {
    static const QRegularExpression digestWrite(
        QStringLiteral("(echo\\s+'?)[0-9A-Fa-f]{32}('?\\s+>)"));
    QString masked = text;
    masked.replace(digestWrite, QStringLiteral("\\1********\\2"));
    return masked;
}

}  // namespace quillon
