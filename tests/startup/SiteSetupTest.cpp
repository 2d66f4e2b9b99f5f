// The new site's checks, configuration keys and server set-up lines, without a server.
#include "common/ButtonCatalogue.h"
#include "common/Globals.h"
#include "common/MD5.h"
#include "fSitesTestSupport.h"
#include "platform/ProfileFile.h"
#include "remote/ServerWork.h"
#include "startup/SiteSetup.h"
#include "support/FakeServer.h"
#include "support/TempHome.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace quillon;
using sitestest::fileMode;

namespace {

NewSiteEntry validEntry() {
    return {QStringLiteral("North"),       QStringLiteral("10.0.0.5"),  QStringLiteral("22"),
            QStringLiteral("23"),          QStringLiteral("varnel"),    QStringLiteral("v"),
            QStringLiteral("/usr/varnel"), QStringLiteral("varneltail")};
}

TEST(NewSiteName, BlanksBecomeUnderscoresAndUnsafeNamesAreRefused) {
    EXPECT_EQ(newSiteName(QStringLiteral("  North Wing  ")), QStringLiteral("North_Wing"));
    EXPECT_EQ(newSiteName(QStringLiteral("a  b")), QStringLiteral("a__b"));

    struct Case {
        const char* name;
        bool safe;
    };
    const Case cases[] = {
        {"North_Wing", true}, {"Site 2", true},     {"Wing.B", true},   {"", false},
        {".", false},         {"..", false},        {"a/b", false},     {"..\\x", false},
        {"a:b", false},       {"a*b", false},       {"a\"b", false},    {"a|b", false},
        {"ends.", false},     {" lead", false},     {"a\tb", false},    {"a\nb", false},
        {"North\n", false},   {"North\r\n", false}, {"North\r", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(isSafeSiteFolderName(QString::fromUtf8(c.name)), c.safe) << c.name;

    for (const char* name : {"Default", "DEFAULT", "default", " Default "})
        EXPECT_TRUE(isReservedSiteName(QString::fromUtf8(name))) << name;
    EXPECT_FALSE(isReservedSiteName(QStringLiteral("Default2")));
}

// Each hostile value is refused by a message that names its box; the rest of the entry is valid.
struct FieldCase {
    const char* field;
    const char* value;
    const char* messageStart;  // nullptr: accepted
};

class NewSiteFields : public ::testing::TestWithParam<FieldCase> {};

TEST_P(NewSiteFields, RefusedWithTheFieldsName) {
    const FieldCase& c = GetParam();
    NewSiteEntry e = validEntry();
    const QString value = QString::fromUtf8(c.value);
    const std::string field = c.field;
    if (field == "login") e.login = value;
    if (field == "homedir") e.homedir = value;
    if (field == "port") e.sshPort = value;
    if (field == "ip") e.ipAddress = value;
    const auto problem = newSiteFieldProblem(e);
    if (!c.messageStart) {
        EXPECT_FALSE(problem.has_value()) << problem.value_or(QString()).toStdString();
        return;
    }
    ASSERT_TRUE(problem.has_value());
    EXPECT_TRUE(problem->startsWith(QString::fromUtf8(c.messageStart))) << problem->toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Table, NewSiteFields,
    ::testing::Values(
        FieldCase{"login", "varneltail", nullptr}, FieldCase{"login", "_svc.x-1", nullptr},
        FieldCase{"login", "root; rm -rf /", "Invalid SSH Login."},
        FieldCase{"login", "$(id)", "Invalid SSH Login."},
        FieldCase{"login", "Varnel", "Invalid SSH Login."},
        FieldCase{"login", "-rf", "Invalid SSH Login."},
        FieldCase{"login", " varneltail", "Invalid SSH Login."},
        FieldCase{"login", "", "Invalid SSH Login."},
        FieldCase{"login", "abcdefghijklmnopqrstuvwxyz0123456", "Invalid SSH Login."},
        FieldCase{"homedir", "/usr/varnel-sites/a_b.c", nullptr},
        FieldCase{"homedir", "usr/varnel", "Invalid HomeDir."},
        FieldCase{"homedir", "/usr/varnel/../../etc", "Invalid HomeDir."},
        FieldCase{"homedir", "/usr/var nel", "Invalid HomeDir."},
        FieldCase{"homedir", "/usr/varnel;reboot", "Invalid HomeDir."},
        FieldCase{"homedir", "/tmp/`id`", "Invalid HomeDir."},
        FieldCase{"homedir", "/usr/varnel'", "Invalid HomeDir."},
        FieldCase{"homedir", "", "Invalid HomeDir."}, FieldCase{"port", " 2222 ", nullptr},
        FieldCase{"port", "0", "Invalid SSH Port."},
        FieldCase{"port", "65536", "Invalid SSH Port."},
        FieldCase{"port", "22;id", "Invalid SSH Port."}, FieldCase{"port", "", "Invalid SSH Port."},
        FieldCase{"ip", "   ", "Invalid IP Address."}));

// Every check of a new site, in the order they are told: the typed entry before the question,
// the configured sites after it.
TEST(NewSiteChecks, FirstRefusalAndWhenItIsTold) {
    struct Case {
        const char* what;
        const char* name;
        const char* ip;
        const char* port;
        int siteCount;
        const char* existingFolder;
        const char* textStart;  // nullptr: the site can be added
        bool afterQuestion;
        bool failure;
    };
    const QStringList sites{"Default", "North", "South_Wing"};
    const Case cases[] = {
        {"blank name", "   ", "10.0.0.5", "22", 3, "", "Invalid Site Name.", false, false},
        {"blank address", "East", " ", "22", 3, "", "Invalid IP Address.", false, false},
        {"name that leaves the folder", "../x", "10.0.0.5", "22", 3, "",
         "Invalid Site Name.\r\nA site name becomes a folder name", false, false},
        {"entry before list", "North", "10.0.0.5", "0", 3, "", "Invalid SSH Port.", false, false},
        {"reserved name", " default ", "10.0.0.5", "22", 3, "", "Site 'default' already exists.",
         true, false},
        {"name in another case", "north", "10.0.0.5", "22", 3, "", "Site 'north' already exists.",
         true, false},
        {"blanks become underscores", "south wing", "10.0.0.5", "22", 3, "",
         "Site 'south_wing' already exists.\r\nPlease choose a different name.", true, false},
        {"clash before a full list", "North", "10.0.0.5", "22", 51, "/p/North", "Site 'North'",
         true, false},
        {"full list", "East", "10.0.0.5", "22", 51, "",
         "The site list is full: at most 51 sites can be configured.", true, true},
        {"folder of that name", "East", "10.0.0.5", "22", 50, "/p/east",
         "The folder '/p/east' already exists.", true, true},
        {"new site", "East Wing", "10.0.0.5", "22", 50, "", nullptr, false, false},
    };
    for (const Case& c : cases) {
        NewSiteEntry e = validEntry();
        e.siteName = QString::fromUtf8(c.name);
        e.ipAddress = QString::fromUtf8(c.ip);
        e.sshPort = QString::fromUtf8(c.port);
        const auto refusal =
            newSiteRefusal(e, sites, c.siteCount, QString::fromUtf8(c.existingFolder));
        if (!c.textStart) {
            EXPECT_FALSE(refusal.has_value()) << c.what;
            continue;
        }
        ASSERT_TRUE(refusal.has_value()) << c.what;
        EXPECT_TRUE(refusal->text.startsWith(QString::fromUtf8(c.textStart)))
            << c.what << ": " << refusal->text.toStdString();
        EXPECT_EQ(refusal->afterQuestion, c.afterQuestion) << c.what;
        EXPECT_EQ(refusal->failure, c.failure) << c.what;
    }
}

TEST(DefaultButtons, TheEditionDecidesTheNames) {
    testsupport::TempHome home;
    fillButtonCatalogue();
    struct Case {
        bool express, unused;
        int count;
        const char* last;
    };
    for (const Case& c :
         {Case{false, false, 23, "23.cmddeluser"}, Case{true, false, 25, "25.cmdareacodes"},
          Case{false, true, 24, "26.cmdunusedstations"},
          Case{true, true, 26, "26.cmdunusedstations"}}) {
        const QStringList names = defaultButtonNames(G().g_ButtonNames, c.express, c.unused);
        EXPECT_EQ(names.size(), c.count);
        EXPECT_EQ(names.first(), QStringLiteral("01.cmddetail"));
        EXPECT_EQ(names.last(), QString::fromUtf8(c.last));
    }
}

TEST(DefaultUser, DigestOfAFourDigitPassword) {
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^[0-9]{4}$")).match(defaultUserPassword()).hasMatch());
    EXPECT_EQ(defaultUserDigest(), MD5().DigestStrToHexStr(defaultUserPassword()));
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^[0-9A-F]{32}$")).match(defaultUserDigest()).hasMatch());
}

// The set-up over a shell of the fake server.
struct SetupRun {
    SetupOutcome outcome;
    QStringList sent;
    QStringList queue;
};

SetupRun runSetup(testsupport::FakeServer& server, const QString& home, const QString& login,
                  const QStringList& names) {
    ServerFailure failure;
    const auto shell = ServerWork::instance().openShell(
        shellRequestForSite(1, SiteFolder::Login, QStringLiteral("wodSSH1")), failure);
    EXPECT_TRUE(shell) << failure.text.toStdString();
    if (!shell) return {};
    SetupRun run;
    run.outcome = runServerSetup(*shell, home, login, names, run.queue);
    run.sent = server.lines();
    return run;
}

class ServerSetup : public ::testing::Test {
protected:
    ServerSetup() {
        G().g_SiteIPAddress[1] = QStringLiteral("10.0.0.5");
        G().g_SiteSSHPort[1] = QStringLiteral("22");
    }
    testsupport::TempHome home;
    testsupport::FakeServer server;
};

TEST_F(ServerSetup, SendsTheLinesInOrder) {
    const QStringList names{QStringLiteral("01.cmddetail"), QStringLiteral("02.cmdAudit")};
    const SetupRun run =
        runSetup(server, QStringLiteral("/srv/site"), QStringLiteral("ops"), names);
    EXPECT_TRUE(run.outcome.ok) << run.outcome.message.toStdString();
    // A bare line first waits for the shell, then the set-up lines.
    EXPECT_EQ(run.sent,
              QStringList{QString()} + sitestest::expectedSetupLines(QStringLiteral("/srv/site"),
                                                                     QStringLiteral("ops"), names));
    EXPECT_TRUE(run.queue.isEmpty());
}

// Whichever folder change fails, nothing after it is sent.
TEST_F(ServerSetup, AFolderThatIsNotReachedStopsTheSetUp) {
    const QString site = QStringLiteral("/srv/site");
    for (const QString& folder :
         {site, QStringLiteral("ACL"), site + QStringLiteral("/ACL/BUTTONS/"),
          site + QStringLiteral("/ACL/USERS/")}) {
        testsupport::FakeServer fresh;
        fresh.on(QStringLiteral("cd ") + folder)
            .reply(QStringLiteral("bash: cd: %1: No such file or directory\n").arg(folder));
        const SetupRun run = runSetup(fresh, site, QStringLiteral("ops"), {});
        EXPECT_FALSE(run.outcome.ok);
        EXPECT_EQ(run.sent.last(), QStringLiteral("cd ") + folder);
        EXPECT_EQ(run.outcome.failedLine, QStringLiteral("cd ") + folder);
        EXPECT_TRUE(run.outcome.message.contains(folder)) << run.outcome.message.toStdString();
        EXPECT_TRUE(run.outcome.message.contains(QStringLiteral("No such file or directory")));
    }
}

TEST_F(ServerSetup, ALostSessionStopsAndKeepsTheRestOfTheQueue) {
    const QString failing = QStringLiteral("echo 02.cmdAudit >>default_buttons");
    server.on(failing).timesOut();
    const QStringList names{QStringLiteral("01.cmddetail"), QStringLiteral("02.cmdAudit"),
                            QStringLiteral("03.cmdcost")};
    const SetupRun run =
        runSetup(server, QStringLiteral("/srv/site"), QStringLiteral("ops"), names);
    EXPECT_FALSE(run.outcome.ok);
    EXPECT_EQ(run.sent.last(), failing);
    EXPECT_EQ(run.outcome.failedLine, failing);
    EXPECT_EQ(run.outcome.message,
              QStringLiteral("No answer from the server within 60 seconds to: ") + failing);
    EXPECT_EQ(run.queue,
              (QStringList{failing, QStringLiteral("echo 03.cmdcost >>default_buttons")}));
}

TEST_F(ServerSetup, RefusesUnsafeValuesWithoutSendingAnything) {
    for (const auto& [site, login] :
         {std::pair{QStringLiteral("/srv/site;id"), QStringLiteral("ops")},
          std::pair{QStringLiteral("/srv/site"), QStringLiteral("ops && reboot")}}) {
        const SetupRun run = runSetup(server, site, login, {});
        EXPECT_FALSE(run.outcome.ok);
        EXPECT_TRUE(run.sent.isEmpty());
    }
}

// The folder change the set-up lines are written with: plain where nothing in the folder is
// special to the shell, quoted otherwise; any output from cd is a failure.
TEST_F(ServerSetup, FolderChangesArePlainOnlyForCheckedFolders) {
    struct Case {
        const char* folder;
        const char* reply;
        const char* line;  // nullptr: nothing sent
        bool ok;
    };
    const Case cases[] = {
        {"/srv/site", "", "cd /srv/site", true},
        {"ACL", "", "cd ACL", true},
        {"/srv/site/ACL/USERS/", "", "cd /srv/site/ACL/USERS/", true},
        {"/srv/my site", "", "cd '/srv/my site'", true},
        {"/srv/it's", "", "cd '/srv/it'\\''s'", true},
        {"relative/path", "", "cd 'relative/path'", true},
        {"/srv/gone", "bash: cd: /srv/gone: No such file or directory\n", "cd /srv/gone", false},
        {"", "", nullptr, false},
    };
    for (const Case& c : cases) {
        testsupport::FakeServer fresh;
        fresh.on(QRegularExpression(QStringLiteral("^cd "))).reply(QString::fromUtf8(c.reply));
        ServerFailure failure;
        const auto shell = ServerWork::instance().openShell(
            shellRequestForSite(1, SiteFolder::Login, QString()), failure);
        ASSERT_TRUE(shell);
        const LineResult r = changeFolderAsWritten(*shell, QString::fromUtf8(c.folder));
        EXPECT_EQ(r.ok(), c.ok) << c.folder;
        EXPECT_EQ(fresh.lines(), c.line ? QStringList{QString::fromUtf8(c.line)} : QStringList())
            << c.folder;
        if (!c.ok && c.line)
            EXPECT_EQ(r.failure.text,
                      QStringLiteral("bash: cd: /srv/gone: No such file or directory"));
    }
}

TEST(NewSiteConfiguration, KeysInOrderWithTheEditionsTailCommands) {
    for (const bool brevia : {false, true}) {
        testsupport::TempHome home;
        home.write(QStringLiteral("KTReports.ini"),
                   "[Sites]\r\nNum=1\r\n[Site1]\r\nName=Default\r\n");
        NewSiteEntry e = validEntry();
        e.sshPort = QStringLiteral(" 22 ");
        e.ipAddress = QStringLiteral(" 10.0.0.5 ");
        ASSERT_TRUE(writeNewSiteConfiguration(2, QStringLiteral("North_Wing"), e, brevia));
        const QByteArray pbx =
            brevia ? "/usr/varnel/logs/kvsn_`date +%m%d`.txt|grep \"IN\"" : "COLL.LOG";
        const QByteArray pms =
            brevia ? "/usr/varnel/logs/kvsn_`date +%m%d`.txt|grep \"OUT\"" : "pms_trn";
        EXPECT_EQ(home.read(QStringLiteral("KTReports.ini")),
                  "[Sites]\r\nNum=2\r\n[Site1]\r\nName=Default\r\n[Site2]\r\nName=North_Wing\r\n"
                  "IPAddress=10.0.0.5\r\nSSHPort= 22 \r\nTelnetPort=23\r\nUserName=varnel\r\n"
                  "Password=v\r\nHomedir=/usr/varnel\r\nSSHUser=varneltail\r\nTailpbxfile=" +
                      pbx + "\r\nTailpmsfile=" + pms +
                      "\r\nTailpbxtimeout=0\r\nTailpmstimeout=0\r\n");
        EXPECT_EQ(fileMode(home.file(QStringLiteral("KTReports.ini"))), 0600);
    }
}

}  // namespace
