// The connecting window without a server: the local folders it empties, the lines it sends and
// the tables it fetches through the fake server, what it does to the main window, and where
// each failure stops it.
#include "startup/fgetdata.h"

#include "common/Globals.h"
#include "common/SiteContext.h"
#include "common/TableMirror.h"
#include "menu/MainMenu.h"
#include "menu/fMain.h"
#include "platform/SystemInfo.h"
#include "support/Controls.h"
#include "support/DebugLogLines.h"
#include "support/FakeServer.h"
#include "support/NullMainWindow.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"
#include "widgets/MainWindowPort.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <cctype>
#include <functional>
#include <memory>

using quillon::fgetdata;
using quillon::G;
using quillon::MainWindowPort;
using testsupport::control;
using testsupport::FakeServer;

namespace {

// What the connecting window does to the main window, in order.
class RecordingMainWindow : public testsupport::NullMainWindow {
public:
    QStringList calls;

    void setConnectedCaption(const QString& text) override { calls << "caption " + text; }
    void setDownloadTip(const QString& text) override { calls << "tip " + text; }
    void reconnectMonitorAndWait(Monitor monitor, int) override {
        calls << (monitor == Monitor::CallLog ? "monitor CallLog " + G().g_CallLogState
                                              : "monitor Pms " + G().g_PmsState);
    }
};

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// The mirror's files after a pull in which every table but `absent` arrived.
QStringList mirrorWithout(const QStringList& absent = {}) {
    QStringList files;
    for (const QString& t : quillon::mirrorTables())
        if (!absent.contains(t)) files << t + ".csv" << t + "unix.csv";
    files.sort();
    return files;
}

const QStringList kMonitorsReconnected = {"monitor CallLog RECONNECTING",
                                          "monitor Pms RECONNECTING"};

// Site 1 of the site table, named as the main window's site box would show it.
class Connecting : public ::testing::Test {
protected:
    Connecting() {
        before = MainWindowPort::instance();
        MainWindowPort::install(&main);
    }
    ~Connecting() override {
        window.reset();
        quillon::SiteContext::install(nullptr);
        MainWindowPort::install(before);
    }

    void chooseSite(const QString& name) {
        G().g_SiteCount = 2;
        G().g_SiteIPAddress[1] = "10.0.0.7";
        G().g_SiteSSHPort[1] = "2200";
        G().g_SiteSSHUser[1] = "varneltail";
        G().g_SiteUsername[1] = "varnel";
        G().g_SitePassword[1] = "v";
        G().g_SiteHomedir[1] = "/usr/varnel";
        G().g_FtpTimeout = 45;
        G().g_CurSite = 1;
        site = std::make_unique<quillon::FixedSite>(1, name);
        quillon::SiteContext::install(site.get());
    }
    // Every table on the fake server, as ./do_csv.sh leaves them.
    void serveTables() {
        for (const QString& t : quillon::mirrorTables())
            server.addFile("/usr/varnel/" + t + ".csv",
                           t.toLatin1() + ",1\n" + t.toLatin1() + ",2\n");
    }
    // Loads the window without letting its work timer fire on its own.
    fgetdata& load() {
        window = std::make_unique<fgetdata>();
        window->tmrNowLoad->stop();
        return *window;
    }
    fgetdata& connectNow() {
        load().tmrNowLoad_Timer();
        return *window;
    }
    QString bats(const QString& name = "North") const { return home.file(name + "/Bats"); }

