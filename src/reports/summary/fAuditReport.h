#pragma once
// The audit report: daily or monthly, with or without clearing the audit data. Its program takes
// one code of these choices and leaves sum.rep; it reads no request file. sum.rep is one name
// for every computer that runs the audit on the site.
#include "reports/common/ReportWindow.h"

#include <array>

namespace quillon {

class fAuditReport : public ReportWindow {
    Q_OBJECT
public:
    explicit fAuditReport(QWidget* parent = nullptr);
    ~fAuditReport() override;

    QGroupBox* Frame1 = nullptr;
    // 0 "Daily Audit Report", 1 "Monthly Audit Report".
    std::array<QRadioButton*, 2> Optaudit{};
    QCheckBox* chkclear = nullptr;

    // The code of the choices: 1 or 2, with "c" when clearing is ticked.
    QString auditCode() const;

    void Form_Load();

protected:
    void queueRequest(ReportRequest& request) override;
    std::optional<QString> refusal(const ReportRequest& request) override;
    QString programMode() const override { return auditCode(); }
};

}  // namespace quillon
