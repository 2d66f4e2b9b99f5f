#include "maintenance/BackupMenus.h"

#include "widgets/BusyPointer.h"
#include "widgets/NamedControls.h"
#include "widgets/ProgressLabel.h"
#include "widgets/Timers.h"
#include "widgets/WaitPanel.h"
#include "widgets/WindowRegistry.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

namespace quillon {

namespace {
const QString kRetrieving = QStringLiteral("Retrieving Backups List");
constexpr int kMenuDots = 3;

QPushButton* pictureButton(QWidget* parent, const char* name, QStyle::StandardPixmap picture) {
    return namedPictureButton(parent, QString::fromLatin1(name), picture, QSize(32, 32),
                              QSize(64, 56));
}

QLabel* caption(QWidget* parent, const char* name, const QString& text) {
    QLabel* l = namedLabel(parent, QString::fromLatin1(name), text);
    l->setAlignment(Qt::AlignCenter);
    return l;
}
}  // namespace

// ---- Fbackuprestore --------------------------------------------------------------------------

Fbackuprestore::Fbackuprestore(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Fbackuprestore"));
    setWindowTitle(QStringLiteral("Backup/Restore Menu"));
    setModal(true);

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    cmdbackup = pictureButton(this, "cmdbackup", QStyle::SP_DialogSaveButton);
    cmdrestore = pictureButton(this, "cmdrestore", QStyle::SP_BrowserReload);
    cmdmaintance = pictureButton(this, "cmdmaintance", QStyle::SP_FileDialogDetailedView);
    lblbackupcalls = caption(this, "lblbackupcalls", QStringLiteral("Backup Calls"));
    lblrestorecalls = caption(this, "lblrestorecalls", QStringLiteral("Restore Calls"));
    lblmanagebackups = caption(this, "lblmanagebackups", QStringLiteral("Manage Backups"));
    // The list a button opens loads its backups before it shows: the menu offers that wait's
    // Cancel meanwhile.
    waitpanel = new WaitPanel(this, {kRetrieving, kMenuDots}, WaitPanel::Cancel::AnyWait);
    lblrunning = waitpanel->label();
    lblrunning->setAlignment(Qt::AlignCenter);
    tmrreport = waitpanel->dots();

    auto* grid = new QGridLayout(Frame1);
    grid->addWidget(cmdbackup, 0, 0, Qt::AlignCenter);
    grid->addWidget(cmdrestore, 0, 1, Qt::AlignCenter);
    grid->addWidget(cmdmaintance, 0, 2, Qt::AlignCenter);
    grid->addWidget(lblbackupcalls, 1, 0);
    grid->addWidget(lblrestorecalls, 1, 1);
    grid->addWidget(lblmanagebackups, 1, 2);
    grid->addWidget(waitpanel, 2, 0, 1, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);

    connect(cmdbackup, &QPushButton::clicked, this, &Fbackuprestore::cmdbackup_Click);
    connect(cmdrestore, &QPushButton::clicked, this, &Fbackuprestore::cmdrestore_Click);
    connect(cmdmaintance, &QPushButton::clicked, this, &Fbackuprestore::cmdmaintance_Click);
}

void Fbackuprestore::setButtonsEnabled(bool on) {
    for (QPushButton* b : {cmdbackup, cmdrestore, cmdmaintance}) b->setEnabled(on);
}

void Fbackuprestore::setButtonsShown(bool shown) {
    for (QWidget* w :
         {static_cast<QWidget*>(cmdbackup), static_cast<QWidget*>(cmdrestore),
          static_cast<QWidget*>(cmdmaintance), static_cast<QWidget*>(lblbackupcalls),
          static_cast<QWidget*>(lblrestorecalls), static_cast<QWidget*>(lblmanagebackups)})
        w->setVisible(shown);
}

void Fbackuprestore::cmdbackup_Click() {
    setButtonsEnabled(false);
    openWindowOrTell(QStringLiteral("fbackup"), this);
    setButtonsEnabled(true);
}

void Fbackuprestore::cmdrestore_Click() {
    waitpanel->showRunning(true);
    setButtonsShown(false);
    setButtonsEnabled(false);
    {
        BusyPointer busy(this);
        // The restore window lists the backups while it loads, under the running text; a
        // restore closes this menu too.
        openWindowOrTell(QStringLiteral("frestore"), this);
    }
    waitpanel->showRunning(false);
    setButtonsEnabled(true);
    setButtonsShown(true);
}

void Fbackuprestore::cmdmaintance_Click() {
    setButtonsEnabled(false);
    {
        BusyPointer busy(this);
        openWindowOrTell(QStringLiteral("fmanagebackups"), this);
    }
    setButtonsEnabled(true);
}

// ---- fmanagebackups --------------------------------------------------------------------------

fmanagebackups::fmanagebackups(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("fmanagebackups"));
    setWindowTitle(QStringLiteral("Manage Backups "));
    setModal(true);

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    cmddeletebackups = pictureButton(this, "cmddeletebackups", QStyle::SP_TrashIcon);
    cmdpullbackbackups = pictureButton(this, "cmdpullbackbackups", QStyle::SP_ArrowDown);
    Label2 = caption(this, "Label2", QStringLiteral("Delete Backups"));
    Label1 = caption(this, "Label1", QStringLiteral("Pull Back Backups"));
    // The list a button opens loads its backups before it shows: the menu offers that wait's
    // Cancel meanwhile.
    waitpanel = new WaitPanel(this, {kRetrieving, kMenuDots}, WaitPanel::Cancel::AnyWait);
    lblrunning = waitpanel->label();
    lblrunning->setAlignment(Qt::AlignCenter);
    tmrreport = waitpanel->dots();
    // The hidden label's dots already run when a button shows it.
    tmrreport->start();

    auto* grid = new QGridLayout(Frame1);
    grid->addWidget(cmddeletebackups, 0, 0, Qt::AlignCenter);
    grid->addWidget(cmdpullbackbackups, 0, 1, Qt::AlignCenter);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(Label1, 1, 1);
    grid->addWidget(waitpanel, 2, 0, 1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);

    connect(cmddeletebackups, &QPushButton::clicked, this, &fmanagebackups::cmddeletebackups_Click);
    connect(cmdpullbackbackups, &QPushButton::clicked, this,
            &fmanagebackups::cmdpullbackbackups_Click);
}

void fmanagebackups::setButtons(bool shown, bool enabled) {
    for (QPushButton* b : {cmddeletebackups, cmdpullbackbackups}) {
        b->setVisible(shown);
        b->setEnabled(enabled);
    }
    Label1->setVisible(shown);
    Label2->setVisible(shown);
}

void fmanagebackups::openList(const QString& window) {
    waitpanel->showRunning(true);
    setButtons(false, false);
    openWindowOrTell(window, this);
    setButtons(true, true);
    waitpanel->showRunning(false);
}

void fmanagebackups::cmddeletebackups_Click() {
    openList(QStringLiteral("fdeletebackups"));
}

void fmanagebackups::cmdpullbackbackups_Click() {
    openList(QStringLiteral("fbringbackbackups"));
}

void fmanagebackups::listLoaded() {
    waitpanel->showRunning(false);
    for (QWidget* w :
         {static_cast<QWidget*>(cmddeletebackups), static_cast<QWidget*>(cmdpullbackbackups),
          static_cast<QWidget*>(Label1), static_cast<QWidget*>(Label2)})
        w->setVisible(true);
}

void fmanagebackups::enableButtons() {
    cmddeletebackups->setEnabled(true);
    cmdpullbackbackups->setEnabled(true);
}

}  // namespace quillon
