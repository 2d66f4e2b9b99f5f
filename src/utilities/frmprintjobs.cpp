#include "utilities/frmprintjobs.h"

#include "common/CommonFunctions.h"
#include "common/Messages.h"
#include "common/SiteContext.h"
#include "common/TextFormats.h"
#include "utilities/PrintQueueWork.h"
#include "widgets/BusyPointer.h"
#include "widgets/ListPair.h"
#include "widgets/WaitPanel.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace quillon {

namespace {
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
    const PrintQueueRead read =
        readPrintQueue(SiteContext::current().index(), SiteContext::current().name());
    m_listing = read.listing;
    m_rawListing = read.rawListing;
    lists->load(read.jobs);
    busy.release();
    if (!read.told.isEmpty() && !toldCancelledWait(QStringLiteral("Reading the print queue"), read.code))
        tell(read.told, platform::Icon::Exclamation);
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
    const PrintJobsRemoval removal =
        removePrintJobs(SiteContext::current().index(), lists->selected().keys());
    entry.leave();
    if (!removal.told.isEmpty() && !toldCancelledWait(QStringLiteral("The removal"), removal.code))
        tell(removal.told, platform::Icon::Exclamation);
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
