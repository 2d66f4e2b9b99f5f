#pragma once
// The timers of the windows: a QTimer named as the system names it (tests find it by name and
// call its handler), with the system's interval, owned by the window and not started.
#include <QString>

#include <functional>

class QObject;
class QTimer;

namespace quillon {

enum class TimerShot { Repeating, Single };

// The handler runs on each timeout while `owner` exists.
QTimer* makeTimer(QObject* owner, const QString& name, int intervalMs, TimerShot shot,
                  std::function<void()> handler);

}  // namespace quillon
