#include "rates/frmac.h"

#include "changes/SiteTables.h"
#include "common/CommonFunctions.h"
#include "common/Globals.h"
#include "common/Messages.h"
#include "widgets/BusyPointer.h"
#include "widgets/LongWaitCancel.h"
#include "widgets/NamedControls.h"
#include "widgets/NumericTextFilter.h"
#include "widgets/SortableGrid.h"
#include "widgets/Timers.h"
#include "widgets/WaitPanel.h"
#include "widgets/WindowRegistry.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace quillon {

namespace {
// The key and the rate number are kept in the grid for the modify form, not shown.
constexpr int kKeyColumn = 0;
constexpr int kRateNumberColumn = 4;

QList<QStringList> gridRows(const QList<QStringList>& records, const LdFilter& filter) {
    QList<QStringList> rows;
    for (const QStringList& r : records)
        if (filter.keeps(r)) rows << ldGridRow(r);
    return rows;
}
}  // namespace

frmac::frmac(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmac"));
    setWindowTitle(QStringLiteral("Area Codes"));
    setModal(true);

    const auto filterRow = [this](const char* check, const char* caption, const char* box) {
        QCheckBox* c =
            namedCheckBox(this, QString::fromLatin1(check), QString::fromLatin1(caption));
        QLineEdit* b = namedBox(this, QString::fromLatin1(box));
        connect(b, &QLineEdit::textChanged, b, [b] { applyNumericTextFilter(b); });
        return std::pair{c, b};
    };
    std::tie(chkAreaCode, txtareacode) =
        filterRow("chkAreaCode", "Filter Area Code", "txtareacode");
    std::tie(chkPrefix, txtprefix) = filterRow("chkPrefix", "Filter Prefix", "txtprefix");
    connect(chkAreaCode, &QCheckBox::toggled, this, &frmac::chkAreaCode_Click);
    connect(chkPrefix, &QCheckBox::toggled, this, &frmac::chkPrefix_Click);
    cmdFilter = namedButton(this, QStringLiteral("cmdFilter"), QStringLiteral("Apply Filter"));
    connect(cmdFilter, &QPushButton::clicked, this, &frmac::cmdFilter_Click);

    MSFlexGrid1 = new SortableGrid(this);
    MSFlexGrid1->setObjectName(QStringLiteral("MSFlexGrid1"));
    connect(MSFlexGrid1, &SortableGrid::rowDoubleClicked, this, &frmac::MSFlexGrid1_DblClick);
    MSFlexGrid2 = new SortableGrid(this);
    MSFlexGrid2->setObjectName(QStringLiteral("MSFlexGrid2"));
    MSFlexGrid2->setSortable(false);
    MSFlexGrid2->setVisible(false);
    MSFlexGrid3 = new SortableGrid(this);
    MSFlexGrid3->setObjectName(QStringLiteral("MSFlexGrid3"));
    MSFlexGrid3->setSortable(false);

    tmrShowMe = makeTimer(this, QStringLiteral("tmrShowMe"), 10, TimerShot::Single,
                          [this] { tmrShowMe_Timer(); });

    auto* filters = new QGridLayout;
    filters->addWidget(chkAreaCode, 0, 0);
    filters->addWidget(txtareacode, 0, 1);
    filters->addWidget(chkPrefix, 1, 0);
    filters->addWidget(txtprefix, 1, 1);
    filters->addWidget(cmdFilter, 0, 2, 2, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(MSFlexGrid1, 1);
    layout->addWidget(MSFlexGrid3);
    layout->addWidget(new WaitPanel(this, WaitPanel::Cancel::AnyWait), 0, Qt::AlignRight);
    setMinimumWidth(325);

    Form_Load();
}

frmac::~frmac() = default;

void frmac::Form_Load() {
    BusyPointer busy(this);
    const TableMirrorResult pulled = pullSiteTables();
    for (QCheckBox* c : {chkAreaCode, chkPrefix}) c->setChecked(false);
    for (QLineEdit* b : {txtareacode, txtprefix}) {
        b->clear();
        b->setEnabled(false);
    }

    m_tables = LdTables::load();
    WriteDebugLog(QStringLiteral("Loading LD Grid"));
    loadLdGrid(LdFilter());
    WriteDebugLog(QStringLiteral("Loading Rate Grid"));
    MSFlexGrid2->load(kRateHeaders, m_tables.rate);
    WriteDebugLog(QStringLiteral("Loading Calc Grid"));
    MSFlexGrid3->load(kCalcHeaders, m_tables.calc);
    busy.release();

    // The window shows what the mirror holds; what could not be pulled or read is told.
    if (tellFailedPull(pulled) == PullTold::Cancelled) return;
    if (!m_tables.problems.isEmpty())
        tell(m_tables.problems.join(QStringLiteral("\r\n")), platform::Icon::Exclamation);
}

void frmac::loadLdGrid(const LdFilter& filter) {
    BusyPointer busy(this);
    MSFlexGrid1->load(kLdHeaders, gridRows(m_tables.ld, filter));
    MSFlexGrid1->AutoSizeGrid();
    MSFlexGrid1->setColumnHidden(kKeyColumn, true);
    MSFlexGrid1->setColumnHidden(kRateNumberColumn, true);
}

void frmac::cmdFilter_Click() {
    WriteDebugLog(QStringLiteral("Loading LD Grid"));
    // The file as it stands now: the modify form's closing has pulled it again.
    QString problem;
    m_tables.ld = LdTables::loadLd(&problem);
    loadLdGrid(
        {chkAreaCode->isChecked(), txtareacode->text(), chkPrefix->isChecked(), txtprefix->text()});
    if (!problem.isEmpty()) tell(problem, platform::Icon::Exclamation);
}

void frmac::chkAreaCode_Click() {
    txtareacode->setEnabled(chkAreaCode->isChecked());
    if (!chkAreaCode->isChecked()) txtareacode->clear();
}

void frmac::chkPrefix_Click() {
    txtprefix->setEnabled(chkPrefix->isChecked());
    if (!chkPrefix->isChecked()) txtprefix->clear();
}

void frmac::MSFlexGrid1_DblClick(int row) {
    if (row < 1 || row > MSFlexGrid1->dataRows()) return;
    G().g_SelectedRow = row;
    MSFlexGrid1->setCurrentRow(row);
    // The rate and calc rows the row's rate number leads to, by their row numbers.
    const RateRows lookup = rateRows(m_tables, MSFlexGrid1->cell(row, kRateNumberColumn));
    MSFlexGrid2->setCurrentRow(lookup.rate + 1);
    MSFlexGrid3->setCurrentRow(lookup.calc + 1);
    WriteDebugLog(QStringLiteral("Loading edit AC Form"));
    if (!openWindowOrTell(QStringLiteral("frmeditAC"), this, QVariant(MSFlexGrid1->rowCells(row))))
        return;
    // Once the form has closed the grid shows the table as it is now, with the filter.
    MSFlexGrid1->viewport()->update();
    cmdFilter_Click();
    tmrShowMe->start();
}

void frmac::tmrShowMe_Timer() {
    tmrShowMe->stop();
    WriteDebugLog(QStringLiteral("Make editAC Form Visable"));
}

void frmac::Form_Unload() {
    unsetCursor();
}

void frmac::done(int result) {
    Form_Unload();
    QDialog::done(result);
}

}  // namespace quillon
