// The area-code window's tables read from the mirror (ld.csv, rate.csv, calc.csv: the input's
// parts, cut at NULs), its grid rows and filter, and where each row's rate number leads.
#include "FuzzInput.h"
#include "common/TableMirror.h"
#include "rates/AreaCodes.h"

#include <QFile>

#include <cstdlib>

using namespace quillon;

namespace {
QString written(const QString& name, const QByteArray& bytes) {
    const QString path = fuzzinput::scratchFolder().filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    f.write(bytes);
    return path;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QList<QByteArray> in = fuzzinput::parts(data, size);
    LdTables t;
    QString problem;
    t.ld = readTableRecords(written("ld.csv", fuzzinput::part(in, 0)), LdTables::kLdFields,
                            &problem);
    t.rate = readTableRecords(written("rate.csv", fuzzinput::part(in, 1)),
                              LdTables::kRateFields, &problem);
    t.calc = readTableRecords(written("calc.csv", fuzzinput::part(in, 2)),
                              LdTables::kCalcFields, &problem);
    for (const QStringList& record : t.ld) {
        if (record.size() != LdTables::kLdFields) std::abort();
        const QStringList row = ldGridRow(record);
        if (row.size() != kLdHeaders.size()) std::abort();
        const LdFilter filter{true, record.value(1), true, record.value(2)};
        if (!filter.keeps(record)) std::abort();
        const RateRows rows = rateRows(t, row.value(4));
        if (rows.rate < -1 || rows.rate >= t.rate.size()) std::abort();
        if (rows.calc < -1 || rows.calc >= t.calc.size()) std::abort();
        if (rows.rate < 0 && rows.calc >= 0) std::abort();
        const LdRow ld{record.value(1), record.value(2), record.value(3), record.value(5)};
        ldModifyRecord(ld, ld);
        ldAddRecord(ld);
    }
    return 0;
}
