// The user administration against the stand-in server: a user added, logged in with exactly
// the granted buttons, given a new password, logged in with it and deleted; a session lost in
// the middle of a write; a site without users.
#include "support/ProgramWindows.h"

#include "LoginTestSupport.h"
#include "access/PasswordWindows.h"
#include "access/UserAdmin.h"
#include "access/frmPermissions.h"
#include "access/frmdeluser.h"
#include "access/frmmodusers.h"
#include "common/ButtonCatalogue.h"
#include "common/Globals.h"
#include "common/SiteContext.h"
#include "common/SiteTargets.h"
#include "remote/ServerWork.h"
#include "support/ScriptedPrompter.h"
#include "support/SimServer.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <algorithm>

using namespace quillon;
using testsupport::SimServer;

namespace {

const QString kUserFile = QStringLiteral("ACL/USERS/ZED_E2E.USE");
const QString kButtonFile = QStringLiteral("ACL/BUTTONS/ZED_E2E.BUT");
const QString kStrictUser = QStringLiteral("ACL/USERS/ZED_UMASK.USE");
const QString kStrictButtons = QStringLiteral("ACL/BUTTONS/ZED_UMASK.BUT");
const QString kKeptButtons = QStringLiteral("ACL/BUTTONS/ZED_KEPT.BUT");

// The mode of a site file in octal, as the file-transfer login sees it.
QString modeOf(const QString& relative) {
    QByteArray out;
    testsupport::SimServer::runAs(testsupport::SimServer::sftpUser(),
                                  QStringLiteral("stat -c %a ") + relative,
                                  testsupport::SimServer::siteDir(), &out);
    return QString::fromLatin1(out).trimmed();
}

class AdminOnServer : public testsupport::SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        if (IsSkipped()) return;
        SimServer::configureSite(1);
        G().g_CurSite = 1;
        fillButtonCatalogue();
        SiteContext::install(&site);
    }
    void TearDown() override {
        SiteContext::install(nullptr);
        for (const QString& f : {kUserFile, kButtonFile, QStringLiteral("ACL/USERS/DROP_T.USE"),
                                 QStringLiteral("ACL/BUTTONS/DROP_T.BUT"), kStrictUser,
                                 kStrictButtons, kKeptButtons})
            SimServer::removeSiteFile(f);
        SimTest::TearDown();
    }
    static void pick(QComboBox* box, const QString& name) {
        const int i = box->findText(name);
        ASSERT_GE(i, 0) << name.toStdString();
        box->setCurrentIndex(i);
        emit box->activated(i);
    }
    // Logs in on a fresh login window; the buttons it turned on, or nothing when refused.
    QStringList login(const QString& user, const QString& password) {
        logintest::LoginScene scene;
        scene.start();
        scene.open({QStringLiteral("Default"), QStringLiteral("Sim")}, 1);
        scene.attempt(user, password);
        logintest::flushDeletes();
        const bool in = scene.login.isNull();
        const QStringList on = scene.enabledMenuButtons();
        scene.finish();
        SiteContext::install(&site);
        return in ? on : QStringList{QStringLiteral("refused")};
    }

    testsupport::TempHome home;
    testsupport::ScriptedPrompter prompter;
    FixedSite site{1, QStringLiteral("Sim")};
};

