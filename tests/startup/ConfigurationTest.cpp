#include "startup/Configuration.h"

#include "common/Globals.h"
#include "platform/ProfileFile.h"
#include "support/FileSizeLimit.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <map>
#include <string>

using quillon::G;
using quillon::ReadStartupConfiguration;
using quillon::StartupConfiguration;

namespace {

// The key=value lines of one section as the file holds them, in order.
QStringList sectionLines(const QByteArray& content, const QString& section) {
    QStringList lines;
    bool inside = false;
    for (const QString& raw : QString::fromLatin1(content).split(QStringLiteral("\r\n"))) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inside = line.compare(QLatin1Char('[') + section + QLatin1Char(']'),
                                  Qt::CaseInsensitive) == 0;
            continue;
        }
        if (inside && !line.isEmpty()) lines << line;
    }
    return lines;
}

QByteArray sitesWith(const QByteArray& lines) {
    return "[Sites]\r\n" + lines +
           "[Site1]\r\nName=North\r\n[Site2]\r\nName=South\r\n"
           "[Site3]\r\nName=East\r\n";
}

struct Fixture : ::testing::Test {
    testsupport::TempHome home;
    StartupConfiguration read(const QByteArray& ini) {
        home.write(QStringLiteral("KTReports.ini"), ini);
        return ReadStartupConfiguration();
    }
    QString value(const QString& section, const QString& key) const {
        return platform::ProfileFile(home.file(QStringLiteral("KTReports.ini"))).read(section, key);
    }
};

// --- switches ---------------------------------------------------------------------------

struct DebugCase {
    const char* line;  // the DebugMode line, or "" for none
    bool on;
    const char* valueAfter;
};

class DebugModeSwitch : public Fixture, public ::testing::WithParamInterface<DebugCase> {};

