// The change request as text: its name, the lines that write it (run by a local bash as the
// server's shell runs them), the presence judge of the answer poll, the answer read, the wait's
// limit and what a record's values may hold.
#include "changes/ChangeRequest.h"

#include "common/CommonFunctions.h"
#include "support/LocalShell.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace quillon;

namespace {

const QString kAnswer = QStringLiteral("DESK7_120926143000.done");

struct ListedCase {
    const char* name;
    QString reply;  // after the echo of the ls line
    bool listed;
};
void PrintTo(const ListedCase& c, std::ostream* os) {
    *os << c.name;
}

class AnswerListedTest : public ::testing::TestWithParam<ListedCase> {};

TEST_P(AnswerListedTest, JudgesTheReply) {
    EXPECT_EQ(answerListed(GetParam().reply, kAnswer), GetParam().listed);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, AnswerListedTest,
    ::testing::Values(
        ListedCase{"Missing",
                   "ls: cannot access 'DESK7_120926143000.done': No such file or "
                   "directory\n",
                   false},
        ListedCase{"Present", "DESK7_120926143000.done\n", true},
        ListedCase{"PresentWithCarriageReturn", "DESK7_120926143000.done\r\n", true},
        ListedCase{"NothingAfterTheEcho", "", false},
        // A scrolled or repeated echo holds the name but lists nothing.
        ListedCase{"TheNameOnlyInAnEcho", "$ ls DESK7_120926143000.done\n", false},
        ListedCase{"NoSuchFileNamingTheFileTwice",
                   "DESK7_120926143000.done\nls: DESK7_120926143000.done: No such file\n", false},
        ListedCase{"AnotherRequestsAnswer", "DESK7_120926142959.done\n", false},
        ListedCase{"TheNameInsideALongerOne", "DESK7_120926143000.done.bak\n", false}));

struct ReadCase {
    const char* name;
    QByteArray file;
    QString answer;
};
void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.name;
}

class AnswerTextTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(AnswerTextTest, ReadsTheAnswerAsTheServerWroteIt) {
    EXPECT_EQ(answerText(GetParam().file), GetParam().answer);
}

INSTANTIATE_TEST_SUITE_P(
    Files, AnswerTextTest,
    ::testing::Values(
        ReadCase{"LineFeed", "1,Record added OK\n", "1,Record added OK"},
        ReadCase{"CarriageReturnLineFeed", "1,Record added OK\r\n", "1,Record added OK"},
        ReadCase{"NoFinalLineFeed", "1,Record added OK", "1,Record added OK"},
        ReadCase{"Empty", "", ""},
        ReadCase{"TwoRecords", "1,Record modify OK\n2,Record modify OK\n",
                 "1,Record modify OK\n2,Record modify OK"},
        ReadCase{"TwoRecordsCarriageReturnLineFeed", "1,Record modify OK\r\n2,Record modify OK\r\n",
                 "1,Record modify OK\n2,Record modify OK"},
        // A server's line ends, however many, are not part of the answer; nor is a byte-order
        // mark.
        ReadCase{"ABlankLineAfterTheAnswer", "1,Record added OK\n\n", "1,Record added OK"},
        ReadCase{"BareCarriageReturn", "1,Record added OK\r", "1,Record added OK"},
        ReadCase{"TwoCarriageReturnsLineFeed", "1,Record added OK\r\r\n", "1,Record added OK"},
        ReadCase{"TwoRecordsTwoCarriageReturnsLineFeed",
                 "1,Record modify OK\r\r\n2,Record modify OK\r\r\n",
                 "1,Record modify OK\n2,Record modify OK"},
        ReadCase{"ByteOrderMark", "\xEF\xBB\xBF" "1,Record added OK\r\n", "1,Record added OK"},
        ReadCase{"OnlyLineEnds", "\r\n", ""},
        ReadCase{"Windows1252", "1,Record added \x93OK\x94\n",
                 QString::fromUtf8("1,Record added \u201cOK\u201d")}));

TEST(RequestNames, AreTheMomentOfSavingAndNeverRepeat) {
    RequestNamer namer;
    const QDateTime t(QDate(2026, 12, 9), QTime(14, 30, 5, 250));
    EXPECT_EQ(namer.next("DESK7", t), "DESK7_120926143005.todo");
    // The same second, and a clock set back, take the second after the last name.
    EXPECT_EQ(namer.next("DESK7", t.addMSecs(500)), "DESK7_120926143006.todo");
    EXPECT_EQ(namer.next("DESK7", t.addSecs(-3600)), "DESK7_120926143007.todo");
    EXPECT_EQ(namer.next("DESK7", QDateTime(QDate(2027, 1, 2), QTime(3, 4, 5))),
              "DESK7_010227030405.todo");
    EXPECT_EQ(answerFileName("DESK7_010227030405.todo"), "DESK7_010227030405.done");
}