TEST_F(AdminOnServer, AddLogInChangePasswordLogInAgainDelete) {
    {
        frmPermissions w;
        w.txtadduser->setText(QStringLiteral("zed_e2e"));
        w.txtaddpasswd->setText(QStringLiteral("first1"));
        w.txtconfirmpasswd->setText(QStringLiteral("first1"));
        for (const char* label : {"03.RPT Cost Report", "01.RPT Detail Report"}) {
            w.picker->lstDivision->setCurrentItem(
                w.picker->lstDivision->findItems(QLatin1String(label), Qt::MatchExactly).first());
            QTest::mouseClick(w.picker->cmdadd, Qt::LeftButton);
        }
        prompter.ok();
        QTest::mouseClick(w.cmdadduser, Qt::LeftButton);
        EXPECT_EQ(prompter.messages().last(), QStringLiteral("User zed_e2eadded."));
    }
    EXPECT_EQ(SimServer::readSiteFile(kUserFile),
              UserFile::digestOf(QStringLiteral("first1")).toLatin1() + "\n");
    EXPECT_EQ(SimServer::readSiteFile(kButtonFile),
              QByteArray("ENABLED BUTTONS DO NOT REMOVE THIS LINE\n01.cmddetail\n03.cmdcost\n"));

    EXPECT_EQ(login(QStringLiteral("Zed_E2E"), QStringLiteral("first1")),
              (QStringList{QStringLiteral("cmddetail"), QStringLiteral("cmdcost")}));

    G().g_UserName = QStringLiteral("Zed_E2E");
    SimServer::clearJournal();
    {
        frmpasswd w;
        w.txtoldpasswd->setText(QStringLiteral("first1"));
        w.txtnewpasswd->setText(QStringLiteral("second2"));
        w.txtconfirmpasswd->setText(QStringLiteral("second2"));
        prompter.ok();
        QTest::mouseClick(w.cmdmodpasswd, Qt::LeftButton);
        EXPECT_EQ(prompter.messages().last(), QStringLiteral("Password Changed"));
    }
    // The stand-in sudo cannot give the file to root or the users group; it says it skipped.
    const QStringList skipped = SimServer::entries(QStringLiteral("SUDO-SKIPPED"));
    EXPECT_TRUE(skipped.contains(QStringLiteral("chown root .ZED_E2E.USE.tmp")))
        << skipped.join('|').toStdString();
    prompter.ok();
    EXPECT_EQ(login(QStringLiteral("zed_e2e"), QStringLiteral("first1")),
              QStringList{QStringLiteral("refused")});
    EXPECT_EQ(prompter.messages().last(), QStringLiteral("Invalid Login or Password, try again!"));
    EXPECT_EQ(login(QStringLiteral("zed_e2e"), QStringLiteral("second2")),
              (QStringList{QStringLiteral("cmddetail"), QStringLiteral("cmdcost")}));

    G().g_UserName = QStringLiteral("alice");
    {
        frmdeluser w;
        pick(w.cbousers, QStringLiteral("ZED_E2E"));
        EXPECT_EQ(w.cbousers->findText(QStringLiteral("LOWER")) >= 0, true);
        prompter.yes().ok();
        w.cmddeleteuser_Click();
        EXPECT_EQ(prompter.messages().last(), QStringLiteral("User ZED_E2E has been deleted"));
    }
    EXPECT_FALSE(SimServer::siteFileExists(kUserFile));
    EXPECT_FALSE(SimServer::siteFileExists(kButtonFile));
}

