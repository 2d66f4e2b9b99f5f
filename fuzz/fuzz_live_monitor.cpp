// A live monitor's received text: chunks (cut at 0x01) through the state machine from the
// reconnect on, with a small cap so the cutting is reached.
#include "FuzzInput.h"
#include "common/Globals.h"
#include "menu/LiveMonitor.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    quillon::resetGlobals();
    quillon::G().g_CurSite = 0;
    quillon::G().g_SiteTailPbxFile[0] = QStringLiteral("COLL.LOG");
    const QByteArray raw = fuzzinput::bytes(data, size);
    quillon::G().g_Brevia = !raw.isEmpty() && raw[0] == 'B';

    constexpr int kCap = 256;
    quillon::LiveMonitor monitor(quillon::LiveMonitor::Kind::CallLog, kCap);
    monitor.beginReconnect();
    for (const QByteArray& chunk : raw.split('\x01')) {
        const QString text = QString::fromLatin1(chunk);
        if (const auto shown = monitor.receive(text)) quillon::LiveMonitor::forDisplay(*shown);
        const qsizetype drop = quillon::LiveMonitor::excessToDrop(text, 16);
        if (drop < 0 || drop > text.size()) std::abort();
    }
    if (monitor.buffer().size() > 2 * kCap + raw.size()) std::abort();
    return 0;
}
