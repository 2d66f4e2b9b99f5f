// Delete Calls without a server: the records of a request, the kinds and their lists, the
// questions of a kind change and an ALL box, the confirmation, and the request through the
// change frame with the answers the server may give.
#include "utilities/DeleteCalls.h"
#include "utilities/fdeletecalls.h"

#include "changes/ChangeRequest.h"
#include "common/Globals.h"
#include "remote/CheckedLines.h"
#include "support/DebugLogLines.h"
#include "support/FakeServer.h"
#include "support/FakeSite.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"
#include "widgets/ListPair.h"
#include "widgets/SelectionList.h"

#include <gtest/gtest.h>

#include <QTest>

#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>

#include <ostream>

using namespace quillon;
using testsupport::FakeSite;
using State = ChangeExchange::State;

namespace {

enum Kind { kLine = 0, kExt = 1, kDpt = 2, kDiv = 3 };

QStringList texts(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

// ---- the records ----------------------------------------------------------------------------

struct RecordCase {
    const char* name;
    QString word;
    QStringList keys;
    QDate date;
    QTime time;
    QStringList records;
};
void PrintTo(const RecordCase& c, std::ostream* os) {
    *os << c.name;
}

class Records : public ::testing::TestWithParam<RecordCase> {};

TEST_P(Records, AreNumberedWithOneMoment) {
    const RecordCase& c = GetParam();
    EXPECT_EQ(deleteCallsRecords(c.word, c.keys, c.date, c.time), c.records);
}

INSTANTIATE_TEST_SUITE_P(DeleteCalls, Records,
                         ::testing::Values(RecordCase{"ThreeDepartments",
                                                      "dpt",
                                                      {"0004", "0012", "12345"},
                                                      QDate(2026, 3, 2),
                                                      QTime(13, 5),
                                                      {"1,deletecalls,dpt,0004,030226,1305",
                                                       "2,deletecalls,dpt,0012,030226,1305",
                                                       "3,deletecalls,dpt,12345,030226,1305"}},
                                           RecordCase{"OneExtensionAtOneMinutePastMidnight",
                                                      "ext",
                                                      {"0101"},
                                                      QDate(2026, 3, 2),
                                                      QTime(0, 1),
                                                      {"1,deletecalls,ext,0101,030226,0001"}},
                                           RecordCase{"ALineTypeOnNewYearsEve",
                                                      "line",
                                                      {"0005"},
                                                      QDate(2025, 12, 31),
                                                      QTime(23, 59),
                                                      {"1,deletecalls,line,0005,123125,2359"}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DeleteCallsQuestion, SaysHowManyItemsOfWhichKindLoseTheirCalls) {
    const auto& kinds = deleteCallsKinds();
    EXPECT_EQ(deleteCallsQuestion("03-02-26", "13:05", kinds[kExt], 3, false),
              "Are you sure you want to delete calls before 03-02-26and 13:05?\r\n"
              "The calls of 3 extensions will be deleted. This cannot be undone.\r\n");
    EXPECT_TRUE(deleteCallsQuestion("d", "t", kinds[kDpt], 1, false)
                    .contains("The calls of 1 department will"));
    EXPECT_TRUE(deleteCallsQuestion("d", "t", kinds[kLine], 4, true)
                    .contains("The calls of all line types will"));
}

// ---- the window ------------------------------------------------------------------------------

class DeleteCallsWindow : public ::testing::Test {
protected:
    void SetUp() override {
        home.write("North/Bats/lt.csv", "3,Guest Room\r\n1,Administrative\r\n");
        home.write("North/Bats/ext.csv",
                   "5,Front Desk,100,0,0,0,0,\r\n12345,Suite,100,0,0,0,0,\r\n"
                   "101,Lobby,100,0,0,0,0,\r\n");
        home.write("North/Bats/dpt.csv", "100,Front Office,3\r\n120,Sales,3\r\n");
        home.write("North/Bats/div.csv", "3,Operations,\r\n");
    }
    // Moves the entry shown with this text into the selection, as a double click does.
    static void choose(fdeletecalls& w, const QString& text) {
        const int row = texts(w.lists->lstDivision).indexOf(text);
        ASSERT_GE(row, 0) << text.toStdString();
        w.lists->available().highlight(row);
        w.lists->cmdadd->click();
    }
    void answer(fdeletecalls& w, const QByteArray& bytes) {
        const QString done = w.exchange().answerName();
        server.on(answerPollLine(done)).reply(done + "\n");
        server.addFile(FakeSite::folder() + "/" + done, bytes);
    }
    // Delete Calls confirmed, the request sent.
    void send(fdeletecalls& w) {
        w.show();
        prompter.yes();
        w.Command1_Click();
        ASSERT_EQ(w.state(), State::Waiting);
    }

    testsupport::TempHome home;
    FakeSite site;
    testsupport::FakeServer server;
    testsupport::ScriptedPrompter prompter;
};

TEST_F(DeleteCallsWindow, OpensOnExtensionsWithTheDefaults) {
    fdeletecalls w;
    EXPECT_EQ(w.windowTitle(), "Delete Calls");
    EXPECT_EQ(w.reportType(), kExt);
    EXPECT_TRUE(w.Optreporttype[kExt]->isChecked());
    EXPECT_EQ(w.Command1->objectName(), "Command1");
    EXPECT_EQ(w.Command1->text(), "Delete Calls");
    EXPECT_EQ(w.starttime->time(), QTime(0, 1));
    EXPECT_EQ(w.startdate->date(), QDate::currentDate().addDays(-90));
    EXPECT_EQ(w.startdate->displayFormat(), "MM-dd-yy");
    EXPECT_EQ(w.starttime->displayFormat(), "HH:mm");
    EXPECT_EQ(w.lists->lblreporttype[0]->text(), "Add Extension");
    EXPECT_EQ(w.lists->lblreporttype[1]->text(), "Selected Extension");
    // Keys of at least four digits; the lists sorted by text, each key with its entry.
    EXPECT_EQ(texts(w.lists->lstDivision),
              (QStringList{"0005 Front Desk", "0101 Lobby", "12345 Suite"}));
    EXPECT_EQ(texts(w.lists->lstDivisionHidden), (QStringList{"0005", "0101", "12345"}));
    // Extension has no ALL box; the other kinds each have theirs.
    EXPECT_TRUE(w.chkext->isHidden());
    EXPECT_FALSE(w.chkline->isHidden());
    EXPECT_FALSE(w.chkline->isEnabled());
    EXPECT_TRUE(server.shellRequests().empty());
}

// Each kind: its table, the captions over the two lists, its ALL box and the word its records
// carry.
struct KindCase {
    const char* name;
    int kind;
    const char* addCaption;
    const char* listCaption;
    const char* allBox;  // "" for none
    const char* firstEntry;
    const char* record;
};
void PrintTo(const KindCase& c, std::ostream* os) {
    *os << c.name;
}
class Kinds : public DeleteCallsWindow, public ::testing::WithParamInterface<KindCase> {};

TEST_P(Kinds, ListTheirTableAndSendTheirWord) {
    const KindCase& c = GetParam();
    fdeletecalls w;
    w.Optreporttype[c.kind]->click();
    EXPECT_EQ(w.reportType(), c.kind);
    EXPECT_EQ(w.lists->lblreporttype[0]->text(), c.addCaption);
    EXPECT_EQ(w.lists->lblreporttype[1]->text(), c.listCaption);
    for (QCheckBox* box : {w.chkline, w.chkext, w.chkdpt, w.chkdiv}) {
        const bool its = box->objectName() == QLatin1String(c.allBox);
        EXPECT_EQ(!box->isHidden() && box->isEnabled(), its) << box->objectName().toStdString();
    }
    ASSERT_GT(w.lists->lstDivision->count(), 0);
    EXPECT_EQ(w.lists->lstDivision->item(0)->text(), c.firstEntry);
    w.startdate->setDate(QDate(2026, 3, 2));
    w.starttime->setTime(QTime(0, 1));
    choose(w, c.firstEntry);
    send(w);
    EXPECT_EQ(server.linesOf(0).value(1),
              withExitStatus(QStringLiteral("echo '%1' > .%2.tmp")
                                 .arg(QLatin1String(c.record), w.exchange().requestName())));
}

INSTANTIATE_TEST_SUITE_P(
    DeleteCalls, Kinds,
    ::testing::Values(KindCase{"LineType", kLine, "Add Line Type", "Selected Line Types", "chkline",
                               "0001 Administrative", "1,deletecalls,line,0001,030226,0001"},
                      KindCase{"Extension", kExt, "Add Extension", "Selected Extension", "",
                               "0005 Front Desk", "1,deletecalls,ext,0005,030226,0001"},
                      KindCase{"Department", kDpt, "Add Department", "Selected Department",
                               "chkdpt", "0100 Front Office", "1,deletecalls,dpt,0100,030226,0001"},
                      KindCase{"Division", kDiv, "Add Division", "Selected Division", "chkdiv",
                               "0003 Operations", "1,deletecalls,div,0003,030226,0001"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DeleteCallsWindow, ChoosingTheKindInForceDoesNothing) {
    fdeletecalls w;
    choose(w, "0101 Lobby");
    w.Optreporttype_Click(kExt);
    EXPECT_EQ(texts(w.lists->lstItem), QStringList{"0101 Lobby"});
    EXPECT_EQ(texts(w.lists->lstDivision), (QStringList{"0005 Front Desk", "12345 Suite"}));
    EXPECT_TRUE(prompter.prompts().empty());
}

TEST_F(DeleteCallsWindow, AKindChangeWithItemsChosenAsksFirst) {
    fdeletecalls w;
    choose(w, "0101 Lobby");

    prompter.no();
    w.Optreporttype[kDpt]->click();
    EXPECT_EQ(prompter.prompts().back().text,
              "Are you sure you want to change how you are deleting calls?\r\n");
    EXPECT_EQ(prompter.prompts().back().title, "Configure Sites");
    EXPECT_EQ(w.reportType(), kExt);
    EXPECT_TRUE(w.Optreporttype[kExt]->isChecked());
    EXPECT_EQ(texts(w.lists->lstItem), QStringList{"0101 Lobby"});
    EXPECT_EQ(texts(w.lists->lstItemHidden), QStringList{"0101"});

    prompter.yes();
    w.Optreporttype[kDpt]->click();
    EXPECT_EQ(w.reportType(), kDpt);
    EXPECT_TRUE(w.lists->lstItem->count() == 0 && w.lists->lstItemHidden->count() == 0);
    EXPECT_EQ(texts(w.lists->lstDivision), (QStringList{"0100 Front Office", "0120 Sales"}));
    EXPECT_EQ(w.lists->lblreporttype[0]->text(), "Add Department");
    EXPECT_EQ(w.lists->lblreporttype[1]->text(), "Selected Department");
    EXPECT_TRUE(w.chkdpt->isEnabled());
    EXPECT_FALSE(w.chkline->isEnabled());
    EXPECT_EQ(prompter.prompts().size(), 2u);
}

TEST_F(DeleteCallsWindow, AnAllBoxTakesEveryItemAndGivesThemBack) {
    fdeletecalls w;
    w.Optreporttype[kLine]->click();
    w.chkline->setChecked(true);
    EXPECT_EQ(texts(w.lists->lstItem), (QStringList{"0001 Administrative", "0003 Guest Room"}));
    EXPECT_FALSE(w.lists->lstDivision->isEnabled());
    EXPECT_FALSE(w.lists->lstItem->isEnabled());
    w.chkline->setChecked(false);
    EXPECT_EQ(w.lists->lstItem->count(), 0);
    EXPECT_EQ(texts(w.lists->lstDivision), (QStringList{"0001 Administrative", "0003 Guest Room"}));
    EXPECT_TRUE(w.lists->lstDivision->isEnabled());
    EXPECT_TRUE(prompter.prompts().empty());

    // A kind change clears a ticked box, and with it the selection it made.
    w.chkline->setChecked(true);
    prompter.yes();
    w.Optreporttype[kDiv]->click();
    EXPECT_FALSE(w.chkline->isChecked());
    EXPECT_TRUE(w.lists->lstDivision->isEnabled());
    EXPECT_EQ(texts(w.lists->lstDivision), QStringList{"0003 Operations"});
}

TEST_F(DeleteCallsWindow, AnAllBoxWithItemsChosenAsks) {
    fdeletecalls w;
    w.Optreporttype[kLine]->click();
    choose(w, "0003 Guest Room");
    prompter.no();
    w.chkline->setChecked(true);
    EXPECT_FALSE(w.chkline->isChecked());
    EXPECT_EQ(w.lists->lstItem->count(), 0);
    EXPECT_EQ(w.lists->lstDivision->count(), 2);
    EXPECT_TRUE(w.lists->lstDivision->isEnabled());

    choose(w, "0003 Guest Room");
    prompter.yes();
    w.chkline->setChecked(true);
    EXPECT_TRUE(w.chkline->isChecked());
    EXPECT_EQ(texts(w.lists->lstItemHidden), (QStringList{"0001", "0003"}));
    EXPECT_EQ(prompter.prompts().size(), 2u);
}

TEST_F(DeleteCallsWindow, NoToTheConfirmationOrNothingChosenSendsNothing) {
    fdeletecalls w;
    w.show();
    prompter.no().ok();
    w.Command1_Click();
    prompter.yes().ok();
    w.Command1_Click();
    const QStringList m = prompter.messages();
    ASSERT_EQ(m.size(), 4);
    EXPECT_TRUE(m[0].startsWith("Are you sure you want to delete calls before "));
    EXPECT_EQ(m[1], "Calls not deleted");
    EXPECT_EQ(m[3], "You Must Add Extension Calls not deleted");
    EXPECT_TRUE(server.shellRequests().empty());
    EXPECT_TRUE(w.Command1->isVisible());
    EXPECT_TRUE(w.Command1->isEnabled());
    EXPECT_TRUE(w.lblrunning->isHidden());
}

// Yes starts the run in the log before anything is checked; No logs nothing. The running
// label waits with its first dot, in the window's own colour.
TEST_F(DeleteCallsWindow, YesLogsTheRunBeforeTheEmptySelectionIsFound) {
    testsupport::startDebugLog();
    fdeletecalls w;
    EXPECT_EQ(w.lblrunning->text(), "Deleting Calls.");
    EXPECT_NE(w.lblrunning->palette().color(w.lblrunning->foregroundRole()), QColor(Qt::red));
    prompter.no().ok();
    w.Command1_Click();
    EXPECT_EQ(testsupport::debugLogMessages(), QStringList{"Delete Calls"});
    prompter.yes().ok();
    w.Command1_Click();
    EXPECT_EQ(prompter.messages().last(), "You Must Add Extension Calls not deleted");
    EXPECT_EQ(testsupport::debugLogMessages(), (QStringList{"Delete Calls", "RUNNING REPORT"}));
}

// Reports on a restored backup change nothing here: calls are deleted in the live site folder.
TEST_F(DeleteCallsWindow, InBackupReportsModeTheRequestStillGoesToTheSiteFolder) {
    G().g_BackupReportsMode = true;
    fdeletecalls w;
    choose(w, "0101 Lobby");
    send(w);
    ASSERT_EQ(server.shellRequests().size(), 1u);
    EXPECT_EQ(server.shellRequests()[0].folder, FakeSite::folder());
    EXPECT_EQ(server.linesOf(0).value(0), "cd '/usr/varnel'");
}

// A run's log: the window's load, the run after Yes, one line per record, and the done line once
// the last request line is on the server.
TEST_F(DeleteCallsWindow, ARunLogsItsSteps) {
    testsupport::startDebugLog();
    fdeletecalls w;
    choose(w, "0101 Lobby");
    choose(w, "0005 Front Desk");
    send(w);
    EXPECT_EQ(testsupport::debugLogMessages(),
              (QStringList{"Delete Calls", "RUNNING REPORT", "adding 0005  from lstItemHidden.Text",
                           "adding 0101  from lstItemHidden.Text", "DONE RUNNING REPORT"}));
}

TEST_F(DeleteCallsWindow, TheConfirmationNamesTheMomentAndTheCount) {
    fdeletecalls w;
    w.startdate->setDate(QDate(2026, 3, 2));
    w.starttime->setTime(QTime(13, 5));
    choose(w, "0005 Front Desk");
    choose(w, "12345 Suite");
    prompter.no().ok();
    w.Command1_Click();
    EXPECT_EQ(prompter.prompts().front().text,
              "Are you sure you want to delete calls before 03-02-26and 13:05?\r\n"
              "The calls of 2 extensions will be deleted. This cannot be undone.\r\n");
    EXPECT_EQ(prompter.prompts().front().title, "Configure Sites");
}

TEST_F(DeleteCallsWindow, TheRequestHoldsOneRecordPerItemAndTheAnswerClosesTheWindow) {
    fdeletecalls w;
    w.startdate->setDate(QDate(2026, 3, 2));
    w.starttime->setTime(QTime(13, 5));
    for (const char* t : {"12345 Suite", "0005 Front Desk", "0101 Lobby"}) choose(w, t);
    send(w);
    EXPECT_TRUE(w.Command1->isHidden());
    EXPECT_FALSE(w.lblrunning->isHidden());
    EXPECT_EQ(w.lblrunning->text(), "Deleting Calls.");
    EXPECT_FALSE(w.startdate->isEnabled());

    const QString todo = w.exchange().requestName();
    const QString hidden = "." + todo + ".tmp";
    EXPECT_TRUE(todo.startsWith("TESTPC_") && todo.endsWith(".todo"));
    ASSERT_EQ(server.shellRequests().size(), 1u);
    EXPECT_EQ(server.shellRequests()[0].folder, FakeSite::folder());
    const QStringList lines = server.linesOf(0);
    EXPECT_EQ(lines.join('\n').toStdString(),
              QStringList({"cd '/usr/varnel'",
                           withExitStatus("echo '1,deletecalls,ext,0005,030226,1305' > " + hidden),
                           withExitStatus("echo '2,deletecalls,ext,0101,030226,1305' >> " + hidden),
                           withExitStatus("echo '3,deletecalls,ext,12345,030226,1305' >> " + hidden),
                           withExitStatus("rm -f " + w.exchange().answerName()),
                           withExitStatus("mv -f " + hidden + " " + todo)})
                  .join('\n')
                  .toStdString());

    answer(w, "1,Calls deleted OK\n");
    prompter.ok();
    w.tmrcheckdone_Timer();
    EXPECT_EQ(prompter.messages().last(), "Calls deleted");
    EXPECT_EQ(server.linesOf(0).mid(6),
              (QStringList{"ls " + w.exchange().answerName(), withExitStatus("./do_csv.sh")}));
    EXPECT_FALSE(server.isShellOpen(0));
    EXPECT_FALSE(w.isVisible());
    // Deleted calls are in no table of the mirror: nothing is pulled.
    ASSERT_EQ(server.fetches().size(), 1u);
    EXPECT_EQ(server.fetches()[0].remotePath, "/usr/varnel/" + w.exchange().answerName());
}

TEST_F(DeleteCallsWindow, AnyOtherAnswerIsToldAndTheTablesAreStillRewritten) {
    for (const QByteArray& bytes : {QByteArray("1,Calls deleted OK\n2,Calls deleted OK\n"),
                                    QByteArray("1,Bad record\n")}) {
        fdeletecalls w;
        choose(w, "0101 Lobby");
        send(w);
        answer(w, bytes);
        prompter.ok();
        w.tmrcheckdone_Timer();
        EXPECT_EQ(prompter.messages().last(), answerText(bytes) + "\r\nRefeshing Data");
        EXPECT_EQ(server.lines().last(), withExitStatus("./do_csv.sh"));
        EXPECT_FALSE(w.isVisible());
    }
}

TEST_F(DeleteCallsWindow, ClosingWhileItWaitsIsRefusedAndCancelEndsTheSession) {
    fdeletecalls w;
    choose(w, "0101 Lobby");
    send(w);
    prompter.ok();
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(server.isShellOpen(0));
    QTest::mouseClick(w.cmdcancelwait, Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(server.isShellOpen(0));
    EXPECT_TRUE(prompter.messages().last() == cancelledWaitText("The request"));
    EXPECT_FALSE(server.lines().contains(withExitStatus("./do_csv.sh")));
}

TEST_F(DeleteCallsWindow, AKeyThatIsNotANumberIsNeverSent) {
    home.write("North/Bats/ext.csv", "12;rm,Odd\r\n");
    fdeletecalls w;
    choose(w, "12;rm Odd");
    prompter.yes().ok();
    w.Command1_Click();
    EXPECT_TRUE(prompter.messages().last().startsWith("The extension key 12;rm must be a whole"));
    EXPECT_TRUE(server.shellRequests().empty());
}

}  // namespace
