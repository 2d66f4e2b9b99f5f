#pragma once
// The main window: site box, menu buttons on tabs, live monitors and status bar. It exists from
// the splash window's load to the end of the run (or log off) and is reached through instance(),
// as other windows address its controls by name.
#include "common/SiteContext.h"
#include "widgets/BusyPointer.h"

#include <QMainWindow>
#include <QMap>
#include <QStyle>

#include <functional>
#include <memory>
#include <optional>
#include <type_traits>

class QComboBox;
class QEventLoop;
class QFrame;
class QLabel;
class QListWidget;
class QMovie;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QTextBrowser;
class QTextEdit;
class QTimer;

namespace quillon {
class LiveTailSession;
class LiveMonitor;

class fMain : public QMainWindow {
    Q_OBJECT
public:
    // The one main window, created (loaded, not shown) on first use; Form_Load runs then.
    static fMain* instance();
    static bool isLoaded();
    // Unloads the window (Form_Unload runs) and destroys it.
    static void unloadInstance();

    // Public operations other windows call.
    void disableAllButtons();
    void SetupSystemType();
    // A command button by its name, matched without regard to case; nullptr when none.
    QPushButton* commandButton(const QString& name) const;
    // Every command button of the menu, in the order of the tabs.
    QList<QPushButton*> commandButtons() const { return m_buttons; }
    // The caption label under a command button; nullptr when none.
    QLabel* captionLabel(const QPushButton* button) const;
    // The error-file pull of the site selected in cboSites (the argument is not read).
    void geterrorcsvfiles(const QString& site);

    // Sets the site box's index and runs the site switch, as setting ListIndex does. The site
    // switch runs once for every call and once for every pick of the user (QComboBox::activated,
    // which also fires when the user picks the site already shown): each of them reconnects.
    // A bare cboSites->setCurrentIndex() runs nothing.
    void setListIndex(int index);

    // Opens a live monitor afresh on the current site (the connecting window calls these after
    // the table pull): state "RECONNECTING", drop the old session, connect in the background.
    void reconnectCallLog();
    void reconnectPms();
    // Drops both monitors without waiting; state and buffer stay as they are.
    void dropMonitors();

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

    // The rest of the window's controls.
    QFrame* frameOnline = nullptr;
    QTextEdit* txtCOLL = nullptr;
    QTextEdit* txtPMS = nullptr;
    QLabel* callrecordsin = nullptr;   // stamp label of the call-log monitor
    QLabel* callrecordsout = nullptr;  // stamp label of the PMS monitor
    QLabel* lblError = nullptr;
    QFrame* Shape1 = nullptr;
    QLabel* AniGif1 = nullptr;
    QLabel* lblvarnel = nullptr;
    QLabel* lblunused = nullptr;
    QTextBrowser* WebBrowser1 = nullptr;
    QTimer* tmrGetErrors = nullptr;
    // The error indicator's blink, and the error folder's files that count for it (property
    // "Path": the folder).
    QTimer* tmrColorSwap = nullptr;
    QListWidget* filelistErrors = nullptr;

    QPushButton* cmdlogoff = nullptr;
    QPushButton* cmdexit = nullptr;
    QPushButton* cmddetail = nullptr;
    QPushButton* cmdAudit = nullptr;
    QPushButton* cmdcost = nullptr;
    QPushButton* cmdstats = nullptr;
    QPushButton* cmdWatchdog = nullptr;
    QPushButton* cmdcrono = nullptr;
    QPushButton* cmdtrunk = nullptr;
    QPushButton* cmdAreaCode = nullptr;
    QPushButton* cmdauth = nullptr;
    QPushButton* cmdcallcalc = nullptr;
    QPushButton* cmdunusedstations = nullptr;
    QPushButton* cmdmanager = nullptr;
    QPushButton* cmddelprint = nullptr;
    QPushButton* cmdsynch = nullptr;
    QPushButton* cmdbringreport = nullptr;
    QPushButton* cmddelete = nullptr;
    QPushButton* cmdunlock = nullptr;
    QPushButton* cmdtestcall = nullptr;
    QPushButton* cmdbackupmenu = nullptr;
    QPushButton* cmddatabase = nullptr;
    QPushButton* cmdareacodes = nullptr;
    QPushButton* cmdadduser = nullptr;
    QPushButton* cmdmoduser = nullptr;
    QPushButton* cmddeluser = nullptr;
    QPushButton* cmdpasswd = nullptr;

