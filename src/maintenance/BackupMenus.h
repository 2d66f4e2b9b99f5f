#pragma once
// The backup menu (make, restore, manage) and the manage-backups menu (delete, bring back).
// While a window that lists the backups loads, the menu shows a running "Retrieving Backups
// List" text in place of its buttons.
#include <QDialog>

class QGroupBox;
class QLabel;
class QPushButton;
class QTimer;

namespace quillon {

class ProgressLabel;
class WaitPanel;

class Fbackuprestore : public QDialog {
    Q_OBJECT
public:
    explicit Fbackuprestore(QWidget* parent = nullptr);

    QGroupBox* Frame1 = nullptr;
    QPushButton* cmdbackup = nullptr;
    QPushButton* cmdrestore = nullptr;
    QPushButton* cmdmaintance = nullptr;
    QLabel* lblbackupcalls = nullptr;
    QLabel* lblrestorecalls = nullptr;
    QLabel* lblmanagebackups = nullptr;
    WaitPanel* waitpanel = nullptr;  // lblrunning and its dots, tmrreport
    ProgressLabel* lblrunning = nullptr;
    QTimer* tmrreport = nullptr;

    void cmdbackup_Click();
    void cmdrestore_Click();
    void cmdmaintance_Click();
    // The three buttons on or off (the backup window's unload switches them on).
    void setButtonsEnabled(bool on);

private:
    void setButtonsShown(bool shown);
};

class fmanagebackups : public QDialog {
    Q_OBJECT
public:
    explicit fmanagebackups(QWidget* parent = nullptr);

    QGroupBox* Frame1 = nullptr;
    QPushButton* cmddeletebackups = nullptr;
    QPushButton* cmdpullbackbackups = nullptr;
    QLabel* Label1 = nullptr;  // "Pull Back Backups"
    QLabel* Label2 = nullptr;  // "Delete Backups"
    WaitPanel* waitpanel = nullptr;  // lblrunning and its dots, tmrreport
    ProgressLabel* lblrunning = nullptr;
    QTimer* tmrreport = nullptr;

    void cmddeletebackups_Click();
    void cmdpullbackbackups_Click();

    // The opened window has its list (or has given up): the running text stops and the
    // buttons show again, still off until that window closes.
    void listLoaded();
    // After a deletion or a download: both buttons on.
    void enableButtons();

private:
    void openList(const QString& window);
    void setButtons(bool shown, bool enabled);
};

}  // namespace quillon
