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

QString siteTableFile(const QString& siteName, const QString& fileName) {
    const QString folder = siteTableFolder(siteName);
    const QString found = platform::findFileNoCase(folder, fileName);
    return found.isEmpty() ? folder + QLatin1Char('/') + fileName : found;
}

QString missingTableText(const QString& fileName) {
    return QStringLiteral(
               "The table %1 is not on this computer. Choose the site again to fetch its "
               "tables.")
        .arg(fileName);
}

}  // namespace quillon
