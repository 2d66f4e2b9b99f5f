#pragma once
// The one rule for input during a server wait. From the first line a window sends until its
// server work has ended (ServerWaits), every window that existed when the wait began (the
// waiting window and the windows under it) takes no user input: no click, double click, key,
// shortcut, wheel, drop or close (close box, Escape) reaches them, and they show the busy
// pointer. The one exception is the wait's own Cancel (a LongWaitCancel while it is offered).
// Timers, repaints and the progress dots go on. Windows that open during the wait (a message
// box) take input as usual. One filter for the whole program, installed once by main() and by
// the test main; no window writes a guard of its own.
namespace quillon {

void installWaitGuard();

}  // namespace quillon
