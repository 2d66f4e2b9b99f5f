#include "reports/selection/fDetailReport.h"

#include "reports/selection/SelectionSetups.h"

namespace quillon {

fDetailReport::fDetailReport(QWidget* parent) : SelectionReportWindow(detailSetup(), parent) {
    setObjectName(QStringLiteral("fDetailReport"));
    Form_Load();
}

fDetailReport::~fDetailReport() = default;

}  // namespace quillon
