#pragma once
// The long-wait Cancel: a button a window shows beside its progress label while a wait on the
// server that may be long runs (a report, a change-request answer, a backup, a restore). A click
// ends the wait at once through the session's cancel(); the waiting call then returns
// kSessionCancelled, the session is closed and the window says the server may still finish.
// The window hands it to the work as its WaitCanceller; the work offers it the session for the
// length of the wait (CancelOffer), and the button is shown exactly that long.
#include "remote/ServerWork.h"

#include <QPushButton>

#include <functional>

namespace quillon {

class LongWaitCancel : public QPushButton, public WaitCanceller {
    Q_OBJECT
public:
    // Hidden until offered; named "cmdcancelwait" unless told otherwise.
    explicit LongWaitCancel(QWidget* parent, const QString& name = QStringLiteral("cmdcancelwait"));

    void offer(std::function<void()> cancel) override;
    void withdraw() override;
    bool isOffered() const { return static_cast<bool>(m_cancel); }

    // The button's click: ends the offered wait (nothing when none is offered).
    void cmdcancelwait_Click();

private:
    std::function<void()> m_cancel;
};

}  // namespace quillon
