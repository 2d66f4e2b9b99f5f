#include "common/Globals.h"

namespace quillon {

namespace {
Globals g_globals;
}

Globals& G() { return g_globals; }

void resetGlobals() { g_globals = Globals(); }

}  // namespace quillon
