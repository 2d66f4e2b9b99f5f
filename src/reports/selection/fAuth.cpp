#include "reports/selection/fAuth.h"

namespace quillon {

fAuth::fAuth(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Authorization Code Report"));
}

fAuth::~fAuth() = default;

}  // namespace quillon
