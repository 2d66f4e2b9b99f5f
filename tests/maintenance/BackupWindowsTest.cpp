// The backup windows through the fake server: the exact lines of a backup, a restore and a
// deletion, what each failing step tells and what it then leaves unsent, the lists with their
// ticks, and the copies brought back.
#include "maintenance/BackupLists.h"
#include "maintenance/BackupMenus.h"
#include "maintenance/fbackup.h"
#include "widgets/LongWaitCancel.h"

#include "common/Globals.h"
#include "remote/CheckedLines.h"
#include "reports/common/ReportTable.h"
#include "support/FakeServer.h"
#include "support/FakeSite.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"
#include "widgets/ProgressLabel.h"
#include "widgets/SortableGrid.h"

#include <gtest/gtest.h>

#include <QDateEdit>
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
        setReportClock([] { return QDateTime(QDate(2008, 12, 9), QTime(14, 30, 5)); });
    }
    void TearDown() override {
        setReportClock({});
        QLocale::setDefault(QLocale::c());
    }
    void listing(const QByteArray& bytes = kListing) {
        server.addFile(kBackupFolder + "/restore.txt", bytes);
    }
    QString localBackup(const QString& name) const {
        return home.file("North/Download/backups/" + name);
    }

    testsupport::TempHome home;
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
    ck("mv *.gz '/usr/varnel/backup'")};

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
    EXPECT_EQ(server.linesOf(1).at(2),
              ck("echo '143005_120908_TESTPC.tar.gz,12/9/2008,P,11/20/08,12/01/08,TESTPC'>"
                 "143005_120908_TESTPC.tar.gz.info"));
}

struct BackupFault {
    const char* name;
    std::function<void(FakeServer&)> arrange;
    const char* told;      // in the message
    const char* lastLine;  // the last line the first shell received
    bool recorded;         // the second shell (name and record) ran
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
            "The server could not gather the calls", "./CALL_PUT5 11/09/08 12/09/08", false},
        BackupFault{"CallPutOutlivesItsDeadline",
                    [](FakeServer& s) { s.on("./CALL_PUT5 11/09/08 12/09/08").timesOut(); },
                    "The server could not gather the calls", "./CALL_PUT5 11/09/08 12/09/08",
                    false},
        BackupFault{"TarFails",
                    [](FakeServer& s) {
                        s.on("tar cvf `date +%m%d%y`TESTPC.tar *")
                            .reply("tar: call.put: Cannot stat\n")
                            .status(2);
                    },
                    "The archive could not be packed", "tar cvf `date +%m%d%y`TESTPC.tar *", false},
        BackupFault{"NoArchiveOfThisComputer",
                    [](FakeServer& s) { s.on("ls *.tar.gz").reply("121008OTHERPC.tar.gz\n"); },
                    "The packed archive was not found", "ls *.tar.gz", false},
        BackupFault{"TheCopyFails",
                    [](FakeServer& s) {
                        s.failFetch(kBackupFolder + "/121008TESTPC.tar.gz", kSessionFailed,
                                    "No such file");
                    },
                    "143005_120908_TESTPC.tar.gz is on the server but could not be copied",
                    "mv *.gz '/usr/varnel/backup'", true},
        BackupFault{"TheRecordIsMissing",
                    [](FakeServer& s) {
                        s.on("ls 143005_120908_TESTPC.tar.gz.info")
                            .reply("ls: cannot access '143005_120908_TESTPC.tar.gz.info'\n")
                            .status(2);
                    },
                    "The backup's record is not on the server", "mv *.gz '/usr/varnel/backup'",
                    true}),
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
    prompter.ok();
    fbringbackbackups b;
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].startsWith(
        "The list of backups could not be fetched from the server."));
    EXPECT_FALSE(QFile::exists(home.file("North/Download/reports/restore.txt")));
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

// ---- the menus ------------------------------------------------------------------------------

TEST_F(BackupWindows, TheMenusProgressRunsToThreeDots) {
    Fbackuprestore menu;
    EXPECT_EQ(menu.windowTitle(), "Backup/Restore Menu");
    EXPECT_TRUE(menu.lblrunning->isHidden());
    for (int i = 0; i < 3; ++i) menu.tmrreport_Timer();
    EXPECT_EQ(menu.lblrunning->text(), "Retrieving Backups List...");
    menu.tmrreport_Timer();
    EXPECT_EQ(menu.lblrunning->text(), "Retrieving Backups List.");
    fmanagebackups manage;
    EXPECT_EQ(manage.windowTitle(), "Manage Backups ");
    EXPECT_TRUE(manage.tmrreport->isActive());
}

}  // namespace
