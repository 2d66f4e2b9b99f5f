#include "reports/summary/fstatsreport.h"

#include "common/CommonFunctions.h"
#include "reports/common/SelectionTable.h"
#include "widgets/KeyedPickList.h"
#include "widgets/NumericTextFilter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTime>
#include <QVBoxLayout>

namespace quillon {

namespace {
// The kinds: the entry, the prompt for the value, the code of the value's line and whether
// the Y line (a threshold instead of a top n) follows it.
struct StatsKind {
    const char* entry;
    const char* prompt;
    const char* code;
    bool threshold;
};
const StatsKind kKinds[] = {
    {"Top calls by cost", "Enter number for top n calls by cost (between 5-500)", "1", false},
    {"Calls costing over", "Enter dollar cost calls must be over (between 5-500)", "1", true},
    {"Top calls by duration", "Enter number for top n calls by duration in minutes (between 5-500)",
     "2", false},
    {"Calls with duration over",
     "Enter Number of minutes duration calls must be over (between 5-500)", "2", true},
    {"Top calls by frequency", "Enter number for top n calls by frequency (between 5-500)", "3",
     false},
};
const QString kIntervalMessage = QStringLiteral("INTERVAL NOT ADDED");
}  // namespace

fstatsreport::fstatsreport(QWidget* parent)
    : ReportWindow(reportkinds::stats, kIntervalMessage, parent) {
    setObjectName(QStringLiteral("fstatsreport"));
    setWindowTitle(QStringLiteral("Statistics Report"));

    Frame1 = new QGroupBox(QStringLiteral("Report Format Type"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* kind = new QGridLayout(Frame1);
    cboReportType = new QComboBox(Frame1);
    cboReportType->setObjectName(QStringLiteral("cboReportType"));
    cboReportType->setEditable(false);
    connect(cboReportType, &QComboBox::currentIndexChanged, this,
            &fstatsreport::cboReportType_Click);
    Label4 = new QLabel(Frame1);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setWordWrap(true);
    txtValue = new QLineEdit(Frame1);
    txtValue->setObjectName(QStringLiteral("txtValue"));
    connect(txtValue, &QLineEdit::textChanged, this, &fstatsreport::txtValue_Change);
    auto* lineTypeLabel = new QLabel(QStringLiteral("Choose Line Type"), Frame1);
    lineTypeLabel->setObjectName(QStringLiteral("Label1"));
    lineTypes = new KeyedPickList(Frame1, QStringLiteral("cboDivision"),
                                  QStringLiteral("cboDivisionhidden"));
    cboDivision = lineTypes->shown();
    cboDivisionhidden = lineTypes->twin();
    kind->addWidget(cboReportType, 0, 0, 1, 2);
    kind->addWidget(Label4, 1, 0);
    kind->addWidget(txtValue, 1, 1);
    kind->addWidget(lineTypeLabel, 2, 0);
    kind->addWidget(cboDivision, 2, 1);

    Frame2 = new QGroupBox(QStringLiteral("Report Options"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    auto* options = new QVBoxLayout(Frame2);
    options->addWidget(buildPrinterBox(Frame2));
    options->addWidget(buildDateFrame({.allCalls = false, .times = true}));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    layout->addWidget(Frame2);
    layout->addWidget(buildRunBox(), 0, Qt::AlignHCenter);
    Form_Load();
}

fstatsreport::~fstatsreport() = default;

void fstatsreport::Form_Load() {
    setDefaultDateTimes(QTime(0, 1), QTime(23, 59));
    chksendprinter->setChecked(false);
    txtinterval->setMaxLength(3);
    Label4->setText(QStringLiteral("Enter Number of calls Number must be Between 5 and 500"));
    Optdate[1]->setChecked(true);
    WriteDebugLog(QStringLiteral("STATS REPORT"));
    txtValue->setMaxLength(3);

    QList<SelectionEntry> entries{{QStringLiteral("0000"), QStringLiteral("0000 ALL")}};
    const SelectionTable table = loadSiteTable(QStringLiteral("lt.csv"), true);
    entries += table.entries;
    lineTypes->setEntries(entries);

    cboReportType->clear();
    for (const StatsKind& k : kKinds) cboReportType->addItem(QString::fromLatin1(k.entry));
    cboReportType->setCurrentIndex(0);
    lineTypes->setCurrentIndex(0);
    noDefaultButtons();
    table.tellProblem();
}

void fstatsreport::cboReportType_Click() {
    const int index = cboReportType->currentIndex();
    if (index < 0 || index >= int(std::size(kKinds))) return;
    Label4->setText(QString::fromLatin1(kKinds[index].prompt));
}

void fstatsreport::txtValue_Change() {
    applyNumericTextFilter(txtValue);
}

QStringList fstatsreport::checksBeforeRun() {
    if (txtValue->text().trimmed().isEmpty())
        return {QStringLiteral("SELECT A VALUE TO RUN REPORT")};
    if (Optdate[2]->isChecked() && txtinterval->text().trimmed().isEmpty())
        return {kIntervalMessage};
    return {};
}

void fstatsreport::queueRequest(ReportRequest& request) {
    request.addCreatingLine();
    if (!queueDatePart(request)) return;
    const int index = cboReportType->currentIndex();
    if (index >= 0 && index < int(std::size(kKinds))) {
        request.addItem(QString::fromLatin1(kKinds[index].code), txtValue->text());
        if (kKinds[index].threshold) request.addOption(QStringLiteral("Y"));
    }
    request.addSLine();
    queuePrinterLine(request);
    request.addOption(QStringLiteral("l-") + lineTypes->currentKey());
}

std::optional<QString> fstatsreport::refusal(const ReportRequest& request) {
    if (request.lines().size() < 2) return badParametersText();
    return std::nullopt;
}

}  // namespace quillon
