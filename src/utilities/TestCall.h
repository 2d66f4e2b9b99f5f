#pragma once
// The test call as text: the record handed to the server's test-call program, the lines that
// write it and start the program, and the checks that keep the unquoted record to its fields.
#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>

namespace quillon {

struct TestCall {
    QString extension;  // the picked extension's key, "000#"
    QString typeText;   // the call-type box's text: "LOCAL", "LONG DISTANCE", ...
    QDate date;
    QTime time;
    QString duration;  // whole minutes
    QString charge;    // "1.00"
    QString number;    // the dialled number
};

// The call types as the box offers them, first to last.
QStringList testCallTypes();
// "L", "B", "A" or "F" for the type's exact text; "" for any other.
QString testCallTypeLetter(const QString& typeText);

// <extension>,<letter>,<MMddyy>,<HHmm>,<duration>,<charge>,<number>
QString testCallRecord(const TestCall& call);

// The first field that may not go into the record, as a message; empty when all may. The record
// stands unquoted in its echo line, so each field admits only what it may hold: digits (the
// charge its point too), the type a letter or nothing.
QString testCallProblem(const TestCall& call);

// <computer name>_HOBIC.TMP
QString testCallFileName(const QString& computerName);
// echo <record>><file>, then the program's line (it begins with a blank).
QStringList testCallLines(const TestCall& call, const QString& fileName);

}  // namespace quillon
