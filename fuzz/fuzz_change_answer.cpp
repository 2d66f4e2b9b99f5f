// The change-request answer: the answer file as fetched, and the reply to the poll that looks
// for it (the answer's name first, then the reply).
#include "FuzzInput.h"
#include "changes/ChangeRequest.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray raw = fuzzinput::bytes(data, size);
    quillon::answerText(raw);
    const QList<QByteArray> in = fuzzinput::parts(data, size);
    const QString name = QString::fromLatin1(fuzzinput::part(in, 0));
    quillon::answerListed(QString::fromLatin1(fuzzinput::part(in, 1)), name);
    quillon::nameProblem(QStringLiteral("Name"), QString::fromLatin1(raw));
    quillon::keyProblem(QStringLiteral("Key"), QString::fromLatin1(raw));
    quillon::amountProblem(QStringLiteral("Amount"), QString::fromLatin1(raw));
    return 0;
}
