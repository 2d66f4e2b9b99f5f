#pragma once
// The change requests by which the table, rate and delete-calls windows change the server's
// tables, as text: the request file's name and the lines that write it, the poll for the
// server's answer file, how that answer is read and what the records may hold. No I/O here;
// the exchange itself is ChangeExchange.
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace quillon {

// The answers that accept a request, compared whole as answerText() reads them.
inline const QString kRecordAddedOK = QStringLiteral("1,Record added OK");
inline const QString kRecordModifyOK = QStringLiteral("1,Record modify OK");
inline const QString kTwoRecordsModifyOK = QStringLiteral("1,Record modify OK\n2,Record modify OK");
inline const QString kCallsDeletedOK = QStringLiteral("1,Calls deleted OK");
// What follows a refused answer in its message, spelled as the system spells it.
inline const QString kRefreshingData = QStringLiteral("Refeshing Data");

// <computer name>_<MMddyyHHmmss>.todo for the moment of saving. A name is never given twice:
// a second request within the same second (or after the clock went back) takes the second
// after the last one named.
class RequestNamer {
public:
    QString next(const QString& computerName, const QDateTime& now);

private:
    QDateTime m_last;
};

// The next request name of this run, by the program's clock.
QString nextRequestName(const QString& computerName);

// The answer file of a request: its name less ".todo", then ".done".
QString answerFileName(const QString& requestName);

// The hidden name a request is written under before it is published: .<request>.tmp. A server
// that takes up every *.todo the moment it appears never sees a request half written.
QString unpublishedName(const QString& requestName);
// The line that writes one record of a request under its unpublished name: echo '<record>' >
// .<request>.tmp for the first record, >> for the others. The record stands in single quotes
// (a ' as '\''), so the file gets it byte for byte, blanks and all, and nothing in it reaches
// the shell.
QString recordLine(const QString& record, const QString& requestName, bool first);
// rm -f <answer>: an answer of the same name left from before (the clock set back) would be
// read as this request's.
QString staleAnswerLine(const QString& requestName);
// mv -f .<request>.tmp <request>: the request appears whole, in one step.
QString publishLine(const QString& requestName);
// Every line of a request, in order: the records, the stale answer's removal, the publishing.
QStringList requestLines(const QStringList& records, const QString& requestName);
// "ls <answer>", the poll.
QString answerPollLine(const QString& answerName);
// echo ">>reload_<word> — its quote left open, as the server expects; the shell answers with
// its continuation prompt.
QString reloadLine(const QString& word);

// Whether the reply to the poll (the text after the line's own echo) lists the answer file:
// a line of it is the name, and it holds no "No such file".
bool answerListed(const QString& reply, const QString& answerName);

// The answer as the server wrote it: its lines (LF, CR LF or CR CR LF) joined by LF, without
// a leading byte-order mark and without the run of CR and LF that ends the file. Empty for a
// file that holds nothing else: a server that creates its answer file before it writes it.
QString answerText(const QByteArray& fileBytes);

// How long a form waits for the answer: [Sites] AnswerTimeout seconds, 10 minutes by default.
inline constexpr int kDefaultAnswerTimeoutSec = 10 * 60;
int answerTimeoutSec();

// Checks of the values a record carries, naming the field (its label) in the message; empty
// when the value may go into a record. A name may hold anything but a comma, a double quote, a
// backslash, control characters and characters without a Windows-1252 code; a key only digits;
// an amount [+-]digits[.digits][e[+-]digits].
QString nameProblem(const QString& field, const QString& text);
QString keyProblem(const QString& field, const QString& text);
QString amountProblem(const QString& field, const QString& text);

}  // namespace quillon
