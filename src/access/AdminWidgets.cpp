#include "access/AdminWidgets.h"

#include "access/UserAdmin.h"
#include "common/Globals.h"
#include "common/Messages.h"
#include "common/SiteContext.h"
#include "widgets/BusyPointer.h"
#include "widgets/WaitPanel.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace quillon {

// ---- the button picker ----------------------------------------------------------------------

ButtonPicker::ButtonPicker(QWidget* parent) : ListPair(parent) {
    setCaptions(QStringLiteral("Functions"), QStringLiteral("Added Functions"));
}

QList<SelectionEntry> ButtonPicker::offeredRows() {
    const Globals& g = G();
    QList<SelectionEntry> rows;
    for (int row = 1; row <= kButtonCount; ++row) {
        if ((row == 24 || row == 25) && !g.g_Express) continue;
        if (row == 26 && !g.g_UnusedReport) continue;
        rows << SelectionEntry{g.g_ButtonNames[row], g.g_ButtonLabels[row]};
    }
    return rows;
}

void ButtonPicker::loadButtons() {
    available().clear();
    for (const SelectionEntry& e : offeredRows()) available().add(e);
}

void ButtonPicker::showGrants(const QList<ButtonFile::Grant>& grants) {
    selected().clear();
    loadButtons();
    for (const ButtonFile::Grant& grant : grants) {
        const QString label = G().g_ButtonLabels[grant.row];
        selected().add({grant.line, label});
        // A row not on offer (its edition flag off) is still shown granted and kept.
        available().removeText(label);
    }
}

QStringList ButtonPicker::grantedLines() const {
    return selected().keys();
}

// ---- the user list and the name box ---------------------------------------------------------

void LoadUserList(QComboBox* box) {
    BusyPointer busy(box->window());
    box->clear();
    const QString site = SiteContext::current().name();
    const QString local = siteDownloadFolder(site);
    UserList list;
    if (local.isEmpty())
        list.problem = unusableSiteText(site, SiteContext::current().index());
    else
        list = listSiteUsers(SiteContext::current().index(), local);
    box->addItems(list.names);
    box->setCurrentIndex(-1);
    if (!list.leftOut.isEmpty()) {
        busy.release();
        tell(QStringLiteral("These user files are not listed: the login looks a user up by the "
                            "name in upper case, so their names belong to no user.") +
                 "\r\n\r\n" + list.leftOut.join(QStringLiteral("\r\n")),
             platform::Icon::Exclamation);
    }
    if (!list.problem.isEmpty() &&
        !toldCancelledWait(QStringLiteral("Listing the users"), list.code)) {
        busy.release();
        tell(QStringLiteral("The users of site %1 could not be listed.").arg(site) + "\r\n\r\n" +
                 list.problem,
             platform::Icon::Exclamation);
    }
}

void refuseNameBlanks(QLineEdit* box) {
    const QString text = box->text();
    const int caret = box->cursorPosition();
    QString kept;
    int keptBeforeCaret = 0;
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i).isSpace()) continue;
        kept += text.at(i);
        if (i < caret) ++keptBeforeCaret;
    }
    if (kept.size() == text.size()) return;
    box->setText(kept);
    box->setCursorPosition(keptBeforeCaret);
    tell(QStringLiteral("You can not have Spaces in the User Name"));
}

// ---- controls ------------------------------------------------------------------------------

QLineEdit* adminTextBox(QWidget* parent, const char* name, bool password) {
    QLineEdit* box = namedBox(parent, QLatin1String(name));
    if (password) box->setEchoMode(QLineEdit::Password);
    return box;
}

QComboBox* userBox(QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QStringLiteral("cbousers"));
    box->setEditable(false);
    box->setMinimumWidth(160);
    return box;
}

// ---- the window frame -----------------------------------------------------------------------

UserAdminWindow::UserAdminWindow(QWidget* parent) : QDialog(parent) {}



void UserAdminWindow::finish(const AdminOutcome& outcome) {
    switch (outcome.kind) {
        case AdminOutcome::Kind::Done:
            QDialog::accept();
            tell(outcome.text);
            break;
        case AdminOutcome::Kind::Refused:
            tell(outcome.text);
            break;
        case AdminOutcome::Kind::Failed:
            if (toldCancelledWait(QStringLiteral("The change"), outcome.code)) break;
            tell(outcome.text, platform::Icon::Exclamation);
            break;
    }
}

int UserAdminWindow::siteIndex() {
    return SiteContext::current().index();
}

QString UserAdminWindow::siteName() {
    return SiteContext::current().name();
}

QString UserAdminWindow::downloadFolder() {
    const QString folder = siteDownloadFolder(siteName());
    if (folder.isEmpty())
        tell(unusableSiteText(siteName(), siteIndex()), platform::Icon::Exclamation);
    return folder;
}

}  // namespace quillon
