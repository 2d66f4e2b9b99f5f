#pragma once
// The window that requests the unused-station report by extension, department or division.
#include "reports/selection/SelectionReportWindow.h"

namespace quillon {

class funusedstations : public SelectionReportWindow {
    Q_OBJECT
public:
    explicit funusedstations(QWidget* parent = nullptr);
    ~funusedstations() override;
};

}  // namespace quillon
