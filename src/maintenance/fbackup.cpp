#include "maintenance/fbackup.h"

#include "common/CommonFunctions.h"
#include "common/Messages.h"
#include "common/ProgramClock.h"
#include "common/SiteContext.h"
#include "maintenance/BackupMenus.h"
#include "remote/ServerSteps.h"
#include "reports/common/ReportTable.h"
#include "widgets/WaitPanel.h"

#include <QDateEdit>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTimer>
#include <QVBoxLayout>

namespace quillon {

namespace {
const QString kBackupRunning = QStringLiteral("Backup Running");
}  // namespace

fbackup::fbackup(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("fbackup"));
    setWindowTitle(QStringLiteral("Backup"));
    setModal(true);

    auto* options = new QGroupBox(this);
    auto* optionRow = new QVBoxLayout(options);
    const QString texts[] = {QStringLiteral("All Calls In the System"),
                             QStringLiteral("Date Range")};
    for (int i = 0; i < 2; ++i) {
        Optdate[i] = new QRadioButton(texts[i], options);
        Optdate[i]->setObjectName(QStringLiteral("Optdate_%1").arg(i));
        optionRow->addWidget(Optdate[i]);
        connect(Optdate[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) Optdate_Click(i);
        });
    }

    startdate = new QDateEdit(this);
    startdate->setObjectName(QStringLiteral("startdate"));
    startdate->setCalendarPopup(true);
    enddate = new QDateEdit(this);
    enddate->setObjectName(QStringLiteral("enddate"));
    enddate->setCalendarPopup(true);
    for (QDateEdit* d : {startdate, enddate}) d->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
    Lblstartdate = new QLabel(QStringLiteral("Start Date"), this);
    Lblstartdate->setObjectName(QStringLiteral("Lblstartdate"));
    Label3 = new QLabel(QStringLiteral("End Date"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    connect(startdate, &QDateEdit::dateChanged, this, [this] { startdate_Change(); });

    cmdbackup = new QPushButton(QStringLiteral("Backup"), this);
    cmdbackup->setObjectName(QStringLiteral("cmdbackup"));
    cmdbackup->setAutoDefault(false);
    connect(cmdbackup, &QPushButton::clicked, this, &fbackup::cmdbackup_Click);
    waitpanel = new WaitPanel(this,
                              {kBackupRunning, ProgressLabel::kMostDots,
                               QStringLiteral("lblrunning"), QStringLiteral("tmrbackup")},
                              WaitPanel::Cancel::Offered);
    lblrunning = waitpanel->label();
    lblrunning->setText(kBackupRunning + QLatin1Char('.'));
    tmrbackup = waitpanel->dots();
    cmdcancelwait = waitpanel->cancelButton();
    lstCommands = new QListWidget(this);
    lstCommands->setObjectName(QStringLiteral("lstCommands"));
    lstCommands->setVisible(false);

    auto* dates = new QGridLayout;
    dates->addWidget(Lblstartdate, 0, 0);
    dates->addWidget(startdate, 0, 1);
    dates->addWidget(Label3, 1, 0);
    dates->addWidget(enddate, 1, 1);
    auto* run = new QHBoxLayout;
    run->addWidget(cmdbackup);
    run->addWidget(waitpanel, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(options);
    layout->addLayout(dates);
    layout->addLayout(run);

    Form_Load();
}

fbackup::~fbackup() = default;

void fbackup::Form_Load() {
    const QDate today = programNow().date();
    startdate->setDate(today.addDays(-30));
    Optdate[1]->setChecked(true);
    // The copies made with each backup land here.
    siteBackupsFolder(SiteContext::current().name());
    enddate->setDate(today);
}

void fbackup::Optdate_Click(int index) {
    if (index != 0 && index != 1) return;
    const bool range = index == 1;
    startdate->setEnabled(range);
    enddate->setEnabled(range);
    m_type = range ? kBackupRange : kBackupAll;
}

void fbackup::startdate_Change() {
    // The end of the range offers no day before its start.
    enddate->setMinimumDate(startdate->date());
}

QString fbackup::callPut() const {
    return callPutCommand(m_type, startdate->date(), enddate->date());
}

void fbackup::setRunning(bool running) {
    cmdbackup->setVisible(!running);
    cmdbackup->setEnabled(!running);
    for (QWidget* w : {static_cast<QWidget*>(Optdate[0]), static_cast<QWidget*>(Optdate[1])})
        w->setEnabled(!running);
    if (running) {
        startdate->setEnabled(false);
        enddate->setEnabled(false);
    } else {
        Optdate_Click(m_type == kBackupAll ? 0 : 1);
    }
    waitpanel->showRunning(running);
    cmdcancelwait->offerWhile(running, [this] { m_work.cancel(); });
}

void fbackup::cmdbackup_Click() {
    const ReentryGuard::Entry entry = m_guard.enter();
    if (!entry) return;
    const QString pc = GetPCName();
    if (!isPlainComputerName(pc)) {
        tell(QStringLiteral("This computer's name (%1) cannot name a backup on the server.")
                 .arg(pc.trimmed()),
             platform::Icon::Exclamation);
        return;
    }
    setRunning(true);
    lstCommands->clear();
    m_work.begin();
    const ServerFailure failure = backUp(pc);
    setRunning(false);
    if (!failure.ok()) {
        QString text = failure.code == kSessionCancelled ? cancelledWaitText(QStringLiteral("The backup"))
                                                         : failure.text;
        // The archive the server already holds is not lost to the user.
        if (!m_archive.isEmpty() && !text.contains(m_archive))
            text +=
                QStringLiteral("\r\n\r\nThe backup archive is on the server: %1").arg(m_archive);
        WriteDebugLog(text);
        if (failure.code == kSessionCancelled)
            tellCancelledWait(text);
        else
            tell(text, platform::Icon::Exclamation);
        return;
    }
    tell(QStringLiteral("BACKUP COMPLETE"));
    done(QDialog::Accepted);
}

ServerFailure fbackup::backUp(const QString& pc) {
    const SiteContext& site = SiteContext::current();
    const QString home = site.serverFolder();
    const QString backupFolder = site.serverFolder(true) + QLatin1Char('/');
    m_provisional.clear();
    m_archive.clear();

    ServerFailure f = m_work.openShell(SiteFolder::Home);
    // Named as the steps are: the connection's words alone do not say a backup failed.
    if (!f.ok())
        return {f.code, failureText(f, QStringLiteral("The backup could not be started")),
                f.line};
    f = m_work.run(backupPackSteps(home, callPut(), pc));
    if (!f.ok()) return f;
    // The server's own date named the archive; the scratch folder holds only this one.
    const LineResult packed = m_work.runCheckedLine(kListPackedArchive);
    if (!packed.ok())
        return {packed.failure.code,
                failureText(packed.failure, QStringLiteral("The packed archive was not found")),
                packed.failure.line};
    for (const QString& name : packed.reply.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        if (isProvisionalArchiveName(name.trimmed(), pc)) m_provisional = name.trimmed();
    if (m_provisional.isEmpty())
        return {kSessionFailed,
                QStringLiteral("The packed archive was not found in the scratch folder:\r\n") +
                    packed.reply.trimmed(),
                kListPackedArchive};
    f = m_work.run({backupMoveStep(home)});
    if (!f.ok()) return f;
    m_archive = backupFolder + m_provisional;
    // The names already taken: a backup never replaces another, also when the clock was set
    // back and gives a name again.
    const LineResult listed = m_work.runCheckedLine(backupFolderListLine(home));
    if (!listed.ok())
        return {
            listed.failure.code,
            failureText(listed.failure, QStringLiteral("The backup folder could not be listed")),
            listed.failure.line};
    QSet<QString> onServer;
    for (const QString& name : listed.reply.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        onServer.insert(name.trimmed());
    m_work.closeShell();
    WriteDebugLog(QStringLiteral("unloading form done backing up"));

    const QString base = siteBackupsFolder(site.name());
    if (base.isEmpty()) return {kSessionFailed, unusableSiteText(site.name(), 1), {}};
    const QDateTime now = programNow();
    const QString finalName =
        freeBackupArchiveName(now, pc, [&onServer, &base](const QString& name) {
            return onServer.contains(name) || onServer.contains(name + QStringLiteral(".info")) ||
                   FileExists(base + QLatin1Char('/') + name);
        });
    if (finalName.isEmpty())
        return {kSessionFailed,
                QStringLiteral("The backup could not be given a name: every name of the %1 "
                               "seconds from %2 is already a backup on the server or on this "
                               "computer.")
                    .arg(kBackupNameTries)
                    .arg(backupArchiveName(now, pc)),
                {}};
    BackupInfoRecord record{finalName,
                            backupCreatedDate(now.date()),
                            m_type,
                            backupPickerDate(startdate->date()),
                            backupPickerDate(enddate->date()),
                            pc};
    const QString local = base + QLatin1Char('/') + record.fileName;
    const ServerFailure fetched = m_work.fetch(m_archive, local);
    m_work.closeFiles();
    if (fetched.code == kSessionCancelled) return fetched;

    // Named and recorded on the server even when the copy failed: it can be brought back later.
    f = m_work.openShell(SiteFolder::Backup);
    if (!f.ok()) return f;
    const QList<ServerStep> steps = backupRecordSteps(m_provisional, record);
    f = m_work.run(steps.mid(0, kRecordNameSteps));
    if (f.ok()) {
        m_archive = backupFolder + record.fileName;
        f = m_work.run(steps.mid(kRecordNameSteps));
    }
    m_work.closeShell();
    if (!f.ok()) return f;
    if (!fetched.ok())
        return {fetched.code,
                failureText(fetched, QStringLiteral("The backup %1 is on the server but "
                                                    "could not be copied to this computer")
                                         .arg(record.fileName)),
                QString()};
    if (QFileInfo(local).size() <= 0)
        return {kSessionFailed,
                QStringLiteral("The copy of the backup on this computer is empty: %1").arg(local),
                QString()};
    return {};
}

void fbackup::cmdcancelwait_Click() {
    cmdcancelwait->cmdcancelwait_Click();
}


void fbackup::Form_Unload() {
    if (auto* menu = qobject_cast<Fbackuprestore*>(parentWidget())) menu->setButtonsEnabled(true);
}

void fbackup::done(int result) {
    Form_Unload();
    QDialog::done(result);
}

}  // namespace quillon
