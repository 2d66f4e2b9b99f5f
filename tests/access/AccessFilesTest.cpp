// The user and button files: reading what a site's server holds, and the shell lines that
// write them, round-tripped through the stand-in server.
#include "access/AccessFiles.h"
#include "common/Globals.h"
#include "common/MD5.h"
#include "remote/RemoteSession.h"
#include "remote/ServerWork.h"
#include "support/SimServer.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QFile>

using namespace quillon;
using testsupport::SimServer;

namespace {

constexpr const char* kSecret1 = "E52D98C459819A11775936D8DFBB7929";  // "secret1"

// ---- stored digests ------------------------------------------------------------------------

struct DigestCase {
    const char* what;
    QByteArray content;  // the converted local copy
    QString password;
    bool matches;
};
void PrintTo(const DigestCase& c, std::ostream* os) {
    *os << c.what;
}

class UserFileDigest : public ::testing::TestWithParam<DigestCase> {};

TEST_P(UserFileDigest, ComparesFirstLineExactly) {
    const DigestCase& c = GetParam();
    EXPECT_EQ(UserFile::passwordMatches(c.password, UserFile::parseDigest(c.content)), c.matches)
        << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UserFileDigest,
    ::testing::Values(
        DigestCase{"as written", QByteArray(kSecret1) + "\r\n", "secret1", true},
        DigestCase{"no line end", QByteArray(kSecret1), "secret1", true},
        DigestCase{"only the first line counts", QByteArray(kSecret1) + "\r\nXYZ\r\n", "secret1",
                   true},
        DigestCase{"password case counts", QByteArray(kSecret1) + "\r\n", "Secret1", false},
        DigestCase{"lower-case digits", QByteArray(kSecret1).toLower() + "\r\n", "secret1", false},
        DigestCase{"trailing blank", QByteArray(kSecret1) + " \r\n", "secret1", false},
        DigestCase{"leading blank", " " + QByteArray(kSecret1) + "\r\n", "secret1", false},
        DigestCase{"a line before the digest", "\r\n" + QByteArray(kSecret1) + "\r\n", "secret1",
                   false},
        DigestCase{"empty file", QByteArray(), "secret1", false},
        DigestCase{"empty file, empty password", QByteArray(), "", false}),
    [](const auto& info) { return std::to_string(info.index); });

TEST(UserFileDigestText, IsMd5OfWindows1252Bytes) {
    // "café" is digested as 63 61 66 E9, whatever the program's own text encoding.
    EXPECT_EQ(UserFile::digestOf(QStringLiteral("caf\u00e9")),
              QStringLiteral("961F50F6282239D09E48F812C1CA7276"));
    EXPECT_EQ(UserFile::digestOf(QStringLiteral("caf\u00e9")),
              MD5().DigestBytesToHexStr(QByteArray("caf\xe9")));
    EXPECT_EQ(UserFile::digestOf(QStringLiteral("secret1")), QLatin1String(kSecret1));
}

// ---- button files --------------------------------------------------------------------------

struct ButtonCase {
    const char* what;
    QByteArray content;
    QStringList granted;
};
void PrintTo(const ButtonCase& c, std::ostream* os) {
    *os << c.what;
}

class ButtonFileGrants : public ::testing::TestWithParam<ButtonCase> {};

TEST_P(ButtonFileGrants, GrantsFromLineTwoOn) {
    const ButtonCase& c = GetParam();
    const QStringList entries = ButtonFile::parseEntries(c.content);
    EXPECT_EQ(ButtonFile::grantedNames(entries), c.granted) << c.what;
}

const QByteArray kHeader = "ENABLED BUTTONS DO NOT REMOVE THIS LINE\r\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, ButtonFileGrants,
    ::testing::Values(
        ButtonCase{"header only", kHeader, {}}, ButtonCase{"empty file", QByteArray(), {}},
        ButtonCase{
            "two grants", kHeader + "01.cmddetail\r\n18.cmdedit\r\n", {"cmddetail", "cmdedit"}},
        ButtonCase{"header missing: the first grant is lost",
                   "01.cmddetail\r\n02.cmdAudit\r\n03.cmdcost\r\n",
                   {"cmdAudit", "cmdcost"}},
        ButtonCase{"duplicate line grants once",
                   kHeader + "04.cmdstats\r\n04.CMDSTATS\r\n05.cmdWatchdog\r\n",
                   {"cmdstats", "cmdWatchdog"}},
        ButtonCase{"short lines grant nothing and stop nothing",
                   kHeader + "x\r\n01.\r\n\r\n01\r\n02.cmdAudit\r\n",
                   {"cmdAudit"}},
        ButtonCase{"unknown name is kept, the rest still grants",
                   kHeader + "27.cmdnosuch\r\n03.cmdcost\r\n",
                   {"cmdnosuch", "cmdcost"}},
        ButtonCase{"a server file with CR LF ends", kHeader + "03.cmdcost\r\r\n", {"cmdcost"}},
        ButtonCase{"last line without an end", kHeader + "03.cmdcost", {"cmdcost"}}),
    [](const auto& info) { return std::to_string(info.index); });

TEST(ButtonFileMatch, NamesMatchWholeWithoutRegardToCase) {
    const QStringList entries =
        ButtonFile::parseEntries(kHeader + "18.cmdedit\r\n01.cmddetail\r\n");
    EXPECT_TRUE(ButtonFile::grants(entries, QStringLiteral("cmdEdit")));
    EXPECT_TRUE(ButtonFile::grants(entries, QStringLiteral("CMDDETAIL")));
    EXPECT_FALSE(ButtonFile::grants(entries, QStringLiteral("cmdedi")));
    EXPECT_FALSE(ButtonFile::grants(entries, QStringLiteral("cmddetails")));
    // Line 1 never grants, even when it names a button.
    EXPECT_FALSE(ButtonFile::grants(ButtonFile::parseEntries("11.cmdmanager\r\n"),
                                    QStringLiteral("cmdmanager")));
}

