#include "remote/ShellLines.h"

#include "common/ShellQuote.h"
#include "common/SiteTargets.h"
#include "platform/TextCodec.h"

namespace quillon {

QString typedLine(const QString& line) {
    return line.endsWith(QLatin1Char('\n')) ? line.chopped(1) : line;
}

std::optional<QString> lineRefusal(const QString& line) {
    // The shell would read the rest after the "> " prompt that ends this line's wait, and
    // its output would be taken for the next line's.
    if (line.contains(QLatin1Char('\n')) || line.contains(QLatin1Char('\r')))
        return QStringLiteral("A shell line cannot hold a line break: %1").arg(line);
    // The line is typed at an interactive shell: a control character is an editing key there
    // (Ctrl-A goes back to the start of the line, Tab completes, Ctrl-C interrupts) even
    // inside quotes, so it could turn a quoted value into a command.
    for (const QChar c : line) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return QStringLiteral("A shell line cannot hold the control character %1: %2")
                .arg(QStringLiteral("0x%1").arg(c.unicode(), 2, 16, QLatin1Char('0')),
                     QString(line).replace(c, QLatin1Char('?')));
        // The line goes out as Windows-1252 bytes: a character without one would reach the
        // server as another.
        if (c.unicode() > 0x7F && platform::toCp1252(QString(c)) == "?")
            return QStringLiteral(
                       "A shell line cannot hold the character U+%1, which has no "
                       "Windows-1252 code: %2")
                .arg(QStringLiteral("%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper(),
                     QString(line).replace(c, QLatin1Char('?')));
    }
    return std::nullopt;
}

QString changeFolderLine(const QString& folder) {
    return QStringLiteral("cd ") + shellQuote(folder);
}

QString changeFolderProblem(const QString& folder, const QString& reply) {
    if (reply.trimmed().isEmpty()) return QString();
    return QStringLiteral("Could not change to the folder %1 on the server: %2")
        .arg(folder, reply.trimmed());
}

QString noFolderText() {
    return noServerFolderText();
}

}  // namespace quillon
