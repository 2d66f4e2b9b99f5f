// The manager window's grid with a 100,000-row extension table, each step beside a plain read
// and split of the same file (read, decode, lines, CSV fields) in the same run:
//  1. loading the table into the grid (the option's click: read, split, key format, show, size);
//  2. sorting it by a number column and by a text column;
//  3. exporting it as it is sorted to CSV and HTML, and to Excel as much of it as a BIFF2 sheet
//     holds (its 16-bit row numbers: 65,535 rows below the heading; the whole table is refused).
// Goal for each: under 0.5 s and within 5 times the plain read. Several rounds, medians.
#include "common/CommonFunctions.h"
#include "common/GridExport.h"
#include "common/SiteContext.h"
#include "platform/DocumentViewer.h"
#include "platform/SystemInfo.h"
#include "platform/TextCodec.h"
#include "tables/frmmanager.h"
#include "widgets/SortableGrid.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace quillon;

namespace {

constexpr int kRows = 100000;
constexpr int kExcelRows = 65535;
constexpr int kRounds = 7;
constexpr double kGoalMs = 500;
constexpr double kGoalRatio = 5;

// The exports open their file in the desktop's viewer; here nothing is opened.
class NoViewer : public platform::DocumentViewer {
public:
    bool open(const QString&) override { return true; }
    int runAndWait(const QString&, const QStringList&) override { return 0; }
};

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double timed(const std::function<void()>& step) {
    QElapsedTimer t;
    t.start();
    step();
    return t.nsecsElapsed() / 1e6;
}

QByteArray extTable() {
    QByteArray out;
    out.reserve(kRows * 48);
    for (int i = 0; i < kRows; ++i)
        out += QStringLiteral("%1,Station %2 %3,%4,%5,0.00,%6,%7,\r\n")
                   .arg(10000 + i)
                   .arg(i % 977)
                   .arg(QChar(u'A' + i % 26))
                   .arg(100 + i % 7)
                   .arg((i % 13) * 1.25, 0, 'f', 2)
                   .arg((i % 5) * 0.5, 0, 'f', 2)
                   .arg(i % 97)
                   .toLatin1();
    return out;
}

// The plain read and split the steps are measured against.
int plainReadAndSplit(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return 0;
    int fields = 0;
    for (const QString& line : splitTextLines(platform::fromCp1252(f.readAll())))
        fields += int(SplitCsvLine(line).size());
    return fields;
}

bool report(const char* what, double ms, double plain) {
    const bool met = ms < kGoalMs && ms <= kGoalRatio * plain;
    std::printf("%-34s %8.1f ms   plain read %7.1f ms   ratio %5.2f   %s\n", what, ms, plain,
                ms / plain, met ? "goal met" : "GOAL MISSED");
    return met;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir home;
    platform::SystemInfo::setProgramFolder(home.path());
    NoViewer viewer;
    platform::DocumentViewer::setInstance(&viewer);
    FixedSite site(1, QStringLiteral("North"));
    SiteContext::install(&site);

    const QString bats = siteLocalFolder(QStringLiteral("North")) + QStringLiteral("/Bats");
    QDir().mkpath(bats);
    const QString ext = bats + QStringLiteral("/ext.csv");
    {
        QFile f(ext);
        if (!f.open(QIODevice::WriteOnly) || f.write(extTable()) < 0) {
            std::printf("bench_tables: could not write %s\n", qPrintable(ext));
            return 1;
        }
    }
    QFile(bats + QStringLiteral("/div.csv")).open(QIODevice::WriteOnly);
    std::printf("bench_tables: ext.csv of %d rows (%lld bytes), %d rounds, medians\n", kRows,
                QFile(ext).size(), kRounds);

    frmmanager manager;
    SortableGrid* grid = manager.MSFlexGrid1;
    SortableGrid sheetRows;
    const QString out = home.path() + QStringLiteral("/export");
    std::vector<double> plain, load, sortNumbers, sortText, csv, html, xls;
    for (int round = 0; round < kRounds; ++round) {
        plain.push_back(timed([&] { plainReadAndSplit(ext); }));
        load.push_back(timed([&] { manager.Optreporttype_Click(1); }));
        if (grid->dataRows() != kRows) {
            std::printf("bench_tables: the grid shows %d rows\n", grid->dataRows());
            return 1;
        }
        sortText.push_back(timed([&] { grid->SortByColumn(1); }));
        sortNumbers.push_back(timed([&] { grid->SortByColumn(4); }));
        csv.push_back(timed([&] { ExportGridToCsv(out + QStringLiteral(".csv"), *grid); }));
        html.push_back(timed(
            [&] { ExportGridToHtml(*grid, out + QStringLiteral(".html"), QStringLiteral("t")); }));
        if (ExportGridToExcel(*grid, out + QStringLiteral(".xls"), QString(), QString())) {
            std::printf("bench_tables: a sheet of %d rows was written\n", kRows);
            return 1;
        }
        QList<QStringList> rows;
        for (int r = 1; r <= kExcelRows; ++r) rows << grid->rowCells(r);
        sheetRows.load(grid->rowCells(0), rows);
        xls.push_back(timed([&] {
            if (!ExportGridToExcel(sheetRows, out + QStringLiteral(".xls"), QString(), QString()))
                std::printf("bench_tables: the Excel export failed\n");
        }));
    }

    const double p = median(plain);
    bool met = true;
    met &= report("load into the grid", median(load), p);
    met &= report("sort by a text column", median(sortText), p);
    met &= report("sort by a number column", median(sortNumbers), p);
    met &= report("export CSV", median(csv), p);
    met &= report("export HTML", median(html), p);
    met &= report("export Excel (65,535 rows)", median(xls), p);
    std::printf("%s\n", met ? "bench_tables: every goal met" : "bench_tables: goals missed");
    platform::DocumentViewer::setInstance(nullptr);
    return 0;
}
