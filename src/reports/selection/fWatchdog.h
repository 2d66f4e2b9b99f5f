#pragma once
// The window that requests the watch-dog report over typed phone numbers. Each site keeps a
// list of saved numbers in KTReports.ini, from which numbers are copied into a run.
#include "reports/common/ReportWindow.h"

class QCheckBox;
class QListWidget;

namespace quillon {

class fWatchdog : public ReportWindow {
    Q_OBJECT
public:
    explicit fWatchdog(QWidget* parent = nullptr);
    ~fWatchdog() override;

    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QListWidget* lstsaved = nullptr;
    QListWidget* lstItem = nullptr;
    QLineEdit* txtitem = nullptr;
    QPushButton* cmdadd = nullptr;
    QPushButton* cmdaddtosave = nullptr;
    QPushButton* cmdAddToSaved = nullptr;
    QPushButton* cmdAddFromSaved = nullptr;
    QPushButton* cmdsave = nullptr;

    // Public operations.
    void cmdadd_Click();
    void cmdremove_Click();
    void cmdsaveremove_Click();
    void lstsaved_DblClick();
    void LoadSavedItems();
    void MoveIntoListFromSaved();
    void MoveIntoSavedFromList();

    // Event handlers.
    void Form_Load();
    void txtitem_Change();
    void txtitem_KeyPress(int keyAscii);
    void cmdaddtosave_Click();
    void cmdAddToSaved_Click() { MoveIntoSavedFromList(); }
    void cmdAddFromSaved_Click() { MoveIntoListFromSaved(); }
    void cmdsave_Click();
    void lstItem_KeyUp(int keyCode);
    void lstsaved_KeyUp(int keyCode);

protected:
    void queueRequest(ReportRequest& request) override;
    std::optional<QString> refusal(const ReportRequest& request) override;

private:
    // Site k of the configuration: the site box's list index + 1.
    int siteNumber() const;
};

}  // namespace quillon
