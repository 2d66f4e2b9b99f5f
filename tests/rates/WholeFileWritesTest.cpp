// Every file the program writes whole, on a disk that fills up halfway: the writer says it
// failed, the file it would have replaced keeps its old bytes, no temporary file stays and
// nothing is opened. A writer that only checked commit() would rename the cut file into place.
#include "common/CommonFunctions.h"
#include "common/GridExport.h"
#include "rates/PricingReport.h"
#include "support/FileSizeLimit.h"
#include "support/RecordingViewer.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <functional>
#include <ostream>

using namespace quillon;

namespace {

const QByteArray kOld = "the old file, kept whole";

MemoryGrid grid() {
    QList<QStringList> rows{{"Ext #", "Ext Name", "Dept #"}};
    for (int i = 0; i < 40; ++i)
        rows << QStringList{QString::number(1000 + i), QStringLiteral("Name %1").arg(i), "100"};
    return MemoryGrid(rows);
}

struct Writer {
    const char* name;
    // Writes `target` from what it needs in `dir` (made before the limit); true on success.
    std::function<void(const QString& dir)> prepare;
    std::function<bool(const QString& dir, const QString& target)> write;
};

void PrintTo(const Writer& w, std::ostream* os) {
    *os << w.name;
}

class WholeFileWrites : public ::testing::TestWithParam<Writer> {};

TEST_P(WholeFileWrites, AWriteCutShortFailsAndKeepsTheOldFile) {
    testsupport::TempHome dir;
    const QString target = dir.file(QStringLiteral("target"));
    GetParam().prepare(dir.path());
    // Written whole, each writer succeeds first.
    {
        testsupport::RecordingViewer viewer;
        ASSERT_TRUE(GetParam().write(dir.path(), target));
    }
    const QByteArray whole = dir.read(QStringLiteral("target"));
    ASSERT_GT(whole.size(), 512);

    dir.write(QStringLiteral("target"), kOld);
    const QStringList before = QDir(dir.path()).entryList(QDir::Files);
    testsupport::RecordingViewer viewer;
    bool written = true;
    {
        const testsupport::FileSizeLimit full(512);
        written = GetParam().write(dir.path(), target);
    }
    EXPECT_FALSE(written);
    EXPECT_EQ(dir.read(QStringLiteral("target")), kOld);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), before);
    EXPECT_TRUE(viewer.opened.isEmpty());
}

const QString kAnswer = QStringLiteral("answer.rep");

INSTANTIATE_TEST_SUITE_P(
    EveryWriter, WholeFileWrites,
    ::testing::Values(
        Writer{"PricingReport",
               [](const QString& dir) {
                   QFile::copy(
                       QStringLiteral(QUILLON_SOURCE_DIR "/tests/rates/golden/standard_CCAL.rep"),
                       dir + QLatin1Char('/') + kAnswer);
               },
               [](const QString& dir, const QString& target) {
                   QString error;
                   const bool ok = WritePricingReport(dir + QLatin1Char('/') + kAnswer, target,
                                                      QDateTime(QDate(2026, 12, 9), QTime(14, 30)),
                                                      &error) == 0;
                   EXPECT_EQ(ok, error.isEmpty()) << error.toStdString();
                   return ok;
               }},
        Writer{
            "CsvExport", [](const QString&) {},
            [](const QString&, const QString& target) { return ExportGridToCsv(target, grid()); }},
        Writer{"HtmlExport", [](const QString&) {},
               [](const QString&, const QString& target) {
                   return ExportGridToHtml(grid(), target, QStringLiteral("Export"));
               }},
        Writer{"ExcelExport", [](const QString&) {},
               [](const QString&, const QString& target) {
                   return ExportGridToExcel(grid(), target, QString(), QString());
               }},
        Writer{"UnixFileConversion",
               [](const QString& dir) {
                   QFile fetched(dir + QStringLiteral("/fetched.csv"));
                   ASSERT_TRUE(fetched.open(QIODevice::WriteOnly));
                   for (int i = 0; i < 100; ++i) fetched.write("1001,Name,100\n");
               },
               [](const QString& dir, const QString& target) {
                   return ConvertUnixFile(dir + QStringLiteral("/fetched.csv"), target);
               }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
