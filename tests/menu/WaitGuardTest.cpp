// Nothing is torn down or started under a server wait: while a window waits (its local event
// loop serves clicks), the main window refuses log off and a second operation, and the
// waiting window refuses to be closed. Each case clicks from inside the wait.
#include "MenuTestSupport.h"
#include "menu/Reports.h"
#include "support/Controls.h"
#include "support/ProgramWindows.h"

#include "ScriptedPrompter.h"
#include "TempHome.h"
#include "common/Globals.h"
#include "menu/fMain.h"
#include "remote/ServerWaits.h"
#include "support/FakeServer.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using testsupport::control;

using namespace quillon;
using testsupport::FakeServer;

namespace {

const QString kListLine = QStringLiteral("sudo ls -1 *.rep > reports.txt");

class WaitGuardTest : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::configureFakeSite(1);
        server.addFile("/usr/varnel/reports.txt", "RW_A.rep\n");
    }
    QPushButton* button(const char* name) const {
        auto* b = control<QPushButton>(main.w, name);
        b->setEnabled(true);
        return b;
    }

    testsupport::TempHome home;
    testsupport::ScriptedPrompter prompter;
    FakeServer server;
    menutest::MainWindowOnSite main{QStringLiteral("Sim")};
};

TEST_F(WaitGuardTest, LogOffDuringTheLastReportsListingIsRefusedAndTheListingFinishes) {
    QPointer<fMain> mainWindow(main.w);
    QPushButton* logoff = button("cmdlogoff");
    ASSERT_NE(logoff, nullptr);
    bool waitedThen = false;
    server.on(kListLine).then([&](const QString&) {
        waitedThen = ServerWaits::instance().waiting();
        logoff->click();
    });

    Reports window;

    EXPECT_TRUE(waitedThen);
    EXPECT_FALSE(ServerWaits::instance().waiting());
    ASSERT_FALSE(mainWindow.isNull());
    EXPECT_TRUE(fMain::isLoaded());
    EXPECT_EQ(menutest::listed(window.lstDivision), QStringList{QStringLiteral("RW_A.rep")});
    // Once the wait is over the menu answers again.
    EXPECT_TRUE(control<QTabWidget>(main.w, "SSTab1")->isEnabled());
}

TEST_F(WaitGuardTest, ASecondPullBackReportsDuringTheFirstOpensNothing) {
    menutest::OpenedWindows opened;
    QPushButton* pull = button("cmdbringreport");
    ASSERT_NE(pull, nullptr);
    server.on(kListLine).then([&](const QString&) { pull->click(); });

    Reports first;

    EXPECT_TRUE(opened.names.isEmpty());
    EXPECT_EQ(menutest::listed(first.lstDivision), QStringList{QStringLiteral("RW_A.rep")});
    pull->click();
    EXPECT_EQ(opened.names, QStringList{QStringLiteral("Reports")});
}

TEST_F(WaitGuardTest, TheWaitingWindowRefusesToCloseUntilTheWaitIsOver) {
    auto* window = new Reports;  // listed at once: no wait yet
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    QPointer<Reports> alive(window);
    bool closedDuringWait = true;
    server.on(kListLine).then([&](const QString&) {
        QTest::keyClick(window, Qt::Key_Escape);
        closedDuringWait = window->close();
    });

    // A second listing with the window showing, as a load after the first would run it.
    server.addFile("/usr/varnel/reports.txt", "RW_B.rep\n");
    window->Form_Load();

    EXPECT_FALSE(closedDuringWait);
    EXPECT_TRUE(window->isVisible());
    ASSERT_FALSE(alive.isNull());
    EXPECT_EQ(menutest::listed(window->lstDivision), QStringList{QStringLiteral("RW_B.rep")});
    EXPECT_TRUE(window->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(alive.isNull());
}

}  // namespace
