// Time Sync and Unlock Tables over the fake server: the lines they send, in which folder and
// session, how each reply is judged, and what the user is told.
#include "MenuTestSupport.h"
#include "menu/ServerUtilities.h"
#include "support/Controls.h"
#include "support/ProgramWindows.h"

#include "common/Globals.h"
#include "common/ProgramClock.h"
#include "menu/fMain.h"
#include "support/FakeServer.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <ostream>

using testsupport::control;

using quillon::fMain;
using quillon::G;
using quillon::withExitStatus;
using testsupport::FakeServer;

namespace {

const QDateTime kDec9th1405(QDate(2008, 12, 9), QTime(14, 5, 33));

// --- the lines and the replies ------------------------------------------------------------

struct StampCase {
    QDateTime when;
    const char* stamp;
};

void PrintTo(const StampCase& c, std::ostream* os) {
    *os << c.stamp;
}

class ClockStamp : public ::testing::TestWithParam<StampCase> {};

TEST_P(ClockStamp, IsMonthDayHourMinuteYear) {
    EXPECT_EQ(quillon::clockStamp(GetParam().when), QLatin1String(GetParam().stamp));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ClockStamp,
    ::testing::Values(StampCase{kDec9th1405, "1209140508"},
                      // Leading zeros everywhere, and the small hours.
                      StampCase{QDateTime(QDate(2001, 2, 3), QTime(4, 6)), "0203040601"},
                      StampCase{QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59)), "1231235999"}));

TEST(ServerUtilityLines, AreTheServersOwnInOrder) {
    EXPECT_EQ(quillon::clockLines(kDec9th1405),
              (QStringList{"sudo date 1209140508", "sudo /sbin/hwclock --systohc "}));
    const QStringList lines = quillon::unlockLines();
    ASSERT_EQ(lines.size(), 14);
    EXPECT_EQ(lines.front(), QStringLiteral("sudo ./ORV_UNLOCK ext.db"));
    EXPECT_EQ(lines.back(), QStringLiteral("sudo ./ORV_UNLOCK oa.db"));
}

struct ReplyCase {
    const char* reply;
    std::optional<int> status;
    const char* said;
};

void PrintTo(const ReplyCase& c, std::ostream* os) {
    *os << '"' << c.reply << '"';
}

class ExitStatus : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(ExitStatus, IsReadFromTheEndOfTheReply) {
    const QString reply = QString::fromUtf8(GetParam().reply);
    EXPECT_EQ(quillon::exitStatusOf(reply), GetParam().status);
    EXPECT_EQ(quillon::replyWithoutStatus(reply), QString::fromUtf8(GetParam().said));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExitStatus,
    ::testing::Values(ReplyCase{"rc=0\n", 0, ""},
                      ReplyCase{"date: cannot set date: Operation not permitted\nrc=1\n", 1,
                                "date: cannot set date: Operation not permitted"},
                      // Output without a final line break runs into the status.
                      ReplyCase{"partial outputrc=127", 127, "partial output"},
                      // A program that prints "rc=0" itself is not taken for the status before it.
                      ReplyCase{"rc=0\nfailed\nrc=2\n", 2, "rc=0\nfailed"},
                      ReplyCase{"", std::nullopt, ""}, ReplyCase{"rc=\n", std::nullopt, "rc="},
                      ReplyCase{"rc=0 and more\n", std::nullopt, "rc=0 and more"}));

// --- the utilities over the fake server -----------------------------------------------------

QStringList checked(const QStringList& lines) {
    QStringList out;
    for (const QString& l : lines) out << withExitStatus(l);
    return out;
}

const QStringList kTables{"ext.db",  "line.db",  "dpt.db", "div.db", "account.db",
                          "lt.db",   "trunk.db", "ld.db",  "lc.db",  "rate.db",
                          "calc.db", "cc.db",    "ac.db",  "oa.db"};

class UtilityLogic : public ::testing::Test {
protected:
    void SetUp() override { testsupport::configureFakeSite(1); }

    testsupport::TempHome home;
    FakeServer server;
};

TEST_F(UtilityLogic, TimeSyncSetsBothClocksInTheLoginsStartFolder) {
    const quillon::UtilityOutcome told = quillon::setServerClock(1, kDec9th1405);

    ASSERT_EQ(server.shellRequests().size(), 1u);
    const quillon::ShellRequest& r = server.shellRequests()[0];
    EXPECT_FALSE(r.folder.has_value());
    EXPECT_EQ(r.control, "SSHTIMESYNC");
    EXPECT_EQ(r.target.host, "10.0.0.9");
    EXPECT_EQ(r.target.login, "varneltail");
    EXPECT_EQ(server.lines(), checked({"sudo date 1209140508", "sudo /sbin/hwclock --systohc "}));
    EXPECT_FALSE(server.isShellOpen(0));
    EXPECT_EQ(told.text, "Varnel Call Accounting Server Time changed");
    EXPECT_EQ(told.icon, platform::Icon::None);
}