    // The two monitors' state machines (call log, PMS).
    LiveMonitor& callLogMonitor() const { return *m_callLog; }
    LiveMonitor& pmsMonitor() const { return *m_pms; }

    // Event handlers.
    void Form_Load();
    void Form_Unload();

public slots:
    void cboSites_Click();

    void cmdlogoff_Click();
    void cmdDload_Click();
    void cmdexit_Click();
    void cmdexitbackup_Click();
    // Server clock and table unlock.
    void cmdsynch_Click();
    void cmdunlock_Click();
    void cmdupdate_Click();

    // The error-file pull, once a minute while enabled; the indicator's blink and click.
    void tmrGetErrors_Timer();
    void tmrColorSwap_Timer();
    void lblError_Click();

    // The monitors' session events and their boxes' text-change handlers.
    void sshCOLL_Connected(int errorCode, const QString& errorText);
    void sshCOLL_Data(const QString& text);
    void sshPMS_Connected(int errorCode, const QString& errorText);
    void sshPMS_Data(const QString& text);
    // The server ended a connected monitor's session.
    void sshCOLL_Disconnected();
    void sshPMS_Disconnected();
    void txtCOLL_Change();
    void txtPMS_Change();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    explicit fMain(QWidget* parent = nullptr);
    ~fMain() override;

    void buildWindow();
    void buildErrorIndicator();
    QWidget* buildMainTab();
    QWidget* buildButtonTab(const QList<QPushButton*>& buttons);
    QPushButton* addButton(QPushButton*& member, const char* name, const QString& caption,
                           void (fMain::*handler)(), QStyle::StandardPixmap picture,
                           const char* labelName = nullptr);
    void setButtonShown(QPushButton* button, bool shown);
    void updateCaption();
    // Opens the window the registry holds for the button.
    void openMenuWindow(const QString& button);
    // The menu off and the busy pointer on while the program waits for a server.
    void serverWaitChanged(bool waiting);
    // True (and logged) when the program waits for a server: log off, exit and every other
    // operation of the menu are refused then.
    bool refusedWhileWaiting() const;

    void openMonitor(LiveMonitor& monitor, LiveTailSession* session, QTimer* start);
    void monitorConnected(LiveMonitor& monitor, LiveTailSession* session, QTimer* start,
                          int errorCode, const QString& errorText);
    // The start lines' deadline passed: a monitor still waiting for the tail's echo is closed.
    void monitorStartOverdue(LiveMonitor& monitor, LiveTailSession* session, QTimer* start);
    void monitorLost(LiveMonitor& monitor, QTimer* start);
    void monitorData(LiveMonitor& monitor, QTextEdit* box, const QString& text);
    void monitorChanged(LiveMonitor& monitor, QTextEdit* box, QLabel* stamp);

    // The current site as the site box shows it, for every window that works on it.
    class SiteBox : public SiteContext {
    public:
        explicit SiteBox(const fMain* main) : m_main(main) {}
        int index() const override;
        QString name() const override;

    private:
        const fMain* m_main;
    };

    SiteBox m_site{this};
    QList<QPushButton*> m_buttons;
    QMap<const QPushButton*, QLabel*> m_labels;
    QMovie* m_globe = nullptr;
    std::unique_ptr<LiveMonitor> m_callLog;
    std::unique_ptr<LiveMonitor> m_pms;
    // From the start lines to the echo of the tail command, one per monitor.
    QTimer* m_callLogStart = nullptr;
    QTimer* m_pmsStart = nullptr;
    bool m_unloaded = false;
    bool m_errorClickWaits = false;  // the indicator was clicked while a pull ran
    std::optional<BusyPointer> m_waitPointer;
};

}  // namespace quillon
