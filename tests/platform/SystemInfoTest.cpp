#include "platform/SystemInfo.h"

#include "support/TempHome.h"

#include <gtest/gtest.h>

namespace {

struct NameCase {
    const char* host;
    const char* name;  // nullptr: any non-blank name
};

TEST(SystemInfoTest, ComputerNameFromHostName) {
    const NameCase cases[] = {
        {"my-host.example.com", "MY-HOST"},
        {"a_b c", "A-B-C"},
        {"frontdesk", "FRONTDESK"},
        {"abcdefghijklmnopqrst", "ABCDEFGHIJKLMNO"},
        {"abcdefghijklmnopqrst.lan", "ABCDEFGHIJKLMNO"},
        {"Caf\xc3\xa9-1", "CAF--1"},
        {"", nullptr},
        {".", nullptr},
        {".example.com", nullptr},
    };
    for (const NameCase& c : cases) {
        const QString name = platform::SystemInfo::computerNameFrom(QString::fromUtf8(c.host));
        if (c.name) {
            EXPECT_EQ(name, QString::fromLatin1(c.name)) << c.host;
        } else {
            EXPECT_FALSE(name.trimmed().isEmpty()) << '"' << c.host << '"';
        }
        EXPECT_LE(name.size(), 15) << c.host;
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
