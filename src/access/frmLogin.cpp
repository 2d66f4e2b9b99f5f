#include "access/frmLogin.h"

#include "common/Globals.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

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
    cboSites->setMinimumWidth(200);

    connect(cmdOK, &QPushButton::clicked, this, &frmLogin::cmdOK_Click);
    connect(cmdcancel, &QPushButton::clicked, this, &frmLogin::cmdcancel_Click);
    txtUserName->installEventFilter(this);

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

void frmLogin::cmdOK_Click() {}
void frmLogin::cmdcancel_Click() {}
void frmLogin::txtUserName_KeyUp(int) {}
void frmLogin::Form_Unload() {}
void frmLogin::closeEvent(QCloseEvent* event) {
    QDialog::closeEvent(event);
}
void frmLogin::reject() {
    cmdcancel_Click();
}
bool frmLogin::eventFilter(QObject* watched, QEvent* event) {
    return QDialog::eventFilter(watched, event);
}
void frmLogin::setInputsEnabled(bool) {}
void frmLogin::refuse() {}
void frmLogin::defaultPath() {}
void frmLogin::acceptLogin(const QString&) {}
void frmLogin::tooManyWrongPasswords() {}
void frmLogin::unload() {}
QString frmLogin::localDownloadFolder() const {
    return {};
}

}  // namespace quillon
