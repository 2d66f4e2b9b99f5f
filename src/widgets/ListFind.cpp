#include "widgets/ListFind.h"

#include "common/CommonFunctions.h"

#include <QComboBox>
#include <QListWidget>

namespace quillon {

int ComboFindString(const QComboBox* combo, const QString& text, bool exact) {
    if (!combo) return -1;
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
    return findItemText(items, text, exact);
}

int ListFindString(const QListWidget* list, const QString& text, bool exact) {
    if (!list) return -1;
    QStringList items;
    for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
    return findItemText(items, text, exact);
}

}  // namespace quillon
