// One change request through the fake server: every line the exchange sends, where it fetches
// the answer, how it judges it, and each way the wait can end without an accepted answer.
#include "changes/ChangeExchange.h"

#include "changes/ChangeRequest.h"
#include "remote/CheckedLines.h"
#include "support/FakeServer.h"
#include "support/FakeSite.h"
#include "support/TempHome.h"
#include "support/Wait.h"
#include "common/ProgramClock.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>

#include <QTimer>
#include <string>

#include <ostream>

using namespace quillon;
using testsupport::FakeServer;
using testsupport::FakeSite;
using Kind = ChangeExchange::Outcome::Kind;
using State = ChangeExchange::State;

namespace {

const QString kRecord = QStringLiteral("1,add,div,7,Sales");

class ChangeExchangeTest : public ::testing::Test {
protected:
    // Sends the request and returns the exchange waiting for its answer.
    void sendRequest(const QStringList& records = {kRecord}) {
        lines = x.prepare(records);
        todo = x.requestName();
        done = x.answerName();
        const ServerFailure sent = x.send(lines);
        ASSERT_TRUE(sent.ok()) << sent.text.toStdString();
    }
    void answer(const QByteArray& bytes) {
        server.on(answerPollLine(done)).reply(done + "\n");
        server.addFile(FakeSite::folder() + "/" + done, bytes);
    }
    QString missingReply() const {
        return "ls: cannot access '" + done + "': No such file or directory\n";
    }

