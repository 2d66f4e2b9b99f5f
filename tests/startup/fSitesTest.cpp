// The site editor window: site list and boxes, Modify Site with its confirmations, the script
// box, and the checks of a new site before anything is written or sent.
#include "startup/fSites.h"
#include "support/Controls.h"
#include "support/ProgramWindows.h"
#include "widgets/WindowRegistry.h"

#include "common/ButtonCatalogue.h"
#include "common/Globals.h"
#include "fSitesTestSupport.h"
#include "menu/fMain.h"
#include "support/FakeServer.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"
#include "widgets/AppControl.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using testsupport::control;

using namespace quillon;
using platform::Icon;
using sitestest::fileMode;

namespace {

const QByteArray kIni =
    "[Sites]\r\nNum=3\r\n"
    "[Site1]\r\nName=Default\r\nIPAddress=127.0.0.1\r\nSSHPort=22\r\n"
    "[Site2]\r\nName=Site2\r\nIPAddress=10.0.0.2\r\nSSHPort=22\r\nTelnetPort=23\r\n"
    "Username=varnel\r\nPassword=v\r\nHomedir=/usr/varnel\r\nSSHUser=varneltail\r\n"
    "[Site3]\r\nName=North_Wing\r\nIPAddress=10.0.0.3\r\n";

class SiteEditor : public ::testing::Test {
protected:
    testsupport::TempHome home;
    testsupport::ScriptedPrompter prompter;
    std::unique_ptr<fSites> editor;

