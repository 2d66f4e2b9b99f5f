#include "platform/FileLookup.h"

#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QDir>

namespace {

TEST(FileLookupTest, FindFileNoCase) {
    testsupport::TempHome home;
    home.write(QStringLiteral("Bats/Ext.csv"), "x");
    home.write(QStringLiteral("Bats/ext.CSV"), "y");
    home.write(QStringLiteral("Bats/LINE.csv"), "z");
    const QString bats = home.file(QStringLiteral("Bats"));

    // An exact spelling wins over another case of the same name.
    EXPECT_EQ(platform::findFileNoCase(bats, QStringLiteral("ext.CSV")), bats + "/ext.CSV");
    EXPECT_EQ(platform::findFileNoCase(bats, QStringLiteral("Ext.csv")), bats + "/Ext.csv");
    // Another case is found as it is spelled on disk.
    EXPECT_EQ(platform::findFileNoCase(bats, QStringLiteral("line.csv")), bats + "/LINE.csv");
    EXPECT_TRUE(platform::findFileNoCase(bats, QStringLiteral("EXT.CSV"))
                    .endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive));
    // Folders are names too.
    EXPECT_EQ(platform::findFileNoCase(home.path(), QStringLiteral("bats")), bats);
    // Nothing found.
    EXPECT_EQ(platform::findFileNoCase(bats, QStringLiteral("dpt.csv")), QString());
    EXPECT_EQ(platform::findFileNoCase(bats, QString()), QString());
    EXPECT_EQ(platform::findFileNoCase(home.file(QStringLiteral("none")), QStringLiteral("a")),
              QString());
}

TEST(FileLookupTest, ResolveNoCaseFollowsEveryComponent) {
    testsupport::TempHome home;
    home.write(QStringLiteral("North/Download/reports/a.rtf"), "");
    EXPECT_EQ(platform::resolveNoCase(home.path(), QStringLiteral("north\\download\\Reports")),
              home.file(QStringLiteral("North/Download/reports")));
    // Components that do not exist are kept as given.
    EXPECT_EQ(platform::resolveNoCase(home.path(), QStringLiteral("NORTH/download/new/b.rtf")),
              home.file(QStringLiteral("North/Download/new/b.rtf")));
}

}  // namespace
