#include "reports/selection/fWatchdog.h"

namespace quillon {

fWatchdog::fWatchdog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Watch Dog Report"));
}

fWatchdog::~fWatchdog() = default;

}  // namespace quillon
