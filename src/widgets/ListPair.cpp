#include "widgets/ListPair.h"

#include "widgets/KeyUpFilter.h"
#include "widgets/NamedControls.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillon {

namespace {
QListWidget* makeList(const char* name, QWidget* parent, bool shown) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setVisible(shown);
    return list;
}

}  // namespace

ListPair::ListPair(QWidget* parent) : QWidget(parent) {
    for (int i = 0; i < 2; ++i) {
        lblreporttype[i] = new QLabel(this);
        lblreporttype[i]->setObjectName(QStringLiteral("lblreporttype_%1").arg(i));
    }
    lstDivision = makeList("lstDivision", this, true);
    lstDivisionHidden = makeList("lstDivisionHidden", this, false);
    lstItem = makeList("lstItem", this, true);
    lstItemHidden = makeList("lstItemHidden", this, false);
    m_available = std::make_unique<SelectionList>(lstDivision, lstDivisionHidden);
    m_selected = std::make_unique<SelectionList>(lstItem, lstItemHidden);
    // Enter belongs to the lists, never to a default button.
    cmdadd = namedButton(this, QStringLiteral("cmdadd"), QStringLiteral(">>"));
    cmdremove = namedButton(this, QStringLiteral("cmdremove"), QStringLiteral("<<"));

    connect(lstDivision, &QListWidget::itemDoubleClicked, this, &ListPair::addHighlighted);
    connect(lstItem, &QListWidget::itemDoubleClicked, this, &ListPair::removeHighlighted);
    connect(cmdadd, &QPushButton::clicked, this, &ListPair::addHighlighted);
    connect(cmdremove, &QPushButton::clicked, this, &ListPair::removeHighlighted);
    KeyUpFilter::onKey(lstDivision, kKeyEnter, [this] { addHighlighted(); });
    KeyUpFilter::onKey(lstItem, kKeyDelete, [this] { removeHighlighted(); });

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(lblreporttype[0], 1, 0);
    grid->addWidget(lblreporttype[1], 1, 2);
    grid->addWidget(lstDivision, 2, 0);
    auto* buttons = new QVBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdadd);
    buttons->addWidget(cmdremove);
    buttons->addStretch();
    grid->addLayout(buttons, 2, 1);
    grid->addWidget(lstItem, 2, 2);
}

ListPair::~ListPair() = default;

void ListPair::setCaptions(const QString& available, const QString& selected) {
    lblreporttype[0]->setText(available);
    lblreporttype[1]->setText(selected);
}

void ListPair::setColumnHeaders(const QString& first, const QString& second) {
    auto* grid = static_cast<QGridLayout*>(layout());
    for (int i = 0; i < 2; ++i) {
        lblreporttype[i]->setText(first);
        auto* next = new QLabel(second, this);
        next->setObjectName(QStringLiteral("lblreporttype_%1").arg(i + 2));
        grid->removeWidget(lblreporttype[i]);
        auto* row = new QHBoxLayout;
        row->addWidget(lblreporttype[i]);
        row->addWidget(next, 1);
        grid->addLayout(row, 1, i == 0 ? 0 : 2);
    }
}

void ListPair::load(const QList<SelectionEntry>& entries) {
    m_available->clear();
    m_selected->clear();
    for (const SelectionEntry& e : entries) m_available->add(e);
}

void ListPair::addHighlighted() {
    if (!lstDivision->isEnabled()) return;
    moveHighlighted(*m_available, *m_selected);
    emit moved();
}

void ListPair::removeHighlighted() {
    if (!lstItem->isEnabled()) return;
    moveHighlighted(*m_selected, *m_available);
    emit moved();
}

void ListPair::selectAll() {
    setListsEnabled(false);
    moveAll(*m_available, *m_selected);
}

void ListPair::unselectAll() {
    resetSelection();
    setListsEnabled(true);
}

void ListPair::resetSelection() {
    moveAll(*m_selected, *m_available);
}

void ListPair::setListsEnabled(bool enabled) {
    m_available->setEnabled(enabled);
    m_selected->setEnabled(enabled);
}

void ListPair::setPickerEnabled(bool enabled) {
    setListsEnabled(enabled);
    cmdadd->setEnabled(enabled);
    cmdremove->setEnabled(enabled);
}

QCheckBox* ListPair::addAllBox(const QString& caption) {
    if (chkall) return chkall;
    chkall = new QCheckBox(caption, this);
    chkall->setObjectName(QStringLiteral("chkall"));
    static_cast<QGridLayout*>(layout())->addWidget(chkall, 0, 0);
    connect(chkall, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            selectAll();
        else
            unselectAll();
    });
    return chkall;
}

ListPair* ListPairControls::adoptListPair(ListPair* pair) {
    lists = pair;
    static_cast<ListPairParts&>(*this) = *pair;
    return pair;
}

}  // namespace quillon
