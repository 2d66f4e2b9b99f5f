// The login window against the stand-in server: who gets in, which menu buttons they get, how
// tries are counted, and that a typed name never steers the server's shell.
#include "support/ProgramWindows.h"
#include "widgets/WindowRegistry.h"
#include "access/frmLogin.h"
#include "widgets/AppControl.h"
#include "common/CommonFunctions.h"
#include "common/Globals.h"
#include "menu/fMain.h"
#include "platform/ProfileFile.h"
#include "platform/SystemInfo.h"
#include "support/ScriptedPrompter.h"
#include "support/SimServer.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>

using namespace quillon;
using testsupport::ScriptedPrompter;
using testsupport::SimServer;

namespace {

const char* const kInvalid = "Invalid Login or Password, try again!";
const char* const kTooMany =
    "You have entered the wrong password too many times. The program will now terminate.";

// The 26 menu buttons a button file may grant.
const QStringList kMenuButtons = {
    "cmddetail",     "cmdAudit",         "cmdcost",    "cmdstats",    "cmdWatchdog", "cmdcrono",
    "cmdtrunk",      "cmdAreaCode",      "cmdauth",    "cmdcallcalc", "cmdmanager",  "cmddelprint",
    "cmdsynch",      "cmdbringreport",   "cmddelete",  "cmdunlock",   "cmdtestcall", "cmdEdit",
    "cmdbackupmenu", "cmdadduser",       "cmdmoduser", "cmdpasswd",   "cmddeluser",  "cmddatabase",
    "cmdareacodes",  "cmdunusedstations"};

// The shell lines a login for `user` would send on the stand-in site: its users folder and the
// user's file. Other programs may share the server while a test runs; their lines are left out.
QStringList loginShellLines(const QString& user) {
    QStringList lines;
    for (const QString& line : SimServer::shellLines())
        if (line.contains(SimServer::siteDir() + QStringLiteral("/ACL/USERS")) ||
            line.contains(user.toUpper() + QStringLiteral(".USE")) ||
            line.contains(QLatin1String("pwned")))
            lines << line;
    return lines;
}

// The debug log's messages after its "OPENED" line, time stamps cut off.
QStringList logMessages() {
    QFile file(platform::SystemInfo::path(QStringLiteral("Logs/Mainlog.log")));
    if (!file.open(QIODevice::ReadOnly)) return {};
    QStringList out;
    const QStringList lines = QString::fromLatin1(file.readAll()).split(QStringLiteral("\r\n"));
    for (const QString& line : lines.mid(1, lines.size() - 2))
        out << line.mid(19);  // "Dec-09-08 14:05:33 "
    return out;
}

void flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// endProgram() asks the application to quit, and until an exec() round has run every local
// event loop (each session wait) returns at once; one short round takes the request back.
void takeBackQuitRequest() {
    if (!programEndRequested()) return;
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
    resetProgramEnd();
}

// The window as start-up leaves it: main window loaded with every menu button off, then the
// login window with the site list, site 1 the stand-in server.
class LoginWindow : public ::testing::Test {
protected:
    void SetUp() override {
        quillon::setWindowOpenHook([this](const QString& name) { opened << name; });
        main = fMain::instance();
        main->disableAllButtons();
    }
    void TearDown() override {
        delete login.data();
        fMain::unloadInstance();
        quillon::setWindowOpenHook(nullptr);
        flushDeletes();
        takeBackQuitRequest();
    }

    void open(const QStringList& sites, int index) {
        login = new frmLogin(sites);
        login->cboSites->setCurrentIndex(index);
        login->show();
    }
    void attempt(const QString& user, const QString& password) {
        ASSERT_FALSE(login.isNull());
        login->txtUserName->setText(user);
        login->txtPassword->setText(password);
        QTest::mouseClick(login->cmdOK, Qt::LeftButton);
    }
    QStringList enabledMenuButtons() const {
        QStringList on;
        for (const QString& name : kMenuButtons) {
            QPushButton* b = main->commandButton(name);
            if (b && b->isEnabled()) on << name;
        }
        return on;
    }
    QString lastLogin(int section) const {
        return platform::ProfileFile(home.file("KTReports.ini"))
            .read(QStringLiteral("Site%1").arg(section), QStringLiteral("LastLogin "));
    }

