#include "startup/fgetdata.h"

#include "common/CommonFunctions.h"
#include "common/Globals.h"
#include "common/Messages.h"
#include "common/SiteContext.h"
#include "common/SiteTargets.h"
#include "common/TableMirror.h"
#include "remote/ServerWork.h"
#include "remote/TablePull.h"
#include "startup/ReportScripts.h"
#include "widgets/MainWindowPort.h"
#include "widgets/Timers.h"
#include "widgets/WaitPanel.h"

#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <functional>
#include <memory>

namespace quillon {

namespace {

const QString kConnecting = QStringLiteral("Connecting to ");

}  // namespace

fgetdata::fgetdata(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("fgetdata"));
    setWindowTitle(QString());
    setModal(true);

    waitpanel = new WaitPanel(this,
                              {QString(), ProgressLabel::kMostDots, QStringLiteral("lblgetdata"),
                               QStringLiteral("tmrgetdata")},
                              WaitPanel::Cancel::AnyWait);
    lblgetdata = waitpanel->label();
    lblgetdata->setMinimumWidth(320);
    lblgetdata->setVisible(true);
    tmrgetdata = waitpanel->dots();
    tmrNowLoad = makeTimer(this, QStringLiteral("tmrNowLoad"), 200, TimerShot::Single,
                           [this] { tmrNowLoad_Timer(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(waitpanel);

    Form_Load();
}

fgetdata::~fgetdata() = default;

void fgetdata::tellAndLog(const QString& text, int failureCode) {
    if (toldCancelledWait(QStringLiteral("Connecting"), failureCode)) {
        WriteDebugLog(text);
        return;
    }
    WriteDebugLog(text);
    tell(text, platform::Icon::Exclamation, titles::kVarnelReports);
}

void fgetdata::Form_Load() {
    m_site = SiteContext::current().name();
    m_index = G().g_CurSite;

    // The site name becomes a folder under the program folder, whose files are all deleted
    // below: a name that would lead elsewhere is refused before anything is touched.
    QString problem = siteNameProblem(m_site, m_index);
    if (problem.isEmpty() && (m_index < 0 || m_index >= G().g_SiteCount))
        problem = QStringLiteral("it is not in the site table.");
    const QString bats = siteTableFolder(m_site);
    if (problem.isEmpty() && !removeFolderLink(bats))
        problem = QStringLiteral("its folder %1 is a link that could not be removed.").arg(bats);
    if (!problem.isEmpty()) {
        m_refused = true;
        lblgetdata->setBaseText(kConnecting + m_site);
        tellAndLog(QStringLiteral("Unable to connect to site \"%1\": %2").arg(m_site, problem));
        QTimer::singleShot(0, this, [this] { QDialog::done(QDialog::Rejected); });
        return;
    }

    if (QFileInfo(bats).isDir()) {
        const QFileInfoList files =
            QDir(bats).entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
        for (const QFileInfo& file : files) {
            if (!QFile::remove(file.filePath()))
                WriteDebugLog(QStringLiteral("Unable to delete ") + file.filePath());
        }
    } else {
        QDir().mkpath(bats);
    }

    tmrgetdata->start();
    tmrNowLoad->start();
    lblgetdata->setBaseText(kConnecting + m_site);
    if (MainWindowPort* main = MainWindowPort::instance())
        main->setConnectedCaption(QStringLiteral("Connected to: ") + m_site);

    const QString download = sitePath(m_site, QStringLiteral("download"));
    DeleteFileIfExists(download + QStringLiteral("/usernames.use"));
    DeleteFileIfExists(download + QStringLiteral("/usernameunix.use"));
}

void fgetdata::tmrNowLoad_Timer() {
    if (m_done) return;
    ReentryGuard::Entry working = m_working.enter();
    if (!working) return;
    tmrNowLoad->stop();
    if (m_refused) {
        QDialog::done(QDialog::Rejected);
        return;
    }
    WriteDebugLog(QStringLiteral("tmrNowLoad_Timer fired"));

    if (MainWindowPort* main = MainWindowPort::instance()) {
        QString folder = m_site;
        folder.replace(QLatin1Char(' '), QLatin1Char('_'));
        main->setDownloadTip(QStringLiteral("Open \\download folder for ") + folder);
    }

    // The monitors were dropped when the site was chosen: they come back whatever the pull
    // did, and the main window tells of each one that cannot connect.
    pullTables();
    reconnectMonitors();

    WriteDebugLog(
        QStringLiteral("Done getting data Unloading connecting form and starting main form"));
    working.leave();
    m_done = true;
    tmrgetdata->stop();
    accept();
}

void fgetdata::pullTables() {
    ServerFailure failure;
    const std::unique_ptr<ServerShell> shell = ServerWork::instance().openShell(
        shellRequestForSite(m_index, SiteFolder::Login, QStringLiteral("wodSSHDOCSV")), failure);
    if (!shell) {
        tellAndLog(
            QStringLiteral("Unable to connect to %1: %2\r\n\r\nThe tables of this site were not "
                           "fetched.")
                .arg(m_site, failure.text),
            failure.code);
        return;
    }
    WriteDebugLog(QStringLiteral("wodSSHDOCSV connected"));

    const QString homedir = siteServerFolder(m_index);
    const LineResult cd = changeFolderAsWritten(*shell, homedir);
    bool written = cd.ok();
    if (!written) {
        tellAndLog(
            QStringLiteral("Unable to change to the folder %1 on %2: %3\r\n\r\nThe tables of "
                           "this site were not fetched.")
                .arg(homedir, m_site, cd.failure.text),
            cd.failure.code);
    } else if (const LineResult csv = shell->run(QStringLiteral("./do_csv.sh"), kDoCsvTimeoutSec);
               !csv.ok()) {
        written = false;
        tellAndLog(
            QStringLiteral("The server did not finish writing its tables (./do_csv.sh) within "
                           "%1 minutes: %2\r\n\r\nThe tables of %3 were not fetched; choose the "
                           "site again to retry.")
                .arg(kDoCsvTimeoutSec / 60)
                .arg(csv.failure.text, m_site),
            csv.failure.code);
    }

    // Without fresh server files the mirror stays empty rather than half old, half new.
    if (written) {
        WriteDebugLog(QStringLiteral("STARTING Getting CSV FILES"));
        const TableMirrorResult result = RefreshSiteTables(
            m_site, filesRequestForSite(G().g_CurSite), siteServerFolder(G().g_CurSite));
        WriteDebugLog(QStringLiteral("DONE Getting CSV FILES"));
        if (!result.ok) {
            QString text = QStringLiteral("Not every table of %1 could be fetched.").arg(m_site);
            if (!result.missing.isEmpty())
                text +=
                    QStringLiteral(" Missing: %1.").arg(result.missing.join(QStringLiteral(", ")));
            if (!result.error.isEmpty()) text += QStringLiteral("\r\n\r\n") + result.error;
            tellAndLog(text, result.code);
        }
    }
    shell->close();
}

void fgetdata::reconnectMonitors() {
    MainWindowPort* main = MainWindowPort::instance();
    // A monitor's connect (or its failure, which the main window tells the user) is waited
    // for a little longer than the connect's own deadline.
    const int deadlineMs = (G().g_FtpTimeout + 5) * 1000;
    WriteDebugLog(QStringLiteral(" About To Reconnect CALL Log"));
    G().g_CallLogState = QStringLiteral("RECONNECTING");
    if (main) main->reconnectMonitorAndWait(MainWindowPort::Monitor::CallLog, deadlineMs);
    WriteDebugLog(QStringLiteral("Done Connecting CALL LOG"));

    WriteDebugLog(QStringLiteral(" About To Reconnect PMS"));
    G().g_PmsState = QStringLiteral("RECONNECTING");
    if (main) main->reconnectMonitorAndWait(MainWindowPort::Monitor::Pms, deadlineMs);
    WriteDebugLog(QStringLiteral("Done Connecting PMS"));
}

void fgetdata::reject() {
    // From the load on the site is half switched (its table folder emptied, the monitors
    // dropped): closing before the work has run would leave it so (during the work the
    // program takes no input at all). Closing the window comes here too. The window closes
    // itself when the work is done.
    if (!m_done) return;
    QDialog::reject();
}

}  // namespace quillon
