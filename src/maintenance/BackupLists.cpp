#include "maintenance/BackupLists.h"

#include "common/CommonFunctions.h"
#include "common/Globals.h"
#include "common/Messages.h"
#include "common/SiteContext.h"
#include "maintenance/BackupMenus.h"
#include "platform/SaveFile.h"
#include "widgets/BusyPointer.h"
#include "widgets/MainWindowPort.h"
#include "widgets/NamedControls.h"
#include "widgets/ProgressLabel.h"
#include "widgets/SortableGrid.h"
#include "widgets/WaitPanel.h"

#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSet>
#include <QTimer>
#include <QVBoxLayout>

namespace quillon {

namespace {
constexpr int kListDots = 11;
// The lists' smallest sizes (3840 by 4000 twips; the delete list with its disk lists 6090 high).
constexpr int kListMinWidth = 256;
constexpr int kListMinHeight = 267;
constexpr int kDeleteMinHeight = 406;
const QString kNoBackupsToManage =
    QStringLiteral("There are no backups to manage on the call accounting server!");

// Lists the server afresh into the grid (a tick column in front when asked) and tells what the
// user must know: a failure, records left out, an empty list.
FetchedListing loadListing(SortableGrid* grid, bool ticks, bool withDiskSpace,
                           const QString& lastTitle, const QString& emptyText) {
    grid->clear();
    // A site whose name cannot name a folder has no local listing: told as it is, nothing sent.
    if (const QString refused = unusableSiteText(SiteContext::current().name(), -1);
        !refused.isEmpty()) {
        tell(refused, platform::Icon::Exclamation);
        FetchedListing none;
        none.failure = {kSessionFailed, refused, QString()};
        return none;
    }
    FetchedListing fetched = fetchBackupListing(withDiskSpace);
    WriteDebugLog(QStringLiteral("Loading Line Grid"));
    QList<QStringList> rows;
    for (const BackupInfoRecord& r : fetched.listing.records) {
        QStringList row = BackupListRow(r);
        if (ticks) row.prepend(QString());
        rows << row;
    }
    grid->load(ticks ? tickListTitles(lastTitle) : restoreListTitles(), rows);
    grid->setTickColumn(ticks ? 0 : -1);
    if (fetched.listing.present) WriteDebugLog(QStringLiteral("Done Loading Line Grid"));
    grid->AutoSizeGrid();
    if (!fetched.failure.ok()) {
        WriteDebugLog(fetched.failure.text);
        if (toldCancelledWait(QStringLiteral("The list"), fetched.failure)) return fetched;
        tell(QStringLiteral("The list of backups could not be fetched from the server.\r\n\r\n") +
                 fetched.failure.text,
             platform::Icon::Exclamation);
        return fetched;
    }
    if (const QString refused = refusedRecordsText(fetched.listing); !refused.isEmpty())
        tell(refused, platform::Icon::Exclamation);
    if (rows.isEmpty()) tell(emptyText);
    return fetched;
}
}  // namespace

// ---- frestore --------------------------------------------------------------------------------

frestore::frestore(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frestore"));
    setWindowTitle(QStringLiteral("Restore Calls "));
    setModal(true);
    setMinimumSize(kListMinWidth, kListMinHeight);

    MSFlexGrid1 = new SortableGrid(this);
    MSFlexGrid1->setObjectName(QStringLiteral("MSFlexGrid1"));
    connect(MSFlexGrid1, &SortableGrid::rowDoubleClicked, this, &frestore::MSFlexGrid1_DblClick);
    Label1 = new QLabel(QStringLiteral("Double click on the backup you want to restore"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Command1 = namedButton(this, "Command1", QStringLiteral("&Restore"));
    cmdcancel = namedButton(this, "cmdcancel", QStringLiteral("&Cancel"));
    waitpanel = new WaitPanel(this, {QStringLiteral("Restoring Calls"), kListDots}, WaitPanel::Cancel::Offered);
    lblrunning = waitpanel->label();
    tmrreport = waitpanel->dots();
    cmdcancelwait = waitpanel->cancelButton();
    connect(Command1, &QPushButton::clicked, this, &frestore::Command1_Click);
    connect(cmdcancel, &QPushButton::clicked, this, &frestore::cmdcancel_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command1);
    buttons->addWidget(cmdcancel);
    buttons->addWidget(waitpanel, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(MSFlexGrid1, 1);
    layout->addLayout(buttons);

    Form_Load();
}

frestore::~frestore() = default;

void frestore::Form_Load() {
    loadListing(MSFlexGrid1, false, false, QString(),
                QStringLiteral("There are no backups to restore on the call accounting server!"));
}

void frestore::setBusy(bool busy) {
    MSFlexGrid1->setEnabled(!busy);
    MSFlexGrid1->setVisible(!busy);
    Label1->setEnabled(!busy);
    Label1->setVisible(!busy);
    // A second restore is refused while one runs.
    Command1->setEnabled(!busy);
    cmdcancel->setEnabled(!busy);
    waitpanel->showRunning(busy);
    cmdcancelwait->offerWhile(busy, [this] { m_work.cancel(); });
}

void frestore::Command1_Click() {
    const ReentryGuard::Entry entry = m_guard.enter();
    if (!entry) return;
    const int row = MSFlexGrid1->currentRow();
    if (row == 0) {
        tell(QStringLiteral("Click on the backup you want to restore first."));
        return;
    }
    const QString name = MSFlexGrid1->cell(row, 0);
    const QString pc = GetPCName();
    if (!isBackupArchiveName(name) || !isPlainComputerName(pc)) {
        tell(QStringLiteral("%1 cannot be restored from this computer.").arg(name),
             platform::Icon::Exclamation);
        return;
    }
    if (!ask(QStringLiteral("Restore %1?").arg(name))) return;

    G().g_SelectedRow = row;
    setBusy(true);
    m_work.begin();
    const QList<ServerStep> steps =
        restoreSteps(name, pc, G().g_SiteSSHUser[SiteContext::current().index()]);
    int failedStep = -1;
    ServerFailure f = m_work.openShell(SiteFolder::Backup);
    if (f.ok()) f = m_work.run(steps, &failedStep);
    m_work.closeShell();
    setBusy(false);
    if (!f.ok()) {
        WriteDebugLog(f.text);
        QString text =
            f.code == kSessionCancelled
                ? cancelledWaitText(QStringLiteral("The restore"))
                : QStringLiteral("The backup %1 was not restored.\r\n\r\n").arg(name) + f.text;
        // Once the tables were removed, reports on the backup would run on missing or half
        // unpacked tables.
        int removal = -1;
        for (int i = 0; i < steps.size() && removal < 0; ++i)
            if (steps.at(i).line == kRemoveTablesLine) removal = i;
        if (G().g_BackupReportsMode && failedStep >= removal && removal >= 0) {
            G().g_BackupReportsMode = false;
            if (MainWindowPort* port = MainWindowPort::instance())
                port->showBackupReportsMode(false);
            text += QStringLiteral(
                "\r\n\r\nReports on a restored backup are switched off: the restore had already "
                "removed the backup folder's tables, so reports there would run on missing or "
                "partly restored tables.");
        }
        if (f.code == kSessionCancelled)
            tellCancelledWait(text);
        else
            tell(text, platform::Icon::Exclamation);
        return;
    }

    QWidget* menu = parentWidget();
    done(QDialog::Accepted);
    if (auto* backupMenu = qobject_cast<Fbackuprestore*>(menu)) backupMenu->done(QDialog::Accepted);
    const bool onBackup =
        ask(QStringLiteral("Do you want to run reports on the backup you just restored?\r\n"),
            titles::kConfigureSites);
    G().g_BackupReportsMode = onBackup;
    if (MainWindowPort* port = MainWindowPort::instance()) port->showBackupReportsMode(onBackup);
}

void frestore::MSFlexGrid1_DblClick() {
    Command1_Click();
}

void frestore::cmdcancel_Click() {
    done(QDialog::Rejected);
}

void frestore::cmdcancelwait_Click() {
    cmdcancelwait->cmdcancelwait_Click();
}



// ---- the ticked lists ------------------------------------------------------------------------

BackupTickList::BackupTickList(TickListSetup setup, QWidget* parent)
    : QDialog(parent), m_setup(std::move(setup)) {
    setObjectName(m_setup.window);
    setWindowTitle(m_setup.caption);
    setModal(true);
    setMinimumSize(kListMinWidth, m_setup.withDiskSpace ? kDeleteMinHeight : kListMinHeight);

    MSFlexGrid1 = new SortableGrid(this);
    MSFlexGrid1->setObjectName(QStringLiteral("MSFlexGrid1"));
    Label1 = new QLabel(m_setup.hint, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Command1 = namedButton(this, "Command1", QStringLiteral("RUN"));
    cmdcancel = namedButton(this, "cmdcancel", QStringLiteral("&Cancel"));
    waitpanel = new WaitPanel(this, {QStringLiteral("PROCESSING"), kListDots}, WaitPanel::Cancel::Offered);
    lblrunning = waitpanel->label();
    tmrreport = waitpanel->dots();
    cmdcancelwait = waitpanel->cancelButton();
    tmrreport->start();
    connect(Command1, &QPushButton::clicked, this, &BackupTickList::Command1_Click);
    connect(cmdcancel, &QPushButton::clicked, this, &BackupTickList::cmdcancel_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command1);
    buttons->addWidget(cmdcancel);
    buttons->addWidget(waitpanel, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(MSFlexGrid1, 1);
    layout->addLayout(buttons);
}

BackupTickList::~BackupTickList() = default;

void BackupTickList::Form_Load() {
    const FetchedListing fetched = loadListing(MSFlexGrid1, true, m_setup.withDiskSpace,
                                               QStringLiteral("Created On"), kNoBackupsToManage);
    // The menu's running text stops whatever the list holds.
    if (auto* menu = qobject_cast<fmanagebackups*>(parentWidget())) menu->listLoaded();
    showDisks(fetched.disks);
}

QStringList BackupTickList::tickedNames() const {
    QStringList names;
    for (int row : MSFlexGrid1->tickedRows()) names << MSFlexGrid1->cell(row, 1);
    return names;
}

void BackupTickList::setBusy(bool busy) {
    MSFlexGrid1->setEnabled(!busy);
    for (QPushButton* b : {Command1, cmdcancel}) {
        b->setEnabled(!busy);
        b->setVisible(!busy);
    }
    lblrunning->setVisible(busy);
    cmdcancelwait->offerWhile(busy, [this] { m_work.cancel(); });
    if (busy) tmrreport->start();
}

void BackupTickList::Command1_Click() {
    const ReentryGuard::Entry entry = m_guard.enter();
    if (!entry) return;
    QStringList names = tickedNames();
    if (names.isEmpty()) {
        tell(QStringLiteral("No backups selected"));
        return;
    }
    if (!confirmed()) return;
    setBusy(true);
    m_work.begin();
    const QString message = runOn(names);
    setBusy(false);
    tmrreport->stop();
    if (auto* menu = qobject_cast<fmanagebackups*>(parentWidget())) menu->enableButtons();
    done(QDialog::Accepted);
    if (m_work.cancelled())
        tellCancelledWait(message);
    else
        tell(message);
}

void BackupTickList::cmdcancel_Click() {
    done(QDialog::Rejected);
}

void BackupTickList::cmdcancelwait_Click() {
    cmdcancelwait->cmdcancelwait_Click();
}



// ---- fdeletebackups --------------------------------------------------------------------------

fdeletebackups::fdeletebackups(QWidget* parent)
    : BackupTickList({QStringLiteral("fdeletebackups"), QStringLiteral("Delete Backups"),
                      QStringLiteral("Click on the box under select for the backups you want to "
                                     "delete"),
                      true},
                     parent) {
    Label2 = new QLabel(QStringLiteral("HD Size        Space Remaining  "), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    lstdiskspace = new QListWidget(this);
    lstdiskspace->setObjectName(QStringLiteral("lstdiskspace"));
    lstused = new QListWidget(this);
    lstused->setObjectName(QStringLiteral("lstused"));
    auto* disks = new QGridLayout;
    disks->addWidget(Label2, 0, 0, 1, 2);
    disks->addWidget(lstdiskspace, 1, 0);
    disks->addWidget(lstused, 1, 1);
    for (QListWidget* l : {lstdiskspace, lstused}) l->setMaximumHeight(80);
    static_cast<QVBoxLayout*>(layout())->insertLayout(2, disks);
    Form_Load();
}

void fdeletebackups::showDisks(const QList<DiskSpace>& disks) {
    for (const DiskSpace& d : disks) {
        lstdiskspace->addItem(d.size);
        lstused->addItem(d.remaining);
    }
}

bool fdeletebackups::confirmed() {
    return ask(QStringLiteral("Are you sure you want to delete the backup you selected?\r\n"),
               titles::kConfigureSites);
}

QString fdeletebackups::runOn(const QStringList& names) {
    ServerFailure f = m_work.openShell(SiteFolder::Backup);
    QStringList failures;
    if (f.ok()) {
        for (const QString& name : names) {
            // The list holds archive names only; a name is checked again before it meets rm.
            if (!isBackupArchiveName(name)) continue;
            f = m_work.run(deleteSteps(name));
            if (f.code == kSessionCancelled) break;
            if (!f.ok()) failures << f.text;
            if (!m_work.shellOpen()) break;
        }
    }
    // What is still there is what was not deleted.
    QSet<QString> present;
    bool listed = false;
    if (f.code != kSessionCancelled && m_work.shellOpen()) {
        const LineResult ls = m_work.runCheckedLine(kListBackupFolder);
        listed = ls.ok();
        for (const QString& line : ls.reply.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            present.insert(line.trimmed());
        if (!ls.ok() && f.ok()) f = ls.failure;
    }
    m_work.closeShell();

    QStringList kept;
    for (const QString& name : names)
        if (!listed || present.contains(name) || present.contains(name + QStringLiteral(".info")))
            kept << name;
    if (kept.isEmpty()) return QStringLiteral("File(s) Deleted");
    QString text =
        QStringLiteral("These backups were not deleted:\r\n") + kept.join(QStringLiteral("\r\n"));
    if (f.code == kSessionCancelled)
        text += QStringLiteral("\r\n\r\n") + cancelledWaitText(QStringLiteral("The deletion"));
    else if (!failures.isEmpty())
        text += QStringLiteral("\r\n\r\n") + failures.join(QStringLiteral("\r\n\r\n"));
    else if (!f.ok())
        text += QStringLiteral("\r\n\r\n") + f.text;
    return text;
}

// ---- fbringbackbackups -----------------------------------------------------------------------

fbringbackbackups::fbringbackbackups(QWidget* parent)
    : BackupTickList({QStringLiteral("fbringbackbackups"), QStringLiteral("Bring Back Backups"),
                      QStringLiteral("Click on the box under select for the backups you want to "
                                     "bring back to your local machine"),
                      false},
                     parent) {
    Form_Load();
}

QString fbringbackbackups::runOn(const QStringList& names) {
    const SiteContext& site = SiteContext::current();
    const QString base = siteBackupsFolder(site.name());
    if (base.isEmpty()) return unusableSiteText(site.name(), 1);
    const QString folder = base + QLatin1Char('/');
    const QString remote = site.serverFolder(true) + QLatin1Char('/');
    QStringList results;
    bool allCopied = true;
    for (const QString& name : names) {
        // Only an archive name becomes a file of the download folder (no folder, no "..").
        if (!isBackupArchiveName(name)) continue;
        const QString local = folder + name;
        if (FileExists(local) &&
            !ask(QStringLiteral("%1 is already on this computer.\r\nReplace it?").arg(local))) {
            results
                << QStringLiteral("%1: not copied; the copy on this computer is kept").arg(name);
            allCopied = false;
            continue;
        }
        // The old copy stays until the new one is whole, and is replaced in one step; a new copy
        // that cannot take its place is kept under its download name.
        const QString part = local + QStringLiteral(".download");
        ServerFailure f = m_work.fetch(remote + name, part);
        QString why;
        if (f.ok() && !platform::replaceFile(part, local, &why)) {
            f = {kSessionFailed,
                 QStringLiteral(
                     "%1 could not be replaced (%2); the copy brought back is kept as %3.")
                     .arg(QDir::toNativeSeparators(local), why, QDir::toNativeSeparators(part)),
                 {}};
            results << QStringLiteral("%1: not copied: %2").arg(name, f.text);
            allCopied = false;
            continue;
        }
        QFile::remove(part);
        if (f.ok()) {
            results << QStringLiteral("%1: copied").arg(name);
            continue;
        }
        allCopied = false;
        results << QStringLiteral("%1: not copied: %2")
                       .arg(name, f.code == kSessionCancelled
                                      ? cancelledWaitText(QStringLiteral("The copy"))
                                      : f.text);
        if (f.code == kSessionCancelled) break;
    }
    m_work.closeFiles();
    if (allCopied) return QStringLiteral("File(s)Copied");
    return results.join(QStringLiteral("\r\n"));
}

}  // namespace quillon
