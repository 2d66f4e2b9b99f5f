// The backup windows through the fake server: the exact lines of a backup, a restore and a
// deletion, what each failing step tells and what it then leaves unsent, the lists with their
// ticks, and the copies brought back.
#include "maintenance/BackupLists.h"
#include "maintenance/BackupMenus.h"
#include "maintenance/fbackup.h"
#include "widgets/LongWaitCancel.h"

#include "common/Globals.h"
#include "common/ProgramClock.h"
#include "common/SiteContext.h"
#include "common/SiteTargets.h"
#include "remote/CheckedLines.h"
#include "remote/TablePull.h"
#include "reports/common/ReportTable.h"
#include "support/FakeServer.h"
#include "support/FakeSite.h"
#include "support/NullMainWindow.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"
#include "support/Wait.h"
#include "widgets/MainWindowPort.h"
#include "widgets/ProgressLabel.h"
#include "widgets/SortableGrid.h"
#include "widgets/WaitPanel.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDateEdit>
#include <QFileInfo>
#include <QHeaderView>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace quillon;
using testsupport::FakeServer;
using testsupport::FakeSite;

namespace {

const QString kA = "101508_103108_OFFICE1.tar.gz";
const QString kP = "143005_120908_OFFICE1.tar.gz";
const QByteArray kListing =
    "101508_103108_OFFICE1.tar.gz,10/31/2008,A,10/01/08,10/31/08,OFFICE1\n"
    "143005_1209\n"
    "\n"
    "143005_120908_OFFICE1.tar.gz,12/9/2008,P,11/09/08,12/09/08,OFFICE1\n"
    "*,12/1/2008,P,11/01/08,12/01/08,EVIL\n";
const QString kRefused =
    "These backup records do not name a backup archive and are left out of the list:\r\n*";
const QString kBackupFolder = "/usr/varnel/backup";

QString ck(const QString& line) {
    return withExitStatus(line);
}

QStringList listingSent(bool withDiskSpace) {
    QStringList lines{"cd '/usr/varnel/backup'",           "sudo chgrp varneltail restore.txt",
                      "sudo chown varneltail restore.txt", "sudo chmod 666 restore.txt",
                      "cat *.info >restore.txt",           "sudo chgrp varneltail restore.txt",
                      "sudo chown varneltail restore.txt", "sudo chmod 666 restore.txt"};
    if (withDiskSpace)
        lines << "sudo chgrp varneltail diskspace.txt"
              << "sudo chown varneltail diskspace.txt"
              << "sudo chmod 666 diskspace.txt";
    return lines;
}

QStringList column(const SortableGrid* g, int col) {
    QStringList out;
    for (int r = 1; r <= g->dataRows(); ++r) out << g->cell(r, col);
    return out;
}

QStringList items(const QListWidget* l) {
    QStringList out;
    for (int i = 0; i < l->count(); ++i) out << l->item(i)->text();
    return out;
}

class BackupWindows : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    void TearDown() override {
        QLocale::setDefault(QLocale::c());
    }
    void listing(const QByteArray& bytes = kListing) {
        server.addFile(kBackupFolder + "/restore.txt", bytes);
    }
    QString localBackup(const QString& name) const {
        return home.file("North/Download/backups/" + name);
    }

    testsupport::TempHome home;
    quillon::SettableClock programClock{QDateTime(QDate(2008, 12, 9), QTime(14, 30, 5))};
    FakeSite site;
    FakeServer server;
    testsupport::ScriptedPrompter prompter;
};

// ---- making a backup ------------------------------------------------------------------------

// The server's date (10 December) is already a day past the computer's: the archive is found
// by the name the server gave it.
void packedOnTheServer(FakeServer& server) {
    server.on("ls *.tar.gz").reply("121008TESTPC.tar.gz\n");
    server.addFile(kBackupFolder + "/121008TESTPC.tar.gz", "ARCHIVE");
}

const QStringList kPackLines{
    "cd '/usr/varnel'",
    ck("./CALL_PUT5 "),
    "cd '/usr/varnel'",
    ck("rm -r -f remotebackup"),
    ck("mkdir remotebackup"),
    ck("cp *DAT call.put remotebackup"),
    ck("cp ac.db account.db block.db break.db calc.db cc.db div.db dpt.db ext.db holiday.db "
       "lc.db ld.db line.db lt.db oa.db rate.db site.db sort.db sum.db trunk.db remotebackup"),
    "cd 'remotebackup'",
    ck("tar cvf `date +%m%d%y`TESTPC.tar *"),
    ck("gzip *.tar"),
    ck("ls *.tar.gz"),
    ck("mv *.gz '/usr/varnel/backup/'"),
    ck("ls -1 '/usr/varnel/backup/'")};

