#include "tables/OrgTables.h"

#include "common/SiteContext.h"
#include "common/TableMirror.h"
#include "common/TextFormats.h"

#include <array>

namespace quillon {

const OrgTable& orgTable(int index) {
    static const std::array<OrgTable, 4> tables{{
        {0,
         QStringLiteral("Line "),
         QStringLiteral("line.csv"),
         {QStringLiteral("Line #"), QStringLiteral("Ext #"), QStringLiteral("Line Type #")},
         QStringLiteral("LINE"),
         QStringLiteral("Line"),
         QStringLiteral("FAddLine"),
         QStringLiteral("feditline"),
         QStringLiteral("Loading edit Line Form")},
        {1,
         QStringLiteral("Extension"),
         QStringLiteral("ext.csv"),
         {QStringLiteral("Ext #"), QStringLiteral("Ext Name"), QStringLiteral("Dept #"),
          QStringLiteral("Equipment Cost"), QStringLiteral("Credit"), QStringLiteral("Overhead"),
          QStringLiteral("Total usage"), QStringLiteral("Other")},
         QStringLiteral("EXTENSION"),
         QStringLiteral("Extension"),
         QStringLiteral("fAddext"),
         QStringLiteral("feditext"),
         QStringLiteral("Loading Edit Extension Form")},
        {2,
         QStringLiteral("Department"),
         QStringLiteral("dpt.csv"),
         {QStringLiteral("Dept #"), QStringLiteral("Dept Name"), QStringLiteral("Div #")},
         QStringLiteral("DEPARTMENT"),
         QStringLiteral("Department"),
         QStringLiteral("fAddDpt"),
         QStringLiteral("feditdpt"),
         QStringLiteral("Loading Edit Department Form")},
        {3,
         QStringLiteral("Division"),
         QStringLiteral("div.csv"),
         {QStringLiteral("Div #"), QStringLiteral("Div Name")},
         QStringLiteral("DIVISION"),
         QStringLiteral("Division"),
         QStringLiteral("fAddDiv"),
         QStringLiteral("fEditDiv"),
         QStringLiteral("Loading Edit Division Form")},
    }};
    return tables[index >= 0 && index < 4 ? index : 3];
}

OrgRows readOrgRows(const QString& path, int columns) {
    OrgRows out;
    out.rows = readTableRecords(path, columns, &out.problem);
    for (QStringList& fields : out.rows) fields[0] = formatKey(fields[0]);
    return out;
}

OrgRows loadOrgRows(const OrgTable& table) {
    return readOrgRows(siteTableFile(SiteContext::current().name(), table.file),
                       int(table.headers.size()));
}

}  // namespace quillon
