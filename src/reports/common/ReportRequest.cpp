#include "reports/common/ReportRequest.h"

#include "common/ShellQuote.h"

namespace quillon {

namespace reportkinds {
const ReportKind detail{.tag = "DETAIL", .program = "ORV_B1", .reportNumber = 2};
const ReportKind cost{.tag = "COST", .program = "ORV_B6", .reportNumber = 4};
const ReportKind watchdog{.tag = "WDOG", .program = "ORV_B5", .reportNumber = 6};
const ReportKind auth{.tag = "AUTH", .program = "ORV_B8", .reportNumber = 14};
const ReportKind unused{.tag = "UNUSED", .program = "ORV_B6N", .reportNumber = 16};
// The audit program takes a one-word code of the window's choices and leaves sum.rep.
const ReportKind audit{
    .program = "ORV_B3", .reportNumber = 3, .mode = QString(), .reportFile = "sum.rep"};
const ReportKind stats{.tag = "STATS", .program = "ORV_B4", .reportNumber = 5};
const ReportKind crono{.tag = "CRONO", .program = "ORV_BD", .reportNumber = 7};
const ReportKind trunk{.tag = "TRUNK", .program = "ORV_B2", .reportNumber = 8};
const ReportKind area{.tag = "AREA", .program = "ORV_B9", .reportNumber = 9};
// The calculator fetches the cost program's answer itself: no report number.
const ReportKind callCost{.tag = "CCAL", .program = "ORV_CCAL", .mode = "0"};
}  // namespace reportkinds

QString ReportRequest::paramFileName(const QString& computerName, const ReportKind& kind) {
    if (!kind.hasRequestFile()) return QString();
    return computerName + QLatin1Char('_') + kind.tag + QStringLiteral(".TMP");
}

QString ReportRequest::reportFileName(const QString& computerName, const ReportKind& kind) {
    if (!kind.reportFile.isEmpty()) return kind.reportFile;
    return computerName + QLatin1Char('_') + kind.tag + QStringLiteral(".rep");
}

void ReportRequest::addEcho(const QString& text, const EchoShape& shape) {
    m_lines << QStringLiteral("echo") + QString(shape.blanksAfterEcho, QLatin1Char(' ')) +
                   shellQuote(text) + QString(shape.blanksBeforeRedirect, QLatin1Char(' ')) +
                   (shape.creates ? QStringLiteral(">") : QStringLiteral(">>")) + m_file;
}

namespace {
constexpr EchoShape kCreating{.blanksAfterEcho = 1, .blanksBeforeRedirect = 1, .creates = true};
constexpr EchoShape kPlain{.blanksAfterEcho = 1, .blanksBeforeRedirect = 1, .creates = false};
constexpr EchoShape kWide{.blanksAfterEcho = 2, .blanksBeforeRedirect = 1, .creates = false};
constexpr EchoShape kClosed{.blanksAfterEcho = 1, .blanksBeforeRedirect = 0, .creates = false};
}  // namespace

void ReportRequest::addHeader() {
    addCreatingLine();
    addSLine();
}

void ReportRequest::addCreatingLine() {
    addEcho(QStringLiteral("L lp"), kCreating);
}

void ReportRequest::addSLine() {
    addEcho(QStringLiteral("S"), kPlain);
}

void ReportRequest::addOption(const QString& letter) {
    addEcho(letter, kWide);
}

void ReportRequest::addItem(const QString& code, const QString& key) {
    addEcho(code + QLatin1Char(' ') + key, kWide);
}

void ReportRequest::addPhoneNumber(const QString& number) {
    addEcho(QStringLiteral("PH-") + number, kWide);
}

void ReportRequest::addAllCalls() {
    addEcho(QStringLiteral("A"), kPlain);
}

void ReportRequest::addDates(const QDate& start, const QDate& end) {
    const QString date = QStringLiteral("MMddyy");
    addEcho(QStringLiteral("DS ") + start.toString(date), kClosed);
    addEcho(QStringLiteral("DE ") + end.toString(date), kClosed);
}

void ReportRequest::addTimes(const QTime& start, const QTime& end) {
    const QString time = QStringLiteral("HHmm");
    addEcho(QStringLiteral("TS ") + start.toString(time), kClosed);
    addEcho(QStringLiteral("TE ") + end.toString(time), kClosed);
}

void ReportRequest::addDateRange(const QDate& start, const QDate& end, const QTime& startTime,
                                 const QTime& endTime) {
    addDates(start, end);
    addTimes(startTime, endTime);
}

void ReportRequest::addInterval(const QString& interval) {
    addEcho(QStringLiteral("I ") + interval, kWide);
}

QString ReportRequest::runCommand(const ReportKind& kind) const {
    return runCommand(kind, kind.mode);
}

QString ReportRequest::runCommand(const ReportKind& kind, const QString& mode) const {
    QString line = QStringLiteral("./") + kind.program;
    for (const QString& word : {mode, m_file})
        if (!word.isEmpty()) line += QLatin1Char(' ') + word;
    return line;
}

}  // namespace quillon
