// The user and button files round-tripped through the stand-in server: written with the shell
// lines of the add-user window, read back as the login reads them.
#include "access/AccessFiles.h"
#include "common/Globals.h"
#include "remote/ServerWork.h"
#include "support/SimServer.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QFile>

using namespace quillon;
using testsupport::SimServer;

namespace {

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

TEST_F(AccessFilesOnServer, WrittenFilesReadBack) {
    const QString digest = UserFile::digestOf(QStringLiteral("pass2"));
    ServerFailure failure;
    const auto ssh = ServerWork::instance().openShell(
        shellRequestForSite(1, SiteFolder::Login, QString()), failure);
    ASSERT_TRUE(ssh) << failure.text.toStdString();
    ASSERT_TRUE(ssh->changeFolder(UserFile::folder(1) + "/").ok());
    ServerFailure written =
        runFileWrite(*ssh, UserFile::writeLines(QStringLiteral("zed_t"), digest,
                                                UserFile::Writer::AddUser, SimServer::shellUser()));
    ASSERT_TRUE(written.ok()) << written.text.toStdString();
    ASSERT_TRUE(ssh->changeFolder(ButtonFile::folder(1) + "/").ok());
    written = runFileWrite(
        *ssh, ButtonFile::writeLines(1, QStringLiteral("Zed_T"),
                                     {QStringLiteral("01.cmddetail"), QStringLiteral("18.cmdEdit")},
                                     true, SimServer::shellUser()));
    ASSERT_TRUE(written.ok()) << written.text.toStdString();
    ssh->close();

    EXPECT_EQ(SimServer::readSiteFile(QStringLiteral("ACL/USERS/ZED_T.USE")),
              digest.toLatin1() + "\n");
    EXPECT_EQ(SimServer::readSiteFile(QStringLiteral("ACL/BUTTONS/ZED_T.BUT")),
              QByteArray("ENABLED BUTTONS DO NOT REMOVE THIS LINE\n01.cmddetail\n18.cmdEdit\n"));
    const auto perms = QFile::permissions(SimServer::siteDir() + "/ACL/USERS/ZED_T.USE");
    EXPECT_TRUE(perms.testFlag(QFileDevice::WriteOther) && perms.testFlag(QFileDevice::ReadOther));

    const QString local = siteDownloadFolder(QStringLiteral("Sim"));
    const auto sftp = ServerWork::instance().openFiles(filesRequestForSite(1), failure);
    ASSERT_TRUE(sftp) << failure.text.toStdString();
    const auto stored = UserFile::fetchDigest(*sftp, 1, local, QStringLiteral("ZED_t"));
    ASSERT_TRUE(stored.has_value());
    EXPECT_TRUE(UserFile::passwordMatches(QStringLiteral("pass2"), *stored));
    const auto entries = ButtonFile::fetchEntries(*sftp, 1, local, QStringLiteral("zed_t"));
    ASSERT_TRUE(entries.has_value());
    EXPECT_EQ(ButtonFile::grantedNames(*entries),
              (QStringList{QStringLiteral("cmddetail"), QStringLiteral("cmdEdit")}));
    EXPECT_TRUE(QFile::exists(local + "/ZED_T.LICU"));
    EXPECT_TRUE(QFile::exists(local + "/ZED_T.BUT"));
}

}  // namespace
