#include "reports/selection/funusedstations.h"

namespace quillon {

funusedstations::funusedstations(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("UnUsed Station Report"));
}

funusedstations::~funusedstations() = default;

}  // namespace quillon
