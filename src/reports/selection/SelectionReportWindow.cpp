#include "reports/selection/SelectionReportWindow.h"

#include "common/CommonFunctions.h"
#include "common/Messages.h"
#include "reports/common/SelectionTable.h"
#include "widgets/KeyUpFilter.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace quillon {

namespace {
const char* const kAllBoxNames[] = {"chkline", "chkext", "chkdpt", "chkdiv"};
const QString kAllExtKey = QStringLiteral("0");
const QString kAllExtText = QStringLiteral("ALL EXT");

}  // namespace

const QList<ReportOption>& reportOptions() {
    static const QList<ReportOption> options{
        {"O", "chkpostcalls", "Do Not Post Calls", true,
         "If you change this flag you will clear all your calls for this report"},
        {"A", "chklivecalls", "Show Posted calls ", true, {}},
        // The frame's printer box.
        {"Z", "chksendprinter", {}, false, {}},
        {"G8", "chk800peg", "800 Call Summary", true, {}},
        {"G9", "chk900peg", "900 Call Summary", true, {}},
        {"GI", "chkincomingpeg", "Incoming Call Summary", true, {}},
        {"K", "chkpagebreak", "No Page Break", true, {}},
        {"GA", "chkallpeg", "Total Call Summary", true, {}},
        {"V", "chkcompactver", "Compact Version", false, {}},
        {"GL", "chklongdistancepeg", "Long Distance Call Summary ", true, {}},
        {"GC", "chklocalpeg", "Local Call Summary", true, {}},
    };
    return options;
}

