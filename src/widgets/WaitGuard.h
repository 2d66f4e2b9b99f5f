#pragma once
// While the program waits for a server, the windows that were open when the wait began refuse
// to be closed (close box, Escape): the code waiting in them would run on in a window that is
// gone. Windows that open during the wait (a message box) close as usual. One filter for the
// whole program, installed once by main() and by the test main.
namespace quillon {

void installWaitGuard();

}  // namespace quillon
