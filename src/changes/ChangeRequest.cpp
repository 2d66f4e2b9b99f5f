#include "changes/ChangeRequest.h"

#include "common/CommonFunctions.h"
#include "common/ConfigNames.h"
#include "common/ProgramClock.h"
#include "common/ShellQuote.h"
#include "platform/TextCodec.h"

#include <QRegularExpression>

#include <algorithm>

namespace quillon {

QString RequestNamer::next(const QString& computerName, const QDateTime& now) {
    QDateTime moment = now;
    moment.setTime(QTime(now.time().hour(), now.time().minute(), now.time().second()));
    if (m_last.isValid() && moment <= m_last) moment = m_last.addSecs(1);
    m_last = moment;
    return computerName + QLatin1Char('_') + moment.toString(QStringLiteral("MMddyyHHmmss")) +
           QStringLiteral(".todo");
}

QString nextRequestName(const QString& computerName) {
    static RequestNamer namer;
    return namer.next(computerName, programNow());
}

QString answerFileName(const QString& requestName) {
    return requestName.chopped(5) + QStringLiteral(".done");
}

QString unpublishedName(const QString& requestName) {
    return QLatin1Char('.') + requestName + QStringLiteral(".tmp");
}

QString recordLine(const QString& record, const QString& requestName, bool first) {
    return QStringLiteral("echo ") + shellQuote(record) +
           (first ? QStringLiteral(" > ") : QStringLiteral(" >> ")) + unpublishedName(requestName);
}

QString staleAnswerLine(const QString& requestName) {
    return QStringLiteral("rm -f ") + answerFileName(requestName);
}

QString publishLine(const QString& requestName) {
    return QStringLiteral("mv -f %1 %2").arg(unpublishedName(requestName), requestName);
}

QStringList requestLines(const QStringList& records, const QString& requestName) {
    QStringList lines;
    for (qsizetype i = 0; i < records.size(); ++i)
        lines << recordLine(records[i], requestName, i == 0);
    lines << staleAnswerLine(requestName) << publishLine(requestName);
    return lines;
}

QString answerPollLine(const QString& answerName) {
    return QStringLiteral("ls ") + answerName;
}

QString reloadLine(const QString& word) {
    return QStringLiteral("echo \">>reload_") + word;
}

bool answerListed(const QString& reply, const QString& answerName) {
    if (reply.contains(QStringLiteral("No such file"))) return false;
    for (const QString& line : splitTextLines(reply))
        if (line.trimmed() == answerName) return true;
    return false;
}

QString answerText(const QByteArray& fileBytes) {
    static const QByteArray bom("\xEF\xBB\xBF");
    const QByteArray bytes = fileBytes.startsWith(bom) ? fileBytes.mid(bom.size()) : fileBytes;
    QString text = platform::fromCp1252(bytes);
    static const QRegularExpression lineEnd(QStringLiteral("\r*\n"));
    static const QRegularExpression finalEnds(QStringLiteral("[\r\n]+$"));
    text.replace(lineEnd, QStringLiteral("\n"));
    text.remove(finalEnds);
    return text;
}

int answerTimeoutSec() {
    return configuredSeconds(config::kAnswerTimeout, kDefaultAnswerTimeoutSec);
}

QString nameProblem(const QString& field, const QString& text) {
    static const QRegularExpression refused(QStringLiteral("[,\"\\\\]"));
    if (!text.contains(refused) && std::none_of(text.begin(), text.end(), isControlCharacter))
        return windows1252Problem(field, text);
    return QStringLiteral(
               "The %1 may not hold a comma, a double quote, a backslash or a "
               "control character.")
        .arg(field);
}

QString keyProblem(const QString& field, const QString& text) {
    static const QRegularExpression digits(
        QRegularExpression::anchoredPattern(QStringLiteral("[0-9]+")));
    if (digits.match(text).hasMatch()) return {};
    return QStringLiteral("The %1 must be a whole number: digits only.").arg(field);
}

QString amountProblem(const QString& field, const QString& text) {
    static const QRegularExpression amount(QRegularExpression::anchoredPattern(
        QStringLiteral("[+-]?[0-9]+(\\.[0-9]+)?([eE][+-]?[0-9]+)?")));
    if (amount.match(text).hasMatch()) return {};
    return QStringLiteral(
               "The %1 must be a number such as 12.50: digits, an optional sign and "
               "\".\" before the decimals.")
        .arg(field);
}

}  // namespace quillon
