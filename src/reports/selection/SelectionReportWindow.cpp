#include "reports/selection/SelectionReportWindow.h"

#include "common/CommonFunctions.h"
#include "common/Messages.h"
#include "common/SiteContext.h"
#include "common/TableMirror.h"
#include "platform/FileLookup.h"
#include "reports/selection/SelectionTable.h"
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
const QString kChangeQuestion =
    QStringLiteral("Are you sure you want to change how you are running the report?\r\n");
const char* const kAllBoxNames[] = {"chkline", "chkext", "chkdpt", "chkdiv"};
const QString kAllExtKey = QStringLiteral("0");
const QString kAllExtText = QStringLiteral("ALL EXT");

bool confirmChange() {
    return ask(kChangeQuestion, titles::kConfigureSites);
}

QListWidget* makeList(const char* name, QWidget* parent, bool shown) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setVisible(shown);
    return list;
}
}  // namespace

const QList<ReportOption>& reportOptions() {
    static const QList<ReportOption> options{
        {"O", "chkpostcalls", "Do Not Post Calls", true,
         "If you change this flag you will clear all your calls for this report"},
        {"A", "chklivecalls", "Show Posted calls ", true, {}},
        {"Z", "chksendprinter", "Send to Printer on Varnel Computer", false,
         "This will print at your Varnel computer not at your Local Desktop"},
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

    for (int i = 0; i < 2; ++i) {
        lblreporttype[i] = new QLabel(Frame1);
        lblreporttype[i]->setObjectName(QStringLiteral("lblreporttype_%1").arg(i));
    }
    lstDivision = makeList("lstDivision", Frame1, true);
    lstDivisionHidden = makeList("lstDivisionHidden", Frame1, false);
    lstItem = makeList("lstItem", Frame1, true);
    lstItemHidden = makeList("lstItemHidden", Frame1, false);
    m_available = std::make_unique<SelectionList>(lstDivision, lstDivisionHidden);
    m_selected = std::make_unique<SelectionList>(lstItem, lstItemHidden);
    KeyUpFilter::install(lstDivision, [this](int code) { lstDivision_KeyUp(code); });
    KeyUpFilter::install(lstItem, [this](int code) { lstItem_KeyUp(code); });
    connect(lstDivision, &QListWidget::itemDoubleClicked, this,
            &SelectionReportWindow::lstDivision_DblClick);
    connect(lstItem, &QListWidget::itemDoubleClicked, this,
            &SelectionReportWindow::lstItem_DblClick);

    cmdadd = new QPushButton(QStringLiteral(">>"), Frame1);
    cmdadd->setObjectName(QStringLiteral("cmdadd"));
    cmdremove = new QPushButton(QStringLiteral("<<"), Frame1);
    cmdremove->setObjectName(QStringLiteral("cmdremove"));
    connect(cmdadd, &QPushButton::clicked, this, &SelectionReportWindow::cmdadd_Click);
    connect(cmdremove, &QPushButton::clicked, this, &SelectionReportWindow::cmdremove_Click);

    auto* lists = new QGridLayout;
    lists->addWidget(lblreporttype[0], 0, 0);
    lists->addWidget(lblreporttype[1], 0, 2);
    lists->addWidget(lstDivision, 1, 0);
    auto* moveButtons = new QVBoxLayout;
    moveButtons->addStretch();
    moveButtons->addWidget(cmdadd);
    moveButtons->addWidget(cmdremove);
    moveButtons->addStretch();
    lists->addLayout(moveButtons, 1, 1);
    lists->addWidget(lstItem, 1, 2);
    m_breakdown->addLayout(lists, 0, 2, 5, 1);

    Frame2 = new QGroupBox(m_setup.optionsFrameCaption, this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    auto* optionGrid = new QGridLayout(Frame2);
    int n = 0;
    for (const ReportOption& o : reportOptions()) {
        if (!m_setup.options.contains(o.letter)) continue;
        auto* box = new QCheckBox(m_setup.optionCaptions.value(o.name, o.caption), Frame2);
        box->setObjectName(o.name);
        if (o.name != QLatin1String("chksendprinter") || m_setup.chksendprinterTip)
            box->setToolTip(o.toolTip);
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
    lower->addWidget(buildDateFrame(m_setup.dateChoices));
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
    if (m_selected->count() > 0) {
        if (!confirmChange()) {
            if (reportType >= 0) Optreporttype[reportType]->setChecked(true);
            return;
        }
        m_selected->clear();
    }
    reportType = index;
    for (QCheckBox* box : allBoxes) {
        box->setEnabled(false);
        box->setChecked(false);
    }
    const ReportTypeRow& row = m_setup.types[index];
    lblreporttype[0]->setText(row.addCaption);
    lblreporttype[1]->setText(row.selectedCaption);
    allBoxes[index]->setEnabled(true);
    m_available->clear();
    m_selected->clear();
    loadTable(row.table);
}

void SelectionReportWindow::loadTable(const QString& table) {
    const QString folder = siteTableFolder(SiteContext::current().name());
    QString path = platform::findFileNoCase(folder, table);
    if (path.isEmpty()) path = folder + QLatin1Char('/') + table;
    const SelectionTable read = readSelectionTable(path, m_setup.formattedKeys);
    for (const SelectionEntry& e : read.entries) m_available->add(e);
    if (!read.problem.isEmpty()) tell(read.problem, platform::Icon::Exclamation);
}

void SelectionReportWindow::setListsEnabled(bool enabled) {
    m_available->setEnabled(enabled);
    m_selected->setEnabled(enabled);
}

void SelectionReportWindow::resetitemlist() {
    moveAll(*m_selected, *m_available);
}

void SelectionReportWindow::allBox_Click(int type) {
    QCheckBox* box = allBoxes[type];
    const bool allExt = m_setup.allExtEntry && type == 1;
    if (box->isChecked()) {
        if (m_selected->count() == 0 && allExt) {
            setListsEnabled(false);
            m_selected->add({kAllExtKey, kAllExtText});
            return;
        }
        if (m_selected->count() > 0 && !confirmChange()) {
            box->setChecked(false);  // runs the unticked handling below
            resetitemlist();
            setListsEnabled(true);
            return;
        }
        setListsEnabled(false);
        moveAll(*m_available, *m_selected);
        return;
    }
    if (allExt) {
        for (int i = 0; i < m_selected->count(); ++i) {
            const SelectionEntry e = m_selected->at(i);
            if (e.key == kAllExtKey && e.text == kAllExtText) {
                m_selected->takeAt(i);
                break;
            }
        }
    }
    resetitemlist();
    setListsEnabled(true);
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

// A disabled list (an ALL box is ticked) keeps its selection, whatever the buttons say.
void SelectionReportWindow::lstDivision_DblClick() {
    if (lstDivision->isEnabled()) moveHighlighted(*m_available, *m_selected);
}

void SelectionReportWindow::lstItem_DblClick() {
    if (lstItem->isEnabled()) moveHighlighted(*m_selected, *m_available);
}

void SelectionReportWindow::cmdadd_Click() {
    lstDivision_DblClick();
}

void SelectionReportWindow::cmdremove_Click() {
    lstItem_DblClick();
}

void SelectionReportWindow::lstDivision_KeyUp(int keyCode) {
    if (keyCode == kKeyEnter) lstDivision_DblClick();
}

void SelectionReportWindow::lstItem_KeyUp(int keyCode) {
    if (keyCode == kKeyDelete) lstItem_DblClick();
}

void SelectionReportWindow::queueRequest(ReportRequest& request) {
    request.addHeader();
    for (const ReportOption& o : reportOptions()) {
        const QCheckBox* box = optionBox(o.name);
        if (box && box->isChecked() == o.writtenWhenTicked) request.addOption(o.letter);
    }
    const QString code = reportType >= 0 ? m_setup.types[reportType].code : QString();
    const QStringList keys = m_selected->keys();
    for (int i = 0; i < keys.size(); ++i) {
        m_selected->highlight(i);
        request.addItem(code, keys[i]);
        WriteDebugLog(QStringLiteral("adding ") + keys[i] +
                      QStringLiteral("  from lstItemHidden.Text"));
    }
    const QCheckBox* post = optionBox(QStringLiteral("chkpostcalls"));
    if (m_setup.postCallsGatesDates && !(post && post->isChecked())) return;
    if (!queueDatePart(request)) return;
    const QString after = lineAfterDatePart();
    if (!after.isEmpty()) request.addOption(after);
}

std::optional<QString> SelectionReportWindow::refusal(const ReportRequest& request) {
    if (!request.lines().isEmpty() && m_selected->count() > 0) return std::nullopt;
    if (m_selected->count() == 0) return QStringLiteral("You Must ") + lblreporttype[0]->text();
    return QStringLiteral("Bad paramters passed");
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
