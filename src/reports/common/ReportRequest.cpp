#include "reports/common/ReportRequest.h"

#include "common/ShellQuote.h"

namespace quillon {

namespace reportkinds {
const ReportKind detail{QStringLiteral("DETAIL"), QStringLiteral("ORV_B1"), 2};
const ReportKind cost{QStringLiteral("COST"), QStringLiteral("ORV_B6"), 4};
const ReportKind watchdog{QStringLiteral("WDOG"), QStringLiteral("ORV_B5"), 6};
const ReportKind auth{QStringLiteral("AUTH"), QStringLiteral("ORV_B8"), 14};
const ReportKind unused{QStringLiteral("UNUSED"), QStringLiteral("ORV_B6N"), 16};
}  // namespace reportkinds

QString ReportRequest::paramFileName(const QString& computerName, const ReportKind& kind) {
    return computerName + QLatin1Char('_') + kind.tag + QStringLiteral(".TMP");
}

QString ReportRequest::reportFileName(const QString& computerName, const ReportKind& kind) {
    return computerName + QLatin1Char('_') + kind.tag + QStringLiteral(".rep");
}

// The spacing of each kind of line is the system's own: the server never sees it, but it is
// part of the queued text.
void ReportRequest::append(const QString& echoPrefix, const QString& text,
                           const QString& redirect) {
    m_lines << echoPrefix + shellQuote(text) + redirect + m_file;
}

void ReportRequest::addHeader() {
    append(QStringLiteral("echo "), QStringLiteral("L lp"), QStringLiteral(" >"));
    append(QStringLiteral("echo "), QStringLiteral("S"), QStringLiteral(" >>"));
}

void ReportRequest::addOption(const QString& letter) {
    append(QStringLiteral("echo  "), letter, QStringLiteral(" >>"));
}

void ReportRequest::addItem(const QString& code, const QString& key) {
    append(QStringLiteral("echo  "), code + QLatin1Char(' ') + key, QStringLiteral(" >>"));
}

void ReportRequest::addPhoneNumber(const QString& number) {
    append(QStringLiteral("echo  "), QStringLiteral("PH-") + number, QStringLiteral(" >>"));
}

void ReportRequest::addAllCalls() {
    append(QStringLiteral("echo "), QStringLiteral("A"), QStringLiteral(" >>"));
}

void ReportRequest::addDateRange(const QDate& start, const QDate& end, const QTime& startTime,
                                 const QTime& endTime) {
    const QString date = QStringLiteral("MMddyy");
    const QString time = QStringLiteral("HHmm");
    append(QStringLiteral("echo "), QStringLiteral("DS ") + start.toString(date),
           QStringLiteral(">>"));
    append(QStringLiteral("echo "), QStringLiteral("DE ") + end.toString(date),
           QStringLiteral(">>"));
    append(QStringLiteral("echo "), QStringLiteral("TS ") + startTime.toString(time),
           QStringLiteral(">>"));
    append(QStringLiteral("echo "), QStringLiteral("TE ") + endTime.toString(time),
           QStringLiteral(">>"));
}

void ReportRequest::addInterval(const QString& interval) {
    append(QStringLiteral("echo  "), QStringLiteral("I ") + interval, QStringLiteral(" >>"));
}

QString ReportRequest::runCommand(const ReportKind& kind) const {
    return QStringLiteral("./") + kind.program + QStringLiteral(" 2 ") + m_file;
}

}  // namespace quillon
