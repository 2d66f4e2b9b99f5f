#include "platform/SystemInfo.h"

#include "support/TempHome.h"

#include <gtest/gtest.h>

namespace {

struct NameCase {
    const char* host;
    const char* name;
};

// The name starts file names that the server's programs take as arguments: it never begins
// with '-', and a host name with nothing usable gives the fallback.
TEST(SystemInfoTest, ComputerNameFromHostName) {
    const NameCase cases[] = {
        {"my-host.example.com", "MY-HOST"},
        {"a_b c", "A-B-C"},
        {"frontdesk", "FRONTDESK"},
        {"abcdefghijklmnopqrst", "ABCDEFGHIJKLMNO"},
        {"abcdefghijklmnopqrst.lan", "ABCDEFGHIJKLMNO"},
        {"Caf\xc3\xa9-1", "CAF--1"},
        {"-x", "X"},
        {"--admin.lan", "ADMIN"},
        {"_svc", "SVC"},
        {"-_-desk-", "DESK-"},
        {"\xc3\xa9t\xc3\xa9", "T-"},
        {"---abcdefghijklmnopqrst", "ABCDEFGHIJKLMNO"},
        {"-", "PC"},
        {"---.lan", "PC"},
        {"", "PC"},
        {".", "PC"},
        {".example.com", "PC"},
    };
    for (const NameCase& c : cases) {
        const QString name = platform::SystemInfo::computerNameFrom(QString::fromUtf8(c.host));
        EXPECT_EQ(name, QString::fromLatin1(c.name)) << '"' << c.host << '"';
    }
}

TEST(SystemInfoTest, OverrideAndMachineName) {
    testsupport::TempHome home;
    EXPECT_EQ(platform::SystemInfo::computerName(), QStringLiteral("TESTPC"));
    platform::SystemInfo::setComputerNameOverride(QString());
    const QString own = platform::SystemInfo::computerName();
    EXPECT_FALSE(own.trimmed().isEmpty());
    EXPECT_EQ(own, platform::SystemInfo::computerNameFrom(own));  // already in its final form
}

TEST(SystemInfoTest, PathIsBelowTheProgramFolderWithSlashes) {
    testsupport::TempHome home;
    EXPECT_EQ(platform::SystemInfo::path(QStringLiteral("Logs\\Mainlog.log")),
              home.path() + QStringLiteral("/Logs/Mainlog.log"));
    EXPECT_EQ(platform::SystemInfo::path(QStringLiteral("\\North\\Bats")),
              home.path() + QStringLiteral("/North/Bats"));
}

}  // namespace
