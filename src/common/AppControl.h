#pragma once
// Ending the program from a window (exit, cancelled login, third wrong password, new site).
// Tests see the request instead of a quitting application.
namespace quillon {

// Closes every top-level window and quits the event loop.
void endProgram();
bool programEndRequested();
void resetProgramEnd();

}  // namespace quillon
