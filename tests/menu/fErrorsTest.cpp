// The main window's error indicator and the "Error Report" window, over the fake server: what
// the pulls fetch, what the removal sends, and what the user is shown and asked.
#include "MenuTestSupport.h"
#include "menu/fErrors.h"
#include "support/Controls.h"
#include "support/ProgramWindows.h"
#include "widgets/WindowRegistry.h"

#include "common/CommonFunctions.h"
#include "common/Globals.h"
#include "common/ProgramClock.h"
#include "menu/ErrorFiles.h"
#include "menu/ErrorIndicator.h"
#include "menu/ServerUtilities.h"
#include "menu/fMain.h"
#include "remote/CheckedLines.h"
#include "support/FakeServer.h"
#include "support/RecordingViewer.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <ostream>

using testsupport::control;

using quillon::fErrors;
using quillon::fMain;
using quillon::G;
using testsupport::FakeServer;

namespace {

using menutest::listed;
using menutest::OpenedWindows;

// Also keeps the default answer of every input box.
class DefaultsPrompter : public testsupport::ScriptedPrompter {
public:
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText) override {
        defaults << defaultText;
        return ScriptedPrompter::input(prompt, title, defaultText);
    }
    QStringList titles() const {
        QStringList out;
        for (const auto& p : prompts()) out << p.title;
        return out;
    }
    QStringList defaults;
};

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

QColor fill(const QFrame* shape) {
    return shape->palette().color(QPalette::Window);
}

// The main window with site 1 ("Site1") selected and its error folder made.
class ErrorWindowBase {
protected:
    ErrorWindowBase() {
        testsupport::configureFakeSite(1);
        folder = home.file("Site1/Download/ERRORS");
        QDir().mkpath(folder);
    }
    void writeLocal(const QString& name, const QByteArray& bytes = "x") {
        home.write(QStringLiteral("Site1/Download/ERRORS/") + name, bytes);
    }
    void showIndicator() {
        control<QLabel>(w, "lblError")->setVisible(true);
        control<QFrame>(w, "Shape1")->setVisible(true);
    }
    bool indicatorShown() const {
        EXPECT_EQ(control<QLabel>(w, "lblError")->isHidden(),
                  control<QFrame>(w, "Shape1")->isHidden());
        return !control<QLabel>(w, "lblError")->isHidden();
    }

    // The server's error files, each holding its name and a line end.
    void writeServer(const QStringList& files) {
        for (const QString& f : files) server.addFile(f, f.toUtf8() + "\n");
    }
    QStringList onServer() const {
        QStringList out;
        for (const QString& f : quillon::serverErrorFiles())
            if (server.hasFile(f)) out << f;
        return out;
    }
    // The removal does on the fake what it does on a server.
    void removalRemoves() {
        server.on(QRegularExpression("^sudo rm -f ")).then([this](const QString& line) {
            server.removeFile(line.section(QLatin1Char(' '), -1));
        });
    }
    static QStringList checked(const QStringList& lines) {
        QStringList out;
        for (const QString& l : lines) out << quillon::withExitStatus(l);
        return out;
    }

    testsupport::TempHome home;
    DefaultsPrompter prompter;
    testsupport::RecordingViewer viewer;
    FakeServer server;
    menutest::MainWindowOnSite main{QStringLiteral("Site1")};
    fMain* const w = main.w;
    QString folder;
};

// --- the indicator ----------------------------------------------------------------------------

class ErrorIndicatorTest : public ::testing::Test, protected ErrorWindowBase {
protected:
    OpenedWindows opened;
};

TEST_F(ErrorIndicatorTest, BlinksBetweenYellowAndRed) {
    EXPECT_EQ(control<QTimer>(w, "tmrColorSwap")->interval(), 750);
    EXPECT_FALSE(control<QTimer>(w, "tmrColorSwap")->isActive());
    EXPECT_EQ(fill(control<QFrame>(w, "Shape1")), QColor(255, 255, 0));
    w->errorIndicator().tmrColorSwap_Timer();
    EXPECT_EQ(fill(control<QFrame>(w, "Shape1")), QColor(255, 0, 0));
    w->errorIndicator().tmrColorSwap_Timer();
    EXPECT_EQ(fill(control<QFrame>(w, "Shape1")), QColor(255, 255, 0));
}

TEST_F(ErrorIndicatorTest, ClickHidesItPausesThePullAndOpensTheErrorWindow) {
    showIndicator();
    QTest::mouseClick(control<QLabel>(w, "lblError"), Qt::LeftButton);
    EXPECT_EQ(opened.names, QStringList{"fErrors"});
    EXPECT_FALSE(indicatorShown());
    EXPECT_FALSE(G().g_PullErrors);
}

