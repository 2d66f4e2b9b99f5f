// "Pull Back Last Reports Ran" over the fake server: the lines that make the list, the
// fetches of the list and of the report, and what becomes of the report on the PC.
#include "MenuTestSupport.h"
#include "menu/Reports.h"
#include "support/Controls.h"
#include "support/ProgramWindows.h"

#include "RecordingViewer.h"
#include "ScriptedPrompter.h"
#include "TempHome.h"
#include "common/Globals.h"
#include "common/ProgramClock.h"
#include "menu/fMain.h"
#include "reports/common/ReportTable.h"
#include "support/FakeServer.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>

#include <ostream>

using namespace quillon;
using testsupport::control;
using testsupport::FakeServer;
using testsupport::Prompt;

namespace {

using menutest::listed;
using menutest::readFile;

const QDateTime kDecember9th(QDate(2026, 12, 9), QTime(14, 30));

QByteArray golden(const char* name) {
    return readFile(QStringLiteral(QUILLON_SOURCE_DIR "/tests/rates/golden/") +
                    QLatin1String(name));
}

// The list window on site 1 "Sim" (server folder /usr/varnel), with the clock at
// 9 December 14:30 and US short date forms for the pricing report.
class ReportsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        testsupport::configureFakeSite(1);
        reports = home.file(QStringLiteral("Sim/Download/reports"));
    }
    void TearDown() override {
        QLocale::setDefault(QLocale::system());
    }
    // The list the server's shell lines leave in the report folder, and the reports in it.
    void listOnServer(const QString& remote, const QStringList& names) {
        server.addFile(remote, (names.join('\n') + '\n').toUtf8());
    }
    QString report(const QString& name) const { return reports + QLatin1Char('/') + name; }
    // Picks the item and double-clicks it as the user does.
    static void doubleClick(Reports& window, const QString& name) {
        menutest::doubleClick(window.lstDivision, name);
    }
    QStringList fetched() const {
        QStringList out;
        for (const auto& f : server.fetches()) out << f.remotePath;
        return out;
    }

    testsupport::TempHome home;
    quillon::SettableClock programClock{kDecember9th};
    testsupport::ScriptedPrompter prompter;
    testsupport::RecordingViewer viewer;
    FakeServer server;
    menutest::MainWindowOnSite main{QStringLiteral("Sim")};
    QString reports;
};

const QStringList kListLines{"sudo chgrp 'varneltail' reports.txt",
                             "sudo chown 'varneltail' reports.txt", "sudo chmod 666 reports.txt",
                             "sudo ls -1 *.rep > reports.txt"};

TEST_F(ReportsWindowTest, ListsTheServersReportsAsItsShellLinesMadeThem) {
    // Names that could reach outside the site folder are not offered.
    listOnServer("/usr/varnel/reports.txt", {"RW_A.rep", "RW_B.rep", "RW..up.rep", "RW\\back.rep"});
    // A list of the same name in the file-transfer login's start folder is another folder's.
    listOnServer("reports.txt", {"RW_STALE.rep"});

    Reports window;

    EXPECT_EQ(window.windowTitle(), QStringLiteral("Pull Back Last Reports Ran"));
    ASSERT_EQ(server.shellRequests().size(), 1u);
    EXPECT_EQ(server.shellRequests()[0].folder, QString("/usr/varnel"));
    EXPECT_EQ(server.shellRequests()[0].control, "wodSSH1");
    EXPECT_EQ(server.shellRequests()[0].target.login, "varneltail");
    // The shell changes to the folder once more before the list is fetched.
    EXPECT_EQ(server.lines(),
              QStringList{"cd '/usr/varnel'"} + kListLines + QStringList{"cd '/usr/varnel'"});
    EXPECT_FALSE(server.isShellOpen(0));
    ASSERT_EQ(server.filesRequests().size(), 1u);
    EXPECT_EQ(server.filesRequests()[0].target.login, "varnel");
    EXPECT_EQ(fetched(), QStringList{"/usr/varnel/reports.txt"});
    EXPECT_EQ(server.fetches()[0].localPath, report("reportsunix.txt"));

    EXPECT_EQ(listed(window.lstDivision), (QStringList{"RW_A.rep", "RW_B.rep"}));
    // Kept on the PC converted; the fetched Unix copy is gone.
    EXPECT_EQ(readFile(report(QStringLiteral("reports.txt"))),
              "RW_A.rep\r\nRW_B.rep\r\nRW..up.rep\r\nRW\\back.rep\r\n");
    EXPECT_FALSE(QFile::exists(report(QStringLiteral("reportsunix.txt"))));
    EXPECT_TRUE(prompter.prompts().empty());
}

