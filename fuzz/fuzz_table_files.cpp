// Table files of the mirror as the windows read them (the organisation tables, the selection
// lists) and the server's list of report files, from a file that holds the input.
#include "FuzzInput.h"
#include "menu/ReportList.h"
#include "reports/common/SelectionTable.h"
#include "tables/OrgTables.h"

#include <QFile>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QTemporaryDir& dir = fuzzinput::scratchFolder();
    static const QString path = dir.filePath(QStringLiteral("table.csv"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
        f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    const quillon::OrgRows rows = quillon::readOrgRows(path, 8);
    for (const QStringList& row : rows.rows)
        if (row.size() != 8) std::abort();
    quillon::readSelectionTable(path, true, quillon::KeyRepeats::FirstLineOnly);
    quillon::readSelectionTable(path, false, quillon::KeyRepeats::EachLine);
    QStringList names;
    quillon::readReportList(path, &names);
    for (const QString& name : names)
        if (!quillon::isListedReportName(name)) std::abort();
    return 0;
}
