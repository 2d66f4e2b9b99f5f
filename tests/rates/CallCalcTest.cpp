// The call calculator through the fake server: its boxes, the four checks of one press, the
// request bytes, the answer fetched from the site's folder or its backup folder and proven to
// be this call's, the pricing report and its dated name in Download/Call_Calc, and the files a
// cancelled save leaves (none).
#include "rates/fcallcalc.h"

#include "common/Globals.h"
#include "common/ProgramClock.h"
#include "remote/CheckedLines.h"
#include "reports/common/ReportTable.h"
#include "support/Controls.h"
#include "support/DebugLogLines.h"
#include "support/FakeServer.h"
#include "support/FakeSite.h"
#include "support/LocalShell.h"
#include "support/RecordingViewer.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"
#include "widgets/KeyedPickList.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace quillon;
using testsupport::control;
using testsupport::FakeSite;

namespace {

const QByteArray kAnswer617 =
    "617,555,Boston MA,5,0002,0.10,0.10,60,0.32,4,0.08,60,0.00,0.05,7.5,0.04,10,0.25,0.77\n";
const QByteArray kAnswer011 =
    "TIV,011,44,United Kingdom,12,0002,1,0.90,60,0.75,0,9.15,1.50,0,0.20,3,0.90,2.70,7,0.75,"
    "5.25,2,0.60,1.20,0,5,0.01,7.5,0.69,11.55\n";
const QString kReady = "test -f 'TESTPC_CCAL.rep' && echo REPORT''_READY";

class CallCalcTest : public ::testing::Test {
protected:
    CallCalcTest() {
        home.write("North/Bats/lt.csv", "1,Administrative\r\n2,Guest Room\r\n");
        server.on(kReady).reply("REPORT_READY\n");
    }

    void fill(fcallcalc& w, const QString& area, const QString& prefix, const QString& minutes) {
        if (!area.isEmpty()) w.txtarea->setText(area);
        w.txtprefix->setText(prefix);
        w.txtduration->setText(minutes);
        w.cboDivision->setCurrentIndex(1);
    }
    QString download(const QString& name = QString()) const {
        return home.file("North/Download" + (name.isEmpty() ? QString() : "/" + name));
    }
    QString callCalc(const QString& name) const { return download("Call_Calc/" + name); }
    QStringList downloadFiles() const {
        return QDir(download()).entryList(QDir::Files | QDir::NoDotAndDotDot);
    }

