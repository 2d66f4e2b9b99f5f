#include "utilities/fhobiccall.h"

#include "common/CommonFunctions.h"
#include "common/Globals.h"
#include "common/Messages.h"
#include "common/SiteContext.h"
#include "common/SiteTargets.h"
#include "remote/ServerSteps.h"
#include "remote/ShellControl.h"
#include "reports/common/SelectionTable.h"
#include "utilities/TestCall.h"
#include "widgets/BusyPointer.h"
#include "widgets/KeyedPickList.h"
#include "widgets/NumericTextFilter.h"
#include "widgets/WaitPanel.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace quillon {

namespace {
constexpr int kNumberLength = 15;
const QString kNoExtension = QStringLiteral(
    "There is no extension to send a test call for: the extension table (ext.csv) of this site "
    "is empty or missing.");

QComboBox* makeBox(const char* name, const QString& tip, bool editable, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setEditable(editable);
    box->setToolTip(tip);
    return box;
}

// The label beside a box, standing for it (its buddy) and carrying the box's hint where the
// label has one too.
QLabel* label(const QString& text, const QString& tip, QWidget* box, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setToolTip(tip);
    l->setBuddy(box);
    return l;
}
}  // namespace

fhobiccall::fhobiccall(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("fhobiccall"));
    setWindowTitle(QStringLiteral("Test Call"));
    setModal(true);

    extensions = new KeyedPickList(this, QStringLiteral("cboext"), QStringLiteral("cboexthidden"));
    cboext = extensions->shown();
    cboexthidden = extensions->twin();
    const QString extTip = QStringLiteral("Choose a Guest Room Extension ");
    cboext->setToolTip(extTip);
    const QString typeTip = QStringLiteral(
        "VALID CALL TYPES ARE :  A = INTERSTATE    B = LONG DISTANCE IN STATE   L = LOCAL  F = "
        "FOREIGN");
    cbotype = makeBox("cbotype", typeTip, true, this);
    startdate = new QDateEdit(this);
    startdate->setObjectName(QStringLiteral("startdate"));
    startdate->setDisplayFormat(QStringLiteral("MM-dd-yy"));
    startdate->setCalendarPopup(true);
    starttime = new QTimeEdit(this);
    starttime->setObjectName(QStringLiteral("starttime"));
    starttime->setDisplayFormat(QStringLiteral("HH:mm"));
    const QString timeTip = QStringLiteral("Choose how long you want the call to be");
    cbotime = makeBox("cbotime", timeTip, false, this);
    const QString chargeTip = QStringLiteral("Choose how much you want the test call to cost");
    cbocharge = makeBox("cbocharge", chargeTip, false, this);
    txtnumber = new QLineEdit(this);
    txtnumber->setObjectName(QStringLiteral("txtnumber"));
    const QString numberTip = QStringLiteral("Enter phone number here no dash ");
    txtnumber->setToolTip(numberTip);
    cmdrun = new QPushButton(QStringLiteral("Send Call"), this);
    cmdrun->setObjectName(QStringLiteral("cmdrun"));
    cmdrun->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    form->addRow(label(QStringLiteral("Extension Number "), extTip, cboext, this), cboext);
    form->addRow(label(QStringLiteral("CALL TYPE"), typeTip, cbotype, this), cbotype);
    form->addRow(label(QStringLiteral("Call Date"), QString(), startdate, this), startdate);
    form->addRow(label(QStringLiteral("Call Time"), QString(), starttime, this), starttime);
    form->addRow(label(QStringLiteral("DURATION ( minutes )"), timeTip, cbotime, this), cbotime);
    form->addRow(label(QStringLiteral("CALL CHARGE"), chargeTip, cbocharge, this), cbocharge);
    form->addRow(label(QStringLiteral("Phone Number"), numberTip, txtnumber, this), txtnumber);
    layout->addLayout(form);
    layout->addWidget(cmdrun);
    layout->addWidget(new WaitPanel(this, WaitPanel::Cancel::AnyWait), 0, Qt::AlignRight);

    connect(txtnumber, &QLineEdit::textChanged, this, [this] { txtnumber_Change(); });
    connect(cmdrun, &QPushButton::clicked, this, &fhobiccall::cmdrun_Click);
    Form_Load();
}

void fhobiccall::Form_Load() {
    startdate->setDate(QDate::currentDate());
    // The window leaves the time to the user; the minute it opens is a call that could be.
    const QTime now = QTime::currentTime();
    starttime->setTime(QTime(now.hour(), now.minute()));
    cbotype->addItems(testCallTypes());
    cbotime->addItems({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"});
    cbocharge->addItems({"0.00", "0.01", "1.00", "2.00", "3.00", "4.00", "5.00"});
    cbocharge->setCurrentIndex(0);
    cbotime->setCurrentIndex(0);
    cbotype->setCurrentIndex(0);
    txtnumber->setMaxLength(kNumberLength);
    const SelectionTable table = loadSiteTable(QStringLiteral("ext.csv"), true);
    extensions->setEntries(table.entries);
    if (extensions->count() > 0) extensions->setCurrentIndex(0);
    table.tellProblem();
}

void fhobiccall::txtnumber_Change() {
    applyDigitsOnlyFilter(txtnumber);
}

void fhobiccall::cmdrun_Click() {
    ReentryGuard::Entry entry = m_sending.enter();
    if (!entry) return;
    if (extensions->currentIndex() < 0) {
        tell(kNoExtension, platform::Icon::Exclamation);
        return;
    }
    const TestCall call{extensions->currentKey(), cbotype->currentText(), startdate->date(),
                        starttime->time(),        cbotime->currentText(), cbocharge->currentText(),
                        txtnumber->text()};
    if (const QString problem = testCallProblem(call); !problem.isEmpty()) {
        tell(problem, platform::Icon::Exclamation);
        return;
    }
    G().g_ParamFileName = testCallFileName(GetPCName());
    const QStringList lines = testCallLines(call, G().g_ParamFileName);

    cmdrun->setEnabled(false);
    BusyPointer busy(this);
    QList<ServerStep> steps;
    for (const QString& line : lines) steps << ServerStep::checked(line);
    const StepsRun run =
        runServerSteps(shellRequestForSite(SiteContext::current().index(), SiteFolder::Home,
                                           kShellControl),
                       steps);
    const ServerFailure& failure = run.failure;
    // Whether the program may have taken the call up: its line went out and no status came back.
    // The checks above admit only what a line may hold, so it was not refused unsent.
    const bool maybeSent = run.failedStep == lines.size() - 1 && !run.status.has_value();
    busy.release();
    cmdrun->setEnabled(true);
    if (!failure.ok()) {
        WriteDebugLog(failure.text);
        if (toldCancelledWait(QStringLiteral("The test call"), failure)) return;
        // The window stays, so the user can send again; a call that may be on the server
        // already would be charged twice.
        tell(maybeSent ? QStringLiteral("The test call may have been sent: ") + failure.text +
                             QStringLiteral("\r\nCheck the server's calls before you send it "
                                            "again.")
                       : QStringLiteral("The test call was not sent: ") + failure.text,
             platform::Icon::Exclamation);
        return;
    }
    tell(QStringLiteral("The test call was sent."));
    entry.leave();
    done(QDialog::Accepted);
}


}  // namespace quillon