TEST_F(ReportsWindowTest, BackupModeListsAndFetchesTheBackupFolder) {
    G().g_BackupReportsMode = true;
    listOnServer("/usr/varnel/backup/reports.txt", {"RW_OLD.rep"});
    server.addFile("/usr/varnel/backup/RW_OLD.rep", "from the backup\n");
    server.addFile("RW_OLD.rep", "from the site folder\n");

    Reports window;

    EXPECT_EQ(server.shellRequests()[0].folder, QString("/usr/varnel/backup"));
    EXPECT_EQ(server.lines(), QStringList{"cd '/usr/varnel/backup'"} + kListLines);
    EXPECT_EQ(listed(window.lstDivision), QStringList{QStringLiteral("RW_OLD.rep")});

    prompter.filePath(report(QStringLiteral("old.rtf")));
    doubleClick(window, QStringLiteral("RW_OLD.rep"));
    EXPECT_EQ(fetched(),
              (QStringList{"/usr/varnel/backup/reports.txt", "/usr/varnel/backup/RW_OLD.rep"}));
    EXPECT_EQ(readFile(report(QStringLiteral("old.rtf"))), QByteArray("from the backup\n"));
}

TEST_F(ReportsWindowTest, AFolderWithoutReportsGivesAnEmptyList) {
    server.addFile("/usr/varnel/reports.txt", QByteArray());
    Reports window;
    EXPECT_EQ(window.lstDivision->count(), 0);
    EXPECT_TRUE(prompter.prompts().empty());
    EXPECT_TRUE(QFile::exists(report(QStringLiteral("reports.txt"))));
}

struct CallCostCase {
    const char* answer;  // golden answer file put on the server as RWPC_CCAL.rep
    const char* report;  // golden pricing report
};
void PrintTo(const CallCostCase& c, std::ostream* os) {
    *os << c.answer;
}

class CallCostAnswer : public ReportsWindowTest,
                       public ::testing::WithParamInterface<CallCostCase> {};

TEST_P(CallCostAnswer, BecomesThePricingReport) {
    listOnServer("/usr/varnel/reports.txt", {"RWPC_CCAL.rep"});
    server.addFile("/usr/varnel/RWPC_CCAL.rep", golden(GetParam().answer));
    server.addFile("RWPC_CCAL.rep", "an answer in the file-transfer login's start folder\n");
    Reports window;
    G().g_PullErrors = false;
    const QString chosen = report(QStringLiteral("12-09_14-30_RWPC_CCAL.rtf"));
    prompter.filePath(chosen);

    doubleClick(window, QStringLiteral("RWPC_CCAL.rep"));

    EXPECT_EQ(fetched(), (QStringList{"/usr/varnel/reports.txt", "/usr/varnel/RWPC_CCAL.rep"}));
    EXPECT_EQ(server.fetches()[1].localPath, home.file(QStringLiteral("Sim/RWPC_CCAL.rep")));
    ASSERT_EQ(prompter.prompts().size(), 1u);
    EXPECT_EQ(prompter.prompts().front().file.proposedName,
              QStringLiteral("12-09_14-30_RWPC_CCAL.rtf"));
    EXPECT_EQ(readFile(chosen), golden(GetParam().report));
    EXPECT_EQ(QDir(reports).entryList({QStringLiteral("*unix")}, QDir::Files), QStringList());
    EXPECT_FALSE(QFile::exists(home.file(QStringLiteral("Sim/RWPC_CCAL.rep"))));
    EXPECT_EQ(viewer.opened, QStringList{chosen});
    // The double click closes the window.
    EXPECT_TRUE(G().g_PullErrors);
    EXPECT_EQ(window.result(), QDialog::Rejected);
}

INSTANTIATE_TEST_SUITE_P(BothShapes, CallCostAnswer,
                         ::testing::Values(CallCostCase{"standard_CCAL.rep", "standard_CCAL.txt"},
                                           CallCostCase{"tiv_CCAL.rep", "tiv_CCAL.txt"}));

TEST_F(ReportsWindowTest, ALowerCaseCallCostNameKeepsTheRawAnswer) {
    listOnServer("/usr/varnel/reports.txt", {"RWPC_CCAL.rep"});
    server.addFile("/usr/varnel/RWPC_CCAL.rep", golden("standard_CCAL.rep"));
    Reports window;
    prompter.filePath(report(QStringLiteral("12-09_14-30_rwpc_ccal.rtf")));
    doubleClick(window, QStringLiteral("RWPC_CCAL.rep"));
    EXPECT_EQ(readFile(report(QStringLiteral("12-09_14-30_rwpc_ccal.rtf"))),
              golden("standard_CCAL.rep"));
}

TEST_F(ReportsWindowTest, AnAnswerThatCannotBeReadIsKeptAndTold) {
    listOnServer("/usr/varnel/reports.txt", {"RWPC_CCAL.rep"});
    server.addFile("/usr/varnel/RWPC_CCAL.rep", "1,2,3\n");
    Reports window;
    const QString chosen = report(QStringLiteral("12-09_14-30_RWPC_CCAL.rtf"));
    prompter.filePath(chosen).ok();

    doubleClick(window, QStringLiteral("RWPC_CCAL.rep"));

    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages().front().contains(QStringLiteral("pricing report")));
    EXPECT_EQ(readFile(chosen), QByteArray("1,2,3\n"));
    EXPECT_FALSE(QFile::exists(chosen + QStringLiteral("unix")));
    EXPECT_EQ(viewer.opened, QStringList{chosen});
}

