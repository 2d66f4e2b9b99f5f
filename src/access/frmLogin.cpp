#include "access/frmLogin.h"

#include "access/AccessFiles.h"
#include "access/AdminWidgets.h"
#include "common/CommonFunctions.h"
#include "common/ConfigNames.h"
#include "common/Globals.h"
#include "common/Messages.h"
#include "common/ReentryGuard.h"
#include "common/ShellQuote.h"
#include "common/SiteContext.h"
#include "common/SiteTargets.h"
#include "platform/ProfileFile.h"
#include "platform/SystemInfo.h"
#include "remote/ServerWork.h"
#include "remote/ShellControl.h"
#include "widgets/AppControl.h"
#include "widgets/MainWindowPort.h"
#include "common/ReentryGuard.h"
#include "widgets/WaitPanel.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <memory>

namespace quillon {

frmLogin::frmLogin(const QStringList& siteNames, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmLogin"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);

    cboSites = new QComboBox(this);
    cboSites->setObjectName(QStringLiteral("cboSites"));
    cboSites->setEditable(false);
    txtUserName = new QLineEdit(this);
    txtUserName->setObjectName(QStringLiteral("txtUserName"));
    txtPassword = new QLineEdit(this);
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    txtPassword->setEchoMode(QLineEdit::Password);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdcancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdcancel->setObjectName(QStringLiteral("cmdcancel"));
    lstButtons = new QListWidget(this);
    lstButtons->setObjectName(QStringLiteral("lstButtons"));
    lstButtons->setSortingEnabled(false);
    lstButtons->setVisible(false);

    auto* lblSite = new QLabel(QStringLiteral("Current Site:"), this);
    auto* lblUser = new QLabel(QStringLiteral("&User Name:"), this);
    lblUser->setBuddy(txtUserName);
    auto* lblPassword = new QLabel(QStringLiteral("&Password:"), this);
    lblPassword->setBuddy(txtPassword);

    auto* grid = new QGridLayout;
    grid->addWidget(lblSite, 0, 0);
    grid->addWidget(cboSites, 0, 1);
    grid->addWidget(lblUser, 1, 0);
    grid->addWidget(txtUserName, 1, 1);
    grid->addWidget(lblPassword, 2, 0);
    grid->addWidget(txtPassword, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdcancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->addWidget(lstButtons);
    layout->addWidget(new WaitPanel(this, WaitPanel::Cancel::AnyWait), 0, Qt::AlignRight);
    cboSites->setMinimumWidth(200);

    connect(cmdOK, &QPushButton::clicked, this, &frmLogin::cmdOK_Click);
    connect(cmdcancel, &QPushButton::clicked, this, &frmLogin::cmdcancel_Click);
    // Every edit of the user's, typed or pasted; the window's own changes do not come here.
    connect(txtUserName, &QLineEdit::textEdited, this, [this] { txtUserName_Change(); });

    Form_Load(siteNames);
}

frmLogin::~frmLogin() = default;

void frmLogin::Form_Load(const QStringList& siteNames) {
    setWindowTitle(G().g_Express ? QStringLiteral("Varnel Lumbrook Login")
                                 : QStringLiteral("Varnel                Login"));
    m_wrongPasswordCount = 0;
    m_loginAccepted = false;
    cboSites->addItems(siteNames);
}

void frmLogin::txtUserName_Change() {
    refuseNameBlanks(txtUserName);
}

void frmLogin::cmdOK_Click() {
    // The check talks to the server for a while; a second OK meanwhile is dropped.
    const ReentryGuard::Entry checking = m_checking.enter();
    if (!checking) return;
    const QString siteName = cboSites->currentText();
    // Its name becomes the site's folder: a name that cannot is never chosen.
    if (const QString refusal = unusableSiteText(siteName, cboSites->currentIndex());
        cboSites->currentIndex() > 0 && !refusal.isEmpty()) {
        tell(refusal, platform::Icon::Exclamation, titles::kLogin);
        return;
    }
    if (siteName != QLatin1String("Default") && txtUserName->text().isEmpty()) {
        tell(QStringLiteral("Please enter a User Name."));
        return;
    }
    setInputsEnabled(false);
    G().g_CurSite = cboSites->currentIndex();
    if (G().g_CurSite <= 0) {
        defaultPath();
        return;
    }
    checkLogin();
}

void frmLogin::checkLogin() {
    const int site = G().g_CurSite;
    const QString typed = txtUserName->text();
    // The name becomes a file name in a shell line: anything a file name may not hold is
    // refused before the server hears of it. No password was tried, so it costs no try.
    if (!isValidUserName(typed)) {
        WriteDebugLog(QStringLiteral("Login refused, user name not allowed: ") + typed);
        refuseName();
        return;
    }
    // The stored digest is over Windows-1252 bytes: a character without one would be taken
    // for another ("?"), so such a password matches none; no try is spent on it.
    if (const QString p = windows1252Problem(QStringLiteral("password"), txtPassword->text());
        !p.isEmpty()) {
        WriteDebugLog(QStringLiteral("Login refused, password not allowed"));
        tell(p, platform::Icon::Exclamation, titles::kLogin);
        setInputsEnabled(true);
        txtPassword->setFocus();
        txtPassword->selectAll();
        return;
    }
    const QString user = userFileStem(typed);

    ServerFailure failure;
    WriteDebugLog(QStringLiteral("Login: checking user ") + user);
    const std::unique_ptr<ServerShell> ssh = ServerWork::instance().openShell(
        shellRequestForSite(site, SiteFolder::Login, kShellControl), failure);
    if (!ssh) {
        serverUnreachable(failure.text, failure.code);
        return;
    }
    // The lines that wake the shell answer nothing the login reads, but a session they lost
    // (the user's Cancel among them) ends the check with their own reason.
    const auto lostOn = [&](const LineResult& woke) {
        if (woke.ok() || ssh->isOpen()) return false;
        ssh->close();
        serverUnreachable(woke.failure.text, woke.failure.code);
        return true;
    };
    if (lostOn(ssh->run(QString()))) return;
    if (const LineResult cd =
            changeFolderAsWritten(*ssh, UserFile::folder(site) + QLatin1Char('/'));
        !cd.ok()) {
        const bool dropped = !ssh->isOpen();
        ssh->close();
        if (dropped)
            serverUnreachable(cd.failure.text, cd.failure.code);
        else
            refuse();  // no user folder, so no such user
        return;
    }
    if (lostOn(ssh->run(QString()))) return;
    // The name passed isValidUserName, so the file name goes as the system writes it.
    const QString ls = QStringLiteral("ls -1 ") + UserFile::fileName(typed);
    // Sent twice, the first reply not read; a session lost on the first keeps its own reason.
    LineResult listed = ssh->run(ls);
    if (listed.ok()) listed = ssh->run(ls);
    ssh->close();
    if (!listed.ok()) {
        serverUnreachable(listed.failure.text, listed.failure.code);
        return;
    }
    if (listed.reply.contains(QLatin1String("No such file"))) {
        WriteDebugLog(QStringLiteral("Login: no user file for ") + user);
        refuse();
        return;
    }

    // The user exists: a file transfer that fails now checked no password, so it is told as
    // the connection failure it is and costs no try.
    const QString local = localDownloadFolder();
    const std::unique_ptr<ServerFiles> sftp =
        ServerWork::instance().openFiles(filesRequestForSite(site), failure);
    if (!sftp) {
        WriteDebugLog(QStringLiteral("Login: no file transfer: ") + failure.text);
        UserFile::deleteLocalCopies(local, typed);
        serverUnreachable(failure.text, failure.code);
        return;
    }
    const std::optional<QString> stored =
        UserFile::fetchDigest(*sftp, site, local, typed, &failure);
    if (!stored) {
        sftp->close();
        serverUnreachable(failure.text, failure.code);
        return;
    }
    if (!UserFile::passwordMatches(txtPassword->text(), *stored)) {
        sftp->close();
        wrongPassword();
        return;
    }
    UserFile::deleteLocalCopies(local, typed);

    lstButtons->clear();
    ServerFailure lost;
    const std::optional<QStringList> entries =
        ButtonFile::fetchEntries(*sftp, site, local, typed, &lost);
    // Logging in without the user's buttons because the transfer was cut off would look like a
    // login granted none.
    if (!entries && !sftp->isOpen()) {
        ButtonFile::deleteLocalCopies(local, typed);
        serverUnreachable(QStringLiteral("The connection was lost while the user's buttons were "
                                         "read."),
                          lost.code);
        return;
    }
    sftp->close();
    if (entries) lstButtons->addItems(*entries);
    applyGrants();
    acceptLogin(typed);
}

void frmLogin::applyGrants() {
    QStringList entries;
    for (int i = 0; i < lstButtons->count(); ++i) entries << lstButtons->item(i)->text();
    MainWindowPort* main = MainWindowPort::instance();
    if (!main) return;
    for (const QString& name : main->commandButtonNames()) {
        if (ButtonFile::grants(entries, name)) {
            main->grantButton(name);
            WriteDebugLog(QStringLiteral("Turning on Button: ") + name);
        } else {
            WriteDebugLog(QStringLiteral("NOT Turning on Button: ") + name);
        }
    }
}

void frmLogin::acceptLogin(const QString& typed) {
    const int site = G().g_CurSite;
    m_loginAccepted = true;
    G().g_UserName = typed;
    platform::ProfileFile(configurationFilePath())
        .write(config::siteSection(cboSites->currentIndex() + 1), config::kLastLogin,
               G().g_UserName);

    {
        // The server regenerates its table copies for the main window's table pull; what it
        // answers is not looked at.
        ServerFailure failure;
        const std::unique_ptr<ServerShell> ssh = ServerWork::instance().openShell(
            shellRequestForSite(site, SiteFolder::Login, kShellControl), failure);
        if (ssh) {
            ssh->run(QString());
            if (changeFolderAsWritten(*ssh, siteServerFolder(site)).ok())
                ssh->run(QStringLiteral("sudo ./do_csv.sh"));
        } else {
            WriteDebugLog(QStringLiteral("Login: could not run do_csv.sh: ") + failure.text);
        }
        ButtonFile::deleteLocalCopies(localDownloadFolder(), typed);
        if (ssh) ssh->close();
    }
    unload();
    if (MainWindowPort* main = MainWindowPort::instance()) main->show();
}

void frmLogin::wrongPassword() {
    ++m_wrongPasswordCount;
    if (m_wrongPasswordCount < 3) {
        refuse();
        return;
    }
    tell(QStringLiteral("You have entered the wrong password too many times. The program will "
                        "now terminate."),
         platform::Icon::Critical);
    m_loginAccepted = false;
    unload();
    endProgram();
}

void frmLogin::refuse() {
    tell(QStringLiteral("Invalid Login or Password, try again!"), platform::Icon::None,
         titles::kLogin);
    txtPassword->clear();
    setInputsEnabled(true);
    txtPassword->setFocus();
}

void frmLogin::refuseName() {
    tell(userNameRule(), platform::Icon::Exclamation, titles::kLogin);
    setInputsEnabled(true);
    txtUserName->setFocus();
    txtUserName->selectAll();
}

void frmLogin::serverUnreachable(const QString& error, int failureCode) {
    WriteDebugLog(QStringLiteral("Login: server not reached: ") + error);
    if (!toldCancelledWait(QStringLiteral("The login"), failureCode))
        tell(QStringLiteral("Could not reach the server of site %1: %2")
                 .arg(cboSites->currentText(), error),
             platform::Icon::Exclamation, titles::kLogin);
    setInputsEnabled(true);
    txtPassword->setFocus();
}

void frmLogin::handOverSites() {
    MainWindowPort* main = MainWindowPort::instance();
    QStringList names;
    while (cboSites->count() > 0) {
        names << cboSites->itemText(0);
        cboSites->removeItem(0);
    }
    if (!main) return;
    main->setSiteNames(names);
    main->setListIndex(G().g_CurSite);
}

void frmLogin::defaultPath() {
    MainWindowPort* main = MainWindowPort::instance();
    if (main && cboSites->currentText() == QLatin1String("Default"))
        main->setConnectedCaption(QStringLiteral("Connected to: Default"));
    handOverSites();
    if (main && SiteContext::current().index() == 0) main->showSiteEditorButton();
    unload();
    if (main) main->show();
}

void frmLogin::cmdcancel_Click() {
    m_loginAccepted = false;
    unload();
    endProgram();
}

void frmLogin::Form_Unload() {
    if (m_loginAccepted) handOverSites();
}

void frmLogin::unload() {
    if (m_unloaded) return;
    m_unloaded = true;
    Form_Unload();
    close();
}

void frmLogin::closeEvent(QCloseEvent* event) {
    if (m_unloaded) {
        event->accept();
        return;
    }
    // Closed from its title bar: the same as Cancel, so no hidden main window is left behind.
    m_loginAccepted = false;
    m_unloaded = true;
    Form_Unload();
    event->accept();
    if (!programEndRequested()) endProgram();
}

void frmLogin::reject() {
    if (cmdcancel->isEnabled()) cmdcancel_Click();
}

void frmLogin::setInputsEnabled(bool on) {
    for (QWidget* w : {static_cast<QWidget*>(cmdOK), static_cast<QWidget*>(cmdcancel),
                       static_cast<QWidget*>(txtUserName), static_cast<QWidget*>(txtPassword),
                       static_cast<QWidget*>(cboSites)})
        w->setEnabled(on);
}

QString frmLogin::localDownloadFolder() const {
    return siteDownloadFolder(cboSites->currentText());
}

}  // namespace quillon
