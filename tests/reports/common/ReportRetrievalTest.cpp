// Report retrieval over the fake server: the fetch of the run's report, its dated name and the
// viewer; the report table it reads the names from.
#include "reports/common/ReportRetrieval.h"

#include "FakeServer.h"
#include "RecordingViewer.h"
#include "ScriptedPrompter.h"
#include "TempHome.h"
#include "common/Globals.h"
#include "common/ProgramClock.h"
#include "common/SiteContext.h"
#include "reports/common/ReportTable.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <ostream>

using namespace quillon;
using testsupport::FakeServer;
using testsupport::Prompt;

namespace {

const QDateTime kDecember9th(QDate(2026, 12, 9), QTime(14, 30, 59));

TEST(ReportTable, EntriesAndTheirLocalNames) {
    ReportTable table;
    table.fillAll();
    EXPECT_EQ(table.getReportName(1), QStringLiteral("telnet"));
    EXPECT_EQ(table.getReportName(2), QStringLiteral("detail.rep"));
    EXPECT_EQ(table.getReportName(7), QStringLiteral("24hour.rep"));
    EXPECT_EQ(table.getReportName(13), QStringLiteral("status.log"));
    EXPECT_EQ(table.getReportName(0), QString());
    EXPECT_EQ(table.getReportName(17), QString());
    // Several names are processed as separate names, in their order.
    EXPECT_EQ(table.reportNames(10),
              (QStringList{QStringLiteral("ERRORCOM"), QStringLiteral("ERROR.LOG"),
                           QStringLiteral("ERROR.PMS"), QStringLiteral("ERROR.911")}));
    for (int n = 1; n <= 16; ++n) EXPECT_TRUE(table.isConfigured(n)) << n;
    EXPECT_FALSE(table.isConfigured(0));
    EXPECT_FALSE(table.isConfigured(17));
    EXPECT_FALSE(table.isConfigured(-1));
}

TEST(ReportTable, ANumberOutsideTheTableIsToldAndChangesNothing) {
    testsupport::TempHome home;
    testsupport::ScriptedPrompter prompter;
    reportTable().clear();
    prompter.ok().ok();
    getBatPath(0);
    getBatPath(17);
    EXPECT_EQ(prompter.messages(),
              QStringList(2, QStringLiteral("Invalid Bat file number. Please contact your Varnel "
                                            "Reports Administrator.")));
    EXPECT_EQ(prompter.prompts().front().icon, platform::Icon::Exclamation);
    EXPECT_EQ(prompter.prompts().front().title, QStringLiteral("Varnel Reports"));
    EXPECT_FALSE(reportTable().isFilled());

    getBatPath(2);
    EXPECT_EQ(reportTable().sBatPath[2], QStringLiteral("ftp -s:\"") + home.path() +
                                             QStringLiteral("\\<site>\\Bats\\Detail.shp"));
    EXPECT_EQ(getReportName(2), QStringLiteral("detail.rep"));
    reportTable().clear();
}

struct NameCase {
    const char* fetched;
    QDateTime when;
    const char* proposed;
};
void PrintTo(const NameCase& c, std::ostream* os) {
    *os << c.fetched;
}

class ProposedName : public ::testing::TestWithParam<NameCase> {};

TEST_P(ProposedName, IsDatedAndEndsInRtf) {
    EXPECT_EQ(proposedReportName(QLatin1String(GetParam().fetched), GetParam().when),
              QLatin1String(GetParam().proposed));
}

INSTANTIATE_TEST_SUITE_P(
    Names, ProposedName,
    ::testing::Values(NameCase{"detail.rep", kDecember9th, "12-09_14-30_detail.rtf"},
                      NameCase{"24hour.rep", kDecember9th, "12-09_14-30_24hour.rtf"},
                      // 24-hour clock, leading zeros
                      NameCase{"PC1_CCAL.rep", QDateTime(QDate(2026, 3, 4), QTime(7, 5)),
                               "03-04_07-05_PC1_CCAL.rtf"},
                      NameCase{"abc", kDecember9th, "12-09_14-30_.rtf"}));

// Site 1 "Sim" chosen, as after choosing it in the main window; the run left RETR_DETAIL.rep.
class RetrievalTest : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::configureFakeSite(1);
        G().g_CurSite = 1;
        SiteContext::install(&site);
        // Filled on demand when the load did not fill it.
        reportTable().clear();
        G().g_ReportFileName = QStringLiteral("RETR_DETAIL.rep");
        server.addFile(QStringLiteral("/usr/varnel/RETR_DETAIL.rep"), "the new detail report\n");
        // The file-transfer login's start folder may hold an old report of the same name.
        server.addFile(QStringLiteral("RETR_DETAIL.rep"), "an old detail report\n");
        reports = home.file(QStringLiteral("Sim/Download/reports"));
    }
    void TearDown() override {
        SiteContext::install(nullptr);
    }
    QStringList fetched() const {
        QStringList out;
        for (const auto& f : server.fetches()) out << f.remotePath;
        return out;
    }
    QString report(const char* name) const { return reports + QLatin1Char('/') + name; }

    testsupport::TempHome home;
    quillon::SettableClock programClock{kDecember9th};
    testsupport::ScriptedPrompter prompter;
    testsupport::RecordingViewer viewer;
    FakeServer server;
    FixedSite site{1, QStringLiteral("Sim")};
    QString reports;
};

