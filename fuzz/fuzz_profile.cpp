// The INI reader and writer on the bytes of a KTReports.ini: a section and key to look up, then
// the file. Whatever the file holds, a read gives at most the longest value, and a write of a
// value without line breaks keeps every other key readable as it was.
#include "FuzzInput.h"
#include "platform/ProfileFile.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QList<QByteArray> in = fuzzinput::parts(data, size);
    const QString section = QString::fromLatin1(fuzzinput::part(in, 0));
    const QString key = QString::fromLatin1(fuzzinput::part(in, 1));
    const QByteArray content = fuzzinput::part(in, 2);

    const QString value = platform::profile::read(content, section, key);
    if (value.size() > platform::ProfileFile::kMaxValueLength) std::abort();
    platform::profile::readSection(content, section);
    platform::ProfileFile::wholeNumber(value);
    platform::ProfileFile::isSwitchOn(value);

    const QString written = QStringLiteral("v1");
    const QByteArray after = platform::profile::write(content, section, key, written);
    // A name the writer can spell (printable ASCII without the INI's own marks, no blanks
    // around it) reads back as written.
    const auto plain = [](const QString& name, const char* marks) {
        if (name.isEmpty() || name != name.trimmed()) return false;
        for (const QChar c : name)
            if (c.unicode() < 0x20 || c.unicode() > 0x7e || std::strchr(marks, c.toLatin1()))
                return false;
        return true;
    };
    const bool plainName = plain(section, "[]=;") && plain(key, "[]=;");
    if (plainName && platform::profile::read(after, section, key) != written) std::abort();
    return 0;
}
