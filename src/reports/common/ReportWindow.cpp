#include "reports/common/ReportWindow.h"

#include "common/CommonFunctions.h"
#include "common/Globals.h"
#include "common/Messages.h"
#include "common/SiteContext.h"
#include "common/TextFormats.h"
#include "reports/common/ReportHandOver.h"
#include "reports/common/ReportRun.h"
#include "widgets/ListPair.h"
#include "widgets/NumericTextFilter.h"
#include "widgets/SelectionList.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace quillon {

ReportWindow::ReportWindow(const ReportKind& kind, QString intervalMessage, QWidget* parent)
    : QDialog(parent), m_kind(kind), m_intervalMessage(std::move(intervalMessage)) {}

ReportWindow::~ReportWindow() = default;

QGroupBox* ReportWindow::buildDateFrame(const DateBlock& block) {
    m_dateBlock = block;
    Frame3 = new QGroupBox(QStringLiteral("Date/Time Options"), this);
    Frame3->setObjectName(QStringLiteral("Frame3"));
    auto* grid = new QGridLayout(Frame3);
    const char* captions[] = {"All Calls In the System", "Date Range", "Interval"};
    for (int i = 0; i < 3; ++i) {
        Optdate[i] = new QRadioButton(QString::fromLatin1(captions[i]), Frame3);
        Optdate[i]->setObjectName(QStringLiteral("Optdate_%1").arg(i));
        Optdate[i]->setVisible(i != 0 || block.allCalls);
        grid->addWidget(Optdate[i], i, 0);
        connect(Optdate[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) Optdate_Click(i);
        });
    }
    const auto dateEdit = [this](const char* name) {
        auto* e = new QDateEdit(Frame3);
        e->setObjectName(QString::fromLatin1(name));
        e->setDisplayFormat(QStringLiteral("MM-dd-yy"));
        e->setCalendarPopup(true);
        return e;
    };
    const auto timeEdit = [this](const char* name) {
        auto* e = new QTimeEdit(Frame3);
        e->setObjectName(QString::fromLatin1(name));
        e->setDisplayFormat(QStringLiteral("HH:mm"));
        return e;
    };
    startdate = dateEdit("startdate");
    enddate = dateEdit("enddate");
    starttime = timeEdit("starttime");
    endtime = timeEdit("endtime");
    const std::pair<const char*, QWidget*> pickers[] = {{"Start Date", startdate},
                                                        {"End Date", enddate},
                                                        {"Start Time", starttime},
                                                        {"End Time", endtime}};
    int row = 0;
    for (const auto& [caption, widget] : pickers) {
        auto* label = new QLabel(QString::fromLatin1(caption), Frame3);
        grid->addWidget(label, row, 1);
        grid->addWidget(widget, row, 2);
        const bool shown = row < 2 || block.times;
        label->setVisible(shown);
        widget->setVisible(shown);
        ++row;
    }
    txtinterval = new QLineEdit(Frame3);
    txtinterval->setObjectName(QStringLiteral("txtinterval"));
    grid->addWidget(txtinterval, 3, 0);
    connect(txtinterval, &QLineEdit::textChanged, this, &ReportWindow::txtinterval_Change);
    return Frame3;
}

QCheckBox* ReportWindow::buildPrinterBox(QWidget* parent, bool withToolTip) {
    chksendprinter = new QCheckBox(QStringLiteral("Send to Printer on Varnel Computer"), parent);
    chksendprinter->setObjectName(QStringLiteral("chksendprinter"));
    if (withToolTip)
        chksendprinter->setToolTip(
            QStringLiteral("This will print at your Varnel computer not at your Local Desktop"));
    return chksendprinter;
}

void ReportWindow::queuePrinterLine(ReportRequest& request) const {
    if (!chksendprinter->isChecked()) request.addOption(QStringLiteral("Z"));
}

void ReportWindow::queueSelectedItems(ReportRequest& request, SelectionList& selected,
                                      const QString& code) const {
    const QStringList keys = selected.keys();
    for (int i = 0; i < keys.size(); ++i) {
        selected.highlight(i);
        request.addItem(code, keys[i]);
        WriteDebugLog(QStringLiteral("adding ") + keys[i] +
                      QStringLiteral("  from lstItemHidden.Text"));
    }
}

QString ReportWindow::badParametersText() {
    return QStringLiteral("Bad paramters passed");
}

std::optional<QString> ReportWindow::listRefusal(const ReportRequest& request, ListPair& lists) {
    const int chosen = lists.selected().count();
    if (chosen == 0) return QStringLiteral("You Must ") + lists.lblreporttype[0]->text();
    if (request.lines().isEmpty()) return badParametersText();
    return std::nullopt;
}

bool ReportWindow::confirmBreakdownChange() {
    return ask(
        QStringLiteral("Are you sure you want to change how you are running the report?\r\n"),
        titles::kConfigureSites);
}

