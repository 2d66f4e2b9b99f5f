// Site names and the local paths built from them: a name that would lead out of the program
// folder gives no path at all, so nothing of such a site is made, read or deleted.
#include "common/SiteContext.h"

#include "platform/SystemInfo.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

namespace {

struct NameCase {
    const char* name;
    int index;
    bool refused;
};

class SiteName : public ::testing::TestWithParam<NameCase> {};

TEST_P(SiteName, RefusesNamesThatLeadOutOfTheSiteFolder) {
    const NameCase& c = GetParam();
    const QString name = QString::fromLatin1(c.name);
    EXPECT_EQ(!quillon::siteNameProblem(name, c.index).isEmpty(), c.refused) << c.name;
    EXPECT_EQ(quillon::unusableSiteText(name, c.index).isEmpty(), !c.refused) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SiteName,
    ::testing::Values(NameCase{"", 1, true}, NameCase{"a/b", 1, true}, NameCase{"a\\b", 1, true},
                      NameCase{"..", 1, true}, NameCase{"../Logs", 1, true},
                      NameCase{"x..y", 1, true}, NameCase{".", 1, true},
                      NameCase{"DEFAULT", 2, true}, NameCase{"default", 1, true},
                      NameCase{"Default", 0, false}, NameCase{"North Wing", 1, false},
                      NameCase{"North.Wing", 1, false}, NameCase{"Default2", 1, false}));

// The program folder one level down, so that a name leading upwards has something to hit.
class SitePaths : public ::testing::Test {
protected:
    SitePaths() {
        QDir().mkpath(home.file("program"));
        platform::SystemInfo::setProgramFolder(program());
    }
    QString program() const { return home.file("program"); }
    QStringList entries(const QString& folder) const {
        return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    }
    testsupport::TempHome home;
};

TEST_F(SitePaths, ARefusedNameGivesNoPathAndMakesNothing) {
    for (const char* name : {"..", "../x", "a/b", "a\\b", "", ".", "x/../.."}) {
        const QString site = QString::fromLatin1(name);
        EXPECT_EQ(quillon::sitePath(site), QString()) << name;
        EXPECT_EQ(quillon::sitePath(site, "Bats"), QString()) << name;
        EXPECT_EQ(quillon::siteLocalFolder(site), QString()) << name;
        EXPECT_EQ(quillon::siteReportsFolder(site), QString()) << name;
    }
    EXPECT_EQ(entries(program()), QStringList());
    EXPECT_EQ(entries(home.path()), QStringList{"program"});
}

TEST_F(SitePaths, AGoodNameFindsItsFoldersWhateverTheirCase) {
    QDir().mkpath(program() + "/North Wing/download/Reports");
    EXPECT_EQ(quillon::sitePath("north wing", "Download/reports"),
              program() + "/North Wing/download/Reports");
    EXPECT_EQ(quillon::sitePath("East", "Bats"), program() + "/East/Bats");
    EXPECT_FALSE(QFileInfo::exists(program() + "/East"));  // a path, nothing made
    EXPECT_EQ(quillon::siteReportsFolder("East"), program() + "/East/Download/reports");
    EXPECT_TRUE(QFileInfo(program() + "/East/Download/reports").isDir());
    EXPECT_EQ(quillon::siteLocalFolder("West"), program() + "/West");
    EXPECT_TRUE(QFileInfo(program() + "/West").isDir());
}

}  // namespace
