#pragma once
// The window that requests the detail report: calls by line type, extension, department or
// division.
#include <QDialog>

namespace quillon {

class fDetailReport : public QDialog {
    Q_OBJECT
public:
    explicit fDetailReport(QWidget* parent = nullptr);
    ~fDetailReport() override;
};

}  // namespace quillon
