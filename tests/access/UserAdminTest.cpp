// The user-administration windows through the fake server: the lines each one sends, what a
// reply refuses, the picker's rows and moves, the enabling chains, and that no name the server
// lists or a user types steers its shell. The user and button files are the stand-in server's.
#include "LoginTestSupport.h"
#include "access/PasswordWindows.h"
#include "access/UserAdmin.h"
#include "access/frmPermissions.h"
#include "access/frmdeluser.h"
#include "access/frmmodusers.h"
#include "common/ButtonCatalogue.h"
#include "common/Globals.h"
#include "common/SiteContext.h"
#include "support/Controls.h"
#include "support/DebugLogLines.h"
#include "support/FakeServer.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

using namespace quillon;
using testsupport::control;
using testsupport::FakeServer;
using testsupport::ScriptedPrompter;

namespace {

const QString kUsers = QStringLiteral("/usr/varnel/ACL/USERS");
const QString kButtons = QStringLiteral("/usr/varnel/ACL/BUTTONS");
const QString kHeaderLine = QStringLiteral("ENABLED BUTTONS DO NOT REMOVE THIS LINE");
constexpr const char* kSecret1Digest = "E52D98C459819A11775936D8DFBB7929";

QString checked(const QString& line) {
    return line + QStringLiteral("; echo \"rc=$?\"");
}

// The lines of a checked file write in the file's folder, as the fake records them: the
// access lines, given as "sudo chmod 666 %1", name the temporary file.
QStringList writeLines(const QString& file, const QStringList& echoed, const QStringList& access) {
    QStringList lines;
    const QString temp = QLatin1Char('.') + file + QStringLiteral(".tmp");
    for (qsizetype i = 0; i < echoed.size(); ++i)
        lines << checked(QStringLiteral("echo %1 %2%3").arg(echoed[i], i ? ">>" : ">", temp));
    for (const QString& line : access) lines << line.arg(temp);
    lines << checked(QStringLiteral("mv -f %1 %2").arg(temp, file))
          << checked(QStringLiteral("ls -1 ") + file);
    return lines;
}
// The access lines of a rewrite that keeps the replaced file's mode and owner.
QStringList keptAccess(const QString& file) {
    return {QStringLiteral("sudo chmod 666 %1"),
            QStringLiteral("sudo chmod --reference=%1 %2").arg(file, QStringLiteral("%1")),
            QStringLiteral("sudo chown --reference=%1 %2").arg(file, QStringLiteral("%1"))};
}

class AdminOnFake : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::configureFakeSite(1);
        G().g_CurSite = 1;
        fillButtonCatalogue();
        SiteContext::install(&site);
        logintest::forEachSimUserFile(
            [this](const QString& path, const QByteArray& bytes) { server.addFile(path, bytes); });
        // ls as bash answers for a file that is not there; the user list is written.
        server.on(QRegularExpression(QStringLiteral("^ls ")))
            .reply(QStringLiteral("ls: cannot access 'X': No such file or directory\n"))
            .status(2);
        server.on(QStringLiteral("ls -1 *.USE > UNAME.TXT")).reply(QString());
    }
    void TearDown() override { SiteContext::install(nullptr); }

    // The server lists what a write put in place.
    void listsAfterWrite(const QString& file) {
        server.on(QStringLiteral("ls -1 ") + file).reply(file + QLatin1Char('\n'));
    }
    // UNAME.TXT as the listing leaves it.
    void listing(const QByteArray& names) { server.addFile(kUsers + "/UNAME.TXT", names); }
    static void pick(QComboBox* box, const QString& name) {
        const int i = box->findText(name);
        ASSERT_GE(i, 0) << name.toStdString();
        box->setCurrentIndex(i);
        emit box->activated(i);
    }
    static void highlight(QListWidget* list, const QString& text) {
        const auto found = list->findItems(text, Qt::MatchExactly);
        ASSERT_FALSE(found.isEmpty()) << text.toStdString();
        list->setCurrentItem(found.first());
    }
    static QStringList texts(const QListWidget* list) {
        QStringList out;
        for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
        return out;
    }

    testsupport::TempHome home;
    ScriptedPrompter prompter;
    FakeServer server;
    FixedSite site{1, QStringLiteral("Sim")};
};

// Each window with its caption and its controls under their names, the texts they show.
TEST_F(AdminOnFake, WindowsHaveTheirCaptionsAndControls) {
    listing("ALICE.USE\n");
    struct Shown {
        std::unique_ptr<QWidget> window;
        QString caption;
        QStringList controls;
        QList<QPair<QString, QString>> buttons;
    };
    Shown shown[] = {
        {std::make_unique<frmPermissions>(),
         "User Permissions",
         {"txtadduser", "txtaddpasswd", "txtconfirmpasswd", "lstDivision", "lstDivisionHidden",
          "lstItem", "lstItemHidden"},
         {{"cmdadd", ">>"}, {"cmdremove", "<<"}, {"cmdadduser", "Add User"}}},
        {std::make_unique<frmmodusers>(),
         "Modify Users Permissions",
         {"cbousers", "lstDivision", "lstDivisionHidden", "lstItem", "lstItemHidden"},
         {{"cmdadd", ">>"}, {"cmdremove", "<<"}, {"cmdmoduser", "Modify User"}}},
        {std::make_unique<frmchangepasswd>(),
         "Admin Manage Passwords",
         {"cbousers", "txtnewpasswd", "txtconfirmpasswd"},
         {{"cmdchgpasswd", "Change Password"}}},
        {std::make_unique<frmpasswd>(),
         "Change Password",
         {"txtuser", "txtoldpasswd", "txtnewpasswd", "txtconfirmpasswd"},
         {{"cmdmodpasswd", "Change Password"}}},
        {std::make_unique<frmdeluser>(),
         "Delete Users",
         {"cbousers"},
         {{"cmddeleteuser", "Delete User"}}},
    };
    for (const Shown& s : shown) {
        SCOPED_TRACE(s.caption.toStdString());
        EXPECT_EQ(s.window->windowTitle(), s.caption);
        for (const QString& name : s.controls)
            EXPECT_TRUE(s.window->findChild<QWidget*>(name)) << name.toStdString();
        for (const auto& [name, text] : s.buttons) {
            const auto* b = control<QPushButton>(s.window.get(), name);
            EXPECT_EQ(b->text(), text);
        }
        for (const char* hidden : {"lstDivisionHidden", "lstItemHidden"})
            if (auto* list = s.window->findChild<QListWidget*>(QLatin1String(hidden)))
                EXPECT_TRUE(list->isHidden());
        if (auto* box = s.window->findChild<QLineEdit*>(QStringLiteral("txtconfirmpasswd")))
            EXPECT_EQ(box->echoMode(), QLineEdit::Password);
    }
}

// ---- add user --------------------------------------------------------------------------------

