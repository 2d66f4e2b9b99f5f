#include "startup/frmSplash.h"
#include "support/Controls.h"
#include "support/ProgramWindows.h"
#include "widgets/WindowRegistry.h"

#include "common/Globals.h"
#include "menu/fMain.h"
#include "platform/Prompter.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"
#include "widgets/AppControl.h"

#if __has_include("access/frmLogin.h")
#include "access/frmLogin.h"
#define HAVE_LOGIN 1
#endif
#if __has_include("startup/fSites.h")
#include "startup/fSites.h"
#define HAVE_SITE_EDITOR 1
#endif

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMovie>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

using testsupport::control;

using quillon::fMain;
using quillon::frmSplash;
using quillon::G;

namespace {

QStringList itemsOf(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    return items;
}

class Splash : public ::testing::Test {
protected:
    ~Splash() override {
        delete splash.data();
        delete next.data();
        if (fMain::isLoaded()) fMain::unloadInstance();
        platform::setProgramTitle(QString());
    }

    void writeIni(const QByteArray& sites) { home.write("KTReports.ini", "[Sites]\r\n" + sites); }

    // Loads the splash window and lets its timer fire.
    void start() {
        splash = new frmSplash;
        splash->tmrSplash_Timer();
        next = splash->handedOverTo();
    }

    testsupport::TempHome home;
    testsupport::ScriptedPrompter prompter;
    QPointer<frmSplash> splash;
    QPointer<QWidget> next;
};

struct EditionCase {
    const char* express;
    const char* name;
};

class SplashEdition : public Splash, public ::testing::WithParamInterface<EditionCase> {};

TEST_P(SplashEdition, ShowsTheEditionAndVersionAtLoad) {
    writeIni(QByteArray(GetParam().express) + "Num=0\r\n");
    splash = new frmSplash;
    const QString name = QString::fromLatin1(GetParam().name);
    EXPECT_EQ(control<QLabel>(splash, "lblProductName")->text(), name);
    EXPECT_EQ(control<QLabel>(splash, "lblVersion")->text(), "Version 7.0.3");
    EXPECT_EQ(control<QLabel>(splash, "lblWarning")->text(), "please wait .....");
    EXPECT_EQ(platform::programTitle(), name);
    EXPECT_EQ(G().g_Version, "7.0.3");
}

INSTANTIATE_TEST_SUITE_P(Cases, SplashEdition,
                         ::testing::Values(EditionCase{"Express=1\r\n", "Lumbrook"},
                                           EditionCase{"Express=0\r\n", "Quillon"},
                                           EditionCase{"", "Quillon"}));

TEST_F(Splash, LoadPreparesTheHiddenMainWindowWithEveryMenuButtonOff) {
    writeIni("Num=0\r\n");
    G().g_BackupReportsMode = true;
    splash = new frmSplash;
    auto* timer = control<QTimer>(splash, "tmrSplash");
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 3000);
    EXPECT_TRUE(timer->isSingleShot());
    EXPECT_FALSE(G().g_BackupReportsMode);
    EXPECT_EQ(G().g_ButtonNames[1], "01.cmddetail");
    ASSERT_TRUE(fMain::isLoaded());
    fMain* main = fMain::instance();
    EXPECT_FALSE(main->isVisible());
    EXPECT_TRUE(control<QPushButton>(main, "cmdexitbackup")->isHidden());
    EXPECT_TRUE(control<QLabel>(main, "lblexitbackup")->isHidden());
    EXPECT_FALSE(main->commandButton("cmddetail")->isEnabled());
    EXPECT_FALSE(main->commandButton("cmdadduser")->isEnabled());
    // Nothing but the splash window is up before the timer has fired.
    EXPECT_FALSE(splash->handedOverTo());
}

TEST_F(Splash, TheGlobeInTheProgramFolderTurns) {
    writeIni("Num=0\r\n");
    QFile::copy(QStringLiteral(QUILLON_SOURCE_DIR "/resources/globe1_14807.gif"),
                home.file("globe1_14807.gif"));
    splash = new frmSplash;
    QMovie* globe = control<QLabel>(splash, "AniGif1")->movie();
    ASSERT_TRUE(globe);
    EXPECT_TRUE(globe->isValid());
    EXPECT_GT(globe->frameCount(), 1);
    EXPECT_EQ(globe->state(), QMovie::Running);
}

TEST_F(Splash, AMissingFileIsToldAtLoadAndAgainAtTheTimerAndNothingElseOpens) {
    prompter.ok().ok();
    splash = new frmSplash;
    splash->show();
    EXPECT_EQ(prompter.messages(), QStringList{"Unable to find KTREPORTS.INI."});
    splash->tmrSplash_Timer();
    EXPECT_EQ(prompter.messages(),
              (QStringList{"Unable to find KTREPORTS.INI.", "Unable to find KTREPORTS.INI."}));
    for (const auto& p : prompter.prompts()) {
        EXPECT_EQ(p.title, "Varnel Reports");
        EXPECT_EQ(p.icon, platform::Icon::Critical);
    }
    EXPECT_TRUE(splash->startupStopped());
    EXPECT_FALSE(splash->handedOverTo());
    EXPECT_FALSE(fMain::isLoaded());
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_TRUE(w == splash.data() || !w->isVisible()) << w->objectName().toStdString();

    // The user closes the splash window: that is the end of the program.
    EXPECT_FALSE(quillon::programEndRequested());
    splash->close();
    EXPECT_TRUE(quillon::programEndRequested());
}

