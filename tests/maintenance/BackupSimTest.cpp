// Backups against the stand-in server, in a site folder of the test's own: a backup made, listed,
// brought back, restored with reports on it and deleted; a server clock a day ahead; a backup
// folder gone before a restore (the live tables survive); a hostile listed name; a slow call
// gatherer; an archive that does not unpack; the clock set back an hour, with a record that
// lost its final line feed.
#include "support/Controls.h"
#include "support/ProgramWindows.h"

#include "common/Globals.h"
#include "common/ProgramClock.h"
#include "common/SiteContext.h"
#include "maintenance/BackupFiles.h"
#include "maintenance/BackupLists.h"
#include "maintenance/fbackup.h"
#include "menu/fMain.h"
#include "reports/common/ReportTable.h"
#include "support/ScriptedPrompter.h"
#include "support/SimServer.h"
#include "support/SimSite.h"
#include "support/TempHome.h"
#include "widgets/SortableGrid.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>

using testsupport::control;

using namespace quillon;
using testsupport::SimServer;

namespace {

const QString kRefused =
    "These backup records do not name a backup archive and are left out of the list:\r\n*";

class BackupSim : public testsupport::SimSiteTest {
protected:
    BackupSim() : SimSiteTest(false) {}

    QStringList backupFolder() const {
        return QDir(site.file("backup")).entryList(QDir::Files, QDir::Name);
    }
    // The archives this computer made.
    QStringList ownArchives() const {
        return backupFolder().filter(QRegularExpression("^[0-9]{6}_[0-9]{6}_TESTPC\\.tar\\.gz$"));
    }
    int rowOf(const SortableGrid* grid, int col, const QString& name) const {
        for (int r = 1; r <= grid->dataRows(); ++r)
            if (grid->cell(r, col) == name) return r;
        return 0;
    }
    QString makeBackup(bool allCalls) {
        fbackup f;
        if (allCalls) f.Optdate[0]->setChecked(true);
        prompter.ok();
        f.cmdbackup_Click();
        EXPECT_EQ(prompter.messages().last(), "BACKUP COMPLETE");
        const QStringList own = ownArchives();
        EXPECT_EQ(own.size(), 1) << own.join(' ').toStdString();
        return own.value(0);
    }