    testsupport::TempHome home;
    quillon::SettableClock programClock{QDateTime(QDate(2026, 12, 9), QTime(14, 5))};
    FakeSite site;
    testsupport::FakeServer server;
    testsupport::ScriptedPrompter prompter;
    testsupport::RecordingViewer viewer;
};

TEST_F(CallCalcTest, TheFormLoadsTheLineTypesAndMakesItsFolder) {
    fcallcalc w;
    EXPECT_EQ(w.windowTitle(), "Call Calculator");
    auto* shown = control<QComboBox>(w, "cboDivision");
    auto* twin = control<QComboBox>(w, "cboDivisionhidden");
    EXPECT_EQ(shown->itemText(1), "0002 Guest Room");
    EXPECT_EQ(twin->itemText(1), "0002");
    EXPECT_EQ(shown->currentIndex(), -1);
    EXPECT_TRUE(QFileInfo(callCalc("")).isDir());
    EXPECT_TRUE(w.tmrreport->isActive());
    EXPECT_TRUE(w.lblrunning->isHidden());
}

TEST_F(CallCalcTest, BoxesTakeThreeDigitsAndTheInternationalTickSetsTheCode) {
    fcallcalc w;
    for (QLineEdit* box : {w.txtarea, w.txtprefix, w.txtduration}) {
        box->setFocus();
        // Each letter, sign or point goes as it is typed; a fourth digit cannot be typed.
        QTest::keyClicks(box, "6a-1.7e5");
        EXPECT_EQ(box->text(), "617") << box->objectName().toStdString();
        box->setText("1e3");
        EXPECT_EQ(box->text(), "1");
    }
    w.txtarea->setText("617");
    w.chkinternational->setChecked(true);
    EXPECT_EQ(w.Lblareacode->text(), "International Code");
    EXPECT_EQ(w.lblprefix->text(), "Country Code");
    EXPECT_EQ(w.txtarea->text(), "011");
    EXPECT_FALSE(w.txtarea->isEnabled());
    w.chkinternational->setChecked(false);
    EXPECT_EQ(w.Lblareacode->text(), "Area Code");
    EXPECT_EQ(w.lblprefix->text(), "Prefix");
    EXPECT_EQ(w.txtarea->text(), "");
    EXPECT_TRUE(w.txtarea->isEnabled());
}

TEST_F(CallCalcTest, OnePressShowsEveryMissingEntryAndSendsNothing) {
    fcallcalc w;
    prompter.ok().ok().ok().ok();
    w.Command1_Click();
    EXPECT_EQ(prompter.messages(),
              (QStringList{"You must choose a line type", "You must enter an area code.",
                           "You must enter a prefix", "You must enter a duration"}));
    EXPECT_TRUE(server.shellRequests().empty());
    EXPECT_TRUE(w.Command1->isVisibleTo(&w));

    fill(w, "617", "", "5");
    prompter.ok();
    w.Command1_Click();
    EXPECT_EQ(prompter.messages().last(), "You must enter a prefix");
    EXPECT_TRUE(server.shellRequests().empty());
}

struct RunCase {
    const char* name;
    bool international;
    const char* area;
    const char* prefix;
    const char* minutes;
    bool backup;
    QByteArray answer;
    QString record;
    QString bareReport;
};
void PrintTo(const RunCase& c, std::ostream* os) {
    *os << c.name;
}

class CalcRuns : public CallCalcTest, public ::testing::WithParamInterface<RunCase> {};

TEST_P(CalcRuns, TheRequestTheAnswerTheReportAndItsDatedName) {
    const RunCase& c = GetParam();
    G().g_BackupReportsMode = c.backup;
    const QString folder = c.backup ? "/usr/varnel/backup" : "/usr/varnel";
    server.addFile(folder + "/TESTPC_CCAL.rep", c.answer);
    home.write("North/Download/TESTPC_CCAL.repunix", "an earlier call's answer\n");
    const QString chosen = callCalc("12-09_14-05_" + c.bareReport);
    prompter.filePath(chosen);

    fcallcalc w;
    w.show();
    w.chkinternational->setChecked(c.international);
    fill(w, c.area, c.prefix, c.minutes);
    w.Command1_Click();

    EXPECT_TRUE(prompter.messages().isEmpty()) << prompter.messages().join('|').toStdString();
    EXPECT_EQ(G().g_ParamFileName, "TESTPC_CCAL.TMP");
    EXPECT_EQ(G().g_ReportFileName, "TESTPC_CCAL.rep");
    EXPECT_EQ(server.linesOf(0).join('\n').toStdString(),
              QStringList({"cd '" + folder + "'",
                           withExitStatus("echo '" + c.record + "'>TESTPC_CCAL.TMP"),
                           withExitStatus("rm -f 'TESTPC_CCAL.rep'"),
                           "./ORV_CCAL 0 TESTPC_CCAL.TMP", kReady})
                  .join('\n')
                  .toStdString());
    EXPECT_EQ(testsupport::runLocally({server.linesOf(0)[1]}, "TESTPC_CCAL.TMP"),
              QStringList{c.record});
    ASSERT_EQ(server.fetches().size(), 1u);
    EXPECT_EQ(server.fetches()[0].remotePath, folder + "/TESTPC_CCAL.rep");

    // Proposed in Download/Call_Calc, dated by the run; the window is closed by then.
    ASSERT_EQ(prompter.prompts().size(), 1u);
    const auto& dialog = prompter.prompts()[0].file;
    EXPECT_EQ(QDir(dialog.initialFolder), QDir(callCalc("")));
    EXPECT_EQ(dialog.proposedName, "12-09_14-05_" + c.bareReport);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(viewer.opened, QStringList{chosen});
    const QByteArray report = home.read("North/Download/Call_Calc/12-09_14-05_" + c.bareReport);
    EXPECT_TRUE(report.contains(c.international ? "International Code    011\r\n"
                                                : "Area Code             617\r\n"))
        << report.constData();
    EXPECT_TRUE(downloadFiles().isEmpty()) << downloadFiles().join(' ').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Calculator, CalcRuns,
    ::testing::Values(RunCase{"Domestic", false, "617", "555", "5", false, kAnswer617,
                              "617,555,5,0002", "TESTPC_617-555_CCAL.rtf"},
                      RunCase{"InternationalFromTheBackup", true, "", "44", "12", true, kAnswer011,
                              "011,44,12,0002", "TESTPC_011-44_CCAL.rtf"}));

// What the run does when the answer is not this call's, or not there: it says so, makes no
// report, leaves no answer behind and gives the button back.
struct BadAnswerCase {
    const char* name;
    std::function<void(testsupport::FakeServer&)> serve;
    QString said;
};
void PrintTo(const BadAnswerCase& c, std::ostream* os) {
    *os << c.name;
}
class BadAnswers : public CallCalcTest, public ::testing::WithParamInterface<BadAnswerCase> {};

TEST_P(BadAnswers, AreToldAndNothingIsShown) {
    GetParam().serve(server);
    fcallcalc w;
    w.show();
    fill(w, "617", "555", "5");
    prompter.ok();
    w.Command1_Click();
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].contains(GetParam().said))
        << prompter.messages()[0].toStdString();
    EXPECT_TRUE(viewer.opened.isEmpty());
    EXPECT_TRUE(downloadFiles().isEmpty()) << downloadFiles().join(' ').toStdString();
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.Command1->isVisible());
    EXPECT_TRUE(w.Command1->isEnabled());
    EXPECT_TRUE(w.lblrunning->isHidden());
}

