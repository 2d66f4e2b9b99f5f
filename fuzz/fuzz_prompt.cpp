// The prompt matcher on what a shell sends back: the typed line first, then the received bytes
// in chunks cut where the input has a 0x01 byte (as reads from the socket cut them).
#include "FuzzInput.h"
#include "remote/PromptMatcher.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QList<QByteArray> in = fuzzinput::parts(data, size);
    const QByteArray line = fuzzinput::part(in, 0);
    const QByteArray received = in.size() > 1 ? in.mid(1).join('\0') : QByteArray();

    quillon::PromptMatcher withEcho = quillon::PromptMatcher::forLine(line);
    quillon::PromptMatcher first = quillon::PromptMatcher::withoutEcho();
    for (const QByteArray& chunk : received.split('\x01')) {
        withEcho.add(chunk);
        first.add(chunk);
        withEcho.complete();
        first.complete();
    }
    // Fed in pieces or whole, the same text is complete alike and gives the same reply.
    quillon::PromptMatcher whole = quillon::PromptMatcher::forLine(line);
    whole.add(withEcho.received());
    if (whole.complete() != withEcho.complete()) std::abort();
    if (whole.complete() && whole.reply() != withEcho.reply()) std::abort();
    quillon::decodeServerText(received);
    return 0;
}
