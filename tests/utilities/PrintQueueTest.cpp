// The print queue without a server: the lpq listing read into jobs, and the window's listing
// lines, moves, "Remove all" and removals through the fake server.
#include "utilities/PrintQueue.h"
#include "utilities/frmprintjobs.h"

#include "remote/CheckedLines.h"
#include "support/Controls.h"
#include "support/DebugLogLines.h"
#include "support/FakeServer.h"
#include "support/FakeSite.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"
#include "widgets/ListPair.h"
#include "widgets/ProgressLabel.h"

#include <gtest/gtest.h>

#include <functional>

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <ostream>

using namespace quillon;
using testsupport::control;
using testsupport::FakeSite;

namespace {

QStringList texts(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

// ---- the listing ----------------------------------------------------------------------------

struct ListingCase {
    const char* name;
    QString listing;
    QStringList keys;
    QStringList texts;
};
void PrintTo(const ListingCase& c, std::ostream* os) {
    *os << c.name;
}

class Listing : public ::testing::TestWithParam<ListingCase> {};

TEST_P(Listing, GivesTheJobsAfterTheHeader) {
    const ListingCase& c = GetParam();
    QStringList keys, shown;
    for (const SelectionEntry& e : parsePrintQueue(c.listing)) {
        keys << e.key;
        shown << e.text;
    }
    EXPECT_EQ(keys, c.keys);
    EXPECT_EQ(shown, c.texts);
}

INSTANTIATE_TEST_SUITE_P(
    PrintQueue, Listing,
    ::testing::Values(
        ListingCase{"AStatusLineBeforeTheHeader",
                    "lp is ready and printing\n"
                    "Rank    Owner   Job     File(s)                         Total Size\n"
                    "active  root    12      (stdin)                         1024 bytes\n"
                    "1st     varnel  345     summary.rep                     2048 bytes\n",
                    {"12", "345"},
                    {"12      (stdin)", "345     summary.rep"}},
        ListingCase{"AHeaderWithLeadingBlanks",
                    "\n   Rank    Owner   Job     File(s)         Total Size\n"
                    "active  root    7       a.txt           1 bytes\n",
                    {"7"},
                    {"7       a.txt           1"}},
        ListingCase{"AHeaderInAnotherCaseIsNone",
                    "RANK    Owner   Job     File(s)\nactive  root    12      (stdin)\n",
                    {},
                    {}},
        ListingCase{"AFiveDigitIdIsTakenWhole",
                    "Rank    Owner   Job     File(s)                         Total Size\n"
                    "active  root    12345   (stdin)                         1024 bytes\n",
                    {"12345"},
                    {"12345   (stdin)"}},
        ListingCase{"TheJobPartIsCutAtTwentySixCharacters",
                    "Rank    Owner   Job     File(s)\n"
                    "active  root    8       a-very-long-file-name-for-the-queue.txt\n",
                    {"8"},
                    {"8       a-very-long-file-n"}},
        ListingCase{"RowsWithoutANumberAreNoJobs",
                    "Rank    Owner   Job     File(s)\n"
                    "Rank    Owner   Job     File(s)\n"
                    "active  root    9;rm    x\n"
                    "short\n",
                    {},
                    {}},
        ListingCase{"OnlyAMessage", "no entries\n", {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PrintQueueLines, NameTheLoginAndTheJob) {
    EXPECT_EQ(
        printListingLines("varneltail"),
        (QStringList{"sudo rm -f printjob.rtf", "sudo lpq  >printjob.rtf",
                     "sudo chgrp varneltail printjob.rtf", "sudo chown varneltail printjob.rtf"}));
    EXPECT_EQ(printRemovalLine("12345"), "sudo lprm 12345");
    EXPECT_EQ(printRemovalLine("12 13"), "");
}

// ---- the window ------------------------------------------------------------------------------

const QByteArray kQueue =
    "lp is ready and printing\n"
    "Rank    Owner   Job     File(s)                         Total Size\n"
    "active  root    345     summary.rep                     2048 bytes\n"
    "1st     root    12345   (stdin)                         1024 bytes\n"
    "2nd     root    12      detail.rep                      4096 bytes\n";

class PrintJobsWindow : public ::testing::Test {
protected:
    void SetUp() override { server.addFile("printjob.rtf", kQueue); }
    static void choose(frmprintjobs& w, int row) {
        w.lists->available().highlight(row);
        w.lists->cmdadd->click();
    }

    testsupport::TempHome home;
    FakeSite site;
    testsupport::FakeServer server;
    testsupport::ScriptedPrompter prompter;
};

TEST_F(PrintJobsWindow, ListsTheQueueTheServerWrote) {
    frmprintjobs w;
    w.show();
    EXPECT_EQ(w.windowTitle(), "Remove print Jobs");
    ASSERT_EQ(server.shellRequests().size(), 1u);
    // The listing is written in the login's start folder.
    EXPECT_FALSE(server.shellRequests()[0].folder.has_value());
    EXPECT_EQ(server.linesOf(0), printListingLines("varneltail"));
    ASSERT_EQ(server.fetches().size(), 1u);
    EXPECT_EQ(server.fetches()[0].remotePath, "printjob.rtf");
    EXPECT_EQ(texts(w.lists->lstDivision),
              (QStringList{"12      detail.rep", "12345   (stdin)", "345     summary.rep"}));
    EXPECT_EQ(texts(w.lists->lstDivisionHidden), (QStringList{"12", "12345", "345"}));
    EXPECT_FALSE(w.Command1->isEnabled());
    EXPECT_TRUE(QFile::exists(w.listingPath()));
    w.close();
    EXPECT_FALSE(QFile::exists(w.listingPath()));
    EXPECT_FALSE(QFile::exists(w.rawListingPath()));
}

// Over each list stand the two headers, the job's id and its name; the running label is red.
TEST_F(PrintJobsWindow, EachListHasItsTwoHeadersAndTheRunningLabelIsRed) {
    frmprintjobs w;
    w.show();
    QCoreApplication::processEvents();
    for (const QListWidget* list : {w.lists->lstDivision, w.lists->lstItem}) {
        const QRect area(list->mapTo(&w, QPoint(0, 0)), list->size());
        QStringList over;
        for (const QLabel* label : w.lists->findChildren<QLabel*>()) {
            const QPoint at = label->mapTo(&w, QPoint(0, 0));
            if (label->isVisible() && at.y() < area.top() && at.x() >= area.left() &&
                at.x() < area.right())
                over << label->text();
        }
        EXPECT_EQ(over, (QStringList{"ID #", "Name of Print Job"})) << list->objectName().toStdString();
    }
    const QLabel* label = w.lblrunning;
    EXPECT_EQ(label->text(), "Deleting Print Jobs");
    EXPECT_EQ(label->palette().color(label->foregroundRole()), QColor(Qt::red));
    EXPECT_TRUE(label->font().bold());
}

TEST_F(PrintJobsWindow, AMissingListingIsAnEmptyQueue) {
    server.removeFile("printjob.rtf");
    frmprintjobs w;
    EXPECT_EQ(w.lists->lstDivision->count(), 0);
    EXPECT_FALSE(w.Command1->isEnabled());
    EXPECT_TRUE(prompter.prompts().empty());
}

struct UnreadQueueCase {
    const char* name;
    std::function<void(testsupport::FakeServer&)> arrange;
    const char* reason;  // what follows "The print queue could not be read: "
    bool fetched;        // the listing was asked for
};

class UnreadQueue : public PrintJobsWindow,
                    public ::testing::WithParamInterface<UnreadQueueCase> {};

// The server still holds an earlier listing (kQueue): a queue that could not be read is told,
// never shown as empty or as that old listing.
TEST_P(UnreadQueue, IsToldAndListsNothing) {
    GetParam().arrange(server);
    prompter.ok();
    frmprintjobs w;
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].startsWith("The print queue could not be read: " +
                                                  QString::fromUtf8(GetParam().reason)))
        << prompter.messages()[0].toStdString();
    EXPECT_EQ(w.lists->lstDivision->count(), 0);
    EXPECT_FALSE(w.Command1->isEnabled());
    EXPECT_EQ(server.fetches().size(), GetParam().fetched ? 1u : 0u);
}

using testsupport::FakeServer;
INSTANTIATE_TEST_SUITE_P(
    Window, UnreadQueue,
    ::testing::Values(
        UnreadQueueCase{"NoShell",
                        [](FakeServer& s) {
                            s.failOpen(kSessionFailed, "Connection refused",
                                       FakeServer::Times::Next, FakeServer::Kind::Shell);
                        },
                        "Connection refused", false},
        UnreadQueueCase{"LpqTimesOut",
                        [](FakeServer& s) { s.on("sudo lpq  >printjob.rtf").timesOut(); }, "",
                        false},
        UnreadQueueCase{"LpqLosesTheSession",
                        [](FakeServer& s) { s.on("sudo lpq  >printjob.rtf").dropsSession(); }, "",
                        false},
        UnreadQueueCase{"NoTransferSession",
                        [](FakeServer& s) {
                            s.failOpen(kSessionLoginRefused, "Login refused",
                                       FakeServer::Times::Next, FakeServer::Kind::Files);
                        },
                        "Login refused", false},
        UnreadQueueCase{"TheFetchBreaksOff",
                        [](FakeServer& s) {
                            s.failFetch("printjob.rtf", kSessionFailed, "the transfer broke off");
                        },
                        "the transfer broke off", true},
        UnreadQueueCase{"TheFetchTimesOut",
                        [](FakeServer& s) { s.failFetch("printjob.rtf", kSessionTimedOut); }, "",
                        true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PrintJobsWindow, MovesEnableDeleteWhileJobsAreChosen) {
    frmprintjobs w;
    choose(w, 1);
    EXPECT_TRUE(w.Command1->isEnabled());
    // The job that followed takes the highlight.
    EXPECT_EQ(w.lists->available().highlighted(), 1);
    w.lists->selected().highlight(0);
    w.lists->cmdremove->click();
    EXPECT_FALSE(w.Command1->isEnabled());
}

TEST_F(PrintJobsWindow, RemoveAllAnsweredNoClearsTheBox) {
    frmprintjobs w;
    choose(w, 0);
    prompter.no();
    w.chkrmall->setChecked(true);
    EXPECT_EQ(prompter.prompts().back().text, "Are you sure you want delete all print jobs?\r\n");
    EXPECT_EQ(prompter.prompts().back().title, "Configure Sites");
    EXPECT_FALSE(w.chkrmall->isChecked());
    EXPECT_EQ(w.lists->lstItem->count(), 0);
    EXPECT_EQ(w.lists->lstDivision->count(), 3);
    EXPECT_TRUE(w.lists->lstDivision->isEnabled());
    EXPECT_TRUE(w.lists->lstItem->isEnabled());
}

TEST_F(PrintJobsWindow, RemoveAllAnsweredYesThenClearedGivesEveryJobBack) {
    frmprintjobs w;
    prompter.yes();
    w.chkrmall->setChecked(true);
    EXPECT_EQ(w.lists->lstItem->count(), 3);
    EXPECT_FALSE(w.lists->lstItem->isEnabled());
    EXPECT_TRUE(w.Command1->isEnabled());
    w.chkrmall->setChecked(false);
    EXPECT_EQ(w.lists->lstDivision->count(), 3);
    EXPECT_EQ(w.lists->lstItem->count(), 0);
    prompter.ok();
    w.Command1_Click();
    EXPECT_EQ(prompter.messages().last(), "No print jobs selected to be deleted");
    EXPECT_EQ(server.shellRequests().size(), 1u);
}

// Chosen by a double click on the listed job and removed by the button, both found by name;
// the removal is logged before the session opens.
TEST_F(PrintJobsWindow, ADoubleClickedJobIsRemovedAndTheRunLogged) {
    testsupport::startDebugLog();
    frmprintjobs w;
    w.show();
    auto* listed = control<QListWidget>(w, "lstDivision");
    const QRect second = listed->visualItemRect(listed->item(1));
    QTest::mouseClick(listed->viewport(), Qt::LeftButton, {}, second.center());
    QTest::mouseDClick(listed->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(texts(w.lists->lstItem), QStringList{"12345   (stdin)"});
    auto* remove = control<QPushButton>(w, "Command1");
    ASSERT_TRUE(remove->isEnabled());
    QTest::mouseClick(remove, Qt::LeftButton);
    ASSERT_EQ(server.shellRequests().size(), 2u);
    EXPECT_EQ(server.linesOf(1).filter("lprm"), QStringList{withExitStatus("sudo lprm 12345")});
    EXPECT_TRUE(testsupport::debugLogMessages().contains("Item in list"));
}

TEST_F(PrintJobsWindow, RemovesTheChosenJobsInListOrderThenCloses) {
    frmprintjobs w;
    w.show();
    prompter.yes();
    w.chkrmall->setChecked(true);
    server.on("sudo lprm 12345").then([&w](const QString&) {
        // While the removals run, the chosen jobs stay as they are.
        EXPECT_FALSE(w.lists->isEnabled());
        EXPECT_FALSE(w.Command1->isVisible());
        EXPECT_TRUE(w.lblrunning->isVisible());
        w.close();  // refused until the removals are done
    });
    w.Command1_Click();
    ASSERT_EQ(server.shellRequests().size(), 2u);
    EXPECT_FALSE(server.shellRequests()[1].folder.has_value());
    EXPECT_EQ(server.linesOf(1),
              (QStringList{withExitStatus("sudo lprm 12"), withExitStatus("sudo lprm 12345"),
                           withExitStatus("sudo lprm 345")}));
    EXPECT_FALSE(server.isShellOpen(1));
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.result(), QDialog::Accepted);
}

TEST_F(PrintJobsWindow, AFailedRemovalIsTold) {
    frmprintjobs w;
    choose(w, 0);
    server.on("sudo lprm 12").reply("lprm: job 12 not found\n").status(1);
    prompter.ok();
    w.Command1_Click();
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].startsWith("These print jobs were not removed:\r\n12: "));
    EXPECT_TRUE(prompter.messages()[0].contains("lprm: job 12 not found"));
}

// A session lost at the first removal leaves the jobs after it queued: each is told, none is
// passed over as if it had gone.
TEST_F(PrintJobsWindow, ALostSessionTellsEveryJobLeftInTheQueue) {
    frmprintjobs w;
    prompter.yes();
    w.chkrmall->setChecked(true);
    server.on("sudo lprm 12").dropsSession();
    prompter.ok();
    w.Command1_Click();
    EXPECT_EQ(server.linesOf(1), QStringList{withExitStatus("sudo lprm 12")});
    EXPECT_EQ(prompter.messages().last(),
              "These print jobs were not removed:\r\n"
              "12: The server closed the session while running: sudo lprm 12\r\n"
              "12345: not sent, the connection was lost\r\n"
              "345: not sent, the connection was lost");
}

}  // namespace
