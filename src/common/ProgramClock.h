#pragma once
// The program's one clock: the wall time that dates request names, report names, saved copies
// and the server's time, and a monotonic count of milliseconds that times the program's own
// waits (the wait for a change answer). The system's clock unless another is installed; tests
// install a SettableClock and move it on instead of sleeping.
#include <QDateTime>
#include <QtGlobal>

namespace quillon {

class ProgramClock {
public:
    virtual ~ProgramClock() = default;
    // The local wall time.
    virtual QDateTime now() const = 0;
    // Milliseconds from a fixed start; never goes back, whatever is done to the wall time.
    virtual qint64 elapsedMs() const = 0;

    // The installed clock; without one, the system's.
    static const ProgramClock& current();
    // Installs a clock (not owned); nullptr gives the system's again. Returns the one it
    // replaces (nullptr for the system's).
    static const ProgramClock* install(const ProgramClock* clock);
};

// The wall time of the program's clock.
QDateTime programNow();

// The time since start() by the program's clock, as a QElapsedTimer counts it.
class ProgramStopwatch {
public:
    void start() { m_start = ProgramClock::current().elapsedMs(); }
    qint64 elapsed() const { return ProgramClock::current().elapsedMs() - m_start; }

private:
    qint64 m_start = 0;
};

// A clock for tests, installed for its lifetime (the clock before it comes back afterwards).
// Its wall time stands at the time given (an invalid one: the system's time) and its
// monotonic count runs with the system's; advance() moves both on.
class SettableClock : public ProgramClock {
public:
    explicit SettableClock(const QDateTime& now = QDateTime());
    ~SettableClock() override;
    SettableClock(const SettableClock&) = delete;
    SettableClock& operator=(const SettableClock&) = delete;

    QDateTime now() const override;
    qint64 elapsedMs() const override;

    // The wall time from now on (an invalid one: the system's); the monotonic count stays.
    void setNow(const QDateTime& now);
    // Moves the wall time and the monotonic count on by `ms`.
    void advance(qint64 ms);

private:
    QDateTime m_now;
    qint64 m_wallAdvancedMs = 0;  // since the wall time was set
    qint64 m_advancedMs = 0;      // of the monotonic count
    const ProgramClock* m_before = nullptr;
};

}  // namespace quillon
