#include "common/TableMirror.h"

#include "platform/FileLookup.h"
#include "platform/SystemInfo.h"

namespace quillon {

const QStringList& mirrorTables() {
    static const QStringList tables{"ext", "line", "dpt",  "div", "trunk", "lt", "account",
                                    "ac",  "calc", "rate", "cc",  "lc",    "ld"};
    return tables;
}

QString siteTableFolder(const QString& siteName) {
    return platform::resolveNoCase(platform::SystemInfo::programFolder(),
                                   siteName + QStringLiteral("/Bats"));
}

}  // namespace quillon
