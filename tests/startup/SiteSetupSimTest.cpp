// Adding a site against the stand-in server: the lines the set-up sends, the folders, owners,
// modes and default files it leaves on a fresh server folder, and where a failed cd stops it.
#include "common/ButtonCatalogue.h"
#include "common/Globals.h"
#include "fSitesTestSupport.h"
#include "menu/fMain.h"
#include "startup/SiteSetup.h"
#include "startup/fSites.h"
#include "support/Controls.h"
#include "support/ProgramWindows.h"
#include "support/ScriptedPrompter.h"
#include "support/SimServer.h"
#include "support/TempHome.h"
#include "widgets/AppControl.h"
#include "widgets/WindowRegistry.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>

#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>

using testsupport::control;

using namespace quillon;
using testsupport::SimServer;

namespace {

// Lines as one text, so a difference shows as text.
std::string text(const QStringList& lines) {
    return lines.join(QLatin1Char('\n')).toStdString();
}

// The journal's shell lines that belong to the set-up. Tests of other folders that run at the
// same time type into the same journal; their lines are left out, ours keep their order.
QStringList setupLinesSent(const QStringList& setupLines) {
    QStringList out;
    for (const QString& line : SimServer::shellLines())
        if (setupLines.contains(line)) out << line;
    return out;
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A fresh server folder per test, holding the server's programs and tables as a new server has
// them, so the real site folder stays as it is.
class NewSiteOnServer : public testsupport::SimTest {
protected:
    testsupport::TempHome home;
    testsupport::ScriptedPrompter prompter;
    std::unique_ptr<fSites> editor;
    QString serverFolder;

    void SetUp() override {
        SimTest::SetUp();
        if (IsSkipped()) return;
        if (::geteuid() != 0) GTEST_SKIP() << "making a server folder needs root";
        serverFolder = QStringLiteral("/usr/varnel-sites/newsite-%1-%2")
                           .arg(QCoreApplication::applicationPid())
                           .arg(++s_serial);
        // Not the stand-in's own site folder: a server before its first set-up has no ACL. The
        // folder is the site group's to write in, as a site folder is (cp -a would copy the
        // fixture folder's own mode).
        QProcess cp;
        cp.start(
            QStringLiteral("/bin/sh"),
            {QStringLiteral("-c"),
             QStringLiteral("install -d -o varnel -g varnel \"$2\" && cp -a \"$1\"/. \"$2\"/ && "
                            "chown -R varnel:varnel \"$2\" && chmod 2775 \"$2\""),
             QStringLiteral("sh"), QStringLiteral(QUILLON_SOURCE_DIR "/sim/fixtures/newsite"),
             serverFolder});
        ASSERT_TRUE(cp.waitForFinished(10000));
        ASSERT_EQ(cp.exitCode(), 0) << cp.readAllStandardError().toStdString();

        home.write(QStringLiteral("KTReports.ini"),
                   "[Sites]\r\nNum=2\r\n[Site1]\r\nName=Default\r\n[Site2]\r\nName=Site2\r\n");
        sitestest::installShippedTemplates(home.path());
        fillButtonCatalogue();
        G().g_SiteCount = 2;
        QComboBox* mainSites = control<QComboBox>(fMain::instance(), "cboSites");
        const QSignalBlocker quiet(mainSites);
        mainSites->addItems({QStringLiteral("Default"), QStringLiteral("Site2")});
    }
    void TearDown() override {
        editor.reset();
        if (fMain::isLoaded()) fMain::unloadInstance();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (!serverFolder.isEmpty()) QDir(serverFolder).removeRecursively();
        SimTest::TearDown();
    }

    // Opens the editor from the main window's list and adds the site with the server's logins;
    // `failureTold`: the try ends with a message.
    void addSite(const QString& homedir, bool failureTold = false) {
        editor = std::make_unique<fSites>();
        editor->show();
        editor->cboSites->setCurrentIndex(1);
        editor->cmdNewSite->click();
        editor->txtSiteName->setText(QStringLiteral("North Wing"));
        editor->txtIPAddress->setText(SimServer::host());
        editor->txtSSHPort->setText(QString::number(SimServer::port()));
        editor->txtUserName->setText(SimServer::sftpUser());
        editor->txtPassword->setText(SimServer::sftpPassword());
        editor->txthomedir->setText(homedir);
        editor->txtlogin->setText(SimServer::shellUser());
        prompter.yes();
        if (failureTold) prompter.ok();
        editor->cmdNewSite->click();
    }

    static inline int s_serial = 0;
};

struct Edition {
    const char* label;
    bool express;
    bool unusedReport;
    int buttons;
};

class NewSiteEdition : public NewSiteOnServer, public ::testing::WithParamInterface<Edition> {};

TEST_P(NewSiteEdition, SetsUpTheServerAndEndsTheProgram) {
    const Edition& edition = GetParam();
    G().g_Express = edition.express;
    G().g_UnusedReport = edition.unusedReport;
    // Ending the program unloads the main window: see what its list received on the way.
    QStringList addedToMain;
    QComboBox* mainSites = control<QComboBox>(fMain::instance(), "cboSites");
    QObject::connect(
        mainSites->model(), &QAbstractItemModel::rowsInserted, mainSites,
        [&](const QModelIndex&, int first, int) { addedToMain << mainSites->itemText(first); });
    // The session waits in a local event loop, so timers run meanwhile: the window must be
    // closed to the user the whole time.
    QList<bool> enabledWhileRunning;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        if (editor) enabledWhileRunning << editor->isEnabled();
    });
    sampler.start(1);
    addSite(serverFolder);
    sampler.stop();
    EXPECT_FALSE(enabledWhileRunning.isEmpty());
    EXPECT_FALSE(enabledWhileRunning.contains(true));

