#include "common/SiteTargets.h"

#include "common/Globals.h"
#include "common/SiteContext.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {

// Both kinds use the site's SSHPort; one that is no port number refuses every connection with
// a message naming the site and the value, never falls back to another port.
TEST(SiteTargets, BothKindsUseTheSitePortOrRefuseIt) {
    testsupport::TempHome home;
    const struct {
        const char* sshPort;
        int port;  // 0: refused
    } cases[] = {{"2222", 2222}, {" 2200 ", 2200}, {"22", 22},   {"1", 1},   {"65535", 65535},
                 {"", 0},        {"0", 0},         {"65536", 0}, {"22x", 0}, {"-1", 0},
                 {"2 2", 0},     {"0x16", 0},      {"+22", 0}};
    for (const auto& c : cases) {
        G().g_SiteIPAddress[3] = QStringLiteral("10.0.0.7");
        G().g_SiteSSHPort[3] = QString::fromLatin1(c.sshPort);
        G().g_SiteSSHUser[3] = QStringLiteral("varneltail");
        G().g_SiteUsername[3] = QStringLiteral("varnel");
        G().g_SitePassword[3] = QStringLiteral("v");
        const SessionTarget sh = shellTargetForSite(3);
        const SessionTarget ft = sftpTargetForSite(3);
        EXPECT_EQ(sh.port, c.port) << c.sshPort;
        EXPECT_EQ(ft.port, c.port) << c.sshPort;
        const QString refusal =
            c.port ? QString()
                   : QStringLiteral(
                         "The SSH port \"%1\" of the site Site4 is not a port number "
                         "from 1 to 65535. No connection was made; correct the port in "
                         "the site's settings.")
                         .arg(QString::fromLatin1(c.sshPort));
        EXPECT_EQ(sh.refusal, refusal) << c.sshPort;
        EXPECT_EQ(ft.refusal, refusal) << c.sshPort;
        EXPECT_EQ(sh.host, QStringLiteral("10.0.0.7"));
        EXPECT_EQ(sh.login, QStringLiteral("varneltail"));
        EXPECT_EQ(sh.password, QString::fromLatin1(kShellPassword));
        EXPECT_EQ(ft.login, QStringLiteral("varnel"));
        EXPECT_EQ(ft.password, QStringLiteral("v"));
    }
    // The chosen site is named as the user knows it.
    const FixedSite chosen(3, QStringLiteral("North"));
    SiteContext::install(&chosen);
    EXPECT_TRUE(shellTargetForSite(3).refusal.contains(QStringLiteral("of the site North ")));
    SiteContext::install(nullptr);
    G().g_SiteHomedir[3] = QStringLiteral("/usr/varnel");
    EXPECT_EQ(siteServerFolder(3), QStringLiteral("/usr/varnel"));
    EXPECT_EQ(siteServerFolder(3, true), QStringLiteral("/usr/varnel/backup"));
    EXPECT_TRUE(shellTargetForSite(-1).host.isEmpty());
    EXPECT_TRUE(sftpTargetForSite(kMaxSites).host.isEmpty());
}

// What a window asks for: the site's login in the folder it names, with the configured
// time-out, and no folder change for the login's own folder.
TEST(SiteTargets, RequestsCarryTheFolderAndTheConfiguredTimeout) {
    testsupport::TempHome home;
    G().g_SiteIPAddress[2] = QStringLiteral("10.0.0.8");
    G().g_SiteSSHUser[2] = QStringLiteral("varneltail");
    G().g_SiteUsername[2] = QStringLiteral("varnel");
    G().g_SiteHomedir[2] = QStringLiteral("/usr/varnel");
    G().g_FtpTimeout = 17;
    const struct {
        SiteFolder folder;
        std::optional<QString> expected;
    } cases[] = {{SiteFolder::Login, std::nullopt},
                 {SiteFolder::Home, QStringLiteral("/usr/varnel")},
                 {SiteFolder::Backup, QStringLiteral("/usr/varnel/backup")}};
    for (const auto& c : cases) {
        const ShellRequest r = shellRequestForSite(2, c.folder, QStringLiteral("wodSSH1"));
        EXPECT_EQ(r.folder, c.expected) << int(c.folder);
        EXPECT_EQ(r.target.login, QStringLiteral("varneltail"));
        EXPECT_EQ(r.control, QStringLiteral("wodSSH1"));
        EXPECT_EQ(r.connectTimeoutSec, 17);
    }
    const FilesRequest files = filesRequestForSite(2);
    EXPECT_EQ(files.target.login, QStringLiteral("varnel"));
    EXPECT_EQ(files.timeoutSec, 17);

    // A site without a server folder asks for an empty one, which no open accepts.
    G().g_SiteHomedir[2].clear();
    EXPECT_EQ(shellRequestForSite(2, SiteFolder::Home, QString()).folder, QString());
    // No configured time-out: the default one.
    G().g_FtpTimeout = 0;
    EXPECT_EQ(filesRequestForSite(2).timeoutSec, kServerTimeoutSec);
    EXPECT_EQ(shellRequestForSite(2, SiteFolder::Login, QString()).connectTimeoutSec,
              kServerTimeoutSec);
}

// A line's deadline, where the step names none, is [Sites] LineTimeout when it is a positive
// whole number, else 60 seconds.
TEST(SiteTargets, LineDeadlineIsTheConfiguredOne) {
    testsupport::TempHome home;
    const struct {
        const char* ini;
        int seconds;
    } cases[] = {{"", kLineTimeoutSec},
                 {"[Sites]\r\nLineTimeout=7\r\n", 7},
                 {"[SITES]\r\nlinetimeout = 240\r\n", 240},
                 {"[Sites]\r\nLineTimeout=0\r\n", kLineTimeoutSec},
                 {"[Sites]\r\nLineTimeout=-3\r\n", kLineTimeoutSec},
                 {"[Sites]\r\nLineTimeout=soon\r\n", kLineTimeoutSec}};
    for (const auto& c : cases) {
        home.write("KTReports.ini", c.ini);
        EXPECT_EQ(lineTimeoutSec(), c.seconds) << c.ini;
        EXPECT_EQ(shellRequestForSite(2, SiteFolder::Home, QString()).lineTimeoutSec, c.seconds)
            << c.ini;
    }
}

}  // namespace
