// The summary reports end to end on the stand-in server: the main window's button opens the
// window, Run writes the request on the server and runs the report program, and report
// retrieval fetches the report and offers it under its dated name. A report slower than its
// deadline, a Cancel and a report that never comes all end with nothing fetched.
#include "reports/summary/FAreacode.h"
#include "reports/summary/fAuditReport.h"
#include "reports/summary/fTrunk.h"
#include "reports/summary/fcrono.h"
#include "reports/summary/fstatsreport.h"
#include "support/Controls.h"
#include "support/ProgramWindows.h"
#include "support/ReportSimTest.h"

#include "SummaryTestSupport.h"
#include "common/Globals.h"
#include "common/ProgramClock.h"
#include "menu/fMain.h"
#include "platform/SystemInfo.h"
#include "reports/common/ReportRun.h"
#include "reports/common/ReportTable.h"
#include "support/RecordingViewer.h"
#include "support/SimServer.h"
#include "widgets/LongWaitCancel.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <memory>
#include <ostream>

using testsupport::control;

using namespace quillon;
using testsupport::SimServer;

namespace {

QString pc() {
    return QStringLiteral("SUM%1").arg(QCoreApplication::applicationPid() % 100000);
}
QString withPc(QString text) {
    return text.replace(QStringLiteral("<pc>"), pc());
}

using Drive = std::function<void(ReportWindow&)>;

struct EndToEnd {
    const char* name;
    const char* button;
    Drive choose;
    const char* request;   // the request file on the server, "" for none
    const char* report;    // the report the program left, as fetched
    const char* proposed;  // the dated name report retrieval offers
};
void PrintTo(const EndToEnd& c, std::ostream* os) {
    *os << c.name;
}

template <class W>
Drive as(std::function<void(W&)> f) {
    return [f](ReportWindow& w) {
        W* window = dynamic_cast<W*>(&w);
        ASSERT_NE(window, nullptr) << w.metaObject()->className();
        f(*window);
    };
}

const EndToEnd kWindows[] = {
    {"Audit", "cmdAudit",
     as<fAuditReport>([](fAuditReport& w) { w.Optaudit[1]->setChecked(true); }), "",
     "Audit Report\nProgram: ORV_B3 2c\n", "12-09_14-30_sum.rtf"},
    {"Stats", "cmdstats", as<fstatsreport>([](fstatsreport& w) {
         w.cboReportType->setCurrentIndex(3);
         w.txtValue->setText("30");
     }),
     "L lp\nDS 120126\nDE 120926\nTS 0001\nTE 2359\n2 30\nY\nS\nZ\nl-0000\n",
     "Statistics Report\nProgram: ORV_B4 2 <pc>_STATS.TMP\nRequest:\n", "12-09_14-30_stats.rtf"},
    {"Crono", "cmdcrono", as<fcrono>([](fcrono& w) { w.chksendprinter->setChecked(true); }),
     "L lp\nS\nDS 120126\nDE 120926\n",
     "Crono Report\nProgram: ORV_BD 2 <pc>_CRONO.TMP\nRequest:\n", "12-09_14-30_24hour.rtf"},
    {"Trunk", "cmdtrunk", as<fTrunk>([](fTrunk& w) {
         w.Optreporttype[1]->setChecked(true);
         w.Combotime->setCurrentIndex(1);
         summarytest::pick(*w.lists, {"0010 Hotel", "0003 Toll Free"});
         summarytest::chooseInterval(w, "30");
     }),
     "L lp\nS\nZ\nH 2\n4 0003\n4 0010\nRT 4\nI 30\n",
     "Trunk Report\nProgram: ORV_B2 2 <pc>_TRUNK.TMP\nRequest:\n", "12-09_14-30_trunk.rtf"},
    {"Area", "cmdAreaCode", as<FAreacode>([](FAreacode& w) {
         for (const char* code : {"212", "718"}) {
             w.txtarea->setText(code);
             w.cmdadd1->click();
         }
         summarytest::pick(*w.lists, {"0005 North A"});
         w.chksendprinter->setChecked(true);
     }),
     "L lp\nS\nA 212\nA 718\nG 0005\nDS 120126\nDE 120926\nTS 0001\nTE 2359\n",
     "Area Code Report\nProgram: ORV_B9 2 <pc>_AREA.TMP\nRequest:\n", "12-09_14-30_area.rtf"},
};

class SummarySimTest : public testsupport::ReportSimTest {
protected:
    SummarySimTest() : ReportSimTest(pc()) {}
    void SetUp() override {
        ReportSimTest::SetUp();
        if (IsSkipped()) return;
        summarytest::writeTables(home);
        removeServerFiles();
    }
    void TearDown() override {
        if (main) removeServerFiles();
        ReportSimTest::TearDown();
    }
    static void removeServerFiles() {
        for (const char* folder : {"", "backup/"}) {
            SimServer::removeSiteFile(QLatin1String(folder) + QStringLiteral("sum.rep"));
            for (const char* tag : {"STATS", "CRONO", "TRUNK", "AREA"})
                for (const char* ext : {".TMP", ".rep"})
                    SimServer::removeSiteFile(QLatin1String(folder) + pc() + QLatin1Char('_') +
                                              QLatin1String(tag) + QLatin1String(ext));
        }
    }

