#pragma once
// The connecting window, shown modally by the main window for every site choice: it empties the
// site's local table folder, has the server write its tables (./do_csv.sh), pulls them into the
// table mirror and reconnects the two live monitors, while a row of dots shows it is working.
#include "common/ReentryGuard.h"
#include "widgets/ProgressLabel.h"
#include "widgets/WaitPanel.h"

#include <QDialog>
#include <QString>

class QTimer;

namespace quillon {

class fgetdata : public QDialog {
    Q_OBJECT
public:
    // Runs Form_Load for the site shown in the main window's cboSites (index g_CurSite).
    explicit fgetdata(QWidget* parent = nullptr);
    ~fgetdata() override;

    WaitPanel* waitpanel = nullptr;  // lblgetdata, its dots tmrgetdata and the Cancel
    ProgressLabel* lblgetdata = nullptr;
    QTimer* tmrgetdata = nullptr;
    QTimer* tmrNowLoad = nullptr;

    // The site this window connects.
    const QString& siteName() const { return m_site; }
    // True when the site's name cannot name a local folder: nothing is touched and the window
    // closes itself without connecting.
    bool refused() const { return m_refused; }

    // Event handlers.
    void Form_Load();
    void tmrNowLoad_Timer();

    // The deadline of ./do_csv.sh, which writes all 13 tables.
    static constexpr int kDoCsvTimeoutSec = 600;

protected:
    void reject() override;

private:
    // The shell part: connect, cd, ./do_csv.sh, pull; each failure is told.
    void pullTables();
    void reconnectMonitors();
    // Tells a failure, or that the user ended its wait (failureCode kSessionCancelled).
    void tellAndLog(const QString& text, int failureCode = 0);

    QString m_site;
    int m_index = -1;
    bool m_refused = false;
    ReentryGuard m_working;
    bool m_done = false;
};

}  // namespace quillon
