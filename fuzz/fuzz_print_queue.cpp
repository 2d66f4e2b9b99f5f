// The server's lpq listing as the print-queue window reads it.
#include "FuzzInput.h"
#include "platform/TextCodec.h"
#include "utilities/PrintQueue.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString listing = platform::fromCp1252(fuzzinput::bytes(data, size));
    for (const quillon::SelectionEntry& job : quillon::parsePrintQueue(listing)) {
        // Every listed job can be removed, and by its number alone.
        const QString removal = quillon::printRemovalLine(job.key);
        if (removal != QStringLiteral("sudo lprm ") + job.key) std::abort();
        if (job.text.size() > 26) std::abort();
    }
    return 0;
}