    testsupport::TempHome home;
    testsupport::ScriptedPrompter prompter;
    FakeServer server;
    RecordingMainWindow main;
    MainWindowPort* before = nullptr;
    std::unique_ptr<quillon::FixedSite> site;
    std::unique_ptr<fgetdata> window;
};

TEST_F(Connecting, TheDotsGrowToTenThenStartAgainAtOne) {
    chooseSite("North");
    fgetdata& w = load();
    auto* label = control<QLabel>(w, "lblgetdata");
    EXPECT_EQ(label->text(), "Connecting to North");
    const QStringList expected = {".",         "..",         "...",     "....",
                                  ".....",     "......",     ".......", "........",
                                  ".........", "..........", ".",       ".."};
    for (const QString& dots : expected) {
        w.waitpanel->dots_Timer();
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

    load();
    EXPECT_EQ(filesIn(bats("North Wing")), QStringList());
    EXPECT_TRUE(QFileInfo::exists(bats("North Wing") + "/old/keep.txt"));
    EXPECT_EQ(filesIn(home.file("North Wing/download")), QStringList{"report.rtf"});
    // Written before any connection is made.
    EXPECT_EQ(main.calls, QStringList{"caption Connected to: North Wing"});
    EXPECT_TRUE(server.shellRequests().empty());
    EXPECT_TRUE(window->tmrgetdata->isActive());
}

// A table folder that is a link to another folder: the link goes, a folder of the site's own
// takes its place, and what it pointed to keeps every file.
TEST_F(Connecting, LoadRemovesALinkedTableFolderAndLeavesItsTarget) {
    chooseSite("North");
    home.write("Shared/ext.csv", "1000,A\n");
    QDir().mkpath(home.file("North"));
    ASSERT_TRUE(QFile::link(home.file("Shared"), bats()));
    load();
    EXPECT_EQ(filesIn(home.file("Shared")), QStringList{"ext.csv"});
    EXPECT_EQ(home.read("Shared/ext.csv"), "1000,A\n");
    const QFileInfo folder(bats());
    EXPECT_FALSE(folder.isSymLink());
    EXPECT_TRUE(folder.isDir());
    EXPECT_EQ(filesIn(folder.filePath()), QStringList());
}

TEST_F(Connecting, AMissingTableFolderIsMade) {
    chooseSite("North");
    load();
    EXPECT_TRUE(QFileInfo(bats()).isDir());
}

class RefusedSite : public Connecting, public ::testing::WithParamInterface<const char*> {};

TEST_P(RefusedSite, NothingIsTouchedAndTheWindowClosesItself) {
    // The program folder one level down, so that a name leading upwards has something to hit.
    const QString program = home.file("program");
    QDir().mkpath(program);
    platform::SystemInfo::setProgramFolder(program);
    home.write("Bats/keep.csv", "x\n");
    home.write("program/Bats/keep.csv", "x\n");
    testsupport::startDebugLog();
    chooseSite(QString::fromLatin1(GetParam()));
    prompter.ok();

    fgetdata& w = load();
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].startsWith("Unable to connect to site"));
    EXPECT_TRUE(w.refused());
    EXPECT_TRUE(QFileInfo::exists(home.file("Bats/keep.csv")));
    EXPECT_TRUE(QFileInfo::exists(home.file("program/Bats/keep.csv")));
    EXPECT_EQ(QDir(program).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
              (QStringList{"Bats", "Logs"}));
    EXPECT_TRUE(main.calls.isEmpty());

    w.tmrNowLoad_Timer();
    QCoreApplication::processEvents();
    EXPECT_EQ(w.result(), QDialog::Rejected);
    EXPECT_FALSE(testsupport::debugLogMessages().contains("tmrNowLoad_Timer fired"));
    EXPECT_TRUE(server.shellRequests().empty());
    EXPECT_TRUE(server.filesRequests().empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, RefusedSite,
                         ::testing::Values("..", "../program", "a/b", "a\\b", "", "default"));

// From the load on, before the work has even started and while it runs, neither Escape nor
// closing the window leaves the site half switched: the window stays until the work is done.
TEST_F(Connecting, EscapeAndCloseAreRefusedUntilTheWorkIsDone) {
    chooseSite("North");
    serveTables();
    fgetdata& w = load();
    w.show();
    QTest::keyClick(&w, Qt::Key_Escape);
    w.close();
    QCoreApplication::processEvents();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.result(), 0);
    EXPECT_TRUE(server.shellRequests().empty());

    // And while the work waits for the server.
    bool shownDuringTheWork = false;
    server.on("./do_csv.sh").then([&](const QString&) {
        QTest::keyClick(&w, Qt::Key_Escape);
        w.close();
        shownDuringTheWork = w.isVisible();
    });
    w.tmrNowLoad_Timer();
    EXPECT_TRUE(shownDuringTheWork);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(server.lines(), (QStringList{"cd /usr/varnel", "./do_csv.sh"}));
    EXPECT_EQ(filesIn(bats()), mirrorWithout());
}