TEST_F(BackupWindows, AllCallsSendsTheBareCallPutAndRecordsBothPickerDates) {
    packedOnTheServer(server);
    fbackup f;
    EXPECT_EQ(f.windowTitle(), "Backup");
    EXPECT_TRUE(f.Optdate[1]->isChecked());
    EXPECT_EQ(f.backupType(), "P");
    EXPECT_EQ(f.startdate->date(), QDate(2008, 11, 9));
    EXPECT_EQ(f.enddate->date(), QDate(2008, 12, 9));
    f.Optdate[0]->setChecked(true);
    EXPECT_EQ(f.backupType(), "A");
    EXPECT_FALSE(f.startdate->isEnabled());
    EXPECT_FALSE(f.enddate->isEnabled());

    prompter.ok();
    f.cmdbackup_Click();
    EXPECT_EQ(prompter.messages(), QStringList{"BACKUP COMPLETE"});
    EXPECT_EQ(server.linesOf(0), kPackLines);
    EXPECT_EQ(server.linesOf(1),
              (QStringList{"cd '/usr/varnel/backup'",
                           ck("test ! -e 143005_120908_TESTPC.tar.gz && test ! -e "
                              "143005_120908_TESTPC.tar.gz.info"),
                           ck("mv 121008TESTPC.tar.gz 143005_120908_TESTPC.tar.gz"),
                           ck("echo '143005_120908_TESTPC.tar.gz,12/9/2008,A,11/09/08,12/09/08,"
                              "TESTPC'>143005_120908_TESTPC.tar.gz.info"),
                           ck("ls 143005_120908_TESTPC.tar.gz.info")}));
    ASSERT_EQ(server.fetches().size(), 1u);
    EXPECT_EQ(server.fetches()[0].remotePath, kBackupFolder + "/121008TESTPC.tar.gz");
    EXPECT_EQ(home.read("North/Download/backups/143005_120908_TESTPC.tar.gz"), "ARCHIVE");
    EXPECT_FALSE(server.isShellOpen(0));
    EXPECT_FALSE(server.isShellOpen(1));
}

TEST_F(BackupWindows, ADateRangeSendsThePickersAsTheyStandInCommandAndRecord) {
    packedOnTheServer(server);
    fbackup f;
    f.startdate->setDate(QDate(2008, 11, 20));
    EXPECT_EQ(f.enddate->minimumDate(), QDate(2008, 11, 20));
    f.enddate->setDate(QDate(2008, 12, 1));
    EXPECT_EQ(f.callPut(), "./CALL_PUT5 11/20/08 12/01/08");
    prompter.ok();
    f.cmdbackup_Click();
    EXPECT_EQ(server.linesOf(0).at(1), ck("./CALL_PUT5 11/20/08 12/01/08"));
    EXPECT_EQ(server.linesOf(1).at(3),
              ck("echo '143005_120908_TESTPC.tar.gz,12/9/2008,P,11/20/08,12/01/08,TESTPC'>"
                 "143005_120908_TESTPC.tar.gz.info"));
}

// The clocks went back an hour: the backup folder already holds this second's name (or only
// its record), and this computer a copy of the next: neither is replaced.
TEST_F(BackupWindows, ABackupNeverTakesANameAlreadyTaken) {
    packedOnTheServer(server);
    server.on("ls -1 '/usr/varnel/backup/'")
        .reply(
            "143005_120908_TESTPC.tar.gz\n143005_120908_TESTPC.tar.gz.info\n"
            "143007_120908_TESTPC.tar.gz.info\nrestore.txt\n");
    home.write("North/Download/backups/143006_120908_TESTPC.tar.gz", "EARLIER");
    fbackup f;
    prompter.ok();
    f.cmdbackup_Click();
    EXPECT_EQ(prompter.messages(), QStringList{"BACKUP COMPLETE"});
    EXPECT_EQ(server.linesOf(1).mid(2, 2),
              (QStringList{ck("mv 121008TESTPC.tar.gz 143008_120908_TESTPC.tar.gz"),
                           ck("echo '143008_120908_TESTPC.tar.gz,12/9/2008,P,11/09/08,12/09/08,"
                              "TESTPC'>143008_120908_TESTPC.tar.gz.info")}));
    EXPECT_EQ(home.read("North/Download/backups/143006_120908_TESTPC.tar.gz"), "EARLIER");
    EXPECT_EQ(home.read("North/Download/backups/143008_120908_TESTPC.tar.gz"), "ARCHIVE");
}

TEST_F(BackupWindows, NoFreeNameIsRefusedBeforeAnythingIsRenamed) {
    packedOnTheServer(server);
    QString taken;
    for (int s = 0; s < 60; ++s)  // every second the backup may move on to
        taken += QTime(14, 30, 5).addSecs(s).toString("HHmmss") + "_120908_TESTPC.tar.gz\n";
    server.on("ls -1 '/usr/varnel/backup/'").reply(taken);
    fbackup f;
    prompter.ok();
    f.cmdbackup_Click();
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].startsWith("The backup could not be given a name"));
    EXPECT_TRUE(prompter.messages()[0].endsWith(kBackupFolder + "/121008TESTPC.tar.gz"));
    EXPECT_EQ(server.shellRequests().size(), 1u);
    EXPECT_TRUE(server.fetches().empty());
}

struct BackupFault {
    const char* name;
    std::function<void(FakeServer&)> arrange;
    const char* told;      // in the message
    const char* lastLine;  // the last line the first shell received
    bool recorded;         // the second shell (name and record) ran
    const char* archive;   // where the message says the archive is; "" before it is there
};

class BackupFaults : public BackupWindows, public ::testing::WithParamInterface<BackupFault> {};

