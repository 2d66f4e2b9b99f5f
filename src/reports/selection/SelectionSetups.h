#pragma once
// The setups of the four selection report windows.
#include "reports/selection/SelectionReportWindow.h"

namespace quillon {

SelectionWindowSetup detailSetup();
// The cost and the unused-station windows are one design with their own names.
SelectionWindowSetup costSetup();
SelectionWindowSetup unusedSetup();
SelectionWindowSetup authSetup();

}  // namespace quillon
