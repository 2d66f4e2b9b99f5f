#pragma once
// The window that requests the account (authorization) code report.
#include <QDialog>

namespace quillon {

class fAuth : public QDialog {
    Q_OBJECT
public:
    explicit fAuth(QWidget* parent = nullptr);
    ~fAuth() override;
};

}  // namespace quillon