    void SetUp() override {
        home.write(QStringLiteral("KTReports.ini"), kIni);
        sitestest::installShippedTemplates(home.path());
        fillButtonCatalogue();
        Globals& g = G();
        g.g_SiteCount = 3;
        const char* ips[] = {"127.0.0.1", "10.0.0.2", "10.0.0.3"};
        for (int i = 0; i < 3; ++i) {
            g.g_SiteIPAddress[i] = QString::fromLatin1(ips[i]);
            g.g_SiteSSHPort[i] = QStringLiteral("22");
            g.g_SiteTelnetPort[i] = QStringLiteral("23");
            g.g_SiteUsername[i] = QStringLiteral("varnel");
            g.g_SitePassword[i] = QStringLiteral("v");
            g.g_SiteHomedir[i] = QStringLiteral("/usr/varnel");
            g.g_SiteSSHUser[i] = QStringLiteral("varneltail");
        }
    }
    void TearDown() override {
        editor.reset();
        if (fMain::isLoaded()) fMain::unloadInstance();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Opens the editor with the site names, as the start-up hands them over.
    void open(const QStringList& names = {QStringLiteral("Default"), QStringLiteral("Site2"),
                                          QStringLiteral("North_Wing")},
              int select = 0) {
        editor = std::make_unique<fSites>();
        {
            const QSignalBlocker quiet(editor->cboSites);
            editor->cboSites->addItems(names);
            editor->cboSites->setCurrentIndex(-1);
        }
        editor->cboSites->setCurrentIndex(select);
        editor->show();
    }

    QStringList folderEntries() const {
        return QDir(home.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }
};

TEST_F(SiteEditor, LoadsTheMainWindowsSitesAndShowsTheFirst) {
    QComboBox* mainSites = control<QComboBox>(fMain::instance(), "cboSites");
    {
        const QSignalBlocker quiet(mainSites);
        mainSites->addItems({QStringLiteral("Default"), QStringLiteral("Site2")});
    }
    fSites e;
    ASSERT_EQ(e.cboSites->count(), 2);
    EXPECT_EQ(e.cboSites->currentIndex(), 0);
    EXPECT_EQ(e.txtIPAddress->text(), QStringLiteral("127.0.0.1"));
    EXPECT_FALSE(e.txtIPAddress->isEnabled());
    EXPECT_FALSE(e.txtlogin->isEnabled());
    EXPECT_FALSE(e.cmdsave->isEnabled());
    EXPECT_EQ(e.Frame1->title(), QStringLiteral("Edit Scripts for Site 'Default'"));
    ASSERT_EQ(e.lstReports->count(), 12);
    EXPECT_EQ(e.lstReports->item(0)->text(), QStringLiteral("Detail Report"));
    EXPECT_EQ(e.lstReports->item(11)->text(), QStringLiteral("Call-Accounting Status"));
    EXPECT_EQ(e.ScriptFileNames[11], QStringLiteral("Status.shp"));
    EXPECT_EQ(e.lstDivisionHidden->count(), 23);
    EXPECT_TRUE(e.txtTelnetPort->isHidden());
    EXPECT_EQ(e.txtPassword->echoMode(), QLineEdit::Password);
}

TEST_F(SiteEditor, PickingASiteShowsItsValuesAndEmptiesTheScript) {
    G().g_SiteHomedir[1] = QStringLiteral("/srv/two");
    open();
    editor->lstReports->setCurrentRow(0);
    editor->lstReports_DblClick();
    ASSERT_TRUE(editor->txtScript->isEnabled());
    editor->cboSites->setCurrentIndex(1);
    EXPECT_EQ(editor->txthomedir->text(), QStringLiteral("/srv/two"));
    EXPECT_EQ(editor->txtIPAddress->text(), QStringLiteral("10.0.0.2"));
    EXPECT_EQ(editor->Frame1->title(), QStringLiteral("Edit Scripts for Site 'Site2'"));
    EXPECT_TRUE(editor->txtScript->toPlainText().isEmpty());
    EXPECT_FALSE(editor->txtScript->isEnabled());
    EXPECT_EQ(editor->lstReports->currentRow(), -1);
    // The editor's choice is its own.
    EXPECT_EQ(G().g_CurSite, -1);
}

TEST_F(SiteEditor, ShowsEditsAndSavesAScript) {
    home.write(QStringLiteral("Site2/Bats/cost.shp"), "open x\r\nbye\r\n");
    open({QStringLiteral("Default"), QStringLiteral("Site2")}, 1);
    QListWidget* list = editor->lstReports;
    const QRect costRow = list->visualItemRect(list->item(2));
    // A double click as the mouse makes it: a click, then the second press.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, costRow.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, costRow.center());
    ASSERT_TRUE(editor->txtScript->isEnabled());
    EXPECT_EQ(editor->txtScript->toPlainText(), QStringLiteral("open x\nbye\n"));
    EXPECT_FALSE(editor->cmdsave->isEnabled());

    editor->txtScript->setPlainText(QStringLiteral("   "));
    QTest::keyClick(editor->txtScript, Qt::Key_Space);
    EXPECT_FALSE(editor->cmdsave->isEnabled());
    editor->txtScript->setPlainText(QStringLiteral("open y\n"));
    QTest::keyClick(editor->txtScript, Qt::Key_End);
    EXPECT_TRUE(editor->cmdsave->isEnabled());

    prompter.no();
    editor->cmdsave->click();
    EXPECT_EQ(home.read(QStringLiteral("Site2/Bats/cost.shp")), "open x\r\nbye\r\n");
    EXPECT_FALSE(editor->cmdsave->isEnabled());

    prompter.yes().ok();
    editor->cmdsave_Click();
    EXPECT_EQ(home.read(QStringLiteral("Site2/Bats/cost.shp")), "open y\r\n\r\n");
    EXPECT_EQ(fileMode(home.file(QStringLiteral("Site2/Bats/cost.shp"))), 0600);
    ASSERT_EQ(prompter.prompts().size(), 3u);
    EXPECT_EQ(prompter.prompts()[1].text,
              QStringLiteral("Are you sure you want to update\r\nscript 'Cost Report' for Site "
                             "'Site2'?"));
    EXPECT_EQ(prompter.prompts()[1].icon, Icon::Exclamation);
    EXPECT_EQ(prompter.prompts()[2].text, QStringLiteral("Script saved successfully."));
    EXPECT_EQ(prompter.prompts()[2].title, QStringLiteral("Configure Sites"));

    // A single click on a report empties and locks the box again.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, costRow.center());
    EXPECT_FALSE(editor->txtScript->isEnabled());
    EXPECT_TRUE(editor->txtScript->toPlainText().isEmpty());
}

TEST_F(SiteEditor, ASaveThatFailsIsReportedAndKeepsTheSaveButton) {
    open({QStringLiteral("Default"), QStringLiteral("Gone")}, 1);
    editor->lstReports->setCurrentRow(0);
    prompter.ok();  // the missing script
    editor->lstReports_DblClick();
    EXPECT_TRUE(prompter.messages().last().startsWith(
        QStringLiteral("The script file could not be read:")));
    editor->txtScript->setPlainText(QStringLiteral("open z"));
    editor->txtScript_KeyUp();
    prompter.yes().ok();
    editor->cmdsave_Click();
    EXPECT_TRUE(prompter.messages().last().startsWith(
        QStringLiteral("An error occurred saving script:\r\n\r\n")));
    EXPECT_EQ(prompter.prompts().back().icon, Icon::Critical);
    EXPECT_TRUE(editor->cmdsave->isEnabled());
}

// Modify refuses the default entry, a site named Default anywhere, a name that is no
// folder name. Nothing is asked and nothing changes.
TEST_F(SiteEditor, ModifyRefusesTheDefaultSiteAndUnsafeNames) {
    const QString refusal = QStringLiteral(
        "YOU MAY NOT MODIFY THE DEFAULT SITE, ADD A SITE CALL VARNEL SUPPORT FOR HELP");
    open({QStringLiteral("Default"), QStringLiteral("Site2"), QStringLiteral("default"),
          QStringLiteral("../escape")});
    for (const int index : {0, 2, 3}) {
        editor->cboSites->setCurrentIndex(index);
        prompter.ok();
        editor->cmdmodify->click();
        EXPECT_EQ(editor->cmdmodify->text(), QStringLiteral("&Modify Site"));
        EXPECT_FALSE(editor->txtIPAddress->isEnabled());
    }
    const QStringList shown = prompter.messages();
    ASSERT_EQ(shown.size(), 3);
    EXPECT_EQ(shown[0], refusal);
    EXPECT_EQ(prompter.prompts()[0].icon, Icon::None);
    EXPECT_EQ(prompter.prompts()[0].title, QString());
    EXPECT_EQ(shown[1], refusal);
    EXPECT_TRUE(shown[2].contains(QStringLiteral("cannot be used as a folder name")));
    EXPECT_EQ(home.read(QStringLiteral("KTReports.ini")), kIni);
    EXPECT_FALSE(QFileInfo::exists(home.file(QStringLiteral("escape"))));
}

TEST_F(SiteEditor, ModifyConfirmationsNoClosesFirstThenStays) {
    open({QStringLiteral("Default"), QStringLiteral("Site2")}, 1);
    prompter.no();
    editor->cmdmodify->click();
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(prompter.prompts()[0].text,
              QStringLiteral("Changing these values could cause your Network GUI to become "
                             "inoperable.\r\nContact Varnel Support if you require "
                             "assistance.\r\nDo you wish to continue?"));
    EXPECT_EQ(prompter.prompts()[0].icon, Icon::Question);

    open({QStringLiteral("Default"), QStringLiteral("Site2")}, 1);
    prompter.yes().no();
    editor->cmdmodify->click();
    EXPECT_EQ(editor->cmdmodify->text(), QStringLiteral("&Save Site"));
    EXPECT_FALSE(editor->cmdNewSite->isEnabled());
    EXPECT_TRUE(editor->txthomedir->isEnabled());
    editor->cmdmodify->click();
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->cmdmodify->text(), QStringLiteral("&Save Site"));
    EXPECT_TRUE(editor->cmdNewSite->isEnabled());
    EXPECT_TRUE(prompter.messages().last().contains(
        QStringLiteral("Are you sure you want to modify this site.")));
    EXPECT_EQ(home.read(QStringLiteral("KTReports.ini")), kIni);
}

TEST_F(SiteEditor, ModifyRebuildsBatsAndStoresTheValuesAsTyped) {
    home.write(QStringLiteral("Site2/Bats/Detail.shp"), "old copy\r\n");
    home.write(QStringLiteral("Site2/Bats/ext.csv"), "1000,A\r\n");
    home.write(QStringLiteral("Site2/Bats/answers/chg.ans"), "OK\n");
    home.write(QStringLiteral("Site2/download/reports/keep.rtf"), "kept");
    open({QStringLiteral("Default"), QStringLiteral("Site2")}, 1);
    prompter.yes().yes().ok();
    editor->cmdmodify->click();
    editor->txtIPAddress->setText(QStringLiteral(" 10.9.9.9 "));
    editor->txtSSHPort->setText(QStringLiteral(" 2200 "));
    editor->txtlogin->setText(QStringLiteral("ops"));
    editor->cmdmodify->click();

    EXPECT_EQ(prompter.messages().last(), QStringLiteral("Changes have been saved"));
    EXPECT_FALSE(editor->isVisible());

    const QStringList bats = QDir(home.file(QStringLiteral("Site2/Bats")))
                                 .entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    EXPECT_EQ(bats, QDir(sitestest::shippedTemplates()).entryList(QDir::Files));
    EXPECT_TRUE(QFileInfo::exists(home.file(QStringLiteral("Site2/download/reports/keep.rtf"))));
    const QByteArray detail = home.read(QStringLiteral("Site2/Bats/Detail.shp"));
    EXPECT_TRUE(detail.startsWith("open  10.9.9.9   2200\r\nuser varnel v\r\n")) << detail.data();
    EXPECT_TRUE(detail.contains("lcd Site2\\download\\reports\r\n"));
    EXPECT_TRUE(detail.contains("literal SITE WHO ops\r\n"));
    EXPECT_EQ(fileMode(home.file(QStringLiteral("Site2/Bats/Detail.shp"))), 0600);

    const QByteArray ini = home.read(QStringLiteral("KTReports.ini"));
    EXPECT_TRUE(
        ini.contains("[Site2]\r\nName=Site2\r\nIPAddress= 10.9.9.9 \r\nSSHPort= 2200 \r\n"
                     "TelnetPort=23\r\nUsername=varnel\r\nPassword=v\r\n"
                     "Homedir=/usr/varnel\r\nSSHUser=ops\r\n[Site3]"))
        << ini.data();
    EXPECT_EQ(fileMode(home.file(QStringLiteral("KTReports.ini"))), 0600);
    EXPECT_EQ(G().g_SiteIPAddress[1], QStringLiteral("10.9.9.9"));
    EXPECT_EQ(G().g_SiteSSHPort[1], QStringLiteral("2200"));
    EXPECT_EQ(G().g_SiteSSHUser[1], QStringLiteral("ops"));
}

// A box holding a character without a Windows-1252 code is refused with its field named,
// before the Bats folder is rebuilt or anything is written; the boxes stay open to correct it.
TEST_F(SiteEditor, ModifyRefusesACharacterTheConfigurationCannotHold) {
    home.write(QStringLiteral("Site2/Bats/Detail.shp"), "old copy\r\n");
    open({QStringLiteral("Default"), QStringLiteral("Site2")}, 1);
    prompter.yes().ok();
    editor->cmdmodify->click();
    editor->txtPassword->setText(QString::fromUtf8("v\u0142"));
    editor->cmdmodify->click();
    EXPECT_EQ(prompter.messages().last(),
              QString::fromUtf8("The Password may not hold the character \"\u0142\" (U+0142): the "
                                "server's text is Windows-1252, which has no code for it."));
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->cmdmodify->text(), QStringLiteral("&Save Site"));
    EXPECT_EQ(home.read(QStringLiteral("KTReports.ini")), kIni);
    EXPECT_EQ(home.read(QStringLiteral("Site2/Bats/Detail.shp")), "old copy\r\n");
}

// A configuration file that cannot be written is told, never taken for a saved site.
// A Bats folder that is a link to another folder: the link gives way to a folder of the
// site's own, and what it pointed to keeps every file.
TEST_F(SiteEditor, ModifyReplacesALinkedBatsFolderAndLeavesItsTarget) {
    home.write(QStringLiteral("Shared/Detail.shp"), "someone else's\r\n");
    QDir().mkpath(home.file(QStringLiteral("Site2")));
    ASSERT_TRUE(
        QFile::link(home.file(QStringLiteral("Shared")), home.file(QStringLiteral("Site2/Bats"))));
    open({QStringLiteral("Default"), QStringLiteral("Site2")}, 1);
    prompter.yes().yes().ok();
    editor->cmdmodify->click();
    editor->cmdmodify->click();

    EXPECT_EQ(prompter.messages().last(), QStringLiteral("Changes have been saved"));
    EXPECT_EQ(QDir(home.file(QStringLiteral("Shared"))).entryList(QDir::Files),
              QStringList{QStringLiteral("Detail.shp")});
    EXPECT_EQ(home.read(QStringLiteral("Shared/Detail.shp")), "someone else's\r\n");
    const QFileInfo bats(home.file(QStringLiteral("Site2/Bats")));
    EXPECT_FALSE(bats.isSymLink());
    EXPECT_EQ(QDir(bats.filePath()).entryList(QDir::Files),
              QDir(sitestest::shippedTemplates()).entryList(QDir::Files));
}

TEST_F(SiteEditor, AConfigurationThatCannotBeWrittenIsToldAndNothingIsTakenAsSaved) {
    // A folder in the file's place: every write of a key fails, even for root.
    QFile::remove(home.file(QStringLiteral("KTReports.ini")));
    QDir().mkpath(home.file(QStringLiteral("KTReports.ini")));

    open({QStringLiteral("Default"), QStringLiteral("Site2"), QStringLiteral("North_Wing")}, 1);
    prompter.yes().yes().ok();
    editor->cmdmodify->click();
    editor->txtIPAddress->setText(QStringLiteral("10.9.9.9"));
    editor->cmdmodify->click();
    EXPECT_TRUE(
        prompter.messages().last().startsWith(QStringLiteral("The changes could not be "
                                                             "saved")))
        << prompter.messages().last().toStdString();
    EXPECT_EQ(prompter.prompts().back().icon, Icon::Critical);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(G().g_SiteIPAddress[1], QStringLiteral("10.0.0.2"));
    editor.reset();

    testsupport::ScriptedPrompter answers;
    const QStringList before = folderEntries();
    open();
    editor->cmdNewSite->click();
    editor->txtSiteName->setText(QStringLiteral("East"));
    editor->txtIPAddress->setText(QStringLiteral("127.0.0.1"));
    editor->txtSSHPort->setText(QStringLiteral("1"));
    answers.yes().ok();
    editor->cmdNewSite->click();
    const QString shown = answers.messages().last();
    EXPECT_TRUE(shown.startsWith(QStringLiteral("An error occurred adding a Site:\r\n\r\n")));
    EXPECT_TRUE(shown.contains(QStringLiteral("KTReports.ini"))) << shown.toStdString();
    EXPECT_EQ(G().g_SiteCount, 3);
    EXPECT_EQ(editor->cboSites->count(), 3);
    // The folders of the try are gone with it, so that the next try is not refused.
    EXPECT_EQ(folderEntries(), before);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_FALSE(programEndRequested());
}

TEST_F(SiteEditor, NewSiteEntryAndCancel) {
    open({QStringLiteral("Default"), QStringLiteral("Site2")}, 1);
    editor->txtlogin->setText(QStringLiteral("other"));
    editor->cmdNewSite->click();
    EXPECT_EQ(editor->cmdNewSite->text(), QStringLiteral("&Add Site"));
    EXPECT_EQ(editor->Label1->text(), QStringLiteral("Site Name:"));
    EXPECT_TRUE(editor->cboSites->isHidden());
    EXPECT_TRUE(editor->txtSiteName->isVisible());
    EXPECT_FALSE(editor->cmdmodify->isEnabled());
    EXPECT_TRUE(editor->txtIPAddress->isEnabled());
    EXPECT_EQ(editor->txtSSHPort->text(), QStringLiteral("22"));
    EXPECT_EQ(editor->txtTelnetPort->text(), QStringLiteral("23"));
    EXPECT_EQ(editor->txtlogin->text(), QStringLiteral("varneltail"));
    EXPECT_EQ(editor->txtIPAddress->text(), QStringLiteral("10.0.0.2"));

    editor->txtIPAddress->setText(QStringLiteral("typed"));
    editor->cmdcancel->click();
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->cmdNewSite->text(), QStringLiteral("&New Site"));
    EXPECT_EQ(editor->Label1->text(), QStringLiteral("Current Sites:"));
    EXPECT_TRUE(editor->cboSites->isVisible());
    EXPECT_TRUE(editor->txtSiteName->isHidden());
    EXPECT_FALSE(editor->txtIPAddress->isEnabled());
    EXPECT_TRUE(editor->cmdmodify->isEnabled());
    EXPECT_EQ(editor->txtIPAddress->text(), QStringLiteral("10.0.0.2"));

