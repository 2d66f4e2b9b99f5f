// The user file, the button file and the user list as fetched from the server.
#include "FuzzInput.h"
#include "access/AccessFiles.h"
#include "access/UserAdmin.h"

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
    for (const quillon::ButtonFile::Grant& g : quillon::ButtonFile::grants(content))
        if (g.row < 1 || g.row > 26) std::abort();
    // The user list: only names a user file may have reach the delete window's shell lines.
    for (const QString& name : quillon::parseUserList(content))
        if (!quillon::isValidUserName(name)) std::abort();
    return 0;
}
