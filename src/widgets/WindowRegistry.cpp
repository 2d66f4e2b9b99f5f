#include "widgets/WindowRegistry.h"

#include "common/Messages.h"

#include <QDialog>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QWidget>

namespace quillon {

namespace {

QList<WindowEntry>& table() {
    static QList<WindowEntry> entries;
    return entries;
}

WindowOpenHook& hook() {
    static WindowOpenHook h;
    return h;
}

// Ends the wait for a plain window shown modally once it is hidden or closed.
class HideWatcher : public QObject {
public:
    explicit HideWatcher(QEventLoop* loop) : m_loop(loop) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Hide || event->type() == QEvent::Close) m_loop->quit();
        return false;
    }

private:
    QEventLoop* m_loop;
};

}  // namespace

void runModalWindow(QWidget* window) {
    // The window lives on the heap: whatever happens during its wait, nothing frees it under
    // the caller but Qt's own parent rules, which the pointer below notices.
    QPointer<QWidget> guard(window);
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    if (auto* dialog = qobject_cast<QDialog*>(window)) {
        dialog->exec();
    } else {
        window->setWindowModality(Qt::ApplicationModal);
        QEventLoop loop;
        HideWatcher watcher(&loop);
        window->installEventFilter(&watcher);
        window->show();
        if (window->isVisible()) loop.exec();
        if (guard) window->removeEventFilter(&watcher);
    }
    // Once its wait has returned no code of the window is running: it can go at once.
    delete guard.data();
}

void WindowRegistry::add(WindowEntry entry) {
    for (WindowEntry& e : table()) {
        if (e.window == entry.window) {
            e = std::move(entry);
            return;
        }
    }
    table().append(std::move(entry));
}

const WindowEntry* WindowRegistry::forButton(const QString& button) {
    if (button.isEmpty()) return nullptr;
    for (const WindowEntry& e : table())
        if (e.button.compare(button, Qt::CaseInsensitive) == 0) return &e;
    return nullptr;
}

const WindowEntry* WindowRegistry::forWindow(const QString& window) {
    for (const WindowEntry& e : table())
        if (e.window == window) return &e;
    return nullptr;
}

QList<WindowEntry> WindowRegistry::entries() {
    return table();
}

void WindowRegistry::remove(const QString& window) {
    table().removeIf([&](const WindowEntry& e) { return e.window == window; });
}

void WindowRegistry::clear() {
    table().clear();
}

void setWindowOpenHook(WindowOpenHook h) {
    hook() = std::move(h);
}

QWidget* createWindow(const QString& window, QWidget* parent, const QVariant& argument) {
    const WindowEntry* entry = WindowRegistry::forWindow(window);
    if (hook()) {
        if (entry) hook()(window);
        return nullptr;
    }
    return entry ? entry->create(parent, argument) : nullptr;
}

bool openWindow(const QString& window, QWidget* parent, const QVariant& argument) {
    if (!WindowRegistry::forWindow(window)) return false;
    QWidget* w = createWindow(window, parent, argument);
    if (w) runModalWindow(w);
    return true;
}

bool openWindowOrTell(const QString& window, QWidget* parent, const QVariant& argument) {
    if (openWindow(window, parent, argument)) return true;
    tell(QStringLiteral("The window %1 is not part of this program.").arg(window),
         platform::Icon::Critical);
    return false;
}

}  // namespace quillon
