// KTReports.ini as start-up reads it whole: the switches, the deadlines, the site table (names,
// indices, the refused ones) and the watch-dog numbers, with the defaults written back.
#include "FuzzInput.h"
#include "common/Globals.h"
#include "platform/SystemInfo.h"
#include "startup/Configuration.h"

#include <QFile>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QTemporaryDir& dir = fuzzinput::scratchFolder();
    static const bool ready = [&dir] {
        platform::SystemInfo::setProgramFolder(dir.path());
        return dir.isValid();
    }();
    if (!ready) std::abort();
    {
        QFile f(dir.filePath(QStringLiteral("KTReports.ini")));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
        f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    quillon::resetGlobals();
    const quillon::StartupConfiguration c = quillon::ReadStartupConfiguration();
    if (c.siteNames.size() > quillon::kMaxSites) std::abort();
    for (int i : c.refusedSites)
        if (i < 0 || i >= c.siteNames.size()) std::abort();
    return 0;
}
