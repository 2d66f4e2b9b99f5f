#pragma once
// Work that must not start again while it runs. Its waits serve events (a local event loop
// while the server answers), so a second click, a timer tick or a nested loop can call the
// same handler again before the first call has returned; the guard refuses that second entry.
//
//     const ReentryGuard::Entry entry = m_running.enter();
//     if (!entry) return;  // already running
//
// An entry may outlive the object that holds its guard (a window deleted while a handler
// still waits): it leaves nothing behind.
#include <memory>

namespace quillon {

class ReentryGuard {
public:
    class Entry {
    public:
        ~Entry() { leave(); }
        Entry(const Entry&) = delete;
        Entry& operator=(const Entry&) = delete;

        // True when this call holds the guard; false when another call already did.
        explicit operator bool() const { return m_state != nullptr; }
        // Ends the entry before the scope does.
        void leave() {
            if (m_state) *m_state = false;
            m_state.reset();
        }

    private:
        friend class ReentryGuard;
        explicit Entry(std::shared_ptr<bool> state) : m_state(std::move(state)) {
            if (m_state) *m_state = true;
        }
        std::shared_ptr<bool> m_state;
    };

    // Holds the guard for the returned entry's scope, unless a call already holds it.
    [[nodiscard]] Entry enter() { return Entry(*m_running ? nullptr : m_running); }
    bool running() const { return *m_running; }

private:
    std::shared_ptr<bool> m_running = std::make_shared<bool>(false);
};

}  // namespace quillon
