#include "widgets/KeyUpFilter.h"

#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

namespace quillon {

int keyUpCode(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return kKeyEnter;
        case Qt::Key_Delete:
            return kKeyDelete;
        case Qt::Key_Space:
            return kKeySpace;
        default:
            return 0;
    }
}

KeyUpFilter::KeyUpFilter(QWidget* widget, std::function<void(int)> handler)
    : QObject(widget), m_handler(std::move(handler)) {
    widget->installEventFilter(this);
}

KeyUpFilter* KeyUpFilter::install(QWidget* widget, std::function<void(int keyCode)> handler) {
    return new KeyUpFilter(widget, std::move(handler));
}

KeyUpFilter* KeyUpFilter::onKey(QWidget* widget, int keyCode, std::function<void()> handler) {
    return install(widget, [keyCode, handler = std::move(handler)](int code) {
        if (code == keyCode) handler();
    });
}

bool KeyUpFilter::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parent() && event->type() == QEvent::KeyRelease)
        m_handler(keyUpCode(static_cast<QKeyEvent*>(event)->key()));
    return false;
}

}  // namespace quillon
