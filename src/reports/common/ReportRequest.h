#pragma once
// The report request: the shell lines that build <computer name>_<TAG>.TMP on the server, one
// `echo` line per line of the file, and the line that runs the report program on it. Every text
// between the quotes goes through shellQuote(), so for ordinary keys the queued bytes are the
// system's own and a key holding a quote still lands in the file literally.
#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>

namespace quillon {

// What tells one report window's request from another's.
struct ReportKind {
    QString tag;           // DETAIL, COST, WDOG, AUTH, UNUSED
    QString program;       // ORV_B1 ...
    int reportNumber = 0;  // the argument of executeBatFileForReport
};

// The kinds of the selection windows.
namespace reportkinds {
extern const ReportKind detail;
extern const ReportKind cost;
extern const ReportKind watchdog;
extern const ReportKind auth;
extern const ReportKind unused;
}  // namespace reportkinds

class ReportRequest {
public:
    // The request and report file names of a kind for this computer.
    static QString paramFileName(const QString& computerName, const ReportKind& kind);
    static QString reportFileName(const QString& computerName, const ReportKind& kind);

    explicit ReportRequest(QString paramFileName) : m_file(std::move(paramFileName)) {}

    const QString& paramFileName() const { return m_file; }

    // The first two lines: "L lp" (creating the file) and "S".
    void addHeader();
    // An option letter such as O, Z or G8; also the N lines of the account-code report.
    void addOption(const QString& letter);
    // Item code, one blank, key.
    void addItem(const QString& code, const QString& key);
    // A watch-dog number: "PH-" directly followed by the number.
    void addPhoneNumber(const QString& number);
    // "A": all calls in the system.
    void addAllCalls();
    // DS, DE, TS, TE: dates as MMddyy, times as HHmm.
    void addDateRange(const QDate& start, const QDate& end, const QTime& startTime,
                      const QTime& endTime);
    // "I" and the interval as typed.
    void addInterval(const QString& interval);

    // "./<program> 2 " followed by the request file's name.
    QString runCommand(const ReportKind& kind) const;

    const QStringList& lines() const { return m_lines; }
    void clear() { m_lines.clear(); }

private:
    void append(const QString& echoPrefix, const QString& text, const QString& redirect);

    QString m_file;
    QStringList m_lines;
};

}  // namespace quillon