TEST_P(BackupFaults, TheFailingStepIsToldAndNothingAfterItIsSent) {
    packedOnTheServer(server);
    GetParam().arrange(server);
    fbackup f;
    prompter.ok();
    f.cmdbackup_Click();
    ASSERT_EQ(prompter.messages().size(), 1);
    const QString told = prompter.messages().at(0);
    EXPECT_NE(told, "BACKUP COMPLETE");
    EXPECT_TRUE(told.contains(QString::fromUtf8(GetParam().told))) << told.toStdString();
    const QString archive = QString::fromUtf8(GetParam().archive);
    if (archive.isEmpty())
        EXPECT_FALSE(told.contains("The backup archive is on the server")) << told.toStdString();
    else
        EXPECT_TRUE(told.endsWith("\r\n\r\nThe backup archive is on the server: " + kBackupFolder +
                                  "/" + archive))
            << told.toStdString();
    EXPECT_EQ(server.linesOf(0).last(), ck(GetParam().lastLine));
    EXPECT_EQ(server.shellRequests().size(), GetParam().recorded ? 2u : 1u);
    // The form is the user's again.
    EXPECT_FALSE(f.cmdbackup->isHidden());
    EXPECT_TRUE(f.lblrunning->isHidden());
    EXPECT_FALSE(f.tmrbackup->isActive());
}