TEST_F(ReportsWindowTest, CancelDeletesTheFetchedReport) {
    listOnServer("/usr/varnel/reports.txt", {"RW_C.rep"});
    server.addFile("/usr/varnel/RW_C.rep", "c\n");
    Reports window;
    prompter.cancelFile();
    doubleClick(window, QStringLiteral("RW_C.rep"));
    EXPECT_FALSE(QFile::exists(home.file(QStringLiteral("Sim/RW_C.rep"))));
    EXPECT_EQ(QDir(reports).entryList({QStringLiteral("*.rtf")}, QDir::Files), QStringList());
    EXPECT_TRUE(viewer.opened.isEmpty());
}

TEST_F(ReportsWindowTest, AReportGoneFromTheServerIsToldAndNoOldCopyShown) {
    listOnServer("/usr/varnel/reports.txt", {"RW_GONE.rep"});
    Reports window;
    home.write(QStringLiteral("Sim/RW_GONE.rep"), "left from an earlier run");
    prompter.ok();

    doubleClick(window, QStringLiteral("RW_GONE.rep"));

    ASSERT_EQ(prompter.prompts().size(), 1u);
    EXPECT_EQ(prompter.prompts().front().kind, Prompt::Kind::Message);
    EXPECT_EQ(
        prompter.messages().front(),
        "The report /usr/varnel/RW_GONE.rep could not be brought back from the server.\r\n\r\n"
        "Could not fetch /usr/varnel/RW_GONE.rep: the server has no such file");
    EXPECT_FALSE(QFile::exists(home.file(QStringLiteral("Sim/RW_GONE.rep"))));
    EXPECT_TRUE(viewer.opened.isEmpty());
}

TEST_F(ReportsWindowTest, CancelButtonClosesAndLetsTheErrorPullRunAgain) {
    server.addFile("/usr/varnel/reports.txt", QByteArray());
    Reports window;
    window.show();
    G().g_PullErrors = false;
    window.cmdcancel->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(G().g_PullErrors);
}

TEST_F(ReportsWindowTest, KeepsItsMinimumSize) {
    server.addFile("/usr/varnel/reports.txt", QByteArray());
    Reports window;
    EXPECT_EQ(control<QLabel>(window, "Label1")->text(),
              QStringLiteral("Double click on the report you want to view"));
    EXPECT_EQ(window.cmdcancel->text(), QStringLiteral("&Cancel"));
    window.show();
    window.resize(100, 100);
    EXPECT_GE(window.width(), 256);
    EXPECT_GE(window.height(), 267);
}

// Each step that can fail says so and leaves the list empty; nothing after it is sent.
TEST_F(ReportsWindowTest, AFailingStepIsToldAndLeavesTheListEmpty) {
    struct Case {
        const char* name;
        std::function<void(FakeServer&)> breakIt;
        const char* said;
        int linesSent;
    };
    const Case cases[] = {
        {"login refused",
         [](FakeServer& s) {
             s.failOpen(kSessionLoginRefused,
                        "The server 10.0.0.9 refused the login varneltail: wrong password?");
         },
         "The list of reports could not be made on the server.\r\n\r\nThe server 10.0.0.9 "
         "refused the login varneltail: wrong password?",
         0},
        {"folder missing",
         [](FakeServer& s) {
             s.on("cd '/usr/varnel'").reply("bash: cd: /usr/varnel: No such file or directory\n");
         },
         "The list of reports could not be made on the server.\r\n\r\nCould not change to the "
         "folder /usr/varnel on the server: bash: cd: /usr/varnel: No such file or directory",
         1},
        {"session dropped",
         [](FakeServer& s) { s.on("sudo chmod 666 reports.txt").dropsSession(); },
         "The list of reports could not be made on the server.\r\n\r\nThe server closed the "
         "session while running: sudo chmod 666 reports.txt",
         4},
        {"no list", [](FakeServer&) {},
         "The list of reports could not be brought back from the server.\r\n\r\nCould not "
         "fetch /usr/varnel/reports.txt: the server has no such file",
         6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeServer local;
        c.breakIt(local);
        testsupport::ScriptedPrompter script;
        script.ok();
        Reports window;
        EXPECT_EQ(script.messages(), QStringList{c.said});
        EXPECT_EQ(script.prompts().front().icon, platform::Icon::Critical);
        EXPECT_EQ(local.lines().size(), c.linesSent);
        EXPECT_EQ(window.lstDivision->count(), 0);
        EXPECT_FALSE(local.isShellOpen(0));
    }
}

}  // namespace
