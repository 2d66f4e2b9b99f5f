#pragma once
// The splash window: the program's entry. It checks that KTReports.ini is there, shows the
// edition and the version, fills the button catalogue and loads the main window with every menu
// button off; three seconds later it reads the configuration and hands the site list over to
// the login window, or to the site editor when exactly one site is configured.
#include <QStringList>
#include <QWidget>

class QCloseEvent;
class QComboBox;
class QLabel;
class QMovie;
class QTimer;

namespace quillon {

class frmSplash : public QWidget {
    Q_OBJECT
public:
    // Runs Form_Load. The window deletes itself when it is closed.
    explicit frmSplash(QWidget* parent = nullptr);
    ~frmSplash() override;

    QLabel* lblProductName = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblWarning = nullptr;
    QLabel* AniGif1 = nullptr;
    QComboBox* SiteList = nullptr;  // hidden: the site names in configuration order
    QTimer* tmrSplash = nullptr;

    // The window the site list went to (the login window or the site editor); nullptr before
    // the hand-over, or when that window is not part of this build.
    QWidget* handedOverTo() const { return m_next; }
    // True once the start-up stopped for a missing KTReports.ini.
    bool startupStopped() const { return m_stopped; }

    // Event handlers.
    void Form_Load();
    void tmrSplash_Timer();
    void Form_Unload();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void handOver();

    QMovie* m_globe = nullptr;
    QWidget* m_next = nullptr;
    QComboBox* m_nextSites = nullptr;  // the next window's cboSites
    bool m_stopped = false;
    bool m_handedOver = false;
};

}  // namespace quillon
