// The CSV line split, the line split of text files and the Windows-1252 decoding every table
// and answer goes through.
#include "FuzzInput.h"
#include "common/CommonFunctions.h"
#include "platform/TextCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = platform::fromCp1252(fuzzinput::bytes(data, size));
    for (const QString& line : quillon::splitTextLines(text)) quillon::SplitCsvLine(line);
    quillon::SplitCsvLine(text);
    quillon::StripNulls(text);
    platform::toCp1252(text);
    return 0;
}
