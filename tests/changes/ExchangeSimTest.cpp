// The exchange against the stand-in server: its answerer finds the request, applies it to the
// site's tables and answers; do_csv.sh then writes the changed table. The answerer's knobs give
// the answers a server may write (CR LF, no final line feed, empty, another text) and none.
#include "changes/ChangeExchange.h"

#include "changes/ChangeRequest.h"
#include "common/TableMirror.h"
#include "support/SimServer.h"
#include "support/SimSite.h"
#include "support/TempHome.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace quillon;
using testsupport::SimServer;
using Kind = ChangeExchange::Outcome::Kind;

namespace {

class ExchangeSimTest : public testsupport::SimSiteTest {
protected:
    ExchangeSimTest() : SimSiteTest(false) {}
    // Polls as the form's timer would, until the wait ends.
    ChangeExchange::Outcome waitForAnswer(ChangeExchange& x, int ms = 15000) {
        ChangeExchange::Outcome o;
        testsupport::waitFor(
            [&] {
                if (o.kind == Kind::Waiting) o = x.poll();
                return o.kind != Kind::Waiting;
            },
            ms);
        return o;
    }
};

TEST_F(ExchangeSimTest, TheAnswerIsAppliedAndDoCsvWritesTheChangedTable) {
    ChangeExchange x(kRecordModifyOK);
    QStringList lines = x.prepare({"1,mod,div,0030,\"Operations\",0030,\"Ops  North; $(x)\""});
    ASSERT_TRUE(x.send(lines).ok());
    const ChangeExchange::Outcome o = waitForAnswer(x);
    EXPECT_EQ(o.kind, Kind::Accepted) << o.message.toStdString();
    EXPECT_EQ(site.read(x.answerName()), "1,Record modify OK\n");
    EXPECT_EQ(home.read("North/Bats/" + x.answerName()), "1,Record modify OK\n");
    EXPECT_TRUE(x.regenerateTables().ok());
    EXPECT_TRUE(x.sendReloadLine("DIV").ok());
    x.close();
    EXPECT_TRUE(site.read("div.csv").contains("\n30,Ops  North; $(x),\n"))
        << site.read("div.csv").constData();
    EXPECT_EQ(SimServer::calls("answer"), QStringList{x.requestName()});
    // The reload line's open quote leaves the shell waiting for more, so its journal holds no
    // line for it; it ended at the continuation prompt.
    EXPECT_TRUE(SimServer::shellLines().contains("./do_csv.sh; echo \"rc=$?\""));
    // The request stays for the tests to read.
    EXPECT_TRUE(site.exists(x.requestName()));
}

struct KnobCase {
    const char* name;
    const char* knob;
    const char* value;
    QByteArray file;
    Kind kind;
    bool applied;
};
void PrintTo(const KnobCase& c, std::ostream* os) {
    *os << c.name;
}

class AnswerKnobs : public ExchangeSimTest, public ::testing::WithParamInterface<KnobCase> {};

TEST_P(AnswerKnobs, GiveTheAnswersAServerMayWrite) {
    const KnobCase& c = GetParam();
    home.write("KTReports.ini", "[Sites]\r\nAnswerTimeout=4\r\n");
    if (c.knob[0]) {
        ASSERT_TRUE(SimServer::answererKnows(c.knob)) << "run sim/start: " << c.knob;
        SimServer::setKnob(c.knob, c.value);
    }
    ChangeExchange x(kRecordAddedOK);
    QStringList lines = x.prepare({"1,add,div,77,Knob Division"});
    ASSERT_TRUE(x.send(lines).ok());
    const ChangeExchange::Outcome o = waitForAnswer(x);
    EXPECT_EQ(o.kind, c.kind) << o.message.toStdString();
    EXPECT_EQ(site.read(x.answerName()), c.file);
    x.regenerateTables();
    x.close();
    EXPECT_EQ(site.read("div.csv").contains("77,Knob Division"), c.applied);
}

INSTANTIATE_TEST_SUITE_P(
    Knobs, AnswerKnobs,
    ::testing::Values(
        KnobCase{"None", "", "", "1,Record added OK\n", Kind::Accepted, true},
        KnobCase{"CrLf", "answer_crlf", "1", "1,Record added OK\r\n", Kind::Accepted, true},
        KnobCase{"NoFinalLf", "answer_no_final_lf", "1", "1,Record added OK", Kind::Accepted, true},
        // An answer file that stays empty is no answer: the wait ends at its limit.
        KnobCase{"Empty", "answer_empty", "1", "", Kind::TimedOut, false},
        // One made empty and written a moment later is read once written.
        KnobCase{"TwoSteps", "answer_two_steps", "1.5", "1,Record added OK\n", Kind::Accepted,
                 true},
        KnobCase{"AnotherText", "answer_text", "1,Table is locked", "1,Table is locked\n",
                 Kind::Refused, false},
        KnobCase{"Delay", "answer.delay", "1.5", "1,Record added OK\n", Kind::Accepted, true}));

TEST_F(ExchangeSimTest, ARefusedRecordChangesNothing) {
    ChangeExchange x(kRecordAddedOK);
    QStringList lines = x.prepare({"1,add,div,10,Rooms Again"});
    ASSERT_TRUE(x.send(lines).ok());
    const ChangeExchange::Outcome o = waitForAnswer(x);
    EXPECT_EQ(o.kind, Kind::Refused);
    EXPECT_EQ(o.message, "1,Record already exists\r\nRefeshing Data");
    EXPECT_FALSE(site.exists(".tables/div.csv"));
}

TEST_F(ExchangeSimTest, NeverAnsweredStaysUnansweredAfterTheKnobIsGone) {
    home.write("KTReports.ini", "[Sites]\r\nAnswerTimeout=2\r\n");
    SimServer::setKnob("answer_never");
    ChangeExchange x(kRecordAddedOK);
    QStringList lines = x.prepare({"1,add,div,78,Never"});
    ASSERT_TRUE(x.send(lines).ok());
    const ChangeExchange::Outcome o = waitForAnswer(x);
    EXPECT_EQ(o.kind, Kind::TimedOut);
    x.close();
    SimServer::clearKnobs();
    // Nothing to wait for: the answerer must stay silent. Several of its polls (0.2 s apart,
    // a request settles for 0.3 s) pass on the real clock before the folder is looked at.
    QTest::qWait(800);
    EXPECT_TRUE(site.exists(x.requestName()));
    EXPECT_FALSE(site.exists(x.answerName()));
    EXPECT_FALSE(site.exists(".tables/div.csv"));
}

}  // namespace
