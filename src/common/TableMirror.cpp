#include "common/TableMirror.h"

#include "common/SiteContext.h"

namespace quillon {

const QStringList& mirrorTables() {
    static const QStringList tables{"ext", "line", "dpt",  "div", "trunk", "lt", "account",
                                    "ac",  "calc", "rate", "cc",  "lc",    "ld"};
    return tables;
}

QString siteTableFolder(const QString& siteName) {
    return sitePath(siteName, QStringLiteral("Bats"));
}

}  // namespace quillon