class AddUser : public AdminOnFake {
protected:
    void SetUp() override {
        AdminOnFake::SetUp();
        server.on(QStringLiteral("ls ZED.USE"))
            .reply(QStringLiteral("ls: cannot access 'ZED.USE': No such file or directory\n"))
            .status(2);
        w = std::make_unique<frmPermissions>();
    }
    void enter(const QString& name, const QString& password) {
        w->txtadduser->setText(name);
        w->txtaddpasswd->setText(password);
        w->txtconfirmpasswd->setText(password);
    }
    void grant(const QString& label) {
        highlight(w->picker->lstDivision, label);
        QTest::mouseClick(w->picker->cmdadd, Qt::LeftButton);
    }
    std::unique_ptr<frmPermissions> w;
};

// Granted out of order, written in row order; a lower-case name writes upper-case files and is
// shown as typed; the button file goes first, each file through its temporary name.
TEST_F(AddUser, WritesTheButtonFileThenTheUserFile) {
    enter(QStringLiteral("zed"), QStringLiteral("secret1"));
    grant(QStringLiteral("18.UTL Configure Sites"));
    grant(QStringLiteral("01.RPT Detail Report"));
    listsAfterWrite(QStringLiteral("ZED.BUT"));
    listsAfterWrite(QStringLiteral("ZED.USE"));
    prompter.ok();
    QTest::mouseClick(w->cmdadduser, Qt::LeftButton);

    EXPECT_EQ(prompter.messages(), QStringList{QStringLiteral("User zedadded.")});
    EXPECT_EQ(w->result(), QDialog::Accepted);
    ASSERT_EQ(server.shellRequests().size(), 1u);
    EXPECT_FALSE(server.shellRequests()[0].folder.has_value());
    QStringList expected{QStringLiteral("cd /usr/varnel/ACL/USERS/"), QStringLiteral("ls ZED.USE"),
                         QStringLiteral("cd /usr/varnel/ACL/BUTTONS/"),
                         checked(QStringLiteral("sudo rm -f /usr/varnel/ACL/BUTTONS/ZED.BUT"))};
    expected << writeLines(
                    QStringLiteral("ZED.BUT"),
                    {kHeaderLine, QStringLiteral("01.cmddetail"), QStringLiteral("18.cmdedit")},
                    {QStringLiteral("sudo chmod 666 %1"),
                     QStringLiteral("sudo chown varneltail %1"),
                     QStringLiteral("sudo chgrp varneltail %1")})
             << QStringLiteral("cd /usr/varnel/ACL/USERS/")
             << writeLines(QStringLiteral("ZED.USE"),
                           {QStringLiteral("E52D98C459819A11775936D8DFBB7929")},
                           {QStringLiteral("sudo chmod 666 %1"),
                            QStringLiteral("sudo chown varneltail %1"),
                            QStringLiteral("sudo chgrp varneltail %1")});
    EXPECT_EQ(server.linesOf(0), expected);
    EXPECT_FALSE(server.isShellOpen(0));
}

// Granting walks down the offered list, the highlight on the row that moved up, and nothing
// highlighted after the last; every row is then written in row order.
TEST_F(AddUser, EveryOfferedRowIsWrittenInRowOrder) {
    G().g_Express = true;
    G().g_UnusedReport = true;
    w = std::make_unique<frmPermissions>();
    enter(QStringLiteral("zed"), QStringLiteral("pw"));
    QListWidget* offered = w->picker->lstDivision;
    ASSERT_EQ(offered->count(), kButtonCount);
    offered->setCurrentRow(0);
    for (int row = 1; row <= kButtonCount; ++row) {
        ASSERT_EQ(offered->currentRow(), 0);
        QTest::mouseClick(w->picker->cmdadd, Qt::LeftButton);
    }
    EXPECT_EQ(offered->count(), 0);
    EXPECT_EQ(offered->currentItem(), nullptr);
    listsAfterWrite(QStringLiteral("ZED.BUT"));
    listsAfterWrite(QStringLiteral("ZED.USE"));
    prompter.ok();
    QTest::mouseClick(w->cmdadduser, Qt::LeftButton);
    QStringList expected;
    for (int row = 1; row <= kButtonCount; ++row)
        expected << checked(QStringLiteral("echo %1 >>.ZED.BUT.tmp").arg(G().g_ButtonNames[row]));
    EXPECT_EQ(server.lines().filter(QStringLiteral(" >>.ZED.BUT.tmp")), expected);
}

// A name that could steer the shell or name another file is refused by addUser itself, before
// anything is sent, whoever calls it.
TEST_F(AddUser, ChecksItsOwnName) {
    for (const char* name : {"zed;id", "zed e", "-zed", ".zed", "*"}) {
        const AdminOutcome outcome = addUser(1, QLatin1String(name), QStringLiteral("pw"), {});
        EXPECT_EQ(outcome.kind, AdminOutcome::Kind::Failed) << name;
        EXPECT_TRUE(outcome.text.endsWith(userNameRule())) << outcome.text.toStdString();
    }
    EXPECT_TRUE(server.shellRequests().empty());
}

// Once the move of the user file may have run, the user may be there and a retry would be
// refused as a taken name: such a failure says "may not have been added". Before it, and when
// the move surely failed, the user was not added.
struct AddFailureCase {
    const char* what;
    const char* line;  // the line that fails
    enum { TimesOut, Refused, NotListed } how;
    bool mayBeThere;
};
void PrintTo(const AddFailureCase& c, std::ostream* os) {
    *os << c.what;
}
class AddUserFailure : public AddUser, public ::testing::WithParamInterface<AddFailureCase> {};

TEST_P(AddUserFailure, ToldByWhereItFailed) {
    const AddFailureCase& c = GetParam();
    listsAfterWrite(QStringLiteral("ZED.BUT"));
    listsAfterWrite(QStringLiteral("ZED.USE"));
    auto rule = server.on(QString::fromLatin1(c.line));
    if (c.how == AddFailureCase::TimesOut) rule.timesOut();
    if (c.how == AddFailureCase::Refused) rule.reply(QStringLiteral("mv: cannot move")).status(1);
    if (c.how == AddFailureCase::NotListed) rule.reply(QString());
    enter(QStringLiteral("zed"), QStringLiteral("secret1"));
    grant(QStringLiteral("01.RPT Detail Report"));
    prompter.ok();
    QTest::mouseClick(w->cmdadduser, Qt::LeftButton);
    const QString told = prompter.messages().last();
    EXPECT_TRUE(told.startsWith(c.mayBeThere ? QStringLiteral("The user zed may not have been added.")
                                             : QStringLiteral("The user zed was not added.")))
        << told.toStdString();
    // The password's digest is never shown, not even in the failed line.
    EXPECT_FALSE(told.contains(QLatin1String(kSecret1Digest))) << told.toStdString();
    EXPECT_NE(w->result(), QDialog::Accepted);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AddUserFailure,
    ::testing::Values(
        AddFailureCase{"the digest line times out",
                       "echo E52D98C459819A11775936D8DFBB7929 >.ZED.USE.tmp",
                       AddFailureCase::TimesOut, false},
        AddFailureCase{"the mode line times out", "sudo chmod 666 .ZED.USE.tmp",
                       AddFailureCase::TimesOut, false},
        AddFailureCase{"the move is refused", "mv -f .ZED.USE.tmp ZED.USE",
                       AddFailureCase::Refused, false},
        AddFailureCase{"the move times out", "mv -f .ZED.USE.tmp ZED.USE",
                       AddFailureCase::TimesOut, true},
        AddFailureCase{"the file is not listed after the move", "ls -1 ZED.USE",
                       AddFailureCase::NotListed, true},
        AddFailureCase{"the listing times out", "ls -1 ZED.USE", AddFailureCase::TimesOut,
                       true}),
    [](const auto& info) { return std::to_string(info.index); });