INSTANTIATE_TEST_SUITE_P(
    Steps, BackupFaults,
    ::testing::Values(
        BackupFault{
            "CallPutFails", [](FakeServer& s) { s.on("./CALL_PUT5 11/09/08 12/09/08").status(1); },
            "The server could not gather the calls", "./CALL_PUT5 11/09/08 12/09/08", false, ""},
        BackupFault{"CallPutOutlivesItsDeadline",
                    [](FakeServer& s) { s.on("./CALL_PUT5 11/09/08 12/09/08").timesOut(); },
                    "The server could not gather the calls", "./CALL_PUT5 11/09/08 12/09/08", false,
                    ""},
        BackupFault{"TarFails",
                    [](FakeServer& s) {
                        s.on("tar cvf `date +%m%d%y`TESTPC.tar *")
                            .reply("tar: call.put: Cannot stat\n")
                            .status(2);
                    },
                    "The archive could not be packed", "tar cvf `date +%m%d%y`TESTPC.tar *", false,
                    ""},
        BackupFault{"NoArchiveOfThisComputer",
                    [](FakeServer& s) { s.on("ls *.tar.gz").reply("121008OTHERPC.tar.gz\n"); },
                    "The packed archive was not found", "ls *.tar.gz", false, ""},
        BackupFault{"TheBackupFolderIsMissing",
                    [](FakeServer& s) {
                        s.on("mv *.gz '/usr/varnel/backup/'")
                            .reply("mv: target '/usr/varnel/backup/' is not a directory\n")
                            .status(1);
                    },
                    "The archive could not be moved to the backup folder",
                    "mv *.gz '/usr/varnel/backup/'", false, ""},
        BackupFault{"TheBackupFolderCannotBeListed",
                    [](FakeServer& s) {
                        s.on("ls -1 '/usr/varnel/backup/'")
                            .reply("ls: cannot open directory: Permission denied\n")
                            .status(2);
                    },
                    "The backup folder could not be listed", "ls -1 '/usr/varnel/backup/'", false,
                    "121008TESTPC.tar.gz"},
        BackupFault{"TheCopyFails",
                    [](FakeServer& s) {
                        s.failFetch(kBackupFolder + "/121008TESTPC.tar.gz", kSessionFailed,
                                    "No such file");
                    },
                    "143005_120908_TESTPC.tar.gz is on the server but could not be copied",
                    "ls -1 '/usr/varnel/backup/'", true, "143005_120908_TESTPC.tar.gz"},
        BackupFault{"AnEmptyCopy",
                    [](FakeServer& s) { s.addFile(kBackupFolder + "/121008TESTPC.tar.gz", ""); },
                    "The copy of the backup on this computer is empty",
                    "ls -1 '/usr/varnel/backup/'", true, "143005_120908_TESTPC.tar.gz"},
        BackupFault{"TheNameWasTakenMeanwhile",
                    [](FakeServer& s) {
                        s.on("test ! -e 143005_120908_TESTPC.tar.gz && test ! -e "
                             "143005_120908_TESTPC.tar.gz.info")
                            .status(1);
                        s.on(QRegularExpression("^mv 121008")).then([](const QString&) {
                            ADD_FAILURE() << "renamed over a backup";
                        });
                    },
                    "The backup's name is already taken on the server",
                    "ls -1 '/usr/varnel/backup/'", true, "121008TESTPC.tar.gz"},
        BackupFault{"TheRenameFails",
                    [](FakeServer& s) {
                        s.on("mv 121008TESTPC.tar.gz 143005_120908_TESTPC.tar.gz").status(1);
                    },
                    "The archive could not be given its name", "ls -1 '/usr/varnel/backup/'", true,
                    "121008TESTPC.tar.gz"},
        BackupFault{"TheRecordIsMissing",
                    [](FakeServer& s) {
                        s.on("ls 143005_120908_TESTPC.tar.gz.info")
                            .reply("ls: cannot access '143005_120908_TESTPC.tar.gz.info'\n")
                            .status(2);
                    },
                    "The backup's record is not on the server", "ls -1 '/usr/varnel/backup/'", true,
                    "143005_120908_TESTPC.tar.gz"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- restoring ------------------------------------------------------------------------------

TEST_F(BackupWindows, TheRestoreListShowsTheRecordsAndNothingIsChosen) {
    listing();
    prompter.ok();
    frestore r;
    EXPECT_EQ(prompter.messages(), QStringList{kRefused});
    EXPECT_EQ(r.windowTitle(), "Restore Calls ");
    EXPECT_EQ(server.linesOf(0), listingSent(false));
    EXPECT_EQ(r.MSFlexGrid1->rowCells(0),
              (QStringList{"File Name ", "Created Date", "Back Type", "Start Date", "End Date",
                           "Machine Name that created backup"}));
    EXPECT_EQ(r.MSFlexGrid1->rowCells(1),
              (QStringList{kA, "10/31/2008", "All Calls", "", "10/31/08", "OFFICE1"}));
    EXPECT_EQ(r.MSFlexGrid1->rowCells(2),
              (QStringList{kP, "12/9/2008", "Between", "11/09/08", "12/09/08", "OFFICE1"}));
    EXPECT_EQ(r.MSFlexGrid1->currentRow(), 0);
    EXPECT_EQ(home.read("North/Download/reports/restore.txt"),
              QByteArray(kListing).replace("\n", "\r\n"));

    // Restore with no row chosen sends nothing.
    prompter.ok();
    r.Command1_Click();
    EXPECT_EQ(prompter.messages().last(), "Click on the backup you want to restore first.");
    EXPECT_EQ(server.shellRequests().size(), 1u);
}

// On the shown and active window: the grid takes the focus, a header click sorts, Tab leaves
// the grid and comes back; none of these chooses a backup. Only the user's click does.
TEST_F(BackupWindows, NoRowOfTheShownRestoreListIsCurrentUntilTheUserClicksOne) {
    listing();
    prompter.ok();
    frestore r;
    r.show();
    r.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&r));
    SortableGrid* grid = r.MSFlexGrid1;
    ASSERT_TRUE(testsupport::waitFor([&] { return grid->hasFocus(); }, 5000));
    EXPECT_EQ(grid->currentRow(), 0) << "after show";

    const QHeaderView* header = grid->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2));
    EXPECT_EQ(grid->sortColumn(), 1);
    EXPECT_EQ(grid->currentRow(), 0) << "after a sort";

    QTest::keyClick(grid, Qt::Key_Tab);
    EXPECT_FALSE(grid->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_TRUE(grid->hasFocus());
    EXPECT_EQ(grid->currentRow(), 0) << "after Tab out and back";

    const QRect second = grid->visualRect(grid->model()->index(1, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(grid->currentRow(), 2);
}

TEST_F(BackupWindows, AConfirmedRestoreSendsItsLinesAndOffersTheBackupReports) {
    listing();
    prompter.ok();
    frestore r;
    r.MSFlexGrid1->setCurrentRow(2);
    prompter.yes().yes();
    r.Command1_Click();
    EXPECT_EQ(prompter.messages().mid(1),
              (QStringList{"Restore " + kP + "?",
                           "Do you want to run reports on the backup you just restored?\r\n"}));
    EXPECT_EQ(prompter.prompts().back().title, "Configure Sites");
    EXPECT_EQ(
        server.linesOf(1),
        (QStringList{"cd '/usr/varnel/backup'", ck("sudo rm -f TESTPCrestore.tar"),
                     ck("sudo rm -f TESTPCrestore.tar.gz"), ck("sudo rm -f *.db *.DAT"),
                     ck("cp " + kP + " TESTPCrestore.tar.gz"), ck("gunzip TESTPCrestore.tar.gz"),
                     ck("sudo tar xvf TESTPCrestore.tar"), ck("sudo ./CALL_GET5"),
                     "sudo chown varneltail *.db *.DAT", "sudo chgrp varneltail *.db *.DAT"}));
    EXPECT_TRUE(G().g_BackupReportsMode);
    EXPECT_EQ(G().g_SelectedRow, 2);
    EXPECT_EQ(r.result(), QDialog::Accepted);
}

TEST_F(BackupWindows, ARestoreNotConfirmedOrAnsweredNoLeavesTheLiveReports) {
    listing();
    prompter.ok();
    frestore r;
    r.MSFlexGrid1->setCurrentRow(1);
    prompter.no();
    r.Command1_Click();
    EXPECT_EQ(server.shellRequests().size(), 1u);
    G().g_BackupReportsMode = true;
    prompter.yes().no();
    r.Command1_Click();
    EXPECT_EQ(server.shellRequests().size(), 2u);
    EXPECT_FALSE(G().g_BackupReportsMode);
}

struct RestoreFault {
    const char* name;
    std::function<void(FakeServer&)> arrange;
    const char* told;
    const char* lastLine;  // "" when the restore's shell never opened
};

class RestoreFaults : public BackupWindows, public ::testing::WithParamInterface<RestoreFault> {};

TEST_P(RestoreFaults, AreToldAndNoBackupReportsAreOffered) {
    listing();
    prompter.ok();
    frestore r;
    GetParam().arrange(server);
    r.MSFlexGrid1->setCurrentRow(2);
    prompter.yes().ok();  // the confirmation and the failure: no question follows
    r.Command1_Click();
    EXPECT_TRUE(prompter.exhausted());
    const QString told = prompter.messages().last();
    EXPECT_TRUE(told.contains(QString::fromUtf8(GetParam().told))) << told.toStdString();
    EXPECT_FALSE(G().g_BackupReportsMode);
    const QString last = QString::fromUtf8(GetParam().lastLine);
    if (last.isEmpty()) {
        for (const QString& line : server.lines()) EXPECT_FALSE(line.contains("rm -f"));
    } else {
        EXPECT_EQ(server.linesOf(1).last(), ck(last));
    }
    // The list is back for another try.
    EXPECT_FALSE(r.MSFlexGrid1->isHidden());
    EXPECT_TRUE(r.cmdcancel->isEnabled());
    EXPECT_NE(r.result(), QDialog::Accepted);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, RestoreFaults,
    ::testing::Values(
        RestoreFault{"TheBackupFolderIsGone",
                     [](FakeServer& s) {
                         s.on("cd '/usr/varnel/backup'")
                             .reply("bash: cd: /usr/varnel/backup: No such file or directory\n");
                     },
                     "No such file or directory", ""},
        RestoreFault{"CopyFails",
                     [](FakeServer& s) {
                         s.on("cp " + kP + " TESTPCrestore.tar.gz")
                             .reply("cp: cannot stat '" + kP + "': No such file or directory\n")
                             .status(1);
                     },
                     "The backup could not be copied",
                     "cp 143005_120908_OFFICE1.tar.gz TESTPCrestore.tar.gz"},
        RestoreFault{"GunzipFails",
                     [](FakeServer& s) { s.on("gunzip TESTPCrestore.tar.gz").status(1); },
                     "The backup could not be uncompressed", "gunzip TESTPCrestore.tar.gz"},
        RestoreFault{"TarFails",
                     [](FakeServer& s) {
                         s.on("sudo tar xvf TESTPCrestore.tar")
                             .reply("tar: This does not look like a tar archive\n")
                             .status(2);
                     },
                     "The backup could not be unpacked", "sudo tar xvf TESTPCrestore.tar"},
        RestoreFault{"CallGetFails", [](FakeServer& s) { s.on("sudo ./CALL_GET5").status(1); },
                     "The server could not take up the restored calls", "sudo ./CALL_GET5"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BackupWindows, ASecondRestoreIsRefusedAndCancelEndsTheWait) {
    listing();
    prompter.ok();
    frestore r;
    r.MSFlexGrid1->setCurrentRow(2);
    server.on("gunzip TESTPCrestore.tar.gz").blocksUntilCancel().then([&r](const QString&) {
        QTimer::singleShot(0, &r, [&r] {
            EXPECT_FALSE(r.Command1->isEnabled());
            EXPECT_FALSE(r.cmdcancelwait->isHidden());
            r.Command1_Click();         // refused: no second question, no second session
            QTest::keyClick(&r, Qt::Key_Escape);  // refused while the restore waits
            EXPECT_FALSE(r.close());
            r.cmdcancelwait_Click();
        });
    });
    prompter.yes().ok();
    r.Command1_Click();
    EXPECT_TRUE(prompter.exhausted());
    EXPECT_EQ(server.shellRequests().size(), 2u);
    EXPECT_TRUE(prompter.messages().last() == cancelledWaitText("The restore"));
    EXPECT_EQ(server.linesOf(1).last(), ck("gunzip TESTPCrestore.tar.gz"));
    EXPECT_FALSE(G().g_BackupReportsMode);
}

TEST_F(BackupWindows, TheListsSayWhenThereAreNoBackups) {
    listing("");
    prompter.ok();
    frestore r;
    EXPECT_EQ(prompter.messages(),
              QStringList{"There are no backups to restore on the call accounting server!"});
    EXPECT_EQ(r.MSFlexGrid1->dataRows(), 0);

    fmanagebackups menu;
    menu.lblrunning->setVisible(true);
    prompter.ok();
    fdeletebackups d(&menu);
    EXPECT_EQ(prompter.messages().last(),
              "There are no backups to manage on the call accounting server!");
    // The menu's running text stops all the same; its buttons stay off until the list closes.
    EXPECT_TRUE(menu.lblrunning->isHidden());
    EXPECT_FALSE(menu.tmrreport->isActive());
}

TEST_F(BackupWindows, AListThatCannotBeFetchedIsToldNotShownAsEmpty) {
    // An old copy is gone before the fetch: a failed one never shows yesterday's list.
    home.write("North/Download/reports/restore.txt", "old,record\r\n");
    prompter.ok();
    fbringbackbackups b;
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].startsWith(
        "The list of backups could not be fetched from the server."));
    EXPECT_FALSE(QFile::exists(home.file("North/Download/reports/restore.txt")));
}

// The listing arrives but its local copy cannot be written (a folder stands in its place): told,
// never shown as an empty list.
TEST_F(BackupWindows, AListingThatCannotBeWrittenHereIsTold) {
    listing();
    home.write("North/Download/reports/restore.txt/in-the-way", "x");
    prompter.ok();
    frestore r;
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].contains("The list of backups could not be written to " +
                                                home.file("North/Download/reports/restore.txt")))
        << prompter.messages()[0].toStdString();
    EXPECT_EQ(r.MSFlexGrid1->dataRows(), 0);
}