    // Clicks the main window's button (granted, as after a login); `drive` gets the window it
    // opened, once it shows. A window left open afterwards is closed.
    void clickAndDrive(const char* button, const Drive& drive) {
        QPushButton* b = main->commandButton(QLatin1String(button));
        ASSERT_NE(b, nullptr);
        b->setEnabled(true);
        bool driven = false;
        QTimer::singleShot(0, main, [&] {
            auto* w = qobject_cast<ReportWindow*>(QApplication::activeModalWidget());
            if (!w) {
                ADD_FAILURE() << "no report window opened";
                if (QWidget* other = QApplication::activeModalWidget()) other->close();
                return;
            }
            driven = true;
            if (w->startdate) summarytest::pickDecember(*w);
            drive(*w);
            if (w->isVisible()) w->reject();
        });
        b->click();
        EXPECT_TRUE(driven);
    }
    // A run that ends with `said` and nothing fetched.
    void expectNothingFetched(const QString& said, platform::Icon icon, qsizetype before = 0) {
        EXPECT_EQ(prompter.messages().mid(before), QStringList{said});
        ASSERT_FALSE(prompter.prompts().empty());
        EXPECT_EQ(prompter.prompts().back().icon, icon);
        EXPECT_TRUE(viewer.opened.isEmpty());
        EXPECT_TRUE(QDir(home.file("North/Download/reports")).isEmpty());
    }
};

class SummaryEndToEnd : public SummarySimTest, public ::testing::WithParamInterface<EndToEnd> {};

TEST_P(SummaryEndToEnd, ButtonRunFetchAndOffer) {
    const EndToEnd& c = GetParam();
    const QString chosen = reportsFile(QString::fromLatin1(c.proposed));
    prompter.filePath(chosen);
    clickAndDrive(c.button, [&](ReportWindow& w) {
        c.choose(w);
        w.Command1_Click();
        EXPECT_EQ(w.result(), QDialog::Accepted);
    });

    EXPECT_TRUE(prompter.messages().isEmpty()) << prompter.messages().join('|').toStdString();
    ASSERT_EQ(prompter.prompts().size(), 1u);
    EXPECT_EQ(prompter.prompts()[0].file.proposedName, c.proposed);
    EXPECT_EQ(viewer.opened, QStringList{chosen});
    const QByteArray request(c.request);
    if (!request.isEmpty()) EXPECT_EQ(SimServer::readSiteFile(G().g_ParamFileName), request);
    // The report program's answer names how it was called and holds the request word for word.
    EXPECT_EQ(fileBytes(chosen), withPc(QString::fromLatin1(c.report)).toLatin1() + request);
}

INSTANTIATE_TEST_SUITE_P(Windows, SummaryEndToEnd, ::testing::ValuesIn(kWindows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SummarySimTest, BackupModeRunsAndFetchesInTheBackupFolder) {
    G().g_BackupReportsMode = true;
    SimServer::writeSiteFile("sum.rep", "the live folder's audit\n");
    const QString chosen = reportsFile("backup-audit.rtf");
    prompter.filePath(chosen);
    clickAndDrive("cmdAudit", [](ReportWindow& w) { w.Command1_Click(); });

    EXPECT_EQ(fileBytes(chosen), "Audit Report\nProgram: ORV_B3 1c\n");
    EXPECT_TRUE(SimServer::siteFileExists("backup/sum.rep"));
    EXPECT_EQ(SimServer::readSiteFile("sum.rep"), "the live folder's audit\n");
    EXPECT_TRUE(SimServer::shellLines().contains("cd '" + SimServer::siteDir() + "/backup'"));

    // A report with a request file: the request, the report and the fetch all in the backup.
    const QString crono = reportsFile("backup-crono.rtf");
    prompter.filePath(crono);
    clickAndDrive("cmdcrono", [](ReportWindow& w) { w.Command1_Click(); });
    const QByteArray request = "L lp\nS\nZ\nDS 120126\nDE 120926\n";
    EXPECT_EQ(SimServer::readSiteFile("backup/" + pc() + "_CRONO.TMP"), request);
    EXPECT_FALSE(SimServer::siteFileExists(pc() + "_CRONO.TMP"));
    EXPECT_EQ(
        fileBytes(crono),
        withPc("Crono Report\nProgram: ORV_BD 2 <pc>_CRONO.TMP\nRequest:\n").toLatin1() + request);
    EXPECT_EQ(viewer.opened, (QStringList{chosen, crono}));
}

TEST_F(SummarySimTest, AReportSlowerThanItsDeadlineIsToldAndNothingFetched) {
    SimServer::setKnob("ORV_BD.delay", "5");
    ReportRun::setReportDeadlineSec(2);
    prompter.ok();
    clickAndDrive("cmdcrono", [](ReportWindow& w) {
        w.Command1_Click();
        EXPECT_NE(w.result(), QDialog::Accepted);
        EXPECT_TRUE(w.Command1->isVisible());
    });
    expectNothingFetched(
        "The report did not finish within 2 seconds. Nothing was fetched; please run it again "
        "later.",
        platform::Icon::Critical);
    EXPECT_EQ(SimServer::calls("ORV_BD"), QStringList{"2 " + pc() + "_CRONO.TMP"});
}

TEST_F(SummarySimTest, CancelDuringARunEndsItAndFetchesNothing) {
    SimServer::setKnob("ORV_B2.delay", "5");
    prompter.ok();
    clickAndDrive("cmdtrunk", [](ReportWindow& w) {
        summarytest::pick(*dynamic_cast<fTrunk&>(w).lists, {"0005 North A"});
        QTimer::singleShot(1000, &w, [&w] {
            EXPECT_TRUE(w.cmdcancelwait->isVisible());
            QTest::mouseClick(w.cmdcancelwait, Qt::LeftButton);
        });
        QElapsedTimer clock;
        clock.start();
        w.Command1_Click();
        EXPECT_LT(clock.elapsed(), 4000);
        EXPECT_TRUE(w.Command1->isVisible());
    });
    expectNothingFetched(
        "The report was cancelled. The server may still finish the work. Nothing was fetched.",
        platform::Icon::Information);
}

// A program that fails, or finishes without its report: told, and an old report of the same
// name is never fetched in its place.
TEST_F(SummarySimTest, AReportThatDoesNotComeIsToldAndNothingFetched) {
    for (const char* knob : {"ORV_B9.no_report", "ORV_B9.fail"}) {
        SCOPED_TRACE(knob);
        SimServer::clearKnobs();
        SimServer::setKnob(knob);
        SimServer::writeSiteFile(pc() + "_AREA.rep", "an earlier run's report\n");
        const qsizetype before = prompter.messages().size();
        prompter.ok();
        clickAndDrive("cmdAreaCode", [](ReportWindow& w) {
            summarytest::pick(*dynamic_cast<FAreacode&>(w).lists, {"0005 North A"});
            w.Command1_Click();
        });
        expectNothingFetched("The report program finished without writing " + pc() +
                                 "_AREA.rep. Nothing was fetched.",
                             platform::Icon::Critical, before);
        EXPECT_FALSE(SimServer::siteFileExists(pc() + "_AREA.rep"));
    }
}

}  // namespace
