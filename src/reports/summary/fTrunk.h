#pragma once
// The trunk report: one of four kinds over the trunk groups the user picks, optionally by
// hourly interval.
#include "reports/common/ReportWindow.h"
#include "widgets/ListPair.h"

#include <array>

class QComboBox;
class QListWidget;

namespace quillon {

class fTrunk : public ReportWindow, public ListPairControls {
    Q_OBJECT
public:
    explicit fTrunk(QWidget* parent = nullptr);
    ~fTrunk() override;

    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    std::array<QRadioButton*, 4> Optreporttype{};
    // The hour interval, "1" to "24"; pick-only, so only those reach the request.
    QComboBox* Combotime = nullptr;
    QLabel* Label1 = nullptr;
    // "All" beside the trunk groups of the list pair.
    QCheckBox* chkall = nullptr;

    // The kind in force, -1 before the first.
    int reportType = -1;

    void Form_Load();
    void Optreporttype_Click(int index);
    void resetitemlist();

protected:
    void queueRequest(ReportRequest& request) override;
    std::optional<QString> refusal(const ReportRequest& request) override;
};

}  // namespace quillon
