#include "widgets/KeyedPickList.h"

#include "common/TextFormats.h"

#include <QComboBox>
#include <QSignalBlocker>

#include <algorithm>

namespace quillon {

namespace {
constexpr int kKeyRole = Qt::UserRole;
}  // namespace

KeyedPickList::KeyedPickList(QWidget* parent, const QString& shownName, const QString& twinName)
    : QObject(parent), m_shown(new QComboBox(parent)), m_twin(new QComboBox(parent)) {
    m_shown->setObjectName(shownName);
    m_shown->setEditable(false);
    m_twin->setObjectName(twinName);
    m_twin->setVisible(false);
    // A pick by the user or by the program chooses the same index in the twin.
    connect(m_shown, &QComboBox::currentIndexChanged, m_twin,
            [this](int index) { m_twin->setCurrentIndex(index); });
}

void KeyedPickList::rebuildTwin() {
    const QSignalBlocker quiet(m_twin);
    m_twin->clear();
    for (int i = 0; i < m_shown->count(); ++i)
        m_twin->addItem(m_shown->itemData(i, kKeyRole).toString());
    m_twin->setCurrentIndex(m_shown->currentIndex());
}

void KeyedPickList::setEntries(const QList<SelectionEntry>& entries) {
    {
        const QSignalBlocker quiet(m_shown);
        m_shown->clear();
        for (const SelectionEntry& e : entries) m_shown->addItem(e.text, e.key);
        m_shown->setCurrentIndex(-1);
    }
    rebuildTwin();
}

void KeyedPickList::add(const SelectionEntry& entry) {
    {
        const QSignalBlocker quiet(m_shown);
        const int chosen = m_shown->currentIndex();
        m_shown->addItem(entry.text, entry.key);
        m_shown->setCurrentIndex(chosen);
    }
    rebuildTwin();
}

void KeyedPickList::clear() {
    setEntries({});
}

void KeyedPickList::sortByText() {
    const int chosen = currentIndex();
    QList<std::pair<SelectionEntry, bool>> rows;
    for (int i = 0; i < count(); ++i) rows.append({at(i), i == chosen});
    std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
        return textLess(a.first.text, b.first.text);
    });
    QList<SelectionEntry> entries;
    int stillChosen = -1;
    for (int i = 0; i < rows.size(); ++i) {
        entries << rows[i].first;
        if (rows[i].second) stillChosen = i;
    }
    setEntries(entries);
    setCurrentIndex(stillChosen);
}

int KeyedPickList::count() const {
    return m_shown->count();
}

SelectionEntry KeyedPickList::at(int index) const {
    if (index < 0 || index >= count()) return {};
    return {m_shown->itemData(index, kKeyRole).toString(), m_shown->itemText(index)};
}

int KeyedPickList::currentIndex() const {
    return m_shown->currentIndex();
}

void KeyedPickList::setCurrentIndex(int index) {
    m_shown->setCurrentIndex(index);
}

QString KeyedPickList::currentKey() const {
    return m_twin->currentText();
}

int KeyedPickList::preselect(const QString& key) {
    const QString formatted = formatKey(key);
    int found = -1;
    for (int i = 0; i < m_twin->count() && found < 0; ++i) {
        const QString k = m_twin->itemText(i);
        if (k.compare(formatted, Qt::CaseInsensitive) == 0 ||
            k.compare(key, Qt::CaseInsensitive) == 0)
            found = i;
    }
    setCurrentIndex(found);
    return found;
}

}  // namespace quillon
