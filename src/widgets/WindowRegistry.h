#pragma once
// Which window each menu button opens, and the windows other folders open by name. Each
// feature folder's windows are entered once, by src/app. A menu button without a handler of
// its own looks its window up here when clicked; with none entered it logs so and opens
// nothing, which the main window's tests catch for every button.
#include <QList>
#include <QString>
#include <QVariant>

#include <functional>

class QWidget;

namespace quillon {

struct WindowEntry {
    QString window;  // the window's class name, e.g. "fDetailReport"
    QString button;  // the menu button that opens it ("cmddetail"); empty: opened by name only
    // Makes the window (not shown). `argument` is what the opener passes (the login's site
    // names); most windows take none.
    std::function<QWidget*(QWidget* parent, const QVariant& argument)> create;
};

class WindowRegistry {
public:
    // Enters a window; an entry of the same window name is replaced.
    static void add(WindowEntry entry);
    static const WindowEntry* forButton(const QString& button);  // case-blind
    static const WindowEntry* forWindow(const QString& window);
    static QList<WindowEntry> entries();
    static void remove(const QString& window);
    static void clear();

    // A window class with a (QWidget* parent) constructor.
    template <class W>
    static void add(const QString& window, const QString& button = QString()) {
        add(WindowEntry{window, button, [](QWidget* parent, const QVariant&) -> QWidget* {
                            return new W(parent);
                        }});
    }
};

// Makes the named window, or nullptr when none is entered (or a test took the opening).
QWidget* createWindow(const QString& window, QWidget* parent,
                      const QVariant& argument = QVariant());
// Makes the named window, shows it modally and returns once it is closed; the window is then
// deleted. A QDialog runs exec(); any other window is shown application-modal and waited for
// until it hides. False when no window of that name is entered.
bool openWindow(const QString& window, QWidget* parent, const QVariant& argument = QVariant());
// openWindow, and when no window of that name is entered the user is told so.
bool openWindowOrTell(const QString& window, QWidget* parent,
                      const QVariant& argument = QVariant());
// Shows a window made by the caller modally, as openWindow does, and deletes it afterwards.
void runModalWindow(QWidget* window);

// Tests see which window would open (by its class name) instead of the window: while a hook
// is set, createWindow and openWindow make nothing and call the hook.
using WindowOpenHook = std::function<void(const QString& window)>;
void setWindowOpenHook(WindowOpenHook hook);

}  // namespace quillon
