#include "widgets/WaitGuard.h"

#include "remote/ServerWaits.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QList>
#include <QPointer>
#include <QWidget>

namespace quillon {

namespace {

class WaitGuard : public QObject {
public:
    WaitGuard() {
        connect(&ServerWaits::instance(), &ServerWaits::changed, this, [this](bool waiting) {
            m_open.clear();
            if (!waiting) return;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->isVisible()) m_open << w;
        });
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (m_open.isEmpty() || !watched->isWidgetType()) return false;
        const bool close = event->type() == QEvent::Close;
        const bool escape = event->type() == QEvent::KeyPress &&
                            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
        if (!close && !escape) return false;
        QWidget* window = static_cast<QWidget*>(watched)->window();
        if (close && watched != window) return false;
        for (const QPointer<QWidget>& w : m_open) {
            if (w == window) {
                event->ignore();
                return true;
            }
        }
        return false;
    }

private:
    QList<QPointer<QWidget>> m_open;
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
