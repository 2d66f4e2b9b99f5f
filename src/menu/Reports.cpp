#include "menu/Reports.h"

#include "common/CommonFunctions.h"
#include "common/Globals.h"
#include "common/Messages.h"
#include "common/ProgramClock.h"
#include "common/SiteContext.h"
#include "menu/ReportList.h"
#include "platform/DocumentViewer.h"
#include "rates/PricingReport.h"
#include "remote/FetchFile.h"
#include "remote/ServerWork.h"
#include "remote/ShellControl.h"
#include "reports/common/ReportRetrieval.h"
#include "reports/common/ReportTable.h"
#include "widgets/BusyPointer.h"
#include "widgets/WaitPanel.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillon {

namespace {

const QString kCallCostSuffix = QStringLiteral("_CCAL.rtf");

}  // namespace

Reports::Reports(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Reports"));
    setWindowTitle(QStringLiteral("Pull Back Last Reports Ran"));

    Label1 = new QLabel(QStringLiteral("Double click on the report you want to view"));
    Label1->setObjectName(QStringLiteral("Label1"));
    lstDivision = new QListWidget;
    lstDivision->setObjectName(QStringLiteral("lstDivision"));
    cmdcancel = new QPushButton(QStringLiteral("&Cancel"));
    cmdcancel->setObjectName(QStringLiteral("cmdcancel"));
    cmdcancel->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdcancel);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(lstDivision, 1);
    layout->addLayout(buttons);
    layout->addWidget(new WaitPanel(this, WaitPanel::Cancel::AnyWait), 0, Qt::AlignRight);
    // 3840 by 4000 twips: the window snaps back to this when made smaller; the layout keeps
    // the list filling it with the button centred below.
    setMinimumSize(256, 267);

    connect(lstDivision, &QListWidget::itemDoubleClicked, this, &Reports::lstDivision_DblClick);
    connect(cmdcancel, &QPushButton::clicked, this, &Reports::cmdcancel_Click);

    Form_Load();
}

Reports::~Reports() {
    if (!m_unloaded) {
        m_unloaded = true;
        Form_Unload();
    }
}

QString Reports::siteName() const {
    return SiteContext::current().name();
}

int Reports::siteIndex() const {
    return SiteContext::current().index();
}

QString Reports::serverFolder() const {
    return SiteContext::current().serverFolder(G().g_BackupReportsMode);
}

void Reports::Form_Load() {
    lstDivision->clear();
    const int site = siteIndex();
    const auto notMade = [](const ServerFailure& failure) {
        if (toldCancelledWait(QStringLiteral("The list of reports"), failure)) return;
        tell(QStringLiteral("The list of reports could not be made on the server.\r\n\r\n") +
                 failure.text,
             platform::Icon::Critical, titles::kVarnelReports);
    };

    // Opened in the report folder: were the change of folder to fail, the list would be made
    // of another folder.
    ServerFailure failure;
    const std::unique_ptr<ServerShell> shell = ServerWork::instance().openShell(
        shellRequestForSite(site, G().g_BackupReportsMode ? SiteFolder::Backup : SiteFolder::Home,
                            kShellControl),
        failure);
    if (!shell) {
        notMade(failure);
        return;
    }
    for (const QString& line : reportListLines(shellTargetForSite(site).login)) {
        if (const LineResult r = shell->run(line); !r.ok()) {
            shell->close();
            notMade(r.failure);
            return;
        }
    }

    m_shell = shell.get();
    const bool fetched = getreportfilelist(QString());
    m_shell = nullptr;

    QStringList names;
    if (fetched &&
        readReportList(siteReportsFolder(siteName()) + QStringLiteral("/reports.txt"), &names))
        lstDivision->addItems(names);
    shell->close();
}