INSTANTIATE_TEST_SUITE_P(
    Calculator, BadAnswers,
    ::testing::Values(
        BadAnswerCase{
            "AnEarlierCallsAnswer",
            [](testsupport::FakeServer& s) {
                s.addFile("/usr/varnel/TESTPC_CCAL.rep",
                          QByteArray(kAnswer617).replace("617,555,Boston MA", "201,555,Newark NJ"));
            },
            "prices another call (201-555), not 617-555"},
        BadAnswerCase{"TwoLinesTheLastAnotherCall",
                      [](testsupport::FakeServer& s) {
                          s.addFile("/usr/varnel/TESTPC_CCAL.rep",
                                    kAnswer617 + QByteArray(kAnswer617).replace("617,", "508,"));
                      },
                      "prices another call (508-555)"},
        BadAnswerCase{"AShortRecord",
                      [](testsupport::FakeServer& s) {
                          s.addFile("/usr/varnel/TESTPC_CCAL.rep", "617,555,Boston,5,0002\n");
                      },
                      "has 5 fields where 19 are needed"},
        BadAnswerCase{"NoAnswerFile", [](testsupport::FakeServer& s) { s.on(kReady).reply(""); },
                      "finished without writing TESTPC_CCAL.rep"},
        BadAnswerCase{"TheFetchFails",
                      [](testsupport::FakeServer& s) {
                          s.failFetch("/usr/varnel/TESTPC_CCAL.rep", kSessionFailed, "gone");
                      },
                      "could not be brought back from the server (/usr/varnel/TESTPC_CCAL.rep)"},
        BadAnswerCase{
            "TheProgramTimesOut",
            [](testsupport::FakeServer& s) { s.on("./ORV_CCAL 0 TESTPC_CCAL.TMP").timesOut(); },
            "did not finish within"}));

