#include "widgets/TypedList.h"

#include "common/Messages.h"
#include "widgets/ListFind.h"

#include <QListWidget>

namespace quillon {

int highlightedRow(const QListWidget* list) {
    const QListWidgetItem* item = list->currentItem();
    return item && item->isSelected() ? list->row(item) : -1;
}

bool appendTyped(QListWidget* list, const QString& text, Duplicates duplicates) {
    if (duplicates == Duplicates::Refuse && ListFindString(list, text, true) >= 0) {
        tell(QStringLiteral("Already in list"));
        return false;
    }
    list->addItem(text);
    return true;
}

void removeHighlightedTyped(QListWidget* list) {
    const int row = highlightedRow(list);
    if (row < 0) return;
    delete list->takeItem(row);
    if (row > 0) {
        list->setCurrentRow(row - 1);
    } else {
        list->clearSelection();
        list->setCurrentItem(nullptr);
    }
}

}  // namespace quillon