// One connect: the shell on the site's shell login in its start folder, cd and ./do_csv.sh,
// the 13 tables over the file login, then the two monitors; each step logged in order.
TEST_F(Connecting, SendsTheLinesFetchesTheTablesAndReconnectsTheMonitors) {
    chooseSite("North Wing");
    serveTables();
    testsupport::startDebugLog();
    home.write("North Wing/Bats/detail.shp", "old script\r\n");
    fgetdata& w = connectNow();

    EXPECT_TRUE(prompter.messages().isEmpty()) << prompter.messages().join("|").toStdString();
    EXPECT_EQ(w.result(), QDialog::Accepted);
    ASSERT_EQ(server.shellRequests().size(), 1u);
    const quillon::ShellRequest& shell = server.shellRequests()[0];
    EXPECT_EQ(shell.target.host, "10.0.0.7");
    EXPECT_EQ(shell.target.port, 2200);
    EXPECT_EQ(shell.target.login, "varneltail");
    EXPECT_EQ(shell.target.password, QString::fromLatin1(quillon::kShellPassword));
    EXPECT_FALSE(shell.folder.has_value());
    EXPECT_EQ(shell.control, "wodSSHDOCSV");
    EXPECT_EQ(shell.connectTimeoutSec, 45);
    EXPECT_EQ(server.linesOf(0), (QStringList{"cd /usr/varnel", "./do_csv.sh"}));
    EXPECT_FALSE(server.isShellOpen(0));

    ASSERT_EQ(server.filesRequests().size(), 1u);
    EXPECT_EQ(server.filesRequests()[0].target.login, "varnel");
    EXPECT_EQ(server.filesRequests()[0].target.password, "v");
    QStringList fetched;
    for (const FakeServer::Fetch& f : server.fetches()) fetched << f.remotePath;
    QStringList expected;
    for (const QString& t : quillon::mirrorTables()) expected << "/usr/varnel/" + t + ".csv";
    EXPECT_EQ(fetched, expected);
    EXPECT_EQ(filesIn(bats("North Wing")), mirrorWithout());
    EXPECT_EQ(home.read("North Wing/Bats/ext.csv"), "ext,1\r\next,2\r\n");

    const QStringList captions = {"caption Connected to: North Wing",
                                  "tip Open \\download folder for North_Wing"};
    EXPECT_EQ(main.calls, captions + kMonitorsReconnected);
    EXPECT_EQ(testsupport::debugLogMessages(),
              (QStringList{"tmrNowLoad_Timer fired", "wodSSHDOCSV connected",
                           "STARTING Getting CSV FILES", "DONE Getting CSV FILES",
                           " About To Reconnect CALL Log", "Done Connecting CALL LOG",
                           " About To Reconnect PMS", "Done Connecting PMS",
                           "Done getting data Unloading connecting form and starting main form"}));
}

// Where each failure stops the work: it is told and logged once, and nothing after it runs.
struct FailureCase {
    const char* label;
    std::function<void(FakeServer&)> arrange;
    const char* messageStart;
    QStringList messageHolds;
    QStringList lines;     // sent to the shell
    bool pulled;           // the tables were fetched
    QStringList absent;    // tables without a file afterwards (all when not pulled)
    QStringList monitors;  // what the main window was asked to reconnect
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.label;
}

class ConnectFailure : public Connecting, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ConnectFailure, IsToldAndStopsTheWorkThere) {
    const FailureCase& c = GetParam();
    chooseSite("North Wing");
    serveTables();
    testsupport::startDebugLog();
    c.arrange(server);
    prompter.ok();
    fgetdata& w = connectNow();

    ASSERT_EQ(prompter.messages().size(), 1);
    const QString told = prompter.messages()[0];
    EXPECT_TRUE(told.startsWith(QString::fromLatin1(c.messageStart))) << told.toStdString();
    for (const QString& part : c.messageHolds)
        EXPECT_TRUE(told.contains(part)) << told.toStdString() << " lacks " << part.toStdString();
    EXPECT_EQ(prompter.prompts()[0].title, "Varnel Reports");
    EXPECT_EQ(server.lines(), c.lines);
    EXPECT_EQ(!server.filesRequests().empty(), c.pulled);
    EXPECT_EQ(filesIn(bats("North Wing")),
              mirrorWithout(c.pulled ? c.absent : quillon::mirrorTables()));
    EXPECT_EQ(main.calls.mid(2), c.monitors);
    EXPECT_EQ(w.result(), QDialog::Accepted);
    const QStringList log = testsupport::debugLogMessages();
    EXPECT_TRUE(log.contains(told.section("\r\n", 0, 0))) << log.join("\n").toStdString();
    EXPECT_EQ(log.first(), "tmrNowLoad_Timer fired");
    EXPECT_EQ(log.contains("wodSSHDOCSV connected"), !c.lines.isEmpty());
    EXPECT_EQ(log.contains("STARTING Getting CSV FILES"), c.pulled);
    EXPECT_EQ(log.last(), "Done getting data Unloading connecting form and starting main form");
}