// The reply of "ls <USER>.USE" (after its echo): only "No such file" of that very name frees it.
struct NameCase {
    const char* what;
    const char* reply;
    bool free;
};
void PrintTo(const NameCase& c, std::ostream* os) {
    *os << c.what;
}
class AddUserName : public AddUser, public ::testing::WithParamInterface<NameCase> {};

TEST_P(AddUserName, ExistsTestReadsTheListing) {
    const NameCase& c = GetParam();
    EXPECT_EQ(userNameIsFree(QString::fromLatin1(c.reply), QStringLiteral("ZED.USE")), c.free);

    server.on(QStringLiteral("ls ZED.USE")).reply(QString::fromLatin1(c.reply));
    listsAfterWrite(QStringLiteral("ZED.BUT"));
    listsAfterWrite(QStringLiteral("ZED.USE"));
    enter(QStringLiteral("Zed"), QStringLiteral("pw"));
    grant(QStringLiteral("02.RPT Audit Report"));
    prompter.ok();
    QTest::mouseClick(w->cmdadduser, Qt::LeftButton);
    const QStringList sent = server.lines();
    ASSERT_GE(sent.size(), 2);
    EXPECT_EQ(sent[1], QStringLiteral("ls ZED.USE"));
    if (c.free) {
        EXPECT_EQ(prompter.messages(), QStringList{QStringLiteral("User Zedadded.")});
        return;
    }
    EXPECT_EQ(prompter.messages(),
              QStringList{QStringLiteral("You Need Pick a differnet Username User exists!")});
    EXPECT_EQ(sent.size(), 2) << sent.join('|').toStdString();
    EXPECT_NE(w->result(), QDialog::Accepted);
    EXPECT_EQ(w->picker->lstItemHidden->count(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, AddUserName,
    ::testing::Values(
        NameCase{"gnu ls", "ls: cannot access 'ZED.USE': No such file or directory\n", true},
        NameCase{"older ls", "ls: ZED.USE: No such file or directory\n", true},
        NameCase{"wrapped", "ls: cannot access 'ZED.US\r\nE': No such file or directory\n", true},
        NameCase{"listed", "ZED.USE\n", false}, NameCase{"nothing", "", false},
        NameCase{"another file", "ls: cannot access 'ZED2.USX': No such file or directory\n",
                 false},
        NameCase{"no access", "ls: cannot access 'ZED.USE': Permission denied\n", false}),
    [](const auto& info) { return std::to_string(info.index); });

// A step of the writing before the user file is in place that fails is told with the user not
// added, the window stays open
// with its entries, and nothing after the failed step is sent.
struct AddStepCase {
    const char* name;
    std::function<void(testsupport::FakeServer&)> fault;
    const char* lastLine;  // the last line sent, status check left off
    bool lineChecked = true;
};
void PrintTo(const AddStepCase& c, std::ostream* os) {
    *os << c.name;
}
class AddUserStepFailure : public AddUser, public ::testing::WithParamInterface<AddStepCase> {};

TEST_P(AddUserStepFailure, IsToldAndStopsThere) {
    const AddStepCase& c = GetParam();
    listsAfterWrite(QStringLiteral("ZED.BUT"));
    listsAfterWrite(QStringLiteral("ZED.USE"));
    c.fault(server);
    enter(QStringLiteral("zed"), QStringLiteral("secret1"));
    grant(QStringLiteral("01.RPT Detail Report"));
    prompter.ok();
    QTest::mouseClick(w->cmdadduser, Qt::LeftButton);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].startsWith(QStringLiteral("The user zed was not added.\r\n\r\n")))
        << prompter.messages()[0].toStdString();
    EXPECT_NE(w->result(), QDialog::Accepted);
    EXPECT_EQ(w->txtadduser->text(), QStringLiteral("zed"));
    EXPECT_EQ(w->picker->lstItemHidden->count(), 1);
    ASSERT_FALSE(server.lines().isEmpty());
    const QString last = QString::fromLatin1(c.lastLine);
    EXPECT_EQ(server.lines().last(), c.lineChecked ? checked(last) : last);
    EXPECT_FALSE(server.isShellOpen(0));
}

INSTANTIATE_TEST_SUITE_P(
    Steps, AddUserStepFailure,
    ::testing::Values(
        AddStepCase{"AButtonFileContentLine",
                       [](testsupport::FakeServer& s) {
                           s.on(QStringLiteral("echo 01.cmddetail >>.ZED.BUT.tmp")).status(1);
                       },
                       "echo 01.cmddetail >>.ZED.BUT.tmp"},
        AddStepCase{"TheUserFileMove",
                       [](testsupport::FakeServer& s) {
                           s.on(QStringLiteral("mv -f .ZED.USE.tmp ZED.USE")).status(1);
                       },
                       "mv -f .ZED.USE.tmp ZED.USE"},
        AddStepCase{"TheSessionLost",
                       [](testsupport::FakeServer& s) {
                           s.on(QStringLiteral("sudo chmod 666 .ZED.USE.tmp")).dropsSession();
                       },
                       "sudo chmod 666 .ZED.USE.tmp", false}),
    [](const auto& info) { return std::string(info.param.name); });

// A blank typed into the name box is taken out again and told; the rest of the name stays.
TEST_F(AddUser, ABlankTypedInTheNameIsRefused) {
    w->show();
    w->txtadduser->setFocus();
    prompter.ok();
    QTest::keyClicks(w->txtadduser, QStringLiteral("ze d"));
    EXPECT_EQ(w->txtadduser->text(), QStringLiteral("zed"));
    EXPECT_EQ(prompter.messages(),
              QStringList{QStringLiteral("You can not have Spaces in the User Name")});
    EXPECT_TRUE(prompter.prompts()[0].title.isEmpty());
    EXPECT_TRUE(server.shellRequests().empty());
}

