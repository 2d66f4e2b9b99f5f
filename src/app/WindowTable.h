#pragma once
// Every window of the program, entered in the window registry (widgets/WindowRegistry.h):
// the menu buttons' windows and those other windows open by name.
namespace quillon {

// Enters them all; calling it again changes nothing.
void registerWindows();

}  // namespace quillon