TEST_F(Splash, AFileThatTurnsUpAfterTheLoadDoesNotRestartTheStartUp) {
    prompter.ok().ok();
    splash = new frmSplash;
    writeIni("Num=0\r\n");
    splash->tmrSplash_Timer();
    EXPECT_EQ(prompter.messages().size(), 2);
    EXPECT_FALSE(splash->handedOverTo());
    EXPECT_EQ(home.read("KTReports.ini"), "[Sites]\r\nNum=0\r\n");
}

TEST_F(Splash, ClosingItBeforeTheTimerEndsTheProgram) {
    writeIni("Num=2\r\n[Site1]\r\nName=Default\r\n[Site2]\r\nName=North\r\n");
    splash = new frmSplash;
    splash->show();
    splash->close();
    EXPECT_TRUE(quillon::programEndRequested());
    EXPECT_FALSE(control<QTimer>(splash, "tmrSplash")->isActive());
}

struct UpdateCase {
    const char* line;
    bool shown;
};

class SplashUpdateMode : public Splash, public ::testing::WithParamInterface<UpdateCase> {};

TEST_P(SplashUpdateMode, ShowsTheUpdateButtonOnlyInUpdateMode) {
    writeIni(QByteArray(GetParam().line) + "Num=0\r\n");
    start();
    fMain* main = fMain::instance();
    for (QWidget* w : {static_cast<QWidget*>(control<QPushButton>(main, "cmdupdate")),
                       static_cast<QWidget*>(control<QLabel>(main, "lblupdate"))}) {
        EXPECT_EQ(!w->isHidden(), GetParam().shown) << w->objectName().toStdString();
        EXPECT_EQ(w->isEnabled(), GetParam().shown) << w->objectName().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, SplashUpdateMode,
                         ::testing::Values(UpdateCase{"UpdateMode=1\r\n", true},
                                           UpdateCase{"UpdateMode=0\r\n", false},
                                           UpdateCase{"", false}));

TEST_F(Splash, ConfigurationNoticesAreShownOnceEach) {
    QByteArray ini = "Num=52\r\n";
    for (int k = 1; k <= 52; ++k)
        ini += QStringLiteral("[Site%1]\r\nName=S%1\r\n").arg(k).toLatin1();
    ini.replace("Name=S3\r\n", "Name=a/b\r\n");
    writeIni(ini);
    prompter.ok().ok();
    start();
    ASSERT_EQ(prompter.messages().size(), 2);
    EXPECT_TRUE(prompter.messages()[0].contains("52"));
    EXPECT_TRUE(prompter.messages()[1].contains("Site3"));
}

#ifdef HAVE_SITE_EDITOR
TEST_F(Splash, OneSiteOpensTheSiteEditorWithThatSiteSelected) {
    writeIni("Num=1\r\nLast=4\r\n[Site1]\r\nName=North\r\n");
    start();
    auto* editor = qobject_cast<quillon::fSites*>(next.data());
    ASSERT_TRUE(editor);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(itemsOf(editor->cboSites), QStringList{"North"});
    EXPECT_EQ(editor->cboSites->currentIndex(), 0);
    EXPECT_FALSE(splash->isVisible());
    EXPECT_EQ(splash->SiteList->count(), 0);
#ifdef HAVE_LOGIN
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(qobject_cast<quillon::frmLogin*>(w));
#endif
}
#else
TEST_F(Splash, OneSiteOpensTheSiteEditorWithThatSiteSelected) {
    GTEST_SKIP() << "the site editor is not part of this build yet";
}
#endif

#ifdef HAVE_LOGIN
struct LoginCase {
    const char* ini;
    QStringList names;
    int selected;
};

class SplashLogin : public Splash, public ::testing::WithParamInterface<LoginCase> {};

TEST_P(SplashLogin, OtherCountsOpenTheLoginWindowWithTheSites) {
    writeIni(GetParam().ini);
    start();
    auto* login = qobject_cast<quillon::frmLogin*>(next.data());
    ASSERT_TRUE(login);
    EXPECT_TRUE(login->isVisible());
    EXPECT_FALSE(login->isModal());
    EXPECT_EQ(itemsOf(login->cboSites), GetParam().names);
    EXPECT_EQ(login->cboSites->currentIndex(), GetParam().selected);
    EXPECT_EQ(G().g_CurSite, GetParam().selected);
    EXPECT_FALSE(splash->isVisible());
    EXPECT_FALSE(quillon::programEndRequested());
    EXPECT_FALSE(fMain::instance()->isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplashLogin,
    ::testing::Values(LoginCase{"Num=0\r\n", {}, -1},
                      LoginCase{"Num=3\r\nLast=2\r\n[Site1]\r\nName=Default\r\n"
                                "[Site2]\r\nName=North\r\n[Site3]\r\nName=South Wing\r\n",
                                {"Default", "North", "South Wing"},
                                2},
                      LoginCase{"Num=2\r\nLast=7\r\n[Site1]\r\nName=Default\r\n"
                                "[Site2]\r\nName=North\r\n",
                                {"Default", "North"},
                                0}));
#else
TEST_F(Splash, OtherCountsOpenTheLoginWindowWithTheSites) {
    GTEST_SKIP() << "the login window is not part of this build yet";
}
#endif

}  // namespace
