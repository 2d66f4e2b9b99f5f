#pragma once
// For tests of windows that open others or reach the main window: the program's window table
// and its main-window port, as main() installs them. Header-only: only test binaries that link
// the whole program include it.
#include "app/WindowTable.h"
#include "menu/MainMenu.h"

namespace testsupport {

inline void useProgramWindows() {
    quillon::registerWindows();
    quillon::installMainMenu();
}

// Every binary that includes this header has them from its start on.
inline const bool kProgramWindowsInstalled = [] {
    useProgramWindows();
    return true;
}();

}  // namespace testsupport