// The calculator's run lines in the log: its own "RUNNING REPORT " with the trailing blank, and
// the done line before and after the session ends, only for a run that went through.
TEST_F(CallCalcTest, TheRunLinesOfTheLog) {
    const auto runLines = [] {
        QStringList out;
        for (const QString& line : testsupport::debugLogMessages())
            if (line.contains("RUNNING REPORT")) out << line;
        return out;
    };
    testsupport::startDebugLog();
    {
        server.on(kReady).reply("");
        fcallcalc w;
        fill(w, "617", "555", "5");
        prompter.ok();
        w.Command1_Click();
        EXPECT_EQ(runLines(), QStringList{"RUNNING REPORT "});
    }
    server.on(kReady).reply("REPORT_READY\n");
    server.addFile("/usr/varnel/TESTPC_CCAL.rep", kAnswer617);
    prompter.filePath(callCalc("run.rtf"));
    fcallcalc w;
    fill(w, "617", "555", "5");
    w.Command1_Click();
    EXPECT_EQ(runLines(), (QStringList{"RUNNING REPORT ", "RUNNING REPORT ", "DONE RUNNING REPORT",
                                       "DONE RUNNING REPORT"}));
}

// What the answer is checked against and the report is named after is what the run asked:
// keys typed into the boxes while the run waits change neither.
TEST_F(CallCalcTest, TypingDuringTheRunChangesNeitherTheCheckNorTheReportName) {
    server.addFile("/usr/varnel/TESTPC_CCAL.rep", kAnswer617);
    const QString chosen = callCalc("12-09_14-05_TESTPC_617-555_CCAL.rtf");
    prompter.filePath(chosen);
    fcallcalc w;
    w.show();
    fill(w, "617", "555", "5");
    server.on("./ORV_CCAL 0 TESTPC_CCAL.TMP").then([&](const QString&) {
        QTest::keyClick(w.txtprefix, Qt::Key_Backspace);
        QTest::keyClicks(w.txtprefix, "6");
        QTest::keyClicks(w.txtarea, "9");
    });
    w.Command1_Click();
    EXPECT_TRUE(prompter.messages().isEmpty()) << prompter.messages().join('|').toStdString();
    ASSERT_EQ(prompter.prompts().size(), 1u);
    EXPECT_EQ(prompter.prompts()[0].file.proposedName, "12-09_14-05_TESTPC_617-555_CCAL.rtf");
    EXPECT_EQ(viewer.opened, QStringList{chosen});
}

TEST_F(CallCalcTest, CancelInTheSaveDialogLeavesNeitherFile) {
    server.addFile("/usr/varnel/TESTPC_CCAL.rep", kAnswer617);
    prompter.cancelFile();
    fcallcalc w;
    fill(w, "617", "555", "5");
    w.Command1_Click();
    EXPECT_TRUE(prompter.exhausted());
    EXPECT_TRUE(downloadFiles().isEmpty()) << downloadFiles().join(' ').toStdString();
    EXPECT_TRUE(QDir(callCalc("")).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(viewer.opened.isEmpty());
}

TEST_F(CallCalcTest, ANameThatExistsIsAskedForAgainUntilItIsFree) {
    server.addFile("/usr/varnel/TESTPC_CCAL.rep", kAnswer617);
    home.write("North/Download/Call_Calc/taken.rtf", "keep me");
    home.write("North/Download/Call_Calc/taken2.rtf", "keep me too");
    prompter.filePath(callCalc("taken.rtf"))
        .ok()
        .filePath(callCalc("taken2.rtf"))
        .ok()
        .filePath(callCalc("free.rtf"));
    fcallcalc w;
    fill(w, "617", "555", "5");
    w.Command1_Click();
    EXPECT_EQ(prompter.messages(), (QStringList{"File already exist please rename file.",
                                                "File already exist please rename file."}));
    EXPECT_EQ(home.read("North/Download/Call_Calc/taken.rtf"), "keep me");
    EXPECT_EQ(home.read("North/Download/Call_Calc/taken2.rtf"), "keep me too");
    EXPECT_EQ(viewer.opened, QStringList{callCalc("free.rtf")});
    EXPECT_TRUE(home.read("North/Download/Call_Calc/free.rtf").startsWith("####"));
}

}  // namespace
