#include "rates/PricingReport.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <ostream>

using namespace quillon;

namespace {

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QString golden(const QString& name) {
    return QStringLiteral(QUILLON_SOURCE_DIR "/tests/rates/golden/") + name;
}

// The golden reports were made on 9 December 2026 at 14:30 with US short forms.
class LocaleScope {
public:
    LocaleScope() : m_old(QLocale()) {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    ~LocaleScope() { QLocale::setDefault(m_old); }

private:
    QLocale m_old;
};

const QDateTime kRanAt(QDate(2026, 12, 9), QTime(14, 30));

TEST(PadSpaces, GivesThatManyBlanksAndNothingForZeroOrLess) {
    EXPECT_EQ(PadSpaces(3), QStringLiteral("   "));
    EXPECT_EQ(PadSpaces(0), QString());
    EXPECT_EQ(PadSpaces(-4), QString());
}

struct GoldenCase {
    const char* answer;  // file under golden/
    const char* report;
};
void PrintTo(const GoldenCase& c, std::ostream* os) {
    *os << c.answer;
}

class PricingReportGolden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(PricingReportGolden, WritesTheReportOfTheLastLineAndKeepsTheAnswer) {
    LocaleScope locale;
    QTemporaryDir dir;
    const QString in = golden(QLatin1String(GetParam().answer));
    const QString out = dir.filePath(QStringLiteral("report.rtf"));
    writeFile(out, "an older report that is replaced");
    const QByteArray answerBefore = readFile(in);

    QString error;
    EXPECT_EQ(WritePricingReport(in, out, kRanAt, &error), 0) << error.toStdString();

    EXPECT_EQ(readFile(out), readFile(golden(QLatin1String(GetParam().report))));
    EXPECT_EQ(readFile(in), answerBefore);

    // Written over its own answer, the report takes the answer's place.
    const QString inPlace = dir.filePath(QStringLiteral("PC1_CCAL.rtf"));
    writeFile(inPlace, answerBefore);
    EXPECT_EQ(WritePricingReport(inPlace, inPlace, kRanAt, &error), 0) << error.toStdString();
    EXPECT_EQ(readFile(inPlace), readFile(golden(QLatin1String(GetParam().report))));
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, PricingReportGolden,
    ::testing::Values(
        // Two lines, LF ends: only the second one shows; a 7-wide amount gets no blank.
        GoldenCase{"standard_CCAL.rep", "standard_CCAL.txt"},
        // "011", CR LF ends, a total longer than its column.
        GoldenCase{"international_CCAL.rep", "international_CCAL.txt"},
        // 30 fields; 10, 13 and 24 nowhere.
        GoldenCase{"tiv_CCAL.rep", "tiv_CCAL.txt"}));

// Nineteen fields of the standard layout after the given first five.
QByteArray standard(const QByteArray& firstFive, const QByteArray& total = "9.99") {
    return firstFive + ",1.00,1.00,60,0.50,1,0.50,60,0.00,0.10,5,0.20,10,0.00," + total;
}

struct LineCase {
    const char* what;
    QByteArray answer;
    int line;  // 1-based
    const char* text;
};
void PrintTo(const LineCase& c, std::ostream* os) {
    *os << c.what;
}

class PricingReportLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(PricingReportLine, ShowsTheField) {
    QString error;
    const auto lines = PricingReportLines(GetParam().answer, QStringLiteral("now"), &error);
    ASSERT_TRUE(lines) << error.toStdString();
    ASSERT_GE(lines->size(), GetParam().line);
    EXPECT_EQ(lines->at(GetParam().line - 1), QString::fromLatin1(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Fields, PricingReportLine,
    ::testing::Values(
        LineCase{"the rest of a long line is the total", standard("617,555,X,5,0002", "1.00,2,3"),
                 27, "TOTAL                $ 1.00,2,3"},
        LineCase{"0110 is an area code", standard("0110,555,X,5,0002"), 9,
                 "Area Code             0110"},
        LineCase{"011 asks for the country code", standard("011,44,X,5,0002"), 10,
                 "Country Code          44"},
        LineCase{"tiv in lower case is the standard layout", standard("tiv,555,X,5,0002"), 9,
                 "Area Code             tiv"},
        LineCase{"CR alone ends a line", "1,2\r" + standard("617,555,X,5,0002"), 9,
                 "Area Code             617"},
        LineCase{"blank lines after the record are passed over",
                 standard("617,555,X,5,0002") + "\n\n", 9, "Area Code             617"},
        LineCase{"fields are printed as received", standard("617,555, BOSTON ,5,0002"), 11,
                 "LOCATION               BOSTON "},
        LineCase{"an amount of 8 characters is not cut", standard("617,555,X,5,0002", "12345678"),
                 27, "TOTAL                $ 12345678"},
        LineCase{"the stamp follows the label", standard("617,555,X,5,0002"), 3,
                 "Report Ran:now"}));

TEST(PricingReport, LineCountsOfTheTwoLayouts) {
    const auto plain = PricingReportLines(standard("617,555,X,5,0002"), QStringLiteral("now"));
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->size(), 27);
    const auto tiv =
        PricingReportLines(readFile(golden(QStringLiteral("tiv_CCAL.rep"))), QStringLiteral("now"));
    ASSERT_TRUE(tiv);
    EXPECT_EQ(tiv->size(), 31);
}

struct BadAnswer {
    const char* what;
    QByteArray answer;
};
void PrintTo(const BadAnswer& c, std::ostream* os) {
    *os << c.what;
}

class PricingReportBadAnswer : public ::testing::TestWithParam<BadAnswer> {};

TEST_P(PricingReportBadAnswer, WritesNothingAndSaysWhy) {
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("PC1_CCAL.rep"));
    const QString out = dir.filePath(QStringLiteral("report.rtf"));
    writeFile(in, GetParam().answer);
    writeFile(out, "kept");

    QString error;
    EXPECT_NE(WritePricingReport(in, out, kRanAt, &error), 0);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(readFile(out), QByteArray("kept"));
    EXPECT_TRUE(QFile::exists(in));
}

INSTANTIATE_TEST_SUITE_P(
    Limits, PricingReportBadAnswer,
    ::testing::Values(BadAnswer{"empty file", ""}, BadAnswer{"only line ends", "\r\n\n"},
                      BadAnswer{"18 fields", "617,555,X,5,0002,1,1,60,1,1,1,60,0,0,5,0,10,0"},
                      // A standard record's worth of fields, but TIV asks for 30.
                      BadAnswer{"TIV with 19 fields", standard("TIV,617,555,X,5")},
                      BadAnswer{"a good record before a short last line",
                                standard("617,555,X,5,0002") + "\n1,2,3\n"}));

TEST(PricingReport, MissingAnswerIsAFailureNotACrash) {
    QTemporaryDir dir;
    QString error;
    EXPECT_NE(WritePricingReport(dir.filePath(QStringLiteral("none.rep")),
                                 dir.filePath(QStringLiteral("out.rtf")), kRanAt, &error),
              0);
    EXPECT_TRUE(error.contains(QStringLiteral("none.rep")));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("out.rtf"))));
}

}  // namespace
