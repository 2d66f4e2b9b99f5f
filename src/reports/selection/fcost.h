#pragma once
// The window that requests the cost report by extension, department or division.
#include "reports/selection/SelectionReportWindow.h"

namespace quillon {

class fcost : public SelectionReportWindow {
    Q_OBJECT
public:
    explicit fcost(QWidget* parent = nullptr);
    ~fcost() override;
};

}  // namespace quillon