    testsupport::ScriptedPrompter prompter;
};

TEST_F(BackupSim, MadeListedBroughtBackRestoredWithReportsOnItAndDeleted) {
    const QString name = makeBackup(true);
    ASSERT_FALSE(name.isEmpty());
    const QByteArray archive = site.read("backup/" + name);
    ASSERT_FALSE(archive.isEmpty());
    EXPECT_EQ(home.read("North/Download/backups/" + name), archive);
    const QString record = QString::fromLatin1(site.read("backup/" + name + ".info"));
    EXPECT_TRUE(record.startsWith(name + ",")) << record.toStdString();
    EXPECT_TRUE(record.contains(",A,")) << record.toStdString();
    EXPECT_EQ(SimServer::calls("CALL_PUT5"), QStringList{""});
    EXPECT_TRUE(site.read("call.put").startsWith("CALLS ALL\n"));

    // Brought back: the same bytes as on the server.
    QFile::remove(home.file("North/Download/backups/" + name));
    prompter.ok();
    {
        fbringbackbackups b;
        const int row = rowOf(b.MSFlexGrid1, 1, name);
        ASSERT_GT(row, 0) << prompter.messages().join(" | ").toStdString();
        b.MSFlexGrid1->setTicked(row, true);
        prompter.ok();
        b.Command1_Click();
        EXPECT_EQ(prompter.messages().last(), "File(s)Copied");
    }
    EXPECT_EQ(home.read("North/Download/backups/" + name), archive);

    // Restored, and Yes to reports on it: the main window's backup mode.
    prompter.ok();
    {
        frestore r;
        EXPECT_EQ(prompter.messages().last(), kRefused);
        const int row = rowOf(r.MSFlexGrid1, 0, name);
        ASSERT_GT(row, 0) << prompter.messages().join(" | ").toStdString();
        r.MSFlexGrid1->setCurrentRow(row);
        prompter.yes().yes();
        r.Command1_Click();
        EXPECT_TRUE(prompter.exhausted());
    }
    EXPECT_EQ(SimServer::calls("CALL_GET5"), QStringList{""});
    EXPECT_TRUE(site.exists("backup/ext.db"));
    EXPECT_TRUE(site.exists("backup/CALLS.DAT"));
    EXPECT_TRUE(G().g_BackupReportsMode);
    fMain* main = fMain::instance();
    EXPECT_EQ(control<QTabWidget>(main, "SSTab1")->currentIndex(), 1);
    EXPECT_EQ(control<QTabWidget>(main, "SSTab1")->tabText(1), "Backup Reports");
    EXPECT_FALSE(control<QPushButton>(main, "cmdexitbackup")->isHidden());
    main->cmdexitbackup_Click();
    EXPECT_FALSE(G().g_BackupReportsMode);
    EXPECT_EQ(control<QTabWidget>(main, "SSTab1")->tabText(1), "Reports");
    fMain::unloadInstance();
    // The main window put its site box in as the current site; the test's site comes back.
    const FixedSite north(testsupport::SimSite::kIndex, testsupport::SimSite::name());
    SiteContext::install(&north);

    // Deleted.
    prompter.ok();
    {
        fdeletebackups d;
        const int row = rowOf(d.MSFlexGrid1, 1, name);
        ASSERT_GT(row, 0) << prompter.messages().join(" | ").toStdString();
        d.MSFlexGrid1->setTicked(row, true);
        prompter.yes().ok();
        d.Command1_Click();
        EXPECT_EQ(prompter.messages().last(), "File(s) Deleted");
    }
    EXPECT_FALSE(site.exists("backup/" + name));
    EXPECT_FALSE(site.exists("backup/" + name + ".info"));
    EXPECT_TRUE(site.exists("backup/143005_120908_OFFICE1.tar.gz"));
}

TEST_F(BackupSim, AServerClockADayAheadStillFetchesAndRecordsTheArchive) {
    SimServer::setKnob("clock_offset", "86400");
    const QString name = makeBackup(false);
    ASSERT_FALSE(name.isEmpty());
    // Named by this computer's clock, not the server's.
    EXPECT_EQ(name.mid(7, 6), QDate::currentDate().toString("MMddyy"));
    EXPECT_EQ(home.read("North/Download/backups/" + name), site.read("backup/" + name));
    EXPECT_TRUE(site.read("backup/" + name + ".info").startsWith((name + ",").toLatin1()));
    // No archive is left under the server's provisional name.
    EXPECT_TRUE(backupFolder().filter(QRegularExpression("^[0-9]{6}TESTPC")).isEmpty());
}

// The clocks went back an hour: the second backup would get the first one's name. It takes the
// next second instead; both archives, records and copies stay. A record without its final line
// feed (cat runs it into the next one) does not hide the other backup.
TEST_F(BackupSim, TheClockSetBackReplacesNoBackupAndRecordsRunTogetherAreListed) {
    const QString first = "013005_110208_TESTPC.tar.gz";
    const QString second = "013006_110208_TESTPC.tar.gz";
    SettableClock clock(QDateTime(QDate(2008, 11, 2), QTime(1, 30, 5)));
    for (int i = 0; i < 2; ++i) {
        // A call file changed between the two (the archive holds *DAT), so their archives can be
        // told apart even when both are packed within one second.
        if (i == 1)
            ASSERT_EQ(SimServer::runAs(SimServer::shellUser(), "echo second >second.DAT",
                                       site.file(".")),
                      0);
        fbackup f;
        prompter.ok();
        f.cmdbackup_Click();
        EXPECT_EQ(prompter.messages().last(), "BACKUP COMPLETE");
    }
    clock.setNow({});
    EXPECT_EQ(ownArchives(), (QStringList{first, second}));
    for (const QString& name : {first, second}) {
        EXPECT_TRUE(site.read("backup/" + name + ".info").startsWith((name + ",").toLatin1()));
        EXPECT_EQ(home.read("North/Download/backups/" + name), site.read("backup/" + name));
    }
    EXPECT_NE(site.read("backup/" + first), site.read("backup/" + second));

    ASSERT_EQ(SimServer::runAs(SimServer::shellUser(),
                               "printf %s \"$(cat " + first + ".info)\" >run.tmp && mv run.tmp " +
                                   first + ".info",
                               site.file("backup")),
              0);
    ASSERT_FALSE(site.read("backup/" + first + ".info").endsWith('\n'));
    const qsizetype told = prompter.messages().size();
    prompter.ok();  // the site's own hostile record
    frestore r;
    for (const QString& m : prompter.messages().mid(told))
        EXPECT_FALSE(m.contains("more than six fields")) << m.toStdString();
    EXPECT_GT(rowOf(r.MSFlexGrid1, 0, first), 0);
    EXPECT_GT(rowOf(r.MSFlexGrid1, 0, second), 0);
    EXPECT_EQ(r.MSFlexGrid1->cell(rowOf(r.MSFlexGrid1, 0, first), 5), "TESTPC");
}

// The gatherer outlives the site's line deadline: its step waits the backup deadline instead.
TEST_F(BackupSim, ASlowCallGathererIsWaitedFor) {
    home.write("KTReports.ini", "[Sites]\r\nLineTimeout=2\r\n");
    SimServer::setKnob("CALL_PUT5.delay", "5");
    const QString name = makeBackup(false);
    ASSERT_FALSE(name.isEmpty());
    const QStringList calls = SimServer::calls("CALL_PUT5");
    ASSERT_EQ(calls.size(), 1);
    EXPECT_TRUE(site.read("call.put").startsWith(("CALLS " + calls[0] + "\n").toLatin1()));
    // The archive holds the call file that the slow run wrote.
    EXPECT_TRUE(site.read("remotebackup/call.put").startsWith("CALLS "));
}

TEST_F(BackupSim, ABackupFolderGoneBeforeTheRestoreDeletesNoTable) {
    prompter.ok();
    frestore r;
    ASSERT_EQ(r.MSFlexGrid1->dataRows(), 2);
    QMap<QString, QByteArray> live;
    for (const QString& t : backupTables()) live[t] = site.read(t);
    ASSERT_FALSE(live["ext.db"].isEmpty());
    ASSERT_TRUE(QDir().rename(site.file("backup"), site.file("backup.gone")));

    r.MSFlexGrid1->setCurrentRow(1);
    prompter.yes().ok();
    r.Command1_Click();
    EXPECT_TRUE(prompter.exhausted());
    EXPECT_TRUE(prompter.messages().last().contains("No such file"))
        << prompter.messages().last().toStdString();
    for (const QString& t : backupTables()) EXPECT_EQ(site.read(t), live[t]) << t.toStdString();
    EXPECT_TRUE(site.exists("CALLS.DAT"));
    for (const QString& e : SimServer::entries("SUDO")) EXPECT_FALSE(e.startsWith("rm"));
    EXPECT_FALSE(G().g_BackupReportsMode);
}

TEST_F(BackupSim, AHostileListedNameDeletesNothingButTheTickedArchives) {
    prompter.ok();
    fdeletebackups d;
    EXPECT_EQ(prompter.messages().last(), kRefused);
    ASSERT_EQ(d.MSFlexGrid1->dataRows(), 2);
    QStringList kept = backupFolder();
    for (const QString& gone :
         {"101508_103108_OFFICE1.tar.gz", "101508_103108_OFFICE1.tar.gz.info",
          "143005_120908_OFFICE1.tar.gz", "143005_120908_OFFICE1.tar.gz.info"})
        kept.removeOne(gone);
    for (const QString& stays : {"CALL_GET5", "broken.info", "diskspace.txt", "hostile.info"})
        EXPECT_TRUE(kept.contains(stays)) << stays.toStdString();
    for (int r = 1; r <= 2; ++r) d.MSFlexGrid1->setTicked(r, true);
    prompter.yes().ok();
    d.Command1_Click();
    EXPECT_EQ(prompter.messages().last(), "File(s) Deleted");
    QStringList removals;
    for (const QString& e : SimServer::entries("SUDO"))
        if (e.startsWith("rm")) removals << e;
    EXPECT_EQ(removals, (QStringList{"rm -f 101508_103108_OFFICE1.tar.gz",
                                     "rm -f 101508_103108_OFFICE1.tar.gz.info",
                                     "rm -f 143005_120908_OFFICE1.tar.gz",
                                     "rm -f 143005_120908_OFFICE1.tar.gz.info"}));
    EXPECT_EQ(backupFolder(), kept);
}

TEST_F(BackupSim, AnArchiveThatDoesNotUnpackIsToldAndNoBackupReportsAreOffered) {
    const QString bad = "120000_120108_BADPC.tar.gz";
    ASSERT_EQ(
        SimServer::runAs(SimServer::shellUser(),
                         "printf 'not a tar archive\\n' | gzip -n >backup/" + bad + " && echo " +
                             bad + ",12/1/2008,A,12/01/08,12/01/08,BADPC >backup/" + bad + ".info",
                         site.folder()),
        0);
    prompter.ok();
    frestore r;
    const int row = rowOf(r.MSFlexGrid1, 0, bad);
    ASSERT_GT(row, 0) << prompter.messages().join(" | ").toStdString();
    r.MSFlexGrid1->setCurrentRow(row);
    prompter.yes().ok();
    r.Command1_Click();
    EXPECT_TRUE(prompter.exhausted());
    EXPECT_TRUE(prompter.messages().last().contains("The backup could not be unpacked"))
        << prompter.messages().last().toStdString();
    EXPECT_TRUE(SimServer::calls("CALL_GET5").isEmpty());
    EXPECT_FALSE(G().g_BackupReportsMode);
}

}  // namespace
