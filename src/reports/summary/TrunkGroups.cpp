#include "reports/summary/TrunkGroups.h"

#include "reports/common/SelectionTable.h"
#include "widgets/ListPair.h"

namespace quillon {

void loadTrunkGroups(ListPair& lists) {
    const SelectionTable table =
        loadSiteTable(QStringLiteral("trunk.csv"), true, KeyRepeats::FirstLineOnly);
    lists.load(table.entries);
    table.tellProblem();
}

}  // namespace quillon