    editor->cmdcancel->click();
    EXPECT_FALSE(editor->isVisible());
}

// A refused entry writes nothing, sends nothing and leaves the window in the entry.
struct RefusedCase {
    const char* label;
    const char* name;
    const char* ip;
    const char* port;  // nullptr: a valid one
    const char* homedir;
    const char* login;
    bool asked;  // refused after the confirmation question
    const char* messageStart;
};

class NewSiteRefused : public SiteEditor, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(NewSiteRefused, NothingWrittenNothingSent) {
    const RefusedCase& c = GetParam();
    testsupport::FakeServer server;
    const QStringList before = folderEntries();
    open();
    editor->cmdNewSite->click();
    editor->txtSiteName->setText(QString::fromUtf8(c.name));
    editor->txtIPAddress->setText(QString::fromUtf8(c.ip));
    editor->txtSSHPort->setText(c.port ? QString::fromUtf8(c.port) : QStringLiteral("2222"));
    editor->txthomedir->setText(QString::fromUtf8(c.homedir));
    editor->txtlogin->setText(QString::fromUtf8(c.login));
    if (c.asked) prompter.yes();
    prompter.ok();
    editor->cmdNewSite->click();

    ASSERT_FALSE(prompter.messages().isEmpty());
    EXPECT_TRUE(prompter.messages().last().startsWith(QString::fromUtf8(c.messageStart)))
        << prompter.messages().last().toStdString();
    EXPECT_EQ(prompter.prompts().back().title, QStringLiteral("Configure Sites"));
    EXPECT_EQ(home.read(QStringLiteral("KTReports.ini")), kIni);
    EXPECT_EQ(folderEntries(), before);
    EXPECT_EQ(G().g_SiteCount, 3);
    EXPECT_EQ(editor->cboSites->count(), 3);
    EXPECT_EQ(editor->cmdNewSite->text(), QStringLiteral("&Add Site"));
    EXPECT_TRUE(editor->isEnabled());
    EXPECT_FALSE(programEndRequested());
    EXPECT_TRUE(server.shellRequests().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, NewSiteRefused,
    ::testing::Values(
        RefusedCase{"blankName", "   ", "127.0.0.1", nullptr, "/usr/varnel", "varneltail", false,
                    "Invalid Site Name."},
        RefusedCase{"slashName", "a/b", "127.0.0.1", nullptr, "/usr/varnel", "varneltail", false,
                    "Invalid Site Name."},
        RefusedCase{"blankIp", "East", "  ", nullptr, "/usr/varnel", "varneltail", false,
                    "Invalid IP Address."},
        RefusedCase{"loginWithCommand", "East", "127.0.0.1", nullptr, "/usr/varnel",
                    "varneltail;touch /tmp/owned", false, "Invalid SSH Login."},
        RefusedCase{"loginSubstitution", "East", "127.0.0.1", nullptr, "/usr/varnel", "$(id)",
                    false, "Invalid SSH Login."},
        RefusedCase{"homedirWithCommand", "East", "127.0.0.1", nullptr,
                    "/usr/varnel; sudo rm -rf /", "varneltail", false, "Invalid HomeDir."},
        RefusedCase{"homedirClimbs", "East", "127.0.0.1", nullptr, "/usr/varnel/../../etc",
                    "varneltail", false, "Invalid HomeDir."},
        RefusedCase{"relativeHomedir", "East", "127.0.0.1", nullptr, "varnel", "varneltail", false,
                    "Invalid HomeDir."},
        RefusedCase{"portWithOption", "East", "127.0.0.1", "22 -oProxyCommand=x", "/usr/varnel",
                    "varneltail", false, "Invalid SSH Port."},
        // A character the configuration file and the server's text cannot hold, in any box.
        RefusedCase{"nameWithoutAWindows1252Code", "\xc5\x81\xc3\xb3" "d\xc5\xba", "127.0.0.1", nullptr,
                    "/usr/varnel", "varneltail", false, "The Site Name may not hold"},
        RefusedCase{"ipWithoutAWindows1252Code", "East", "127.0.0.\xe2\x91\xa0", nullptr,
                    "/usr/varnel", "varneltail", false, "The IP Address may not hold"},
        RefusedCase{"portZero", "East", "127.0.0.1", "0", "/usr/varnel", "varneltail", false,
                    "Invalid SSH Port."},
        RefusedCase{"nameDefault", "default", "127.0.0.1", nullptr, "/usr/varnel", "varneltail",
                    true, "Site 'default' already exists.\r\nPlease choose a different name."},
        RefusedCase{"nameOtherCase", "SITE2", "127.0.0.1", nullptr, "/usr/varnel", "varneltail",
                    true, "Site 'SITE2' already exists."},
        RefusedCase{"nameWithBlank", " north wing ", "127.0.0.1", nullptr, "/usr/varnel",
                    "varneltail", true, "Site 'north_wing' already exists."}),
    [](const ::testing::TestParamInfo<RefusedCase>& info) { return info.param.label; });

TEST_F(SiteEditor, NewSiteQuestionNoWritesNothing) {
    const QStringList before = folderEntries();
    open();
    editor->cmdNewSite->click();
    editor->txtSiteName->setText(QStringLiteral("North Annex"));
    editor->txtIPAddress->setText(QStringLiteral(" 10.0.0.9 "));
    editor->txtSSHPort->setText(QStringLiteral(" 2200"));
    prompter.no();
    editor->cmdNewSite->click();
    EXPECT_EQ(prompter.messages().last(),
              QStringLiteral("Are you sure you want to add new Site\r\ncalled 'North Annex'\r\n"
                             "with IP Address '10.0.0.9 with SSH Port 2200 ?"));
    EXPECT_EQ(prompter.prompts().back().icon, Icon::Question);
    EXPECT_EQ(home.read(QStringLiteral("KTReports.ini")), kIni);
    EXPECT_EQ(folderEntries(), before);
    EXPECT_EQ(editor->cmdNewSite->text(), QStringLiteral("&Add Site"));
}

// A full site list and a folder already named like the new site stop before anything is written.
TEST_F(SiteEditor, NewSiteStopsBeforeWritingWhenFullOrTheFolderExists) {
    for (const bool full : {true, false}) {
        testsupport::ScriptedPrompter answers;
        QStringList names{QStringLiteral("Default"), QStringLiteral("Site2")};
        if (full) {
            G().g_SiteCount = kMaxSites;
            for (int k = 2; k < kMaxSites; ++k) names << QStringLiteral("S%1").arg(k);
        } else {
            G().g_SiteCount = 2;
            QDir().mkpath(home.file(QStringLiteral("east/Bats")));
        }
        const QStringList present = folderEntries();
        open(names);
        editor->cmdNewSite->click();
        editor->txtSiteName->setText(QStringLiteral("East"));
        editor->txtIPAddress->setText(QStringLiteral("127.0.0.1"));
        answers.yes().ok();
        editor->cmdNewSite->click();
        const QString shown = answers.messages().last();
        EXPECT_TRUE(shown.startsWith(QStringLiteral("An error occurred adding a Site:\r\n\r\n")));
        EXPECT_TRUE(
            shown.contains(full ? QStringLiteral("full") : QStringLiteral("already exists")))
            << shown.toStdString();
        EXPECT_EQ(answers.prompts().back().icon, Icon::Critical);
        EXPECT_EQ(home.read(QStringLiteral("KTReports.ini")), kIni);
        EXPECT_EQ(folderEntries(), present);
        EXPECT_EQ(editor->cboSites->count(), names.size());
        EXPECT_TRUE(editor->isEnabled());
    }
}

// When the server cannot be reached the local part stays done, the window stays open and the
// program goes on.
TEST_F(SiteEditor, NewSiteWhoseServerIsUnreachableKeepsTheLocalPart) {
    testsupport::FakeServer server;
    server.failOpen(kSessionUnreachable, QStringLiteral("Connection refused by 127.0.0.1:1."));
    open();
    editor->cmdNewSite->click();
    editor->txtSiteName->setText(QStringLiteral("East Wing"));
    editor->txtIPAddress->setText(QStringLiteral("127.0.0.1"));
    editor->txtSSHPort->setText(QStringLiteral("1"));
    editor->txtUserName->setText(QStringLiteral("scp"));
    editor->txtPassword->setText(QStringLiteral("pw"));
    editor->txthomedir->setText(QStringLiteral("/srv/east"));
    prompter.yes().ok();
    editor->cmdNewSite->click();

    EXPECT_EQ(prompter.messages().last(),
              QStringLiteral("An error occurred adding a Site:\r\n\r\nConnection refused by "
                             "127.0.0.1:1."));
    ASSERT_EQ(server.shellRequests().size(), 1u);
    const ShellRequest& request = server.shellRequests()[0];
    EXPECT_EQ(request.target.host, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(request.target.port, 1);
    EXPECT_EQ(request.target.login, QStringLiteral("varneltail"));
    EXPECT_EQ(request.target.password, QString::fromLatin1(kShellPassword));
    EXPECT_EQ(request.control, QStringLiteral("wodSSH1"));
    EXPECT_FALSE(request.folder.has_value());
    EXPECT_TRUE(editor->isVisible());
    EXPECT_TRUE(editor->isEnabled());
    EXPECT_FALSE(programEndRequested());
    for (const QString& folder :
         QStringList{"East_Wing", "East_Wing/Bats", "East_Wing/download",
                     "East_Wing/download/errors", "East_Wing/download/reports"})
        EXPECT_TRUE(QFileInfo(home.file(folder)).isDir()) << folder.toStdString();
    const QByteArray detail = home.read(QStringLiteral("East_Wing/Bats/Detail.shp"));
    EXPECT_TRUE(detail.contains("open 127.0.0.1 1\r\nuser scp pw\r\n")) << detail.data();
    EXPECT_TRUE(detail.contains("cd /srv/east\r\nlcd East_Wing\\download\\reports\r\n"));
    EXPECT_EQ(fileMode(home.file(QStringLiteral("East_Wing/Bats/Detail.shp"))), 0600);
    const QByteArray ini = home.read(QStringLiteral("KTReports.ini"));
    EXPECT_TRUE(ini.startsWith("[Sites]\r\nNum=4\r\n"));
    EXPECT_TRUE(
        ini.endsWith("[Site4]\r\nName=East_Wing\r\nIPAddress=127.0.0.1\r\nSSHPort=1\r\n"
                     "TelnetPort=23\r\nUserName=scp\r\nPassword=pw\r\nHomedir=/srv/east\r\n"
                     "SSHUser=varneltail\r\nTailpbxfile=COLL.LOG\r\nTailpmsfile=pms_trn\r\n"
                     "Tailpbxtimeout=0\r\nTailpmstimeout=0\r\n"))
        << ini.data();
    EXPECT_EQ(fileMode(home.file(QStringLiteral("KTReports.ini"))), 0600);
    EXPECT_EQ(G().g_SiteCount, 4);
    EXPECT_EQ(G().g_SiteHomedir[3], QStringLiteral("/srv/east"));
    EXPECT_EQ(editor->cboSites->itemText(3), QStringLiteral("East_Wing"));
}

// The whole set-up through the window: the lines in order, then the program ends; a line the
// server does not answer stops it there with the rest of the button lines still queued.
TEST_F(SiteEditor, NewSiteSetsUpItsServerOrStopsAtTheFailingLine) {
    for (const bool fails : {false, true}) {
        SCOPED_TRACE(fails ? "failing line" : "whole set-up");
        testsupport::FakeServer server;
        testsupport::ScriptedPrompter answers;
        resetProgramEnd();
        G().g_SiteCount = 3;
        QDir(home.file(QStringLiteral("East"))).removeRecursively();
        const QString failing = QStringLiteral("echo 02.cmdAudit >>default_buttons");
        if (fails) server.on(failing).dropsSession();
        open();
        editor->cmdNewSite->click();
        editor->txtSiteName->setText(QStringLiteral("East"));
        editor->txtIPAddress->setText(QStringLiteral("10.0.0.9"));
        editor->txthomedir->setText(QStringLiteral("/srv/east"));
        answers.yes();
        if (fails) answers.ok();
        editor->cmdNewSite->click();

        QStringList names;
        for (int k = 0; k < editor->lstDivisionHidden->count(); ++k)
            names << editor->lstDivisionHidden->item(k)->text();
        ASSERT_EQ(names.size(), 23);
        const QStringList all = QStringList{QString()} +
                                sitestest::expectedSetupLines(QStringLiteral("/srv/east"),
                                                              QStringLiteral("varneltail"), names);
        ASSERT_EQ(server.shellRequests().size(), 1u);
        EXPECT_EQ(server.shellRequests()[0].target.host, QStringLiteral("10.0.0.9"));
        EXPECT_EQ(server.shellRequests()[0].target.port, 22);
        EXPECT_FALSE(server.isShellOpen(0));
        QStringList queued;
        for (int k = 0; k < editor->lstCommands->count(); ++k)
            queued << editor->lstCommands->item(k)->text();
        if (!fails) {
            EXPECT_EQ(server.lines(), all);
            EXPECT_TRUE(queued.isEmpty());
            EXPECT_TRUE(programEndRequested());
            continue;
        }
        const qsizetype at = all.indexOf(failing);
        EXPECT_EQ(server.lines(), all.mid(0, at + 1));
        EXPECT_EQ(queued.first(), failing);
        EXPECT_EQ(queued.size(), 22);
        EXPECT_EQ(answers.messages().last(),
                  QStringLiteral("An error occurred adding a Site:\r\n\r\nThe server closed "
                                 "the session while running: ") +
                      failing);
        EXPECT_FALSE(programEndRequested());
        EXPECT_TRUE(editor->isEnabled());
    }
}

TEST_F(SiteEditor, ClosingTheEditorDuringANewSitesSetUpIsRefusedAndTheSetUpFinishes) {
    testsupport::FakeServer server;
    testsupport::ScriptedPrompter answers;
    resetProgramEnd();
    // As the start-up opens it: on the heap, deleted when it closes.
    auto* window = new fSites;
    window->setAttribute(Qt::WA_DeleteOnClose);
    {
        const QSignalBlocker quiet(window->cboSites);
        window->cboSites->addItems({"Default", "Site2", "North_Wing"});
    }
    window->show();
    QPointer<fSites> alive(window);
    bool closed = true;
    server.on(QStringLiteral("sudo mkdir ACL ")).then([&](const QString&) {
        closed = window->close();
    });
    window->cmdNewSite->click();
    window->txtSiteName->setText(QStringLiteral("East"));
    window->txtIPAddress->setText(QStringLiteral("10.0.0.9"));
    window->txthomedir->setText(QStringLiteral("/srv/east"));
    answers.yes();
    window->cmdNewSite->click();

    EXPECT_FALSE(closed);
    ASSERT_FALSE(alive.isNull());
    EXPECT_EQ(server.lines().last(), QStringLiteral("sudo chgrp varneltail default_user"));
    EXPECT_TRUE(programEndRequested());
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(alive.isNull());
}

}  // namespace
