#include "reports/selection/fcost.h"

#include "reports/selection/SelectionSetups.h"

namespace quillon {

fcost::fcost(QWidget* parent) : SelectionReportWindow(costSetup(), parent) {
    setObjectName(QStringLiteral("fcost"));
    Form_Load();
}

fcost::~fcost() = default;

}  // namespace quillon
