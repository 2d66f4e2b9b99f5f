// The error files end to end, on the stand-in server: the pull brings the server's files as
// they stand, and the window's removal sends only the known files, in the login's start folder.
#include "MenuTestSupport.h"
#include "menu/ErrorFiles.h"
#include "menu/fErrors.h"
#include "support/ProgramWindows.h"

#include "common/Globals.h"
#include "menu/fMain.h"
#include "remote/CheckedLines.h"
#include "support/ScriptedPrompter.h"
#include "support/SimServer.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QPushButton>
#include <QTest>

using quillon::G;
using testsupport::SimServer;

namespace {

class ErrorFilesSimTest : public testsupport::SimTest {
protected:
    void SetUp() override {
        testsupport::SimTest::SetUp();
        if (IsSkipped()) return;
        SimServer::configureSite(1);
        G().g_CurSite = 1;
        clearServer();
        folder = home.file("Site1/Download/ERRORS");
        QDir().mkpath(folder);
    }
    void TearDown() override {
        clearServer();
        testsupport::SimTest::TearDown();
    }
    static void clearServer() {
        for (const QString& f : quillon::serverErrorFiles()) SimServer::removeSiteFile(f);
    }
    static QStringList onServer() {
        QStringList out;
        for (const QString& f : quillon::serverErrorFiles())
            if (SimServer::siteFileExists(f)) out << f;
        return out;
    }
    QStringList local() const { return QDir(folder).entryList(QDir::Files, QDir::Name); }

    testsupport::TempHome home;
    QString folder;
};

TEST_F(ErrorFilesSimTest, ThePullFetchesWhatTheServerHasAsItStands) {
    SimServer::writeSiteFile(QStringLiteral("ERROR.COM"), "line 1\nline 2\n");
    SimServer::writeSiteFile(QStringLiteral("ERROR.911"), "911\r\nraw\n");
    home.write(QStringLiteral("Site1/Download/ERRORS/ERROR.LOG.RTF"), "old");

    const quillon::ErrorPullResult r =
        quillon::pullErrorFiles(quillon::filesRequestForSite(1), folder);

    EXPECT_TRUE(r.completed) << r.error.toStdString();
    EXPECT_EQ(r.fetched, (QStringList{"ERROR.COM", "ERROR.911"}));
    EXPECT_EQ(local(), (QStringList{"ERROR.911.RTF", "ERROR.COM.RTF"}));
    EXPECT_EQ(home.read("Site1/Download/ERRORS/ERROR.COM.RTF"), QByteArray("line 1\nline 2\n"));
    EXPECT_EQ(home.read("Site1/Download/ERRORS/ERROR.911.RTF"), QByteArray("911\r\nraw\n"));
}

TEST_F(ErrorFilesSimTest, RemovalSendsOnlyTheListedServerFilesAndNoLocalName) {
    testsupport::ScriptedPrompter prompter;
    menutest::MainWindowOnSite main(QStringLiteral("Site1"));
    SimServer::writeSiteFile(QStringLiteral("ERROR.COM"), "com\n");
    SimServer::writeSiteFile(QStringLiteral("ERROR.PMS"), "pms\n");
    home.write(QStringLiteral("Site1/Download/ERRORS/error x; rm -rf ~"), "mine");
    // Would go if the hostile name ever reached the shell: rm -rf ~ is the site folder.
    SimServer::writeSiteFile(QStringLiteral("canary.txt"), "alive");
    G().g_PullErrors = false;
    {
        quillon::fErrors window(main.w);
        SimServer::writeSiteFile(QStringLiteral("ERROR.911"), "late\n");
        window.chksave->setChecked(false);
        prompter.yes();
        QTest::mouseClick(window.cmdrmerror, Qt::LeftButton);
    }

    EXPECT_EQ(SimServer::shellLines(),
              (QStringList{quillon::withExitStatus("sudo rm -f ERROR.COM"),
                           quillon::withExitStatus("sudo rm -f ERROR.PMS")}));
    const QString journal = SimServer::journal().join('\n');
    EXPECT_FALSE(journal.contains(QStringLiteral("rm -rf"))) << journal.toStdString();
    EXPECT_EQ(onServer(), QStringList{"ERROR.911"});
    EXPECT_EQ(SimServer::readSiteFile(QStringLiteral("canary.txt")), QByteArray("alive"));
    SimServer::removeSiteFile(QStringLiteral("canary.txt"));
    EXPECT_EQ(local(), QStringList{"error x; rm -rf ~"});
}

}  // namespace