    ASSERT_EQ(prompter.prompts().size(), 1u) << prompter.messages().last().toStdString();
    EXPECT_TRUE(programEndRequested());
    EXPECT_FALSE(editor->isVisible());

    const QStringList names =
        defaultButtonNames(G().g_ButtonNames, edition.express, edition.unusedReport);
    ASSERT_EQ(names.size(), edition.buttons);
    const QStringList expected =
        sitestest::expectedSetupLines(serverFolder, SimServer::shellUser(), names);
    EXPECT_EQ(text(setupLinesSent(expected)), text(expected));

    // What the lines left on the server.
    const QString acl = serverFolder + QStringLiteral("/ACL");
    QByteArray buttons = "ENABLED BUTTONS DO NOT REMOVE THIS LINE\n";
    for (const QString& n : names) buttons += n.toLatin1() + '\n';
    EXPECT_EQ(readFile(acl + QStringLiteral("/BUTTONS/default_buttons")), buttons);
    EXPECT_EQ(readFile(acl + QStringLiteral("/USERS/default_user")),
              defaultUserDigest().toLatin1() + '\n');
    for (const QString& path :
         {acl, acl + QStringLiteral("/USERS"), acl + QStringLiteral("/BUTTONS"),
          acl + QStringLiteral("/BUTTONS/default_buttons"),
          acl + QStringLiteral("/USERS/default_user")})
        EXPECT_EQ(QFileInfo(path).owner(), SimServer::shellUser()) << path.toStdString();
    EXPECT_EQ(sitestest::fileMode(acl + QStringLiteral("/USERS")) & 0777, 0777);
    EXPECT_EQ(sitestest::fileMode(acl + QStringLiteral("/BUTTONS")) & 0777, 0777);
    // The tables and programs go to root and the users group, which only root can do: the
    // server's sudo records those changes, on the files the folder holds, and makes none.
    EXPECT_EQ(text(SimServer::entries(QStringLiteral("SUDO-SKIPPED"))),
              text({"chgrp users ORV_B8 ORV_CO", "chmod 666 calls.db ext.db",
                    "chown root calls.db ext.db", "chgrp users calls.db ext.db"}));
    for (const char* file : {"calls.db", "ext.db", "ORV_B8"}) {
        const QString path = serverFolder + QLatin1Char('/') + QLatin1String(file);
        EXPECT_EQ(QFileInfo(path).owner(), SimServer::sftpUser()) << file;
        EXPECT_EQ(QFileInfo(path).group(), QStringLiteral("varnel")) << file;
    }

    // The local side: the site as North_Wing in both lists, the file and the table.
    EXPECT_EQ(addedToMain, QStringList{QStringLiteral("North_Wing")});
    EXPECT_EQ(editor->cboSites->itemText(2), QStringLiteral("North_Wing"));
    EXPECT_EQ(G().g_SiteCount, 3);
    EXPECT_EQ(G().g_SiteHomedir[2], serverFolder);
    const QByteArray ini = home.read(QStringLiteral("KTReports.ini"));
    EXPECT_TRUE(ini.startsWith("[Sites]\r\nNum=3\r\n"));
    EXPECT_TRUE(ini.contains("[Site3]\r\nName=North_Wing\r\nIPAddress=127.0.0.1\r\n"));
    EXPECT_TRUE(QFileInfo(home.file(QStringLiteral("North_Wing/Bats/Detail.shp"))).isFile());
}

