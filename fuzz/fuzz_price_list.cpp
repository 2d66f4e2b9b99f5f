// The price lists built from the mirror's rate, calc and country-code tables (the input's
// parts, cut at NULs; a part that is not there is a table that is missing), and the change
// records a modify form makes from each line as shown.
#include "FuzzInput.h"
#include "prices/PriceList.h"

#include <cstdlib>

using namespace quillon;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QList<QByteArray> in = fuzzinput::parts(data, size);
    PriceTables tables;
    QByteArray* const each[] = {&tables.rate, &tables.calc, &tables.cc};
    for (int i = 0; i < 3; ++i)
        if (i < in.size()) *each[i] = in[i].isNull() ? QByteArray("") : in[i];
    for (const PriceListKind kind : {PriceListKind::Domestic, PriceListKind::International}) {
        for (const PriceSet set : {PriceSet::Guest, PriceSet::Admin}) {
            const PriceList list = buildPriceList(kind, set, tables);
            if (list.headers.size() != kPriceColumns) std::abort();
            for (const PriceLine& line : list.lines) {
                if (line.cells.size() != kPriceColumns) std::abort();
                // Each line keeps whole stored rows behind it: a modify form sends them back.
                if (line.rateFields.size() < kRateFields || line.calcFields.size() < kCalcFields)
                    std::abort();
                const QStringList records = priceChangeRecords(line, shownPrices(line));
                if (records.size() != 2) std::abort();
                differingHalves(line);
            }
        }
    }
    return 0;
}
