#pragma once
// The statistics report: one of five call rankings or thresholds, for one line type or all,
// over a date range or an interval.
#include "reports/common/ReportWindow.h"

class QComboBox;

namespace quillon {

class KeyedPickList;

class fstatsreport : public ReportWindow {
    Q_OBJECT
public:
    explicit fstatsreport(QWidget* parent = nullptr);
    ~fstatsreport() override;

    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    // The kind of statistics; pick-only, so a kind is always one of the five.
    QComboBox* cboReportType = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* txtValue = nullptr;
    // cboDivision ("0000 ALL" and "000# name" of lt.csv) and its twin of keys,
    // cboDivisionhidden.
    KeyedPickList* lineTypes = nullptr;
    QComboBox* cboDivision = nullptr;
    QComboBox* cboDivisionhidden = nullptr;

    void Form_Load();
    void cboReportType_Click();
    void txtValue_Change();

protected:
    QStringList checksBeforeRun() override;
    void queueRequest(ReportRequest& request) override;
    std::optional<QString> refusal(const ReportRequest& request) override;
};

}  // namespace quillon
