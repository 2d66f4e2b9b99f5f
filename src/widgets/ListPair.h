#pragma once
// The pair of selection lists of the report windows: the entries to choose from and the chosen
// ones, each shown list with its hidden twin of keys, all kept in text order. Double click,
// ">>" and Enter move the highlighted available entry into the selection; double click, "<<"
// and Delete move a chosen one back. The highlight stays on the entry that took the moved
// one's place, so repeated presses walk down the list. A greyed list (everything chosen) keeps
// its entries whatever is pressed.
#include "widgets/SelectionList.h"

#include <QWidget>

#include <array>
#include <memory>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace quillon {

// The controls of a pair, under the names the system gives them.
struct ListPairParts {
    // The captions over the available and the selected list.
    std::array<QLabel*, 2> lblreporttype{};
    QListWidget* lstDivision = nullptr;
    QListWidget* lstDivisionHidden = nullptr;
    QListWidget* lstItem = nullptr;
    QListWidget* lstItemHidden = nullptr;
    QPushButton* cmdadd = nullptr;
    QPushButton* cmdremove = nullptr;
};

class ListPair : public QWidget, public ListPairParts {
    Q_OBJECT
public:
    explicit ListPair(QWidget* parent = nullptr);
    ~ListPair() override;

    // The "All" box, for a window that has one beside the lists (addAllBox).
    QCheckBox* chkall = nullptr;

    SelectionList& available() { return *m_available; }
    SelectionList& selected() { return *m_selected; }
    const SelectionList& available() const { return *m_available; }
    const SelectionList& selected() const { return *m_selected; }

    void setCaptions(const QString& available, const QString& selected);
    // Two column headers over each list instead of one caption (the print queue's job id and
    // job name); the second headers are lblreporttype_2 and _3.
    void setColumnHeaders(const QString& first, const QString& second);
    // Empties both lists and offers the entries.
    void load(const QList<SelectionEntry>& entries);

    // The moves of one entry.
    void addHighlighted();
    void removeHighlighted();
    // Every available entry into the selection, both lists then greyed; and every chosen entry
    // back, both lists usable again.
    void selectAll();
    void unselectAll();
    // Every chosen entry back to the available list (resetitemlist).
    void resetSelection();
    void setListsEnabled(bool enabled);
    // The lists and both move buttons together, for a window that offers the moves only at
    // times.
    void setPickerEnabled(bool enabled);

    // Makes the "All" box over the lists: ticking it selects all, unticking gives all back.
    QCheckBox* addAllBox(const QString& caption = QStringLiteral("All"));

signals:
    // One entry was moved by the user (double click, >>, <<, Enter, Delete).
    void moved();

private:
    std::unique_ptr<SelectionList> m_available;
    std::unique_ptr<SelectionList> m_selected;
};

// A window's names for the controls of its one list pair: the window inherits this and gives
// it its pair, and finds the lists and buttons under the names the system gives them.
struct ListPairControls : ListPairParts {
    ListPair* lists = nullptr;

    // Takes the pair and names its controls; returns it.
    ListPair* adoptListPair(ListPair* pair);
};

}  // namespace quillon
