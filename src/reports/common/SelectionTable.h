#pragma once
// Reading one table of the table mirror into selection entries: the first field is the key,
// the second its name; the shown text is the key formatted "000#", a blank and the name.
#include "widgets/SelectionList.h"

#include <QList>
#include <QString>

namespace quillon {

struct SelectionTable {
    QList<SelectionEntry> entries;  // in file order
    // Empty when the file was read whole; otherwise what the user is told (a missing file, or
    // lines without a name, which are listed with an empty name).
    QString problem;

    // Tells the problem to the user, if there is one; once the entries are listed.
    void tellProblem() const;
};

// Whether a key that stands on several lines (a trunk group, one line per trunk) is listed
// for each line or once, with the name of its first line.
enum class KeyRepeats { EachLine, FirstLineOnly };

// formattedKeys: the key of an entry is the formatted first field (the keys go into the request
// as the list shows them); otherwise the field exactly as the table holds it.
SelectionTable readSelectionTable(const QString& path, bool formattedKeys,
                                  KeyRepeats repeats = KeyRepeats::EachLine);

// The table of that name in the current site's table folder, found without regard to case.
SelectionTable loadSiteTable(const QString& table, bool formattedKeys,
                             KeyRepeats repeats = KeyRepeats::EachLine);

}  // namespace quillon
