#include "widgets/Timers.h"

#include <QTimer>

namespace quillon {

QTimer* makeTimer(QObject* owner, const QString& name, int intervalMs, TimerShot shot,
                  std::function<void()> handler) {
    auto* timer = new QTimer(owner);
    timer->setObjectName(name);
    timer->setInterval(intervalMs);
    timer->setSingleShot(shot == TimerShot::Single);
    QObject::connect(timer, &QTimer::timeout, owner, std::move(handler));
    return timer;
}

}  // namespace quillon