SelectionReportWindow::SelectionReportWindow(SelectionWindowSetup setup, QWidget* parent)
    : ReportWindow(setup.kind, setup.intervalMessage, parent), m_setup(std::move(setup)) {
    setWindowTitle(m_setup.caption);

    Frame1 = new QGroupBox(QStringLiteral("Report Breakdown"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    m_breakdown = new QGridLayout(Frame1);
    for (int i = 0; i < 4; ++i) {
        const ReportTypeRow& row = m_setup.types[i];
        const bool offered = !row.table.isEmpty();
        Optreporttype[i] = new QRadioButton(row.caption, Frame1);
        Optreporttype[i]->setObjectName(QStringLiteral("Optreporttype_%1").arg(i));
        allBoxes[i] = new QCheckBox(QStringLiteral("ALL"), Frame1);
        allBoxes[i]->setObjectName(QString::fromLatin1(kAllBoxNames[i]));
        Optreporttype[i]->setVisible(offered);
        allBoxes[i]->setVisible(offered);
        m_breakdown->addWidget(Optreporttype[i], i, 0);
        m_breakdown->addWidget(allBoxes[i], i, 1);
        connect(Optreporttype[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) Optreporttype_Click(i);
        });
        connect(allBoxes[i], &QCheckBox::toggled, this, [this, i] { allBox_Click(i); });
    }

    adoptListPair(new ListPair(Frame1));
    m_breakdown->addWidget(lists, 0, 2, 5, 1);

    Frame2 = new QGroupBox(m_setup.optionsFrameCaption, this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    auto* optionGrid = new QGridLayout(Frame2);
    int n = 0;
    for (const ReportOption& o : reportOptions()) {
        if (!m_setup.options.contains(o.letter)) continue;
        QCheckBox* box;
        if (o.name == QLatin1String("chksendprinter")) {
            box = buildPrinterBox(Frame2, m_setup.chksendprinterTip);
        } else {
            box = new QCheckBox(m_setup.optionCaptions.value(o.name, o.caption), Frame2);
            box->setObjectName(o.name);
            box->setToolTip(o.toolTip);
        }
        m_options.insert(o.name, box);
        optionGrid->addWidget(box, n / 2, n % 2);
        ++n;
    }
    if (QCheckBox* post = optionBox(QStringLiteral("chkpostcalls"));
        post && m_setup.postCallsGatesDates)
        connect(post, &QCheckBox::toggled, this, &SelectionReportWindow::chkpostcalls_Click);
    Frame2->setVisible(m_setup.optionBoxesShown);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    auto* lower = new QHBoxLayout;
    lower->addWidget(Frame2);
    lower->addWidget(buildDateFrame({.allCalls = m_setup.allCallsOffered}));
    layout->addLayout(lower);
    layout->addWidget(buildRunBox(), 0, Qt::AlignHCenter);
}

SelectionReportWindow::~SelectionReportWindow() = default;

QCheckBox* SelectionReportWindow::optionBox(const QString& name) const {
    return m_options.value(name, nullptr);
}

void SelectionReportWindow::Form_Load() {
    for (const QString& name : m_setup.tickedAtLoad)
        if (QCheckBox* box = optionBox(name)) box->setChecked(true);
    for (QCheckBox* box : std::as_const(m_options))
        if (!m_setup.tickedAtLoad.contains(box->objectName())) box->setChecked(false);
    setDefaultDateTimes(QTime(0, 1), m_setup.endTime);
    txtinterval->setMaxLength(3);
    reportType = -1;
    lblreporttype[0]->setText(m_setup.firstAddCaption);
    lblreporttype[1]->setText(m_setup.firstSelectedCaption);
    Optdate[1]->setChecked(true);
    Optreporttype[m_setup.firstType]->setChecked(true);
    Optreporttype_Click(m_setup.firstType);
    WriteDebugLog(m_setup.loadLog);
    if (m_setup.timerRunsFromOpening)
        tmrreport->start();
    else
        tmrreport->stop();
    noDefaultButtons();
}

void SelectionReportWindow::Optreporttype_Click(int index) {
    if (index == reportType || index < 0 || index > 3) return;
    if (!takeBreakdownChange(*lists, reportType >= 0 ? Optreporttype[reportType] : nullptr)) return;
    reportType = index;
    for (QCheckBox* box : allBoxes) {
        box->setEnabled(false);
        box->setChecked(false);
    }
    const ReportTypeRow& row = m_setup.types[index];
    lists->setCaptions(row.addCaption, row.selectedCaption);
    allBoxes[index]->setEnabled(true);
    const SelectionTable table = loadSiteTable(row.table, m_setup.formattedKeys);
    lists->load(table.entries);
    table.tellProblem();
}

void SelectionReportWindow::resetitemlist() {
    lists->resetSelection();
}

void SelectionReportWindow::allBox_Click(int type) {
    QCheckBox* box = allBoxes[type];
    const bool allExt = m_setup.allExtEntry && type == 1;
    SelectionList& selected = lists->selected();
    if (box->isChecked()) {
        if (selected.count() == 0 && allExt) {
            lists->setListsEnabled(false);
            selected.add({kAllExtKey, kAllExtText});
            return;
        }
        if (selected.count() > 0 && !confirmBreakdownChange()) {
            box->setChecked(false);  // runs the unticked handling below
            lists->unselectAll();
            return;
        }
        lists->selectAll();
        return;
    }
    if (allExt) {
        for (int i = 0; i < selected.count(); ++i) {
            const SelectionEntry e = selected.at(i);
            if (e.key == kAllExtKey && e.text == kAllExtText) {
                selected.takeAt(i);
                break;
            }
        }
    }
    lists->unselectAll();
}

void SelectionReportWindow::chkpostcalls_Click() {
    const bool on = optionBox(QStringLiteral("chkpostcalls"))->isChecked();
    for (QRadioButton* r : Optdate) r->setEnabled(on);
    for (QWidget* w : {static_cast<QWidget*>(startdate), static_cast<QWidget*>(enddate),
                       static_cast<QWidget*>(starttime), static_cast<QWidget*>(endtime),
                       static_cast<QWidget*>(txtinterval)})
        w->setEnabled(on);
    if (!on)
        if (QCheckBox* live = optionBox(QStringLiteral("chklivecalls"))) live->setChecked(false);
}

void SelectionReportWindow::queueRequest(ReportRequest& request) {
    request.addHeader();
    for (const ReportOption& o : reportOptions()) {
        const QCheckBox* box = optionBox(o.name);
        if (box && box->isChecked() == o.writtenWhenTicked) request.addOption(o.letter);
    }
    const QString code = reportType >= 0 ? m_setup.types[reportType].code : QString();
    queueSelectedItems(request, lists->selected(), code);
    const QCheckBox* post = optionBox(QStringLiteral("chkpostcalls"));
    if (m_setup.postCallsGatesDates && !(post && post->isChecked())) return;
    if (!queueDatePart(request)) return;
    const QString after = lineAfterDatePart();
    if (!after.isEmpty()) request.addOption(after);
}

std::optional<QString> SelectionReportWindow::refusal(const ReportRequest& request) {
    return listRefusal(request, *lists);
}

void SelectionReportWindow::logRunCommandPrepared() {
    if (!m_setup.runCommandLog.isEmpty()) WriteDebugLog(m_setup.runCommandLog);
}

void SelectionReportWindow::logBeforeGuard() {
    if (!m_setup.beforeGuardLog.isEmpty()) WriteDebugLog(m_setup.beforeGuardLog);
}

void SelectionReportWindow::logBeforeHandOver() {
    if (!m_setup.handOverLog.isEmpty()) WriteDebugLog(m_setup.handOverLog);
}

}  // namespace quillon
