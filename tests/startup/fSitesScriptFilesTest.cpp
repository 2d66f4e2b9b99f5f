// The report script files: placeholders, copying from the templates, the editor's load and
// save, and deleting a site's Bats folder.
#include "fSitesTestSupport.h"
#include "platform/FileLookup.h"
#include "startup/ReportScripts.h"
#include "support/FileSizeLimit.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace quillon;
using sitestest::fileMode;

namespace {

const SiteScriptValues kSite2{"Site2", "2222", "10.1.2.3", "scp", "secret", "/usr/site2", "tail"};

struct PlaceholderCase {
    const char* line;
    SiteScriptValues values;
    const char* expected;
};

class Placeholders : public ::testing::TestWithParam<PlaceholderCase> {};

TEST_P(Placeholders, Replaced) {
    const PlaceholderCase& c = GetParam();
    EXPECT_EQ(replaceScriptPlaceholders(QString::fromUtf8(c.line), c.values),
              QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Table, Placeholders,
    ::testing::Values(
        PlaceholderCase{"lcd Default\\Bats", kSite2, "lcd Site2\\Bats"},
        PlaceholderCase{"DefaultDefault default", kSite2, "Site2Site2 default"},
        PlaceholderCase{"   open <IPAddress> <SSHPort>   ", kSite2, "open 10.1.2.3 2222"},
        PlaceholderCase{"\tuser <Username> <Password>", kSite2, "\tuser scp secret"},
        PlaceholderCase{"cd <Homedir>; who <SSHUser>", kSite2, "cd /usr/site2; who tail"},
        PlaceholderCase{"<ipaddress> <HOMEDIR>", kSite2, "<ipaddress> <HOMEDIR>"},
        // A value is searched for the placeholders after its own, not for those before it.
        PlaceholderCase{"<IPAddress>", {"S", "22", "<Password>", "u", "pw", "/h", "l"}, "pw"},
        PlaceholderCase{"<Password>", {"S", "22", "ip", "u", "Default", "/h", "l"}, "Default"}));

class ScriptFiles : public ::testing::Test {
protected:
    testsupport::TempHome home;

    void SetUp() override { QDir().mkpath(home.file(QStringLiteral("Site2/Bats"))); }
};

TEST_F(ScriptFiles, CopiesEveryTemplateWithTheSitesValuesAndPrivateMode) {
    home.write(QStringLiteral("Default/Bats/Detail.shp"),
               "open <IPAddress> <SSHPort>\r\n  lcd Default\\download  \r\nbye");
    home.write(QStringLiteral("Default/Bats/SUM.SHP"), "user <Username> <Password>\n");
    home.write(QStringLiteral("Default/Bats/notes.txt"), "not a script\r\n");
    home.write(QStringLiteral("Default/Bats/.hidden.shp"), "hidden\r\n");
    QDir().mkpath(home.file(QStringLiteral("Default/Bats/folder.shp")));

    const ScriptCopyResult r = copySiteScriptFiles(kSite2);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(r.copied, (QStringList{QStringLiteral("Detail.shp"), QStringLiteral("SUM.SHP")}));
    EXPECT_EQ(home.read(QStringLiteral("Site2/Bats/Detail.shp")),
              "open 10.1.2.3 2222\r\nlcd Site2\\download\r\nbye\r\n");
    EXPECT_EQ(home.read(QStringLiteral("Site2/Bats/SUM.SHP")), "user scp secret\r\n");
    EXPECT_EQ(fileMode(home.file(QStringLiteral("Site2/Bats/Detail.shp"))), 0600);
    EXPECT_FALSE(QFile::exists(home.file(QStringLiteral("Site2/Bats/notes.txt"))));
    EXPECT_FALSE(QFile::exists(home.file(QStringLiteral("Site2/Bats/.hidden.shp"))));
}

TEST_F(ScriptFiles, ACopyReplacesAnOlderOneAndTakesThePrivateMode) {
    home.write(QStringLiteral("Default/Bats/cost.shp"), "cd <Homedir>\r\n");
    home.write(QStringLiteral("Site2/Bats/cost.shp"), "an older, longer copy of the script\r\n");
    QFile::setPermissions(home.file(QStringLiteral("Site2/Bats/cost.shp")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
    ASSERT_TRUE(copySiteScriptFiles(kSite2).ok);
    EXPECT_EQ(home.read(QStringLiteral("Site2/Bats/cost.shp")), "cd /usr/site2\r\n");
    EXPECT_EQ(fileMode(home.file(QStringLiteral("Site2/Bats/cost.shp"))), 0600);
}

TEST_F(ScriptFiles, NoTemplatesCopyNothingAndAreNoFailure) {
    EXPECT_TRUE(copySiteScriptFiles(kSite2).ok);
    QDir().mkpath(home.file(QStringLiteral("Default/Bats")));
    const ScriptCopyResult r = copySiteScriptFiles(kSite2);
    EXPECT_TRUE(r.ok);
    EXPECT_TRUE(r.copied.isEmpty());
}

TEST_F(ScriptFiles, AMissingTargetFolderIsReportedAndStopsTheCopy) {
    home.write(QStringLiteral("Default/Bats/a.shp"), "x\r\n");
    home.write(QStringLiteral("Default/Bats/b.shp"), "y\r\n");
    SiteScriptValues elsewhere = kSite2;
    elsewhere.site = QStringLiteral("NoSuchSite");
    const ScriptCopyResult r = copySiteScriptFiles(elsewhere);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.isEmpty());
    EXPECT_TRUE(r.copied.isEmpty());
}

TEST_F(ScriptFiles, ShowingAndSavingUnchangedAddsOneEmptyLine) {
    const QString path = home.file(QStringLiteral("Site2/Bats/Detail.shp"));
    home.write(QStringLiteral("Site2/Bats/Detail.shp"), "open x\r\nbye\r\n");
    QString text, error;
    ASSERT_TRUE(readScriptForEditing(path, &text, &error));
    EXPECT_EQ(text, QStringLiteral("open x\r\nbye\r\n"));
    // The editor box holds LF line ends.
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    ASSERT_TRUE(saveScriptText(path, text, &error)) << error.toStdString();
    EXPECT_EQ(home.read(QStringLiteral("Site2/Bats/Detail.shp")), "open x\r\nbye\r\n\r\n");
    EXPECT_EQ(fileMode(path), 0600);

    ASSERT_TRUE(saveScriptText(path, QStringLiteral("   \n  get a  \n   "), &error));
    EXPECT_EQ(home.read(QStringLiteral("Site2/Bats/Detail.shp")), "\r\n  get a  \r\n\r\n");

    EXPECT_FALSE(
        readScriptForEditing(home.file(QStringLiteral("Site2/Bats/none.shp")), &text, &error));
    EXPECT_FALSE(error.isEmpty());
}

// A disk that cuts the save short: the save fails with the system's reason, the script stays.
TEST_F(ScriptFiles, ASaveCutShortFailsAndKeepsTheScript) {
    const QString path = home.file(QStringLiteral("Site2/Bats/Detail.shp"));
    home.write(QStringLiteral("Site2/Bats/Detail.shp"), "open x\r\nbye\r\n");
    QString error;
    {
        const testsupport::FileSizeLimit full(8);
        EXPECT_FALSE(saveScriptText(path, QStringLiteral("open y\nbye\nmore\n"), &error));
    }
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(home.read(QStringLiteral("Site2/Bats/Detail.shp")), "open x\r\nbye\r\n");
    EXPECT_EQ(QDir(home.file(QStringLiteral("Site2/Bats"))).entryList(QDir::Files),
              QStringList{QStringLiteral("Detail.shp")});
}

TEST_F(ScriptFiles, DeletingTheBatsFolderTakesEverythingInIt) {
    home.write(QStringLiteral("Site2/Bats/Detail.shp"), "x");
    home.write(QStringLiteral("Site2/Bats/ext.csv"), "1000,A\r\n");
    home.write(QStringLiteral("Site2/Bats/.answer"), "ok");
    home.write(QStringLiteral("Site2/Bats/sub/deeper/file.txt"), "z");
    QFile::setPermissions(home.file(QStringLiteral("Site2/Bats/ext.csv")), QFile::ReadOwner);
    QFile::setPermissions(home.file(QStringLiteral("Site2/Bats/sub/deeper")),
                          QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_TRUE(deleteFolderTree(home.file(QStringLiteral("Site2/Bats/"))));
    EXPECT_FALSE(QFileInfo::exists(home.file(QStringLiteral("Site2/Bats"))));
    EXPECT_TRUE(QFileInfo::exists(home.file(QStringLiteral("Site2"))));
    EXPECT_TRUE(deleteFolderTree(home.file(QStringLiteral("Site2/Bats"))));  // gone already
}

// Nothing is deleted through a link, wherever it stands: the link goes, its target stays.
TEST_F(ScriptFiles, DeletingTheBatsFolderNeverDeletesThroughALink) {
    struct Case {
        const char* name;
        const char* link;    // below the site's folder
        const char* target;  // below the program folder
    };
    const Case cases[] = {
        {"the folder itself", "Bats", "Shared"},
        {"a folder in it", "Bats/sub", "Shared"},
        {"a file in it", "Bats/ext.csv", "Shared/keep.txt"},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString site = QStringLiteral("Linked%1").arg(++n);
        const QString shared = QStringLiteral("Shared%1").arg(n);
        const QString target = QString::fromLatin1(c.target).replace("Shared", shared);
        home.write(shared + QStringLiteral("/keep.txt"), "someone else's");
        home.write(site + QStringLiteral("/Bats/Detail.shp"), "x");
        const QString link = home.file(site + QLatin1Char('/') + QLatin1String(c.link));
        if (QFileInfo(link).isDir()) QDir(link).removeRecursively();
        ASSERT_TRUE(QFile::link(home.file(target), link));

        EXPECT_TRUE(deleteFolderTree(home.file(site + QStringLiteral("/Bats/"))));
        const QFileInfo bats(home.file(site + QStringLiteral("/Bats")));
        EXPECT_FALSE(bats.exists() || bats.isSymLink());
        EXPECT_EQ(home.read(shared + QStringLiteral("/keep.txt")), "someone else's");
        EXPECT_EQ(QDir(home.file(shared)).entryList(QDir::Files), QStringList{"keep.txt"});
    }
}

// The templates shipped with the program hold every placeholder the copy replaces, and every
// script the editor lists.
TEST(ShippedTemplates, HoldEveryPlaceholderAndEveryListedScript) {
    const QDir dir(sitestest::shippedTemplates());
    const QStringList files = dir.entryList({QStringLiteral("*.shp")}, QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    for (const QString& name : files) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray text = f.readAll();
        for (const char* placeholder : {"Default", "<IPAddress>", "<SSHPort>", "<Username>",
                                        "<Password>", "<Homedir>", "<SSHUser>"})
            EXPECT_TRUE(text.contains(placeholder)) << name.toStdString() << " " << placeholder;
        EXPECT_TRUE(text.endsWith("\r\n")) << name.toStdString();
        EXPECT_EQ(text.count("\n"), text.count("\r\n")) << name.toStdString();
    }
    for (const ReportScriptEntry& e : reportScriptEntries())
        EXPECT_FALSE(
            platform::findFileNoCase(dir.path(), QString::fromLatin1(e.fileName)).isEmpty())
            << e.fileName;
}

}  // namespace