// Checks in the Part's order; none of them sends a line, and a refusal changes nothing, so a
// request after one sends only its own lines.
TEST_F(AddUser, RefusalsSendNothing) {
    struct Step {
        QString name, password, confirm;
        bool grant;
        QString message;
    };
    const Step steps[] = {
        {"", "pw", "pw", false, "You need to enter a user name!!"},
        {"zed", "", "", false, "You need to enter a Password"},
        {"zed;rm", "pw", "pw", false, userNameRule()},
        // The digest is taken over Windows-1252 bytes: "?w" would stand for it.
        {"zed", QString::fromUtf8("\u0141w"), QString::fromUtf8("\u0141w"), false,
         QString::fromUtf8("The password may not hold the character \"\u0141\" (U+0141): the "
                           "server's text is Windows-1252, which has no code for it.")},
        {"zed", "pw", "pw", false, "You Need to add Functions to this users"},
    };
    for (const Step& s : steps) {
        w->txtadduser->setText(s.name);
        w->txtaddpasswd->setText(s.password);
        w->txtconfirmpasswd->setText(s.confirm);
        prompter.ok();
        w->cmdadduser_Click();
        EXPECT_EQ(prompter.messages().last(), s.message);
    }
    // A matching confirmation, grants, then another password: compared again on the click.
    enter(QStringLiteral("zed"), QStringLiteral("pw"));
    grant(QStringLiteral("05.RPT Watchdog Report"));
    w->txtaddpasswd->setText(QStringLiteral("other"));
    EXPECT_TRUE(w->picker->lstDivision->isEnabled());
    prompter.ok();
    QTest::mouseClick(w->cmdadduser, Qt::LeftButton);
    EXPECT_EQ(prompter.messages().last(),
              QStringLiteral("Passwords do not Match Please try again"));
    EXPECT_TRUE(server.shellRequests().empty());

    w->txtaddpasswd->setText(QStringLiteral("pw"));
    listsAfterWrite(QStringLiteral("ZED.BUT"));
    listsAfterWrite(QStringLiteral("ZED.USE"));
    prompter.ok();
    QTest::mouseClick(w->cmdadduser, Qt::LeftButton);
    EXPECT_EQ(prompter.messages().last(), QStringLiteral("User zedadded."));
    EXPECT_EQ(server.lines().filter(QStringLiteral(">>.ZED.BUT.tmp")),
              QStringList{checked(QStringLiteral("echo 05.cmdWatchdog >>.ZED.BUT.tmp"))});
}

// Name, password, matching confirmation: each box opens the next; emptying one closes the
// later ones again, their texts kept.
TEST_F(AddUser, EntryChainOpensThePickerOnAMatchingConfirmation) {
    const auto pickerOn = [&] {
        return w->picker->lstDivision->isEnabled() && w->picker->lstItem->isEnabled() &&
               w->picker->cmdadd->isEnabled() && w->picker->cmdremove->isEnabled();
    };
    EXPECT_FALSE(w->txtaddpasswd->isEnabled());
    EXPECT_FALSE(pickerOn());
    w->txtadduser->setText(QStringLiteral("z"));
    EXPECT_TRUE(w->txtaddpasswd->isEnabled());
    EXPECT_FALSE(w->txtconfirmpasswd->isEnabled());
    w->txtaddpasswd->setText(QStringLiteral("Pw"));
    EXPECT_TRUE(w->txtconfirmpasswd->isEnabled());
    w->txtconfirmpasswd->setText(QStringLiteral("pw"));
    EXPECT_FALSE(pickerOn());
    w->txtconfirmpasswd->setText(QStringLiteral("Pw"));
    EXPECT_TRUE(pickerOn());
    w->txtadduser->clear();
    EXPECT_FALSE(w->txtaddpasswd->isEnabled());
    EXPECT_FALSE(w->txtconfirmpasswd->isEnabled());
    EXPECT_FALSE(pickerOn());
    EXPECT_EQ(w->txtconfirmpasswd->text(), QStringLiteral("Pw"));
    EXPECT_TRUE(w->cmdadduser->isEnabled());
}

// Rows 24 and 25 come with the second edition, row 26 with the unused-stations report.
struct FlagCase {
    bool express, unused;
    QList<int> hidden;
};
class PickerRows : public ::testing::TestWithParam<FlagCase> {};

TEST_P(PickerRows, FlagsDecideTheLastRows) {
    testsupport::TempHome home;
    fillButtonCatalogue();
    G().g_Express = GetParam().express;
    G().g_UnusedReport = GetParam().unused;
    ButtonPicker picker;
    picker.loadButtons();
    QStringList expected;
    QStringList names;
    for (int row = 1; row <= kButtonCount; ++row) {
        if (GetParam().hidden.contains(row)) continue;
        expected << G().g_ButtonLabels[row];
        names << G().g_ButtonNames[row];
    }
    EXPECT_EQ(picker.available().texts(), expected);
    EXPECT_EQ(picker.available().keys(), names);
}

INSTANTIATE_TEST_SUITE_P(Editions, PickerRows,
                         ::testing::Values(FlagCase{false, false, {24, 25, 26}},
                                           FlagCase{true, false, {26}},
                                           FlagCase{false, true, {24, 25}},
                                           FlagCase{true, true, {}}));

// ---- the user list -----------------------------------------------------------------------------

// A listed name that fails the name check never reaches a box, so never a shell line.
TEST(UserListing, SkipsAndLogsWhatNamesNoUser) {
    testsupport::TempHome home;
    testsupport::startDebugLog();
    EXPECT_EQ(parseUserList("ALICE.USE\n[A].USE\nA.USE\nx\n.USE\nB.USE.bak\n$(id).USE\n"),
              (QStringList{"ALICE", "A"}));
    const QStringList log = testsupport::debugLogMessages();
    for (const char* line : {"[A].USE", "x", ".USE", "B.USE.bak", "$(id).USE"})
        EXPECT_TRUE(log.contains(QStringLiteral("Skipping listed user file that names no user: ") +
                                 QLatin1String(line)))
            << line;
}

TEST_F(AdminOnFake, UserListIsMadeOnTheServerAndFetchedAfresh) {
    home.write(QStringLiteral("Sim/download/usernames.use"), "OLD.USE\n");
    home.write(QStringLiteral("Sim/download/usernameunix.use"), "OLD.USE\r\n");
    listing("CAFE.USE\nALICE.USE\n");
    frmdeluser w;
    EXPECT_EQ(server.linesOf(0), (QStringList{QString(), QStringLiteral("cd /usr/varnel/ACL/USERS"),
                                              QStringLiteral("ls -1 *.USE > UNAME.TXT")}));
    ASSERT_EQ(server.fetches().size(), 1u);
    EXPECT_EQ(server.fetches()[0].remotePath, kUsers + "/UNAME.TXT");
    EXPECT_EQ(server.fetches()[0].localPath, home.file("Sim/download/usernames.use"));
    EXPECT_EQ(home.read(QStringLiteral("Sim/download/usernameunix.use")),
              QByteArray("CAFE.USE\r\nALICE.USE\r\n"));
    ASSERT_EQ(w.cbousers->count(), 2);
    EXPECT_EQ(w.cbousers->itemText(0), QStringLiteral("CAFE"));
    EXPECT_EQ(w.cbousers->currentIndex(), -1);
}

