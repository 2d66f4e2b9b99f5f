// Delete calls, the print queue and the test call against the stand-in server: the chosen calls
// gone from the answerer's call store and the others kept, the queue's jobs listed and removed,
// and the record the test-call program read.
#include "utilities/fdeletecalls.h"
#include "utilities/fhobiccall.h"
#include "utilities/frmprintjobs.h"

#include "support/ScriptedPrompter.h"
#include "support/SimServer.h"
#include "support/SimSite.h"
#include "support/TempHome.h"
#include "support/Wait.h"
#include "widgets/KeyedPickList.h"
#include "widgets/ListPair.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>

using namespace quillon;
using testsupport::SimServer;

namespace {

class UtilitiesSimTest : public testsupport::SimSiteTest {
protected:
    void SetUp() override {
        SimSiteTest::SetUp();
        if (IsSkipped()) return;
        SimServer::clearJournal();  // what the windows ask from here on
    }
    static void choose(ListPair& lists, const QString& text) {
        QStringList shown;
        for (int i = 0; i < lists.lstDivision->count(); ++i)
            shown << lists.lstDivision->item(i)->text();
        const int row = shown.indexOf(text);
        ASSERT_GE(row, 0) << text.toStdString();
        lists.available().highlight(row);
        lists.cmdadd->click();
    }
    // The call store's rows of one extension (column 2), as the answerer keeps them.
    QStringList callsOf(const QString& ext) const {
        QStringList out;
        for (const QString& row : QString::fromLatin1(site.read(".tables/calls.csv")).split('\n'))
            if (row.section(',', 1, 1) == ext) out << row.section(',', 4, 5);
        return out;
    }

    testsupport::ScriptedPrompter prompter;
};

TEST_F(UtilitiesSimTest, DeleteCallsRemovesTheChosenCallsBeforeTheMomentOnly) {
    fdeletecalls w;
    w.show();
    w.startdate->setDate(QDate(2026, 3, 2));
    w.starttime->setTime(QTime(13, 5));
    choose(*w.lists, "2001 Room 201");
    prompter.yes().ok();
    w.Command1_Click();
    ASSERT_TRUE(testsupport::waitFor([&] { return !w.isVisible(); }, 20000));
    EXPECT_EQ(prompter.messages().last(), "Calls deleted");
    EXPECT_EQ(site.read(w.exchange().requestName()), "1,deletecalls,ext,2001,030226,1305\n");
    // The call at 13:05 is not before 13:05; room 202's calls are another extension's.
    EXPECT_EQ(callsOf("2001"), QStringList{"2026-03-02,13:05"});
    EXPECT_EQ(callsOf("2002"), QStringList{"2026-02-01,10:00"});
    EXPECT_EQ(callsOf("1001").size(), 2);
    EXPECT_EQ(SimServer::calls("do_csv.sh").size(), 1);

    // The ALL box takes every line type; their padded keys name the store's.
    fdeletecalls all;
    all.show();
    all.startdate->setDate(QDate(2027, 1, 1));
    all.Optreporttype[0]->click();
    all.chkline->setChecked(true);
    prompter.yes().ok();
    all.Command1_Click();
    ASSERT_TRUE(testsupport::waitFor([&] { return !all.isVisible(); }, 20000));
    EXPECT_EQ(prompter.messages().last(), "Calls deleted");
    EXPECT_EQ(site.read(all.exchange().requestName()),
              "1,deletecalls,line,0001,010127,0001\n2,deletecalls,line,0002,010127,0001\n"
              "3,deletecalls,line,0003,010127,0001\n4,deletecalls,line,0004,010127,0001\n");
    EXPECT_EQ(site.read(".tables/calls.csv"), "");
}

// A server that takes up a request the moment it is listed reads it whole: every item's calls
// go, not only those of the first record.
TEST_F(UtilitiesSimTest, DeleteCallsOfThreeItemsReachAServerThatAnswersAtOnce) {
    ASSERT_TRUE(SimServer::answererKnows("answer_at_once")) << "run sim/start";
    SimServer::setKnob("answer_at_once");
    SimServer::setKnob("line.delay", "0.3");
    fdeletecalls w;
    w.show();
    w.startdate->setDate(QDate(2027, 1, 1));
    for (const char* item : {"1001 Front Desk", "2001 Room 201", "2002 Room 202"})
        choose(*w.lists, item);
    prompter.yes().ok();
    w.Command1_Click();
    ASSERT_TRUE(testsupport::waitFor([&] { return !w.isVisible(); }, 30000));
    EXPECT_EQ(prompter.messages().last(), "Calls deleted");
    EXPECT_EQ(site.read(w.exchange().requestName()),
              "1,deletecalls,ext,1001,010127,0001\n2,deletecalls,ext,2001,010127,0001\n"
              "3,deletecalls,ext,2002,010127,0001\n");
    for (const char* ext : {"1001", "2001", "2002"}) EXPECT_TRUE(callsOf(ext).isEmpty()) << ext;
}

TEST_F(UtilitiesSimTest, PrintJobsListsTheQueueAndRemovesTheChosenJobs) {
    SimServer::setKnob(
        "print_queue",
        "12345 root (stdin) 1024\n7 varnel summary.rep 2048\n345 root detail.rep 4096\n");
    frmprintjobs w;
    w.show();
    QStringList ids;
    for (int i = 0; i < w.lists->lstDivisionHidden->count(); ++i)
        ids << w.lists->lstDivisionHidden->item(i)->text();
    EXPECT_EQ(ids, (QStringList{"12345", "345", "7"}));
    EXPECT_EQ(w.lists->lstDivision->item(0)->text(), "12345   (stdin)");
    choose(*w.lists, "7       summary.rep");
    choose(*w.lists, "12345   (stdin)");
    w.Command1_Click();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(SimServer::calls("lprm"), (QStringList{"12345", "7"}));
    EXPECT_TRUE(prompter.prompts().empty());

    frmprintjobs again;
    ASSERT_EQ(again.lists->lstDivisionHidden->count(), 1);
    EXPECT_EQ(again.lists->lstDivisionHidden->item(0)->text(), "345");
}

TEST_F(UtilitiesSimTest, TestCallHandsTheRecordToTheProgramAndASecondReplacesIt) {
    for (const char* number : {"411", "4165550123"}) {
        fhobiccall w;
        w.show();
        w.startdate->setDate(QDate(2026, 12, 9));
        w.starttime->setTime(QTime(14, 4));
        w.cbotime->setCurrentText("3");
        w.cbocharge->setCurrentText("1.00");
        w.txtnumber->setText(QString::fromLatin1(number));
        prompter.ok();
        w.cmdrun_Click();
        EXPECT_EQ(prompter.messages().last(), "The test call was sent.");
    }
    EXPECT_EQ(site.read("TESTPC_HOBIC.TMP"), "1001,L,120926,1404,3,1.00,4165550123\n");
    EXPECT_EQ(SimServer::entries("RHOBIC"), (QStringList{"1001,L,120926,1404,3,1.00,411",
                                                         "1001,L,120926,1404,3,1.00,4165550123"}));
    EXPECT_EQ(SimServer::entries("SUDO").size(), 2);
}

}  // namespace