TEST_F(ErrorIndicatorTest, UnreachableServerIsSilentOnTheMenuAndToldInTheWindow) {
    server.failOpen(quillon::kSessionUnreachable, "Could not connect to the server 10.0.0.9",
                    FakeServer::Times::Every);
    writeLocal(QStringLiteral("ERROR.COM.RTF"));
    showIndicator();
    w->errorIndicator().tmrGetErrors_Timer();
    EXPECT_TRUE(prompter.prompts().empty());
    EXPECT_FALSE(indicatorShown());  // the copy went before the fetch
    EXPECT_TRUE(filesIn(folder).isEmpty());

    prompter.ok();
    fErrors window(w);
    EXPECT_EQ(prompter.messages(),
              QStringList{"The error files could not be fetched from the server.\r\n\r\n"
                          "Could not connect to the server 10.0.0.9"});
    EXPECT_EQ(window.File1->count(), 0);
}

// --- the pulls and the window ----------------------------------------------------------------

class ErrorFakeTest : public ::testing::Test, protected ErrorWindowBase {
protected:
    OpenedWindows opened;
};

struct TickCase {
    const char* name;
    QStringList server;
    QStringList local;
    QStringList counted;
};

void PrintTo(const TickCase& c, std::ostream* os) {
    *os << c.name;
}

class ErrorTick : public ErrorFakeTest, public ::testing::WithParamInterface<TickCase> {};

