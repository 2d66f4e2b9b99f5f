#include "MenuTestSupport.h"
#include "menu/fMain.h"
#include "support/Controls.h"
#include "support/ProgramWindows.h"
#include "widgets/SortableGrid.h"
#include "widgets/WindowRegistry.h"

#include "common/Globals.h"
#include "menu/LiveMonitor.h"
#include "menu/MonitorPane.h"
#include "platform/ProfileFile.h"
#include "maintenance/BackupLists.h"
#include "support/FakeServer.h"
#include "support/FakeSite.h"
#include "support/RecordingViewer.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"
#include "support/Wait.h"
#include "widgets/AppControl.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>

#include <ostream>

using testsupport::control;

using quillon::fMain;
using quillon::G;

namespace {

using menutest::OpenedWindows;

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override { w = fMain::instance(); }
    void TearDown() override {
        fMain::unloadInstance();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QPushButton* button(const char* name) const { return control<QPushButton>(w, name); }
    QWidget* widget(const char* name) const { return control<QWidget>(w, name); }
    void addSites(const QStringList& names) { control<QComboBox>(w, "cboSites")->addItems(names); }
    // As the login does for a user granted everything.
    void grantEverything() {
        for (QPushButton* b : w->commandButtons()) {
            b->setVisible(true);
            b->setEnabled(true);
        }
    }
    QStringList usableButtons() const {
        QStringList out;
        for (QPushButton* b : w->commandButtons())
            if (b->isEnabled()) out << b->objectName();
        out.sort();
        return out;
    }

    testsupport::TempHome home;
    testsupport::ScriptedPrompter prompter;
    testsupport::RecordingViewer viewer;
    OpenedWindows opened;
    fMain* w = nullptr;
};

TEST_F(MainWindowTest, StartsAsTheOtherWindowsExpectIt) {
    const QStringList tabs{"Main", "Reports", "Utilities", "Options", "Contact Infomation"};
    ASSERT_EQ(control<QTabWidget>(w, "SSTab1")->count(), tabs.size());
    for (int i = 0; i < tabs.size(); ++i)
        EXPECT_EQ(control<QTabWidget>(w, "SSTab1")->tabText(i), tabs[i]);
    EXPECT_EQ(control<QStatusBar>(w, "Status")->currentMessage(), QStringLiteral("Ready..."));
    EXPECT_EQ(control<QLabel>(w, "Label33")->text(), QStringLiteral("site lable"));
    EXPECT_EQ(control<QLabel>(w, "lblvarnel")->text(), QStringLiteral("Quillon"));
    EXPECT_EQ(button("cmdDload")->toolTip(), QStringLiteral("Downloads Folder"));
    EXPECT_EQ(button("cmdEdit")->toolTip(), QStringLiteral("Configure Sites"));
    EXPECT_EQ(control<QTimer>(w, "tmrGetErrors")->interval(), 60000);
    EXPECT_TRUE(G().g_PullErrors);

    // Hidden at creation; the load brings back the exit and site buttons.
    for (const char* name : {"cmdunusedstations", "lblunused", "cmdexitbackup", "lblexitbackup",
                             "cmdupdate", "lblupdate", "lblError", "Shape1"})
        EXPECT_TRUE(widget(name)->isHidden()) << name;
    for (const char* name : {"cmdexit", "cmdEdit", "lblsites", "cmdlogoff", "cmddetail", "txtCOLL",
                             "txtPMS", "frameOnline"})
        EXPECT_FALSE(widget(name)->isHidden()) << name;
}

TEST_F(MainWindowTest, ContactTabShowsTheAboutPageOfTheProgramFolder) {
    EXPECT_TRUE(control<QTextBrowser>(w, "WebBrowser1")
                    ->toPlainText()
                    .isEmpty());  // no page there: nothing shown
    ASSERT_TRUE(QFile::copy(QStringLiteral(QUILLON_SOURCE_DIR "/resources/varnelabout.html"),
                            home.file("varnelabout.html")));
    fMain::unloadInstance();
    w = fMain::instance();
    EXPECT_TRUE(control<QTextBrowser>(w, "WebBrowser1")
                    ->toPlainText()
                    .contains(QStringLiteral("Contact Information")));
}

TEST_F(MainWindowTest, EveryCatalogueNameFindsItsButtonWithoutRegardToCase) {
    const QStringList catalogue{"cmddetail",    "cmdAudit",         "cmdcost",       "cmdstats",
                                "cmdWatchdog",  "cmdcrono",         "cmdtrunk",      "cmdAreaCode",
                                "cmdauth",      "cmdcallcalc",      "cmdmanager",    "cmddelprint",
                                "cmdsynch",     "cmdbringreport",   "cmddelete",     "cmdunlock",
                                "cmdtestcall",  "cmdedit",          "cmdbackupmenu", "cmdadduser",
                                "cmdmoduser",   "cmdpasswd",        "cmddeluser",    "cmddatabase",
                                "cmdareacodes", "cmdunusedstations"};
    for (const QString& name : catalogue) {
        QPushButton* b = w->commandButton(name.toUpper());
        ASSERT_NE(b, nullptr) << name.toStdString();
        EXPECT_EQ(b->objectName().compare(name, Qt::CaseInsensitive), 0);
    }
    EXPECT_EQ(w->commandButton(QStringLiteral("cmdedit")), button("cmdEdit"));
    EXPECT_EQ(w->commandButton(QStringLiteral("cboSites")), nullptr);
    EXPECT_EQ(w->commandButton(QStringLiteral("nosuchbutton")), nullptr);
}

struct EditionCase {
    const char* name;
    bool express, unused, brevia;
    bool pricingShown, unusedShown, testCallShown;
};

void PrintTo(const EditionCase& c, std::ostream* os) {
    *os << c.name;
}

class EditionSwitches : public MainWindowTest, public ::testing::WithParamInterface<EditionCase> {};

TEST_P(EditionSwitches, ShowOnlyTheEditionsButtons) {
    const EditionCase& c = GetParam();
    G().g_Express = c.express;
    G().g_UnusedReport = c.unused;
    G().g_Brevia = c.brevia;
    w->SetupSystemType();

    for (const char* name : {"cmddatabase", "lbldatabase", "cmdareacodes", "lblareacodes"})
        EXPECT_EQ(!widget(name)->isHidden(), c.pricingShown) << name;
    for (const char* name : {"cmdunusedstations", "lblunused"})
        EXPECT_EQ(!widget(name)->isHidden(), c.unusedShown) << name;
    for (const char* name : {"cmdtestcall", "lbltestcall"})
        EXPECT_EQ(!widget(name)->isHidden(), c.testCallShown) << name;
    EXPECT_TRUE(control<QTimer>(w, "tmrGetErrors")->isActive());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EditionSwitches,
    ::testing::Values(EditionCase{"plain", false, false, false, false, false, true},
                      EditionCase{"lumbrook", true, false, false, true, false, true},
                      EditionCase{"unused", false, true, false, false, true, true},
                      EditionCase{"partner", false, false, true, false, false, false},
                      EditionCase{"all", true, true, true, true, true, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, EditionSetUpUndoesGrantsAndNeverBringsBackTestCall) {
    G().g_Brevia = true;
    w->SetupSystemType();
    G().g_Brevia = false;
    grantEverything();
    button("cmdtestcall")->setVisible(false);
    w->SetupSystemType();
    // The switch off shows nothing; Lumbrook's buttons go again although granted.
    EXPECT_TRUE(button("cmdtestcall")->isHidden());
    EXPECT_TRUE(button("cmddatabase")->isHidden());
    EXPECT_TRUE(button("cmdareacodes")->isHidden());
    EXPECT_TRUE(button("cmdunusedstations")->isHidden());
}

TEST_F(MainWindowTest, DefaultSiteLeavesOnlyTheSafeButtonsAndKeepsTheSite) {
    addSites({"Default", "North"});
    G().g_CurSite = 1;
    grantEverything();
    control<QLabel>(w, "lblError")->setVisible(true);
    control<QFrame>(w, "Shape1")->setVisible(true);
    control<QTimer>(w, "tmrGetErrors")->start();

    w->setListIndex(0);

    EXPECT_EQ(usableButtons(), (QStringList{"cmdEdit", "cmdexit", "cmdexitbackup", "cmdlogoff"}));
    EXPECT_EQ(G().g_CurSite, 1);
    EXPECT_TRUE(opened.names.isEmpty());
    EXPECT_TRUE(control<QLabel>(w, "lblError")->isHidden());
    EXPECT_TRUE(control<QFrame>(w, "Shape1")->isHidden());
    EXPECT_FALSE(control<QTimer>(w, "tmrGetErrors")->isActive());
    EXPECT_TRUE(control<QTabWidget>(w, "SSTab1")->isEnabled());
}

TEST_F(MainWindowTest, LockDownAwayFromDefaultKeepsOwnPasswordNotSiteEditor) {
    addSites({"Default", "North"});
    control<QComboBox>(w, "cboSites")->setCurrentIndex(1);
    grantEverything();
    w->disableAllButtons();
    EXPECT_EQ(usableButtons(),
              (QStringList{"cmdDload", "cmdexit", "cmdexitbackup", "cmdlogoff", "cmduserpasswd"}));
}

TEST_F(MainWindowTest, EveryPickOfASiteConnectsAgain) {
    addSites({"Default", "North", "South"});
    button("cmdDload")->setEnabled(false);

    w->setListIndex(1);
    EXPECT_EQ(G().g_CurSite, 1);
    EXPECT_TRUE(button("cmdDload")->isEnabled());
    EXPECT_TRUE(control<QTimer>(w, "tmrGetErrors")->isActive());
    w->setListIndex(1);                                     // the same site again
    control<QComboBox>(w, "cboSites")->setCurrentIndex(2);  // a bare change from code runs nothing
    EXPECT_EQ(G().g_CurSite, 1);
    emit control<QComboBox>(w, "cboSites")->activated(2);  // as the box signals a pick of the user
    EXPECT_EQ(G().g_CurSite, 2);

    EXPECT_EQ(opened.names, (QStringList{"fgetdata", "fgetdata", "fgetdata"}));
}

struct CaptionCase {
    const char* name;
    bool express;
    int site;
    QString caption;
};

void PrintTo(const CaptionCase& c, std::ostream* os) {
    *os << c.name;
}

class SiteCaption : public MainWindowTest, public ::testing::WithParamInterface<CaptionCase> {};

TEST_P(SiteCaption, NamesEditionComputerAndUpperCaseUser) {
    const CaptionCase& c = GetParam();
    addSites({"Default", "North"});
    G().g_Express = c.express;
    G().g_UserName = QStringLiteral("jSmith");
    w->setListIndex(c.site);
    EXPECT_EQ(w->windowTitle(), c.caption);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SiteCaption,
    ::testing::Values(
        CaptionCase{"quillon", false, 1,
                    "Varnel Quillon Menu 7.0.3  Running on TESTPC    Current User: JSMITH"},
        CaptionCase{"lumbrook", true, 1,
                    "Varnel Lumbrook Menu 7.0.3  Running on TESTPC    Current User: JSMITH"},
        CaptionCase{"default_site", false, 0,
                    "Varnel Quillon Menu 7.0.3  Running on TESTPC    Current User: JSMITH"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, EditionSetUpCaptionBeforeAnySite) {
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Varnel Report Menu 7.0.3 Running On (TESTPC)"));
}

struct UnloadCase {
    const char* name;
    int index;
    QString last;
};

void PrintTo(const UnloadCase& c, std::ostream* os) {
    *os << c.name;
}

class UnloadWritesLast : public MainWindowTest, public ::testing::WithParamInterface<UnloadCase> {};

TEST_P(UnloadWritesLast, OnlyWithASiteSelected) {
    home.write("KTReports.ini", "[Sites]\r\nNum=3\r\nLast=0\r\n[Site1]\r\nName=Default\r\n");
    addSites({"Default", "North", "South"});
    control<QComboBox>(w, "cboSites")->setCurrentIndex(GetParam().index);
    fMain::unloadInstance();
    EXPECT_FALSE(fMain::isLoaded());
    EXPECT_EQ(platform::ProfileFile(home.file("KTReports.ini")).read("Sites", "Last"),
              GetParam().last);
}

INSTANTIATE_TEST_SUITE_P(Cases, UnloadWritesLast,
                         ::testing::Values(UnloadCase{"second_site", 2, "2"},
                                           UnloadCase{"default_site", 0, "0"},
                                           UnloadCase{"nothing_selected", -1, "0"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, DownloadFolderOfASiteWithBlanks) {
    addSites({"Default", "Main Office"});
    control<QComboBox>(w, "cboSites")->setCurrentIndex(1);
    QTest::mouseClick(button("cmdDload"), Qt::LeftButton);
    // The site editor makes the folder as "Download": one folder, whatever the spelling.
    home.write("Main_Office/Download/reports/x.rtf", "x");
    QTest::mouseClick(button("cmdDload"), Qt::LeftButton);
    EXPECT_EQ(viewer.opened, (QStringList{home.file("Main_Office/download/"),
                                          home.file("Main_Office/Download/")}));
}

TEST_F(MainWindowTest, UpdateRunsTheBatchFileAndWaits) {
    // Sees the program apart from its arguments.
    struct ProgramViewer : testsupport::RecordingViewer {
        int runAndWait(const QString& program, const QStringList& arguments) override {
            programs << program;
            return RecordingViewer::runAndWait(program, arguments);
        }
        QStringList programs;
    } programViewer;
    button("cmdupdate")->setVisible(true);
    button("cmdupdate")->setEnabled(true);
    // The batch file is one program however its folder is spelled.
    for (const QString folder :
         {QStringLiteral("plain"), QStringLiteral("My Programs"), QStringLiteral("it's \"new\"")}) {
        programViewer.programs.clear();
        programViewer.ran.clear();
        platform::SystemInfo::setProgramFolder(home.file(folder));
        w->cmdupdate_Click();
        EXPECT_EQ(programViewer.programs,
                  QStringList{home.file(folder + QStringLiteral("/0update.bat"))});
        EXPECT_EQ(programViewer.ran, programViewer.programs) << "no arguments";
        EXPECT_EQ(control<QStatusBar>(w, "Status")->currentMessage(),
                  QStringLiteral("Running  Report...Done."));
    }
    platform::SystemInfo::setProgramFolder(home.path());
}

TEST_F(MainWindowTest, LeavingBackupReportsRestoresTheReportsTab) {
    G().g_BackupReportsMode = true;
    control<QTabWidget>(w, "SSTab1")->setTabText(1, QStringLiteral("Backup Reports"));
    control<QTabWidget>(w, "SSTab1")->setCurrentIndex(1);
    button("cmdexitbackup")->setVisible(true);
    control<QLabel>(w, "lblexitbackup")->setVisible(true);

    w->cmdexitbackup_Click();

    EXPECT_FALSE(G().g_BackupReportsMode);
    EXPECT_EQ(control<QTabWidget>(w, "SSTab1")->tabText(1), QStringLiteral("Reports"));
    EXPECT_EQ(control<QTabWidget>(w, "SSTab1")->currentIndex(), 0);
    EXPECT_TRUE(button("cmdexitbackup")->isHidden());
    EXPECT_TRUE(control<QLabel>(w, "lblexitbackup")->isHidden());
}

// After a restore the main window follows the answer to the question: Yes shows the reports
// of the backup (tab 1 renamed, the way back offered), No the live ones.
TEST_F(MainWindowTest, ARestoreHandsTheMainWindowOverYesAndNo) {
    testsupport::FakeSite site;
    testsupport::FakeServer server;
    for (const bool yes : {true, false}) {
        server.addFile("/usr/varnel/backup/restore.txt",
                       "143005_120908_OFFICE1.tar.gz,12/9/2008,P,11/09/08,12/09/08,OFFICE1\n");
        quillon::frestore r;
        r.MSFlexGrid1->setCurrentRow(1);
        prompter.yes();
        if (yes)
            prompter.yes();
        else
            prompter.no();
        r.Command1_Click();
        EXPECT_EQ(prompter.messages().last(),
                  "Do you want to run reports on the backup you just restored?\r\n");
        EXPECT_EQ(G().g_BackupReportsMode, yes);
        EXPECT_EQ(control<QTabWidget>(w, "SSTab1")->currentIndex(), yes ? 1 : 0);
        EXPECT_EQ(control<QTabWidget>(w, "SSTab1")->tabText(1), yes ? "Backup Reports" : "Reports");
        EXPECT_EQ(control<QWidget>(w, "cmdexitbackup")->isHidden(), !yes);
        EXPECT_EQ(control<QLabel>(w, "lblexitbackup")->isHidden(), !yes);
    }
}

TEST_F(MainWindowTest, ExitAndClosingBothEndTheProgram) {
    home.write("KTReports.ini", "[Sites]\r\nLast=0\r\n");
    addSites({"Default", "North"});
    control<QComboBox>(w, "cboSites")->setCurrentIndex(1);
    w->show();
    w->close();
    EXPECT_TRUE(quillon::programEndRequested());
    EXPECT_FALSE(fMain::isLoaded());
    EXPECT_EQ(platform::ProfileFile(home.file("KTReports.ini")).read("Sites", "Last"), "1");

    quillon::resetProgramEnd();
    w = fMain::instance();
    w->cmdexit_Click();
    EXPECT_TRUE(quillon::programEndRequested());
    EXPECT_FALSE(fMain::isLoaded());

    // Another window ends the program: the main window unloads with the rest.
    quillon::resetProgramEnd();
    w = fMain::instance();
    control<QComboBox>(w, "cboSites")->addItems({"Default", "North", "South"});
    control<QComboBox>(w, "cboSites")->setCurrentIndex(2);
    quillon::endProgram();
    EXPECT_FALSE(fMain::isLoaded());
    EXPECT_EQ(platform::ProfileFile(home.file("KTReports.ini")).read("Sites", "Last"), "2");
}

TEST_F(MainWindowTest, LogOffForgetsEverythingAndStartsOver) {
    home.write("KTReports.ini", "[Sites]\r\nLast=0\r\n");
    addSites({"Default", "North"});
    control<QComboBox>(w, "cboSites")->setCurrentIndex(1);
    G().g_CurSite = 1;
    G().g_UserName = QStringLiteral("jsmith");
    G().g_Express = true;
    G().g_CallLogState = QStringLiteral("PRINT");
    G().g_SiteIPAddress[1] = QStringLiteral("10.0.0.1");

    w->cmdlogoff_Click();

    EXPECT_FALSE(fMain::isLoaded());
    EXPECT_EQ(opened.names, QStringList{"frmSplash"});
    EXPECT_EQ(platform::ProfileFile(home.file("KTReports.ini")).read("Sites", "Last"), "1");
    EXPECT_EQ(G().g_CurSite, -1);
    EXPECT_TRUE(G().g_UserName.isEmpty());
    EXPECT_FALSE(G().g_Express);
    EXPECT_TRUE(G().g_CallLogState.isEmpty());
    EXPECT_TRUE(G().g_SiteIPAddress[1].isEmpty());
    EXPECT_FALSE(quillon::programEndRequested());
}

struct OpenCase {
    const char* button;
    const char* window;
};

void PrintTo(const OpenCase& c, std::ostream* os) {
    *os << c.button;
}

const OpenCase kOpenCases[] = {
    {"cmduserpasswd", "frmpasswd"},
    {"cmddetail", "fDetailReport"},
    {"cmdAudit", "fAuditReport"},
    {"cmdcost", "fcost"},
    {"cmdstats", "fstatsreport"},
    {"cmdWatchdog", "fWatchdog"},
    {"cmdcrono", "fcrono"},
    {"cmdtrunk", "fTrunk"},
    {"cmdAreaCode", "FAreacode"},
    {"cmdauth", "fAuth"},
    {"cmdcallcalc", "fcallcalc"},
    {"cmdunusedstations", "funusedstations"},
    {"cmdmanager", "frmmanager"},
    {"cmddelprint", "frmprintjobs"},
    {"cmdbringreport", "Reports"},
    {"cmddelete", "fdeletecalls"},
    {"cmdtestcall", "fhobiccall"},
    {"cmdbackupmenu", "Fbackuprestore"},
    {"cmddatabase", "frmquestion"},
    {"cmdareacodes", "frmareacode"},
    {"cmdadduser", "frmPermissions"},
    {"cmdmoduser", "frmmodusers"},
    {"cmddeluser", "frmdeluser"},
    {"cmdpasswd", "frmchangepasswd"},
    {"cmdEdit", "fSites"},
};

class MenuOpens : public MainWindowTest, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(MenuOpens, ItsWindow) {
    const QString window = QString::fromLatin1(GetParam().window);
    const quillon::WindowEntry* entry = quillon::WindowRegistry::forButton(GetParam().button);
    ASSERT_NE(entry, nullptr) << "no window is registered for " << GetParam().button;
    EXPECT_EQ(entry->window, window);
    grantEverything();
    QTest::mouseClick(button(GetParam().button), Qt::LeftButton);
    EXPECT_EQ(opened.names, QStringList{window});
    EXPECT_EQ(w->cursor().shape(), Qt::ArrowCursor);
}

// Every button of the menu that has no handler of its own is a row of the table above.
TEST_F(MainWindowTest, EveryWindowButtonHasARowInTheOpeningTable) {
    QStringList own{"cmdlogoff", "cmdDload",  "cmdexit",  "cmdexitbackup",
                    "cmdsynch",  "cmdunlock", "cmdupdate"};
    QStringList rows;
    for (const OpenCase& c : kOpenCases) rows << QString::fromLatin1(c.button);
    for (QPushButton* b : w->commandButtons()) {
        if (own.contains(b->objectName())) continue;
        EXPECT_TRUE(rows.contains(b->objectName())) << b->objectName().toStdString();
    }
    for (const quillon::WindowEntry& e : quillon::WindowRegistry::entries())
        if (!e.button.isEmpty()) EXPECT_TRUE(rows.contains(e.button)) << e.button.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Cases, MenuOpens, ::testing::ValuesIn(kOpenCases),
                         [](const auto& info) { return std::string(info.param.button); });

// --- the monitors in the window ---------------------------------------------------------

class MonitorWindowTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        addSites({"Default", "North"});
        control<QComboBox>(w, "cboSites")->setCurrentIndex(1);
        G().g_CurSite = 1;
        G().g_SiteHomedir[1] = QStringLiteral("/usr/varnel");
        G().g_SiteTailPbxFile[1] = QStringLiteral("COLL.LOG");
        G().g_SiteTailPmsFile[1] = QStringLiteral("pms_trn");
    }
    static bool allGreen(QTextEdit* box) {
        for (QTextBlock b = box->document()->begin(); b.isValid(); b = b.next())
            for (auto it = b.begin(); !it.atEnd(); ++it)
                if (it.fragment().charFormat().foreground().color() != QColor(0, 255, 0))
                    return false;
        return true;
    }
};

TEST_F(MonitorWindowTest, AppendsGreenSelectsAllAndStamps) {
    w->callLogPane().monitor().beginReconnect();
    w->callLogPane().session_Data(QStringLiteral("Welcome\r\n$ tail -f CO"));
    EXPECT_TRUE(control<QTextEdit>(w, "txtCOLL")->toPlainText().isEmpty());
    EXPECT_EQ(control<QLabel>(w, "callrecordsin")->text(), QStringLiteral("Live Call Records"));

    w->callLogPane().session_Data(QStringLiteral("LL.LOG\r\nrec 1\r\n"));
    w->callLogPane().session_Data(QStringLiteral("rec 2\r\n"));

    EXPECT_EQ(control<QTextEdit>(w, "txtCOLL")->toPlainText(), QStringLiteral("\nrec 1\nrec 2\n"));
    EXPECT_TRUE(allGreen(control<QTextEdit>(w, "txtCOLL")));
    const QTextCursor sel = control<QTextEdit>(w, "txtCOLL")->textCursor();
    EXPECT_EQ(sel.selectionStart(), 0);
    EXPECT_EQ(sel.selectionEnd(), control<QTextEdit>(w, "txtCOLL")->toPlainText().size());
    EXPECT_TRUE(control<QLabel>(w, "callrecordsin")
                    ->text()
                    .startsWith(QStringLiteral("Live Call Records Received at :")));
    EXPECT_GT(control<QLabel>(w, "callrecordsin")->text().size(),
              QStringLiteral("Live Call Records Received at :").size());
    // The twin is untouched.
    EXPECT_TRUE(control<QTextEdit>(w, "txtPMS")->toPlainText().isEmpty());
    EXPECT_EQ(control<QLabel>(w, "callrecordsout")->text(), QStringLiteral("Calls Posted to PMS"));

    // A change while not printing shows the bare stamp text.
    G().g_CallLogState = QStringLiteral("RECONNECTING");
    control<QTextEdit>(w, "txtCOLL")->append(QStringLiteral("x"));
    EXPECT_EQ(control<QLabel>(w, "callrecordsin")->text(),
              QStringLiteral("Live Call Records Received at :"));
}

TEST_F(MonitorWindowTest, PmsTwinStampsItsOwnLabel) {
    w->pmsPane().monitor().beginReconnect();
    w->pmsPane().session_Data(QStringLiteral("$ tail -f pms_trn\r\npost 1\r\n"));
    EXPECT_EQ(control<QTextEdit>(w, "txtPMS")->toPlainText(), QStringLiteral("\npost 1\n"));
    EXPECT_TRUE(control<QLabel>(w, "callrecordsout")
                    ->text()
                    .startsWith(QStringLiteral("Last Calls Posted to PMS at :")));
    EXPECT_TRUE(control<QTextEdit>(w, "txtCOLL")->toPlainText().isEmpty());
}

TEST_F(MonitorWindowTest, BoxKeepsOnlyTheNewestText) {
    G().g_CallLogState = QStringLiteral("PRINT");
    const int cap = w->callLogPane().monitor().cap();
    const QString line = QString(99, QLatin1Char('r')) + QLatin1Char('\n');
    const QString chunk = line.repeated(1000);  // 100 000 characters
    const int chunks = cap / chunk.size() + 3;
    for (int i = 0; i < chunks; ++i) w->callLogPane().session_Data(chunk);
    w->callLogPane().session_Data(QStringLiteral("newest\n"));

    const QString text = control<QTextEdit>(w, "txtCOLL")->toPlainText();
    EXPECT_LE(text.size(), cap);
    EXPECT_GT(text.size(), cap - 1000);
    EXPECT_TRUE(text.endsWith(QStringLiteral("newest\n")));
    EXPECT_TRUE(text.startsWith(line));  // cut at a line start
}

TEST_F(MonitorWindowTest, ConnectFailureSaysWhichTraceAndWhy) {
    prompter.ok().ok();
    w->callLogPane().session_Connected(1, QStringLiteral("refused"));
    w->pmsPane().session_Connected(1, QStringLiteral("refused"));
    ASSERT_EQ(prompter.prompts().size(), 2u);
    EXPECT_EQ(prompter.messages(), (QStringList{"Unable To Connect for Call Trace\r\n\r\nrefused",
                                                "Unable To Connect for PMS Trace\r\n\r\nrefused"}));
    for (const auto& p : prompter.prompts()) {
        EXPECT_EQ(p.icon, platform::Icon::None);
        EXPECT_EQ(p.buttons, platform::Buttons::Ok);
        EXPECT_TRUE(p.title.isEmpty());  // the program's title
    }
}

}  // namespace