TEST_F(RetrievalTest, FetchedReportIsProposedUnderItsDatedNameAndOpened) {
    // Left from an earlier run, in another letter case: never shown as the new report.
    home.write(QStringLiteral("Sim/DETAIL.REP"), "an old report");
    prompter.filePath(report("12-09_14-30_detail.rtf"));

    executeBatFileForReport(2, nullptr);

    // One file session of the site's file-transfer login; the report from the site's server
    // folder, where the program wrote it, into the site folder under the report table's name.
    ASSERT_EQ(server.filesRequests().size(), 1u);
    EXPECT_EQ(server.filesRequests()[0].target.login, "varnel");
    EXPECT_EQ(fetched(), QStringList{"/usr/varnel/RETR_DETAIL.rep"});
    EXPECT_EQ(server.fetches()[0].localPath, home.file("Sim/detail.rep"));
    EXPECT_FALSE(server.isFilesOpen(0));
    ASSERT_EQ(prompter.prompts().size(), 1u);
    const Prompt& dialog = prompter.prompts().front();
    EXPECT_EQ(dialog.kind, Prompt::Kind::SaveFile);
    EXPECT_EQ(dialog.file.initialFolder, reports);
    EXPECT_EQ(dialog.file.proposedName, QStringLiteral("12-09_14-30_detail.rtf"));
    EXPECT_EQ(dialog.file.defaultSuffix, QStringLiteral("rtf"));
    EXPECT_EQ(home.read(QStringLiteral("Sim/Download/reports/12-09_14-30_detail.rtf")),
              QByteArray("the new detail report\n"));
    EXPECT_FALSE(QFile::exists(home.file(QStringLiteral("Sim/detail.rep"))));
    EXPECT_FALSE(QFile::exists(home.file(QStringLiteral("Sim/DETAIL.REP"))));
    EXPECT_EQ(viewer.opened, QStringList{report("12-09_14-30_detail.rtf")});
}

TEST_F(RetrievalTest, TheReportsFolderIsFoundWhateverItsCase) {
    QDir().mkpath(home.file(QStringLiteral("Sim/download/REPORTS")));
    prompter.filePath(home.file(QStringLiteral("Sim/download/REPORTS/x.rtf")));
    executeBatFileForReport(2, nullptr);
    ASSERT_EQ(prompter.prompts().size(), 1u);
    EXPECT_EQ(prompter.prompts().front().file.initialFolder,
              home.file(QStringLiteral("Sim/download/REPORTS")));
    EXPECT_FALSE(QFile::exists(reports));
}

TEST_F(RetrievalTest, AnExistingNameIsAskedForAgainUntilItIsFree) {
    home.write(QStringLiteral("Sim/Download/reports/first.rtf"), "first");
    home.write(QStringLiteral("Sim/Download/reports/second.rtf"), "second");
    prompter.filePath(report("first.rtf"))
        .ok()
        .filePath(report("second.rtf"))
        .ok()
        .filePath(report("third.rtf"));

    executeBatFileForReport(2, nullptr);

    EXPECT_EQ(prompter.messages(),
              QStringList(2, QStringLiteral("File already exist please rename file.")));
    EXPECT_TRUE(prompter.exhausted());
    // The dialog comes back with the name the user chose.
    EXPECT_EQ(prompter.prompts()[2].file.proposedName, QStringLiteral("first.rtf"));
    EXPECT_EQ(home.read(QStringLiteral("Sim/Download/reports/first.rtf")), QByteArray("first"));
    EXPECT_EQ(home.read(QStringLiteral("Sim/Download/reports/second.rtf")), QByteArray("second"));
    EXPECT_EQ(home.read(QStringLiteral("Sim/Download/reports/third.rtf")),
              QByteArray("the new detail report\n"));
    EXPECT_EQ(viewer.opened, QStringList{report("third.rtf")});
}

TEST_F(RetrievalTest, CancelDeletesTheFetchedFileAndOpensNothing) {
    // Cancel in the first showing, then in the one after an existing name.
    for (const bool afterExisting : {false, true}) {
        SCOPED_TRACE(afterExisting);
        testsupport::ScriptedPrompter script;
        home.write(QStringLiteral("Sim/Download/reports/taken.rtf"), "taken");
        if (afterExisting) script.filePath(report("taken.rtf")).ok();
        script.cancelFile();

        executeBatFileForReport(2, nullptr);

        EXPECT_TRUE(script.exhausted());
        EXPECT_FALSE(QFile::exists(home.file(QStringLiteral("Sim/detail.rep"))));
        EXPECT_EQ(home.read(QStringLiteral("Sim/Download/reports/taken.rtf")), QByteArray("taken"));
        EXPECT_EQ(QDir(reports).entryList(QDir::Files), QStringList{QStringLiteral("taken.rtf")});
        EXPECT_TRUE(viewer.opened.isEmpty());
    }
}

