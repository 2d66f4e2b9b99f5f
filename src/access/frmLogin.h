#pragma once
// The login window between start-up and the main window: the user picks a site, types a name
// and a password; a good login turns on the user's granted menu buttons and hands the site list
// over to the main window, which then connects the chosen site.
#include "common/ReentryGuard.h"

#include <QDialog>
#include <QStringList>

class QCloseEvent;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace quillon {

class frmLogin : public QDialog {
    Q_OBJECT
public:
    // Runs Form_Load: the caption by g_Express, and the site names into cboSites in order.
    // The window deletes itself when it is unloaded.
    explicit frmLogin(const QStringList& siteNames, QWidget* parent = nullptr);
    ~frmLogin() override;

    QComboBox* cboSites = nullptr;
    QLineEdit* txtUserName = nullptr;
    QLineEdit* txtPassword = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdcancel = nullptr;
    // The grant lines of the user's button file, each less its first three characters.
    QListWidget* lstButtons = nullptr;

    int wrongPasswordCount() const { return m_wrongPasswordCount; }

    // Event handlers.
    void Form_Load(const QStringList& siteNames);
    void cmdOK_Click();
    void cmdcancel_Click();
    void txtUserName_Change();
    void Form_Unload();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void setInputsEnabled(bool on);
    void checkLogin();
    void applyGrants();
    void acceptLogin(const QString& typed);
    void wrongPassword();
    void refuse();
    void refuseName();
    // Tells why the server was not reached, or that the user ended the wait (failureCode).
    void serverUnreachable(const QString& error, int failureCode);
    void defaultPath();
    // Moves the site names into the main window's site box and selects g_CurSite there, which
    // runs the main window's site switch.
    void handOverSites();
    // Runs Form_Unload once and closes (and deletes) the window.
    void unload();
    QString localDownloadFolder() const;

    bool m_loginAccepted = false;
    int m_wrongPasswordCount = 0;
    bool m_unloaded = false;
    ReentryGuard m_checking;  // a check is talking to the server
};

}  // namespace quillon
