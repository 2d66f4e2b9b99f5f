#include "prices/PriceListWindow.h"

#include "changes/SiteTables.h"
#include "common/CommonFunctions.h"
#include "common/Globals.h"
#include "common/Messages.h"
#include "widgets/BusyPointer.h"
#include "widgets/SortableGrid.h"
#include "widgets/WaitPanel.h"
#include "widgets/WindowRegistry.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace quillon {

PriceListWindow::PriceListWindow(PriceListKind kind, const QString& caption,
                                 const QString& modifyWindow, QWidget* parent)
    : QDialog(parent), m_kind(kind), m_modifyWindow(modifyWindow) {
    setWindowTitle(caption);
    setModal(true);

    pricinggrid = new SortableGrid(this);
    pricinggrid->setObjectName(QStringLiteral("pricinggrid"));
    pricinggrid->setHiddenColumns(kHiddenPriceColumns);
    connect(pricinggrid, &SortableGrid::rowDoubleClicked, this,
            &PriceListWindow::pricinggrid_DblClick);

    optguest = new QRadioButton(QStringLiteral("Guest"), this);
    optguest->setObjectName(QStringLiteral("optguest"));
    optadmin = new QRadioButton(QStringLiteral("Admin"), this);
    optadmin->setObjectName(QStringLiteral("optadmin"));
    connect(optguest, &QRadioButton::toggled, this, [this](bool on) {
        if (on) optguest_Click();
    });
    connect(optadmin, &QRadioButton::toggled, this, [this](bool on) {
        if (on) optadmin_Click();
    });

    cmdmodify = new QPushButton(QStringLiteral("Modify"), this);
    cmdmodify->setObjectName(QStringLiteral("cmdmodify"));
    cmdmodify->setAutoDefault(false);
    connect(cmdmodify, &QPushButton::clicked, this, &PriceListWindow::cmdmodify_Click);

    lbldir = new QLabel(
        QStringLiteral("Click on the row then click on  modify or Double click the row you want "
                       "to modify."),
        this);
    lbldir->setObjectName(QStringLiteral("lbldir"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pricinggrid, 1);
    layout->addWidget(optguest, 0, Qt::AlignLeft);
    layout->addWidget(optadmin, 0, Qt::AlignLeft);
    layout->addWidget(cmdmodify, 0, Qt::AlignLeft);
    layout->addWidget(lbldir);
    layout->addWidget(new WaitPanel(this, WaitPanel::Cancel::AnyWait), 0, Qt::AlignRight);
}

PriceListWindow::~PriceListWindow() = default;

const PriceLine* PriceListWindow::lineAt(int row) const {
    const int i = pricinggrid->sourceIndex(row);
    return i >= 0 && i < m_lines.size() ? &m_lines.at(i) : nullptr;
}

void PriceListWindow::Form_Load() {
    // The set chosen at the pricing question, whatever option the user clicked since.
    const bool admin = G().g_AdminPricing;
    QRadioButton* option = admin ? optadmin : optguest;
    {
        const QSignalBlocker quiet(option);
        option->setChecked(true);
    }
    load(admin ? PriceSet::Admin : PriceSet::Guest);
}

void PriceListWindow::optadmin_Click() {
    load(PriceSet::Admin);
}

void PriceListWindow::optguest_Click() {
    load(PriceSet::Guest);
}

void PriceListWindow::load(PriceSet set) {
    const ReentryGuard::Entry entry = m_loading.enter();
    if (!entry) {
        // A click while a load waits: the option shows the set that load shows.
        QRadioButton* shown = m_set == PriceSet::Admin ? optadmin : optguest;
        const QSignalBlocker quiet(shown);
        shown->setChecked(true);
        return;
    }
    BusyPointer busy(this);
    m_set = set;
    setWindowTitle(priceListCaption(m_kind, set));

    const TableMirrorResult pulled = pullSiteTables();

    WriteDebugLog(QStringLiteral("Loading Calc Grid"));
    if (m_kind == PriceListKind::International) WriteDebugLog(QStringLiteral("Loading CC Grid"));
    WriteDebugLog(QStringLiteral("Loading Rate Grid"));
    PriceList list = buildPriceList(m_kind, set, readMirrorPriceTables(m_kind));
    for (const QString& skipped : list.skipped) WriteDebugLog(skipped);

    m_lines = std::move(list.lines);
    QList<QStringList> rows;
    rows.reserve(m_lines.size());
    for (const PriceLine& line : m_lines) rows << line.cells;
    pricinggrid->setUpdatesEnabled(false);
    pricinggrid->load(list.headers, std::move(rows));
    pricinggrid->AutoSizeGrid();
    pricinggrid->setUpdatesEnabled(true);
    busy.release();

    if (tellFailedPull(pulled) == PullTold::Nothing && !list.problem.isEmpty())
        tell(list.problem, platform::Icon::Exclamation);
}

void PriceListWindow::cmdmodify_Click() {
    const int row = pricinggrid->currentRow();
    const PriceLine* line = lineAt(row);
    if (row == 0 || !line) return;
    G().g_SelectedRow = row;
    bool opened = false;
    {
        BusyPointer busy(this);
        opened = openWindowOrTell(m_modifyWindow, this, QVariant::fromValue(*line));
    }
    if (opened) Form_Load();
}

void PriceListWindow::pricinggrid_DblClick() {
    cmdmodify_Click();
}


frmdomesticpricing::frmdomesticpricing(QWidget* parent)
    : PriceListWindow(PriceListKind::Domestic, QStringLiteral("Domestic Pricing"),
                      QStringLiteral("frmdomesticpricingmodify"), parent) {
    setObjectName(QStringLiteral("frmdomesticpricing"));
    Form_Load();
}

frminternational::frminternational(QWidget* parent)
    : PriceListWindow(PriceListKind::International, QStringLiteral("International Pricing"),
                      QStringLiteral("frminternationalpricingmodify"), parent) {
    setObjectName(QStringLiteral("frminternational"));
    Form_Load();
}

}  // namespace quillon
