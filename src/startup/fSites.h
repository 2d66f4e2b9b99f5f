#pragma once
// The site editor: the configured sites, their connection settings, the per-site report
// scripts, and the entry of a new site with the first-time set-up of its server.
#include <QDialog>
#include <QStringList>

#include <array>
#include <optional>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace quillon {

struct NewSiteEntry;

class fSites : public QDialog {
    Q_OBJECT
public:
    explicit fSites(QWidget* parent = nullptr);
    ~fSites() override;

    QLabel* Label1 = nullptr;
    QComboBox* cboSites = nullptr;
    QLineEdit* txtSiteName = nullptr;
    QLineEdit* txtIPAddress = nullptr;
    QLineEdit* txtSSHPort = nullptr;
    QLineEdit* txtTelnetPort = nullptr;
    QLabel* lblTelnetPort = nullptr;
    QLineEdit* txtUserName = nullptr;
    QLineEdit* txtPassword = nullptr;
    QLineEdit* txthomedir = nullptr;
    QLineEdit* txtlogin = nullptr;
    QPushButton* cmdmodify = nullptr;
    QPushButton* cmdNewSite = nullptr;
    QPushButton* cmdcancel = nullptr;
    QGroupBox* Frame1 = nullptr;
    QListWidget* lstReports = nullptr;
    QPlainTextEdit* txtScript = nullptr;
    QPushButton* cmdsave = nullptr;
    QListWidget* lstCommands = nullptr;
    QListWidget* lstDivisionHidden = nullptr;

    // Values of the window.
    std::array<QString, 12> ScriptFileNames;
    QString ScriptPath;

    // Event handlers.
    void Form_Load();
    void cboSites_Click();
    void lstReports_Click();
    void lstReports_DblClick();
    void txtScript_KeyUp();
    void cmdsave_Click();
    void cmdmodify_Click();
    void cmdcancel_Click();
    void cmdNewSite_Click();

    // Routines of the window.
    void DeleteFolderTree(const QString& folder);
    void CopySiteScripts(const QString& site, const QString& sshPort, const QString& ipAddress,
                         const QString& userName, const QString& password, const QString& homeDir,
                         const QString& sshUser);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QList<QLineEdit*> connectionBoxes() const;
    void setConnectionBoxesEnabled(bool on);
    void setFrameCaption();
    void leaveNewSiteEntry();
    // The checks, the question, then the site's local part and its server's set-up.
    void addNewSite();
    // The site's folders, scripts, configuration section and table entry; a failed write of
    // the configuration removes the folders again. The description of a failure, else nothing.
    std::optional<QString> addLocalSite(const QString& name, const NewSiteEntry& entry,
                                        int& siteNumber);
    // The first-time set-up of the new site's server, its lines left in lstCommands.
    std::optional<QString> setUpNewServer(int siteNumber, const NewSiteEntry& entry);
    void reportAddFailure(const QString& description);
    void unload();

    bool m_placed = false;
};

}  // namespace quillon
