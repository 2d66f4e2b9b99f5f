#include "reports/summary/fTrunk.h"

#include "common/CommonFunctions.h"
#include "reports/summary/TrunkGroups.h"
#include "widgets/ListPair.h"

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
// The kinds: caption, the code of the group and RT lines, whether the hour interval is
// written (and can be chosen), the caption over the available groups.
struct TrunkKind {
    const char* caption;
    const char* code;
    bool hourly;
    const char* addCaption;
};
const TrunkKind kKinds[] = {
    {"Trunk Group Summary", "1", false, "Add Trunks Group"},
    {"Detail By Trunk Number", "4", true, "Add Trunk Group"},
    {"Detail By Trunk Group", "3", true, "Add Trunk Group"},
    {"Trunk Number Summary", "2", false, "Add Trunk Group"},
};
const QString kSelectedCaption = QStringLiteral("Selected Trunk Groups");
// The hour interval line: one blank after echo, none before the redirection.
constexpr EchoShape kHourShape{.blanksAfterEcho = 1, .blanksBeforeRedirect = 0, .creates = false};
}  // namespace

fTrunk::fTrunk(QWidget* parent)
    : ReportWindow(reportkinds::trunk, QStringLiteral("interval not added"), parent) {
    setObjectName(QStringLiteral("fTrunk"));
    setWindowTitle(QStringLiteral("Trunk Report"));

    Frame1 = new QGroupBox(QStringLiteral("Report Breakdown"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* breakdown = new QGridLayout(Frame1);
    auto* kinds = new QVBoxLayout;
    for (int i = 0; i < 4; ++i) {
        Optreporttype[i] = new QRadioButton(QString::fromLatin1(kKinds[i].caption), Frame1);
        Optreporttype[i]->setObjectName(QStringLiteral("Optreporttype_%1").arg(i));
        kinds->addWidget(Optreporttype[i]);
        connect(Optreporttype[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) Optreporttype_Click(i);
        });
    }
    Label1 = new QLabel(QStringLiteral("Trunk Detail By Hourly Interval"), Frame1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Combotime = new QComboBox(Frame1);
    Combotime->setObjectName(QStringLiteral("Combotime"));
    Combotime->setEditable(false);
    for (int h = 1; h <= 24; ++h) Combotime->addItem(QString::number(h));
    kinds->addWidget(Label1);
    kinds->addWidget(Combotime);
    kinds->addStretch();
    breakdown->addLayout(kinds, 0, 0);

    adoptListPair(new ListPair(Frame1));
    chkall = lists->addAllBox();
    breakdown->addWidget(lists, 0, 1);
    breakdown->addWidget(buildRunBox(), 1, 0, 1, 2, Qt::AlignHCenter);

    Frame2 = new QGroupBox(QStringLiteral("Report Options"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    auto* options = new QVBoxLayout(Frame2);
    options->addWidget(buildPrinterBox(Frame2));
    options->addWidget(buildDateFrame({.allCalls = false, .times = true}));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    layout->addWidget(Frame2);
    Form_Load();
}

fTrunk::~fTrunk() = default;

void fTrunk::Form_Load() {
    setDefaultDateTimes(QTime(0, 1), QTime(23, 59));
    chksendprinter->setChecked(false);
    txtinterval->setMaxLength(3);
    reportType = -1;
    Combotime->setCurrentIndex(0);
    Optdate[1]->setChecked(true);
    Optreporttype[0]->setChecked(true);
    Optreporttype_Click(0);
    WriteDebugLog(QStringLiteral("TRUNK REPORT"));
    noDefaultButtons();
}

void fTrunk::Optreporttype_Click(int index) {
    if (index == reportType || index < 0 || index > 3) return;
    const bool hadChoice = lists->selected().count() > 0;
    if (!takeBreakdownChange(*lists, reportType >= 0 ? Optreporttype[reportType] : nullptr)) return;
    if (hadChoice) chkall->setChecked(false);
    reportType = index;
    lists->setCaptions(QString::fromLatin1(kKinds[index].addCaption), kSelectedCaption);
    Combotime->setEnabled(kKinds[index].hourly);
    loadTrunkGroups(*lists);
}

void fTrunk::resetitemlist() {
    lists->resetSelection();
}

void fTrunk::queueRequest(ReportRequest& request) {
    request.addHeader();
    queuePrinterLine(request);
    const TrunkKind& kind = kKinds[reportType < 0 ? 0 : reportType];
    if (kind.hourly) request.addEcho(QStringLiteral("H ") + Combotime->currentText(), kHourShape);
    const QString code = QString::fromLatin1(kind.code);
    queueSelectedItems(request, lists->selected(), code);
    request.addItem(QStringLiteral("RT"), code);
    queueDatePart(request);
}

std::optional<QString> fTrunk::refusal(const ReportRequest& request) {
    return listRefusal(request, *lists);
}

}  // namespace quillon
