#pragma once
// The pricing report: the readable text made from the server's call-cost answer (the
// "_CCAL.rep" file that the cost program leaves beside its request).
#include "common/ProgramClock.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

namespace quillon {

// n blanks; empty for n of 0 or less.
QString PadSpaces(int n);

// The answer's last record, split by its layout: 19 fields, or 30 when field 0 is "TIV"; the
// last field keeps the rest of the line. nullopt with *error as PricingReportLines says.
struct CallCostAnswer {
    QStringList fields;
    bool tiv = false;
    // The call it prices: the area code (or "011") and the prefix (or the country code).
    QString areaCode() const { return fields.value(tiv ? 1 : 0); }
    QString prefix() const { return fields.value(tiv ? 2 : 1); }
};
std::optional<CallCostAnswer> readCallCostAnswer(const QByteArray& answer,
                                                 QString* error = nullptr);

// The lines of the pricing report for the raw answer, without line ends. Only the answer's
// last line counts; CR LF, CR and LF all end a line, and empty lines are passed over. nullopt
// with *error when the answer holds no line or its last line has too few fields (19, or 30
// when field 0 is "TIV").
std::optional<QStringList> PricingReportLines(const QByteArray& answer, const QString& ranAt,
                                              QString* error = nullptr);

// How "Report Ran:" shows a time: the short date and time of the default locale.
QString PricingReportStamp(const QDateTime& when);

// Reads the answer at inPath and writes the report to outPath (Windows-1252, CR LF), replacing
// what was there. Returns 0 when the report was written. Otherwise returns 1, writes nothing
// and leaves outPath as it was, with the reason in *error. The input is never deleted; it is
// read whole first, so outPath may be inPath itself.
int WritePricingReport(const QString& inPath, const QString& outPath,
                       const QDateTime& ranAt = programNow(),
                       QString* error = nullptr);

}  // namespace quillon
