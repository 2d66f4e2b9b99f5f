#include "reports/selection/funusedstations.h"

#include "reports/selection/SelectionSetups.h"

namespace quillon {

funusedstations::funusedstations(QWidget* parent) : SelectionReportWindow(unusedSetup(), parent) {
    setObjectName(QStringLiteral("funusedstations"));
    Form_Load();
}

funusedstations::~funusedstations() = default;

}  // namespace quillon