bool Reports::getreportfilelist(const QString&) {
    const QString folder = siteReportsFolder(siteName());
    removeEverySpelling(folder, QStringLiteral("reports.txt"));
    removeEverySpelling(folder, QStringLiteral("reportsunix.txt"));
    const QString unixList = folder + QStringLiteral("/reportsunix.txt");

    // Where the shell lines wrote it: the site's server folder (or its backup folder), which
    // need not be the file-transfer login's start folder, where an old list may lie.
    const QString remote = serverFolder() + QStringLiteral("/reports.txt");
    if (!G().g_BackupReportsMode && m_shell && m_shell->isOpen()) {
        // The shell is already there; the system changes to the folder once more all the same.
        m_shell->changeFolder(serverFolder());
    }
    QString error;
    if (!fetchRemoteFile(filesRequestForSite(siteIndex()), remote, unixList, &error)) {
        tell(QStringLiteral("The list of reports could not be brought back from the "
                            "server.\r\n\r\n") +
                 error,
             platform::Icon::Critical, titles::kVarnelReports);
        return false;
    }
    const bool converted = ConvertUnixFile(unixList, folder + QStringLiteral("/reports.txt"));
    DeleteFileIfExists(unixList);
    if (!converted) {
        tell(QStringLiteral("The list of reports could not be written to %1.")
                 .arg(QDir::toNativeSeparators(folder)),
             platform::Icon::Critical, titles::kVarnelReports);
        return false;
    }
    return true;
}

void Reports::lstDivision_DblClick() {
    QListWidgetItem* item = lstDivision->currentItem();
    if (!item) return;
    const QString name = item->text().trimmed();
    const QString site = siteName().trimmed();
    const int index = siteIndex();

    lstDivision->setEnabled(false);
    BusyPointer busy(this);
    const QString siteFolder = siteLocalFolder(site);
    if (siteFolder.isEmpty()) {
        lstDivision->setEnabled(true);
        busy.release();
        tell(unusableSiteText(site, index), platform::Icon::Exclamation, titles::kVarnelReports);
        return;
    }
    const QString fetchedPath = siteFolder + QLatin1Char('/') + name;
    // A copy left from an earlier run must never be shown as the one fetched now.
    removeEverySpelling(siteFolder, name);
    // The listed report of the listed folder, not a report of that name elsewhere.
    const QString remote = serverFolder() + QLatin1Char('/') + name;
    QString error;
    const bool fetched = fetchRemoteFile(filesRequestForSite(index), remote, fetchedPath, &error);
    lstDivision->setEnabled(true);
    busy.release();
    // One opening brings back one report; the rest goes on without the window.
    reject();

    if (!fetched) {
        tellNotBroughtBack(remote, error);
        return;
    }
    WriteDebugLog(QStringLiteral("STARTING RENAME"));
    const SavedReport saved = saveFetchedReport(fetchedPath, siteReportsFolder(site),
                                                proposedReportName(name, programNow()));
    if (saved.outcome == SavedReport::Cancelled) return;
    if (saved.outcome == SavedReport::Failed) {
        tell(saved.error, platform::Icon::Critical, titles::kVarnelReports);
        return;
    }

    // Exactly this ending: a name in other letter case keeps the raw answer.
    if (saved.path.endsWith(kCallCostSuffix)) {
        // The answer is read whole before the report replaces it in one step, so it needs no
        // copy aside, and a report that cannot be written leaves the answer as it came.
        QString why;
        if (WritePricingReport(saved.path, saved.path, programNow(), &why) != 0)
            tell(QStringLiteral("The call-cost answer could not be turned into a pricing "
                                "report.\r\n\r\n%1\r\n\r\nThe answer is kept as it came in %2.")
                     .arg(why, QDir::toNativeSeparators(saved.path)),
                 platform::Icon::Critical, titles::kVarnelReports);
    }
    WriteDebugLog(QStringLiteral("BRING UP REPORT IN WORDPAD"));
    platform::DocumentViewer::instance().open(saved.path);
    QCoreApplication::processEvents();
}

void Reports::cmdcancel_Click() {
    reject();
}

void Reports::Form_Unload() {
    G().g_PullErrors = true;
}

void Reports::done(int result) {
    if (!m_unloaded) {
        m_unloaded = true;
        Form_Unload();
    }
    QDialog::done(result);
}

}  // namespace quillon