// No users: ls complains on its error output and UNAME.TXT stays empty; the box stays empty
// and nothing is told. A list that cannot be fetched is told, never taken from an old copy.
TEST_F(AdminOnFake, EmptyAndMissingUserLists) {
    server.on(QStringLiteral("ls -1 *.USE > UNAME.TXT"))
        .reply(QStringLiteral("ls: cannot access '*.USE': No such file or directory\n"));
    listing("");
    {
        frmchangepasswd w;
        EXPECT_EQ(w.cbousers->count(), 0);
        EXPECT_FALSE(w.txtnewpasswd->isEnabled());
        EXPECT_FALSE(w.cmdchgpasswd->isEnabled());
        EXPECT_TRUE(prompter.messages().isEmpty());
    }
    server.removeFile(kUsers + "/UNAME.TXT");
    home.write(QStringLiteral("Sim/download/usernames.use"), "OLD.USE\n");
    prompter.ok();
    frmmodusers w;
    EXPECT_EQ(w.cbousers->count(), 0);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].startsWith(
        QStringLiteral("The users of site Sim could not be listed.\r\n\r\nCould not fetch ")))
        << prompter.messages()[0].toStdString();
    EXPECT_FALSE(w.cmdmoduser->isEnabled());
}

// A listing the server could not write leaves the old UNAME.TXT: it is told, and nothing of
// the old list is shown. ls's complaint of no users alone is no failure.
struct ListingCase {
    const char* what;
    const char* reply;
    bool written;
};
void PrintTo(const ListingCase& c, std::ostream* os) {
    *os << c.what;
}
class UserListingReply : public AdminOnFake, public ::testing::WithParamInterface<ListingCase> {};

TEST_P(UserListingReply, AListNotWrittenIsTold) {
    const ListingCase& c = GetParam();
    server.on(QStringLiteral("ls -1 *.USE > UNAME.TXT")).reply(QLatin1String(c.reply)).status(1);
    listing("OLD.USE\n");
    if (!c.written) prompter.ok();
    frmdeluser w;
    if (c.written) {
        EXPECT_EQ(w.cbousers->count(), 1);
        EXPECT_TRUE(prompter.messages().isEmpty());
        return;
    }
    EXPECT_EQ(w.cbousers->count(), 0);
    EXPECT_TRUE(server.fetches().empty());
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].startsWith(
        QStringLiteral("The users of site Sim could not be listed.\r\n\r\nThe server could not "
                       "write the user list: ") +
        QLatin1String(c.reply).trimmed()))
        << prompter.messages()[0].toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Replies, UserListingReply,
    ::testing::Values(
        ListingCase{"written", "", true},
        ListingCase{"no users (gnu ls)", "ls: cannot access '*.USE': No such file or directory\n",
                    true},
        ListingCase{"no users (older ls)", "ls: *.USE: No such file or directory\n", true},
        ListingCase{"list not writable", "-bash: UNAME.TXT: Permission denied\n", false},
        ListingCase{"read-only folder", "bash: UNAME.TXT: Read-only file system\n", false},
        ListingCase{"disk full", "ls: write error: No space left on device\n", false}),
    [](const auto& info) { return std::to_string(info.index); });

// ---- rights editing ------------------------------------------------------------------------

class ModifyRights : public AdminOnFake {
protected:
    void SetUp() override {
        AdminOnFake::SetUp();
        listing("ALICE.USE\nDUPE.USE\nHEADONLY.USE\nNOBUT.USE\nX24.USE\n");
        server.addFile(kButtons + "/X24.BUT", (kHeaderLine + "\n24.cmddatabase\n").toLatin1());
        w = std::make_unique<frmmodusers>();
    }
    void save() { QTest::mouseClick(w->cmdmoduser, Qt::LeftButton); }
    std::unique_ptr<frmmodusers> w;
};

// Lines go back exactly as read: a duplicate twice, a name in another case as it stood; lines
// without a catalogue row are left out and logged. The row is taken from the offered side once.
TEST_F(ModifyRights, WritesTheLinesBackAsRead) {
    testsupport::startDebugLog();
    EXPECT_FALSE(w->cmdmoduser->isEnabled());
    EXPECT_FALSE(w->picker->lstDivision->isEnabled());
    pick(w->cbousers, QStringLiteral("ALICE"));
    EXPECT_EQ(texts(w->picker->lstItem),
              (QStringList{"01.RPT Detail Report", "18.UTL Configure Sites",
                           "22.USER Modify users Passwords"}));
    EXPECT_EQ(texts(w->picker->lstItemHidden),
              (QStringList{"01.cmddetail", "18.cmdedit", "22.CMDPASSWD"}));
    EXPECT_EQ(w->picker->lstDivision->count(), 23 - 3);
    EXPECT_TRUE(testsupport::debugLogMessages().contains(
        QStringLiteral("Skipping button line that names no function: 27.cmdnosuch")));

    pick(w->cbousers, QStringLiteral("DUPE"));
    EXPECT_EQ(texts(w->picker->lstItemHidden),
              (QStringList{"04.cmdstats", "04.cmdstats", "05.cmdWatchdog"}));
    EXPECT_EQ(w->picker->lstDivision->count(), 23 - 2);
    EXPECT_EQ(home.read(QStringLiteral("Sim/download/DUPE.BUT")),
              QByteArray("ENABLED BUTTONS DO NOT REMOVE THIS LINE\r\n04.cmdstats\r\n04.cmdstats\r\n"
                         "05.cmdWatchdog\r\n"));

    listsAfterWrite(QStringLiteral("DUPE.BUT"));
    prompter.ok();
    save();
    EXPECT_EQ(prompter.messages(), QStringList{QStringLiteral("USERS SETTINGS MODIFIED")});
    EXPECT_EQ(w->result(), QDialog::Accepted);
    ASSERT_EQ(server.shellRequests().size(), 2u);
    EXPECT_EQ(server.linesOf(1),
              QStringList{QStringLiteral("cd /usr/varnel/ACL/BUTTONS/")} +
                  writeLines(QStringLiteral("DUPE.BUT"),
                             {kHeaderLine, "04.cmdstats", "04.cmdstats", "05.cmdWatchdog"},
                             keptAccess(QStringLiteral("DUPE.BUT"))));
    const QStringList log = testsupport::debugLogMessages();
    EXPECT_EQ(log.count(QStringLiteral("adding 04.cmdstats  from lstItemHidden.Text")), 2);
    EXPECT_TRUE(log.contains(QStringLiteral("DONE RUNNING REPORT")));
}