TEST(ButtonFileRows, ReadsCatalogueRowsAndSkipsTheRest) {
    const QByteArray content =
        kHeader + "01.cmddetail\r\nab.cmdx\r\n18.cmdedit\r\n7.cmdcrono\r\n99.cmdexit\r\n";
    EXPECT_EQ(ButtonFile::grantedRows(content), (QList<int>{1, 18}));
}

// ---- against the server --------------------------------------------------------------------

class AccessFilesOnServer : public testsupport::SimTest {
protected:
    void SetUp() override {
        testsupport::SimTest::SetUp();
        if (IsSkipped()) return;
        SimServer::configureSite(1);
        G().g_CurSite = 1;
    }
    void TearDown() override {
        for (const char* f : {"ACL/USERS/ZED_T.USE", "ACL/BUTTONS/ZED_T.BUT"})
            SimServer::removeSiteFile(QLatin1String(f));
        testsupport::SimTest::TearDown();
    }
    testsupport::TempHome home;
};

// Writing both files as the add-user window does, then reading them back as the login does.
TEST_F(AccessFilesOnServer, WrittenFilesReadBack) {
    const QString digest = UserFile::digestOf(QStringLiteral("pass2"));
    ServerFailure failure;
    const auto ssh = ServerWork::instance().openShell(
        shellRequestForSite(1, SiteFolder::Login, QString()), failure);
    ASSERT_TRUE(ssh) << failure.text.toStdString();
    ASSERT_TRUE(ssh->changeFolder(UserFile::folder(1) + "/").ok());
    QStringList lines = UserFile::writeLines(QStringLiteral("zed_t"), digest,
                                             UserFile::Writer::AddUser, SimServer::shellUser());
    ASSERT_TRUE(ssh->runQueue(lines).ok());
    ASSERT_TRUE(ssh->changeFolder(ButtonFile::folder(1) + "/").ok());
    lines = ButtonFile::writeLines(1, QStringLiteral("Zed_T"),
                                   {QStringLiteral("01.cmddetail"), QStringLiteral("18.cmdEdit")},
                                   true, SimServer::shellUser());
    ASSERT_TRUE(ssh->runQueue(lines).ok());
    ssh->close();

    EXPECT_EQ(SimServer::readSiteFile(QStringLiteral("ACL/USERS/ZED_T.USE")),
              digest.toLatin1() + "\n");
    EXPECT_EQ(SimServer::readSiteFile(QStringLiteral("ACL/BUTTONS/ZED_T.BUT")),
              QByteArray("ENABLED BUTTONS DO NOT REMOVE THIS LINE\n01.cmddetail\n18.cmdEdit\n"));
    const auto perms = QFile::permissions(SimServer::siteDir() + "/ACL/USERS/ZED_T.USE");
    EXPECT_TRUE(perms.testFlag(QFileDevice::WriteOther) && perms.testFlag(QFileDevice::ReadOther));

    const QString local = siteDownloadFolder(QStringLiteral("Sim"));
    FileTransferSession sftp;
    ASSERT_TRUE(sftp.connectToHost(sftpTargetForSite(1), G().g_FtpTimeout))
        << sftp.errorString().toStdString();
    const auto stored = UserFile::fetchDigest(sftp, 1, local, QStringLiteral("ZED_t"));
    ASSERT_TRUE(stored.has_value());
    EXPECT_TRUE(UserFile::passwordMatches(QStringLiteral("pass2"), *stored));
    const auto entries = ButtonFile::fetchEntries(sftp, 1, local, QStringLiteral("zed_t"));
    ASSERT_TRUE(entries.has_value());
    EXPECT_EQ(ButtonFile::grantedNames(*entries),
              (QStringList{QStringLiteral("cmddetail"), QStringLiteral("cmdEdit")}));
    EXPECT_TRUE(QFile::exists(local + "/ZED_T.LICU"));
    EXPECT_TRUE(QFile::exists(local + "/ZED_T.BUT"));
}

// An old local copy must never stand in for a file that could not be fetched.
TEST_F(AccessFilesOnServer, FailedFetchLeavesNoOldCopy) {
    const QString local = siteDownloadFolder(QStringLiteral("Sim"));
    home.write(QStringLiteral("Sim/download/NOSUCHUSER.LICU"), QByteArray(kSecret1) + "\n");
    home.write(QStringLiteral("Sim/download/NOSUCHUSER.LIC"), QByteArray(kSecret1) + "\r\n");
    home.write(QStringLiteral("Sim/download/NOSUCHUSER.BUTU"), kHeader + "01.cmddetail\n");
    home.write(QStringLiteral("Sim/download/NOSUCHUSER.BUT"), kHeader + "01.cmddetail\r\n");
    FileTransferSession sftp;
    ASSERT_TRUE(sftp.connectToHost(sftpTargetForSite(1), G().g_FtpTimeout))
        << sftp.errorString().toStdString();
    EXPECT_FALSE(UserFile::fetchDigest(sftp, 1, local, QStringLiteral("nosuchuser")).has_value());
    EXPECT_FALSE(ButtonFile::fetchEntries(sftp, 1, local, QStringLiteral("nosuchuser")));
    for (const char* f : {"NOSUCHUSER.LICU", "NOSUCHUSER.LIC", "NOSUCHUSER.BUTU", "NOSUCHUSER.BUT"})
        EXPECT_FALSE(QFile::exists(local + "/" + f)) << f;
}

}  // namespace
