// Time Sync and Unlock Tables: the lines they send, how each reply is judged, and what the
// user is told.
#include "support/ProgramWindows.h"
#include "widgets/WindowRegistry.h"
#include "menu/ServerUtilities.h"

#include "common/Globals.h"
#include "menu/fMain.h"
#include "support/ScriptedPrompter.h"
#include "support/SimServer.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QPushButton>
#include <QTest>

#include <ostream>

using quillon::fMain;
using quillon::G;
using testsupport::SimServer;

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

// --- the buttons --------------------------------------------------------------------------

// The main window on site 1, the clock fixed at 14:05 on 9 December 2008.
class UtilityWindow {
public:
    UtilityWindow() {
        quillon::setUtilitiesClock([] { return kDec9th1405; });
        w = fMain::instance();
        w->cboSites->addItems({"Default", "Site1"});
        w->cboSites->setCurrentIndex(1);
        G().g_CurSite = 1;
        w->cmdsynch->setEnabled(true);
        w->cmdunlock->setEnabled(true);
    }
    ~UtilityWindow() {
        quillon::setUtilitiesClock({});
        fMain::unloadInstance();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    fMain* w = nullptr;
};

class ServerUtilityTest : public ::testing::Test {
protected:
    testsupport::TempHome home;
    testsupport::ScriptedPrompter prompter;
    UtilityWindow window;
};

TEST_F(ServerUtilityTest, DecliningTheClockQuestionSendsNothing) {
    // A site that cannot be reached: any attempt to connect would be a second message.
    SimServer::configureSite(1);
    G().g_SiteSSHPort[1] = QStringLiteral("1");
    prompter.no().ok();
    QTest::mouseClick(window.w->cmdsynch, Qt::LeftButton);

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

struct UnreachableCase {
    const char* button;
    const char* told;
};

void PrintTo(const UnreachableCase& c, std::ostream* os) {
    *os << c.button;
}

class UnreachableServer : public ServerUtilityTest,
                          public ::testing::WithParamInterface<UnreachableCase> {};

TEST_P(UnreachableServer, IsToldNotReportedAsDone) {
    SimServer::configureSite(1);
    G().g_SiteSSHPort[1] = QStringLiteral("1");  // nothing listens there
    if (QLatin1String(GetParam().button) == QLatin1String("cmdsynch")) prompter.yes();
    prompter.ok();
    QTest::mouseClick(window.w->findChild<QPushButton*>(QLatin1String(GetParam().button)),
                      Qt::LeftButton);

    const QStringList said = prompter.messages();
    ASSERT_FALSE(said.isEmpty());
    EXPECT_TRUE(said.back().startsWith(QLatin1String(GetParam().told)))
        << said.back().toStdString();
    EXPECT_GT(said.back().size(), int(qstrlen(GetParam().told)) + 4);  // and why
    EXPECT_EQ(prompter.prompts().back().icon, platform::Icon::Exclamation);
    EXPECT_EQ(window.w->cursor().shape(), Qt::ArrowCursor);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnreachableServer,
    ::testing::Values(
        UnreachableCase{"cmdsynch", "Varnel Call Accounting Server Time has not been changed"},
        UnreachableCase{"cmdunlock", "The Varnel Call Accounting Tables were not unlocked."}),
    [](const auto& info) { return std::string(info.param.button); });

// --- against the stand-in server ------------------------------------------------------------

class ServerUtilitySimTest : public testsupport::SimTest {
protected:
    void SetUp() override {
        testsupport::SimTest::SetUp();
        if (IsSkipped()) return;
        SimServer::configureSite(1);
    }
    static QStringList checked(const QStringList& lines) {
        QStringList out;
        for (const QString& l : lines) out << quillon::withExitStatus(l);
        return out;
    }

    testsupport::TempHome home;
    testsupport::ScriptedPrompter prompter;
    UtilityWindow window;
};

TEST_F(ServerUtilitySimTest, TimeSyncSetsBothClocksInTheStartFolder) {
    prompter.yes().ok();
    QTest::mouseClick(window.w->cmdsynch, Qt::LeftButton);

    EXPECT_EQ(SimServer::shellLines(),
              checked({"sudo date 1209140508", "sudo /sbin/hwclock --systohc "}));
    EXPECT_EQ(SimServer::calls("date"), QStringList{"1209140508"});
    EXPECT_EQ(SimServer::calls("hwclock"), QStringList{"--systohc"});
    EXPECT_EQ(prompter.messages().back(),
              QStringLiteral("Varnel Call Accounting Server Time changed"));
    EXPECT_EQ(prompter.prompts().back().icon, platform::Icon::None);
}

struct ClockFailure {
    const char* knob;
    const char* failedLine;
    const char* serverSaid;
};

void PrintTo(const ClockFailure& c, std::ostream* os) {
    *os << c.knob;
}

class TimeSyncFailure : public ServerUtilitySimTest,
                        public ::testing::WithParamInterface<ClockFailure> {};

TEST_P(TimeSyncFailure, SaysWhichCommandFailed) {
    SimServer::setKnob(QLatin1String(GetParam().knob));
    prompter.yes().ok();
    QTest::mouseClick(window.w->cmdsynch, Qt::LeftButton);

    // Both commands are still sent.
    EXPECT_EQ(SimServer::calls("date").size(), 1);
    EXPECT_EQ(SimServer::calls("hwclock").size(), 1);
    const QString said = prompter.messages().back();
    EXPECT_TRUE(said.contains(QLatin1String(GetParam().failedLine))) << said.toStdString();
    EXPECT_TRUE(said.contains(QLatin1String(GetParam().serverSaid))) << said.toStdString();
    EXPECT_NE(said, QStringLiteral("Varnel Call Accounting Server Time changed"));
    EXPECT_EQ(prompter.prompts().back().icon, platform::Icon::Exclamation);
}

INSTANTIATE_TEST_SUITE_P(Cases, TimeSyncFailure,
                         ::testing::Values(ClockFailure{"date_fail", "sudo date 1209140508: ",
                                                        "cannot set date: Operation not permitted"},
                                           ClockFailure{"hwclock_fail",
                                                        "sudo /sbin/hwclock --systohc: ",
                                                        "Cannot access the Hardware Clock"}),
                         [](const auto& info) { return std::string(info.param.knob); });

TEST_F(ServerUtilitySimTest, UnlockFreesTheFourteenTablesInTheSiteFolder) {
    prompter.ok();
    QTest::mouseClick(window.w->cmdunlock, Qt::LeftButton);

    const QStringList files{"ext.db",  "line.db",  "dpt.db", "div.db", "account.db",
                            "lt.db",   "trunk.db", "ld.db",  "lc.db",  "rate.db",
                            "calc.db", "cc.db",    "ac.db",  "oa.db"};
    QStringList expected{"cd '/usr/varnel'"};
    for (const QString& f : files) expected << quillon::withExitStatus("sudo ./ORV_UNLOCK " + f);
    EXPECT_EQ(SimServer::shellLines(), expected);
    EXPECT_EQ(SimServer::calls("ORV_UNLOCK"), files);
    EXPECT_EQ(prompter.messages(), QStringList{"Varnel Call Accounting Tables unlocked"});
    EXPECT_EQ(window.w->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(ServerUtilitySimTest, UnlockGoesOnPastFailuresAndNamesThem) {
    SimServer::setKnob(QStringLiteral("unlock_fail"), QStringLiteral("ext lt.db\noa"));
    prompter.ok();
    QTest::mouseClick(window.w->cmdunlock, Qt::LeftButton);

    EXPECT_EQ(SimServer::calls("ORV_UNLOCK").size(), 14);
    ASSERT_EQ(prompter.messages().size(), 1);
    const QString said = prompter.messages().front();
    EXPECT_TRUE(said.startsWith(
        QStringLiteral("These Varnel Call Accounting Tables could not be unlocked:")));
    for (const char* failed : {"ext.db: ", "lt.db: ", "oa.db: "})
        EXPECT_TRUE(said.contains(QLatin1String(failed))) << failed << "\n" << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("table is in use"))) << said.toStdString();
    for (const char* fine : {"line.db", "ac.db", "ld.db"})
        EXPECT_FALSE(said.contains(QLatin1String(fine))) << fine;
    EXPECT_EQ(prompter.prompts().back().icon, platform::Icon::Exclamation);
}

TEST_F(ServerUtilitySimTest, UnlockInAMissingFolderRunsNoProgram) {
    G().g_SiteHomedir[1] = QStringLiteral("/usr/varnel/no-such-folder");
    prompter.ok();
    QTest::mouseClick(window.w->cmdunlock, Qt::LeftButton);

    EXPECT_TRUE(SimServer::calls("ORV_UNLOCK").isEmpty());
    EXPECT_TRUE(prompter.messages().back().startsWith(
        QStringLiteral("The Varnel Call Accounting Tables were not unlocked.")));
}

}  // namespace
