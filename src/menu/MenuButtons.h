#pragma once
// The main window's command buttons: which tab, the name, caption and picture, the caption
// label's name and what a click does.
#include <QStyle>

#include <span>

class QLabel;
class QPushButton;

namespace quillon {
class fMain;

enum MenuTab { kMainTab, kReportsTab, kUtilitiesTab, kOptionsTab, kNoTab };

// A picture button with its caption in the label under it.
struct MenuButton {
    MenuTab tab;  // kNoTab: the update button, outside the tabs
    const char* name;
    const char* caption;
    QStyle::StandardPixmap picture;
    const char* label;  // nullptr: called after the button ("lbl" for "cmd")
    // nullptr: the button opens the window the registry holds for it.
    void (fMain::*handler)();
    bool busyFirst;  // the window looks at the server or the print queue before it shows
};

// In the order of their tabs.
std::span<const MenuButton> menuButtons();

// The button and its caption label, named as the row says; no handler connected.
struct MenuButtonWidgets {
    QPushButton* button;
    QLabel* label;
};
MenuButtonWidgets makeMenuButton(const MenuButton& row, const QStyle& style);

}  // namespace quillon