// ---- deleting -------------------------------------------------------------------------------

TEST_F(BackupWindows, TheDeleteListHasTicksAndTheDiskFigures) {
    listing();
    server.addFile(kBackupFolder + "/diskspace.txt", "40G  12G  28G  30% /dev/sda1\n");
    prompter.ok();
    fdeletebackups d;
    EXPECT_EQ(d.windowTitle(), "Delete Backups");
    EXPECT_EQ(server.linesOf(0), listingSent(true));
    EXPECT_EQ(server.fetches().size(), 2u);
    EXPECT_EQ(items(d.lstdiskspace), QStringList{"40G"});
    EXPECT_EQ(items(d.lstused), QStringList{"28G"});
    EXPECT_EQ(d.MSFlexGrid1->rowCells(0).first(), "Select");
    EXPECT_EQ(d.MSFlexGrid1->rowCells(0).last(), "Created On");
    EXPECT_EQ(column(d.MSFlexGrid1, 1), (QStringList{kA, kP}));
    EXPECT_TRUE(d.MSFlexGrid1->tickedRows().isEmpty());
    EXPECT_TRUE(d.tmrreport->isActive());
}

TEST_F(BackupWindows, ADeletionFollowsTheTicksAndChecksWhatIsGone) {
    listing();
    prompter.ok();
    fdeletebackups d;
    EXPECT_TRUE(d.lstdiskspace->count() == 0 && d.lstused->count() == 0);  // no diskspace.txt
    d.MSFlexGrid1->setTicked(1, true);                                     // kA
    d.MSFlexGrid1->SortByColumn(1);
    d.MSFlexGrid1->SortByColumn(1);  // descending: kP, kA
    EXPECT_EQ(d.tickedNames(), QStringList{kA});
    server.on("ls -1").reply(kP + "\n" + kP + ".info\nCALL_GET5\nrestore.txt\n");
    prompter.yes().ok();
    d.Command1_Click();
    EXPECT_EQ(prompter.messages().mid(1),
              (QStringList{"Are you sure you want to delete the backup you selected?\r\n",
                           "File(s) Deleted"}));
    EXPECT_EQ(server.linesOf(1), (QStringList{"cd '/usr/varnel/backup'", ck("sudo rm -f " + kA),
                                              ck("sudo rm -f " + kA + ".info"), ck("ls -1")}));
    EXPECT_EQ(d.result(), QDialog::Accepted);
}

