// The report windows against the stand-in server: Run writes the request file on the server,
// the report program runs on it, and the main window fetches, names and opens the report.
#include "support/ProgramWindows.h"
#include "widgets/WindowRegistry.h"
#include "reports/selection/fAuth.h"
#include "reports/selection/fDetailReport.h"
#include "reports/selection/fWatchdog.h"
#include "reports/selection/fcost.h"
#include "reports/selection/funusedstations.h"

#include "SelectionTestSupport.h"
#include "common/Globals.h"
#include "reports/common/ReportTable.h"
#include "menu/fMain.h"
#include "platform/SystemInfo.h"
#include "reports/common/ReportRun.h"
#include "support/RecordingViewer.h"
#include "support/SimServer.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QThread>
#include <QTimer>

#include <memory>
#include <ostream>

using namespace quillon;
using testsupport::SimServer;

namespace {

class SelectionSimTest : public testsupport::SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        if (IsSkipped()) return;
        selectiontest::writeTables(home);
        // A computer name of this process's own: other test programs may use the server's
        // folder at the same time.
        platform::SystemInfo::setComputerNameOverride(pc());
        SimServer::configureSite(1);
        G().g_CurSite = 1;
        setReportClock([] { return QDateTime(QDate(2026, 12, 9), QTime(14, 30)); });
        main = fMain::instance();
        main->cboSites->addItems({"Default", "North"});
        main->cboSites->setCurrentIndex(1);
        for (const char* tag : {"DETAIL", "COST", "UNUSED", "WDOG", "AUTH"})
            for (const char* ext : {".TMP", ".rep"}) SimServer::removeSiteFile(file(tag, ext));
    }
    void TearDown() override {
        ReportRun::setReportDeadlineSec(0);
        setReportClock({});
        if (main) fMain::unloadInstance();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        SimTest::TearDown();
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
    QString reportsFile(const QString& name) const {
        return home.file("North/Download/reports/" + name);
    }
    static QByteArray fileBytes(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    testsupport::TempHome home;
    testsupport::ScriptedPrompter prompter;
    testsupport::RecordingViewer viewer;
    fMain* main = nullptr;
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
    // The old report goes first, then the whole request, then the program.
    const QStringList shell = SimServer::shellLines();
    const int run = shell.indexOf("./ORV_B1 2 " + file("DETAIL", ".TMP"));
    ASSERT_GE(run, queued.size() + 1) << shell.join('\n').toStdString();
    EXPECT_EQ(shell.mid(run - queued.size(), queued.size()), queued);
    EXPECT_EQ(shell[run - queued.size() - 1], "rm -f '" + file("DETAIL", ".rep") + "'");
    EXPECT_TRUE(w.queuedCommands().isEmpty());

    ASSERT_EQ(prompter.prompts().size(), 1u);
    EXPECT_EQ(prompter.prompts()[0].file.proposedName, "12-09_14-30_detail.rtf");
    EXPECT_EQ(viewer.opened, QStringList{chosen});
    EXPECT_TRUE(fileBytes(chosen).startsWith(
        ("Detail Report\nProgram: ORV_B1 2 " + file("DETAIL", ".TMP") + "\n").toUtf8()));
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(G().g_ReportFileName, file("DETAIL", ".rep"));
}

struct EndToEndCase {
    const char* name;
    std::function<std::unique_ptr<ReportWindow>()> open;
    std::function<void(ReportWindow&)> choose;
    const char* program;
    const char* tag;
    const char* title;
    const char* itemLine;
    const char* localName;
};
void PrintTo(const EndToEndCase& c, std::ostream* os) {
    *os << c.name;
}

class EndToEndTest : public SelectionSimTest, public ::testing::WithParamInterface<EndToEndCase> {};

TEST_P(EndToEndTest, RunsTheProgramAndOpensItsReport) {
    const EndToEndCase& c = GetParam();
    const QString request = file(c.tag, ".TMP");
    SimServer::removeSiteFile(request);
    home.write("KTReports.ini", "[Site2]\r\nNumWDogEntries=1\r\nwdognum0=555\r\n");
    std::unique_ptr<ReportWindow> w = c.open();
    c.choose(*w);
    const QString chosen = reportsFile(QString::fromLatin1(c.localName));
    prompter.filePath(chosen);
    w->Command1_Click();

    EXPECT_TRUE(prompter.exhausted());
    EXPECT_EQ(calls(c.program), QStringList{"2 " + request});
    const QByteArray file = SimServer::readSiteFile(request);
    EXPECT_TRUE(file.startsWith("L lp\nS\n")) << file.data();
    EXPECT_TRUE(file.contains(QByteArray("\n") + c.itemLine + "\n")) << file.data();
    EXPECT_EQ(viewer.opened, QStringList{chosen});
    const QByteArray report = fileBytes(chosen);
    EXPECT_TRUE(report.startsWith(QByteArray(c.title) + "\n")) << report.data();
    EXPECT_TRUE(report.endsWith(file)) << report.data();
}

INSTANTIATE_TEST_SUITE_P(
    Windows, EndToEndTest,
    ::testing::Values(
        EndToEndCase{"Cost", selectiontest::opener<ReportWindow, fcost>,
                     [](ReportWindow& w) {
                         selectiontest::selectShown(dynamic_cast<SelectionReportWindow&>(w),
                                                    {"0003 Operations"});
                     },
                     "ORV_B6", "COST", "Cost Report", "2 0003", "cost.rtf"},
        EndToEndCase{"Unused", selectiontest::opener<ReportWindow, funusedstations>,
                     [](ReportWindow& w) {
                         auto& s = dynamic_cast<SelectionReportWindow&>(w);
                         s.Optreporttype[1]->setChecked(true);
                         s.allBoxes[1]->setChecked(true);
                     },
                     "ORV_B6N", "UNUSED", "UnUsed Station Report", "4 0", "unused.rtf"},
        EndToEndCase{"Watchdog", selectiontest::opener<ReportWindow, fWatchdog>,
                     [](ReportWindow& w) {
                         auto& wd = dynamic_cast<fWatchdog&>(w);
                         wd.txtitem->setText("5551234");
                         wd.cmdadd_Click();
                     },
                     "ORV_B5", "WDOG", "Watch Dog Report", "PH-5551234", "wdog.rtf"},
        EndToEndCase{"Auth", selectiontest::opener<ReportWindow, fAuth>,
                     [](ReportWindow& w) {
                         selectiontest::selectShown(dynamic_cast<SelectionReportWindow&>(w),
                                                    {"0007 Legal"});
                     },
                     "ORV_B8", "AUTH", "Authorization Code Report", "2  7", "auth.rtf"}),
    [](const auto& info) { return std::string(info.param.name); });

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

// An earlier run's report waits on the server: a run that does not produce its own must not
// show that one.
TEST_F(SelectionSimTest, ASlowReportPastTheDeadlineIsToldAndNotFetched) {
    SimServer::writeSiteFile(file("DETAIL", ".rep"), "an old report\n");
    SimServer::setKnob("ORV_B1.delay", "5");
    ReportRun::setReportDeadlineSec(2);
    fDetailReport w;
    w.show();
    selectiontest::selectShown(w, {"0012 Front Desk"});
    prompter.ok();
    // While the report runs the window keeps its timers, and closing it waits for the run.
    QString during;
    QTimer::singleShot(1500, &w, [&] {
        during = w.lblrunning->text();
        w.close();
    });
    QElapsedTimer clock;
    clock.start();
    w.Command1_Click();
    EXPECT_LT(clock.elapsed(), 4500);
    EXPECT_EQ(during, "Report Running.");
    EXPECT_TRUE(w.isVisible());

    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].contains("did not finish within 2 seconds"))
        << prompter.messages()[0].toStdString();
    EXPECT_EQ(prompter.prompts()[0].icon, platform::Icon::Critical);
    EXPECT_TRUE(viewer.opened.isEmpty());
    EXPECT_FALSE(SimServer::siteFileExists(file("DETAIL", ".rep")));
    EXPECT_TRUE(w.Command1->isVisibleTo(&w));
    EXPECT_NE(w.result(), QDialog::Accepted);
    // The program ended with the session: no late report turns up.
    QThread::msleep(4000);
    EXPECT_FALSE(SimServer::siteFileExists(file("DETAIL", ".rep")));
}