// Keys on the closed box while a user's grants are read move nothing: the box, the lists and
// Save all stay with the user whose grants were asked for.
TEST_F(ModifyRights, KeysOnTheBoxWhileGrantsAreReadChangeNothing) {
    const int alice = w->cbousers->findText(QStringLiteral("ALICE"));
    ASSERT_GE(alice, 0);
    w->cbousers->setCurrentIndex(alice);
    int reads = 0;
    server.onFetch(kButtons + "/ALICE.BUT", [&] {
        ++reads;
        QTest::keyClick(w->cbousers, Qt::Key_Down);
        QTest::keyClick(w->cbousers, Qt::Key_Down);
    });
    emit w->cbousers->activated(alice);
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(w->cbousers->currentText(), QStringLiteral("ALICE"));
    EXPECT_EQ(texts(w->picker->lstItemHidden),
              (QStringList{"01.cmddetail", "18.cmdedit", "22.CMDPASSWD"}));

    listsAfterWrite(QStringLiteral("ALICE.BUT"));
    prompter.ok();
    save();
    EXPECT_TRUE(server.lines().contains(
        checked(QStringLiteral("echo 01.cmddetail >>.ALICE.BUT.tmp"))));
}

// A grant of a row the edition does not offer is shown and written again; granting a row and
// taking it back leaves both sides as they were.
TEST_F(ModifyRights, HiddenRowKeptAndMovesRestoreTheOrder) {
    pick(w->cbousers, QStringLiteral("X24"));
    EXPECT_EQ(texts(w->picker->lstItem), QStringList{"24.UTL Database"});
    EXPECT_EQ(w->picker->lstDivision->count(), 23);

    const QStringList offered = texts(w->picker->lstDivision);
    const QStringList offeredKeys = texts(w->picker->lstDivisionHidden);
    highlight(w->picker->lstDivision, QStringLiteral("02.RPT Audit Report"));
    emit w->picker->lstDivision->itemDoubleClicked(w->picker->lstDivision->currentItem());
    EXPECT_EQ(w->picker->lstDivision->currentItem()->text(), QStringLiteral("03.RPT Cost Report"));
    EXPECT_EQ(texts(w->picker->lstItem), (QStringList{"02.RPT Audit Report", "24.UTL Database"}));
    highlight(w->picker->lstItem, QStringLiteral("02.RPT Audit Report"));
    QTest::mouseClick(w->picker->cmdremove, Qt::LeftButton);
    EXPECT_EQ(texts(w->picker->lstDivision), offered);
    EXPECT_EQ(texts(w->picker->lstDivisionHidden), offeredKeys);

    listsAfterWrite(QStringLiteral("X24.BUT"));
    prompter.ok();
    save();
    EXPECT_TRUE(
        server.lines().contains(checked(QStringLiteral("echo 24.cmddatabase >>.X24.BUT.tmp"))));
}

// Taking every grant back asks first: No sends nothing, Yes writes the header alone. A user
// without a button file has no grants, which is no failure.
TEST_F(ModifyRights, RevokingEveryGrantAsksAndWritesTheHeaderOnly) {
    pick(w->cbousers, QStringLiteral("NOBUT"));
    EXPECT_TRUE(prompter.messages().isEmpty());
    EXPECT_EQ(w->picker->lstItem->count(), 0);
    pick(w->cbousers, QStringLiteral("DUPE"));
    while (w->picker->lstItem->count() > 0) {
        w->picker->lstItem->setCurrentRow(0);
        w->picker->cmdremove->click();
    }
    prompter.no();
    save();
    EXPECT_EQ(server.shellRequests().size(), 1u);
    EXPECT_NE(w->result(), QDialog::Accepted);

    listsAfterWrite(QStringLiteral("DUPE.BUT"));
    prompter.yes().ok();
    save();
    ASSERT_EQ(prompter.prompts().size(), 3u);
    EXPECT_EQ(prompter.prompts()[1].buttons, platform::Buttons::YesNo);
    EXPECT_EQ(server.linesOf(1), QStringList{QStringLiteral("cd /usr/varnel/ACL/BUTTONS/")} +
                                     writeLines(QStringLiteral("DUPE.BUT"), {kHeaderLine},
                                                keptAccess(QStringLiteral("DUPE.BUT"))));
    EXPECT_EQ(prompter.messages().last(), QStringLiteral("USERS SETTINGS MODIFIED"));
}

// What the editor does not show stays in the file: lines of no catalogue row go back after
// the shown grants, as they stood. Only a button file the server does not have means "no
// grants": a copy that could not be written here ("No such file or directory" of the local
// folder) is a failure, and Save stays off.
TEST_F(ModifyRights, KeepsWhatItDoesNotShow) {
    server.addFile(kButtons + "/DUPE.BUT",
                   (kHeaderLine + "\n99.cmdexitbackup\n04.cmdstats\n05.\n").toLatin1());
    pick(w->cbousers, QStringLiteral("DUPE"));
    EXPECT_EQ(texts(w->picker->lstItemHidden), QStringList{"04.cmdstats"});
    highlight(w->picker->lstDivision, QStringLiteral("01.RPT Detail Report"));
    QTest::mouseClick(w->picker->cmdadd, Qt::LeftButton);
    listsAfterWrite(QStringLiteral("DUPE.BUT"));
    prompter.ok();
    save();
    EXPECT_EQ(prompter.messages().last(), QStringLiteral("USERS SETTINGS MODIFIED"));
    EXPECT_EQ(server.linesOf(1),
              QStringList{QStringLiteral("cd /usr/varnel/ACL/BUTTONS/")} +
                  writeLines(QStringLiteral("DUPE.BUT"),
                             {kHeaderLine, "01.cmddetail", "04.cmdstats", "99.cmdexitbackup",
                              "05."},
                             keptAccess(QStringLiteral("DUPE.BUT"))));
}

TEST_F(ModifyRights, OnlyAMissingServerFileMeansNoGrants) {
    server.failFetch(kButtons + "/ALICE.BUT", kSessionFailed,
                     QStringLiteral("Could not fetch %1: could not write %2: No such file or "
                                    "directory")
                         .arg(kButtons + "/ALICE.BUT", home.file("Sim/download/ALICE.BUTU")));
    prompter.ok();
    pick(w->cbousers, QStringLiteral("ALICE"));
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages().last().startsWith(
        QStringLiteral("The functions of ALICE could not be read.")))
        << prompter.messages().last().toStdString();
    EXPECT_FALSE(w->cmdmoduser->isEnabled());

    pick(w->cbousers, QStringLiteral("NOBUT"));  // the server has no NOBUT.BUT
    EXPECT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(w->cmdmoduser->isEnabled());
    EXPECT_EQ(w->picker->lstItem->count(), 0);
}

