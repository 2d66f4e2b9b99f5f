#include "common/TableMirror.h"

#include "common/SiteContext.h"
#include "common/CommonFunctions.h"
#include "platform/FileLookup.h"
#include "platform/SystemInfo.h"
#include "platform/TextCodec.h"

#include <QFile>
#include <QFileInfo>

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

QList<QStringList> readTableRecords(const QString& path, int columns, QString* problem) {
    QList<QStringList> rows;
    if (problem) problem->clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (problem) *problem = missingTableText(QFileInfo(path).fileName());
        return rows;
    }
    const QStringList lines = splitTextLines(platform::fromCp1252(file.readAll()));
    rows.reserve(lines.size());
    for (const QString& line : lines) {
        if (line.trimmed().isEmpty()) continue;
        QStringList fields = SplitCsvLine(line);
        if (fields.size() > columns) fields.resize(columns);
        while (fields.size() < columns) fields.append(QString());
        rows.append(std::move(fields));
    }
    return rows;
}

}  // namespace quillon