TEST(RequestLines, WriteEachRecordByteForByteAndPublishTheRequestWhole) {
    const QString todo = QStringLiteral("DESK7_120926143005.todo");
    // Inner double quotes, trailing blanks, runs of blanks and shell characters all arrive.
    const QStringList records{
        "1,mod,dpt,0003,\"Old  Name\",3,0003,\"New\",0003 ",
        "2,mod,calc,1,O'Brien; $(touch x) `id` | * & > y,2  ",
    };
    const QStringList lines = requestLines(records, todo);
    // The records go to a name *.todo does not match; the one line that publishes it comes last,
    // after an answer of the same name left from before is gone.
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0],
              "echo '1,mod,dpt,0003,\"Old  Name\",3,0003,\"New\",0003 ' > "
              ".DESK7_120926143005.todo.tmp");
    EXPECT_TRUE(lines[1].endsWith(" >> .DESK7_120926143005.todo.tmp"));
    EXPECT_EQ(lines[2], "rm -f DESK7_120926143005.done");
    EXPECT_EQ(lines[3], "mv -f .DESK7_120926143005.todo.tmp DESK7_120926143005.todo");
    QStringList files;
    EXPECT_EQ(testsupport::runLocally(QStringList{"echo stale > DESK7_120926143005.done"} + lines,
                                      todo, &files),
              records);
    EXPECT_EQ(files, QStringList{todo});
}

TEST(RequestLines, PollAndReload) {
    EXPECT_EQ(answerPollLine(kAnswer), "ls " + kAnswer);
    // The reload line leaves its quote open: 18 characters for DIV, DPT and EXT, 19 for LINE,
    // 17 for LD.
    EXPECT_EQ(reloadLine("DIV"), "echo \">>reload_DIV");
    EXPECT_EQ(reloadLine("EXT").size(), 18);
    EXPECT_EQ(reloadLine("LINE").size(), 19);
    EXPECT_EQ(reloadLine("LD").size(), 17);
}

TEST(AnswerTimeout, IsTheConfiguredSecondsOrTenMinutes) {
    testsupport::TempHome home;
    EXPECT_EQ(answerTimeoutSec(), 600);
    for (const auto& [value, seconds] :
         {std::pair{"90", 90}, std::pair{"0", 600}, std::pair{"-5", 600}, std::pair{"ten", 600}}) {
        home.write("KTReports.ini",
                   QByteArray("[Sites]\r\nAnswerTimeout=") + value + QByteArray("\r\n"));
        EXPECT_EQ(answerTimeoutSec(), seconds) << value;
    }
}

struct ValueCase {
    const char* text;
    bool name;    // may stand as a name
    bool key;     // as a key
    bool amount;  // as an amount
};

TEST(RecordValues, TakeOnlyWhatTheirFieldMayHold) {
    const ValueCase cases[] = {
        {"Sales", true, false, false},
        {"O'Brien; $(touch x) `id` | * & <y>", true, false, false},
        {"a,b", false, false, false},
        {"say \"hi\"", false, false, false},
        {"back\\slash", false, false, false},
        {"tab\there", false, false, false},
        {"line\nbreak", false, false, false},
        {"\xc5\x81\xc3\xb3" "d\xc5\xba", false, false, false},  // Łódź: Ł has no Windows-1252 code
        {"Caf\xc3\xa9 \xe2\x82\xac \xc5\xbe", true, false, false},  // é, € and ž have
        {"\xf0\x9f\x93\x9e", false, false, false},             // a surrogate pair
        {"0012", true, true, true},
        {"12345", true, true, true},
        {"-3", true, false, true},
        {"12.50", true, false, true},
        {"+2.5e-3", true, false, true},
        {"1,000", false, false, false},
        {"5.", true, false, false},
        {".5", true, false, false},
        {" 5", true, false, false},
        {"1e", true, false, false},
        {"", true, false, false},
    };
    for (const ValueCase& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(nameProblem("Division Name", text).isEmpty(), c.name) << c.text;
        EXPECT_EQ(keyProblem("Division Number", text).isEmpty(), c.key) << c.text;
        EXPECT_EQ(amountProblem("Credit", text).isEmpty(), c.amount) << c.text;
    }
    EXPECT_EQ(nameProblem("Division Name", "a,b"),
              "The Division Name may not hold a comma, a double quote, a backslash or a control "
              "character.");
    EXPECT_EQ(nameProblem("Division Name", QString::fromUtf8("Rooms \xf0\x9f\x93\x9e")),
              QString::fromUtf8("The Division Name may not hold the character \"\xf0\x9f\x93\x9e\" "
                                "(U+1F4DE): the server's text is Windows-1252, which has no code "
                                "for it."));
    EXPECT_EQ(keyProblem("Division Number", "12a"),
              "The Division Number must be a whole number: digits only.");
    EXPECT_EQ(amountProblem("Credit", "1,000"),
              "The Credit must be a number such as 12.50: digits, an optional sign and \".\" "
              "before the decimals.");
}

}  // namespace
