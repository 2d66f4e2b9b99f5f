// A site whose name cannot name its folder (it would lead out of the program folder, or it is
// the default site's): the main window's site box never switches to it, and the work that
// builds local paths from the current site's name makes, reads and deletes nothing for it.
#include "support/Controls.h"
#include "support/ProgramWindows.h"
#include "widgets/WindowRegistry.h"

#include "common/Globals.h"
#include "common/SiteContext.h"
#include "menu/fMain.h"
#include "platform/SystemInfo.h"
#include "remote/TablePull.h"
#include "reports/common/ReportRetrieval.h"
#include "reports/common/ReportTable.h"
#include "support/FakeServer.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QSignalBlocker>

using testsupport::control;

using namespace quillon;

namespace {

// The program folder one level down, with a file where a name leading upwards would hit.
class RefusedSiteName : public ::testing::Test {
protected:
    RefusedSiteName() {
        QDir().mkpath(program());
        platform::SystemInfo::setProgramFolder(program());
        home.write("x/detail.rep", "x\n");
        G().g_SiteCount = 4;
        for (int i = 1; i < 4; ++i) {
            G().g_SiteIPAddress[i] = "127.0.0.1";
            G().g_SiteSSHPort[i] = "1";  // nothing listens: a fetch that went out fails at once
            G().g_SiteHomedir[i] = "/usr/varnel";
        }
    }
    QString program() const { return home.file("program"); }
    // Nothing was made below the program folder or beside it, and nothing was deleted.
    void expectNothingTouched() const {
        EXPECT_EQ(QDir(program()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  QStringList());
        EXPECT_EQ(QDir(home.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  (QStringList{"program", "x"}));
        EXPECT_EQ(home.read("x/detail.rep"), "x\n");
    }

    testsupport::TempHome home;
    testsupport::ScriptedPrompter prompter;
    testsupport::FakeServer server;
};

TEST_F(RefusedSiteName, IsNeverChosenInTheMainWindow) {
    QStringList opened;
    setWindowOpenHook([&](const QString& name) { opened << name; });
    fMain* main = fMain::instance();
    {
        const QSignalBlocker quiet(control<QComboBox>(main, "cboSites"));
        control<QComboBox>(main, "cboSites")->addItems({"Default", "North", "../x", "default"});
    }
    main->setListIndex(1);
    ASSERT_EQ(opened, QStringList{"fgetdata"});

    for (const int refused : {2, 3}) {
        SCOPED_TRACE(refused);
        testsupport::ScriptedPrompter answers;
        answers.ok();
        main->setListIndex(refused);
        ASSERT_EQ(answers.messages().size(), 1);
        EXPECT_TRUE(answers.messages()[0].startsWith(
            "This site cannot be used: the name \"" +
            control<QComboBox>(main, "cboSites")->itemText(refused)))
            << answers.messages()[0].toStdString();
        EXPECT_EQ(control<QComboBox>(main, "cboSites")->currentIndex(), 1);
        EXPECT_EQ(G().g_CurSite, 1);
        EXPECT_EQ(SiteContext::current().name(), "North");
        EXPECT_EQ(opened, QStringList{"fgetdata"});
    }
    setWindowOpenHook(nullptr);
    fMain::unloadInstance();
}

TEST_F(RefusedSiteName, ReportRetrievalTellsWhyAndFetchesNothing) {
    FixedSite site(2, "../x");
    SiteContext::install(&site);
    reportTable().clear();
    G().g_CurSite = 2;
    G().g_ReportFileName = "RETR_DETAIL.rep";
    prompter.ok();
    executeBatFileForReport(2, nullptr);
    SiteContext::install(nullptr);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].startsWith("This site cannot be used: "));
    EXPECT_TRUE(server.filesRequests().empty());
    expectNothingTouched();
}

TEST_F(RefusedSiteName, TheTablePullMakesAndDeletesNothing) {
    home.write("x/Bats/ext.csv", "1000,A\r\n");
    const TableMirrorResult result =
        RefreshSiteTables("../x", filesRequestForSite(2), siteServerFolder(2));
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.startsWith("This site cannot be used: "))
        << result.error.toStdString();
    EXPECT_TRUE(server.filesRequests().empty());
    EXPECT_EQ(home.read("x/Bats/ext.csv"), "1000,A\r\n");
}

}  // namespace
