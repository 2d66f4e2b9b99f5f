#pragma once
// The chronological report: the calls of a date range or an interval, printed on the server or
// not.
#include "reports/common/ReportWindow.h"

namespace quillon {

class fcrono : public ReportWindow {
    Q_OBJECT
public:
    explicit fcrono(QWidget* parent = nullptr);
    ~fcrono() override;

    QGroupBox* Frame1 = nullptr;

    void Form_Load();

protected:
    void queueRequest(ReportRequest& request) override;
    std::optional<QString> refusal(const ReportRequest& request) override;
};

}  // namespace quillon
