#pragma once
// The KeyUp handlers of the windows: a key released on a chosen widget becomes a call with the
// key's code as the system numbers keys (13 Enter, either key; 46 Delete; 32 Space; 0 for any
// other key). The widget still gets the key as usual.
#include <QObject>

#include <functional>

class QWidget;

namespace quillon {

constexpr int kKeyEnter = 13;
constexpr int kKeyDelete = 46;
constexpr int kKeySpace = 32;

// The code of a Qt key for a KeyUp handler.
int keyUpCode(int qtKey);

class KeyUpFilter : public QObject {
public:
    // Watches `widget` (the filter is its child) and calls `handler` on every key release.
    static KeyUpFilter* install(QWidget* widget, std::function<void(int keyCode)> handler);
    // The same for one key only: `handler` runs when that code's key is released.
    static KeyUpFilter* onKey(QWidget* widget, int keyCode, std::function<void()> handler);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    KeyUpFilter(QWidget* widget, std::function<void(int)> handler);
    std::function<void(int)> m_handler;
};

}  // namespace quillon
