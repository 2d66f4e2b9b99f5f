#include "widgets/WaitGuard.h"

#include "remote/ServerWaits.h"
#include "widgets/LongWaitCancel.h"

#include <QApplication>
#include <QEvent>
#include <QList>
#include <QPointer>
#include <QWidget>

#include <utility>

namespace quillon {

namespace {

// The events a user makes; every other event (timers, paints, layout, show) passes.
bool isUserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::InputMethod:
        case QEvent::ContextMenu:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletMove:
        case QEvent::TabletRelease:
        case QEvent::Close:
            return true;
        default:
            return false;
    }
}

class WaitGuard : public QObject {
public:
    WaitGuard() {
        connect(&ServerWaits::instance(), &ServerWaits::changed, this,
                [this](bool waiting) { waiting ? begin() : end(); });
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (m_open.isEmpty() || !watched->isWidgetType() || !isUserInput(event->type()))
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        // The wait's Cancel is the one control that stays live.
        if (auto* cancel = qobject_cast<LongWaitCancel*>(widget);
            cancel && cancel->isOffered() && event->type() != QEvent::Close)
            return false;
        QWidget* window = widget->window();
        // A control closed by code is no window being closed.
        if (event->type() == QEvent::Close && widget != window) return false;
        for (const QPointer<QWidget>& held : m_open) {
            if (held == window) {
                event->ignore();
                return true;
            }
        }
        return false;
    }

private:
    void begin() {
        end();
        for (QWidget* w : QApplication::topLevelWidgets()) m_open << w;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_cursor = true;
    }

    void end() {
        m_open.clear();
        if (std::exchange(m_cursor, false)) QApplication::restoreOverrideCursor();
    }

    QList<QPointer<QWidget>> m_open;
    bool m_cursor = false;
};

}  // namespace

void installWaitGuard() {
    static QPointer<WaitGuard> guard;
    if (guard || !qApp) return;
    guard = new WaitGuard;
    guard->setParent(qApp);
    qApp->installEventFilter(guard);
}

}  // namespace quillon
