#include "utilities/TestCall.h"

#include <QRegularExpression>

namespace quillon {

namespace {
struct CallType {
    const char* text;
    const char* letter;
};
constexpr CallType kTypes[] = {
    {"LOCAL", "L"}, {"LONG DISTANCE", "B"}, {"INTERSTATE", "A"}, {"FOREIGN", "F"}};

bool matches(const char* pattern, const QString& text) {
    return QRegularExpression(QRegularExpression::anchoredPattern(QString::fromLatin1(pattern)))
        .match(text)
        .hasMatch();
}
}  // namespace

QStringList testCallTypes() {
    QStringList out;
    for (const CallType& t : kTypes) out << QString::fromLatin1(t.text);
    return out;
}

QString testCallTypeLetter(const QString& typeText) {
    for (const CallType& t : kTypes)
        if (typeText == QLatin1String(t.text)) return QString::fromLatin1(t.letter);
    return {};
}

QString testCallRecord(const TestCall& call) {
    return QStringList{call.extension,
                       testCallTypeLetter(call.typeText),
                       call.date.toString(QStringLiteral("MMddyy")),
                       call.time.toString(QStringLiteral("HHmm")),
                       call.duration,
                       call.charge,
                       call.number}
        .join(QLatin1Char(','));
}

QString testCallProblem(const TestCall& call) {
    if (!matches("[0-9]+", call.extension))
        return QStringLiteral("Choose an extension: its number must be digits only.");
    if (!call.date.isValid() || !call.time.isValid())
        return QStringLiteral("The call's date and time are not valid.");
    if (!matches("[0-9]{1,4}", call.duration))
        return QStringLiteral("The duration must be whole minutes: digits only.");
    if (!matches("[0-9]{1,5}(\\.[0-9]{1,2})?", call.charge))
        return QStringLiteral("The charge must be an amount such as 1.00: digits and a point.");
    if (!matches("[0-9]{0,15}", call.number))
        return QStringLiteral("The phone number may hold digits only, at most 15.");
    return {};
}

QString testCallFileName(const QString& computerName) {
    return computerName + QStringLiteral("_HOBIC.TMP");
}

QStringList testCallLines(const TestCall& call, const QString& fileName) {
    return {QStringLiteral("echo ") + testCallRecord(call) + QLatin1Char('>') + fileName,
            QStringLiteral(" sudo ./ORV_RHOBIC 0 ") + fileName};
}

}  // namespace quillon