TEST_F(BackupWindows, ABackupStillThereAfterTheDeletionIsNamed) {
    listing();
    prompter.ok();
    fdeletebackups d;
    d.MSFlexGrid1->setTicked(1, true);
    d.MSFlexGrid1->setTicked(2, true);
    server.on("sudo rm -f " + kP).reply("rm: cannot remove: Permission denied\n").status(1);
    server.on("ls -1").reply(kP + "\n" + kP + ".info\n");
    prompter.yes().ok();
    d.Command1_Click();
    const QString told = prompter.messages().last();
    EXPECT_TRUE(told.startsWith("These backups were not deleted:\r\n" + kP + "\r\n\r\n"))
        << told.toStdString();
    EXPECT_TRUE(told.contains("Permission denied"));
}

TEST_F(BackupWindows, NothingTickedOrNotConfirmedSendsNothing) {
    listing();
    prompter.ok();
    fdeletebackups d;
    prompter.ok();
    d.Command1_Click();
    EXPECT_EQ(prompter.messages().last(), "No backups selected");
    d.MSFlexGrid1->setTicked(2, true);
    prompter.no();
    d.Command1_Click();
    EXPECT_EQ(server.shellRequests().size(), 1u);
    EXPECT_NE(d.result(), QDialog::Accepted);
}

// ---- bringing back --------------------------------------------------------------------------

TEST_F(BackupWindows, TickedArchivesAreCopiedAndACopyHereIsReplacedOnlyWhenAsked) {
    listing();
    server.addFile(kBackupFolder + "/" + kA, "ARCHIVE A");
    server.addFile(kBackupFolder + "/" + kP, "ARCHIVE P");
    home.write("North/Download/backups/" + kA, "OLD A");
    prompter.ok();
    fbringbackbackups b;
    EXPECT_EQ(b.windowTitle(), "Bring Back Backups");
    EXPECT_EQ(server.linesOf(0), listingSent(false));
    EXPECT_EQ(server.fetches().size(), 1u);  // the listing alone
    b.MSFlexGrid1->setTicked(1, true);
    b.MSFlexGrid1->setTicked(2, true);
    prompter.no().ok();
    b.Command1_Click();
    EXPECT_EQ(prompter.messages().mid(1),
              (QStringList{
                  localBackup(kA) + " is already on this computer.\r\nReplace it?",
                  kA + ": not copied; the copy on this computer is kept\r\n" + kP + ": copied"}));
    EXPECT_EQ(home.read("North/Download/backups/" + kA), "OLD A");
    EXPECT_EQ(home.read("North/Download/backups/" + kP), "ARCHIVE P");
    for (const auto& fetch : server.fetches()) EXPECT_FALSE(fetch.remotePath.endsWith(".info"));
}

// A site whose backups folder was never made gets it with the copy.
TEST_F(BackupWindows, BringingBackMakesTheBackupsFolder) {
    listing();
    server.addFile(kBackupFolder + "/" + kP, "ARCHIVE P");
    ASSERT_FALSE(QFileInfo::exists(home.file("North/Download/backups")));
    prompter.ok();
    fbringbackbackups b;
    b.MSFlexGrid1->setTicked(2, true);
    prompter.ok();
    b.Command1_Click();
    EXPECT_EQ(prompter.messages().last(), "File(s)Copied");
    EXPECT_EQ(home.read("North/Download/backups/" + kP), "ARCHIVE P");
}

TEST_F(BackupWindows, AReplacedCopyIsKeptWhenTheNewOneFails) {
    listing();
    server.addFile(kBackupFolder + "/" + kA, "ARCHIVE A");
    server.failFetch(kBackupFolder + "/" + kP, kSessionFailed, "No such file");
    home.write("North/Download/backups/" + kP, "OLD P");
    prompter.ok();
    fbringbackbackups b;
    b.MSFlexGrid1->setTicked(1, true);
    b.MSFlexGrid1->setTicked(2, true);
    prompter.yes().ok();
    b.Command1_Click();
    EXPECT_EQ(prompter.messages().last(), kA + ": copied\r\n" + kP + ": not copied: No such file");
    EXPECT_EQ(home.read("North/Download/backups/" + kP), "OLD P");
    EXPECT_EQ(home.read("North/Download/backups/" + kA), "ARCHIVE A");

    listing();
    prompter.ok();
    fbringbackbackups again;
    again.MSFlexGrid1->setTicked(1, true);
    prompter.yes().ok();
    again.Command1_Click();
    EXPECT_EQ(prompter.messages().last(), "File(s)Copied");
}

