#include "startup/fgetdata.h"
#include "support/ProgramWindows.h"
#include "widgets/WindowRegistry.h"

#include "common/CommonFunctions.h"
#include "common/Globals.h"
#include "common/TableMirror.h"
#include "menu/fMain.h"
#include "platform/SystemInfo.h"
#include "support/ScriptedPrompter.h"
#include "support/SimServer.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>

#include <memory>

using quillon::fgetdata;
using quillon::fMain;
using quillon::G;
using testsupport::SimServer;

namespace {

// The main window with the site box showing `site` at index 1, the way its site switch leaves
// it just before it opens the connecting window.
void chooseSite(const QString& site, const QString& host = "127.0.0.1", int port = 1) {
    G().g_SiteCount = 2;
    G().g_SiteIPAddress[1] = host;
    G().g_SiteSSHPort[1] = QString::number(port);
    G().g_SiteSSHUser[1] = "varneltail";
    G().g_SiteUsername[1] = "varnel";
    G().g_SitePassword[1] = "v";
    G().g_SiteHomedir[1] = "/usr/varnel";
    G().g_SiteTailPbxFile[1] = "COLL.LOG";
    G().g_SiteTailPmsFile[1] = "pms_trn";
    fMain* main = fMain::instance();
    const QSignalBlocker quiet(main->cboSites);
    main->cboSites->clear();
    main->cboSites->addItems({"Default", site});
    main->cboSites->setCurrentIndex(1);
    G().g_CurSite = 1;
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// The debug log's messages (time stamps cut off), after the "OPENED" line.
QStringList logMessages() {
    QFile file(platform::SystemInfo::path("Logs/Mainlog.log"));
    file.open(QIODevice::ReadOnly);
    QStringList out;
    const QStringList lines = QString::fromLatin1(file.readAll()).split("\r\n", Qt::SkipEmptyParts);
    for (const QString& line : lines.mid(1)) out << line.mid(19);  // "Dec-09-08 14:05:33 "
    return out;
}

void startDebugLog() {
    G().g_DebugMode = true;
    QDir().mkpath(platform::SystemInfo::path("Logs"));
    quillon::OpenDebugLog(platform::SystemInfo::path("Logs/Mainlog.log"));
}

class Connecting : public ::testing::Test {
protected:
    ~Connecting() override {
        window.reset();
        if (fMain::isLoaded()) fMain::unloadInstance();
    }
    // Loads the window without letting its work timer fire on its own.
    fgetdata& load() {
        window = std::make_unique<fgetdata>();
        window->tmrNowLoad->stop();
        return *window;
    }

    testsupport::TempHome home;
    testsupport::ScriptedPrompter prompter;
    std::unique_ptr<fgetdata> window;
};

TEST_F(Connecting, TheDotsGrowToTenThenStartAgainAtOne) {
    chooseSite("North");
    fgetdata& w = load();
    auto* label = w.findChild<QLabel*>("lblgetdata");
    ASSERT_TRUE(label);
    EXPECT_EQ(label->text(), "Connecting to North");
    const QStringList expected = {".",         "..",         "...",     "....",
                                  ".....",     "......",     ".......", "........",
                                  ".........", "..........", ".",       ".."};
    for (const QString& dots : expected) {
        w.tmrgetdata_Timer();
        EXPECT_EQ(label->text(), "Connecting to North" + dots);
    }
    EXPECT_EQ(w.tmrgetdata->interval(), 1000);
    EXPECT_EQ(w.tmrNowLoad->interval(), 200);
    EXPECT_TRUE(w.tmrNowLoad->isSingleShot());
    EXPECT_TRUE(w.windowTitle().isEmpty());
}

TEST_F(Connecting, LoadEmptiesTheTableFolderButKeepsItsSubFolders) {
    chooseSite("North Wing");
    for (const char* f : {"North Wing/Bats/ext.csv", "North Wing/Bats/extunix.csv",
                          "North Wing/Bats/detail.shp", "North Wing/Bats/.hidden",
                          "North Wing/Bats/old/keep.txt", "North Wing/download/usernames.use",
                          "North Wing/download/usernameunix.use", "North Wing/download/report.rtf"})
        home.write(f, "x\n");
    fMain::instance()->Label33->setText("site lable");

    load();
    const QString bats = home.file("North Wing/Bats");
    EXPECT_EQ(filesIn(bats), QStringList());
    EXPECT_TRUE(QFileInfo::exists(bats + "/old/keep.txt"));
    EXPECT_EQ(filesIn(home.file("North Wing/download")), QStringList{"report.rtf"});
    // Written before any connection is made.
    EXPECT_EQ(fMain::instance()->Label33->text(), "Connected to: North Wing");
    EXPECT_TRUE(window->tmrgetdata->isActive());
}

// A table folder that is a link to another folder: the link goes, a folder of the site's own
// takes its place, and what it pointed to keeps every file.
TEST_F(Connecting, LoadRemovesALinkedTableFolderAndLeavesItsTarget) {
    chooseSite("North");
    home.write("Shared/ext.csv", "1000,A\n");
    QDir().mkpath(home.file("North"));
    ASSERT_TRUE(QFile::link(home.file("Shared"), home.file("North/Bats")));
    load();
    EXPECT_EQ(filesIn(home.file("Shared")), QStringList{"ext.csv"});
    EXPECT_EQ(home.read("Shared/ext.csv"), "1000,A\n");
    const QFileInfo bats(home.file("North/Bats"));
    EXPECT_FALSE(bats.isSymLink());
    EXPECT_TRUE(bats.isDir());
    EXPECT_EQ(filesIn(bats.filePath()), QStringList());
}

TEST_F(Connecting, AMissingTableFolderIsMade) {
    chooseSite("North");
    load();
    EXPECT_TRUE(QFileInfo(home.file("North/Bats")).isDir());
}

class RefusedSite : public Connecting, public ::testing::WithParamInterface<const char*> {};

TEST_P(RefusedSite, NothingIsTouchedAndTheWindowClosesItself) {
    // The program folder one level down, so that a name leading upwards has something to hit.
    const QString program = home.file("program");
    QDir().mkpath(program);
    platform::SystemInfo::setProgramFolder(program);
    home.write("Bats/keep.csv", "x\n");
    home.write("program/Bats/keep.csv", "x\n");
    startDebugLog();
    chooseSite(QString::fromLatin1(GetParam()));
    fMain::instance()->Label33->setText("site lable");
    prompter.ok();

    fgetdata& w = load();
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].startsWith("Unable to connect to site"));
    EXPECT_TRUE(w.refused());
    EXPECT_TRUE(QFileInfo::exists(home.file("Bats/keep.csv")));
    EXPECT_TRUE(QFileInfo::exists(home.file("program/Bats/keep.csv")));
    EXPECT_EQ(QDir(program).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
              (QStringList{"Bats", "Logs"}));
    EXPECT_EQ(fMain::instance()->Label33->text(), "site lable");