TEST_P(DebugModeSwitch, OpensTheLogOnlyWhenOn) {
    const DebugCase& c = GetParam();
    read(sitesWith(QByteArray(c.line) + "Num=3\r\nLast=2\r\n"));
    EXPECT_EQ(G().g_DebugMode, c.on);
    EXPECT_EQ(value("Sites", "DebugMode"), QString::fromLatin1(c.valueAfter));
    const QByteArray log = home.read(QStringLiteral("Logs/Mainlog.log"));
    if (c.on) {
        EXPECT_TRUE(log.startsWith("OPENED\r\n")) << log.constData();
        EXPECT_TRUE(log.contains(" Last Site is 2\r\n")) << log.constData();
    } else {
        EXPECT_FALSE(QFileInfo::exists(home.file("Logs")));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, DebugModeSwitch,
                         ::testing::Values(DebugCase{"DebugMode=2\r\n", true, "2"},
                                           DebugCase{"DebugMode=1\r\n", true, "1"},
                                           DebugCase{"DebugMode=abc\r\n", false, "abc"},
                                           DebugCase{"DebugMode=0\r\n", false, "0"},
                                           DebugCase{"DebugMode=-1\r\n", false, "-1"},
                                           DebugCase{"", false, "0"}));

TEST_F(Fixture, EditionSwitchesAreReadButNeverWritten) {
    read(sitesWith("Express=1\r\nUnusedreport=yes\r\nUpdateMode=3\r\nNum=3\r\n"));
    EXPECT_TRUE(G().g_Express);
    EXPECT_FALSE(G().g_UnusedReport);
    EXPECT_FALSE(G().g_Brevia);
    EXPECT_TRUE(G().g_UpdateMode);
    const QByteArray ini = home.read("KTReports.ini");
    EXPECT_FALSE(ini.toLower().contains("brevia"));
    EXPECT_TRUE(ini.contains("Unusedreport=yes\r\n"));
}

TEST_F(Fixture, AppVersionIsWrittenAtEveryStart) {
    read(sitesWith("AppVersion=6.9\r\nNum=3\r\n"));
    EXPECT_EQ(value("Sites", "AppVersion"), "7.0.3");
    EXPECT_EQ(sectionLines(home.read("KTReports.ini"), "Sites").filter("AppVersion").size(), 1);
}

// --- FTPTIMEOUT and Last ----------------------------------------------------------------

struct TimeoutCase {
    const char* line;
    int seconds;
    const char* valueAfter;
};

class FtpTimeout : public Fixture, public ::testing::WithParamInterface<TimeoutCase> {};

TEST_P(FtpTimeout, FallsBackTo90) {
    const TimeoutCase& c = GetParam();
    read(sitesWith(QByteArray(c.line) + "Num=3\r\n"));
    EXPECT_EQ(G().g_FtpTimeout, c.seconds);
    EXPECT_EQ(value("Sites", "FTPTIMEOUT"), QString::fromLatin1(c.valueAfter));
}

INSTANTIATE_TEST_SUITE_P(Cases, FtpTimeout,
                         ::testing::Values(TimeoutCase{"FTPTIMEOUT=abc\r\n", 90, "abc"},
                                           TimeoutCase{"", 90, "90"},
                                           TimeoutCase{"FTPTIMEOUT=\r\n", 90, "90"},
                                           TimeoutCase{"FTPTIMEOUT=45.7\r\n", 45, "45.7"},
                                           TimeoutCase{"FTPTIMEOUT=300\r\n", 300, "300"},
                                           // No deadline of zero seconds: it would fail
                                           // every transfer at once.
                                           TimeoutCase{"FTPTIMEOUT=0\r\n", 90, "0"},
                                           TimeoutCase{"FTPTIMEOUT=-5\r\n", 90, "-5"}));

struct LastCase {
    const char* line;
    int lastSite;
    int curSite;
};

class LastSite : public Fixture, public ::testing::WithParamInterface<LastCase> {};

TEST_P(LastSite, SelectsSiteZeroWhenOutOfRange) {
    const LastCase& c = GetParam();
    const StartupConfiguration config = read(sitesWith(QByteArray(c.line) + "Num=3\r\n"));
    EXPECT_EQ(config.siteNames, (QStringList{"North", "South", "East"}));
    EXPECT_EQ(G().g_LastSite, c.lastSite);
    EXPECT_EQ(G().g_CurSite, c.curSite);
}

INSTANTIATE_TEST_SUITE_P(Cases, LastSite,
                         ::testing::Values(LastCase{"Last=1\r\n", 1, 1},
                                           LastCase{"Last=2\r\n", 2, 2},
                                           LastCase{"Last=3\r\n", 3, 0},
                                           LastCase{"Last=40\r\n", 40, 0},
                                           LastCase{"Last=-2\r\n", -2, 0},
                                           LastCase{"Last=x\r\n", -1, 0}, LastCase{"", -1, 0}));

// --- every value read as a number --------------------------------------------------------

// One rule for all of them, halves to even as the system's whole-number conversion rounds;
// FTPTIMEOUT alone is rounded down.
struct NumberCase {
    const char* key;
    const char* value;
    int read;  // the switch as 0 or 1, else the number
};

void PrintTo(const NumberCase& c, std::ostream* os) {
    *os << c.key << "=" << c.value;
}

int numberRead(const char* key) {
    const auto& g = G();
    const std::map<std::string, int> read{
        {"DebugMode", g.g_DebugMode}, {"UpdateMode", g.g_UpdateMode},
        {"Express", g.g_Express},     {"Unusedreport", g.g_UnusedReport},
        {"Brevia", g.g_Brevia},       {"FTPTIMEOUT", g.g_FtpTimeout},
        {"Last", g.g_LastSite},       {"Num", g.g_SiteCount},
    };
    return read.at(key);
}

class NumberValue : public Fixture, public ::testing::WithParamInterface<NumberCase> {};

TEST_P(NumberValue, RoundsHalvesToEven) {
    const NumberCase& c = GetParam();
    QByteArray lines = QByteArray(c.key) + "=" + c.value + "\r\n";
    if (QByteArray(c.key) != "Num") lines += "Num=3\r\n";
    read(sitesWith(lines));
    EXPECT_EQ(numberRead(c.key), c.read) << c.key << "=" << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NumberValue,
    ::testing::Values(NumberCase{"DebugMode", "0.5", 0}, NumberCase{"DebugMode", "1.5", 1},
                      NumberCase{"DebugMode", "0.51", 1}, NumberCase{"DebugMode", "-0.5", 0},
                      NumberCase{"UpdateMode", "0.5", 0}, NumberCase{"UpdateMode", "2.5", 1},
                      NumberCase{"Express", "0.5", 0}, NumberCase{"Express", "1.5", 1},
                      NumberCase{"Unusedreport", "0.5", 0}, NumberCase{"Unusedreport", "1.5", 1},
                      NumberCase{"Brevia", "0.5", 0}, NumberCase{"Brevia", "1.5", 1},
                      NumberCase{"Last", "0.5", 0}, NumberCase{"Last", "1.5", 2},
                      NumberCase{"Last", "2.5", 2}, NumberCase{"Last", "-0.5", 0},
                      NumberCase{"Last", "-1.5", -2}, NumberCase{"Num", "0.5", 0},
                      NumberCase{"Num", "1.5", 2}, NumberCase{"Num", "2.5", 2},
                      NumberCase{"FTPTIMEOUT", "45.5", 45}, NumberCase{"FTPTIMEOUT", "46.5", 46},
                      NumberCase{"FTPTIMEOUT", "1.9", 1}));

// --- Num --------------------------------------------------------------------------------

class NoSites : public Fixture, public ::testing::WithParamInterface<const char*> {};

TEST_P(NoSites, ANumThatIsNotACountReadsAsNoSites) {
    const StartupConfiguration config = read(sitesWith(GetParam()));
    EXPECT_TRUE(config.fileFound);
    EXPECT_TRUE(config.siteNames.isEmpty());
    EXPECT_TRUE(config.notices.empty());
    EXPECT_EQ(G().g_SiteCount, 0);
    EXPECT_EQ(G().g_CurSite, -1);
    // The sections that are there are not touched.
    EXPECT_EQ(sectionLines(home.read("KTReports.ini"), "Site1"), QStringList{"Name=North"});
}

INSTANTIATE_TEST_SUITE_P(Cases, NoSites,
                         ::testing::Values("Num=abc\r\n", "", "Num=-3\r\n", "Num=0\r\n"));

TEST_F(Fixture, ANumAbove51ReadsTheFirst51SitesAndSaysSo) {
    QByteArray ini = "[Sites]\r\nNum=53\r\nLast=52\r\n";
    for (int k = 1; k <= 53; ++k)
        ini += QStringLiteral("[Site%1]\r\nName=S%1\r\n").arg(k).toLatin1();
    const StartupConfiguration config = read(ini);
    ASSERT_EQ(config.siteNames.size(), 51);
    EXPECT_EQ(config.siteNames.last(), "S51");
    EXPECT_EQ(G().g_SiteCount, 51);
    EXPECT_EQ(G().g_CurSite, 0);
    ASSERT_EQ(config.notices.size(), 1u);
    EXPECT_TRUE(config.notices[0].text.contains("53")) << config.notices[0].text.toStdString();
    EXPECT_TRUE(config.notices[0].text.contains("51"));
    EXPECT_EQ(G().g_SiteHomedir[50], "/usr/varnel");
    EXPECT_EQ(sectionLines(home.read("KTReports.ini"), "Site52"), QStringList{"Name=S52"});
}

// --- the site table ---------------------------------------------------------------------

TEST_F(Fixture, ASiteWithOnlyANameIsCompletedWithTheDefaults) {
    read("[Sites]\r\nNum=1\r\n[Site1]\r\nName=North\r\n");
    EXPECT_EQ(sectionLines(home.read("KTReports.ini"), "Site1"),
              (QStringList{"Name=North", "Tailpbxfile=COLL.LOG", "Tailpmsfile=pms_trn",
                           "Tailpbxtimeout=0", "Tailpmstimeout=0", "SSHPort=22", "TelnetPort=23",
                           "Username=varnel", "Password=v", "Homedir=/usr/varnel"}));
    const auto& g = G();
    EXPECT_EQ(g.g_SiteIPAddress[0], "");
    EXPECT_EQ(g.g_SiteTailPbxFile[0], "COLL.LOG");
    EXPECT_EQ(g.g_SiteTailPmsFile[0], "pms_trn");
    EXPECT_EQ(g.g_SiteTailPbxTimeout[0], "0");
    EXPECT_EQ(g.g_SiteTailPmsTimeout[0], "0");
    EXPECT_EQ(g.g_SiteSSHPort[0], "22");
    EXPECT_EQ(g.g_SiteSSHUser[0], "varneltail");
    EXPECT_EQ(g.g_SiteTelnetPort[0], "23");
    EXPECT_EQ(g.g_SiteUsername[0], "varnel");
    EXPECT_EQ(g.g_SitePassword[0], "v");
    EXPECT_EQ(g.g_SiteHomedir[0], "/usr/varnel");
    EXPECT_EQ(g.g_SiteCount, 1);
    EXPECT_EQ(g.g_CurSite, 0);
}

TEST_F(Fixture, ValuesAreTrimmedCutAndMatchedWithoutCase) {
    const QByteArray longIp(300, 'x');
    const StartupConfiguration config = read(
        "[sites]\r\nnum=2\r\n"
        "[site1]\r\nname=  North Wing  \r\nipaddress=" +
        longIp +
        "\r\nusername=bob\r\nsshuser= admin \r\nHOMEDIR=/srv/north\r\n"
        "[SITE2]\r\nNAME=South\r\nSSHPort=2222\r\n");
    EXPECT_EQ(config.siteNames, (QStringList{"North Wing", "South"}));
    const auto& g = G();
    EXPECT_EQ(g.g_SiteIPAddress[0], QString(254, QLatin1Char('x')));
    EXPECT_EQ(g.g_SiteUsername[0], "bob");
    EXPECT_EQ(g.g_SiteSSHUser[0], "admin");
    EXPECT_EQ(g.g_SiteHomedir[0], "/srv/north");
    EXPECT_EQ(g.g_SiteSSHPort[1], "2222");
    const QByteArray ini = home.read("KTReports.ini");
    // The keys that were there in another case were not added a second time.
    const QStringList site1 = sectionLines(ini, "Site1");
    EXPECT_EQ(
        site1.filter(QRegularExpression("^username=", QRegularExpression::CaseInsensitiveOption))
            .size(),
        1);
    EXPECT_EQ(
        site1.filter(QRegularExpression("^homedir=", QRegularExpression::CaseInsensitiveOption))
            .size(),
        1);
    EXPECT_FALSE(ini.contains("[Site1]"));
    EXPECT_FALSE(ini.contains("[Site2]"));
}

TEST_F(Fixture, ConfiguredKeysAreKeptAsTheyAre) {
    read(
        "[Sites]\r\nNum=1\r\n[Site1]\r\nName=North\r\nIPAddress=10.1.2.3\r\n"
        "Tailpbxfile=cat /x | grep y\r\nSSHUser=admin\r\nPassword=secret\r\n");
    const auto& g = G();
    EXPECT_EQ(g.g_SiteIPAddress[0], "10.1.2.3");
    EXPECT_EQ(g.g_SiteTailPbxFile[0], "cat /x | grep y");
    EXPECT_EQ(g.g_SiteSSHUser[0], "admin");
    EXPECT_EQ(g.g_SitePassword[0], "secret");
    EXPECT_EQ(value("Site1", "Password"), "secret");
}

// --- site names that cannot name a folder ------------------------------------------------

TEST_F(Fixture, ARefusedSiteKeepsItsPlaceInTheTable) {
    const StartupConfiguration config = read(
        "[Sites]\r\nNum=4\r\n[Site1]\r\nName=Default\r\n[Site2]\r\nName=../other\r\n"
        "[Site3]\r\nName=DEFAULT\r\n[Site4]\r\nName=East\r\nHomedir=/srv/east\r\n");
    EXPECT_EQ(config.siteNames, (QStringList{"Default", "../other", "DEFAULT", "East"}));
    EXPECT_EQ(config.refusedSites, (QList<int>{1, 2}));
    ASSERT_EQ(config.notices.size(), 2u);
    EXPECT_TRUE(config.notices[0].text.contains("Site2"));
    EXPECT_TRUE(config.notices[1].text.contains("Site3"));
    EXPECT_EQ(G().g_SiteHomedir[3], "/srv/east");
    // Reading makes no folder for any site.
    EXPECT_EQ(QDir(home.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList());
    EXPECT_FALSE(QFileInfo::exists(home.path() + "/../other"));
}

// Defaults that cannot be written back are used all the same and told once, not once a key.
TEST_F(Fixture, DefaultsThatCannotBeWrittenBackAreToldOnce) {
    const QByteArray ini = "[Sites]\r\nNum=2\r\n[Site1]\r\nName=North\r\n[Site2]\r\nName=South\r\n";
    home.write(QStringLiteral("KTReports.ini"), ini);
    StartupConfiguration config;
    {
        const testsupport::FileSizeLimit full(16);
        config = ReadStartupConfiguration();
    }
    EXPECT_EQ(home.read(QStringLiteral("KTReports.ini")), ini);
    ASSERT_EQ(config.notices.size(), 1u);
    const quillon::StartupNotice& notice = config.notices[0];
    EXPECT_TRUE(notice.text.startsWith("KTREPORTS.INI could not be written"))
        << notice.text.toStdString();
    // DebugMode, UpdateMode, FTPTIMEOUT and nine keys of each site.
    EXPECT_TRUE(
        notice.text.contains("[Sites] DebugMode, [Sites] UpdateMode, [Sites] FTPTIMEOUT, "
                             "[Site1] Tailpbxfile, [Site1] Tailpmsfile and 16 more"))
        << notice.text.toStdString();
    EXPECT_EQ(notice.title, "Varnel Reports");
    EXPECT_EQ(notice.icon, platform::Icon::Exclamation);
    EXPECT_EQ(config.siteNames, (QStringList{"North", "South"}));
    EXPECT_EQ(G().g_SiteSSHPort[1], "22");
    EXPECT_EQ(G().g_SiteHomedir[1], "/usr/varnel");
    EXPECT_EQ(G().g_FtpTimeout, 90);

    // Once the file can be written the defaults go in, and nothing is told.
    EXPECT_TRUE(ReadStartupConfiguration().notices.empty());
    EXPECT_EQ(value("Site2", "SSHPort"), "22");
}

TEST_F(Fixture, AMissingFileIsToldAndNothingIsRead) {
    const StartupConfiguration config = ReadStartupConfiguration();
    EXPECT_FALSE(config.fileFound);
    ASSERT_EQ(config.notices.size(), 1u);
    EXPECT_EQ(config.notices[0].text, "Unable to find KTREPORTS.INI.");
    EXPECT_EQ(config.notices[0].title, "Varnel Reports");
    EXPECT_EQ(config.notices[0].icon, platform::Icon::Critical);
    EXPECT_FALSE(QFileInfo::exists(home.file("KTReports.ini")));
    EXPECT_EQ(G().g_CurSite, -1);
}

}  // namespace
