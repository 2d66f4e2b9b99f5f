#include "access/frmdeluser.h"

#include "access/UserAdmin.h"
#include "common/Globals.h"
#include "common/Messages.h"
#include "common/TextFormats.h"
#include "widgets/BusyPointer.h"
#include "widgets/WaitPanel.h"

#include <QComboBox>
#include <QFormLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillon {

frmdeluser::frmdeluser(QWidget* parent) : UserAdminWindow(parent) {
    setObjectName(QStringLiteral("frmdeluser"));
    setWindowTitle(QStringLiteral("Delete Users"));
    cbousers = userBox(this);
    cmddeleteuser = namedButton(this, "cmddeleteuser", QStringLiteral("Delete User"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("User Name:"), cbousers);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(cmddeleteuser, 0, Qt::AlignHCenter);
    layout->addWidget(new WaitPanel(this, WaitPanel::Cancel::AnyWait), 0, Qt::AlignRight);
    setMinimumWidth(300);
    connect(cmddeleteuser, &QPushButton::clicked, this, &frmdeluser::cmddeleteuser_Click);
    Form_Load();
}

void frmdeluser::Form_Load() {
    const ReentryGuard::Entry entry = m_working.enter();
    LoadUserList(cbousers);
}

void frmdeluser::cmddeleteuser_Click() {
    const ReentryGuard::Entry entry = m_working.enter();
    if (!entry) return;
    const QString name = cbousers->currentText();
    if (name.isEmpty()) {
        tell(QStringLiteral("Please choose the user to delete."));
        return;
    }
    // Whatever case the login was typed in, its files are this user's.
    if (name.compare(G().g_UserName, Qt::CaseInsensitive) == 0) {
        tell(QStringLiteral("you can't delete current Login User ") + G().g_UserName);
        return;
    }
    if (!ask(QStringLiteral("Are you sure you want to Delete ") + name + QLatin1Char('?') + kCrLf,
             titles::kConfigureSites))
        return;
    BusyPointer busy(this);
    cmddeleteuser->setEnabled(false);
    const AdminOutcome outcome = deleteUser(siteIndex(), name);
    cmddeleteuser->setEnabled(true);
    busy.release();
    finish(outcome);
}

}  // namespace quillon