    w.tmrNowLoad_Timer();
    QCoreApplication::processEvents();
    EXPECT_EQ(w.result(), QDialog::Rejected);
    EXPECT_FALSE(logMessages().contains("tmrNowLoad_Timer fired"));
}

INSTANTIATE_TEST_SUITE_P(Cases, RefusedSite,
                         ::testing::Values("..", "../program", "a/b", "a\\b", "", "default"));

TEST_F(Connecting, AFailedConnectIsToldAndNothingIsPulled) {
    // Nothing listens on port 1.
    chooseSite("North Wing", "127.0.0.1", 1);
    startDebugLog();
    prompter.ok();
    fgetdata& w = load();
    w.tmrNowLoad_Timer();

    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].startsWith("Unable to connect to North Wing"))
        << prompter.messages()[0].toStdString();
    EXPECT_EQ(fMain::instance()->cmdDload->toolTip(), "Open \\download folder for North_Wing");
    EXPECT_EQ(w.result(), QDialog::Accepted);
    const QStringList log = logMessages();
    EXPECT_EQ(log.first(), "tmrNowLoad_Timer fired");
    EXPECT_EQ(log.last(), "Done getting data Unloading connecting form and starting main form");
    for (const char* line :
         {"wodSSHDOCSV connected", "STARTING Getting CSV FILES", " About To Reconnect CALL Log"})
        EXPECT_FALSE(log.contains(line)) << line;
}

// --- against the stand-in server --------------------------------------------------------

