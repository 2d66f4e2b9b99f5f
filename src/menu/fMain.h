#pragma once
// The main window: site box, menu buttons on tabs, live monitors and status bar. It exists from
// the splash window's load to the end of the run (or log off) and is reached through instance(),
// as other windows address its controls by name.
#include <QMainWindow>

class QComboBox;
class QLabel;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QTextEdit;
class QTimer;

namespace quillon {
class LiveTailSession;

class fMain : public QMainWindow {
    Q_OBJECT
public:
    // The one main window, created (loaded, not shown) on first use.
    static fMain* instance();
    static bool isLoaded();
    // Unloads the window (Form_Unload runs) and destroys it.
    static void unloadInstance();

    // Public operations other windows call.
    void disableAllButtons();
    void SetupSystemType();
    // A command button by its name, matched without regard to case; nullptr when none.
    QPushButton* commandButton(const QString& name) const;
    // Report retrieval: fetch g_ReportFileName, let the user name it, open it.
    void executeBatFileForReport(int reportNumber);

    // Controls other windows use.
    QComboBox* cboSites = nullptr;
    QLabel* Label33 = nullptr;
    QLabel* lblsites = nullptr;
    QPushButton* cmdEdit = nullptr;
    QPushButton* cmdDload = nullptr;
    QPushButton* cmduserpasswd = nullptr;
    QTabWidget* SSTab1 = nullptr;
    QPushButton* cmdexitbackup = nullptr;
    QLabel* lblexitbackup = nullptr;
    QPushButton* cmdupdate = nullptr;
    QLabel* lblupdate = nullptr;
    QStatusBar* Status = nullptr;
    LiveTailSession* sshCOLL = nullptr;
    LiveTailSession* sshPMS = nullptr;

    // Event handlers.
    void Form_Load();
    void Form_Unload();
    void cboSites_Click();

private:
    explicit fMain(QWidget* parent = nullptr);
    ~fMain() override;
};

}  // namespace quillon
