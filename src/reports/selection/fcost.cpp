#include "reports/selection/fcost.h"

namespace quillon {

fcost::fcost(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Cost Report"));
}

fcost::~fcost() = default;

}  // namespace quillon
