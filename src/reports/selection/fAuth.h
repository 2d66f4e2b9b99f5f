#pragma once
// The window that requests the account (authorization) code report: the detail window's design
// on the account codes as the table holds them, with the choice of calls with or without codes.
#include "reports/selection/SelectionReportWindow.h"

namespace quillon {

class fAuth : public SelectionReportWindow {
    Q_OBJECT
public:
    explicit fAuth(QWidget* parent = nullptr);
    ~fAuth() override;

    // 0 "Calls with Auth codes only", 1 "Calls without Auth codes only", 2 both.
    std::array<QRadioButton*, 3> optauthtype{};

protected:
    QString lineAfterDatePart() const override;
};

}  // namespace quillon
