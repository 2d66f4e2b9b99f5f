#pragma once
// Waiting in tests without sleeping blind: events are served while the condition is polled.
#include <QDeadlineTimer>
#include <QTest>

#include <functional>

namespace testsupport {

// True once done() holds, false when timeoutMs passed first; events are served meanwhile.
inline bool waitFor(const std::function<bool()>& done, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!done() && !deadline.hasExpired()) QTest::qWait(20);
    return done();
}

}  // namespace testsupport
