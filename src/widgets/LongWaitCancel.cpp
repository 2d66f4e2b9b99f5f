#include "widgets/LongWaitCancel.h"

#include "remote/ServerWaits.h"

#include <utility>

namespace quillon {

LongWaitCancel::LongWaitCancel(QWidget* parent, Ends ends)
    : QPushButton(QStringLiteral("Cancel"), parent) {
    setObjectName(QStringLiteral("cmdcancelwait"));
    setAutoDefault(false);
    setToolTip(QStringLiteral("Stop waiting for the server"));
    // The rest of the window shows the busy pointer while the wait runs.
    setCursor(Qt::ArrowCursor);
    setVisible(false);
    connect(this, &QPushButton::clicked, this, &LongWaitCancel::cmdcancelwait_Click);
    if (ends == Ends::AnyWait)
        connect(&ServerWaits::instance(), &ServerWaits::cancellableChanged, this,
                [this](bool cancellable) {
                    offerWhile(cancellable, [] { ServerWaits::instance().cancelCurrent(); });
                });
}

void LongWaitCancel::offer(std::function<void()> cancel) {
    m_cancel = std::move(cancel);
    setEnabled(true);
    setVisible(true);
}

void LongWaitCancel::withdraw() {
    m_cancel = nullptr;
    setVisible(false);
}

void LongWaitCancel::offerWhile(bool busy, std::function<void()> cancel) {
    if (busy)
        offer(std::move(cancel));
    else
        withdraw();
}

void LongWaitCancel::cmdcancelwait_Click() {
    if (!m_cancel) return;
    // One click is enough: the wait ends once the session is cut.
    setEnabled(false);
    const std::function<void()> cancel = m_cancel;
    cancel();
}

}  // namespace quillon
