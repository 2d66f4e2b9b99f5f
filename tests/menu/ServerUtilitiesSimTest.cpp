// Time Sync and Unlock Tables end to end, on the stand-in server: the buttons reach the
// server's clock stand-ins and its unlock program.
#include "MenuTestSupport.h"
#include "menu/ServerUtilities.h"
#include "support/Controls.h"
#include "support/ProgramWindows.h"

#include "common/Globals.h"
#include "common/ProgramClock.h"
#include "menu/fMain.h"
#include "support/ScriptedPrompter.h"
#include "support/SimServer.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QPushButton>
#include <QTest>

using testsupport::control;

using quillon::fMain;
using quillon::G;
using testsupport::SimServer;

namespace {

class ServerUtilitySimTest : public testsupport::SimTest {
protected:
    void SetUp() override {
        testsupport::SimTest::SetUp();
        if (IsSkipped()) return;
        SimServer::configureSite(1);
        w = fMain::instance();
        control<QComboBox>(w, "cboSites")->addItems({"Default", "Site1"});
        control<QComboBox>(w, "cboSites")->setCurrentIndex(1);
        G().g_CurSite = 1;
    }
    void TearDown() override {
        if (w) fMain::unloadInstance();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        testsupport::SimTest::TearDown();
    }

    testsupport::TempHome home;
    quillon::SettableClock programClock{QDateTime(QDate(2008, 12, 9), QTime(14, 5, 33))};
    testsupport::ScriptedPrompter prompter;
    fMain* w = nullptr;
};

TEST_F(ServerUtilitySimTest, TimeSyncSetsBothClocksInTheStartFolder) {
    prompter.yes().ok();
    QTest::mouseClick(control<QPushButton>(w, "cmdsynch"), Qt::LeftButton);

    EXPECT_EQ(SimServer::shellLines(),
              (QStringList{quillon::withExitStatus("sudo date 1209140508"),
                           quillon::withExitStatus("sudo /sbin/hwclock --systohc ")}));
    EXPECT_EQ(SimServer::calls("date"), QStringList{"1209140508"});
    EXPECT_EQ(SimServer::calls("hwclock"), QStringList{"--systohc"});
    EXPECT_EQ(prompter.messages().back(),
              QStringLiteral("Varnel Call Accounting Server Time changed"));
}

TEST_F(ServerUtilitySimTest, UnlockNamesTheTablesTheServerRefused) {
    SimServer::setKnob(QStringLiteral("unlock_fail"), QStringLiteral("ext lt.db\noa"));
    prompter.ok();
    QTest::mouseClick(control<QPushButton>(w, "cmdunlock"), Qt::LeftButton);

    const QStringList files{"ext.db",  "line.db",  "dpt.db", "div.db", "account.db",
                            "lt.db",   "trunk.db", "ld.db",  "lc.db",  "rate.db",
                            "calc.db", "cc.db",    "ac.db",  "oa.db"};
    EXPECT_EQ(SimServer::shellLines().value(0), "cd '/usr/varnel'");
    EXPECT_EQ(SimServer::calls("ORV_UNLOCK"), files);
    ASSERT_EQ(prompter.messages().size(), 1);
    const QString said = prompter.messages().front();
    EXPECT_TRUE(said.startsWith(
        QStringLiteral("These Varnel Call Accounting Tables could not be unlocked:")));
    for (const char* failed : {"ext.db: ", "lt.db: ", "oa.db: "})
        EXPECT_TRUE(said.contains(QLatin1String(failed))) << failed << "\n" << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("table is in use"))) << said.toStdString();
    for (const char* fine : {"line.db", "ac.db", "ld.db"})
        EXPECT_FALSE(said.contains(QLatin1String(fine))) << fine;
    EXPECT_EQ(w->cursor().shape(), Qt::ArrowCursor);
}

}  // namespace
