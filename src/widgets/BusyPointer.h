#pragma once
// The busy (hourglass) pointer on a window while a long step runs, back to normal when the
// scope ends or release() is called.
#include <QPointer>
#include <QWidget>

namespace quillon {

class BusyPointer {
public:
    explicit BusyPointer(QWidget* w) : m_w(w) {
        if (m_w) m_w->setCursor(Qt::WaitCursor);
    }
    ~BusyPointer() { release(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
    void release() {
        if (m_w) m_w->unsetCursor();
        m_w = nullptr;
    }

private:
    QPointer<QWidget> m_w;
};

}  // namespace quillon
