#pragma once
// Ending the program from a window (exit, cancelled login, third wrong password, new site).
// Tests see the request instead of a quitting application.
namespace quillon {

// Closes every top-level window and, when the program's main loop runs, quits it.
void endProgram();
bool programEndRequested();
void resetProgramEnd();

// main() says when its event loop runs. Without it endProgram() must not call exit(): Qt
// would remember the request and end every later local event loop at once.
void setMainLoopRunning(bool running);

}  // namespace quillon
