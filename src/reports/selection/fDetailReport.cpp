#include "reports/selection/fDetailReport.h"

namespace quillon {

fDetailReport::fDetailReport(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Detail Report"));
}

fDetailReport::~fDetailReport() = default;

}  // namespace quillon
