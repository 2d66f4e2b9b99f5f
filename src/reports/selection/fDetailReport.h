#pragma once
// The window that requests the detail report: calls by line type, extension, department or
// division.
#include "reports/selection/SelectionReportWindow.h"

namespace quillon {

class fDetailReport : public SelectionReportWindow {
    Q_OBJECT
public:
    explicit fDetailReport(QWidget* parent = nullptr);
    ~fDetailReport() override;
};

}  // namespace quillon