    testsupport::TempHome home;
    ScriptedPrompter prompter;
    QPointer<fMain> main;
    QPointer<frmLogin> login;
    QStringList opened;
};

class LoginOnServer : public LoginWindow {
protected:
    void SetUp() override {
        if (!SimServer::isUp()) GTEST_SKIP() << testsupport::kSimDownMessage;
        // The journal is shared with other test processes: clear it only while holding it.
        SimServer::lockForTest();
        SimServer::clearJournal();
        SimServer::clearKnobs();
        SimServer::configureSite(1);
        LoginWindow::SetUp();
        open({QStringLiteral("Default"), QStringLiteral("Sim")}, 1);
    }
    void TearDown() override {
        LoginWindow::TearDown();
        SimServer::clearKnobs();
    }
};

TEST(LoginCaption, FollowsEdition) {
    testsupport::TempHome home;
    for (const bool express : {false, true}) {
        G().g_Express = express;
        frmLogin w({QStringLiteral("Default"), QStringLiteral("A"), QStringLiteral("B")});
        EXPECT_EQ(w.windowTitle(), express ? QStringLiteral("Varnel Lumbrook Login")
                                           : QStringLiteral("Varnel                Login"));
        ASSERT_EQ(w.cboSites->count(), 3);
        EXPECT_EQ(w.cboSites->itemText(2), QStringLiteral("B"));
        w.setAttribute(Qt::WA_DeleteOnClose, false);
    }
}

TEST_F(LoginOnServer, GoodLoginTurnsOnExactlyTheGrantedButtons) {
    G().g_DebugMode = true;
    QDir().mkpath(home.file(QStringLiteral("Logs")));
    OpenDebugLog(home.file(QStringLiteral("Logs/Mainlog.log")));
    attempt(QStringLiteral("alice"), QStringLiteral("secret1"));
    flushDeletes();

    EXPECT_TRUE(prompter.messages().isEmpty()) << prompter.messages().join('|').toStdString();
    EXPECT_TRUE(login.isNull());
    // 18.cmdedit and 22.CMDPASSWD grant whatever the case; 27.cmdnosuch and a short line grant
    // nothing; 99.cmdexitbackup names a button outside the catalogue, which comes on too.
    EXPECT_EQ(enabledMenuButtons(),
              (QStringList{QStringLiteral("cmddetail"), QStringLiteral("cmdEdit"),
                           QStringLiteral("cmdpasswd")}));
    EXPECT_FALSE(main->cmdexitbackup->isHidden());
    EXPECT_FALSE(main->commandButton(QStringLiteral("cmddetail"))->isHidden());

    EXPECT_EQ(G().g_UserName, QStringLiteral("alice"));
    EXPECT_EQ(G().g_CurSite, 1);
    EXPECT_EQ(lastLogin(2), QStringLiteral("alice"));
    EXPECT_TRUE(SimServer::shellLines().contains(QStringLiteral("sudo ./do_csv.sh")));
    EXPECT_FALSE(SimServer::calls(QStringLiteral("do_csv.sh")).isEmpty());
    for (const char* f : {"ALICE.LICU", "ALICE.LIC", "ALICE.BUTU", "ALICE.BUT"})
        EXPECT_FALSE(QFile::exists(home.file(QStringLiteral("Sim/download/") + f))) << f;

    // Handed over: the main window holds the sites, shows site 1 and switched to it.
    ASSERT_EQ(main->cboSites->count(), 2);
    EXPECT_EQ(main->cboSites->currentIndex(), 1);
    EXPECT_EQ(opened, QStringList{QStringLiteral("fgetdata")});
    EXPECT_TRUE(main->isVisible());
    EXPECT_FALSE(programEndRequested());

    // The log holds a line for every button, and what the sessions said under their control's
    // name; no line is empty (the bare line feeds and the cd lines have empty replies).
    const QStringList log = logMessages();
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

struct GrantCase {
    const char* user;
    const char* password;
    QStringList on;
};
void PrintTo(const GrantCase& c, std::ostream* os) {
    *os << c.user;
}

class LoginGrants : public LoginOnServer, public ::testing::WithParamInterface<GrantCase> {};

TEST_P(LoginGrants, ButtonFileDecides) {
    const GrantCase& c = GetParam();
    attempt(QString::fromUtf8(c.user), QString::fromUtf8(c.password));
    EXPECT_TRUE(prompter.messages().isEmpty()) << prompter.messages().join('|').toStdString();
    EXPECT_EQ(G().g_UserName, QString::fromUtf8(c.user));
    EXPECT_EQ(enabledMenuButtons(), c.on);
}

INSTANTIATE_TEST_SUITE_P(Users, LoginGrants,
                         ::testing::Values(
                             // Without its header the first line is taken for it.
                             GrantCase{"nohead", "secret1", {"cmdAudit", "cmdcost"}},
                             GrantCase{"Dupe", "secret1", {"cmdstats", "cmdWatchdog"}},
                             GrantCase{"HEADONLY", "secret1", {}},
                             // No button file at all: in, with nothing turned on.
                             GrantCase{"nobut", "secret1", {}},
                             // Digested from its Windows-1252 bytes 63 61 66 E9.
                             GrantCase{"cafe", "caf\u00e9", {"cmdcallcalc"}}),
                         [](const auto& info) { return std::string(info.param.user); });

struct RefusedCase {
    const char* what;
    const char* user;
    const char* password;
    int countsAs;  // wrong passwords after the try
};
void PrintTo(const RefusedCase& c, std::ostream* os) {
    *os << c.what;
}

class LoginRefused : public LoginOnServer, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(LoginRefused, SaysTheSameWhateverWasWrong) {
    const RefusedCase& c = GetParam();
    prompter.ok();
    attempt(QString::fromUtf8(c.user), QString::fromUtf8(c.password));
    ASSERT_EQ(prompter.prompts().size(), 1u) << c.what;
    EXPECT_EQ(prompter.prompts()[0].text, QLatin1String(kInvalid));
    EXPECT_EQ(prompter.prompts()[0].title, QStringLiteral("Login"));
    EXPECT_EQ(login->wrongPasswordCount(), c.countsAs) << c.what;
    EXPECT_TRUE(login->txtPassword->text().isEmpty());
    EXPECT_EQ(login->txtUserName->text(), QString::fromUtf8(c.user));
    for (QWidget* w :
         {static_cast<QWidget*>(login->cmdOK), static_cast<QWidget*>(login->cmdcancel),
          static_cast<QWidget*>(login->txtUserName), static_cast<QWidget*>(login->txtPassword),
          static_cast<QWidget*>(login->cboSites)})
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_TRUE(enabledMenuButtons().isEmpty());
    EXPECT_TRUE(G().g_UserName.isEmpty());
    EXPECT_TRUE(lastLogin(2).isEmpty());
    EXPECT_FALSE(main->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Cases, LoginRefused,
                         ::testing::Values(RefusedCase{"unknown user", "nobody", "secret1", 0},
                                           RefusedCase{"wrong password", "alice", "secret2", 1},
                                           RefusedCase{"password case", "alice", "Secret1", 1},
                                           RefusedCase{"empty password", "alice", "", 1},
                                           RefusedCase{"lower-case digest", "lower", "secret1", 1},
                                           RefusedCase{"digest with a trailing blank", "blank",
                                                       "secret1", 1}),
                         [](const auto& info) { return std::to_string(info.index); });

// A sequence of tries and the try on which the program ends (0: it does not).
struct TriesCase {
    const char* what;
    std::vector<std::pair<const char*, const char*>> tries;
    int endsOn;
};
void PrintTo(const TriesCase& c, std::ostream* os) {
    *os << c.what;
}

class LoginTries : public LoginOnServer, public ::testing::WithParamInterface<TriesCase> {};

TEST_P(LoginTries, ThirdWrongPasswordEndsTheProgram) {
    const TriesCase& c = GetParam();
    for (size_t i = 0; i < c.tries.size(); ++i) prompter.ok();
    for (size_t i = 0; i < c.tries.size(); ++i) {
        attempt(QString::fromUtf8(c.tries[i].first), QString::fromUtf8(c.tries[i].second));
        flushDeletes();
        const bool last = static_cast<int>(i) + 1 == c.endsOn;
        EXPECT_EQ(programEndRequested(), last) << c.what << ", try " << i + 1;
        if (last) break;
    }
    const auto& prompts = prompter.prompts();
    ASSERT_FALSE(prompts.empty());
    if (c.endsOn) {
        EXPECT_EQ(prompts.back().text, QLatin1String(kTooMany));
        EXPECT_EQ(prompts.back().icon, platform::Icon::Critical);
        EXPECT_TRUE(prompts.back().title.isEmpty());
        EXPECT_TRUE(login.isNull());
        EXPECT_TRUE(main.isNull() || !main->isVisible());
        EXPECT_TRUE(G().g_UserName.isEmpty());
    } else {
        EXPECT_EQ(prompts.back().text, QLatin1String(kInvalid));
        EXPECT_FALSE(login.isNull());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LoginTries,
    ::testing::Values(
        TriesCase{"three wrong passwords", {{"alice", "x"}, {"alice", "y"}, {"alice", "z"}}, 3},
        TriesCase{"three unknown users", {{"nobody", "x"}, {"nobody", "x"}, {"ghost", "x"}}, 0},
        TriesCase{"an unknown user in between does not reset the count",
                  {{"alice", "x"}, {"alice", "y"}, {"nobody", "x"}, {"alice", "z"}},
                  4},
        TriesCase{"wrong passwords for different users add up",
                  {{"alice", "x"}, {"nohead", "y"}, {"nohead", "z"}},
                  3},
        TriesCase{"names refused before the server count as tries",
                  {{"a;id", "x"}, {"alice", "y"}, {"$(id)", "z"}},
                  3}),
    [](const auto& info) { return std::to_string(info.index); });

// Names holding what a shell acts on never reach it: nothing runs on the server.
class LoginHostileName : public LoginOnServer, public ::testing::WithParamInterface<const char*> {};

TEST_P(LoginHostileName, IsRefusedBeforeAnyLine) {
    SimServer::removeSiteFile(QStringLiteral("pwned"));
    prompter.ok();
    attempt(QString::fromUtf8(GetParam()), QStringLiteral("secret1"));
    EXPECT_EQ(prompter.messages(), QStringList{QLatin1String(kInvalid)});
    EXPECT_EQ(login->wrongPasswordCount(), 1);
    const QStringList sent = loginShellLines(QString::fromUtf8(GetParam()));
    EXPECT_TRUE(sent.isEmpty()) << sent.join('|').toStdString();
    EXPECT_FALSE(SimServer::siteFileExists(QStringLiteral("pwned")));
    EXPECT_FALSE(SimServer::siteFileExists(QStringLiteral("ACL/USERS/pwned")));
}

INSTANTIATE_TEST_SUITE_P(Names, LoginHostileName,
                         ::testing::Values("$(touch pwned)", "a;id", "`touch pwned`",
                                           "x|touch pwned", "../ALICE", "-la", ".ALICE", "alice'",
                                           "al ice", "caf\u00e9",
                                           "a23456789012345678901234567890123"),
                         [](const auto& info) { return std::to_string(info.index); });

TEST_F(LoginOnServer, AllowedNameGoesQuotedIntoTheShell) {
    prompter.ok();
    attempt(QStringLiteral("a.b-c_d"), QStringLiteral("x"));
    EXPECT_TRUE(SimServer::shellLines().contains(QStringLiteral("ls -1 'A.B-C_D.USE'")))
        << SimServer::shellLines().join('|').toStdString();
    EXPECT_EQ(login->wrongPasswordCount(), 0);  // no such user
}

// A user file the transfer login cannot read is a wrong password, even with an old local copy
// holding the right digest; a button file that cannot be fetched grants nothing, whatever an
// old copy says.
TEST_F(LoginOnServer, OldLocalCopiesAreNeverRead) {
    const QByteArray digest = "E52D98C459819A11775936D8DFBB7929";  // "secret1"
    const QByteArray header = "ENABLED BUTTONS DO NOT REMOVE THIS LINE";
    SimServer::writeSiteFile(QStringLiteral("ACL/USERS/GHOST.USE"), digest + "\n");
    ASSERT_EQ(
        SimServer::runAs(SimServer::sftpUser(), QStringLiteral("chmod 000 ACL/USERS/GHOST.USE")),
        0);
    home.write(QStringLiteral("Sim/download/GHOST.LICU"), digest + "\n");
    home.write(QStringLiteral("Sim/download/GHOST.LIC"), digest + "\r\n");
    home.write(QStringLiteral("Sim/download/NOBUT.BUTU"), header + "\n01.cmddetail\n");
    home.write(QStringLiteral("Sim/download/NOBUT.BUT"), header + "\r\n01.cmddetail\r\n");

    prompter.ok();
    attempt(QStringLiteral("ghost"), QStringLiteral("secret1"));
    SimServer::removeSiteFile(QStringLiteral("ACL/USERS/GHOST.USE"));
    EXPECT_EQ(prompter.messages(), QStringList{QLatin1String(kInvalid)});
    EXPECT_EQ(login->wrongPasswordCount(), 1);

    attempt(QStringLiteral("nobut"), QStringLiteral("secret1"));
    EXPECT_EQ(G().g_UserName, QStringLiteral("nobut"));
    EXPECT_TRUE(enabledMenuButtons().isEmpty());
}

TEST_F(LoginOnServer, UnreachableServerIsToldAndCostsNoTry) {
    G().g_SiteSSHPort[1] = QStringLiteral("1");
    prompter.ok();
    attempt(QStringLiteral("alice"), QStringLiteral("secret1"));
    ASSERT_EQ(prompter.prompts().size(), 1u);
    EXPECT_TRUE(prompter.prompts()[0].text.startsWith(
        QStringLiteral("Could not reach the server of site Sim")))
        << prompter.prompts()[0].text.toStdString();
    EXPECT_EQ(login->wrongPasswordCount(), 0);
    EXPECT_TRUE(login->cmdOK->isEnabled());
    EXPECT_FALSE(main->isVisible());
}

// ---- without the server --------------------------------------------------------------------

struct DefaultCase {
    const char* what;
    const char* user;
    const char* password;
};
void PrintTo(const DefaultCase& c, std::ostream* os) {
    *os << c.what;
}

class LoginDefaultSite : public LoginWindow, public ::testing::WithParamInterface<DefaultCase> {};

TEST_P(LoginDefaultSite, LogsNobodyInAndLeavesOnlyTheSiteEditor) {
    const DefaultCase& c = GetParam();
    const bool simUp = SimServer::isUp();
    if (simUp) {
        SimServer::lockForTest();
        SimServer::clearJournal();
    }
    open({QStringLiteral("Default"), QStringLiteral("Sim")}, 0);
    attempt(QString::fromUtf8(c.user), QString::fromUtf8(c.password));
    flushDeletes();

    EXPECT_TRUE(prompter.prompts().empty()) << c.what;
    EXPECT_TRUE(login.isNull());
    EXPECT_EQ(main->Label33->text(), QStringLiteral("Connected to: Default"));
    EXPECT_EQ(enabledMenuButtons(), QStringList{QStringLiteral("cmdEdit")});
    EXPECT_FALSE(main->cmdEdit->isHidden());
    EXPECT_FALSE(main->lblsites->isHidden());
    EXPECT_TRUE(main->lblsites->isEnabled());
    EXPECT_TRUE(main->isVisible());
    ASSERT_EQ(main->cboSites->count(), 2);
    EXPECT_EQ(main->cboSites->currentIndex(), 0);
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_TRUE(G().g_UserName.isEmpty());
    EXPECT_FALSE(home.read(QStringLiteral("KTReports.ini")).contains("LastLogin"));
    if (simUp) EXPECT_TRUE(loginShellLines(QString::fromUtf8(c.user)).isEmpty());
    EXPECT_FALSE(programEndRequested());
}

INSTANTIATE_TEST_SUITE_P(Cases, LoginDefaultSite,
                         ::testing::Values(DefaultCase{"no name", "", ""},
                                           DefaultCase{"any name and password", "alice", "x"},
                                           DefaultCase{"a name no user may have", "$(id)", ""}),
                         [](const auto& info) { return std::to_string(info.index); });

TEST_F(LoginWindow, EmptySiteListTakesTheDefaultPathWithoutSiteEditor) {
    open({}, -1);
    attempt(QStringLiteral("alice"), QString());
    flushDeletes();
    EXPECT_TRUE(login.isNull());
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(main->cboSites->currentIndex(), -1);
    EXPECT_FALSE(main->cmdEdit->isEnabled());
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(LoginWindow, EmptyNameIsAskedForOnARealSite) {
    open({QStringLiteral("Default"), QStringLiteral("Sim")}, 1);
    prompter.ok();
    attempt(QString(), QStringLiteral("secret1"));
    EXPECT_EQ(prompter.messages(), QStringList{QStringLiteral("Please enter a User Name.")});
    EXPECT_TRUE(prompter.prompts()[0].title.isEmpty());
    EXPECT_TRUE(login->cmdOK->isEnabled());
    EXPECT_EQ(login->txtPassword->text(), QStringLiteral("secret1"));
    EXPECT_EQ(login->wrongPasswordCount(), 0);
}

TEST_F(LoginWindow, TypedBlankIsTakenOut) {
    open({QStringLiteral("Default"), QStringLiteral("Sim")}, 1);
    prompter.ok();
    QTest::keyClicks(login->txtUserName, QStringLiteral("al"));
    QTest::keyClick(login->txtUserName, Qt::Key_Space);
    QTest::keyClicks(login->txtUserName, QStringLiteral("ice"));
    EXPECT_EQ(login->txtUserName->text(), QStringLiteral("alice"));
    EXPECT_EQ(prompter.messages(),
              QStringList{QStringLiteral("You can not have Spaces in the User Name")});
}

class LoginEnd : public LoginWindow, public ::testing::WithParamInterface<bool> {};

TEST_P(LoginEnd, CancelAndTitleBarCloseEndTheProgram) {
    const bool titleBar = GetParam();
    open({QStringLiteral("Default"), QStringLiteral("Sim")}, 1);
    if (titleBar)
        login->close();
    else
        QTest::mouseClick(login->cmdcancel, Qt::LeftButton);
    EXPECT_TRUE(programEndRequested());
    EXPECT_TRUE(main.isNull() || (!main->isVisible() && main->cboSites->count() == 0));
    flushDeletes();
    EXPECT_TRUE(login.isNull());
}

INSTANTIATE_TEST_SUITE_P(Ways, LoginEnd, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "TitleBar" : "Cancel"; });

}  // namespace
