#include "common/CommonFunctions.h"

#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QFile>

using namespace quillon;

namespace {

// ---- FileExists / DeleteFileIfExists ------------------------------------------------------

TEST(FileExistsTest, NameMatchesWithoutRegardToCase) {
    testsupport::TempHome home;
    home.write(QStringLiteral("North/Bats/ext.csv"), "1\r\n");
    const QString bats = home.file(QStringLiteral("North/Bats/"));

    EXPECT_TRUE(FileExists(bats + QStringLiteral("ext.csv")));
    EXPECT_TRUE(FileExists(bats + QStringLiteral("EXT.CSV")));
    EXPECT_TRUE(FileExists(bats + QStringLiteral("Ext.Csv"), QStringLiteral("/ignored")));
    EXPECT_FALSE(FileExists(bats + QStringLiteral("ext.cs")));
    EXPECT_FALSE(FileExists(bats + QStringLiteral("ext.csv.bak")));
    EXPECT_FALSE(FileExists(home.file(QStringLiteral("Missing/ext.csv"))));
    // A path written with backslashes means the same file.
    QString backslashed = bats + QStringLiteral("EXT.csv");
    backslashed.replace(QLatin1Char('/'), QLatin1Char('\\'));
    EXPECT_TRUE(FileExists(backslashed));
}

TEST(FileExistsTest, FolderAloneAndEmptyArguments) {
    testsupport::TempHome home;
    home.write(QStringLiteral("North/download/x"), "");
    EXPECT_FALSE(FileExists(QString(), QString()));
    EXPECT_TRUE(FileExists(QString(), home.file(QStringLiteral("North/download"))));
    EXPECT_TRUE(FileExists(QString(), home.file(QStringLiteral("North/download/"))));
    EXPECT_FALSE(FileExists(QString(), home.file(QStringLiteral("North/nothing"))));
    EXPECT_FALSE(FileExists(QString(), home.file(QStringLiteral("North/download/x"))));
}

TEST(FileExistsTest, DeleteFindsTheFileInAnyCaseAndPrefersTheExactName) {
    testsupport::TempHome home;
    home.write(QStringLiteral("d/usernames.use"), "a");
    home.write(QStringLiteral("d/USERNAMES.USE"), "b");
    home.write(QStringLiteral("d/Other.use"), "c");

    DeleteFileIfExists(home.file(QStringLiteral("d/USERNAMES.USE")));
    EXPECT_TRUE(QFile::exists(home.file(QStringLiteral("d/usernames.use"))));
    EXPECT_FALSE(QFile::exists(home.file(QStringLiteral("d/USERNAMES.USE"))));

    DeleteFileIfExists(home.file(QStringLiteral("d/other.USE")));
    EXPECT_FALSE(QFile::exists(home.file(QStringLiteral("d/Other.use"))));

    DeleteFileIfExists(home.file(QStringLiteral("d/none.use")));  // nothing there: no harm
    EXPECT_TRUE(QFile::exists(home.file(QStringLiteral("d/usernames.use"))));
}

// ---- ConvertUnixFile ----------------------------------------------------------------------

struct ConvertCase {
    const char* name;
    QByteArray source;
    QByteArray target;
};

class ConvertUnixFileTest : public ::testing::TestWithParam<ConvertCase> {};

TEST_P(ConvertUnixFileTest, WritesCrLfLines) {
    testsupport::TempHome home;
    home.write(QStringLiteral("Bats/extunix.csv"), GetParam().source);
    home.write(QStringLiteral("Bats/ext.csv"), "old content that is longer than the new one\r\n");
    ASSERT_TRUE(ConvertUnixFile(home.file(QStringLiteral("Bats/extunix.csv")),
                                home.file(QStringLiteral("Bats/ext.csv"))));
    EXPECT_EQ(home.read(QStringLiteral("Bats/ext.csv")), GetParam().target);
    EXPECT_EQ(home.read(QStringLiteral("Bats/extunix.csv")), GetParam().source);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConvertUnixFileTest,
    ::testing::Values(
        ConvertCase{"Lines", "a\n\nb\n", "a\r\n\r\nb\r\n"}, ConvertCase{"Empty", "", ""},
        ConvertCase{"LeadingLf", "\nx\n", "\r\nx\r\n"},
        ConvertCase{"LastLineWithoutLfKept", "1,Ext One\n2,Ext Two", "1,Ext One\r\n2,Ext Two\r\n"},
        ConvertCase{"NoLfAtAll", "only", "only\r\n"},
        ConvertCase{"CrLfStaysCrLf", "a\r\nb\nc\r\n", "a\r\nb\r\nc\r\n"},
        ConvertCase{"LoneCrIsData", "a\rb\n", "a\rb\r\n"},
        ConvertCase{"BytesAbove127Untouched", "caf\xe9\n\x80\n", "caf\xe9\r\n\x80\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ConvertUnixFileFailures, MissingSourceLeavesTargetAlone) {
    testsupport::TempHome home;
    home.write(QStringLiteral("ext.csv"), "kept\r\n");
    EXPECT_TRUE(ConvertUnixFile(home.file(QStringLiteral("extunix.csv")),
                                home.file(QStringLiteral("ext.csv"))));
    EXPECT_EQ(home.read(QStringLiteral("ext.csv")), "kept\r\n");

    // No target either: none is made.
    ConvertUnixFile(home.file(QStringLiteral("extunix.csv")), home.file(QStringLiteral("t.csv")));
    EXPECT_FALSE(QFile::exists(home.file(QStringLiteral("t.csv"))));
}

TEST(ConvertUnixFileFailures, SourceFoundWithoutRegardToCase) {
    testsupport::TempHome home;
    home.write(QStringLiteral("EXTUNIX.CSV"), "a\n");
    EXPECT_TRUE(ConvertUnixFile(home.file(QStringLiteral("extunix.csv")),
                                home.file(QStringLiteral("ext.csv"))));
    EXPECT_EQ(home.read(QStringLiteral("ext.csv")), "a\r\n");
}

TEST(ConvertUnixFileFailures, UnwritableTargetIsReported) {
    testsupport::TempHome home;
    home.write(QStringLiteral("extunix.csv"), "a\n");
    EXPECT_FALSE(ConvertUnixFile(home.file(QStringLiteral("extunix.csv")),
                                 home.file(QStringLiteral("no/such/folder/ext.csv"))));
}

}  // namespace
