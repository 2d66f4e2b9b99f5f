#pragma once
// A pick-only drop-down list with a hidden twin of keys (the line types of the statistics
// report and the calculator, the departments and divisions of the table forms): each shown
// entry is "000# name", the twin holds the formatted key at the same index, and the request
// carries the twin's text. Each entry keeps its key with it, so however the list is filled or
// sorted a label is never parted from its key.
#include "widgets/SelectionList.h"

#include <QList>
#include <QObject>
#include <QString>

class QComboBox;
class QWidget;

namespace quillon {

class KeyedPickList : public QObject {
    Q_OBJECT
public:
    // Makes both lists as children of `parent` with the given object names; the twin hidden.
    KeyedPickList(QWidget* parent, const QString& shownName, const QString& twinName);

    QComboBox* shown() const { return m_shown; }
    QComboBox* twin() const { return m_twin; }

    // Replaces the entries, in the order given (file order); nothing is chosen.
    void setEntries(const QList<SelectionEntry>& entries);
    void add(const SelectionEntry& entry);
    void clear();
    // Orders the entries by their shown text, each with its own key.
    void sortByText();

    int count() const;
    SelectionEntry at(int index) const;
    // The chosen index (-1 for none) and its key, the twin's text ("" for none).
    int currentIndex() const;
    void setCurrentIndex(int index);
    QString currentKey() const;

    // Chooses the entry whose key is `key`, as given or formatted "000#" — the whole key, so
    // 1234 is never taken for 12345. Returns its index; -1 (and nothing chosen) when no entry
    // has that key.
    int preselect(const QString& key);

private:
    void rebuildTwin();

    QComboBox* m_shown;
    QComboBox* m_twin;
};

}  // namespace quillon