    testsupport::TempHome home;
    FakeSite site;
    FakeServer server;
    ChangeExchange x{kRecordAddedOK};
    QStringList lines;
    QString todo;
    QString done;
};

TEST_F(ChangeExchangeTest, WritesTheRequestPollsFetchesTheAnswerAndFinishes) {
    sendRequest();
    EXPECT_TRUE(lines.isEmpty());
    EXPECT_EQ(x.state(), State::Waiting);
    EXPECT_TRUE(todo.startsWith("TESTPC_") && todo.endsWith(".todo")) << todo.toStdString();
    ASSERT_EQ(server.shellRequests().size(), 1u);
    EXPECT_EQ(server.shellRequests()[0].folder, FakeSite::folder());
    EXPECT_EQ(server.shellRequests()[0].control, "wodSSH1");

    server.on(answerPollLine(done)).reply(missingReply());
    EXPECT_EQ(x.poll().kind, Kind::Waiting);
    answer("1,Record added OK\n");
    const ChangeExchange::Outcome found = x.poll();
    EXPECT_EQ(found.kind, Kind::Accepted);
    EXPECT_EQ(found.answer, kRecordAddedOK);
    EXPECT_EQ(x.state(), State::Finishing);
    EXPECT_FALSE(x.requestSent());
    // Nothing more is asked once the answer is in.
    EXPECT_EQ(x.poll().kind, Kind::Waiting);

    EXPECT_TRUE(x.regenerateTables().ok());
    EXPECT_TRUE(x.sendReloadLine("DIV").ok());
    x.close();
    EXPECT_EQ(x.state(), State::Closed);
    EXPECT_FALSE(server.isShellOpen(0));

    EXPECT_EQ(server.linesOf(0).join('\n').toStdString(),
              (QStringList{"cd '/usr/varnel'",
                           withExitStatus("echo '1,add,div,7,Sales' > ." + todo + ".tmp"),
                           withExitStatus("rm -f " + done),
                           withExitStatus("mv -f ." + todo + ".tmp " + todo), "ls " + done,
                           "ls " + done, withExitStatus("./do_csv.sh"), "echo \">>reload_DIV"})
                  .join('\n')
                  .toStdString());
    ASSERT_EQ(server.fetches().size(), 1u);
    EXPECT_EQ(server.fetches()[0].remotePath, "/usr/varnel/" + done);
    const QString local = home.file("North/Bats/" + done);
    EXPECT_EQ(server.fetches()[0].localPath, local);
    EXPECT_EQ(home.read("North/Bats/" + done), "1,Record added OK\n");
}

TEST_F(ChangeExchangeTest, WritesEachRecordOfARequestOfSeveral) {
    sendRequest({"1,mod,rate,1,a  ", "2,mod,calc,1,b  "});
    EXPECT_EQ(server.linesOf(0).mid(1).join('\n').toStdString(),
              (QStringList{withExitStatus("echo '1,mod,rate,1,a  ' > ." + todo + ".tmp"),
                           withExitStatus("echo '2,mod,calc,1,b  ' >> ." + todo + ".tmp"),
                           withExitStatus("rm -f " + done),
                           withExitStatus("mv -f ." + todo + ".tmp " + todo)})
                  .join('\n')
                  .toStdString());
}

TEST_F(ChangeExchangeTest, TablesAreRewrittenWithTheLongDeadline) {
    sendRequest();
    server.on("./do_csv.sh").timesOut();
    const ServerFailure written = x.regenerateTables();
    EXPECT_EQ(written.code, kSessionTimedOut);
    EXPECT_TRUE(written.text.contains("600 seconds")) << written.text.toStdString();
}

// A server that stopped answering gets no further line: after a record, a poll or the answer's
// fetch that timed out, the rewrite of the tables and the reload line are skipped at once.
TEST_F(ChangeExchangeTest, ASessionThatTimedOutIsNotUsedAgain) {
    for (const char* step : {"fetch", "poll", "record"}) {
        SCOPED_TRACE(step);
        ChangeExchange exchange{kRecordAddedOK};
        QStringList queued = exchange.prepare({kRecord});
        const int shell = int(server.shellRequests().size());
        if (step == std::string("fetch")) {
            const QString answer = exchange.answerName();
            server.on(answerPollLine(answer)).reply(answer + "\n");
            server.failFetch(FakeSite::folder() + "/" + answer, kSessionTimedOut);
            ASSERT_TRUE(exchange.send(queued).ok());
            EXPECT_EQ(exchange.poll().kind, Kind::Failed);
        } else if (step == std::string("poll")) {
            server.on(QRegularExpression("^ls ")).timesOut();
            ASSERT_TRUE(exchange.send(queued).ok());
            EXPECT_EQ(exchange.poll().kind, Kind::Failed);
        } else {
            server.on(QRegularExpression("^echo ")).timesOut();
            EXPECT_EQ(exchange.send(queued).code, kSessionTimedOut);
        }
        const qsizetype sent = server.linesOf(shell).size();
        EXPECT_FALSE(exchange.regenerateTables().ok());
        EXPECT_FALSE(exchange.sendReloadLine("DIV").ok());
        EXPECT_EQ(server.linesOf(shell).size(), sent);
        EXPECT_FALSE(server.isShellOpen(shell));
    }
}

struct AnswerCase {
    const char* name;
    QByteArray file;
    QString accepted;
    Kind kind;
    QString message;
};
void PrintTo(const AnswerCase& c, std::ostream* os) {
    *os << c.name;
}

class AnswerJudgement : public ChangeExchangeTest,
                        public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(AnswerJudgement, ComparesTheWholeAnswer) {
    const AnswerCase& c = GetParam();
    ChangeExchange exchange{c.accepted};
    QStringList queue = exchange.prepare({kRecord});
    ASSERT_TRUE(exchange.send(queue).ok());
    done = exchange.answerName();
    answer(c.file);
    const ChangeExchange::Outcome o = exchange.poll();
    EXPECT_EQ(o.kind, c.kind);
    EXPECT_EQ(o.message, c.message);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, AnswerJudgement,
    ::testing::Values(
        AnswerCase{"Added", "1,Record added OK\n", kRecordAddedOK, Kind::Accepted, ""},
        AnswerCase{"AddedWithCrLf", "1,Record added OK\r\n", kRecordAddedOK, Kind::Accepted, ""},
        AnswerCase{"AddedWithoutFinalLf", "1,Record added OK", kRecordAddedOK, Kind::Accepted, ""},
        AnswerCase{"ModifyIsNotAdded", "1,Record modify OK\n", kRecordAddedOK, Kind::Refused,
                   "1,Record modify OK\r\nRefeshing Data"},
        AnswerCase{"AddedEndingInABareCarriageReturn", "1,Record added OK\r", kRecordAddedOK,
                   Kind::Accepted, ""},
        // An answer file made but not yet written is no answer: the wait goes on.
        AnswerCase{"Empty", "", kRecordAddedOK, Kind::Waiting, ""},
        AnswerCase{"TwoRecords", "1,Record modify OK\n2,Record modify OK\n", kTwoRecordsModifyOK,
                   Kind::Accepted, ""},
        AnswerCase{"TwoRecordsInTheOtherOrder", "2,Record modify OK\n1,Record modify OK\n",
                   kTwoRecordsModifyOK, Kind::Refused,
                   "2,Record modify OK\n1,Record modify OK\r\nRefeshing Data"},
        AnswerCase{"OneOfTwo", "1,Record modify OK\n", kTwoRecordsModifyOK, Kind::Refused,
                   "1,Record modify OK\r\nRefeshing Data"}));

TEST_F(ChangeExchangeTest, AnOpenThatFailsSendsNothing) {
    server.failOpen(kSessionUnreachable, "Could not connect to 10.0.0.7: refused");
    lines = x.prepare({kRecord});
    const ServerFailure sent = x.send(lines);
    EXPECT_EQ(sent.code, kSessionUnreachable);
    EXPECT_EQ(sent.text, "Could not connect to 10.0.0.7: refused");
    EXPECT_TRUE(x.nothingSent());
    EXPECT_EQ(x.state(), State::Idle);
    EXPECT_EQ(lines.size(), 3);
    EXPECT_TRUE(server.lines().isEmpty());
}

struct SendFailureCase {
    const char* name;
    const char* line;  // the line that fails: a pattern found at its start
    bool drops;        // the session is lost while it runs; else it ends with status 1
    bool published;    // the request may stand on the server
};
void PrintTo(const SendFailureCase& c, std::ostream* os) {
    *os << c.name;
}

class FailedRequestLine : public ChangeExchangeTest,
                          public ::testing::WithParamInterface<SendFailureCase> {};

// Until its publishing line went out the request is not on the server: the exchange is as it was
// before Save, and the form may send it again. Once the move went out (and did not surely fail)
// the request may stand there, so the wait never begins and the form says so.
TEST_P(FailedRequestLine, LeavesTheRequestOnTheServerOnlyOnceThePublishingLineWentOut) {
    const SendFailureCase& c = GetParam();
    lines = x.prepare({kRecord, "2,add,div,8,Rooms"});
    auto rule = server.on(QRegularExpression(QStringLiteral("^") + c.line));
    if (c.drops)
        rule.dropsSession();
    else
        rule.reply("bash: Permission denied\n").status(1);
    const ServerFailure sent = x.send(lines);
    EXPECT_FALSE(sent.ok());
    EXPECT_EQ(x.nothingSent(), !c.published);
    EXPECT_FALSE(x.requestSent());
    EXPECT_EQ(sent.text.startsWith("The request could not be sent completely: "), c.published)
        << sent.text.toStdString();
    EXPECT_EQ(sent.text.endsWith("The server may still carry out the request."), c.published);
    EXPECT_EQ(x.state(), c.published ? State::Finishing : State::Idle);
    EXPECT_EQ(x.poll().kind, Kind::Waiting);
    EXPECT_FALSE(server.lines().filter(QRegularExpression("^ls ")).size());
}

INSTANTIATE_TEST_SUITE_P(
    Lines, FailedRequestLine,
    ::testing::Values(SendFailureCase{"FirstRecordDropped", "echo '1,", true, false},
                      SendFailureCase{"SecondRecordRefused", "echo '2,", false, false},
                      SendFailureCase{"StaleAnswerRefused", "rm -f ", false, false},
                      SendFailureCase{"MoveRefused", "mv -f ", false, false},
                      SendFailureCase{"MoveDropped", "mv -f ", true, true}));

// A line the shell layer refuses (a character with no Windows-1252 byte) never went out: the
// request is not sent, and nothing after it goes either.
TEST_F(ChangeExchangeTest, ALineThatCannotBeTypedIsNotSent) {
    lines = x.prepare({kRecord, QString::fromUtf8("2,add,div,8,\u0141\u00f3d\u017a")});
    const ServerFailure sent = x.send(lines);
    EXPECT_FALSE(sent.ok());
    EXPECT_TRUE(x.nothingSent());
    EXPECT_EQ(x.state(), State::Idle);
    EXPECT_EQ(server.linesOf(0).size(), 2) << server.linesOf(0).join('|').toStdString();
    EXPECT_FALSE(server.lines().filter("mv -f").size());
}

TEST_F(ChangeExchangeTest, AnAnswerWrittenAfterItsFileWasMadeIsRead) {
    SettableClock clock;
    home.write("KTReports.ini", "[Sites]\r\nAnswerTimeout=1\r\n");
    sendRequest();
    answer("");
    EXPECT_EQ(x.poll().kind, Kind::Waiting);
    EXPECT_EQ(x.state(), State::Waiting);
    EXPECT_TRUE(x.requestSent());
    server.addFile(FakeSite::folder() + "/" + done, "1,Record added OK\r\r\n");
    EXPECT_EQ(x.poll().kind, Kind::Accepted);

    // One that stays empty ends at the wait's limit.
    ChangeExchange empty{kRecordAddedOK};
    QStringList queue = empty.prepare({kRecord});
    ASSERT_TRUE(empty.send(queue).ok());
    done = empty.answerName();
    answer("");
    EXPECT_EQ(empty.poll().kind, Kind::Waiting);
    clock.advance(1100);
    EXPECT_EQ(empty.poll().kind, Kind::TimedOut);
}

TEST_F(ChangeExchangeTest, ALostSessionEndsTheWait) {
    sendRequest();
    server.on(answerPollLine(done)).dropsSession();
    const ChangeExchange::Outcome o = x.poll();
    EXPECT_EQ(o.kind, Kind::Failed);
    EXPECT_TRUE(
        o.message.startsWith("The connection to the server was lost while waiting for its "
                             "answer: The server closed the session"))
        << o.message.toStdString();
    EXPECT_FALSE(x.regenerateTables().ok());
}

TEST_F(ChangeExchangeTest, AnAnswerThatCannotBeFetchedIsNotAccepted) {
    sendRequest();
    server.on(answerPollLine(done)).reply(done + "\n");
    server.failFetch(FakeSite::folder() + "/" + done, kSessionFailed, "Permission denied");
    const ChangeExchange::Outcome o = x.poll();
    EXPECT_EQ(o.kind, Kind::Failed);
    EXPECT_EQ(o.message, "The server's answer " + done +
                             " could not be fetched: Permission denied\r\nRefeshing Data");
    EXPECT_FALSE(QFile::exists(home.file("North/Bats/" + done)));
    // The shell is still there for ./do_csv.sh.
    EXPECT_TRUE(x.regenerateTables().ok());
}

TEST_F(ChangeExchangeTest, TheWaitEndsAtItsLimit) {
    SettableClock clock;
    home.write("KTReports.ini", "[Sites]\r\nAnswerTimeout=1\r\n");
    sendRequest();
    server.on(answerPollLine(done)).reply(missingReply());
    EXPECT_EQ(x.poll().kind, Kind::Waiting);
    clock.advance(1100);
    const ChangeExchange::Outcome o = x.poll();
    EXPECT_EQ(o.kind, Kind::TimedOut);
    EXPECT_EQ(o.message,
              "The server has not answered within 1 second. The server may still carry out the "
              "request.\r\nRefeshing Data");
    EXPECT_TRUE(x.regenerateTables().ok());
}

TEST_F(ChangeExchangeTest, CancelEndsAWaitingPollAndTheSession) {
    sendRequest();
    server.on(answerPollLine(done)).blocksUntilCancel().then([this](const QString&) {
        QTimer::singleShot(50, [this] { x.cancel(); });
    });
    const ChangeExchange::Outcome o = x.poll();
    EXPECT_EQ(o.kind, Kind::Cancelled);
    EXPECT_EQ(o.message,
              cancelledWaitText("The request"));
    EXPECT_FALSE(server.isShellOpen(0));
    EXPECT_FALSE(x.busy());
}

TEST_F(ChangeExchangeTest, CancelBetweenPollsSendsNoMore) {
    sendRequest();
    server.on(answerPollLine(done)).reply(missingReply());
    EXPECT_EQ(x.poll().kind, Kind::Waiting);
    x.cancel();
    EXPECT_FALSE(server.isShellOpen(0));
    EXPECT_EQ(x.poll().kind, Kind::Cancelled);
    EXPECT_EQ(server.linesOf(0).filter(QRegularExpression("^ls ")).size(), 1);
}

TEST_F(ChangeExchangeTest, CancelEndsAWaitingFetch) {
    sendRequest();
    server.on(answerPollLine(done)).reply(done + "\n");
    server.blockFetchUntilCancel(FakeSite::folder() + "/" + done);
    QTimer::singleShot(50, [this] { x.cancel(); });
    const ChangeExchange::Outcome o = x.poll();
    EXPECT_EQ(o.kind, Kind::Cancelled);
    EXPECT_TRUE(o.message == cancelledWaitText("The request"));
}

TEST_F(ChangeExchangeTest, TheTablePullIsTheCurrentSitesFromItsServerFolder) {
    FakeSite::addServerTables(server);
    const TableMirrorResult pulled = x.refreshTables();
    EXPECT_TRUE(pulled.ok) << pulled.error.toStdString();
    ASSERT_EQ(server.fetches().size(), 13u);
    EXPECT_EQ(server.fetches()[0].remotePath, "/usr/varnel/ext.csv");
    EXPECT_EQ(home.read("North/Bats/div.csv"), "div,1\r\n");
}

}  // namespace
