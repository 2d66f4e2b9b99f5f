// Report retrieval end to end, on the stand-in server: the run's report fetched over SFTP,
// proposed under its dated name and opened.
#include "reports/common/ReportRetrieval.h"

#include "RecordingViewer.h"
#include "ScriptedPrompter.h"
#include "SimServer.h"
#include "TempHome.h"
#include "common/Globals.h"
#include "common/ProgramClock.h"
#include "common/SiteContext.h"
#include "reports/common/ReportTable.h"

#include <gtest/gtest.h>

using namespace quillon;
using testsupport::SimServer;

namespace {

const QDateTime kDecember9th(QDate(2026, 12, 9), QTime(14, 30, 59));

// The stand-in server's site chosen, as after choosing it in the main window: site 1 "Sim".
class RetrievalSimTest : public testsupport::SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        if (IsSkipped()) return;
        SimServer::configureSite(1);
        G().g_CurSite = 1;
        SiteContext::install(&site);
        // Filled on demand when the load did not fill it.
        reportTable().clear();
        G().g_ReportFileName = QStringLiteral("RETR_DETAIL.rep");
        SimServer::writeSiteFile(QStringLiteral("RETR_DETAIL.rep"), "the new detail report\n");
        reports = home.file(QStringLiteral("Sim/Download/reports"));
    }
    void TearDown() override {
        SimServer::removeSiteFile(QStringLiteral("RETR_DETAIL.rep"));
        SimServer::removeSiteFile(QStringLiteral("backup/RETR_DETAIL.rep"));
        SiteContext::install(nullptr);
        SimTest::TearDown();
    }
    QString report(const char* name) const { return reports + QLatin1Char('/') + name; }

    testsupport::TempHome home;
    quillon::SettableClock programClock{kDecember9th};
    testsupport::ScriptedPrompter prompter;
    testsupport::RecordingViewer viewer;
    FixedSite site{1, QStringLiteral("Sim")};
    QString reports;
};

TEST_F(RetrievalSimTest, TheRunsReportComesOverSftpAndOpensUnderItsDatedName) {
    prompter.filePath(report("12-09_14-30_detail.rtf"));

    executeBatFileForReport(2, nullptr);

    EXPECT_TRUE(prompter.exhausted());
    EXPECT_EQ(home.read(QStringLiteral("Sim/Download/reports/12-09_14-30_detail.rtf")),
              QByteArray("the new detail report\n"));
    EXPECT_EQ(viewer.opened, QStringList{report("12-09_14-30_detail.rtf")});
}

}  // namespace
