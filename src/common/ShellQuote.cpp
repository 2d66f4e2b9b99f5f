#include "common/ShellQuote.h"

#include "platform/TextCodec.h"

#include <QRegularExpression>

namespace quillon {

QString shellQuote(const QString& text) {
    QString out;
    out.reserve(text.size() + 2);
    out += QLatin1Char('\'');
    for (const QChar c : text) {
        if (c == QLatin1Char('\''))
            out += QStringLiteral("'\\''");
        else
            out += c;
    }
    out += QLatin1Char('\'');
    return out;
}

QString plainOrQuoted(const QString& text, bool admitted) {
    return admitted ? text : shellQuote(text);
}

bool isPlainAccountName(const QString& name) {
    // Anchored at the true end: '$' alone would also take a name followed by a line break.
    static const QRegularExpression re(
        QRegularExpression::anchoredPattern(QStringLiteral("[a-z_][a-z0-9_.-]{0,31}")));
    return re.match(name).hasMatch();
}

bool isSafeServerPath(const QString& path) {
    if (!path.startsWith(QLatin1Char('/'))) return false;
    for (const QChar c : path) {
        const char16_t u = c.unicode();
        const bool ok = (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') ||
                        (u >= '0' && u <= '9') || u == '.' || u == '_' || u == '/' || u == '-';
        if (!ok) return false;
    }
    const QStringList parts = path.split(QLatin1Char('/'));
    for (const QString& p : parts)
        if (p == QLatin1String("..")) return false;
    return true;
}

bool isSafeFileName(const QString& name, int maxLength) {
    if (name.isEmpty() || name.size() > maxLength) return false;
    if (name.startsWith(QLatin1Char('.')) || name.startsWith(QLatin1Char('-'))) return false;
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        const bool ok = (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') ||
                        (u >= '0' && u <= '9') || u == '.' || u == '_' || u == '-';
        if (!ok) return false;
    }
    return true;
}

bool isControlCharacter(QChar c) {
    const char16_t u = c.unicode();
    return u < 0x20 || (u >= 0x7F && u <= 0x9F);
}

bool isValidPort(const QString& port) {
    if (port.isEmpty() || port.size() > 5) return false;
    for (const QChar c : port)
        if (c.unicode() < '0' || c.unicode() > '9') return false;
    const int v = port.toInt();
    return v >= 1 && v <= 65535;
}

QString windows1252Problem(const QString& field, const QString& text) {
    const QString c = platform::firstWithoutCp1252(text);
    if (c.isEmpty()) return QString();
    return QStringLiteral(
               "The %1 may not hold the character \"%2\" (U+%3): the server's text is "
               "Windows-1252, which has no code for it.")
        .arg(field, c,
             QStringLiteral("%1").arg(c.toUcs4().value(0), 4, 16, QLatin1Char('0')).toUpper());
}

}  // namespace quillon
