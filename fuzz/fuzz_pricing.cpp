// The call-cost answer (the cost program's report file) made into the pricing report's lines.
#include "FuzzInput.h"
#include "rates/PricingReport.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QString error;
    const auto lines = quillon::PricingReportLines(fuzzinput::bytes(data, size),
                                                   QStringLiteral("12/9/26 2:30 PM"), &error);
    // Either lines or a reason, never neither.
    if (!lines && error.isEmpty()) std::abort();
    return 0;
}
