// The login window against the stand-in server: a whole good login with its log, and a user
// file the file-transfer login may not read.
#include "support/Controls.h"
#include "support/ProgramWindows.h"

#include "LoginTestSupport.h"
#include "common/Globals.h"
#include "platform/ProfileFile.h"
#include "startup/Configuration.h"
#include "support/DebugLogLines.h"
#include "support/ScriptedPrompter.h"
#include "support/SimServer.h"
#include "support/TempHome.h"
#include "widgets/AppControl.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>

using testsupport::control;

using namespace quillon;
using testsupport::SimServer;

namespace {

using logintest::flushDeletes;

class LoginOnServer : public testsupport::SimTest, protected logintest::LoginScene {
protected:
    void SetUp() override {
        SimTest::SetUp();
        if (IsSkipped()) return;
        SimServer::configureSite(1);
        start();
        open({QStringLiteral("Default"), QStringLiteral("Sim")}, 1);
    }
    void TearDown() override {
        finish();
        SimTest::TearDown();
    }

    testsupport::TempHome home;
    testsupport::ScriptedPrompter prompter;
};

TEST_F(LoginOnServer, GoodLoginTurnsOnExactlyTheGrantedButtons) {
    testsupport::startDebugLog();
    attempt(QStringLiteral("alice"), QStringLiteral("secret1"));
    flushDeletes();

    EXPECT_TRUE(prompter.messages().isEmpty()) << prompter.messages().join('|').toStdString();
    EXPECT_TRUE(login.isNull());
    EXPECT_EQ(enabledMenuButtons(),
              (QStringList{QStringLiteral("cmddetail"), QStringLiteral("cmdEdit"),
                           QStringLiteral("cmdpasswd")}));
    EXPECT_EQ(G().g_UserName, QStringLiteral("alice"));
    EXPECT_EQ(platform::ProfileFile(home.file("KTReports.ini"))
                  .read(QStringLiteral("Site2"), QStringLiteral("LastLogin ")),
              QStringLiteral("alice"));
    const QStringList shell = SimServer::shellLines();
    for (const QString& line : {SimServer::siteDir() + QStringLiteral("/ACL/USERS/"),
                                QStringLiteral("ALICE.USE"), QStringLiteral("sudo ./do_csv.sh")})
        EXPECT_TRUE(std::any_of(shell.begin(), shell.end(),
                                [&](const QString& sent) { return sent.contains(line); }))
            << line.toStdString() << " not in " << shell.join('|').toStdString();
    EXPECT_FALSE(SimServer::calls(QStringLiteral("do_csv.sh")).isEmpty());
    for (const char* f : {"ALICE.LICU", "ALICE.LIC", "ALICE.BUTU", "ALICE.BUT"})
        EXPECT_FALSE(QFile::exists(home.file(QStringLiteral("Sim/download/") + f))) << f;
    EXPECT_EQ(control<QComboBox>(main, "cboSites")->currentIndex(), 1);
    EXPECT_EQ(opened, QStringList{QStringLiteral("fgetdata")});
    EXPECT_TRUE(main->isVisible());

    // The log holds a line for every button, and what the sessions said under their control's
    // name; no line is empty (the bare line feeds and the cd lines have empty replies).
    const QStringList log = testsupport::debugLogMessages();
    for (const char* line : {"Turning on Button: cmddetail", "Turning on Button: cmdEdit",
                             "Turning on Button: cmdpasswd", "NOT Turning on Button: cmdcost"})
        EXPECT_EQ(log.count(QLatin1String(line)), 1) << line;
    const QStringList own = {QStringLiteral("Turning on Button: "),
                             QStringLiteral("NOT Turning on Button: "), QStringLiteral("Login: ")};
    for (const QString& line : log) {
        const bool fromSession =
            line.startsWith(QStringLiteral("wodSSH1 ")) && !line.mid(8).trimmed().isEmpty();
        const bool fromLogin = std::any_of(own.begin(), own.end(), [&](const QString& start) {
            return line.startsWith(start) && line.size() > start.size();
        });
        EXPECT_TRUE(fromSession || fromLogin) << "[" << line.toStdString() << "]";
    }
}

// A user file the transfer login cannot read checked no password: it is told as a failure of
// the site's server, costs no try, and an old local copy holding the right digest is not read.
TEST_F(LoginOnServer, AnUnreadableUserFileIsNeverAnsweredFromAnOldCopy) {
    const QByteArray digest = "E52D98C459819A11775936D8DFBB7929";  // "secret1"
    SimServer::writeSiteFile(QStringLiteral("ACL/USERS/GHOST.USE"), digest + "\n");
    ASSERT_EQ(
        SimServer::runAs(SimServer::sftpUser(), QStringLiteral("chmod 000 ACL/USERS/GHOST.USE")),
        0);
    home.write(QStringLiteral("Sim/download/GHOST.LICU"), digest + "\n");
    home.write(QStringLiteral("Sim/download/GHOST.LIC"), digest + "\r\n");

    prompter.ok();
    attempt(QStringLiteral("ghost"), QStringLiteral("secret1"));
    SimServer::removeSiteFile(QStringLiteral("ACL/USERS/GHOST.USE"));
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].startsWith(
        QStringLiteral("Could not reach the server of site Sim: Could not fetch ") +
        SimServer::siteDir() + QStringLiteral("/ACL/USERS/GHOST.USE")))
        << prompter.messages()[0].toStdString();
    EXPECT_EQ(login->wrongPasswordCount(), 0);
    EXPECT_TRUE(G().g_UserName.isEmpty());
    EXPECT_FALSE(QFile::exists(home.file(QStringLiteral("Sim/download/GHOST.LIC"))));
}

// The demo's program folder as sim/demo-home makes it: its administrator gets every button of
// the catalogue.
class DemoOnServer : public testsupport::SimTest, protected logintest::LoginScene {
protected:
    void TearDown() override {
        finish();
        SimTest::TearDown();
    }
    testsupport::TempHome home;
    testsupport::ScriptedPrompter prompter;
};

TEST_F(DemoOnServer, TheAdministratorGetsEveryCatalogueButton) {
    QProcess make;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QUILLON_SIM_PORT"), QString::number(SimServer::port()));
    make.setProcessEnvironment(env);
    make.start(QStringLiteral(QUILLON_SOURCE_DIR "/sim/demo-home"), {home.path()});
    ASSERT_TRUE(make.waitForFinished(30000));
    ASSERT_EQ(make.exitCode(), 0) << make.readAllStandardError().toStdString();

    const StartupConfiguration config = ReadStartupConfiguration();
    ASSERT_EQ(config.siteNames, (QStringList{QStringLiteral("Default"), QStringLiteral("Demo")}));
    start();
    open(config.siteNames, 1);
    attempt(QStringLiteral("admin"), QStringLiteral("admin1"));
    flushDeletes();

    EXPECT_TRUE(prompter.messages().isEmpty()) << prompter.messages().join('|').toStdString();
    EXPECT_EQ(G().g_UserName, QStringLiteral("admin"));
    EXPECT_EQ(enabledMenuButtons(), logintest::kMenuButtons);
}

}  // namespace
