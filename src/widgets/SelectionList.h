#pragma once
// A selection list: a shown list of texts and its hidden twin of keys, both in ascending text
// order. Every shown entry carries its own key, so an entry that moves takes exactly its key
// along, also where the keys sort differently from the texts (unformatted account codes).
#include <QString>
#include <QStringList>

class QListWidget;

namespace quillon {

struct SelectionEntry {
    QString key;
    QString text;
};

// Ascending text order of the lists: without regard to case, then by case.
bool textLess(const QString& a, const QString& b);

class SelectionList {
public:
    SelectionList(QListWidget* shown, QListWidget* hidden);

    QListWidget* shown() const { return m_shown; }
    QListWidget* hidden() const { return m_hidden; }

    int count() const;
    void clear();
    // Adds the entry in its place in both lists.
    void add(const SelectionEntry& entry);
    SelectionEntry at(int row) const;
    // Removes shown entry `row` and its key from the twin.
    SelectionEntry takeAt(int row);
    // Removes the first entry whose shown text is exactly `text`; false when there is none.
    bool removeText(const QString& text);
    // The keys as the twin holds them, first to last: the order of the request's item lines.
    QStringList keys() const;
    QStringList texts() const;

    // The highlighted row of the shown list, or -1.
    int highlighted() const;
    void highlight(int row);
    void setEnabled(bool enabled);

private:
    QListWidget* m_shown;
    QListWidget* m_hidden;
};

// Moves the highlighted entry of `from` into `to` and highlights the entry that took its place,
// if any. Nothing happens when nothing is highlighted.
void moveHighlighted(SelectionList& from, SelectionList& to);
// Moves every entry of `from` into `to`, first to last.
void moveAll(SelectionList& from, SelectionList& to);

}  // namespace quillon
