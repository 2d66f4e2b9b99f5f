#pragma once
// Reading one table of the table mirror into selection entries: the first field is the key,
// the second its name; the shown text is the key formatted "000#", a blank and the name.
#include "widgets/SelectionList.h"

#include <QList>
#include <QString>

namespace quillon {

struct SelectionTable {
    QList<SelectionEntry> entries;
    // Empty when the file was read whole; otherwise what the user is told (a missing file, or
    // lines without a name, which are listed with an empty name).
    QString problem;
};

// formattedKeys: the key of an entry is the formatted first field (the keys go into the request
// as the list shows them); otherwise the field exactly as the table holds it.
SelectionTable readSelectionTable(const QString& path, bool formattedKeys);

}  // namespace quillon
