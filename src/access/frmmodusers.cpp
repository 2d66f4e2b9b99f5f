#include "access/frmmodusers.h"

#include "access/UserAdmin.h"
#include "common/Messages.h"
#include "common/TextFormats.h"
#include "widgets/BusyPointer.h"
#include "widgets/WaitPanel.h"

#include <QComboBox>
#include <QFormLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillon {

frmmodusers::frmmodusers(QWidget* parent) : UserAdminWindow(parent) {
    setObjectName(QStringLiteral("frmmodusers"));
    setWindowTitle(QStringLiteral("Modify Users Permissions"));
    cbousers = userBox(this);
    picker = new ButtonPicker(this);
    picker->setObjectName(QStringLiteral("ButtonPicker"));
    cmdmoduser = namedButton(this, "cmdmoduser", QStringLiteral("Modify User"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("User Name:"), cbousers);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(picker, 1);
    layout->addWidget(cmdmoduser, 0, Qt::AlignHCenter);
    layout->addWidget(new WaitPanel(this, WaitPanel::Cancel::AnyWait), 0, Qt::AlignRight);
    setMinimumSize(480, 320);

    // The user's pick; the list's own filling picks nothing.
    connect(cbousers, &QComboBox::activated, this, &frmmodusers::cbousers_Click);
    connect(cmdmoduser, &QPushButton::clicked, this, &frmmodusers::cmdmoduser_Click);

    Form_Load();
}

void frmmodusers::Form_Load() {
    const ReentryGuard::Entry entry = m_working.enter();
    loadButtons();
    picker->setPickerEnabled(false);
    // Nothing to save until a user's grants are shown.
    cmdmoduser->setEnabled(false);
    LoadUserList(cbousers);
}

void frmmodusers::loadButtons() {
    picker->loadButtons();
}

void frmmodusers::cbousers_Click() {
    const ReentryGuard::Entry entry = m_working.enter();
    if (!entry) return;
    const QString user = cbousers->currentText();
    m_shown.clear();
    m_unshown.clear();
    picker->showGrants({});
    picker->setPickerEnabled(false);
    cmdmoduser->setEnabled(false);
    if (user.isEmpty()) return;
    const QString local = downloadFolder();
    if (local.isEmpty()) return;

    BusyPointer busy(this);
    const GrantsRead read = readGrants(siteIndex(), local, user);
    busy.release();
    if (!read.problem.isEmpty()) {
        // Saving now would take away grants that could not be read.
        if (toldCancelledWait(QStringLiteral("Reading the functions"), read.code)) return;
        tell(QStringLiteral("The functions of %1 could not be read.").arg(user) + kCrLf + kCrLf +
                 read.problem,
             platform::Icon::Exclamation);
        return;
    }
    picker->showGrants(read.grants);
    picker->setPickerEnabled(true);
    cmdmoduser->setEnabled(true);
    m_shown = user;
    m_unshown = read.unshown;
}

void frmmodusers::cmdmoduser_Click() {
    const ReentryGuard::Entry entry = m_working.enter();
    if (!entry || m_shown.isEmpty()) return;
    const QStringList lines = picker->grantedLines();
    if (lines.isEmpty() &&
        !ask(QStringLiteral("%1 has no functions left and will get no menu buttons at login. "
                            "Save it so?")
                 .arg(m_shown)))
        return;
    BusyPointer busy(this);
    cmdmoduser->setEnabled(false);
    const AdminOutcome outcome = writeGrants(siteIndex(), m_shown, lines, m_unshown);
    cmdmoduser->setEnabled(true);
    busy.release();
    finish(outcome);
}

}  // namespace quillon
