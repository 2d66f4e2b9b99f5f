// The reply to a checked line (`<line>; echo "rc=$?"`): its status and the command's words.
#include "FuzzInput.h"
#include "remote/CheckedLines.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString reply = QString::fromUtf8(fuzzinput::bytes(data, size));
    quillon::exitStatusOf(reply);
    quillon::replyWithoutStatus(reply);
    quillon::outputBeforeStatus(reply);
    quillon::checkedLineProblem(reply);
    return 0;
}
