#include "platform/ProfileFile.h"

#include "support/FileSizeLimit.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

using platform::ProfileFile;
namespace profile = platform::profile;

namespace {

const QByteArray kHandMade =
    "; hand-made\r\n"
    "[Sites]\r\n"
    "Num=2\r\n"
    "Last = 1 \r\n"
    "\r\n"
    "[Site1]\r\n"
    "Name=  North  \r\n"
    "IPAddress=10.0.0.1\n"
    "\r\n"
    "[site2]\r\n"
    "Name=South\r\n";

struct ReadCase {
    const char* section;
    const char* key;
    const char* expected;
};

class ProfileRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ProfileRead, MatchesWithoutCaseAndTrims) {
    const ReadCase& c = GetParam();
    EXPECT_EQ(profile::read(kHandMade, QString::fromUtf8(c.section), QString::fromUtf8(c.key)),
              QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfileRead,
                         ::testing::Values(ReadCase{"Sites", "Num", "2"},
                                           ReadCase{"SITES", "last", "1"},
                                           ReadCase{"Site1", "Name", "North"},
                                           ReadCase{"Site1", "IPAddress", "10.0.0.1"},
                                           ReadCase{"Site2", "name", "South"},
                                           ReadCase{"Site2", "IPAddress", ""},
                                           ReadCase{"Site9", "Name", ""}));

TEST(ProfileFile, ValueIsCutAt254Characters) {
    const QByteArray content = "[A]\r\nk=" + QByteArray(300, 'x') + "\r\n";
    EXPECT_EQ(profile::read(content, "A", "k"), QString(254, QLatin1Char('x')));
}

TEST(ProfileFile, EmptyAndMissingReadAlike) {
    const QByteArray content = "[A]\r\nk=\r\nblank=   \r\n";
    EXPECT_EQ(profile::read(content, "A", "k"), QString());
    EXPECT_EQ(profile::read(content, "A", "blank"), QString());
    EXPECT_EQ(profile::read(content, "A", "none"), QString());
}

TEST(ProfileFile, WriteReplacesOneLineAndKeepsEveryOtherByte) {
    const QByteArray out = profile::write(kHandMade, "sites", "LAST", "0");
    QByteArray expected = kHandMade;
    expected.replace("Last = 1 \r\n", "Last =0\r\n");
    EXPECT_EQ(out, expected);
}

TEST(ProfileFile, WriteAddsKeyAtEndOfItsSection) {
    const QByteArray out = profile::write(kHandMade, "Site1", "SSHPort", "22");
    QByteArray expected = kHandMade;
    expected.replace("IPAddress=10.0.0.1\n", "IPAddress=10.0.0.1\nSSHPort=22\r\n");
    EXPECT_EQ(out, expected);
}

TEST(ProfileFile, WriteAddsSectionAtEndOfFile) {
    const QByteArray out = profile::write(kHandMade, "Site3", "Name", "East");
    EXPECT_EQ(out, kHandMade + "[Site3]\r\nName=East\r\n");
    const QByteArray noEol = profile::write("[A]\r\nk=1", "B", "x", "2");
    EXPECT_EQ(noEol, QByteArray("[A]\r\nk=1\r\n[B]\r\nx=2\r\n"));
}

TEST(ProfileFile, KeyNameEndingInBlankIsWrittenAsNamedAndReadEitherWay) {
    // "LastLogin " keeps its trailing blank in the file, lands on one line only, and reads
    // with or without the blank.
    QByteArray c = profile::write("[Site1]\r\nName=A\r\n", "Site1", "LastLogin ", "bob");
    EXPECT_EQ(c, QByteArray("[Site1]\r\nName=A\r\nLastLogin =bob\r\n"));
    c = profile::write(c, "Site1", "LastLogin ", "eve");
    EXPECT_EQ(c, QByteArray("[Site1]\r\nName=A\r\nLastLogin =eve\r\n"));
    EXPECT_EQ(profile::read(c, "Site1", "LastLogin "), QStringLiteral("eve"));
    EXPECT_EQ(profile::read(c, "Site1", "lastlogin"), QStringLiteral("eve"));
    // A line already in the file, in its own spelling, is the one replaced.
    EXPECT_EQ(profile::write("[Site1]\r\nLastLogin=bob\r\n", "Site1", "LastLogin ", "eve"),
              QByteArray("[Site1]\r\nLastLogin=eve\r\n"));
}

TEST(ProfileFile, TextIsWindows1252) {
    const QByteArray c =
        profile::write({}, "A", "k", QString::fromUtf8("caf\xc3\xa9 \xe2\x82\xac"));
    EXPECT_EQ(c, QByteArray("[A]\r\nk=caf\xe9 \x80\r\n"));
    EXPECT_EQ(profile::read(c, "A", "k"), QString::fromUtf8("caf\xc3\xa9 \xe2\x82\xac"));
}

TEST(ProfileFile, FileWritesAreAtomicAndNewFilesPrivate) {
    testsupport::TempHome home;
    ProfileFile ini(home.file("KTReports.ini"));
    EXPECT_FALSE(ini.exists());
    ASSERT_TRUE(ini.write("Sites", "Num", 1));
    const auto perms = QFileInfo(ini.path()).permissions();
    EXPECT_TRUE(perms.testFlag(QFileDevice::ReadOwner) && perms.testFlag(QFileDevice::WriteOwner));
    EXPECT_FALSE(perms & (QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                          QFileDevice::ReadOther | QFileDevice::WriteOther));
    home.write("other.ini", kHandMade);
    ProfileFile other(home.file("other.ini"));
    ASSERT_TRUE(other.write("Site2", "Name", "West"));
    EXPECT_EQ(other.read("site2", "NAME"), QStringLiteral("West"));
    EXPECT_EQ(other.read("Site1", "Name"), QStringLiteral("North"));
}

TEST(ProfileFile, ALineBreakInAValueIsRefusedAndTheFileKept) {
    testsupport::TempHome home;
    home.write("KTReports.ini", kHandMade);
    ProfileFile ini(home.file("KTReports.ini"));
    EXPECT_FALSE(ini.write("Site1", "Name", "North\r\n[Site9]\r\nName=x"));
    EXPECT_FALSE(ini.write("Site1", "Name", "a\nb"));
    EXPECT_FALSE(ini.write("Site1\n", "Name", "a"));
    EXPECT_EQ(home.read("KTReports.ini"), kHandMade);
}

// A disk that cuts the write short: the write fails and the file stays whole.
TEST(ProfileFile, AWriteCutShortFailsAndKeepsTheFile) {
    testsupport::TempHome home;
    home.write("KTReports.ini", kHandMade);
    const ProfileFile ini(home.file("KTReports.ini"));
    {
        const testsupport::FileSizeLimit full(16);
        EXPECT_FALSE(ini.write("Sites", "DebugMode", "0"));
    }
    EXPECT_EQ(home.read("KTReports.ini"), kHandMade);
    EXPECT_EQ(QDir(home.path()).entryList(QDir::Files), QStringList{"KTReports.ini"});
}

struct SwitchCase {
    const char* value;
    bool on;
};
class ProfileSwitch : public ::testing::TestWithParam<SwitchCase> {};
TEST_P(ProfileSwitch, NumericAndAboveZero) {
    EXPECT_EQ(ProfileFile::isSwitchOn(QString::fromUtf8(GetParam().value)), GetParam().on);
}
INSTANTIATE_TEST_SUITE_P(Cases, ProfileSwitch,
                         ::testing::Values(SwitchCase{"2", true}, SwitchCase{"1", true},
                                           SwitchCase{"0.6", true}, SwitchCase{"0.4", false},
                                           SwitchCase{"0", false}, SwitchCase{"-1", false},
                                           SwitchCase{"abc", false}, SwitchCase{"", false}));

}  // namespace
