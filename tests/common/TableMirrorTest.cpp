#include "common/TableMirror.h"

#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QDir>

using namespace quillon;

namespace {

TEST(TableMirrorFolder, KeepsTheSpellingOfAnExistingFolder) {
    testsupport::TempHome home;
    EXPECT_EQ(siteTableFolder(QStringLiteral("North")), home.file("North/Bats"));
    QDir().mkpath(home.file("north wing/bats"));
    EXPECT_EQ(siteTableFolder(QStringLiteral("North Wing")), home.file("north wing/bats"));
}

}  // namespace
