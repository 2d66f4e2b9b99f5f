#include "access/frmPermissions.h"

#include "access/UserAdmin.h"
#include "common/Messages.h"
#include "common/ShellQuote.h"
#include "widgets/BusyPointer.h"
#include "widgets/WaitPanel.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillon {

frmPermissions::frmPermissions(QWidget* parent) : UserAdminWindow(parent) {
    setObjectName(QStringLiteral("frmPermissions"));
    setWindowTitle(QStringLiteral("User Permissions"));
    txtadduser = adminTextBox(this, "txtadduser", false);
    txtaddpasswd = adminTextBox(this, "txtaddpasswd", true);
    txtconfirmpasswd = adminTextBox(this, "txtconfirmpasswd", true);
    picker = new ButtonPicker(this);
    picker->setObjectName(QStringLiteral("ButtonPicker"));
    cmdadduser = namedButton(this, "cmdadduser", QStringLiteral("Add User"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("User Name:"), txtadduser);
    form->addRow(QStringLiteral("Password:"), txtaddpasswd);
    form->addRow(QStringLiteral("Confirm Password:"), txtconfirmpasswd);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(picker, 1);
    layout->addWidget(cmdadduser, 0, Qt::AlignHCenter);
    layout->addWidget(new WaitPanel(this, WaitPanel::Cancel::AnyWait), 0, Qt::AlignRight);
    setMinimumSize(480, 360);

    connect(txtadduser, &QLineEdit::textChanged, this, &frmPermissions::txtadduser_Change);
    connect(txtadduser, &QLineEdit::textEdited, this, [this] { refuseNameBlanks(txtadduser); });
    connect(txtaddpasswd, &QLineEdit::textChanged, this, &frmPermissions::txtaddpasswd_Change);
    connect(txtconfirmpasswd, &QLineEdit::textChanged, this,
            &frmPermissions::txtconfirmpasswd_Change);
    connect(cmdadduser, &QPushButton::clicked, this, &frmPermissions::cmdadduser_Click);

    Form_Load();
}

void frmPermissions::Form_Load() {
    picker->setPickerEnabled(false);
    txtaddpasswd->setEnabled(false);
    txtconfirmpasswd->setEnabled(false);
    picker->loadButtons();
}

void frmPermissions::txtadduser_Change() {
    if (!txtadduser->text().isEmpty()) {
        txtaddpasswd->setEnabled(true);
        return;
    }
    txtaddpasswd->setEnabled(false);
    txtconfirmpasswd->setEnabled(false);
    picker->setPickerEnabled(false);
    txtadduser->setFocus();
}

void frmPermissions::txtaddpasswd_Change() {
    const bool given = !txtaddpasswd->text().isEmpty();
    txtconfirmpasswd->setEnabled(given);
    if (!given) picker->setPickerEnabled(false);
}

void frmPermissions::txtconfirmpasswd_Change() {
    const QString confirm = txtconfirmpasswd->text();
    picker->setPickerEnabled(!confirm.isEmpty() && confirm == txtaddpasswd->text());
}

void frmPermissions::cmdadduser_Click() {
    const ReentryGuard::Entry entry = m_working.enter();
    if (!entry) return;
    const QString name = txtadduser->text();
    const QString password = txtaddpasswd->text();
    if (name.isEmpty()) {
        tell(QStringLiteral("You need to enter a user name!!"));
        return;
    }
    if (password.isEmpty()) {
        tell(QStringLiteral("You need to enter a Password"));
        return;
    }
    // The name becomes file names in shell lines: only what a file name may hold goes.
    if (!isValidUserName(name)) {
        tell(userNameRule(), platform::Icon::Exclamation);
        return;
    }
    // The password may have changed since the confirmation matched.
    if (txtconfirmpasswd->text() != password) {
        tell(QStringLiteral("Passwords do not Match Please try again"));
        return;
    }
    // Its digest is taken over Windows-1252 bytes: another character would stand for this one.
    if (const QString p = windows1252Problem(QStringLiteral("password"), password); !p.isEmpty()) {
        tell(p, platform::Icon::Exclamation);
        return;
    }
    const QStringList granted = picker->grantedLines();
    if (granted.isEmpty()) {
        tell(QStringLiteral("You Need to add Functions to this users"));
        return;
    }
    BusyPointer busy(this);
    cmdadduser->setEnabled(false);
    const AdminOutcome outcome = addUser(siteIndex(), name, password, granted);
    cmdadduser->setEnabled(true);
    busy.release();
    finish(outcome);
}

}  // namespace quillon