INSTANTIATE_TEST_SUITE_P(Editions, NewSiteEdition,
                         ::testing::Values(Edition{"Quillon", false, false, 23},
                                           Edition{"Lumbrook", true, false, 25},
                                           Edition{"QuillonUnused", false, true, 24},
                                           Edition{"LumbrookUnused", true, true, 26}),
                         [](const ::testing::TestParamInfo<Edition>& info) {
                             return info.param.label;
                         });

// A configuration write that fails leaves nothing behind that would refuse the next try, and
// the next try adds the site.
TEST_F(NewSiteOnServer, ARetryAfterAFailedConfigurationWriteAddsTheSite) {
    const QByteArray ini = home.read(QStringLiteral("KTReports.ini"));
    const QString iniPath = home.file(QStringLiteral("KTReports.ini"));
    // A folder in the file's place: every write of a key fails, even for root.
    QFile::remove(iniPath);
    QDir().mkpath(iniPath);
    const QStringList before = QDir(home.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    addSite(serverFolder, true);
    EXPECT_TRUE(prompter.messages().last().startsWith(
        QStringLiteral("An error occurred adding a Site:\r\n\r\n")));
    EXPECT_EQ(QDir(home.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    EXPECT_EQ(G().g_SiteCount, 2);

    QDir(iniPath).removeRecursively();
    home.write(QStringLiteral("KTReports.ini"), ini);
    testsupport::ScriptedPrompter retry;
    retry.yes();
    editor->cmdNewSite->click();
    ASSERT_EQ(retry.prompts().size(), 1u) << retry.messages().last().toStdString();
    EXPECT_TRUE(programEndRequested());
    EXPECT_TRUE(home.read(QStringLiteral("KTReports.ini"))
                    .contains("[Site3]\r\nName=North_Wing\r\nIPAddress=127.0.0.1\r\n"));
    EXPECT_TRUE(QFileInfo(home.file(QStringLiteral("North_Wing/Bats/Detail.shp"))).isFile());
    EXPECT_TRUE(QFileInfo(home.file(QStringLiteral("North_Wing/download/reports"))).isDir());
}

// A cd that does not arrive stops the set-up there: no sudo line runs in the wrong folder.
TEST_F(NewSiteOnServer, AFolderChangeThatFailsStopsBeforeTheNextLine) {
    struct Case {
        const char* label;
        bool missingFolder;  // else ACL is a file, so "cd ACL" fails
    };
    for (const Case c : {Case{"missing folder", true}, Case{"ACL is a file", false}}) {
        SCOPED_TRACE(c.label);
        testsupport::ScriptedPrompter answers;
        SimServer::clearJournal();
        resetProgramEnd();
        const QString folder =
            c.missingFolder ? serverFolder + QStringLiteral("-missing") : serverFolder;
        if (!c.missingFolder) {
            QFile acl(serverFolder + QStringLiteral("/ACL"));
            ASSERT_TRUE(acl.open(QIODevice::WriteOnly));
        }
        G().g_SiteCount = 2;
        QDir(home.file(QStringLiteral("North_Wing"))).removeRecursively();
        editor = std::make_unique<fSites>();
        editor->show();
        editor->cmdNewSite->click();
        editor->txtSiteName->setText(QStringLiteral("North Wing"));
        editor->txtIPAddress->setText(SimServer::host());
        editor->txtSSHPort->setText(QString::number(SimServer::port()));
        editor->txthomedir->setText(folder);
        answers.yes().ok();
        editor->cmdNewSite->click();

        const QString shown = answers.messages().last();
        EXPECT_TRUE(shown.startsWith(QStringLiteral("An error occurred adding a Site:\r\n\r\n")))
            << shown.toStdString();
        EXPECT_EQ(answers.prompts().back().icon, platform::Icon::Critical);
        const QStringList all =
            sitestest::expectedSetupLines(folder, SimServer::shellUser(), QStringList());
        const QStringList sent = setupLinesSent(all);
        if (c.missingFolder) {
            EXPECT_TRUE(shown.contains(folder));
            EXPECT_EQ(text(sent), text(all.mid(0, 1)));
        } else {
            // The lines up to "cd ACL", and none of the sudo lines meant for ACL.
            EXPECT_TRUE(shown.contains(QStringLiteral("'ACL'")));
            EXPECT_EQ(all[8], QStringLiteral("cd ACL"));
            EXPECT_EQ(text(sent), text(all.mid(0, 9)));
        }
        EXPECT_FALSE(programEndRequested());
        EXPECT_TRUE(editor->isVisible());
        EXPECT_TRUE(editor->isEnabled());
    }
}

}  // namespace
