#pragma once
// The busy (hourglass) pointer on a window while a long step runs, back to what the window
// showed before when the scope ends or release() is called. Guards nest: an inner one gives
// back the busy pointer of the outer one.
#include <QCursor>
#include <QPointer>
#include <QWidget>

namespace quillon {

class BusyPointer {
public:
    // A null window shows nothing, so a caller can make the pointer conditional.
    explicit BusyPointer(QWidget* window);
    ~BusyPointer() { release(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

    // Gives the pointer back now (before a message box, say); the end of the scope then does
    // nothing more.
    void release();

private:
    QPointer<QWidget> m_window;
    bool m_hadOwnCursor = false;
    QCursor m_before;
};

}  // namespace quillon
