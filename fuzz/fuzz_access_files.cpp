// The user file and the button file as fetched from the server.
#include "FuzzInput.h"
#include "access/AccessFiles.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray content = fuzzinput::bytes(data, size);
    quillon::readTextLines(content);
    const QString digest = quillon::UserFile::parseDigest(content);
    quillon::UserFile::passwordMatches(QStringLiteral("secret1"), digest);

    const QStringList entries = quillon::ButtonFile::parseEntries(content);
    const QStringList granted = quillon::ButtonFile::grantedNames(entries);
    for (const QString& name : granted)
        if (!quillon::ButtonFile::grants(entries, name)) std::abort();
    for (int row : quillon::ButtonFile::grantedRows(content))
        if (row < 1 || row > 26) std::abort();
    return 0;
}
