#include "access/PasswordWindows.h"

#include "access/UserAdmin.h"
#include "common/Globals.h"
#include "common/Messages.h"
#include "common/ShellQuote.h"
#include "widgets/BusyPointer.h"
#include "widgets/WaitPanel.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillon {

namespace {
const QString kMismatch = QStringLiteral("Passwords do not Match Please try again");
}  // namespace

// ---- the shared pair ------------------------------------------------------------------------

PasswordWindow::PasswordWindow(QWidget* parent, QPushButton* change)
    : UserAdminWindow(parent), m_change(change) {
    m_change->setParent(this);
    txtnewpasswd = adminTextBox(this, "txtnewpasswd", true);
    txtconfirmpasswd = adminTextBox(this, "txtconfirmpasswd", true);
    connect(txtnewpasswd, &QLineEdit::textChanged, this, &PasswordWindow::txtnewpasswd_Change);
    connect(txtconfirmpasswd, &QLineEdit::textChanged, this,
            &PasswordWindow::txtconfirmpasswd_Change);
}

void PasswordWindow::txtnewpasswd_Change() {
    const bool given = !txtnewpasswd->text().isEmpty();
    txtconfirmpasswd->setEnabled(given);
    if (!given) m_change->setEnabled(false);
}

void PasswordWindow::txtconfirmpasswd_Change() {
    m_change->setEnabled(confirmationMatches());
}

bool PasswordWindow::confirmationMatches() const {
    const QString confirm = txtconfirmpasswd->text();
    return !confirm.isEmpty() && confirm == txtnewpasswd->text();
}

bool PasswordWindow::newPasswordRefused() const {
    const QString problem = windows1252Problem(QStringLiteral("password"), txtnewpasswd->text());
    if (problem.isEmpty()) return false;
    tell(problem, platform::Icon::Exclamation);
    return true;
}

namespace {
// The boxes under their labels and the change button below them.
void layOut(QWidget* window, const QList<QPair<QString, QWidget*>>& rows, QPushButton* button) {
    auto* form = new QFormLayout;
    for (const auto& [label, widget] : rows) form->addRow(label, widget);
    auto* layout = new QVBoxLayout(window);
    layout->addLayout(form);
    layout->addWidget(button, 0, Qt::AlignHCenter);
    layout->addWidget(new WaitPanel(window, WaitPanel::Cancel::AnyWait), 0, Qt::AlignRight);
    window->setMinimumWidth(320);
}
}  // namespace

// ---- own password ---------------------------------------------------------------------------

frmpasswd::frmpasswd(QWidget* parent)
    : PasswordWindow(parent,
                     namedButton(nullptr, "cmdmodpasswd", QStringLiteral("Change Password"))) {
    setObjectName(QStringLiteral("frmpasswd"));
    setWindowTitle(QStringLiteral("Change Password"));
    cmdmodpasswd = m_change;
    txtuser = adminTextBox(this, "txtuser", false);
    txtuser->setReadOnly(true);
    txtoldpasswd = adminTextBox(this, "txtoldpasswd", true);
    layOut(this,
           {{QStringLiteral("Current User"), txtuser},
            {QStringLiteral("Old Password"), txtoldpasswd},
            {QStringLiteral("New Password"), txtnewpasswd},
            {QStringLiteral("Confirm New Password"), txtconfirmpasswd}},
           cmdmodpasswd);
    connect(txtoldpasswd, &QLineEdit::textChanged, this, &frmpasswd::txtoldpasswd_Change);
    connect(cmdmodpasswd, &QPushButton::clicked, this, &frmpasswd::cmdmodpasswd_Click);
    Form_Load();
}

void frmpasswd::Form_Load() {
    cmdmodpasswd->setEnabled(false);
    txtconfirmpasswd->setEnabled(false);
    txtnewpasswd->setEnabled(false);
    txtuser->setText(G().g_UserName);
}

void frmpasswd::txtoldpasswd_Change() {
    const bool given = !txtoldpasswd->text().isEmpty();
    txtnewpasswd->setEnabled(given);
    if (!given) cmdmodpasswd->setEnabled(false);
}

void frmpasswd::cmdmodpasswd_Click() {
    const ReentryGuard::Entry entry = m_working.enter();
    if (!entry) return;
    if (!confirmationMatches()) {
        tell(kMismatch);
        return;
    }
    if (newPasswordRefused()) return;
    const QString user = G().g_UserName;
    if (!isValidUserName(user)) {
        tell(userNameRule(), platform::Icon::Exclamation);
        return;
    }
    const QString local = downloadFolder();
    if (local.isEmpty()) return;
    BusyPointer busy(this);
    cmdmodpasswd->setEnabled(false);
    const AdminOutcome outcome =
        changeOwnPassword(siteIndex(), local, user, txtoldpasswd->text(), txtnewpasswd->text());
    cmdmodpasswd->setEnabled(true);
    busy.release();
    finish(outcome);
}

// ---- an administrator's change --------------------------------------------------------------

frmchangepasswd::frmchangepasswd(QWidget* parent)
    : PasswordWindow(parent,
                     namedButton(nullptr, "cmdchgpasswd", QStringLiteral("Change Password"))) {
    setObjectName(QStringLiteral("frmchangepasswd"));
    setWindowTitle(QStringLiteral("Admin Manage Passwords"));
    cmdchgpasswd = m_change;
    cbousers = userBox(this);
    layOut(this,
           {{QStringLiteral("User Name:"), cbousers},
            {QStringLiteral("New Password"), txtnewpasswd},
            {QStringLiteral("Confirm New Password"), txtconfirmpasswd}},
           cmdchgpasswd);
    connect(cbousers, &QComboBox::activated, this, &frmchangepasswd::cbousers_Click);
    connect(cmdchgpasswd, &QPushButton::clicked, this, &frmchangepasswd::cmdchgpasswd_Click);
    Form_Load();
}

void frmchangepasswd::Form_Load() {
    const ReentryGuard::Entry entry = m_working.enter();
    txtnewpasswd->setEnabled(false);
    txtconfirmpasswd->setEnabled(false);
    cmdchgpasswd->setEnabled(false);
    LoadUserList(cbousers);
}

void frmchangepasswd::cbousers_Click() {
    if (!cbousers->currentText().isEmpty()) {
        txtnewpasswd->setEnabled(true);
        return;
    }
    txtnewpasswd->setEnabled(false);
    txtconfirmpasswd->setEnabled(false);
    cmdchgpasswd->setEnabled(false);
}

void frmchangepasswd::cmdchgpasswd_Click() {
    const ReentryGuard::Entry entry = m_working.enter();
    if (!entry) return;
    if (txtnewpasswd->text() != txtconfirmpasswd->text()) {
        tell(kMismatch);
        return;
    }
    if (newPasswordRefused()) return;
    const QString user = cbousers->currentText();
    const QString local = downloadFolder();
    if (user.isEmpty() || local.isEmpty()) return;
    BusyPointer busy(this);
    cmdchgpasswd->setEnabled(false);
    const AdminOutcome outcome = setUserPassword(siteIndex(), local, user, txtnewpasswd->text());
    cmdchgpasswd->setEnabled(true);
    busy.release();
    finish(outcome);
}

}  // namespace quillon
