// The login window through the fake server: the lines and fetches of a login, who gets in,
// which menu buttons they get, how tries are counted, where each failure stops the check, and
// that a typed name never steers the server's shell. The user files are the stand-in server's.
#include "support/Controls.h"
#include "support/ProgramWindows.h"

#include "LoginTestSupport.h"
#include "common/Globals.h"
#include "platform/ProfileFile.h"
#include "support/FakeServer.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"
#include "widgets/AppControl.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using testsupport::control;

using namespace quillon;
using testsupport::FakeServer;
using testsupport::ScriptedPrompter;

namespace {

const char* const kInvalid = "Invalid Login or Password, try again!";
const char* const kTooMany =
    "You have entered the wrong password too many times. The program will now terminate.";

using logintest::flushDeletes;

class LoginWindow : public ::testing::Test, protected logintest::LoginScene {
protected:
    void SetUp() override { start(); }
    void TearDown() override { finish(); }

    QString lastLogin(int section) const {
        return platform::ProfileFile(home.file("KTReports.ini"))
            .read(QStringLiteral("Site%1").arg(section), QStringLiteral("LastLogin "));
    }

    testsupport::TempHome home;
    ScriptedPrompter prompter;
    FakeServer server;
};

// Site 1 is a server holding the stand-in server's user and button files; `ls` answers as
// bash does for a file that is there and one that is not.
class LoginOnFake : public LoginWindow {
protected:
    void SetUp() override {
        Globals& g = G();
        g.g_SiteCount = 2;
        g.g_SiteIPAddress[1] = QStringLiteral("10.0.0.7");
        g.g_SiteSSHPort[1] = QStringLiteral("2200");
        g.g_SiteSSHUser[1] = QStringLiteral("varneltail");
        g.g_SiteUsername[1] = QStringLiteral("varnel");
        g.g_SitePassword[1] = QStringLiteral("v");
        g.g_SiteHomedir[1] = QStringLiteral("/usr/varnel");
        g.g_FtpTimeout = 30;
        server.on(QRegularExpression(QStringLiteral("^ls -1 ")))
            .reply(QStringLiteral("ls: cannot access: No such file or directory\n"));
        logintest::forEachSimUserFile(
            [this](const QString& path, const QByteArray& bytes) { addFile(path, bytes); });
        LoginWindow::SetUp();
        open({QStringLiteral("Default"), QStringLiteral("Sim")}, 1);
    }
    // A server file; a user file makes its user known to `ls`.
    void addFile(const QString& path, const QByteArray& bytes) {
        server.addFile(path, bytes);
        if (!path.endsWith(QLatin1String(".USE"))) return;
        const QString name = path.section(QLatin1Char('/'), -1);
        server.on(QStringLiteral("ls -1 ") + name).reply(name + QLatin1Char('\n'));
    }
    static QStringList userCheckLines(
        const QString& file, const QString& folder = QStringLiteral("cd /usr/varnel/ACL/USERS/")) {
        const QString ls = QStringLiteral("ls -1 ") + file;
        return {QString(), folder, QString(), ls, ls};
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

// A good login: the user check in one shell, both files over one file session, the table
// regeneration in a second shell, then the hand-over to the main window.
TEST_F(LoginOnFake, GoodLoginChecksFetchesAndTurnsOnExactlyTheGrantedButtons) {
    home.write(QStringLiteral("Sim/download/ALICE.BUT"), "stale\r\n");
    attempt(QStringLiteral("alice"), QStringLiteral("secret1"));
    flushDeletes();

    EXPECT_TRUE(prompter.messages().isEmpty()) << prompter.messages().join('|').toStdString();
    EXPECT_TRUE(login.isNull());
    ASSERT_EQ(server.shellRequests().size(), 2u);
    for (const ShellRequest& r : server.shellRequests()) {
        EXPECT_EQ(r.target.host, QStringLiteral("10.0.0.7"));
        EXPECT_EQ(r.target.port, 2200);
        EXPECT_EQ(r.target.login, QStringLiteral("varneltail"));
        EXPECT_EQ(r.target.password, QString::fromLatin1(kShellPassword));
        EXPECT_FALSE(r.folder.has_value());
        EXPECT_EQ(r.control, QStringLiteral("wodSSH1"));
        EXPECT_EQ(r.connectTimeoutSec, 30);
    }
    EXPECT_EQ(server.linesOf(0), userCheckLines(QStringLiteral("ALICE.USE")));
    EXPECT_EQ(server.linesOf(1), (QStringList{QString(), QStringLiteral("cd /usr/varnel"),
                                              QStringLiteral("sudo ./do_csv.sh")}));
    EXPECT_FALSE(server.isShellOpen(0));
    EXPECT_FALSE(server.isShellOpen(1));
    ASSERT_EQ(server.filesRequests().size(), 1u);
    EXPECT_EQ(server.filesRequests()[0].target.login, QStringLiteral("varnel"));
    EXPECT_EQ(server.filesRequests()[0].target.port, 2200);
    ASSERT_EQ(server.fetches().size(), 2u);
    const QString download = home.file(QStringLiteral("Sim/download"));
    EXPECT_EQ(server.fetches()[0].remotePath, QStringLiteral("/usr/varnel/ACL/USERS/ALICE.USE"));
    EXPECT_EQ(server.fetches()[0].localPath, download + QStringLiteral("/ALICE.LICU"));
    EXPECT_EQ(server.fetches()[1].remotePath, QStringLiteral("/usr/varnel/ACL/BUTTONS/ALICE.BUT"));
    EXPECT_EQ(server.fetches()[1].localPath, download + QStringLiteral("/ALICE.BUTU"));
    EXPECT_FALSE(server.isFilesOpen(0));

    // 18.cmdedit and 22.CMDPASSWD grant whatever the case; 27.cmdnosuch and a short line grant
    // nothing; 99.cmdexitbackup names a button outside the catalogue, which comes on too.
    EXPECT_EQ(enabledMenuButtons(),
              (QStringList{QStringLiteral("cmddetail"), QStringLiteral("cmdEdit"),
                           QStringLiteral("cmdpasswd")}));
    EXPECT_FALSE(control<QPushButton>(main, "cmdexitbackup")->isHidden());
    EXPECT_EQ(G().g_UserName, QStringLiteral("alice"));
    EXPECT_EQ(G().g_CurSite, 1);
    EXPECT_EQ(lastLogin(2), QStringLiteral("alice"));
    EXPECT_EQ(home.read(QStringLiteral("KTReports.ini")), "[Site2]\r\nLastLogin =alice\r\n");
    for (const char* f : {"ALICE.LICU", "ALICE.LIC", "ALICE.BUTU", "ALICE.BUT"})
        EXPECT_FALSE(QFile::exists(download + QLatin1Char('/') + QLatin1String(f))) << f;

    // Handed over: the main window holds the sites, shows site 1 and switched to it.
    ASSERT_EQ(control<QComboBox>(main, "cboSites")->count(), 2);
    EXPECT_EQ(control<QComboBox>(main, "cboSites")->currentIndex(), 1);
    EXPECT_EQ(opened, QStringList{QStringLiteral("fgetdata")});
    EXPECT_TRUE(main->isVisible());
    EXPECT_FALSE(programEndRequested());
}

struct GrantCase {
    const char* user;
    const char* password;
    QStringList on;
};
void PrintTo(const GrantCase& c, std::ostream* os) {
    *os << c.user;
}

class LoginGrants : public LoginOnFake, public ::testing::WithParamInterface<GrantCase> {};

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

class LoginRefused : public LoginOnFake, public ::testing::WithParamInterface<RefusedCase> {};

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
    EXPECT_EQ(server.shellRequests().size(), 1u);  // no table regeneration
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

// An unknown user is refused after the check's lines; nothing is fetched.
TEST_F(LoginOnFake, AnUnknownUserIsRefusedWithoutAFetch) {
    prompter.ok();
    attempt(QStringLiteral("nobody"), QStringLiteral("x"));
    EXPECT_EQ(server.lines(), userCheckLines(QStringLiteral("NOBODY.USE")));
    EXPECT_TRUE(server.filesRequests().empty());
}

// A sequence of tries and the try on which the program ends (0: it does not).
struct TriesCase {
    const char* what;
    std::vector<std::pair<const char*, const char*>> tries;
    int endsOn;
};
void PrintTo(const TriesCase& c, std::ostream* os) {
    *os << c.what;
}

class LoginTries : public LoginOnFake, public ::testing::WithParamInterface<TriesCase> {};

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
        TriesCase{"names refused before the server cost no try",
                  {{"a;id", "x"},
                   {"alice", "y"},
                   {"$(id)", "z"},
                   {"alice", "z"},
                   {"-la", "x"},
                   {"alice", "w"}},
                  6}),
    [](const auto& info) { return std::to_string(info.index); });

// Names holding what a shell acts on never reach it: no session is even opened. The name's
// own message says what a name may hold, and no password was tried, so it costs no try.
class LoginHostileName : public LoginOnFake, public ::testing::WithParamInterface<const char*> {};

TEST_P(LoginHostileName, IsRefusedBeforeAnyLine) {
    prompter.ok();
    attempt(QString::fromUtf8(GetParam()), QStringLiteral("secret1"));
    ASSERT_EQ(prompter.prompts().size(), 1u);
    EXPECT_EQ(prompter.prompts()[0].text,
              QStringLiteral("The user name may hold only the letters A to Z, digits, '_', '-' "
                             "and '.', and may not begin with '.' or '-'."));
    EXPECT_EQ(prompter.prompts()[0].title, QStringLiteral("Login"));
    EXPECT_EQ(login->wrongPasswordCount(), 0);
    EXPECT_TRUE(login->txtUserName->isEnabled());
    EXPECT_TRUE(login->cmdOK->isEnabled());
    EXPECT_TRUE(server.shellRequests().empty());
    EXPECT_TRUE(server.filesRequests().empty());
}

INSTANTIATE_TEST_SUITE_P(Names, LoginHostileName,
                         ::testing::Values("$(touch pwned)", "a;id", "`touch pwned`",
                                           "x|touch pwned", "../ALICE", "-la", ".ALICE", "alice'",
                                           "al ice", "caf\u00e9", "alice\n"),
                         [](const auto& info) { return std::to_string(info.index); });

// A password with a character that has no Windows-1252 code is refused at its box: its digest
// would be another password's. No session opens and no try is spent.
TEST_F(LoginOnFake, APasswordTheDigestCannotHoldIsRefusedBeforeTheServer) {
    prompter.ok();
    attempt(QStringLiteral("alice"), QString::fromUtf8("secret\u0141"));
    ASSERT_EQ(prompter.prompts().size(), 1u);
    EXPECT_EQ(prompter.prompts()[0].text,
              QString::fromUtf8("The password may not hold the character \"\u0141\" (U+0141): the "
                                "server's text is Windows-1252, which has no code for it."));
    EXPECT_EQ(prompter.prompts()[0].title, QStringLiteral("Login"));
    EXPECT_EQ(login->wrongPasswordCount(), 0);
    EXPECT_TRUE(login->cmdOK->isEnabled());
    EXPECT_TRUE(server.shellRequests().empty());
    EXPECT_TRUE(server.filesRequests().empty());
}

// A name is as long as a file name may hold it: its longest file, the temporary name a new user
// file is written under (.<USER>.USE.tmp), fits in 255.
TEST_F(LoginOnFake, ANameAsLongAsAFileNameMayHoldReachesTheServer) {
    for (const int length : {33, 246, 247}) {
        SCOPED_TRACE(length);
        testsupport::ScriptedPrompter answers;
        FakeServer fresh;
        fresh.on(QRegularExpression(QStringLiteral("^ls -1 ")))
            .reply(QStringLiteral("ls: cannot access: No such file or directory\n"));
        answers.ok();
        attempt(QString(length, QLatin1Char('a')), QStringLiteral("x"));
        ASSERT_EQ(answers.prompts().size(), 1u);
        EXPECT_EQ(answers.prompts()[0].text == QLatin1String(kInvalid), length <= 246);
        EXPECT_EQ(fresh.lines().contains(QStringLiteral("ls -1 ") + QString(length, 'A') + ".USE"),
                  length <= 246);
        EXPECT_EQ(login->wrongPasswordCount(), 0);
    }
}

// A name that passed its check and a plain folder go as the system writes them; a folder with
// a character the shell reads specially goes quoted.
TEST_F(LoginOnFake, CheckedNamesGoBareOtherFoldersQuoted) {
    prompter.ok().ok();
    attempt(QStringLiteral("a.b-c_d"), QStringLiteral("x"));
    EXPECT_EQ(server.lines(), userCheckLines(QStringLiteral("A.B-C_D.USE")));
    EXPECT_EQ(login->wrongPasswordCount(), 0);  // no such user

    G().g_SiteHomedir[1] = QStringLiteral("/usr/var nel");
    attempt(QStringLiteral("alice"), QStringLiteral("secret1"));
    EXPECT_EQ(server.linesOf(1), userCheckLines(QStringLiteral("ALICE.USE"),
                                                QStringLiteral("cd '/usr/var nel/ACL/USERS/'")));
}

// A user file that cannot be fetched checked no password: it is told as a connection failure,
// costs no try, and an old local copy holding the right digest never stands in for it. A
// button file that cannot be fetched grants nothing, whatever an old copy says.
TEST_F(LoginOnFake, OldLocalCopiesAreNeverRead) {
    const QByteArray digest = "E52D98C459819A11775936D8DFBB7929";  // "secret1"
    const QByteArray header = "ENABLED BUTTONS DO NOT REMOVE THIS LINE";
    addFile(QStringLiteral("/usr/varnel/ACL/USERS/GHOST.USE"), digest + "\n");
    server.failFetch(QStringLiteral("/usr/varnel/ACL/USERS/GHOST.USE"), kSessionFailed,
                     QStringLiteral("Could not fetch /usr/varnel/ACL/USERS/GHOST.USE: Permission "
                                    "denied"));
    home.write(QStringLiteral("Sim/download/GHOST.LICU"), digest + "\n");
    home.write(QStringLiteral("Sim/download/GHOST.LIC"), digest + "\r\n");
    home.write(QStringLiteral("Sim/download/NOBUT.BUTU"), header + "\n01.cmddetail\n");
    home.write(QStringLiteral("Sim/download/NOBUT.BUT"), header + "\r\n01.cmddetail\r\n");

    prompter.ok();
    attempt(QStringLiteral("ghost"), QStringLiteral("secret1"));
    EXPECT_EQ(prompter.messages(),
              QStringList{QStringLiteral("Could not reach the server of site Sim: Could not fetch "
                                         "/usr/varnel/ACL/USERS/GHOST.USE: Permission denied")});
    EXPECT_EQ(login->wrongPasswordCount(), 0);
    EXPECT_TRUE(G().g_UserName.isEmpty());
    EXPECT_FALSE(QFile::exists(home.file(QStringLiteral("Sim/download/GHOST.LIC"))));

    attempt(QStringLiteral("nobut"), QStringLiteral("secret1"));
    EXPECT_EQ(G().g_UserName, QStringLiteral("nobut"));
    EXPECT_TRUE(enabledMenuButtons().isEmpty());
}

// Where each failure of the server work stops the check, what is told, and whether it costs a
// try.
struct StepFailureCase {
    const char* what;
    std::function<void(FakeServer&)> arrange;
    const char* told;  // the message's start
    int countsAs;
    bool loggedIn;
};
void PrintTo(const StepFailureCase& c, std::ostream* os) {
    *os << c.what;
}

class LoginStepFailure : public LoginOnFake,
                         public ::testing::WithParamInterface<StepFailureCase> {};

TEST_P(LoginStepFailure, IsToldAsItsOwnKind) {
    const StepFailureCase& c = GetParam();
    c.arrange(server);
    if (*c.told) prompter.ok();
    attempt(QStringLiteral("alice"), QStringLiteral("secret1"));
    flushDeletes();
    if (*c.told) {
        ASSERT_EQ(prompter.messages().size(), 1);
        EXPECT_TRUE(prompter.messages()[0].startsWith(QString::fromUtf8(c.told)))
            << prompter.messages()[0].toStdString();
    } else {
        EXPECT_TRUE(prompter.messages().isEmpty()) << prompter.messages().join('|').toStdString();
    }
    EXPECT_EQ(login.isNull(), c.loggedIn);
    if (c.loggedIn) {
        EXPECT_EQ(G().g_UserName, QStringLiteral("alice"));
        return;
    }
    EXPECT_EQ(login->wrongPasswordCount(), c.countsAs);
    EXPECT_TRUE(login->cmdOK->isEnabled());
    EXPECT_FALSE(main->isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Steps, LoginStepFailure,
    ::testing::Values(
        StepFailureCase{"shell unreachable",
                        [](FakeServer& s) {
                            s.failOpen(kSessionUnreachable, "Connection refused.",
                                       FakeServer::Times::Next, FakeServer::Kind::Shell);
                        },
                        "Could not reach the server of site Sim: Connection refused.", 0, false},
        StepFailureCase{"no users folder",
                        [](FakeServer& s) {
                            s.on("cd /usr/varnel/ACL/USERS/")
                                .reply(
                                    "bash: cd: /usr/varnel/ACL/USERS/: No such file or "
                                    "directory\n");
                        },
                        kInvalid, 0, false},
        StepFailureCase{"session dropped at the folder change",
                        [](FakeServer& s) { s.on("cd /usr/varnel/ACL/USERS/").dropsSession(); },
                        "Could not reach the server of site Sim: The server closed the session", 0,
                        false},
        StepFailureCase{"user check outlives its deadline",
                        [](FakeServer& s) { s.on("ls -1 ALICE.USE").timesOut(); },
                        "Could not reach the server of site Sim: No answer from the server", 0,
                        false},
        StepFailureCase{"file transfer unreachable",
                        [](FakeServer& s) {
                            s.failOpen(kSessionUnreachable, "Connection refused.",
                                       FakeServer::Times::Next, FakeServer::Kind::Files);
                        },
                        "Could not reach the server of site Sim: Connection refused.", 0, false},
        StepFailureCase{
            "user file fetch outlives its deadline",
            [](FakeServer& s) { s.failFetch("/usr/varnel/ACL/USERS/ALICE.USE", kSessionTimedOut); },
            "Could not reach the server of site Sim: No data from the server within "
            "30 seconds",
            0, false},
        StepFailureCase{"button file not fetched",
                        [](FakeServer& s) {
                            s.failFetch("/usr/varnel/ACL/BUTTONS/ALICE.BUT", kSessionFailed,
                                        "No such file");
                        },
                        "", 0, true},
        StepFailureCase{"button file transfer cut off",
                        [](FakeServer& s) {
                            s.failFetch("/usr/varnel/ACL/BUTTONS/ALICE.BUT", kSessionTimedOut);
                        },
                        "Could not reach the server of site Sim: The connection was lost while "
                        "the user's buttons were read.",
                        0, false},
        StepFailureCase{"table regeneration unreachable",
                        [](FakeServer& s) {
                            // The shell after the user check's does not open.
                            s.on("ls -1 ALICE.USE")
                                .reply("ALICE.USE\n")
                                .then([&s, armed = std::make_shared<bool>(false)](const QString&) {
                                    if (*armed) return;
                                    *armed = true;
                                    s.failOpen(kSessionUnreachable, "Connection refused.",
                                               FakeServer::Times::Next, FakeServer::Kind::Shell);
                                });
                        },
                        "", 0, true}),
    [](const auto& info) { return std::to_string(info.index); });

// ---- the default site and the window's own handling ----------------------------------------

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
    open({QStringLiteral("Default"), QStringLiteral("Sim")}, 0);
    attempt(QString::fromUtf8(c.user), QString::fromUtf8(c.password));
    flushDeletes();

    EXPECT_TRUE(prompter.prompts().empty()) << c.what;
    EXPECT_TRUE(login.isNull());
    EXPECT_EQ(control<QLabel>(main, "Label33")->text(), QStringLiteral("Connected to: Default"));
    EXPECT_EQ(enabledMenuButtons(), QStringList{QStringLiteral("cmdEdit")});
    EXPECT_FALSE(control<QPushButton>(main, "cmdEdit")->isHidden());
    EXPECT_FALSE(control<QLabel>(main, "lblsites")->isHidden());
    EXPECT_TRUE(control<QLabel>(main, "lblsites")->isEnabled());
    EXPECT_TRUE(main->isVisible());
    ASSERT_EQ(control<QComboBox>(main, "cboSites")->count(), 2);
    EXPECT_EQ(control<QComboBox>(main, "cboSites")->currentIndex(), 0);
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_TRUE(G().g_UserName.isEmpty());
    EXPECT_FALSE(home.read(QStringLiteral("KTReports.ini")).contains("LastLogin"));
    EXPECT_TRUE(server.shellRequests().empty());
    EXPECT_TRUE(server.filesRequests().empty());
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
    EXPECT_EQ(control<QComboBox>(main, "cboSites")->currentIndex(), -1);
    EXPECT_FALSE(control<QPushButton>(main, "cmdEdit")->isEnabled());
    EXPECT_TRUE(opened.isEmpty());
}

// A site whose name cannot name its folder is never chosen: the login says why, and nothing
// reaches a server or the site's folder.
TEST_F(LoginWindow, ASiteThatCannotBeUsedIsNotChosen) {
    for (const auto& [name, index] : {std::pair{"../x", 1}, std::pair{"default", 2}}) {
        SCOPED_TRACE(name);
        testsupport::ScriptedPrompter answers;
        QStringList sites{QStringLiteral("Default"), QStringLiteral("Sim")};
        sites.insert(index, QString::fromLatin1(name));
        open(sites, index);
        answers.ok();
        attempt(QStringLiteral("alice"), QStringLiteral("secret1"));
        ASSERT_EQ(answers.prompts().size(), 1u);
        EXPECT_TRUE(answers.prompts()[0].text.startsWith(
            QStringLiteral("This site cannot be used: the name \"") + QLatin1String(name)))
            << answers.prompts()[0].text.toStdString();
        EXPECT_EQ(answers.prompts()[0].title, QStringLiteral("Login"));
        EXPECT_TRUE(login->cmdOK->isEnabled());
        EXPECT_TRUE(login->cboSites->isEnabled());
        EXPECT_EQ(login->wrongPasswordCount(), 0);
        EXPECT_TRUE(server.shellRequests().empty());
        EXPECT_FALSE(main->isVisible());
        EXPECT_EQ(QDir(home.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList());
        delete login.data();
    }
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
    EXPECT_TRUE(server.shellRequests().empty());
}

// A blank typed anywhere or pasted is refused by itself: the rest of the name and the caret
// stay as they were.
struct BlankCase {
    const char* what;
    const char* before;
    int caret;           // where the blank comes in
    const char* typed;   // typed at the caret, or nullptr
    const char* pasted;  // pasted at the caret, or nullptr
    const char* after;
    int caretAfter;
};
void PrintTo(const BlankCase& c, std::ostream* os) {
    *os << c.what;
}

class LoginNameBlank : public LoginWindow, public ::testing::WithParamInterface<BlankCase> {};

TEST_P(LoginNameBlank, IsRefusedAndNothingElseIsLost) {
    const BlankCase& c = GetParam();
    open({QStringLiteral("Default"), QStringLiteral("Sim")}, 1);
    login->txtUserName->setText(QString::fromUtf8(c.before));
    login->txtUserName->setCursorPosition(c.caret);
    login->txtUserName->setFocus();
    prompter.ok();
    if (c.typed) QTest::keyClicks(login->txtUserName, QString::fromUtf8(c.typed));
    if (c.pasted) {
        QGuiApplication::clipboard()->setText(QString::fromUtf8(c.pasted));
        login->txtUserName->paste();
    }
    EXPECT_EQ(login->txtUserName->text(), QString::fromUtf8(c.after));
    EXPECT_EQ(login->txtUserName->cursorPosition(), c.caretAfter);
    EXPECT_EQ(prompter.messages(),
              QStringList{QStringLiteral("You can not have Spaces in the User Name")});
    EXPECT_TRUE(prompter.prompts()[0].title.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LoginNameBlank,
    ::testing::Values(BlankCase{"typed at the end", "alice", 5, " ", nullptr, "alice", 5},
                      BlankCase{"typed inside", "alice", 2, " ", nullptr, "alice", 2},
                      BlankCase{"typed first", "alice", 0, " ", nullptr, "alice", 0},
                      BlankCase{"pasted with a name", "x", 1, nullptr, "bo b", "xbob", 4},
                      BlankCase{"pasted inside", "alice", 2, nullptr, " \t ", "alice", 2}),
    [](const auto& info) { return std::to_string(info.index); });

class LoginEnd : public LoginWindow, public ::testing::WithParamInterface<bool> {};

TEST_P(LoginEnd, CancelAndTitleBarCloseEndTheProgram) {
    const bool titleBar = GetParam();
    open({QStringLiteral("Default"), QStringLiteral("Sim")}, 1);
    if (titleBar)
        login->close();
    else
        QTest::mouseClick(login->cmdcancel, Qt::LeftButton);
    EXPECT_TRUE(programEndRequested());
    EXPECT_TRUE(main.isNull() ||
                (!main->isVisible() && control<QComboBox>(main, "cboSites")->count() == 0));
    flushDeletes();
    EXPECT_TRUE(login.isNull());
}

INSTANTIATE_TEST_SUITE_P(Ways, LoginEnd, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "TitleBar" : "Cancel"; });

}  // namespace