// A strict server: the shell login's umask is 077 and the file-transfer login is another login.
// Every writer gives the new file its mode before the move, so the transfer login reads what
// was written: the login sees the new grants and the new password, a rewrite keeps the mode of
// the file it replaces, and root's owner and group are asked of sudo.
TEST_F(AdminOnServer, FilesKeepTheirModesUnderAStrictUmask) {
    ASSERT_NE(SimServer::shellUser(), SimServer::sftpUser());
    SimServer::setKnob(QStringLiteral("shell.umask"), QStringLiteral("077"));
    {
        ServerFailure failure;
        const auto shell = ServerWork::instance().openShell(
            shellRequestForSite(1, SiteFolder::Login, QString()), failure);
        ASSERT_TRUE(shell) << failure.text.toStdString();
        const LineResult umask = shell->run(QStringLiteral("umask"));
        shell->close();
        if (umask.reply.trimmed() != QStringLiteral("0077"))
            GTEST_SKIP() << "the stand-in server has no shell.umask knob (sim/start it)";
    }
    const QString local = home.file(QStringLiteral("Sim/download"));
    ASSERT_TRUE(QDir().mkpath(local));

    AdminOutcome outcome = addUser(1, QStringLiteral("zed_umask"), QStringLiteral("first1"),
                                   {QStringLiteral("01.cmddetail")});
    ASSERT_TRUE(outcome.done()) << outcome.text.toStdString();
    EXPECT_EQ(modeOf(kStrictUser), QStringLiteral("666"));
    EXPECT_EQ(modeOf(kStrictButtons), QStringLiteral("666"));
    EXPECT_EQ(login(QStringLiteral("zed_umask"), QStringLiteral("first1")),
              QStringList{QStringLiteral("cmddetail")});

    outcome = writeGrants(1, QStringLiteral("ZED_UMASK"),
                          {QStringLiteral("01.cmddetail"), QStringLiteral("03.cmdcost")});
    ASSERT_TRUE(outcome.done()) << outcome.text.toStdString();
    EXPECT_EQ(modeOf(kStrictButtons), QStringLiteral("666"));
    EXPECT_EQ(login(QStringLiteral("zed_umask"), QStringLiteral("first1")),
              (QStringList{QStringLiteral("cmddetail"), QStringLiteral("cmdcost")}));

    outcome = setUserPassword(1, local, QStringLiteral("ZED_UMASK"), QStringLiteral("second2"));
    EXPECT_EQ(outcome.text, QStringLiteral("Password Changed"));
    EXPECT_EQ(modeOf(kStrictUser), QStringLiteral("666"));
    EXPECT_EQ(login(QStringLiteral("zed_umask"), QStringLiteral("second2")),
              (QStringList{QStringLiteral("cmddetail"), QStringLiteral("cmdcost")}));

    SimServer::clearJournal();
    outcome = changeOwnPassword(1, local, QStringLiteral("zed_umask"), QStringLiteral("second2"),
                                QStringLiteral("third3"));
    EXPECT_EQ(outcome.text, QStringLiteral("Password Changed"));
    EXPECT_EQ(modeOf(kStrictUser), QStringLiteral("666"));
    const QStringList skipped = SimServer::entries(QStringLiteral("SUDO-SKIPPED"));
    EXPECT_EQ(skipped, (QStringList{QStringLiteral("chown root .ZED_UMASK.USE.tmp"),
                                    QStringLiteral("chgrp users .ZED_UMASK.USE.tmp")}));

    // A button file of the transfer login's, mode 640: the rewrite keeps the mode, and asks
    // sudo for its owner.
    SimServer::writeSiteFile(kKeptButtons, "ENABLED BUTTONS DO NOT REMOVE THIS LINE\n");
    ASSERT_EQ(SimServer::runAs(SimServer::sftpUser(), QStringLiteral("chmod 640 ") + kKeptButtons),
              0);
    SimServer::clearJournal();
    outcome = writeGrants(1, QStringLiteral("ZED_KEPT"), {QStringLiteral("02.cmdAudit")});
    ASSERT_TRUE(outcome.done()) << outcome.text.toStdString();
    EXPECT_EQ(modeOf(kKeptButtons), QStringLiteral("640"));
    EXPECT_EQ(SimServer::readSiteFile(kKeptButtons),
              QByteArray("ENABLED BUTTONS DO NOT REMOVE THIS LINE\n02.cmdAudit\n"));
    EXPECT_EQ(SimServer::entries(QStringLiteral("SUDO-SKIPPED")),
              QStringList{QStringLiteral("chown --reference=ZED_KEPT.BUT .ZED_KEPT.BUT.tmp")});
}

// The real transfer tells a button file the server does not have apart from any other failed
// fetch: such a user has no grants, and nothing is told.
TEST_F(AdminOnServer, AUserWithoutAButtonFileHasNoGrants) {
    const QString local = home.file(QStringLiteral("Sim/download"));
    ASSERT_TRUE(QDir().mkpath(local));
    ASSERT_FALSE(SimServer::siteFileExists(QStringLiteral("ACL/BUTTONS/NOBUT.BUT")));
    const GrantsRead read = readGrants(1, local, QStringLiteral("NOBUT"));
    EXPECT_EQ(read.problem, QString());
    EXPECT_TRUE(read.grants.isEmpty());
}