// A copy that cannot take the old one's place (here a folder of that name) loses neither: the
// old stays, the new one is kept whole under its download name, and the message says where.
TEST_F(BackupWindows, ANewCopyThatCannotTakeItsPlaceIsKeptAndNamed) {
    listing();
    server.addFile(kBackupFolder + "/" + kA, "ARCHIVE A");
    home.write("North/Download/backups/" + kA + "/inside", "OLD A");
    prompter.ok();
    fbringbackbackups b;
    b.MSFlexGrid1->setTicked(1, true);
    prompter.allowUnusedAnswers().yes().ok();
    b.Command1_Click();
    const QString kept = localBackup(kA) + ".download";
    EXPECT_TRUE(prompter.messages().last().startsWith(kA + ": not copied: "));
    EXPECT_TRUE(prompter.messages().last().contains("the copy brought back is kept as " + kept))
        << prompter.messages().last().toStdString();
    EXPECT_EQ(home.read("North/Download/backups/" + kA + ".download"), "ARCHIVE A");
    EXPECT_EQ(home.read("North/Download/backups/" + kA + "/inside"), "OLD A");
}


// ---- a site without a server folder ---------------------------------------------------------

struct NoFolderCase {
    const char* name;
    std::function<void()> open;
};

class NoServerFolder : public BackupWindows, public ::testing::WithParamInterface<NoFolderCase> {};

// "/backup" at the server's root would get the listing's chown and, in a restore, the removal of
// every table: nothing is sent at all.
TEST_P(NoServerFolder, IsRefusedBeforeAnythingIsSent) {
    G().g_SiteHomedir[FakeSite::kIndex] = "";
    server.addFile("/backup/restore.txt", kListing);
    prompter.ok();
    GetParam().open();
    EXPECT_TRUE(server.lines().isEmpty()) << server.lines().join("\n").toStdString();
    EXPECT_TRUE(server.fetches().empty());
    for (const auto& r : server.shellRequests()) EXPECT_FALSE(r.target.refusal.isEmpty());
    ASSERT_FALSE(prompter.messages().isEmpty());
    EXPECT_TRUE(
        prompter.messages().last().contains("No server folder is configured for this site."))
        << prompter.messages().last().toStdString();
    EXPECT_TRUE(prompter.exhausted());
}

INSTANTIATE_TEST_SUITE_P(Windows, NoServerFolder,
                         ::testing::Values(NoFolderCase{"Backup",
                                                        [] {
                                                            fbackup f;
                                                            f.cmdbackup_Click();
                                                        }},
                                           NoFolderCase{"Restore", [] { frestore r; }},
                                           NoFolderCase{"Delete", [] { fdeletebackups d; }},
                                           NoFolderCase{"BringBack", [] { fbringbackbackups b; }}),
                         [](const auto& info) { return std::string(info.param.name); });

// The pieces every window builds on: no "/backup" at the root, no shell in it, no table pulled
// from the root.
TEST(SiteServerFolder, AnEmptyHomedirHasNoBackupFolder) {
    testsupport::TempHome home;
    FakeSite site;
    FakeServer server;
    G().g_SiteHomedir[FakeSite::kIndex] = "";
    const TableMirrorResult pulled =
        RefreshSiteTables(FakeSite::name(), filesRequestForSite(FakeSite::kIndex),
                          siteServerFolder(FakeSite::kIndex));
    EXPECT_FALSE(pulled.ok);
    EXPECT_EQ(pulled.error, "No server folder is configured for this site.");
    EXPECT_TRUE(server.filesRequests().empty());
    EXPECT_EQ(SiteContext::current().serverFolder(true), "");
    EXPECT_EQ(siteServerFolder(FakeSite::kIndex, true), "");
    EXPECT_FALSE(
        shellRequestForSite(FakeSite::kIndex, SiteFolder::Backup, "x").target.refusal.isEmpty());
    EXPECT_TRUE(
        shellRequestForSite(FakeSite::kIndex, SiteFolder::Login, "x").target.refusal.isEmpty());
    G().g_SiteHomedir[FakeSite::kIndex] = FakeSite::folder();
    EXPECT_EQ(SiteContext::current().serverFolder(true), "/usr/varnel/backup");
}

// ---- a listing the server could not write ---------------------------------------------------

struct ListWindowCase {
    const char* name;
    std::function<void()> open;
};

class UnwrittenListing : public BackupWindows,
                         public ::testing::WithParamInterface<ListWindowCase> {};

// The redirection is refused, so restore.txt on the server is an old one: it is never fetched
// or shown.
TEST_P(UnwrittenListing, IsToldAndTheOldOneIsNotListed) {
    listing();
    home.write("North/Download/reports/restore.txt", kListing);
    server.on("cat *.info >restore.txt").reply("-bash: restore.txt: Permission denied\n");
    prompter.ok();
    GetParam().open();
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].contains(
        "The server could not write the list of backups (restore.txt):\r\n"
        "-bash: restore.txt: Permission denied"))
        << prompter.messages()[0].toStdString();
    EXPECT_TRUE(server.fetches().empty());
    EXPECT_FALSE(QFile::exists(home.file("North/Download/reports/restore.txt")));
}

