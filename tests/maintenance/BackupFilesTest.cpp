// Backup archives and their info records as the lists show them, the listing with its short
// and hostile lines, the disk-space lines, and the server steps of a backup, a restore and a
// deletion as data.
#include "maintenance/BackupFiles.h"

#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QSet>

#include <ostream>

using namespace quillon;

namespace {

struct NameCase {
    const char* name;
    bool archive;
};

class ArchiveNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(ArchiveNames, OnlyTheSystemsNamesAreArchives) {
    EXPECT_EQ(isBackupArchiveName(QString::fromUtf8(GetParam().name)), GetParam().archive)
        << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Names, ArchiveNames,
                         ::testing::Values(NameCase{"143005_120908_OFFICE1.tar.gz", true},
                                           NameCase{"000000_010100_a-b_C.tar.gz", true},
                                           NameCase{"*", false}, NameCase{"*.tar.gz", false},
                                           NameCase{"../143005_120908_OFFICE1.tar.gz", false},
                                           NameCase{"143005_120908_../../x.tar.gz", false},
                                           NameCase{"143005_120908_OFF ICE.tar.gz", false},
                                           NameCase{"143005_120908_OFFICE1.tar.gz;rm -rf x", false},
                                           NameCase{"143005_120908_OFFICE1.tar.gz\n", false},
                                           NameCase{"14300_120908_OFFICE1.tar.gz", false},
                                           NameCase{"143005_120908_.tar.gz", false},
                                           NameCase{"143005_120908_OFFICE1.tar", false},
                                           NameCase{"120908OFFICE1.tar.gz", false},
                                           NameCase{"", false}));

// The archive and its ".info" record are both files: a name only one of them could have names
// nothing on the server, and its deletion would stop after the first.
TEST(BackupNames, TheRecordFileOfAnArchiveMustFitInAFileName) {
    const QString fits = "143005_120908_" + QString(229, QLatin1Char('A')) + ".tar.gz";
    ASSERT_EQ(fits.size() + 5, 255);
    EXPECT_TRUE(isBackupArchiveName(fits));
    EXPECT_FALSE(isBackupArchiveName("143005_120908_A" + fits.mid(14)));
}

TEST(BackupNames, FinalAndProvisionalNames) {
    const QDateTime finished(QDate(2008, 12, 9), QTime(14, 30, 5));
    EXPECT_EQ(backupArchiveName(finished, "OFFICE1"), "143005_120908_OFFICE1.tar.gz");
    EXPECT_EQ(backupArchiveName(QDateTime(QDate(2009, 1, 2), QTime(0, 0, 7)), "PC"),
              "000007_010209_PC.tar.gz");
    EXPECT_TRUE(isProvisionalArchiveName("120908OFFICE1.tar.gz", "OFFICE1"));
    // The server's date on the other side of midnight names it all the same.
    EXPECT_TRUE(isProvisionalArchiveName("121008OFFICE1.tar.gz", "OFFICE1"));
    EXPECT_FALSE(isProvisionalArchiveName("143005_120908_OFFICE1.tar.gz", "OFFICE1"));
    EXPECT_FALSE(isProvisionalArchiveName("120908OFFICE2.tar.gz", "OFFICE1"));
    EXPECT_FALSE(isProvisionalArchiveName("12090xOFFICE1.tar.gz", "OFFICE1"));
    EXPECT_FALSE(isProvisionalArchiveName("120908OFFICE1.tar", "OFFICE1"));
    EXPECT_FALSE(isPlainComputerName(" "));
    EXPECT_FALSE(isPlainComputerName("-PC"));
    EXPECT_FALSE(isPlainComputerName("PC\n"));
    EXPECT_TRUE(isPlainComputerName("OFFICE-1"));
}

// ---- records and rows -----------------------------------------------------------------------

struct RowCase {
    const char* type;
    const char* shownType;
    const char* shownStart;
};

class ListRows : public ::testing::TestWithParam<RowCase> {};

TEST_P(ListRows, TypeAIsAllCallsWithoutAStartDateAnyOtherIsBetween) {
    const BackupInfoRecord r{"143005_120908_OFFICE1.tar.gz",
                             "12/9/2008",
                             GetParam().type,
                             "11/09/08",
                             "12/09/08",
                             "OFFICE1"};
    EXPECT_EQ(BackupListRow(r),
              (QStringList{"143005_120908_OFFICE1.tar.gz", "12/9/2008", GetParam().shownType,
                           GetParam().shownStart, "12/09/08", "OFFICE1"}));
}

INSTANTIATE_TEST_SUITE_P(Types, ListRows,
                         ::testing::Values(RowCase{"A", "All Calls", ""},
                                           RowCase{"P", "Between", "11/09/08"},
                                           RowCase{"a", "Between", "11/09/08"},
                                           RowCase{"", "Between", "11/09/08"}));

TEST(BackupRecords, TheRecordLineCarriesBothDatesForEitherType) {
    const BackupInfoRecord all{
        "143005_120908_OFFICE1.tar.gz", "12/9/2008", "A", "11/09/08", "12/09/08", "OFFICE1"};
    EXPECT_EQ(all.line(), "143005_120908_OFFICE1.tar.gz,12/9/2008,A,11/09/08,12/09/08,OFFICE1");
    EXPECT_EQ(backupPickerDate(QDate(2008, 11, 9)), "11/09/08");
}

// The created date is written the same whatever the computer's locale: a locale's own digits
// or words would make a record the lists cannot read (or a line the shell cannot be sent).
class CreatedDate : public ::testing::TestWithParam<const char*> {
protected:
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
};

TEST_P(CreatedDate, IsMonthDayAndFourDigitYearInEveryLocale) {
    QLocale::setDefault(QLocale(QString::fromLatin1(GetParam())));
    EXPECT_EQ(backupCreatedDate(QDate(2008, 12, 9)), "12/9/2008");
    EXPECT_EQ(backupCreatedDate(QDate(2010, 1, 31)), "1/31/2010");
    BackupInfoRecord r{"143005_120908_OFFICE1.tar.gz",
                       backupCreatedDate(QDate(2008, 12, 9)),
                       "P",
                       "11/09/08",
                       "12/09/08",
                       "OFFICE1"};
    const BackupListing l = parseBackupListing({r.line()});
    ASSERT_EQ(l.records.size(), 1);
    EXPECT_EQ(l.records[0].createdDate, "12/9/2008");
}

INSTANTIATE_TEST_SUITE_P(Locales, CreatedDate,
                         ::testing::Values("en_US", "de_DE", "ar_EG", "fa_IR", "bg_BG", "bn_BD",
                                           "ja_JP", "zh_CN"));

TEST(BackupRecords, TheListTitles) {
    EXPECT_EQ(restoreListTitles(),
              (QStringList{"File Name ", "Created Date", "Back Type", "Start Date", "End Date",
                           "Machine Name that created backup"}));
    EXPECT_EQ(tickListTitles("Created On"),
              (QStringList{"Select", "File Name ", "Created Date", "Back Type", "Start Date",
                           "End Date", "Created On"}));
}

TEST(BackupListing, ShortAndBlankLinesAreSkippedAndHostileNamesLeftOut) {
    const BackupListing l = parseBackupListing(
        {"101508_103108_OFFICE1.tar.gz,10/31/2008,A,10/01/08,10/31/08,OFFICE1", "", "143005_1209",
         "143005_120908_OFFICE1.tar.gz,12/9/2008,P,11/09/08,12/09/08,OFFICE1",
         "*,12/1/2008,P,11/01/08,12/01/08,EVIL",
         "../../etc/passwd,12/1/2008,P,11/01/08,12/01/08,EVIL", "a,b,c,d,e"});
    EXPECT_TRUE(l.present);
    ASSERT_EQ(l.records.size(), 2);
    EXPECT_EQ(l.records[0].fileName, "101508_103108_OFFICE1.tar.gz");
    EXPECT_EQ(l.records[1].backType, "P");
    EXPECT_EQ(l.records[1].machine, "OFFICE1");
    EXPECT_EQ(l.shortLines, 3);
    EXPECT_EQ(l.refused, (QStringList{"*", "../../etc/passwd"}));
    EXPECT_EQ(refusedRecordsText(l),
              "These backup records do not name a backup archive and are left out of the "
              "list:\r\n*\r\n../../etc/passwd");
}

// cat joins a record file without its final line feed to the next one.
struct RunTogetherCase {
    const char* name;
    QStringList lines;
    QStringList listed;  // the archive names, in order
    QStringList machines;
    QStringList tooMany;
};
void PrintTo(const RunTogetherCase& c, std::ostream* os) {
    *os << c.name;
}

class RecordsRunTogether : public ::testing::TestWithParam<RunTogetherCase> {};

TEST_P(RecordsRunTogether, AreEachListedAndOtherLongLinesTold) {
    const BackupListing l = parseBackupListing(GetParam().lines);
    QStringList names, machines;
    for (const BackupInfoRecord& r : l.records) {
        names << r.fileName;
        machines << r.machine;
    }
    EXPECT_EQ(names, GetParam().listed);
    EXPECT_EQ(machines, GetParam().machines);
    EXPECT_EQ(l.tooManyFields, GetParam().tooMany);
    if (GetParam().tooMany.isEmpty()) {
        EXPECT_TRUE(refusedRecordsText(l).isEmpty());
    } else {
        EXPECT_TRUE(refusedRecordsText(l).startsWith(
            "These lines of the backup list hold more than six fields and are left out of the "
            "list:\r\n" +
            GetParam().tooMany.first()));
    }
}

const QString kRecA = "101508_103108_OFFICE1.tar.gz,10/31/2008,A,10/01/08,10/31/08,OFFICE1";
const QString kRecP = "143005_120908_OFFICE1.tar.gz,12/9/2008,P,11/09/08,12/09/08,OFFICE1";
const QString kRecB = "090000_121008_BACK-2.tar.gz,12/10/2008,P,11/10/08,12/10/08,BACK-2";
const QString kSeven = kRecP + ",extra";

INSTANTIATE_TEST_SUITE_P(
    Listing, RecordsRunTogether,
    ::testing::Values(
        RunTogetherCase{"TwoOfOneComputer",
                        {kRecA + kRecP},
                        {"101508_103108_OFFICE1.tar.gz", "143005_120908_OFFICE1.tar.gz"},
                        {"OFFICE1", "OFFICE1"},
                        {}},
        RunTogetherCase{"ThreeOfTwoComputers",
                        {kRecA + kRecB + kRecP},
                        {"101508_103108_OFFICE1.tar.gz", "090000_121008_BACK-2.tar.gz",
                         "143005_120908_OFFICE1.tar.gz"},
                        {"OFFICE1", "BACK-2", "OFFICE1"},
                        {}},
        RunTogetherCase{"BesideWholeLines",
                        {kRecB, kRecA + kRecP, kRecB},
                        {"090000_121008_BACK-2.tar.gz", "101508_103108_OFFICE1.tar.gz",
                         "143005_120908_OFFICE1.tar.gz", "090000_121008_BACK-2.tar.gz"},
                        {"BACK-2", "OFFICE1", "OFFICE1", "BACK-2"},
                        {}},
        RunTogetherCase{"ASeventhField",
                        {kRecA, kSeven},
                        {"101508_103108_OFFICE1.tar.gz"},
                        {"OFFICE1"},
                        {kSeven}},
        RunTogetherCase{"ElevenFieldsThatAreNoTwoRecords",
                        {kRecA + "," + kRecP.mid(kRecP.indexOf(',') + 1)},
                        {},
                        {},
                        {kRecA + "," + kRecP.mid(kRecP.indexOf(',') + 1)}}),
    [](const auto& info) { return std::string(info.param.name); });

// The reply of the line that writes the listing.
struct ListingReplyCase {
    const char* name;
    const char* reply;
    bool written;
};

class ListingReplies : public ::testing::TestWithParam<ListingReplyCase> {};

TEST_P(ListingReplies, OnlyNoRecordsAtAllIsAWrittenListing) {
    const QString problem = listingWriteProblem(QString::fromUtf8(GetParam().reply));
    EXPECT_EQ(problem.isEmpty(), GetParam().written) << problem.toStdString();
    if (!GetParam().written) {
        EXPECT_TRUE(problem.startsWith("The server could not write the list of backups"));
        EXPECT_TRUE(problem.contains(QString::fromUtf8(GetParam().reply).trimmed()));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Listing, ListingReplies,
    ::testing::Values(
        ListingReplyCase{"Nothing", "", true},
        ListingReplyCase{"NoRecordQuoted", "cat: '*.info': No such file or directory\n", true},
        ListingReplyCase{"NoRecordBare", "cat: *.info: No such file or directory\n", true},
        ListingReplyCase{"RedirectionRefused", "-bash: restore.txt: Permission denied\n", false},
        ListingReplyCase{"DiskFull", "cat: write error: No space left on device\n", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BackupNames, ATakenNameMovesOnToTheNextFreeSecondOrNone) {
    const QDateTime when(QDate(2008, 11, 2), QTime(1, 30, 0));
    const QSet<QString> taken{"013000_110208_PC.tar.gz", "013001_110208_PC.tar.gz.info"};
    const auto isTaken = [&taken](const QString& n) {
        return taken.contains(n) || taken.contains(n + ".info");
    };
    EXPECT_EQ(freeBackupArchiveName(when, "PC", isTaken), "013002_110208_PC.tar.gz");
    EXPECT_EQ(freeBackupArchiveName(when.addSecs(-1), "PC", isTaken), "012959_110208_PC.tar.gz");
    EXPECT_EQ(freeBackupArchiveName(when, "PC", [](const QString&) { return true; }), "");
}

TEST(BackupListing, EmptyAndMissingListingsHoldNoRecords) {
    testsupport::TempHome home;
    home.write("restore.txt", "");
    const BackupListing empty = readBackupListing(home.file("restore.txt"));
    EXPECT_TRUE(empty.present);
    EXPECT_TRUE(empty.records.isEmpty());
    EXPECT_TRUE(refusedRecordsText(empty).isEmpty());
    const BackupListing missing = readBackupListing(home.file("none.txt"));
    EXPECT_FALSE(missing.present);
    EXPECT_TRUE(missing.records.isEmpty());
    home.write("crlf.txt",
               "143005_120908_OFFICE1.tar.gz,12/9/2008,P,11/09/08,12/09/08,OFFICE1\r\n\r\n");
    const BackupListing crlf = readBackupListing(home.file("crlf.txt"));
    ASSERT_EQ(crlf.records.size(), 1);
    EXPECT_EQ(crlf.records[0].machine, "OFFICE1");
}

// ---- disk space -----------------------------------------------------------------------------

struct DiskCase {
    const char* line;
    bool read;
    const char* size;
    const char* remaining;
};

class DiskLines : public ::testing::TestWithParam<DiskCase> {};

TEST_P(DiskLines, SizeAndSpaceRemaining) {
    const auto d = parseDiskSpaceLine(QString::fromLatin1(GetParam().line));
    ASSERT_EQ(d.has_value(), GetParam().read) << GetParam().line;
    if (!d) return;
    EXPECT_EQ(d->size, GetParam().size);
    EXPECT_EQ(d->remaining, GetParam().remaining);
}

INSTANTIATE_TEST_SUITE_P(Lines, DiskLines,
                         ::testing::Values(
                             // Two blanks between the figures, then a 13-character tail.
                             DiskCase{"40G  12G  28G  30% /dev/sda1", true, "40G", "28G"},
                             DiskCase{"  40G  12G  28G  30% /dev/sda1  ", true, "40G", "28G"},
                             // Three blanks leave a comma followed by a blank.
                             DiskCase{"40G   12G   28G  30% /dev/sda1", true, "40G", " 28G"},
                             // Four blanks give two commas, and the pieces move on by one.
                             DiskCase{"40G    12G  28G  30% /dev/sda1", true, "40G", "12G"},
                             DiskCase{"short line", false, "", ""}, DiskCase{"", false, "", ""},
                             DiskCase{"40G 12G 28G 30% /dev/sda1xx", false, "", ""},
                             DiskCase{"40G  12G 30% /dev/sda1", false, "", ""}));

// ---- the server steps -----------------------------------------------------------------------

QStringList linesOf(const QList<ServerStep>& steps) {
    QStringList out;
    for (const ServerStep& s : steps) out << s.line;
    return out;
}

TEST(BackupSteps, TheCallPutCommandFollowsTheType) {
    const QDate start(2008, 11, 9), end(2008, 12, 9);
    EXPECT_EQ(callPutCommand("A", start, end), "./CALL_PUT5 ");
    EXPECT_EQ(callPutCommand("P", start, end), "./CALL_PUT5 11/09/08 12/09/08");
}

TEST(BackupSteps, PackCheckedWithLongDeadlinesForTheSlowSteps) {
    testsupport::TempHome home;
    const QList<ServerStep> steps = backupPackSteps("/usr/varnel", "./CALL_PUT5 ", "OFFICE1");
    EXPECT_EQ(linesOf(steps),
              (QStringList{"./CALL_PUT5 ", "/usr/varnel", "rm -r -f remotebackup",
                           "mkdir remotebackup", "cp *DAT call.put remotebackup",
                           "cp ac.db account.db block.db break.db calc.db cc.db div.db dpt.db "
                           "ext.db holiday.db lc.db ld.db line.db lt.db oa.db rate.db site.db "
                           "sort.db sum.db trunk.db remotebackup",
                           "remotebackup", "tar cvf `date +%m%d%y`OFFICE1.tar *", "gzip *.tar"}));
    EXPECT_EQ(steps[1].kind, ServerStep::Kind::Folder);  // before rm -r -f
    EXPECT_EQ(steps[6].kind, ServerStep::Kind::Folder);
    for (int i : {0, 4, 5, 7, 8}) {
        EXPECT_EQ(steps[i].kind, ServerStep::Kind::Checked);
        EXPECT_EQ(steps[i].deadlineSec, 1800) << steps[i].line.toStdString();
    }
    home.write("KTReports.ini", "[Sites]\r\nBackupTimeout=90\r\n");
    EXPECT_EQ(backupPackSteps("/usr/varnel", "./CALL_PUT5 ", "PC").at(0).deadlineSec, 90);
    // The final "/": a missing backup folder fails the move instead of taking its name.
    EXPECT_EQ(backupMoveStep("/usr/v'arnel").line, "mv *.gz '/usr/v'\\''arnel/backup/'");
}

TEST(BackupSteps, TheRecordIsOneQuotedWordForEcho) {
    const BackupInfoRecord r{
        "143005_120908_OFFICE1.tar.gz", "12/9/2008", "P", "11/09/08", "12/09/08", "OFFICE1"};
    EXPECT_EQ(linesOf(backupRecordSteps("120908OFFICE1.tar.gz", r)),
              (QStringList{"test ! -e 143005_120908_OFFICE1.tar.gz && test ! -e "
                           "143005_120908_OFFICE1.tar.gz.info",
                           "mv 120908OFFICE1.tar.gz 143005_120908_OFFICE1.tar.gz",
                           "echo '143005_120908_OFFICE1.tar.gz,12/9/2008,P,11/09/08,12/09/08,"
                           "OFFICE1'>143005_120908_OFFICE1.tar.gz.info",
                           "ls 143005_120908_OFFICE1.tar.gz.info"}));
}

TEST(BackupSteps, RestoreAndDeleteLines) {
    const QList<ServerStep> restore =
        restoreSteps("143005_120908_OFFICE1.tar.gz", "OFFICE1", "varneltail");
    EXPECT_EQ(
        linesOf(restore),
        (QStringList{
            "sudo rm -f OFFICE1restore.tar", "sudo rm -f OFFICE1restore.tar.gz",
            "sudo rm -f *.db *.DAT", "cp 143005_120908_OFFICE1.tar.gz OFFICE1restore.tar.gz",
            "gunzip OFFICE1restore.tar.gz", "sudo tar xvf OFFICE1restore.tar", "sudo ./CALL_GET5",
            "sudo chown varneltail *.db *.DAT", "sudo chgrp varneltail *.db *.DAT"}));
    for (int i = 0; i < 7; ++i) EXPECT_EQ(restore[i].kind, ServerStep::Kind::Checked);
    EXPECT_EQ(restoreSteps("x", "PC", "o'brien").at(7).line, "sudo chown 'o'\\''brien' *.db *.DAT");
    EXPECT_EQ(linesOf(deleteSteps("143005_120908_OFFICE1.tar.gz")),
              (QStringList{"sudo rm -f 143005_120908_OFFICE1.tar.gz",
                           "sudo rm -f 143005_120908_OFFICE1.tar.gz.info"}));
    EXPECT_EQ(listingLines("varneltail", true),
              (QStringList{"sudo chgrp varneltail restore.txt", "sudo chown varneltail restore.txt",
                           "sudo chmod 666 restore.txt", "cat *.info >restore.txt",
                           "sudo chgrp varneltail restore.txt", "sudo chown varneltail restore.txt",
                           "sudo chmod 666 restore.txt", "sudo chgrp varneltail diskspace.txt",
                           "sudo chown varneltail diskspace.txt", "sudo chmod 666 diskspace.txt"}));
    EXPECT_EQ(listingLines("varneltail", false).size(), 7);
}

}  // namespace