class ConnectingToSim : public testsupport::SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        if (IsSkipped()) return;
        {
            fMain* main = fMain::instance();
            const QSignalBlocker quiet(main->cboSites);
            main->cboSites->clear();
            main->cboSites->addItems({"Default", "North"});
            main->cboSites->setCurrentIndex(1);
        }
        SimServer::configureSite(1);
        G().g_CurSite = 1;
        startDebugLog();
        home.write("North/Bats/detail.shp", "old script\r\n");
    }
    void TearDown() override {
        window.reset();
        if (fMain::isLoaded()) fMain::unloadInstance();
        SimTest::TearDown();
    }
    void connectNow() {
        window = std::make_unique<fgetdata>();
        window->tmrNowLoad->stop();
        window->tmrNowLoad_Timer();
    }
    QString bats() const { return home.file("North/Bats"); }

    testsupport::TempHome home;
    testsupport::ScriptedPrompter prompter;
    std::unique_ptr<fgetdata> window;
};

TEST_F(ConnectingToSim, LeavesExactlyTheMirrorAndLogsEachStepInOrder) {
    connectNow();
    EXPECT_EQ(window->result(), QDialog::Accepted);
    EXPECT_TRUE(prompter.messages().isEmpty()) << prompter.messages().join("|").toStdString();

    QStringList expected;
    for (const QString& t : quillon::mirrorTables()) expected << t + ".csv" << t + "unix.csv";
    expected.sort();
    EXPECT_EQ(filesIn(bats()), expected);

    const QStringList shell = SimServer::shellLines();
    const qsizetype cd = shell.indexOf("cd '/usr/varnel'");
    ASSERT_GE(cd, 0) << shell.join("|").toStdString();
    EXPECT_EQ(shell.indexOf("./do_csv.sh"), cd + 1) << shell.join("|").toStdString();

    const QStringList order = {
        "tmrNowLoad_Timer fired",
        "wodSSHDOCSV connected",
        "STARTING Getting CSV FILES",
        "DONE Getting CSV FILES",
        " About To Reconnect CALL Log",
        "Done Connecting CALL LOG",
        " About To Reconnect PMS",
        "Done Connecting PMS",
        "Done getting data Unloading connecting form and starting main form"};
    const QStringList log = logMessages();
    qsizetype at = -1;
    for (const QString& line : order) {
        const qsizetype found = log.indexOf(line, at + 1);
        ASSERT_GT(found, at) << "missing or out of order: " << line.toStdString() << "\n"
                             << log.join("\n").toStdString();
        at = found;
    }
    EXPECT_EQ(log.last(), order.last());
    // Between them only what the session said, under its control's name, and never an empty
    // line (the cd and ./do_csv.sh replies are empty).
    for (const QString& line : log) {
        if (order.contains(line)) continue;
        EXPECT_TRUE(line.startsWith("wodSSHDOCSV ") && !line.mid(12).trimmed().isEmpty())
            << "[" << line.toStdString() << "]";
    }
    EXPECT_EQ(fMain::instance()->Label33->text(), "Connected to: North");
}

TEST_F(ConnectingToSim, AMissingTableIsToldAndLeavesNoWorkingFile) {
    home.write("North/Bats/rate.csv", "stale\r\n");
    SimServer::setKnob("missing_table", "rate");
    prompter.ok();
    connectNow();
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].contains("rate")) << prompter.messages()[0].toStdString();
    EXPECT_FALSE(QFileInfo::exists(bats() + "/rate.csv"));
    EXPECT_FALSE(QFileInfo::exists(bats() + "/rateunix.csv"));
    EXPECT_TRUE(QFileInfo::exists(bats() + "/ext.csv"));
    EXPECT_TRUE(QFileInfo::exists(bats() + "/ld.csv"));
    EXPECT_EQ(filesIn(bats()).size(), 24);
}

TEST_F(ConnectingToSim, AMissingServerFolderIsToldAndNothingIsPulled) {
    G().g_SiteHomedir[1] = "/usr/varnel/no such folder";
    prompter.ok();
    connectNow();
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].contains("/usr/varnel/no such folder"));
    EXPECT_EQ(filesIn(bats()), QStringList());
    EXPECT_FALSE(SimServer::shellLines().contains("./do_csv.sh"));
}

}  // namespace
