#pragma once
// The main window: site box, menu buttons on tabs, live monitors and status bar. It exists from
// the splash window's load to the end of the run (or log off) and is reached through instance().
// Its controls are its own: other windows reach it through MainWindowPort, tests by object name.
#include "common/SiteContext.h"
#include "widgets/BusyPointer.h"

#include <QMainWindow>
#include <QMap>

#include <optional>

class QComboBox;
class QLabel;
class QMovie;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QTextBrowser;
class QVBoxLayout;

namespace quillon {
class ErrorIndicator;
class MonitorPane;

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

    // Sets the site box's index and runs the site switch, as setting ListIndex does. The site
    // switch runs once for every call and once for every pick of the user (QComboBox::activated,
    // which also fires when the user picks the site already shown): each of them reconnects.
    // A bare setCurrentIndex on the box runs nothing.
    void setListIndex(int index);

    // Drops both monitors without waiting; state and buffer stay as they are.
    void dropMonitors();
    // The two live monitors (call log, PMS).
    MonitorPane& callLogPane() const { return *m_callLog; }
    MonitorPane& pmsPane() const { return *m_pms; }
    // The error indicator and its pulls.
    ErrorIndicator& errorIndicator() const { return *m_errors; }

    // What the start-up windows do to the window (see MainWindowPort).
    void prepareForLogin();
    void showUpdateButton(bool shown);
    QStringList commandButtonNames() const;
    void grantButton(const QString& name);
    void showSiteEditorButton();
    QStringList siteNames() const;
    void setSiteNames(const QStringList& names);
    // Only the list grows: choosing the new site now would connect to it.
    void addSiteName(const QString& name);
    // No site chosen, and no switch.
    void clearSiteChoice();
    void showBackupReportsMode(bool on);
    void setConnectedCaption(const QString& text);
    void setDownloadTip(const QString& text);
    // The status bar's message.
    void showStatus(const QString& text);
    QString statusText() const;

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

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    explicit fMain(QWidget* parent = nullptr);
    ~fMain() override;

    void buildWindow();
    QWidget* buildMainTab(const QList<QPushButton*>& buttons);
    QWidget* buildButtonTab(const QList<QPushButton*>& buttons);
    // The button over its caption label.
    QVBoxLayout* captioned(QPushButton* button) const;
    QPushButton* button(const char* name) const;
    void setButtonShown(QPushButton* button, bool shown);
    // The button and its label shown and enabled, or neither.
    void setButtonUsable(const char* name, bool usable);
    void updateCaption();
    // The error indicator's click: the error window, unless the server is awaited.
    void openErrorWindow();
    // Opens the window the registry holds for the button; `busyFirst` for a window that looks
    // at the server before it shows.
    void openMenuWindow(const QString& button, bool busyFirst);
    // The menu off and the busy pointer on while the program waits for a server.
    void serverWaitChanged(bool waiting);
    // True (and logged) when the program waits for a server: log off, exit and every other
    // operation of the menu are refused then.
    bool refusedWhileWaiting() const;

    // The current site as the site box shows it, for every window that works on it.
    class SiteBox : public SiteContext {
    public:
        explicit SiteBox(const fMain* main) : m_main(main) {}
        int index() const override;
        QString name() const override;

    private:
        const fMain* m_main;
    };

    QComboBox* cboSites = nullptr;
    QLabel* Label33 = nullptr;
    QTabWidget* SSTab1 = nullptr;
    QStatusBar* Status = nullptr;
    QLabel* AniGif1 = nullptr;
    QTextBrowser* WebBrowser1 = nullptr;
    ErrorIndicator* m_errors = nullptr;

    SiteBox m_site{this};
    QList<QPushButton*> m_buttons;
    QMap<const QPushButton*, QLabel*> m_labels;
    QMovie* m_globe = nullptr;
    MonitorPane* m_callLog = nullptr;
    MonitorPane* m_pms = nullptr;
    bool m_unloaded = false;
    std::optional<BusyPointer> m_waitPointer;
};

}  // namespace quillon
