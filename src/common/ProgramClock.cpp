#include "common/ProgramClock.h"

#include <QElapsedTimer>

#include <atomic>

namespace quillon {

namespace {

class SystemClock : public ProgramClock {
public:
    SystemClock() { m_started.start(); }
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    qint64 elapsedMs() const override { return m_started.elapsed(); }

private:
    QElapsedTimer m_started;
};

const SystemClock& systemClock() {
    static const SystemClock clock;
    return clock;
}

// Any thread may ask for the time.
std::atomic<const ProgramClock*> g_clock{nullptr};

}  // namespace

const ProgramClock& ProgramClock::current() {
    const ProgramClock* clock = g_clock.load();
    return clock ? *clock : systemClock();
}

const ProgramClock* ProgramClock::install(const ProgramClock* clock) {
    return g_clock.exchange(clock);
}

QDateTime programNow() {
    return ProgramClock::current().now();
}

SettableClock::SettableClock(const QDateTime& now) : m_now(now) {
    m_before = install(this);
}

SettableClock::~SettableClock() {
    install(m_before);
}

QDateTime SettableClock::now() const {
    return (m_now.isValid() ? m_now : systemClock().now()).addMSecs(m_wallAdvancedMs);
}

qint64 SettableClock::elapsedMs() const {
    return systemClock().elapsedMs() + m_advancedMs;
}

void SettableClock::setNow(const QDateTime& now) {
    m_now = now;
    m_wallAdvancedMs = 0;
}

void SettableClock::advance(qint64 ms) {
    m_wallAdvancedMs += ms;
    m_advancedMs += ms;
}

}  // namespace quillon
