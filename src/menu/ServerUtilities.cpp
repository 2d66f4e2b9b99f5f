// The server clock and table-unlock utilities of the main window.
#include "menu/fMain.h"

namespace quillon {

void fMain::cmdsynch_Click() {}

void fMain::cmdunlock_Click() {}

}  // namespace quillon
