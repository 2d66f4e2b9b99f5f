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
    QString tag{};         // DETAIL, COST, ...; empty: the program reads no request file
    QString program{};     // ORV_B1 ...
    int reportNumber = 0;  // the argument of executeBatFileForReport
    // The program's first argument, before the request file's name.
    QString mode = QStringLiteral("2");
    // The report the program leaves when it is not <computer name>_<TAG>.rep ("sum.rep").
    QString reportFile{};

    bool hasRequestFile() const { return !tag.isEmpty(); }
};

// The kinds of the report windows.
namespace reportkinds {
extern const ReportKind detail;
extern const ReportKind cost;
extern const ReportKind watchdog;
extern const ReportKind auth;
extern const ReportKind unused;
extern const ReportKind audit;
extern const ReportKind stats;
extern const ReportKind crono;
extern const ReportKind trunk;
extern const ReportKind area;
extern const ReportKind callCost;
}  // namespace reportkinds

// How an echo line is spaced. The server never sees the blanks, but they are part of the
// system's lines: one or two blanks after "echo", none, one or two before the redirection.
struct EchoShape {
    int blanksAfterEcho = 1;
    int blanksBeforeRedirect = 1;
    // ">" creates (or empties) the file; otherwise ">>" appends to it.
    bool creates = false;
};

class ReportRequest {
public:
    // The request and report file names of a kind for this computer; no request file name for
    // a kind without one.
    static QString paramFileName(const QString& computerName, const ReportKind& kind);
    static QString reportFileName(const QString& computerName, const ReportKind& kind);

    explicit ReportRequest(QString paramFileName) : m_file(std::move(paramFileName)) {}

    const QString& paramFileName() const { return m_file; }

    // One line of the request file: "echo", the blanks, the quoted text, the blanks, the
    // redirection and the file's name.
    void addEcho(const QString& text, const EchoShape& shape);

    // The lines every request window writes, each in its own shape:
    // the first two lines, "L lp" (creating the file) and "S";
    void addHeader();
    // the same two one by one, for a request with lines between them (the statistics report);
    void addCreatingLine();
    void addSLine();
    // an option letter such as O, Z or G8, also the N lines of the account-code report;
    void addOption(const QString& letter);
    // item code, one blank, key;
    void addItem(const QString& code, const QString& key);
    // a watch-dog number: "PH-" directly followed by the number;
    void addPhoneNumber(const QString& number);
    // "A": all calls in the system;
    void addAllCalls();
    // DS and DE with the dates as MMddyy, TS and TE with the times as HHmm;
    void addDates(const QDate& start, const QDate& end);
    void addTimes(const QTime& start, const QTime& end);
    void addDateRange(const QDate& start, const QDate& end, const QTime& startTime,
                      const QTime& endTime);
    // "I" and the interval as typed.
    void addInterval(const QString& interval);

    // "./<program> <mode> " followed by the request file's name; without the request file's
    // name for a kind that has none (and without the mode when it is empty).
    QString runCommand(const ReportKind& kind) const;
    // The same with a mode of the window's choosing (the audit code).
    QString runCommand(const ReportKind& kind, const QString& mode) const;

    const QStringList& lines() const { return m_lines; }
    void clear() { m_lines.clear(); }

private:
    QString m_file;
    QStringList m_lines;
};

}  // namespace quillon