TEST_F(RetrievalTest, BackupModeFetchesFromTheBackupFolder) {
    server.addFile(QStringLiteral("/usr/varnel/backup/RETR_DETAIL.rep"), "the backup's report\n");
    G().g_BackupReportsMode = true;
    prompter.filePath(report("b.rtf"));

    executeBatFileForReport(2, nullptr);

    EXPECT_EQ(fetched(), QStringList{"/usr/varnel/backup/RETR_DETAIL.rep"});
    EXPECT_EQ(home.read(QStringLiteral("Sim/Download/reports/b.rtf")),
              QByteArray("the backup's report\n"));
}

// Choosing "Default" in the main window leaves the last site's index in the globals; the
// report comes from the chosen site's login and folder, never from one site's login with
// another's folder.
TEST_F(RetrievalTest, TheLoginAndTheFolderAreBothTheChosenSites) {
    testsupport::configureFakeSite(0, QStringLiteral("/usr/default"));
    G().g_SiteUsername[0] = QStringLiteral("defaultuser");
    const FixedSite chosen{0, QStringLiteral("Default")};
    SiteContext::install(&chosen);
    server.addFile(QStringLiteral("/usr/default/RETR_DETAIL.rep"), "the default site's report\n");
    prompter.filePath(home.file(QStringLiteral("Default/Download/reports/d.rtf")));

    executeBatFileForReport(2, nullptr);

    ASSERT_EQ(server.filesRequests().size(), 1u);
    EXPECT_EQ(server.filesRequests()[0].target.login, "defaultuser");
    EXPECT_EQ(fetched(), QStringList{"/usr/default/RETR_DETAIL.rep"});
    EXPECT_EQ(home.read(QStringLiteral("Default/Download/reports/d.rtf")),
              QByteArray("the default site's report\n"));
}

TEST_F(RetrievalTest, AFetchThatFailsSaysSoAndShowsNoOldCopy) {
    home.write(QStringLiteral("Sim/detail.rep"), "left from an earlier run");
    G().g_ReportFileName = QStringLiteral("RETR_NOT_THERE.rep");
    prompter.ok();

    executeBatFileForReport(2, nullptr);

    ASSERT_EQ(prompter.prompts().size(), 1u);
    EXPECT_EQ(prompter.prompts().front().kind, Prompt::Kind::Message);
    EXPECT_EQ(prompter.messages().front(),
              "The report /usr/varnel/RETR_NOT_THERE.rep could not be brought back from the "
              "server.\r\n\r\nCould not fetch /usr/varnel/RETR_NOT_THERE.rep: the server has no "
              "such file");
    EXPECT_FALSE(QFile::exists(home.file(QStringLiteral("Sim/detail.rep"))));
    EXPECT_TRUE(viewer.opened.isEmpty());
}

TEST_F(RetrievalTest, ASessionThatDoesNotOpenIsToldAndShowsNoOldCopy) {
    home.write(QStringLiteral("Sim/detail.rep"), "left from an earlier run");
    server.failOpen(kSessionLoginRefused,
                    "The server 10.0.0.9 refused the login varnel: wrong "
                    "password?");
    prompter.ok();

    executeBatFileForReport(2, nullptr);

    EXPECT_EQ(prompter.messages(),
              QStringList{"The report /usr/varnel/RETR_DETAIL.rep could not be brought back "
                          "from the server.\r\n\r\nThe server 10.0.0.9 refused the login varnel: wrong "
                          "password?"});
    EXPECT_EQ(prompter.prompts().front().icon, platform::Icon::Critical);
    EXPECT_FALSE(QFile::exists(home.file(QStringLiteral("Sim/detail.rep"))));
    EXPECT_TRUE(viewer.opened.isEmpty());
}

class UnconfiguredReport : public RetrievalTest, public ::testing::WithParamInterface<int> {};

TEST_P(UnconfiguredReport, IsToldAndFetchesNothing) {
    prompter.ok();
    executeBatFileForReport(GetParam(), nullptr);
    ASSERT_EQ(prompter.prompts().size(), 1u);
    const Prompt& box = prompter.prompts().front();
    EXPECT_EQ(box.text, QStringLiteral("No Report configured for this Report.\r\n"
                                       "Possible reason: error with IPAddress.\r\n"
                                       "Please contact your Varnel Reports Administrator."));
    EXPECT_EQ(box.icon, platform::Icon::Critical);
    EXPECT_EQ(box.title, QStringLiteral("Varnel Reports"));
    EXPECT_FALSE(QFile::exists(home.file(QStringLiteral("Sim/Download"))));
    EXPECT_TRUE(server.filesRequests().empty());
}

INSTANTIATE_TEST_SUITE_P(OutsideTheTable, UnconfiguredReport, ::testing::Values(0, 17, -1, 99));

}  // namespace
