#pragma once
// The combo and list searches of the windows: the first item matching a text without regard to
// case (exact: the whole item; otherwise an item that begins with the text), or -1.
#include <QString>

class QComboBox;
class QListWidget;

namespace quillon {

int ComboFindString(const QComboBox* combo, const QString& text, bool exact);
int ListFindString(const QListWidget* list, const QString& text, bool exact);

}  // namespace quillon
