#include "reports/summary/FAreacode.h"

#include "common/CommonFunctions.h"
#include "reports/summary/TrunkGroups.h"
#include "widgets/KeyUpFilter.h"
#include "widgets/ListPair.h"
#include "widgets/NamedControls.h"
#include "widgets/NumericTextFilter.h"
#include "widgets/TypedList.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTime>
#include <QVBoxLayout>

namespace quillon {

namespace {
// The sort line: two blanks after echo and two before the redirection.
constexpr EchoShape kSortShape{.blanksAfterEcho = 2, .blanksBeforeRedirect = 2, .creates = false};
}  // namespace

FAreacode::FAreacode(QWidget* parent)
    : ReportWindow(reportkinds::area, QStringLiteral("interval Not added"), parent) {
    setObjectName(QStringLiteral("FAreacode"));
    setWindowTitle(QStringLiteral("Area Code Report"));

    Frame1 = new QGroupBox(QStringLiteral("Report Breakdown"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* breakdown = new QGridLayout(Frame1);
    auto* areaLabel = new QLabel(QStringLiteral("Enter Area Code"), Frame1);
    areaLabel->setObjectName(QStringLiteral("Label1"));
    txtarea = new QLineEdit(Frame1);
    txtarea->setObjectName(QStringLiteral("txtarea"));
    connect(txtarea, &QLineEdit::textChanged, this, &FAreacode::txtarea_Change);
    connect(txtarea, &QLineEdit::returnPressed, this, &FAreacode::cmdadd1_Click);
    cmdadd1 = namedButton(Frame1, QStringLiteral("cmdadd1"), QStringLiteral(">>"));
    cmdremove1 = namedButton(Frame1, QStringLiteral("cmdremove1"), QStringLiteral("<<"));
    connect(cmdadd1, &QPushButton::clicked, this, &FAreacode::cmdadd1_Click);
    connect(cmdremove1, &QPushButton::clicked, this, &FAreacode::cmdremove1_Click);
    auto* listLabel = new QLabel(QStringLiteral("Area Codes you entered "), Frame1);
    listLabel->setObjectName(QStringLiteral("Label2"));
    lstarea = new QListWidget(Frame1);
    lstarea->setObjectName(QStringLiteral("lstarea"));
    KeyUpFilter::install(lstarea, [this](int code) { lstarea_KeyUp(code); });
    chkallarea = new QCheckBox(QStringLiteral("All Area codes"), Frame1);
    chkallarea->setObjectName(QStringLiteral("chkallarea"));
    connect(chkallarea, &QCheckBox::toggled, this, &FAreacode::chkallarea_Click);

    auto* entry = new QVBoxLayout;
    entry->addWidget(areaLabel);
    entry->addWidget(txtarea);
    entry->addWidget(chkallarea);
    entry->addStretch();
    auto* moves = new QVBoxLayout;
    moves->addStretch();
    moves->addWidget(cmdadd1);
    moves->addWidget(cmdremove1);
    moves->addStretch();
    auto* codes = new QVBoxLayout;
    codes->addWidget(listLabel);
    codes->addWidget(lstarea);
    breakdown->addLayout(entry, 0, 0);
    breakdown->addLayout(moves, 0, 1);
    breakdown->addLayout(codes, 0, 2);

    adoptListPair(new ListPair(Frame1));
    chkall = lists->addAllBox();
    breakdown->addWidget(lists, 1, 0, 1, 3);
    breakdown->addWidget(buildRunBox(), 2, 0, 1, 3, Qt::AlignHCenter);

    Frame2 = new QGroupBox(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    auto* lower = new QHBoxLayout(Frame2);
    auto* left = new QVBoxLayout;
    left->addWidget(buildPrinterBox(Frame2));
    Frame4 = new QGroupBox(QStringLiteral("Report Options"), Frame2);
    Frame4->setObjectName(QStringLiteral("Frame4"));
    auto* sort = new QVBoxLayout(Frame4);
    const char* sortCaptions[] = {"Sort by Area Code", "Sort By Trunk Number"};
    for (int i = 0; i < 2; ++i) {
        Optsort[i] = new QRadioButton(QString::fromLatin1(sortCaptions[i]), Frame4);
        Optsort[i]->setObjectName(QStringLiteral("Optsort_%1").arg(i));
        sort->addWidget(Optsort[i]);
    }
    left->addWidget(Frame4);
    left->addStretch();
    lower->addLayout(left);
    lower->addWidget(buildDateFrame({.allCalls = false, .times = true}));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    layout->addWidget(Frame2);
    Form_Load();
}

FAreacode::~FAreacode() = default;

void FAreacode::Form_Load() {
    setDefaultDateTimes(QTime(0, 1), QTime(23, 59));
    chksendprinter->setChecked(false);
    Optsort[0]->setChecked(true);
    WriteDebugLog(QStringLiteral("AREACODE REPORT"));
    lists->setCaptions(QStringLiteral("Add Trunk Group"), QStringLiteral("Selected Trunk Groups"));
    Optdate[1]->setChecked(true);
    loadTrunkGroups(*lists);
    txtarea->setMaxLength(3);
    WriteDebugLog(QStringLiteral("setting DEFAULT values"));
    noDefaultButtons();
}

void FAreacode::txtarea_Change() {
    applyNumericTextFilter(txtarea);
}

void FAreacode::cmdadd1_Click() {
    if (txtarea->text().isEmpty()) return;
    appendTyped(lstarea, txtarea->text(), Duplicates::Keep);
    txtarea->clear();
}

void FAreacode::cmdremove1_Click() {
    removeHighlightedTyped(lstarea);
}

void FAreacode::lstarea_KeyUp(int keyCode) {
    if (keyCode == kKeyDelete) cmdremove1_Click();
}

void FAreacode::chkallarea_Click() {
    const bool all = chkallarea->isChecked();
    if (all) lstarea->clear();
    for (QWidget* w : {static_cast<QWidget*>(txtarea), static_cast<QWidget*>(cmdadd1),
                       static_cast<QWidget*>(cmdremove1), static_cast<QWidget*>(lstarea)})
        w->setEnabled(!all);
}

void FAreacode::queueRequest(ReportRequest& request) {
    request.addHeader();
    for (int i = 0; i < lstarea->count(); ++i) {
        lstarea->setCurrentRow(i);
        request.addItem(QStringLiteral("A"), lstarea->item(i)->text());
    }
    queuePrinterLine(request);
    queueSelectedItems(request, lists->selected(), QStringLiteral("G"));
    if (queueDatePart(request) && Optsort[1]->isChecked())
        request.addEcho(QStringLiteral("R"), kSortShape);
    WriteDebugLog(QStringLiteral("Added date option"));
}

std::optional<QString> FAreacode::refusal(const ReportRequest& request) {
    if (request.lines().isEmpty() || lists->selected().count() == 0) return badParametersText();
    return std::nullopt;
}

}  // namespace quillon
