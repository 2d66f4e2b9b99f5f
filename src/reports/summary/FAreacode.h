#pragma once
// The area-code report: the calls of the trunk groups the user picks, limited to the area
// codes typed in (or all), sorted by area code or by trunk number.
#include "reports/common/ReportWindow.h"
#include "widgets/ListPair.h"

#include <array>

class QListWidget;

namespace quillon {

class FAreacode : public ReportWindow, public ListPairControls {
    Q_OBJECT
public:
    explicit FAreacode(QWidget* parent = nullptr);
    ~FAreacode() override;

    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QGroupBox* Frame4 = nullptr;
    // The area codes, in the order typed; the same code may stand twice.
    QLineEdit* txtarea = nullptr;
    QPushButton* cmdadd1 = nullptr;
    QPushButton* cmdremove1 = nullptr;
    QListWidget* lstarea = nullptr;
    QCheckBox* chkallarea = nullptr;
    // "All" beside the trunk groups of the list pair, listed as the trunk report lists them.
    QCheckBox* chkall = nullptr;
    // 0 "Sort by Area Code", 1 "Sort By Trunk Number".
    std::array<QRadioButton*, 2> Optsort{};

    void Form_Load();
    void cmdadd1_Click();
    void cmdremove1_Click();
    void chkallarea_Click();
    void txtarea_Change();
    void lstarea_KeyUp(int keyCode);

protected:
    void queueRequest(ReportRequest& request) override;
    std::optional<QString> refusal(const ReportRequest& request) override;
};

}  // namespace quillon