TEST_F(SelectionSimTest, AProgramThatWritesNoReportIsToldAndNothingFetched) {
    SimServer::writeSiteFile(file("DETAIL", ".rep"), "an old report\n");
    home.write("North/detail.rep", "an old local copy\n");
    SimServer::setKnob("ORV_B1.no_report");
    fDetailReport w;
    selectiontest::selectShown(w, {"0012 Front Desk"});
    prompter.ok();
    w.Command1_Click();

    EXPECT_EQ(calls("ORV_B1"), QStringList{"2 " + file("DETAIL", ".TMP")});
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].contains("without writing " + file("DETAIL", ".rep")));
    EXPECT_TRUE(viewer.opened.isEmpty());
    EXPECT_TRUE(w.Command1->isEnabled());
    EXPECT_TRUE(w.Command1->isVisibleTo(&w));
}

TEST_F(SelectionSimTest, BackupReportsRunInTheBackupFolder) {
    // A site folder of this test's own, so no other test's backup folder is touched.
    const QString site = SimServer::siteDir() + "/selection-backup-site";
    QDir(site).removeRecursively();
    ASSERT_TRUE(SimServer::makeSite(site));
    ASSERT_TRUE(SimServer::makeSite(site + "/backup"));
    SimServer::configureSite(1, site);
    G().g_BackupReportsMode = true;
    fcost w;
    selectiontest::selectShown(w, {"0001 Rooms"});
    prompter.filePath(reportsFile("backup-cost.rtf"));
    w.Command1_Click();

    EXPECT_TRUE(QFile::exists(site + "/backup/" + file("COST", ".TMP")));
    EXPECT_FALSE(QFile::exists(site + "/" + file("COST", ".TMP")));
    EXPECT_EQ(viewer.opened, QStringList{reportsFile("backup-cost.rtf")});
    EXPECT_TRUE(fileBytes(reportsFile("backup-cost.rtf")).startsWith("Cost Report\n"));
    QDir(site).removeRecursively();
}

TEST_F(SelectionSimTest, AFailedSessionIsToldAndTheRunButtonComesBack) {
    struct Case {
        const char* name;
        std::function<void()> breakIt;
        const char* said;
    };
    const Case cases[] = {
        {"closed port", [] { G().g_SiteSSHPort[1] = "1"; }, "Could not connect"},
        {"missing folder", [] { G().g_SiteHomedir[1] = "/usr/varnel/no such folder"; },
         "could not change to the folder"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimServer::configureSite(1);
        c.breakIt();
        testsupport::ScriptedPrompter local;
        fDetailReport w;
        selectiontest::selectShown(w, {"0012 Front Desk"});
        local.ok();
        w.Command1_Click();
        ASSERT_EQ(local.messages().size(), 1);
        EXPECT_TRUE(local.messages()[0].contains(c.said)) << local.messages()[0].toStdString();
        EXPECT_TRUE(w.Command1->isVisibleTo(&w));
        EXPECT_TRUE(w.Command1->isEnabled());
        EXPECT_FALSE(w.lblrunning->isVisibleTo(&w));
        EXPECT_TRUE(viewer.opened.isEmpty());
    }
    EXPECT_TRUE(SimServer::calls("ORV_B1").isEmpty());
}

}  // namespace
