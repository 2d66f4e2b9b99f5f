// Every file the program writes whole, on a disk that fills up halfway: the writer says it
// failed, the file it would have replaced keeps its old bytes, no temporary file stays and
// nothing is opened. A writer that only checked commit() would rename the cut file into place.
#include "common/CommonFunctions.h"
#include "common/GridExport.h"
#include "rates/PricingReport.h"
#include "support/FileSizeLimit.h"
#include "support/RecordingViewer.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <ostream>

using namespace quillon;

namespace {

const QByteArray kOld = "the old file, kept whole";

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

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
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("target"));
    GetParam().prepare(dir.path());
    // Written whole, each writer succeeds first.
    {
        testsupport::RecordingViewer viewer;
        ASSERT_TRUE(GetParam().write(dir.path(), target));
    }
    const QByteArray whole = readFile(target);
    ASSERT_GT(whole.size(), 512);

    writeFile(target, kOld);
    const QStringList before = QDir(dir.path()).entryList(QDir::Files);
    testsupport::RecordingViewer viewer;
    bool written = true;
    {
        const testsupport::FileSizeLimit full(512);
        written = GetParam().write(dir.path(), target);
    }
    EXPECT_FALSE(written);
    EXPECT_EQ(readFile(target), kOld);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), before);
    EXPECT_TRUE(viewer.opened.isEmpty());
}

const QString kAnswer = QStringLiteral("answer.rep");

INSTANTIATE_TEST_SUITE_P(
    EveryWriter, WholeFileWrites,
    ::testing::Values(
        Writer{"PricingReport",
               [](const QString& dir) {
                   QFile::copy(QStringLiteral(QUILLON_SOURCE_DIR
                                              "/tests/rates/golden/standard_CCAL.rep"),
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
        Writer{"CsvExport", [](const QString&) {},
               [](const QString&, const QString& target) {
                   return ExportGridToCsv(target, grid());
               }},
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
                   QByteArray lines;
                   for (int i = 0; i < 100; ++i) lines += "1001,Name,100\n";
                   writeFile(dir + QStringLiteral("/fetched.csv"), lines);
               },
               [](const QString& dir, const QString& target) {
                   return ConvertUnixFile(dir + QStringLiteral("/fetched.csv"), target);
               }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