// The session ends while the new content is being written (knob drop_line): the old files
// stay whole, and nothing is claimed done.
TEST_F(AdminOnServer, ASessionLostInAWriteLeavesTheOldFilesWhole) {
    const QByteArray buttons = "ENABLED BUTTONS DO NOT REMOVE THIS LINE\n01.cmddetail\n";
    const QByteArray digest = UserFile::digestOf(QStringLiteral("old")).toLatin1() + "\n";
    SimServer::writeSiteFile(QStringLiteral("ACL/BUTTONS/DROP_T.BUT"), buttons);
    SimServer::writeSiteFile(QStringLiteral("ACL/USERS/DROP_T.USE"), digest);
    const auto dropped = [] {
        const QStringList journal = SimServer::journal();
        return std::any_of(journal.begin(), journal.end(),
                           [](const QString& l) { return l.startsWith(QLatin1String("DROP ")); });
    };
    {
        frmmodusers w;
        pick(w.cbousers, QStringLiteral("DROP_T"));
        w.picker->lstDivision->setCurrentRow(0);  // 02.RPT Audit Report
        QTest::mouseClick(w.picker->cmdadd, Qt::LeftButton);
        SimServer::setKnob(QStringLiteral("drop_line"), QStringLiteral("echo 02.cmdAudit"));
        prompter.ok();
        QTest::mouseClick(w.cmdmoduser, Qt::LeftButton);
        if (!dropped()) GTEST_SKIP() << "the stand-in server has no drop_line knob (sim/start it)";
        EXPECT_TRUE(prompter.messages().last().startsWith(
            QStringLiteral("The functions of DROP_T may not have been changed.")))
            << prompter.messages().last().toStdString();
        EXPECT_NE(w.result(), QDialog::Accepted);
    }
    EXPECT_EQ(SimServer::readSiteFile(QStringLiteral("ACL/BUTTONS/DROP_T.BUT")), buttons);

    SimServer::setKnob(QStringLiteral("drop_line"), QStringLiteral("mv -f .DROP_T.USE.tmp"));
    {
        frmchangepasswd w;
        pick(w.cbousers, QStringLiteral("DROP_T"));
        w.txtnewpasswd->setText(QStringLiteral("new"));
        w.txtconfirmpasswd->setText(QStringLiteral("new"));
        prompter.ok();
        QTest::mouseClick(w.cmdchgpasswd, Qt::LeftButton);
        EXPECT_TRUE(prompter.messages().last().startsWith(
            QStringLiteral("The password may not have been changed.")))
            << prompter.messages().last().toStdString();
    }
    EXPECT_EQ(SimServer::readSiteFile(QStringLiteral("ACL/USERS/DROP_T.USE")), digest);
    SimServer::clearKnobs();
    SimServer::runAs(SimServer::shellUser(),
                     QStringLiteral("rm -f ACL/BUTTONS/.DROP_T.BUT.tmp ACL/USERS/.DROP_T.USE.tmp"));
}

// A site whose users folder is empty: ls complains on its error output, UNAME.TXT is empty, and
// the windows that list users show none without a message.
TEST_F(AdminOnServer, ASiteWithoutUsersListsNone) {
    const QString folder = SimServer::siteDir() + QStringLiteral("/f19_nousers");
    ASSERT_EQ(
        SimServer::runAs(SimServer::shellUser(),
                         QStringLiteral("mkdir -p f19_nousers/ACL/USERS f19_nousers/ACL/BUTTONS")),
        0);
    SimServer::configureSite(2, folder);
    FixedSite empty{2, QStringLiteral("Empty")};
    SiteContext::install(&empty);
    {
        frmdeluser w;
        EXPECT_EQ(w.cbousers->count(), 0);
        EXPECT_TRUE(prompter.messages().isEmpty()) << prompter.messages().join('|').toStdString();
    }
    EXPECT_EQ(SimServer::readSiteFile(QStringLiteral("f19_nousers/ACL/USERS/UNAME.TXT")),
              QByteArray());
    SiteContext::install(&site);
    SimServer::runAs(SimServer::shellUser(), QStringLiteral("rm -rf f19_nousers"));
}

}  // namespace