struct ClockFailure {
    const char* name;
    const char* line;
    const char* serverSaid;
    const char* failedLine;
};

void PrintTo(const ClockFailure& c, std::ostream* os) {
    *os << c.name;
}

class TimeSyncFailure : public UtilityLogic, public ::testing::WithParamInterface<ClockFailure> {};

TEST_P(TimeSyncFailure, SaysWhichCommandFailedAndStillSendsBoth) {
    server.on(QString::fromLatin1(GetParam().line))
        .reply(QString::fromLatin1(GetParam().serverSaid) + "\n")
        .status(1);
    const quillon::UtilityOutcome told = quillon::setServerClock(1, kDec9th1405);

    EXPECT_EQ(server.lines().size(), 2);
    EXPECT_EQ(told.text,
              "The Varnel Call Accounting Server Time may not have been changed. These commands "
              "failed:\r\n\r\n" +
                  QString::fromLatin1(GetParam().failedLine) + ": " +
                  QString::fromLatin1(GetParam().serverSaid));
    EXPECT_EQ(told.icon, platform::Icon::Exclamation);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TimeSyncFailure,
    ::testing::Values(
        ClockFailure{"date", "sudo date 1209140508",
                     "date: cannot set date: Operation not permitted", "sudo date 1209140508"},
        // The line's trailing blank is not part of how the user sees it.
        ClockFailure{"hwclock", "sudo /sbin/hwclock --systohc ",
                     "hwclock: Cannot access the Hardware Clock via any known method.",
                     "sudo /sbin/hwclock --systohc"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(UtilityLogic, UnlockFreesTheFourteenTablesInTheSiteFolder) {
    const quillon::UtilityOutcome told = quillon::unlockServerTables(1);

    ASSERT_EQ(server.shellRequests().size(), 1u);
    EXPECT_EQ(server.shellRequests()[0].folder, QString("/usr/varnel"));
    EXPECT_EQ(server.shellRequests()[0].control, "SSHUNLOCK");
    QStringList expected{"cd '/usr/varnel'"};
    for (const QString& t : kTables) expected << withExitStatus("sudo ./ORV_UNLOCK " + t);
    EXPECT_EQ(server.lines(), expected);
    EXPECT_FALSE(server.isShellOpen(0));
    EXPECT_EQ(told.text, "Varnel Call Accounting Tables unlocked");
    EXPECT_EQ(told.icon, platform::Icon::None);
}

TEST_F(UtilityLogic, UnlockGoesOnPastFailuresAndNamesThem) {
    for (const char* t : {"ext.db", "lt.db", "oa.db"})
        server.on("sudo ./ORV_UNLOCK " + QString::fromLatin1(t))
            .reply("ORV_UNLOCK: " + QString::fromLatin1(t) + ": table is in use\n")
            .status(1);
    server.on("sudo ./ORV_UNLOCK ac.db").status(2);  // no words, only a status
    const quillon::UtilityOutcome told = quillon::unlockServerTables(1);

    EXPECT_EQ(server.lines().size(), 15);
    EXPECT_EQ(told.text,
              "These Varnel Call Accounting Tables could not be unlocked:\r\n"
              "\r\next.db: ORV_UNLOCK: ext.db: table is in use"
              "\r\nlt.db: ORV_UNLOCK: lt.db: table is in use"
              "\r\nac.db: exit status 2"
              "\r\noa.db: ORV_UNLOCK: oa.db: table is in use");
    EXPECT_EQ(told.icon, platform::Icon::Exclamation);
}

TEST_F(UtilityLogic, UnlockInAFolderTheShellCannotReachRunsNoProgram) {
    server.on(QRegularExpression("^cd "))
        .reply("bash: cd: /usr/varnel: No such file or directory\n");
    const quillon::UtilityOutcome told = quillon::unlockServerTables(1);
    EXPECT_EQ(server.lines(), QStringList{"cd '/usr/varnel'"});
    EXPECT_TRUE(
        told.text.startsWith("The Varnel Call Accounting Tables were not unlocked.\r\n\r\n"
                             "Could not change to the folder /usr/varnel"))
        << told.text.toStdString();
    EXPECT_EQ(told.icon, platform::Icon::Exclamation);
}

TEST_F(UtilityLogic, UnlockWithoutAServerFolderOpensNothing) {
    G().g_SiteHomedir[1].clear();
    const quillon::UtilityOutcome told = quillon::unlockServerTables(1);
    EXPECT_TRUE(server.shellRequests().empty());
    EXPECT_EQ(told.text,
              "The Varnel Call Accounting Tables were not unlocked.\r\n\r\n"
              "No server folder is configured for this site.");
}

struct UnreachableCase {
    const char* name;
    std::function<quillon::UtilityOutcome()> run;
    const char* told;
};

void PrintTo(const UnreachableCase& c, std::ostream* os) {
    *os << c.name;
}

class UnreachableServer : public UtilityLogic,
                          public ::testing::WithParamInterface<UnreachableCase> {};

TEST_P(UnreachableServer, IsToldWithTheReasonNotReportedAsDone) {
    server.failOpen(quillon::kSessionUnreachable,
                    "Could not connect to the server 10.0.0.9: Connection refused");
    const quillon::UtilityOutcome told = GetParam().run();
    EXPECT_EQ(told.text, QString::fromLatin1(GetParam().told) +
                             "\r\n\r\nCould not connect to the server 10.0.0.9: Connection "
                             "refused");
    EXPECT_EQ(told.icon, platform::Icon::Exclamation);
    EXPECT_TRUE(server.lines().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnreachableServer,
    ::testing::Values(UnreachableCase{"TimeSync",
                                      [] { return quillon::setServerClock(1, kDec9th1405); },
                                      "Varnel Call Accounting Server Time has not been changed"},
                      UnreachableCase{"Unlock", [] { return quillon::unlockServerTables(1); },
                                      "The Varnel Call Accounting Tables were not unlocked."}),
    [](const auto& info) { return std::string(info.param.name); });

// --- the buttons --------------------------------------------------------------------------

// The main window on site 1, the clock fixed at 14:05 on 9 December 2008.
class UtilityWindow : public menutest::MainWindowOnSite {
public:
    UtilityWindow() : MainWindowOnSite(QStringLiteral("Site1")) {
        control<QPushButton>(w, "cmdsynch")->setEnabled(true);
        control<QPushButton>(w, "cmdunlock")->setEnabled(true);
    }

private:
    quillon::SettableClock m_clock{kDec9th1405};
};

class ServerUtilityTest : public ::testing::Test {
protected:
    void SetUp() override { testsupport::configureFakeSite(1); }

    testsupport::TempHome home;
    testsupport::ScriptedPrompter prompter;
    FakeServer server;
    UtilityWindow window;
};

TEST_F(ServerUtilityTest, DecliningTheClockQuestionSendsNothing) {
    prompter.no().ok();
    QTest::mouseClick(control<QPushButton>(window.w, "cmdsynch"), Qt::LeftButton);

    EXPECT_TRUE(server.shellRequests().empty());
    ASSERT_EQ(prompter.prompts().size(), 2u);
    const auto& question = prompter.prompts()[0];
    EXPECT_EQ(question.text,
              QStringLiteral("Are you sure you want to change the date and time on the Varnel "
                             "Call Accounting Server?\r\n"));
    EXPECT_EQ(question.title, QStringLiteral("Configure Sites"));
    EXPECT_EQ(question.icon, platform::Icon::Question);
    EXPECT_EQ(question.buttons, platform::Buttons::YesNo);
    const auto& told = prompter.prompts()[1];
    EXPECT_EQ(told.text, QStringLiteral("Varnel Call Accounting Server Time has not been changed"));
    EXPECT_EQ(told.icon, platform::Icon::None);
    EXPECT_TRUE(told.title.isEmpty());
}

// The buttons run the utility on the selected site and tell its outcome; a second click while
// the first still waits for the server is dropped.
TEST_F(ServerUtilityTest, ButtonsTellTheOutcomeAndRefuseASecondClickMeanwhile) {
    server.on("sudo date 1209140508").then([&](const QString&) {
        QTest::mouseClick(control<QPushButton>(window.w, "cmdsynch"), Qt::LeftButton);
    });
    server.on("sudo ./ORV_UNLOCK ext.db").then([&](const QString&) {
        window.w->cmdunlock_Click();
        EXPECT_EQ(window.w->cursor().shape(), Qt::WaitCursor);
    });
    prompter.yes().ok().ok();
    QTest::mouseClick(control<QPushButton>(window.w, "cmdsynch"), Qt::LeftButton);
    QTest::mouseClick(control<QPushButton>(window.w, "cmdunlock"), Qt::LeftButton);

    EXPECT_TRUE(prompter.exhausted());
    EXPECT_EQ(prompter.messages().mid(1), (QStringList{"Varnel Call Accounting Server Time changed",
                                                       "Varnel Call Accounting Tables unlocked"}));
    EXPECT_EQ(server.shellRequests().size(), 2u);
    EXPECT_EQ(server.lines().size(), 2 + 15);
    EXPECT_EQ(window.w->cursor().shape(), Qt::ArrowCursor);
}

}  // namespace
