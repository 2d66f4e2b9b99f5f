#include "widgets/LongWaitCancel.h"

namespace quillon {

LongWaitCancel::LongWaitCancel(QWidget* parent, const QString& name)
    : QPushButton(QStringLiteral("Cancel"), parent) {
    setObjectName(name);
    setAutoDefault(false);
    setToolTip(QStringLiteral("Stop waiting for the server"));
    setVisible(false);
    connect(this, &QPushButton::clicked, this, &LongWaitCancel::cmdcancelwait_Click);
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

void LongWaitCancel::cmdcancelwait_Click() {
    if (!m_cancel) return;
    // One click is enough: the wait ends once the session is cut.
    setEnabled(false);
    const std::function<void()> cancel = m_cancel;
    cancel();
}

}  // namespace quillon