// Grants that could not be read are never saved over, and a write the server does not confirm
// is told as such, with the window left open.
TEST_F(ModifyRights, UnreadOrUnconfirmedGrantsAreNotClaimed) {
    server.failFetch(kButtons + "/ALICE.BUT", kSessionTimedOut);
    prompter.ok();
    pick(w->cbousers, QStringLiteral("ALICE"));
    EXPECT_TRUE(prompter.messages().last().startsWith(
        QStringLiteral("The functions of ALICE could not be read.")));
    EXPECT_FALSE(w->cmdmoduser->isEnabled());
    EXPECT_FALSE(w->picker->lstDivision->isEnabled());

    pick(w->cbousers, QStringLiteral("DUPE"));
    server.on(QStringLiteral("mv -f .DUPE.BUT.tmp DUPE.BUT"))
        .reply(QStringLiteral("mv: cannot move: Disk quota exceeded"))
        .status(1);
    prompter.ok();
    save();
    EXPECT_TRUE(prompter.messages().last().startsWith(
        QStringLiteral("The functions of DUPE may not have been changed.\r\n\r\nmv: cannot move")))
        << prompter.messages().last().toStdString();
    EXPECT_EQ(prompter.prompts().back().icon, platform::Icon::Exclamation);
    EXPECT_NE(w->result(), QDialog::Accepted);
    EXPECT_TRUE(server.lines().filter(QStringLiteral("ls -1 DUPE.BUT")).isEmpty());
}

// ---- passwords -------------------------------------------------------------------------------

// The user file holds the new digest once the move has put it in place, as the server would.
class Passwords : public AdminOnFake {
protected:
    void storesOnMove(const QString& user) {
        server.on(QStringLiteral("mv -f .%1.USE.tmp %1.USE").arg(user))
            .then([this, user](const QString&) {
                const QString echo =
                    server.lines().filter(QStringLiteral(".%1.USE.tmp").arg(user)).first();
                server.addFile(kUsers + "/" + user + ".USE",
                               echo.section(QLatin1Char(' '), 1, 1).toLatin1() + "\n");
            });
        listsAfterWrite(user + ".USE");
    }
};

TEST_F(Passwords, OwnWindowChecksTheOldOneAndWritesAsRoot) {
    G().g_UserName = QStringLiteral("alice");
    frmpasswd w;
    EXPECT_EQ(w.txtuser->text(), QStringLiteral("alice"));
    EXPECT_FALSE(w.txtnewpasswd->isEnabled());
    w.txtoldpasswd->setText(QStringLiteral("secret1"));
    EXPECT_TRUE(w.txtnewpasswd->isEnabled());
    EXPECT_FALSE(w.txtconfirmpasswd->isEnabled());
    w.txtnewpasswd->setText(QStringLiteral("pass2"));
    w.txtconfirmpasswd->setText(QStringLiteral("pass2"));
    EXPECT_TRUE(w.cmdmodpasswd->isEnabled());
    w.txtnewpasswd->clear();
    EXPECT_FALSE(w.txtconfirmpasswd->isEnabled());
    EXPECT_FALSE(w.cmdmodpasswd->isEnabled());
    EXPECT_EQ(w.txtconfirmpasswd->text(), QStringLiteral("pass2"));
    w.txtnewpasswd->setText(QStringLiteral("pass2"));
    w.txtconfirmpasswd->setText(QStringLiteral("pass2"));
    w.txtoldpasswd->clear();
    EXPECT_FALSE(w.txtnewpasswd->isEnabled());
    EXPECT_FALSE(w.cmdmodpasswd->isEnabled());
    w.txtoldpasswd->setText(QStringLiteral("secret1"));
    w.txtconfirmpasswd->setText(QStringLiteral("pass2 "));
    w.txtconfirmpasswd->setText(QStringLiteral("pass2"));

    // A new password changed after the confirmation matched is caught on the click.
    w.txtnewpasswd->setText(QStringLiteral("pass3"));
    EXPECT_TRUE(w.cmdmodpasswd->isEnabled());
    prompter.ok();
    QTest::mouseClick(w.cmdmodpasswd, Qt::LeftButton);
    EXPECT_EQ(prompter.messages().last(),
              QStringLiteral("Passwords do not Match Please try again"));
    EXPECT_TRUE(server.filesRequests().empty());
    // A character without a Windows-1252 code: its digest would be another password's.
    w.txtnewpasswd->setText(QString::fromUtf8("pass\u20ac\u0142"));
    w.txtconfirmpasswd->setText(QString::fromUtf8("pass\u20ac\u0142"));
    prompter.ok();
    QTest::mouseClick(w.cmdmodpasswd, Qt::LeftButton);
    EXPECT_TRUE(prompter.messages().last().startsWith(
        QString::fromUtf8("The password may not hold the character \"\u0142\" (U+0142)")))
        << prompter.messages().last().toStdString();
    EXPECT_TRUE(server.filesRequests().empty());
    EXPECT_TRUE(server.shellRequests().empty());
    w.txtnewpasswd->setText(QStringLiteral("pass2"));
    w.txtconfirmpasswd->setText(QStringLiteral("pass2"));

    home.write(QStringLiteral("Sim/download/ALICE.LIC"), "stale\r\n");
    storesOnMove(QStringLiteral("ALICE"));
    prompter.ok();
    QTest::mouseClick(w.cmdmodpasswd, Qt::LeftButton);
    EXPECT_EQ(prompter.messages().last(), QStringLiteral("Password Changed"));
    EXPECT_EQ(w.result(), QDialog::Accepted);
    ASSERT_EQ(server.shellRequests().size(), 1u);
    const QString digest = UserFile::digestOf(QStringLiteral("pass2"));
    EXPECT_EQ(server.linesOf(0), QStringList{QStringLiteral("cd /usr/varnel/ACL/USERS/")} +
                                     writeLines(QStringLiteral("ALICE.USE"), {digest},
                                                {QStringLiteral("sudo chmod 666 %1"),
                                                 QStringLiteral("sudo chown root %1"),
                                                 QStringLiteral("sudo chgrp users %1")}));
    // The old digest before, the new one read back after.
    ASSERT_EQ(server.fetches().size(), 2u);
    for (const auto& f : server.fetches()) EXPECT_EQ(f.remotePath, kUsers + "/ALICE.USE");
    for (const char* f : {"ALICE.LICU", "ALICE.LIC"})
        EXPECT_FALSE(QFile::exists(home.file(QStringLiteral("Sim/download/") + f))) << f;
}

// The stored digest is compared as text: a lower-case one refuses every old password, the
// local copies stay and nothing is written.
TEST_F(Passwords, LowerCaseStoredDigestRefusesEveryOldPassword) {
    G().g_UserName = QStringLiteral("lower");
    frmpasswd w;
    for (const char* old : {"secret1", "SECRET1", "e52d98c459819a11775936d8dfbb7929"}) {
        w.txtoldpasswd->setText(QLatin1String(old));
        w.txtnewpasswd->setText(QStringLiteral("n"));
        w.txtconfirmpasswd->setText(QStringLiteral("n"));
        prompter.ok();
        QTest::mouseClick(w.cmdmodpasswd, Qt::LeftButton);
        EXPECT_EQ(prompter.messages().last(),
                  QStringLiteral("Old password did not match Please Try again"));
    }
    EXPECT_TRUE(server.shellRequests().empty());
    EXPECT_EQ(home.read(QStringLiteral("Sim/download/LOWER.LIC")),
              QByteArray("e52d98c459819a11775936d8dfbb7929\r\n"));
    EXPECT_NE(w.result(), QDialog::Accepted);
}

