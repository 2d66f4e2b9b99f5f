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

class ListPair : public QWidget {
    Q_OBJECT
public:
    explicit ListPair(QWidget* parent = nullptr);
    ~ListPair() override;

    // The captions over the available and the selected list.
    std::array<QLabel*, 2> lblreporttype{};
    QListWidget* lstDivision = nullptr;
    QListWidget* lstDivisionHidden = nullptr;
    QListWidget* lstItem = nullptr;
    QListWidget* lstItemHidden = nullptr;
    QPushButton* cmdadd = nullptr;
    QPushButton* cmdremove = nullptr;
    // The "All" box, for a window that has one beside the lists (addAllBox).
    QCheckBox* chkall = nullptr;

    SelectionList& available() { return *m_available; }
    SelectionList& selected() { return *m_selected; }

    void setCaptions(const QString& available, const QString& selected);
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

    // Makes the "All" box over the lists: ticking it selects all, unticking gives all back.
    QCheckBox* addAllBox(const QString& caption = QStringLiteral("All"));

signals:
    // One entry was moved by the user (double click, >>, <<, Enter, Delete).
    void moved();

private:
    std::unique_ptr<SelectionList> m_available;
    std::unique_ptr<SelectionList> m_selected;
};

}  // namespace quillon
