#include "reports/selection/SelectionTable.h"

#include "common/CommonFunctions.h"
#include "common/TextFormats.h"
#include "platform/TextCodec.h"

#include <QFile>
#include <QFileInfo>

namespace quillon {

SelectionTable readSelectionTable(const QString& path, bool formattedKeys) {
    SelectionTable table;
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        table.problem = QStringLiteral(
                            "The table %1 is not on this computer, so there is nothing "
                            "to choose from. Choose the site again to fetch its "
                            "tables.")
                            .arg(name);
        return table;
    }
    const QString text = platform::fromCp1252(file.readAll());
    int shortLines = 0;
    for (QString line : text.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        if (line.trimmed().isEmpty()) continue;
        const QStringList fields = SplitCsvLine(line);
        const QString key = fields.value(0);
        if (key.isEmpty() && fields.size() < 2) continue;
        if (fields.size() < 2) ++shortLines;
        const QString shown = formatKey(key);
        table.entries << SelectionEntry{formattedKeys ? shown : key,
                                        shown + QLatin1Char(' ') + fields.value(1)};
    }
    if (shortLines > 0)
        table.problem = QStringLiteral(
                            "%1 line(s) of the table %2 hold no name; they are listed "
                            "without one.")
                            .arg(shortLines)
                            .arg(name);
    return table;
}

}  // namespace quillon
