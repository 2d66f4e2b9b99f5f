#include "menu/fMain.h"

namespace quillon {

void fMain::executeBatFileForReport(int) {}

}  // namespace quillon