bool ReportWindow::takeBreakdownChange(ListPair& lists, QRadioButton* current) {
    if (lists.selected().count() == 0) return true;
    if (!confirmBreakdownChange()) {
        if (current) current->setChecked(true);
        return false;
    }
    lists.selected().clear();
    return true;
}

QWidget* ReportWindow::buildRunBox() {
    auto* box = new QWidget(this);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    Command1 = new QPushButton(QStringLiteral("RUN REPORT"), box);
    Command1->setObjectName(QStringLiteral("Command1"));
    connect(Command1, &QPushButton::clicked, this, &ReportWindow::Command1_Click);
    waitpanel = new WaitPanel(box, {QStringLiteral("Report Running")}, WaitPanel::Cancel::Offered);
    lblrunning = waitpanel->label();
    lblrunning->showInRed(true);
    tmrreport = waitpanel->dots();
    cmdcancelwait = waitpanel->cancelButton();
    layout->addWidget(Command1);
    layout->addWidget(waitpanel);
    return box;
}

void ReportWindow::setDefaultDateTimes(const QTime& start, const QTime& end) {
    const QDate today = QDate::currentDate();
    startdate->setDate(today);
    enddate->setDate(today);
    starttime->setTime(start);
    endtime->setTime(end);
}

void ReportWindow::noDefaultButtons() {
    for (QPushButton* b : findChildren<QPushButton*>()) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
}

void ReportWindow::Optdate_Click(int index) {
    m_dateChoice = index;
    const bool range = index == 1;
    for (QWidget* w : {static_cast<QWidget*>(startdate), static_cast<QWidget*>(enddate),
                       static_cast<QWidget*>(starttime), static_cast<QWidget*>(endtime)})
        w->setEnabled(range);
    txtinterval->setEnabled(index == 2);
}

void ReportWindow::txtinterval_Change() {
    applyNumericTextFilter(txtinterval);
}

bool ReportWindow::queueDatePart(ReportRequest& request) {
    switch (m_dateChoice) {
        case 0:
            request.addAllCalls();
            break;
        case 1:
            request.addDates(startdate->date(), enddate->date());
            if (m_dateBlock.times) request.addTimes(starttime->time(), endtime->time());
            break;
        case 2:
            if (!isNumberText(txtinterval->text())) {
                tell(m_intervalMessage);
                request.clear();
                return false;
            }
            request.addInterval(txtinterval->text());
            break;
        default:
            break;
    }
    return true;
}

ReportRequest ReportWindow::buildRequest() {
    ReportRequest request(ReportRequest::paramFileName(GetPCName(), m_kind));
    queueRequest(request);
    return request;
}

QString ReportWindow::programLine(const ReportRequest& request) const {
    return request.runCommand(m_kind, programMode());
}

void ReportWindow::setBusy(bool busy) {
    Command1->setEnabled(!busy);
    Command1->setVisible(!busy);
    waitpanel->showRunning(busy);
}

void ReportWindow::Command1_Click() {
    ReentryGuard::Entry running = m_running.enter();
    if (!running) return;
    logRunStarted();

    const QString pc = GetPCName();
    // A program that reads no request file leaves the name of the last one alone.
    if (m_kind.hasRequestFile()) G().g_ParamFileName = ReportRequest::paramFileName(pc, m_kind);
    G().g_ReportFileName = ReportRequest::reportFileName(pc, m_kind);
    lstCommands.clear();
    const QStringList problems = checksBeforeRun();
    if (!problems.isEmpty()) {
        for (const QString& problem : problems) tell(problem);
        return;
    }

    setBusy(true);
    ReportRequest request(ReportRequest::paramFileName(pc, m_kind));
    const QString runCommand = programLine(request);
    logRunCommandPrepared();

    queueRequest(request);
    lstCommands = request.lines();
    logBeforeGuard();
    if (const auto refused = refusal(request)) {
        setBusy(false);
        if (!refused->isEmpty()) tell(*refused);
        return;
    }

    WriteDebugLog(QStringLiteral("Item in list"));
    lstCommands << runCommand;
    const ReportRunResult result = ReportRun::run(lstCommands, G().g_ReportFileName,
                                                  SiteContext::current().index(),
                                                  G().g_BackupReportsMode, cmdcancelwait);
    running.leave();
    if (!result.ok()) {
        setBusy(false);
        const bool byUser = result.outcome == ReportRunResult::Outcome::Cancelled;
        tell(result.message, byUser ? platform::Icon::Information : platform::Icon::Critical);
        return;
    }
    // Only a run that went through says it is done.
    logRunDone();
    finishRun();
}

void ReportWindow::logRunStarted() {
    WriteDebugLog(QStringLiteral("RUNNING REPORT"));
}

void ReportWindow::logRunDone() {
    WriteDebugLog(QStringLiteral("DONE RUNNING REPORT"));
}

void ReportWindow::finishRun() {
    // The window is closed before the report is fetched, named and opened.
    accept();
    logBeforeHandOver();
    ReportHandOver::instance().executeBatFileForReport(m_kind.reportNumber, parentWidget());
}



}  // namespace quillon