// A confirmation differing only in case never enables the button, and a password changed
// after the confirmation matched is caught on the click; the user's group alone is set.
TEST_F(Passwords, AdminWindowComparesExactlyAndSetsTheGroup) {
    listing("ALICE.USE\nCAFE.USE\n");
    frmchangepasswd w;
    EXPECT_FALSE(w.txtnewpasswd->isEnabled());
    pick(w.cbousers, QStringLiteral("CAFE"));
    EXPECT_TRUE(w.txtnewpasswd->isEnabled());
    w.txtnewpasswd->setText(QStringLiteral("Secret"));
    w.txtconfirmpasswd->setText(QStringLiteral("secret"));
    EXPECT_FALSE(w.cmdchgpasswd->isEnabled());
    w.txtconfirmpasswd->setText(QStringLiteral("Secret"));
    EXPECT_TRUE(w.cmdchgpasswd->isEnabled());
    w.txtnewpasswd->setText(QStringLiteral("secret"));
    EXPECT_TRUE(w.cmdchgpasswd->isEnabled());
    prompter.ok();
    QTest::mouseClick(w.cmdchgpasswd, Qt::LeftButton);
    EXPECT_EQ(prompter.messages().last(),
              QStringLiteral("Passwords do not Match Please try again"));
    EXPECT_EQ(server.shellRequests().size(), 1u);  // the listing's

    w.txtconfirmpasswd->setText(QStringLiteral("secret"));
    storesOnMove(QStringLiteral("CAFE"));
    prompter.ok();
    QTest::mouseClick(w.cmdchgpasswd, Qt::LeftButton);
    EXPECT_EQ(prompter.messages().last(), QStringLiteral("Password Changed"));
    EXPECT_EQ(server.linesOf(1),
              QStringList{QStringLiteral("cd /usr/varnel/ACL/USERS/")} +
                  writeLines(QStringLiteral("CAFE.USE"), {UserFile::digestOf("secret")},
                             keptAccess(QStringLiteral("CAFE.USE"))
                                 << QStringLiteral("sudo chgrp users %1")));
}

// A written password that the transfer login does not read back is not claimed changed.
TEST_F(Passwords, UnconfirmedPasswordIsNotClaimed) {
    listing("CAFE.USE\n");
    frmchangepasswd w;
    pick(w.cbousers, QStringLiteral("CAFE"));
    w.txtnewpasswd->setText(QStringLiteral("x"));
    w.txtconfirmpasswd->setText(QStringLiteral("x"));
    listsAfterWrite(QStringLiteral("CAFE.USE"));  // listed, but the old digest stays
    prompter.ok();
    QTest::mouseClick(w.cmdchgpasswd, Qt::LeftButton);
    EXPECT_TRUE(prompter.messages().last().startsWith(
        QStringLiteral("The password may not have been changed.")))
        << prompter.messages().last().toStdString();
    EXPECT_NE(w.result(), QDialog::Accepted);
}

// ---- delete user -------------------------------------------------------------------------------

// One spelling per user: a user file whose name is not in upper case is no login's, and the
// windows would edit ALICE's files for it, so it is left out and told. A name that came from a
// broken listing (a file name holding a CR) is not told deleted: the server must list its file.
TEST_F(AdminOnFake, EveryListedUserIsOneFile) {
    listing("alice.USE\nALICE.USE\nALICE.USE\rBOB.USE\n");
    prompter.ok();
    frmdeluser w;
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages().last(),
              QStringLiteral("These user files are not listed: the login looks a user up by the "
                             "name in upper case, so their names belong to no user.\r\n\r\n"
                             "alice.USE"));
    EXPECT_EQ(w.cbousers->findText(QStringLiteral("alice")), -1);
    pick(w.cbousers, QStringLiteral("BOB"));
    prompter.yes().ok();
    w.cmddeleteuser_Click();
    ASSERT_FALSE(prompter.messages().isEmpty());
    EXPECT_TRUE(prompter.messages().last().startsWith(
        QStringLiteral("The user BOB was not deleted.")))
        << prompter.messages().last().toStdString();
    EXPECT_NE(w.result(), QDialog::Accepted);
    EXPECT_TRUE(server.lines().filter(QStringLiteral("rm -f")).isEmpty());
}

TEST_F(AdminOnFake, DeleteUserAsksAndRefusesTheCurrentUser) {
    G().g_UserName = QStringLiteral("Cafe");
    listing("[A].USE\nA.USE\nCAFE.USE\n");
    frmdeluser w;
    ASSERT_EQ(w.cbousers->count(), 2);  // "[A]" was skipped
    prompter.ok();
    w.cmddeleteuser_Click();
    EXPECT_EQ(prompter.messages().last(), QStringLiteral("Please choose the user to delete."));
    pick(w.cbousers, QStringLiteral("CAFE"));
    prompter.ok();
    w.cmddeleteuser_Click();
    EXPECT_EQ(prompter.messages().last(),
              QStringLiteral("you can't delete current Login User Cafe"));
    pick(w.cbousers, QStringLiteral("A"));
    prompter.no();
    w.cmddeleteuser_Click();
    EXPECT_EQ(prompter.prompts().back().text,
              QStringLiteral("Are you sure you want to Delete A?\r\n"));
    EXPECT_EQ(prompter.prompts().back().title, QStringLiteral("Configure Sites"));
    EXPECT_EQ(prompter.prompts().back().icon, platform::Icon::Question);
    EXPECT_EQ(server.shellRequests().size(), 1u);  // the listing's

    listsAfterWrite(QStringLiteral("A.USE"));
    prompter.yes().ok();
    w.cmddeleteuser_Click();
    EXPECT_EQ(prompter.messages().last(), QStringLiteral("User A has been deleted"));
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(server.linesOf(1), (QStringList{QString(), QStringLiteral("cd /usr/varnel/ACL/USERS"),
                                              checked(QStringLiteral("ls -1 A.USE")),
                                              checked(QStringLiteral("rm -f A.USE")),
                                              QStringLiteral("cd /usr/varnel/ACL/BUTTONS"),
                                              checked(QStringLiteral("rm -f A.BUT"))}));
}

// A removal that fails, or a session lost on the way, is told: the user may still be there.
TEST_F(AdminOnFake, FailedDeletionIsTold) {
    listing("A.USE\n");
    frmdeluser w;
    pick(w.cbousers, QStringLiteral("A"));
    listsAfterWrite(QStringLiteral("A.USE"));
    server.on(QStringLiteral("rm -f A.BUT")).dropsSession();
    prompter.yes().ok();
    w.cmddeleteuser_Click();
    EXPECT_TRUE(prompter.messages().last().startsWith(
        QStringLiteral("The user A may not have been deleted.")))
        << prompter.messages().last().toStdString();
    EXPECT_NE(w.result(), QDialog::Accepted);
}

}  // namespace