const QStringList kBothLines = {"cd /usr/varnel", "./do_csv.sh"};

INSTANTIATE_TEST_SUITE_P(
    Steps, ConnectFailure,
    ::testing::Values(
        FailureCase{"connect",
                    [](FakeServer& s) {
                        s.failOpen(quillon::kSessionUnreachable, "Connection refused",
                                   FakeServer::Times::Next, FakeServer::Kind::Shell);
                    },
                    "Unable to connect to North Wing: Connection refused",
                    {"The tables of this site were not fetched."},
                    {},
                    false,
                    {},
                    kMonitorsReconnected},
        FailureCase{
            "folder",
            [](FakeServer& s) {
                s.on("cd /usr/varnel").reply("bash: cd: /usr/varnel: No such file or directory\n");
            },
            "Unable to change to the folder /usr/varnel on North Wing: ",
            {"No such file or directory", "The tables of this site were not fetched."},
            {"cd /usr/varnel"},
            false,
            {},
            kMonitorsReconnected},
        FailureCase{
            "do_csv.sh outlives its deadline",
            [](FakeServer& s) { s.on("./do_csv.sh").timesOut(); },
            "The server did not finish writing its tables (./do_csv.sh) within 10 minutes: ",
            {"within 600 seconds", "choose the site again to retry"},
            kBothLines,
            false,
            {},
            kMonitorsReconnected},
        FailureCase{"session dropped during do_csv.sh",
                    [](FakeServer& s) { s.on("./do_csv.sh").dropsSession(); },
                    "The server did not finish writing its tables (./do_csv.sh)",
                    {"closed the session"},
                    kBothLines,
                    false,
                    {},
                    kMonitorsReconnected},
        FailureCase{"a table missing",
                    [](FakeServer& s) { s.removeFile("/usr/varnel/rate.csv"); },
                    "Not every table of North Wing could be fetched. Missing: rate.",
                    {"/usr/varnel/rate.csv"},
                    kBothLines,
                    true,
                    {"rate"},
                    kMonitorsReconnected},
        FailureCase{"the file login refused",
                    [](FakeServer& s) {
                        s.failOpen(quillon::kSessionLoginRefused,
                                   "The server refused the login varnel.", FakeServer::Times::Next,
                                   FakeServer::Kind::Files);
                    },
                    "Not every table of North Wing could be fetched. Missing: ext, line,",
                    {"The server refused the login varnel."},
                    kBothLines,
                    true,
                    quillon::mirrorTables(),
                    kMonitorsReconnected}),
    [](const ::testing::TestParamInfo<FailureCase>& info) {
        std::string name;
        for (const char ch : std::string(info.param.label))
            if (std::isalnum(static_cast<unsigned char>(ch))) name += ch;
        return name;
    });

// When the server cannot be reached at all, the monitors that choosing the site dropped are
// still reconnected, and each one that cannot connect is told: none is silently left off.
TEST_F(Connecting, AnUnreachableServerLeavesNoMonitorSilentlyOff) {
    quillon::installMainMenu();
    quillon::fMain::instance();
    chooseSite("North Wing");
    G().g_SiteIPAddress[1] = "127.0.0.1";
    G().g_SiteSSHPort[1] = "1";  // nothing listens: the monitors' connects fail at once
    server.failOpen(quillon::kSessionUnreachable, "Connection refused", FakeServer::Times::Next,
                    FakeServer::Kind::Shell);
    prompter.ok().ok().ok();
    connectNow();
    EXPECT_EQ(prompter.messages(),
              (QStringList{"Unable to connect to North Wing: Connection refused\r\n\r\nThe "
                           "tables of this site were not fetched.",
                           "Unable To Connect for Call Trace\r\n\r\nCould not connect to the "
                           "server 127.0.0.1 port 1: Connection refused",
                           "Unable To Connect for PMS Trace\r\n\r\nCould not connect to the "
                           "server 127.0.0.1 port 1: Connection refused"}));
    EXPECT_EQ(window->result(), QDialog::Accepted);
    quillon::fMain::unloadInstance();
}

}  // namespace
