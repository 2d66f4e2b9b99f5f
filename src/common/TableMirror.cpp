#include "common/TableMirror.h"

#include "common/SiteContext.h"
#include "platform/FileLookup.h"

namespace quillon {

const QStringList& mirrorTables() {
    static const QStringList tables{"ext", "line", "dpt",  "div", "trunk", "lt", "account",
                                    "ac",  "calc", "rate", "cc",  "lc",    "ld"};
    return tables;
}

QString siteTableFolder(const QString& siteName) {
    return sitePath(siteName, QStringLiteral("Bats"));
}

QString siteTableFile(const QString& siteName, const QString& fileName) {
    const QString folder = siteTableFolder(siteName);
    // A site whose name cannot name a folder has no tables: nothing is read or written.
    if (folder.isEmpty()) return QString();
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