TEST_P(ErrorTick, ShowsTheIndicatorOnlyWhileErrorFilesAreThere) {
    writeServer(GetParam().server);
    for (const QString& f : GetParam().local) writeLocal(f);
    // Shown and blinking from an earlier tick.
    showIndicator();
    control<QTimer>(w, "tmrColorSwap")->start();

    w->errorIndicator().tmrGetErrors_Timer();

    EXPECT_EQ(control<QListWidget>(w, "filelistErrors")->property("Path").toString(), folder);
    // The file-transfer login of the selected site, the five files by their bare names.
    ASSERT_EQ(server.filesRequests().size(), 1u);
    EXPECT_EQ(server.filesRequests()[0].target.login, "varnel");
    EXPECT_EQ(server.fetches().size(), 5u);
    EXPECT_EQ(listed(control<QListWidget>(w, "filelistErrors")), GetParam().counted);
    const bool any = !GetParam().counted.isEmpty();
    EXPECT_EQ(indicatorShown(), any);
    EXPECT_EQ(control<QTimer>(w, "tmrColorSwap")->isActive(), any);
    EXPECT_TRUE(prompter.prompts().empty());
    EXPECT_TRUE(opened.names.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ErrorTick,
    ::testing::Values(
        // A copy of a file the server no longer has goes; a saved copy does not count.
        TickCase{"NoErrorFiles", {}, {"ERROR.COM.RTF", "12-16-08_14-05_ERROR.COM.RTF"}, {}},
        TickCase{"ErrorFiles",
                 {"ERROR.PMS", "ERROR.NEW"},
                 {"12-16-08_14-05_ERROR.COM.RTF"},
                 {"ERROR.NEW.RTF", "ERROR.PMS.RTF"}},
        TickCase{"OnlyASavedCopyNamedError", {}, {"errors-old.txt"}, {"errors-old.txt"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ErrorFakeTest, PausedPullStillSetsTheFolderButFetchesNothing) {
    writeServer({"ERROR.COM"});
    G().g_PullErrors = false;
    w->errorIndicator().tmrGetErrors_Timer();
    EXPECT_EQ(control<QListWidget>(w, "filelistErrors")->property("Path").toString(), folder);
    EXPECT_TRUE(server.filesRequests().empty());
    EXPECT_TRUE(filesIn(folder).isEmpty());
    EXPECT_FALSE(indicatorShown());

    // Nor does it hide what an earlier tick showed.
    showIndicator();
    w->errorIndicator().tmrGetErrors_Timer();
    EXPECT_TRUE(indicatorShown());
}

TEST_F(ErrorFakeTest, ClickAndTickDuringAPullWaitForIt) {
    writeServer({"ERROR.COM"});
    QDir().mkpath(home.file("Logs"));
    G().g_DebugMode = true;
    quillon::OpenDebugLog(home.file("Logs/Mainlog.log"));
    showIndicator();

    bool openedDuringPull = true;
    // Both come while the tick's pull waits for the server.
    server.onFetch("ERROR.COM", [&] {
        w->errorIndicator().lblError_Click();
        w->errorIndicator().tmrGetErrors_Timer();
        openedDuringPull = !opened.names.isEmpty();
    });
    w->errorIndicator().tmrGetErrors_Timer();
    EXPECT_FALSE(openedDuringPull);
    EXPECT_TRUE(opened.names.isEmpty());
    EXPECT_TRUE(testsupport::waitFor([&] { return !opened.names.isEmpty(); }, 5000));

    EXPECT_EQ(opened.names, QStringList{"fErrors"});
    EXPECT_FALSE(G().g_PullErrors);
    EXPECT_EQ(filesIn(folder), QStringList{"ERROR.COM.RTF"});
    const QString log = QString::fromLatin1(home.read("Logs/Mainlog.log"));
    EXPECT_EQ(log.count(QStringLiteral("STARTING FTP FOR ERRORS")), 1) << log.toStdString();
    EXPECT_EQ(log.count(QStringLiteral("CLOSING FTP FOR ERRORS")), 1) << log.toStdString();
}

TEST_F(ErrorFakeTest, WindowListsTheCopiesAfterItsPullAndOpensThem) {
    writeServer({"ERROR.COM", "ERROR.NEW"});
    writeLocal(QStringLiteral("ERROR.LOG.RTF"));  // no longer on the server
    writeLocal(QStringLiteral("errors-old.txt"));
    writeLocal(QStringLiteral("12-16-08_14-05_ERROR.LOG.RTF"));
    G().g_PullErrors = false;

    fErrors window(w);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Error Report"));
    EXPECT_TRUE(window.chksave->isChecked());
    EXPECT_EQ(window.chksave->text(), QStringLiteral("Save Files locally"));
    EXPECT_EQ(window.cmdrmerror->text(), QStringLiteral("&Remove Errors"));
    EXPECT_EQ(window.cmdcancel->text(), QStringLiteral("&Cancel"));
    EXPECT_EQ(listed(window.File1),
              (QStringList{"ERROR.COM.RTF", "ERROR.NEW.RTF", "errors-old.txt"}));
    EXPECT_TRUE(prompter.prompts().empty());

    window.File1->setCurrentRow(1);
    window.File1_DblClick();
    EXPECT_EQ(viewer.opened, QStringList{folder + "/ERROR.NEW.RTF"});

    QTest::mouseClick(window.cmdcancel, Qt::LeftButton);
    EXPECT_TRUE(G().g_PullErrors);
    EXPECT_EQ(window.result(), QDialog::Rejected);
    EXPECT_TRUE(server.shellRequests().empty());
}

struct RemovalCase {
    const char* name;
    QStringList server;      // error files on the server when the window opens
    QStringList local;       // files of the user's in the error folder
    QStringList lateServer;  // error files that appear after the window listed its files
    QStringList sent;        // the removal lines
};

void PrintTo(const RemovalCase& c, std::ostream* os) {
    *os << c.name;
}

class ErrorRemoval : public ErrorFakeTest, public ::testing::WithParamInterface<RemovalCase> {};

TEST_P(ErrorRemoval, RemovesExactlyTheListedServerFiles) {
    const RemovalCase& c = GetParam();
    writeServer(c.server);
    removalRemoves();
    for (const QString& f : c.local) writeLocal(f, "mine");
    G().g_PullErrors = false;

    fErrors window(w);
    writeServer(c.lateServer);
    window.chksave->setChecked(false);
    prompter.yes();
    QTest::mouseClick(window.cmdrmerror, Qt::LeftButton);

    const auto& question = prompter.prompts().front();
    EXPECT_EQ(question.text, QStringLiteral("Are you sure you want to delete the Error files from "
                                            "the call accounting system?\r\n"));
    EXPECT_EQ(question.title, QStringLiteral("Configure Sites"));
    EXPECT_EQ(question.buttons, platform::Buttons::YesNo);
    EXPECT_EQ(prompter.prompts().size(), 1u);

    // The removal runs in the shell login's start folder, in a session of its own.
    EXPECT_EQ(server.shellRequests().size(), c.sent.isEmpty() ? 0u : 1u);
    if (!c.sent.isEmpty()) {
        EXPECT_FALSE(server.shellRequests()[0].folder.has_value());
        EXPECT_EQ(server.shellRequests()[0].control, "wodSSH1");
        EXPECT_EQ(server.shellRequests()[0].target.login, "varneltail");
    }
    EXPECT_EQ(server.lines(), checked(c.sent));
    EXPECT_EQ(onServer(), c.lateServer);

    // Copies of removed files go with them; the user's files stay as they were.
    QStringList localLeft = c.local;
    localLeft.sort();
    EXPECT_EQ(filesIn(folder), localLeft);
    for (const QString& f : c.local) EXPECT_EQ(home.read("Site1/Download/ERRORS/" + f), "mine");
    EXPECT_TRUE(G().g_PullErrors);
    EXPECT_EQ(window.result(), QDialog::Rejected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ErrorRemoval,
    ::testing::Values(RemovalCase{"HostileLocalNameNeverReachesTheServer",
                                  {"ERROR.COM", "ERROR.PMS"},
                                  {"error x; rm -rf ~", "errors-old.txt"},
                                  {"ERROR.911"},
                                  {"sudo rm -f ERROR.COM", "sudo rm -f ERROR.PMS"}},
                      // Nothing the server has is listed: no session, no line.
                      RemovalCase{"OnlyTheUsersOwnFilesListed", {}, {"errors-old.txt"}, {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ErrorFakeTest, RemovalThatFailsIsToldAndKeepsThatCopy) {
    writeServer({"ERROR.COM", "ERROR.PMS"});
    removalRemoves();
    fErrors window(w);
    server.on("sudo rm -f ERROR.COM")
        .reply("rm: cannot remove 'ERROR.COM': Is a directory\n")
        .status(1);
    window.chksave->setChecked(false);
    prompter.yes().ok();
    window.cmdrmerror_Click();

    ASSERT_EQ(prompter.messages().size(), 2);
    const QString said = prompter.messages().back();
    EXPECT_TRUE(
        said.startsWith(QStringLiteral("These error files could not be removed from the server:")));
    EXPECT_TRUE(said.contains(QStringLiteral("ERROR.COM: "))) << said.toStdString();
    EXPECT_FALSE(said.contains(QStringLiteral("ERROR.PMS"))) << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("Is a directory"))) << said.toStdString();
    EXPECT_EQ(filesIn(folder), QStringList{"ERROR.COM.RTF"});
    EXPECT_EQ(onServer(), QStringList{"ERROR.COM"});
}

TEST_F(ErrorFakeTest, DecliningRemovesNothingAndCloses) {
    writeServer({"ERROR.COM"});
    G().g_PullErrors = false;
    fErrors window(w);
    prompter.no();
    window.cmdrmerror_Click();
    EXPECT_TRUE(server.shellRequests().empty());
    EXPECT_EQ(onServer(), QStringList{"ERROR.COM"});
    EXPECT_EQ(filesIn(folder), QStringList{"ERROR.COM.RTF"});
    EXPECT_TRUE(G().g_PullErrors);
    EXPECT_EQ(window.result(), QDialog::Rejected);
}

TEST_F(ErrorFakeTest, SavingAsksANameForEachCopyAndSkipsWhenNoneIsGiven) {
    const quillon::SettableClock clock(QDateTime(QDate(2008, 12, 16), QTime(14, 5)));
    writeServer({"ERROR.COM", "ERROR.LOG", "ERROR.PMS", "ERROR.NEW"});
    removalRemoves();
    writeLocal(QStringLiteral("taken.rtf"), "taken");
    fErrors window(w);
    ASSERT_EQ(listed(window.File1),
              (QStringList{"ERROR.COM.RTF", "ERROR.LOG.RTF", "ERROR.NEW.RTF", "ERROR.PMS.RTF"}));

    prompter.yes()
        .inputText("12-16-08_14-05_ERROR.COM.RTF")  // the proposed name
        .inputText("TAKEN.RTF")                     // exists (in another case): asked again
        .inputText("log-kept.rtf")
        .inputText("taken.rtf")
        .cancelInput()   // no new name: ERROR.NEW.RTF stays as it is
        .inputText("");  // nor for ERROR.PMS.RTF
    window.cmdrmerror_Click();

    EXPECT_TRUE(prompter.exhausted());
    EXPECT_EQ(prompter.titles(),
              (QStringList{"Configure Sites", "Save File", "Save File", "Rename File", "Save File",
                           "Rename File", "Save File"}));
    EXPECT_EQ(prompter.prompts()[1].text, QStringLiteral("Enter a name for the ERROR file :"));
    EXPECT_EQ(prompter.prompts()[3].text,
              QStringLiteral("The filename you entered already exists.\r\nEnter a new name for "
                             "the downloaded report:"));
    EXPECT_EQ(
        prompter.defaults,
        (QStringList{"12-16-08_14-05_ERROR.COM.RTF", "12-16-08_14-05_ERROR.LOG.RTF", "TAKEN.RTF",
                     "12-16-08_14-05_ERROR.NEW.RTF", "taken.rtf", "12-16-08_14-05_ERROR.PMS.RTF"}));
    EXPECT_EQ(filesIn(folder), (QStringList{"12-16-08_14-05_ERROR.COM.RTF", "ERROR.NEW.RTF",
                                            "ERROR.PMS.RTF", "log-kept.rtf", "taken.rtf"}));
    EXPECT_EQ(home.read("Site1/Download/ERRORS/taken.rtf"), "taken");
    EXPECT_EQ(home.read("Site1/Download/ERRORS/log-kept.rtf"), "ERROR.LOG\n");
    EXPECT_TRUE(onServer().isEmpty());
}

}  // namespace
