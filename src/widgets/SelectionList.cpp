#include "widgets/SelectionList.h"

#include <QListWidget>

namespace quillon {

namespace {
constexpr int kKeyRole = Qt::UserRole;

// The row before which `text` goes so that the list stays in order; after equal texts.
int insertRow(const QListWidget* list, const QString& text) {
    int lo = 0;
    int hi = list->count();
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (textLess(text, list->item(mid)->text()))
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}
}  // namespace

bool textLess(const QString& a, const QString& b) {
    const int blind = QString::compare(a, b, Qt::CaseInsensitive);
    if (blind != 0) return blind < 0;
    return QString::compare(a, b, Qt::CaseSensitive) < 0;
}

SelectionList::SelectionList(QListWidget* shown, QListWidget* hidden)
    : m_shown(shown), m_hidden(hidden) {}

int SelectionList::count() const {
    return m_shown->count();
}

void SelectionList::clear() {
    m_shown->clear();
    m_hidden->clear();
}

void SelectionList::add(const SelectionEntry& entry) {
    auto* item = new QListWidgetItem(entry.text);
    item->setData(kKeyRole, entry.key);
    m_shown->insertItem(insertRow(m_shown, entry.text), item);
    m_hidden->insertItem(insertRow(m_hidden, entry.key), entry.key);
}

SelectionEntry SelectionList::at(int row) const {
    const QListWidgetItem* item = m_shown->item(row);
    if (!item) return {};
    return {item->data(kKeyRole).toString(), item->text()};
}

SelectionEntry SelectionList::takeAt(int row) {
    const SelectionEntry entry = at(row);
    if (row < 0 || row >= count()) return entry;
    delete m_shown->takeItem(row);
    for (int i = 0; i < m_hidden->count(); ++i) {
        if (m_hidden->item(i)->text() == entry.key) {
            delete m_hidden->takeItem(i);
            break;
        }
    }
    return entry;
}

bool SelectionList::removeText(const QString& text) {
    for (int i = 0; i < count(); ++i) {
        if (m_shown->item(i)->text() == text) {
            takeAt(i);
            return true;
        }
    }
    return false;
}

QStringList SelectionList::keys() const {
    QStringList out;
    for (int i = 0; i < m_hidden->count(); ++i) out << m_hidden->item(i)->text();
    return out;
}

QStringList SelectionList::texts() const {
    QStringList out;
    for (int i = 0; i < m_shown->count(); ++i) out << m_shown->item(i)->text();
    return out;
}

int SelectionList::highlighted() const {
    const QListWidgetItem* item = m_shown->currentItem();
    return item && item->isSelected() ? m_shown->row(item) : -1;
}

void SelectionList::highlight(int row) {
    if (row >= 0 && row < count()) {
        m_shown->setCurrentRow(row);
    } else {
        m_shown->clearSelection();
        m_shown->setCurrentItem(nullptr);
    }
}

void SelectionList::setEnabled(bool enabled) {
    m_shown->setEnabled(enabled);
}

void moveHighlighted(SelectionList& from, SelectionList& to) {
    const int row = from.highlighted();
    if (row < 0) return;
    to.add(from.takeAt(row));
    from.highlight(row < from.count() ? row : -1);
}

void moveAll(SelectionList& from, SelectionList& to) {
    QList<SelectionEntry> entries;
    entries.reserve(from.count());
    for (int i = 0; i < from.count(); ++i) entries << from.at(i);
    from.clear();
    for (const SelectionEntry& e : entries) to.add(e);
}

}  // namespace quillon
