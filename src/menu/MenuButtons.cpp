#include "menu/MenuButtons.h"

#include "menu/fMain.h"

#include <QLabel>
#include <QPushButton>

namespace quillon {

namespace {

// In the order of their tabs.
const MenuButton kRows[] = {
    {kMainTab, "cmdlogoff", "Log On/Off", QStyle::SP_BrowserReload, nullptr,
     &fMain::cmdlogoff_Click, false},
    {kMainTab, "cmduserpasswd", "Change Password", QStyle::SP_DialogApplyButton, nullptr, nullptr,
     false},
    {kMainTab, "cmdDload", "Folder List", QStyle::SP_DirOpenIcon, nullptr, &fMain::cmdDload_Click,
     false},
    {kMainTab, "cmdexit", "Exit", QStyle::SP_DialogCloseButton, nullptr, &fMain::cmdexit_Click,
     false},
    {kReportsTab, "cmddetail", "Detail", QStyle::SP_FileDialogDetailedView, nullptr, nullptr,
     false},
    {kReportsTab, "cmdAudit", "Audit", QStyle::SP_FileDialogContentsView, nullptr, nullptr, false},
    {kReportsTab, "cmdcost", "Cost", QStyle::SP_FileDialogDetailedView, nullptr, nullptr, false},
    {kReportsTab, "cmdstats", "Stats", QStyle::SP_FileDialogInfoView, nullptr, nullptr, false},
    {kReportsTab, "cmdWatchdog", "Watch Dog ", QStyle::SP_MessageBoxWarning, nullptr, nullptr,
     false},
    {kReportsTab, "cmdcrono", "Crono", QStyle::SP_FileDialogListView, nullptr, nullptr, false},
    {kReportsTab, "cmdtrunk", "Trunk ", QStyle::SP_FileDialogDetailedView, nullptr, nullptr, false},
    {kReportsTab, "cmdAreaCode", "Area Code", QStyle::SP_FileDialogContentsView, nullptr, nullptr,
     false},
    {kReportsTab, "cmdauth", "Auth Code", QStyle::SP_FileDialogInfoView, nullptr, nullptr, false},
    {kReportsTab, "cmdcallcalc", "Call Calculator", QStyle::SP_ComputerIcon, nullptr, nullptr,
     false},
    {kReportsTab, "cmdunusedstations", "Unused Stations", QStyle::SP_FileDialogListView,
     "lblunused", nullptr, false},
    {kReportsTab, "cmdexitbackup", "EXIT Backup Menu", QStyle::SP_ArrowBack, "lblexitbackup",
     &fMain::cmdexitbackup_Click, false},
    {kUtilitiesTab, "cmdmanager", "Manager", QStyle::SP_FileDialogListView, nullptr, nullptr,
     false},
    {kUtilitiesTab, "cmddelprint", "Clear Print Jobs ", QStyle::SP_TrashIcon, nullptr, nullptr,
     true},
    {kUtilitiesTab, "cmdsynch", "Time Sync", QStyle::SP_BrowserReload, nullptr,
     &fMain::cmdsynch_Click, false},
    {kUtilitiesTab, "cmdbringreport", "Pull Back Reports", QStyle::SP_ArrowDown, nullptr, nullptr,
     true},
    {kUtilitiesTab, "cmddelete", "Delete Calls", QStyle::SP_TrashIcon, nullptr, nullptr, false},
    {kUtilitiesTab, "cmdunlock", "Unlock Tables", QStyle::SP_DialogYesButton, nullptr,
     &fMain::cmdunlock_Click, false},
    {kUtilitiesTab, "cmdtestcall", "Test Call", QStyle::SP_MediaPlay, nullptr, nullptr, false},
    {kUtilitiesTab, "cmdbackupmenu", "Backup Menu", QStyle::SP_DriveHDIcon, nullptr, nullptr,
     false},
    {kUtilitiesTab, "cmddatabase", "Pricing", QStyle::SP_FileDialogInfoView, nullptr, nullptr,
     false},
    {kUtilitiesTab, "cmdareacodes", "Area Codes/ Prefixs", QStyle::SP_FileDialogContentsView,
     nullptr, nullptr, false},
    {kOptionsTab, "cmdadduser", "Add  Users", QStyle::SP_DirHomeIcon, nullptr, nullptr, false},
    {kOptionsTab, "cmdmoduser", "Modify Users", QStyle::SP_FileDialogDetailedView, nullptr, nullptr,
     false},
    {kOptionsTab, "cmddeluser", "Delete Users", QStyle::SP_TrashIcon, nullptr, nullptr, false},
    {kOptionsTab, "cmdpasswd", "Change  Passwords", QStyle::SP_DialogApplyButton, nullptr, nullptr,
     false},
    {kOptionsTab, "cmdEdit", "Configure Site", QStyle::SP_FileDialogNewFolder, "lblsites", nullptr,
     false},
    {kNoTab, "cmdupdate", "Update", QStyle::SP_ArrowUp, "lblupdate", &fMain::cmdupdate_Click,
     false},
};

}  // namespace

std::span<const MenuButton> menuButtons() {
    return kRows;
}

MenuButtonWidgets makeMenuButton(const MenuButton& row, const QStyle& style) {
    // A picture button; its caption stands in the label under it.
    const QString caption = QLatin1String(row.caption);
    auto* button = new QPushButton;
    button->setObjectName(QLatin1String(row.name));
    button->setIcon(style.standardIcon(row.picture));
    button->setIconSize(QSize(32, 32));
    button->setMinimumSize(64, 48);
    button->setToolTip(caption.trimmed());
    button->setAccessibleName(caption.trimmed());
    auto* label = new QLabel(caption);
    label->setObjectName(row.label ? QLatin1String(row.label)
                                   : QStringLiteral("lbl") + QLatin1String(row.name).mid(3));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    return {button, label};
}

}  // namespace quillon
