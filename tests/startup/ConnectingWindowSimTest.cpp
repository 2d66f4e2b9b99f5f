// The connecting window against the stand-in server, with the main window and its monitors:
// a whole connect, and a table the server does not write.
#include "startup/fgetdata.h"
#include "support/Controls.h"
#include "support/ProgramWindows.h"

#include "common/Globals.h"
#include "common/TableMirror.h"
#include "menu/fMain.h"
#include "support/DebugLogLines.h"
#include "support/ScriptedPrompter.h"
#include "support/SimServer.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QSignalBlocker>
#include <QTimer>

#include <memory>

using testsupport::control;

using quillon::fgetdata;
using quillon::fMain;
using quillon::G;
using testsupport::SimServer;

namespace {

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

class ConnectingToSim : public testsupport::SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        if (IsSkipped()) return;
        {
            fMain* main = fMain::instance();
            const QSignalBlocker quiet(control<QComboBox>(main, "cboSites"));
            control<QComboBox>(main, "cboSites")->clear();
            control<QComboBox>(main, "cboSites")->addItems({"Default", "North"});
            control<QComboBox>(main, "cboSites")->setCurrentIndex(1);
        }
        SimServer::configureSite(1);
        G().g_CurSite = 1;
        testsupport::startDebugLog();
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
    const qsizetype cd = shell.indexOf("cd /usr/varnel");
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
    const QStringList log = testsupport::debugLogMessages();
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
    EXPECT_EQ(control<QLabel>(fMain::instance(), "Label33")->text(), "Connected to: North");
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

}  // namespace
