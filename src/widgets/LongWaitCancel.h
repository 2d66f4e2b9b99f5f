#pragma once
// The wait panel's Cancel, the one way a user ends a wait on the server that may be long (a
// report, a change-request answer, a backup, a restore, a listing). It is the only control of
// a waiting window that takes input (widgets/WaitGuard.h), and every window names it
// "cmdcancelwait". A click ends the wait at once through the session's cancel(); the waiting
// call then returns kSessionCancelled, the session is closed, and the window tells
// cancelledWaitText() with the one icon (tellCancelledWait, widgets/WaitPanel.h, the panel the
// button sits in). The window hands it to its work as
// its WaitCanceller (the work offers it the session for the length of the wait, CancelOffer),
// or offers its own cancel for the length of a run (offerWhile); the button is shown exactly
// that long.
#include "remote/ServerWork.h"

#include <QPushButton>

#include <functional>

namespace quillon {

class LongWaitCancel : public QPushButton, public WaitCanceller {
    Q_OBJECT
public:
    // What the button ends: the wait its window offers it (CancelOffer, offer, offerWhile), or
    // any wait of the program that can be ended (ServerWaits::Cancellable), for a window whose
    // work is a few lines or fetches made by a helper that knows no canceller.
    enum class Ends { Offered, AnyWait };
    // Hidden until offered (with AnyWait: while a wait that can be ended runs).
    explicit LongWaitCancel(QWidget* parent, Ends ends = Ends::Offered);

    void offer(std::function<void()> cancel) override;
    void withdraw() override;
    // Offers `cancel` while `busy`, and withdraws it once not.
    void offerWhile(bool busy, std::function<void()> cancel);
    bool isOffered() const { return static_cast<bool>(m_cancel); }

    // The button's click: ends the offered wait (nothing when none is offered).
    void cmdcancelwait_Click();

private:
    std::function<void()> m_cancel;
};

}  // namespace quillon
