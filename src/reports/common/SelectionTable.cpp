#include "reports/common/SelectionTable.h"

#include "common/CommonFunctions.h"
#include "common/Messages.h"
#include "common/SiteContext.h"
#include "common/TableMirror.h"
#include "common/TextFormats.h"
#include "platform/TextCodec.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace quillon {

SelectionTable readSelectionTable(const QString& path, bool formattedKeys, KeyRepeats repeats) {
    SelectionTable table;
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        table.problem = missingTableText(name);
        return table;
    }
    const QString text = platform::fromCp1252(file.readAll());
    int shortLines = 0;
    QSet<QString> listed;  // keys without regard to case, as the list search finds them
    for (QString line : text.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        if (line.trimmed().isEmpty()) continue;
        const QStringList fields = SplitCsvLine(line);
        const QString key = fields.value(0);
        if (key.isEmpty() && fields.size() < 2) continue;
        const QString shown = formatKey(key);
        const QString entryKey = formattedKeys ? shown : key;
        if (repeats == KeyRepeats::FirstLineOnly) {
            const QString folded = entryKey.toCaseFolded();
            if (listed.contains(folded)) continue;
            listed.insert(folded);
        }
        if (fields.size() < 2) ++shortLines;
        table.entries << SelectionEntry{entryKey, shown + QLatin1Char(' ') + fields.value(1)};
    }
    if (shortLines > 0)
        table.problem = QStringLiteral(
                            "%1 line(s) of the table %2 hold no name; they are listed "
                            "without one.")
                            .arg(shortLines)
                            .arg(name);
    return table;
}

void SelectionTable::tellProblem() const {
    if (!problem.isEmpty()) tell(problem, platform::Icon::Exclamation);
}

SelectionTable loadSiteTable(const QString& table, bool formattedKeys, KeyRepeats repeats) {
    const SiteContext& site = SiteContext::current();
    const QString path = siteTableFile(site.name(), table);
    if (path.isEmpty()) return SelectionTable{{}, unusableSiteText(site.name(), site.index())};
    return readSelectionTable(path, formattedKeys, repeats);
}

}  // namespace quillon
