// The change-request answer: the answer file as fetched, and the reply to the poll that looks
// for it (the answer's name first, then the reply).
#include "FuzzInput.h"
#include "changes/ChangeRequest.h"
#include "platform/TextCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray raw = fuzzinput::bytes(data, size);
    quillon::answerText(raw);
    const QList<QByteArray> in = fuzzinput::parts(data, size);
    // Decoded as the program decodes what the server's shell writes (Windows-1252).
    const QString name = platform::fromCp1252(fuzzinput::part(in, 0));
    quillon::answerListed(platform::fromCp1252(fuzzinput::part(in, 1)), name);
    const QString text = platform::fromCp1252(raw);
    quillon::nameProblem(QStringLiteral("Name"), text);
    quillon::keyProblem(QStringLiteral("Key"), text);
    quillon::amountProblem(QStringLiteral("Amount"), text);
    return 0;
}
