// The report run end to end, on the stand-in server: Run writes the request file on the server,
// the report program runs on it, and the main window fetches, names and opens the report.
#include "reports/selection/fDetailReport.h"
#include "support/Controls.h"
#include "support/ProgramWindows.h"
#include "support/ReportSimTest.h"

#include "SelectionTestSupport.h"
#include "common/Globals.h"
#include "common/ProgramClock.h"
#include "menu/fMain.h"
#include "platform/SystemInfo.h"
#include "remote/CheckedLines.h"
#include "reports/common/ReportRun.h"
#include "reports/common/ReportTable.h"
#include "support/RecordingViewer.h"
#include "support/SimServer.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QFile>
#include <QListWidget>

using testsupport::control;

using namespace quillon;
using testsupport::SimServer;

namespace {

class SelectionSimTest : public testsupport::ReportSimTest {
protected:
    SelectionSimTest() : ReportSimTest(pc()) {}
    void SetUp() override {
        ReportSimTest::SetUp();
        if (IsSkipped()) return;
        selectiontest::writeTables(home);
        for (const char* tag : {"DETAIL", "COST", "UNUSED", "WDOG", "AUTH"})
            for (const char* ext : {".TMP", ".rep"}) SimServer::removeSiteFile(file(tag, ext));
    }
    static QString pc() {
        return QStringLiteral("SEL%1").arg(QCoreApplication::applicationPid() % 100000);
    }
    static QString file(const char* tag, const char* ext) {
        return pc() + QLatin1Char('_') + QLatin1String(tag) + QLatin1String(ext);
    }
    // This process's calls of the program.
    static QStringList calls(const QString& program) {
        return SimServer::calls(program).filter(pc());
    }
};

TEST_F(SelectionSimTest, DetailRunEndsWithTheReportOpened) {
    fDetailReport w;
    selectiontest::selectShown(w, {"0014 Bar", "0012 Front Desk"});
    w.startdate->setDate(QDate(2026, 12, 9));
    w.enddate->setDate(QDate(2026, 12, 9));
    const QStringList queued = w.buildRequest().lines();
    const QString chosen = reportsFile("12-09_14-30_detail.rtf");
    prompter.filePath(chosen);
    w.Command1_Click();

    EXPECT_TRUE(prompter.messages().isEmpty()) << prompter.messages().join('|').toStdString();
    EXPECT_EQ(SimServer::readSiteFile(file("DETAIL", ".TMP")),
              "L lp\nS\nO\nA\nZ\nV\n5 0012\n5 0014\nDS 120926\nDE 120926\nTS 0001\nTE 2359\n");
    EXPECT_EQ(calls("ORV_B1"), QStringList{"2 " + file("DETAIL", ".TMP")});
    // The whole request, each line checked, then the old report goes, then the program.
    const QStringList shell = SimServer::shellLines();
    const int run = shell.indexOf("./ORV_B1 2 " + file("DETAIL", ".TMP"));
    ASSERT_GE(run, queued.size() + 1) << shell.join('\n').toStdString();
    QStringList checkedQueue;
    for (const QString& line : queued) checkedQueue << withExitStatus(line);
    EXPECT_EQ(shell.mid(run - queued.size() - 1, queued.size()), checkedQueue);
    EXPECT_EQ(shell[run - 1], withExitStatus("rm -f '" + file("DETAIL", ".rep") + "'"));
    EXPECT_TRUE(w.queuedCommands().isEmpty());

    ASSERT_EQ(prompter.prompts().size(), 1u);
    EXPECT_EQ(prompter.prompts()[0].file.proposedName, "12-09_14-30_detail.rtf");
    EXPECT_EQ(viewer.opened, QStringList{chosen});
    EXPECT_TRUE(fileBytes(chosen).startsWith(
        ("Detail Report\nProgram: ORV_B1 2 " + file("DETAIL", ".TMP") + "\n").toUtf8()));
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(G().g_ReportFileName, file("DETAIL", ".rep"));
}

TEST_F(SelectionSimTest, KeysHoldingQuotesReachTheFileLiterallyAndRunNothing) {
    home.write("North/Bats/ext.csv",
               "O'Brien,Quote Room\r\nx'; touch PWNED; echo ',Trap\r\n$(touch PWNED2),Trap 2\r\n");
    SimServer::removeSiteFile("PWNED");
    SimServer::removeSiteFile("PWNED2");
    fDetailReport w;
    w.allBoxes[1]->setChecked(true);
    w.optionBox("chkpostcalls")->setChecked(false);
    prompter.filePath(reportsFile("quotes.rtf"));
    w.Command1_Click();

    EXPECT_EQ(SimServer::readSiteFile(file("DETAIL", ".TMP")),
              "L lp\nS\nZ\nV\n5 $(touch PWNED2)\n5 O'Brien\n5 x'; touch PWNED; echo '\n");
    EXPECT_FALSE(SimServer::siteFileExists("PWNED"));
    EXPECT_FALSE(SimServer::siteFileExists("PWNED2"));
    EXPECT_EQ(calls("ORV_B1"), QStringList{"2 " + file("DETAIL", ".TMP")});
    EXPECT_EQ(viewer.opened, QStringList{reportsFile("quotes.rtf")});
}

}  // namespace
