#include "utilities/frmprintjobs.h"

#include "common/CommonFunctions.h"
#include "common/Globals.h"
#include "common/Messages.h"
#include "common/ShellQuote.h"
#include "common/SiteContext.h"
#include "common/SiteTargets.h"
#include "common/TextFormats.h"
#include "platform/TextCodec.h"
#include "remote/ServerWork.h"
#include "utilities/PrintQueue.h"
#include "widgets/BusyPointer.h"
#include "widgets/ListPair.h"
#include "widgets/WaitPanel.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace quillon {

namespace {
const QString kControl = QStringLiteral("SSH1print");
const QString kRemoveAllQuestion =
    QStringLiteral("Are you sure you want delete all print jobs?") + kCrLf;
}  // namespace

frmprintjobs::frmprintjobs(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmprintjobs"));
    setWindowTitle(QStringLiteral("Remove print Jobs"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    auto* frame =
        new QGroupBox(QStringLiteral("Delete Print Jobs on the Call Accounting Computer"), this);
    auto* inner = new QVBoxLayout(frame);
    lists = new ListPair(frame);
    lists->setColumnHeaders(QStringLiteral("ID #"), QStringLiteral("Name of Print Job"));
    chkrmall = new QCheckBox(QStringLiteral("Remove all print jobs"), frame);
    chkrmall->setObjectName(QStringLiteral("chkrmall"));
    inner->addWidget(lists);
    inner->addWidget(chkrmall);
    layout->addWidget(frame);

    Command1 = new QPushButton(QStringLiteral("Delete Print Jobs"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setAutoDefault(false);
    waitpanel = new WaitPanel(this, {QStringLiteral("Deleting Print Jobs")},
                              WaitPanel::Cancel::AnyWait);
    lblrunning = waitpanel->label();
    lblrunning->showInRed(true, true);
    tmrreport = waitpanel->dots();
    layout->addWidget(Command1);
    layout->addWidget(waitpanel);

    connect(lists, &ListPair::moved, this, &frmprintjobs::updateCommand1);
    connect(chkrmall, &QCheckBox::toggled, this, [this] { chkrmall_Click(); });
    connect(Command1, &QPushButton::clicked, this, &frmprintjobs::Command1_Click);
    tmrreport->start();
    Form_Load();
}

frmprintjobs::~frmprintjobs() {
    Form_Unload();
}

void frmprintjobs::Form_Load() {
    Command1->setEnabled(false);
    const ReentryGuard::Entry entry = m_work.enter();
    BusyPointer busy(this);
    const int site = SiteContext::current().index();
    const QString login = G().g_SiteSSHUser[site];

    // The login names the listing's group and owner unquoted: only a plain account name may.
    QString problem;
    int problemCode = kSessionOk;
    if (!isPlainAccountName(login)) {
        problem =
            QStringLiteral("The site's shell login \"%1\" is not a plain account name.").arg(login);
    } else {
        ServerFailure failure;
        const std::unique_ptr<ServerShell> shell = ServerWork::instance().openShell(
            shellRequestForSite(site, SiteFolder::Login, kControl), failure);
        if (shell) {
            // The replies are the server's business; a line that never came back (its
            // deadline, a lost session) is not: the listing may be missing or an old one.
            for (const QString& line : printListingLines(login)) {
                const LineResult ran = shell->run(line);
                if (!ran.ok()) {
                    failure = ran.failure;
                    break;
                }
            }
            shell->close();
        }
        if (!failure.ok()) {
            problem = failure.text;
            problemCode = failure.code;
        }
    }

    const QString folder = siteDownloadFolder(SiteContext::current().name());
    if (folder.isEmpty() && problem.isEmpty())
        problem = unusableSiteText(SiteContext::current().name(), site);
    m_listing = folder.isEmpty() ? QString() : folder + QStringLiteral("/printjobs.rtf");
    m_rawListing = folder.isEmpty() ? QString() : folder + QStringLiteral("/printjobsunix.rtf");
    if (!folder.isEmpty()) {
        DeleteFileIfExists(m_listing);
        DeleteFileIfExists(m_rawListing);
    }

    if (problem.isEmpty()) {
        ServerFailure failure;
        const std::unique_ptr<ServerFiles> files =
            ServerWork::instance().openFiles(filesRequestForSite(site), failure);
        if (files) {
            failure = files->fetch(kPrintListing, m_rawListing);
            files->close();
        }
        if (!failure.ok()) WriteDebugLog(QStringLiteral("printjob.rtf: ") + failure.text);
        // A listing the server does not have is an empty queue; any other failure is not.
        if (!failure.ok() && !isMissingRemoteFile(failure)) {
            problem = failure.text;
            problemCode = failure.code;
        } else if (failure.ok() && !ConvertUnixFile(m_rawListing, m_listing))
            problem = QStringLiteral("the copy %1 could not be written.")
                          .arg(QDir::toNativeSeparators(m_listing));
    }

    QFile listing(m_listing);
    if (listing.open(QIODevice::ReadOnly))
        lists->load(parsePrintQueue(platform::fromCp1252(listing.readAll())));
    else
        lists->load({});
    busy.release();
    if (!problem.isEmpty() &&
        !toldCancelledWait(QStringLiteral("Reading the print queue"), problemCode))
        tell(QStringLiteral("The print queue could not be read: ") + problem,
             platform::Icon::Exclamation);
}

void frmprintjobs::updateCommand1() {
    Command1->setEnabled(lists->selected().count() > 0);
}

void frmprintjobs::chkrmall_Click() {
    if (!chkrmall->isChecked()) {
        lists->unselectAll();
        return;
    }
    if (!ask(kRemoveAllQuestion, titles::kConfigureSites)) {
        chkrmall->setChecked(false);  // its cleared branch
        return;
    }
    const bool any = lists->available().count() > 0;
    lists->selectAll();
    if (any) Command1->setEnabled(true);
}

void frmprintjobs::Command1_Click() {
    ReentryGuard::Entry entry = m_work.enter();
    if (!entry) return;
    if (lists->selected().count() == 0) {
        tell(QStringLiteral("No print jobs selected to be deleted"));
        return;
    }
    Command1->setEnabled(false);
    Command1->setVisible(false);
    // The chosen jobs stay as they are while they are removed.
    for (QWidget* w : {static_cast<QWidget*>(lists), static_cast<QWidget*>(chkrmall)})
        w->setEnabled(false);
    waitpanel->showRunning(true);

    WriteDebugLog(QStringLiteral("Item in list"));
    ServerFailure failure;
    QStringList notRemoved;
    int lastCode = kSessionOk;
    const std::unique_ptr<ServerShell> shell = ServerWork::instance().openShell(
        shellRequestForSite(SiteContext::current().index(), SiteFolder::Login, kControl), failure);
    if (shell) {
        for (const QString& id : lists->selected().keys()) {
            const QString line = printRemovalLine(id);
            const LineResult removed = shell->runChecked(line);
            if (!removed.ok()) {
                notRemoved << id + QStringLiteral(": ") + removed.failure.text;
                lastCode = removed.failure.code;
                if (!shell->isOpen()) break;
            }
        }
        shell->close();
    }
    entry.leave();
    const bool failed = !failure.ok() || !notRemoved.isEmpty();
    if (failed && toldCancelledWait(QStringLiteral("The removal"),
                                    failure.ok() ? lastCode : failure.code)) {
        // Told; the queue is shown afresh.
    } else if (!failure.ok())
        tell(QStringLiteral("No print job was removed: ") + failure.text,
             platform::Icon::Exclamation);
    else if (!notRemoved.isEmpty())
        tell(QStringLiteral("These print jobs were not removed:") + kCrLf + notRemoved.join(kCrLf),
             platform::Icon::Exclamation);
    done(QDialog::Accepted);
}

void frmprintjobs::Form_Unload() {
    if (m_unloaded) return;
    m_unloaded = true;
    tmrreport->stop();
    if (!m_listing.isEmpty()) DeleteFileIfExists(m_listing);
    if (!m_rawListing.isEmpty()) DeleteFileIfExists(m_rawListing);
}

void frmprintjobs::done(int result) {
    Form_Unload();
    QDialog::done(result);
}

}  // namespace quillon
