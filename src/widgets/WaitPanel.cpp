#include "widgets/WaitPanel.h"

#include "common/Messages.h"
#include "remote/ServerWork.h"
#include "widgets/Timers.h"

#include <QHBoxLayout>
#include <QTimer>

namespace quillon {

namespace {

LongWaitCancel* makeCancel(QWidget* parent, WaitPanel::Cancel cancel) {
    switch (cancel) {
        case WaitPanel::Cancel::None:
            return nullptr;
        case WaitPanel::Cancel::Offered:
            return new LongWaitCancel(parent, LongWaitCancel::Ends::Offered);
        case WaitPanel::Cancel::AnyWait:
            return new LongWaitCancel(parent, LongWaitCancel::Ends::AnyWait);
    }
    return nullptr;
}

}  // namespace

WaitPanel::WaitPanel(QWidget* parent, Cancel cancel) : QWidget(parent) {
    setObjectName(QStringLiteral("waitpanel"));
    m_cancel = makeCancel(this, cancel);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    if (m_cancel) layout->addWidget(m_cancel);
}

WaitPanel::WaitPanel(QWidget* parent, const Progress& progress, Cancel cancel) : QWidget(parent) {
    setObjectName(QStringLiteral("waitpanel"));
    m_label = new ProgressLabel(progress.text, progress.mostDots, this);
    m_label->setObjectName(progress.labelName);
    m_label->setVisible(false);
    // Named as the window names its dots timer; the window finds it there.
    m_dots = makeTimer(this, progress.timerName, 1000, TimerShot::Repeating,
                       [this] { dots_Timer(); });
    m_cancel = makeCancel(this, cancel);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_label, 1);
    if (m_cancel) layout->addWidget(m_cancel);
}

void WaitPanel::showRunning(bool on) {
    if (!m_label) return;
    m_label->setVisible(on);
    if (on)
        m_dots->start();
    else
        m_dots->stop();
}

void WaitPanel::dots_Timer() {
    if (m_label) m_label->tick();
}

void tellCancelledWait(const QString& text) {
    tell(text, platform::Icon::Information);
}

bool toldCancelledWait(const QString& work, int failureCode) {
    if (failureCode != kSessionCancelled) return false;
    tellCancelledWait(cancelledWaitText(work));
    return true;
}

bool toldCancelledWait(const QString& work, const ServerFailure& failure) {
    return toldCancelledWait(work, failure.code);
}

}  // namespace quillon
