#pragma once
// The main window as the start-up windows reach it (widgets/MainWindowPort.h).
namespace quillon {

// Installs the port that makes the main window on first use. The program calls it once at
// its start; tests of the start-up windows that look at the main window call it too.
void installMainMenu();

}  // namespace quillon