INSTANTIATE_TEST_SUITE_P(
    Windows, UnwrittenListing,
    ::testing::Values(ListWindowCase{"Restore",
                                     [] {
                                         frestore r;
                                         EXPECT_EQ(r.MSFlexGrid1->dataRows(), 0);
                                     }},
                      ListWindowCase{"Delete",
                                     [] {
                                         fdeletebackups d;
                                         EXPECT_EQ(d.MSFlexGrid1->dataRows(), 0);
                                     }},
                      ListWindowCase{"BringBack",
                                     [] {
                                         fbringbackbackups b;
                                         EXPECT_EQ(b.MSFlexGrid1->dataRows(), 0);
                                     }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BackupWindows, ACatWithoutRecordsIsAnEmptyList) {
    listing("");
    server.on("cat *.info >restore.txt")
        .reply("cat: '*.info': No such file or directory\n")
        .status(1);
    prompter.ok();
    frestore r;
    EXPECT_EQ(prompter.messages(),
              QStringList{"There are no backups to restore on the call accounting server!"});
}

TEST_F(BackupWindows, RecordsRunTogetherAreEachARow) {
    listing(
        "101508_103108_OFFICE1.tar.gz,10/31/2008,A,10/01/08,10/31/08,OFFICE1"
        "143005_120908_OFFICE1.tar.gz,12/9/2008,P,11/09/08,12/09/08,OFFICE1\n");
    frestore r;
    EXPECT_EQ(column(r.MSFlexGrid1, 0), (QStringList{kA, kP}));
    EXPECT_EQ(column(r.MSFlexGrid1, 5), (QStringList{"OFFICE1", "OFFICE1"}));
}

// ---- a restore that fails once the tables are gone ------------------------------------------

class RecordingPort : public testsupport::NullMainWindow {
public:
    void showBackupReportsMode(bool on) override { modes << on; }
    QList<bool> modes;
};

struct ReportsModeCase {
    const char* name;
    std::function<void(FakeServer&, frestore&)> arrange;
    bool endsMode;  // the tables had been removed
};

class RestoreEndsBackupReports : public BackupWindows,
                                 public ::testing::WithParamInterface<ReportsModeCase> {
protected:
    void SetUp() override {
        BackupWindows::SetUp();
        before = MainWindowPort::instance();
        MainWindowPort::install(&port);
    }
    void TearDown() override {
        MainWindowPort::install(before);
        G().g_BackupReportsMode = false;
        BackupWindows::TearDown();
    }
    RecordingPort port;
    MainWindowPort* before = nullptr;
};

TEST_P(RestoreEndsBackupReports, OnceTheTablesWereRemoved) {
    listing();
    prompter.ok();
    frestore r;
    G().g_BackupReportsMode = true;  // reports run on an earlier restore
    GetParam().arrange(server, r);
    r.MSFlexGrid1->setCurrentRow(2);
    prompter.yes().ok();
    r.Command1_Click();
    EXPECT_TRUE(prompter.exhausted());
    const QString told = prompter.messages().last();
    EXPECT_EQ(G().g_BackupReportsMode, !GetParam().endsMode);
    EXPECT_EQ(port.modes, GetParam().endsMode ? QList<bool>{false} : QList<bool>{});
    EXPECT_EQ(told.contains("Reports on a restored backup are switched off"), GetParam().endsMode)
        << told.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Restore, RestoreEndsBackupReports,
    ::testing::Values(
        ReportsModeCase{"FolderChangeFails",
                        [](FakeServer& s, frestore&) {
                            s.on("cd '/usr/varnel/backup'").reply("bash: cd: no such folder\n");
                        },
                        false},
        ReportsModeCase{
            "ArchiveRemovalFails",
            [](FakeServer& s, frestore&) { s.on("sudo rm -f TESTPCrestore.tar").status(1); },
            false},
        ReportsModeCase{"TablesRemovalTimesOut",
                        [](FakeServer& s, frestore&) { s.on("sudo rm -f *.db *.DAT").timesOut(); },
                        true},
        ReportsModeCase{
            "UnpackFails",
            [](FakeServer& s, frestore&) { s.on("sudo tar xvf TESTPCrestore.tar").status(2); },
            true},
        ReportsModeCase{
            "Cancelled",
            [](FakeServer& s, frestore& r) {
                s.on("gunzip TESTPCrestore.tar.gz").blocksUntilCancel().then([&r](const QString&) {
                    QTimer::singleShot(0, &r, [&r] { r.cmdcancelwait_Click(); });
                });
            },
            true}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- the menus ------------------------------------------------------------------------------

TEST_F(BackupWindows, TheMenusProgressRunsToThreeDots) {
    Fbackuprestore menu;
    EXPECT_EQ(menu.windowTitle(), "Backup/Restore Menu");
    EXPECT_TRUE(menu.lblrunning->isHidden());
    for (int i = 0; i < 3; ++i) menu.waitpanel->dots_Timer();
    EXPECT_EQ(menu.lblrunning->text(), "Retrieving Backups List...");
    menu.waitpanel->dots_Timer();
    EXPECT_EQ(menu.lblrunning->text(), "Retrieving Backups List.");
    fmanagebackups manage;
    EXPECT_EQ(manage.windowTitle(), "Manage Backups ");
    EXPECT_TRUE(manage.tmrreport->isActive());
}

}  // namespace
