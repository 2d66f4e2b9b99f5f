#include "remote/LiveTailSession.h"

#include "SessionTestSupport.h"
#include "common/ShellQuote.h"
#include "support/SimServer.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

using namespace quillon;
using namespace remotetest;

namespace {

// --- live tail ------------------------------------------------------------------------------

class LiveTailTest : public testsupport::SimTest {
protected:
    QString received(QSignalSpy& spy) {
        QString all;
        for (const auto& args : spy) all += args.at(0).toString();
        return all;
    }
    testsupport::TempHome home;
};

TEST_F(LiveTailTest, ConnectsInTheBackgroundAndStreams) {
    LiveTailSession tail;
    QSignalSpy connected(&tail, &LiveTailSession::connected);
    QSignalSpy data(&tail, &LiveTailSession::dataReceived);
    QElapsedTimer clock;
    clock.start();
    tail.connectToHost(simShell(), 30);
    EXPECT_LT(clock.elapsed(), 200);
    ASSERT_TRUE(connected.wait(30000));
    EXPECT_EQ(connected.at(0).at(0).toInt(), 0);
    EXPECT_EQ(connected.at(0).at(1).toString(), QString());
    EXPECT_TRUE(tail.isConnected());
    const QString t = token();
    tail.send("cd " + shellQuote(SimServer::siteDir()) + "\n");
    tail.send("for i in 1 2 3; do echo tick-$i-" + t + "; sleep 0.2; done\n");
    QTRY_VERIFY_WITH_TIMEOUT(received(data).contains("tick-3-" + t), 10000);
    const QString text = received(data);
    EXPECT_LT(text.indexOf("tick-1-" + t), text.indexOf("tick-2-" + t));
    EXPECT_GT(data.count(), 2);  // chunks arrive as they come, not at the end
}

TEST_F(LiveTailTest, DisconnectEndsItWithoutFurtherSignals) {
    LiveTailSession tail;
    QSignalSpy connected(&tail, &LiveTailSession::connected);
    QSignalSpy data(&tail, &LiveTailSession::dataReceived);
    QSignalSpy gone(&tail, &LiveTailSession::disconnected);
    tail.connectToHost(simShell(), 30);
    ASSERT_TRUE(connected.wait(30000));
    tail.send(QStringLiteral("while :; do echo busy; sleep 0.05; done\n"));
    QTRY_VERIFY_WITH_TIMEOUT(received(data).contains(QStringLiteral("busy")), 10000);
    QElapsedTimer clock;
    clock.start();
    tail.disconnect();
    EXPECT_LT(clock.elapsed(), 100);
    EXPECT_FALSE(tail.isConnected());
    const int before = data.count();
    // Nothing may come: the server writes every 0.05 s, so 0.4 s of silence on the real clock
    // shows the session is gone.
    QTest::qWait(400);
    EXPECT_EQ(data.count(), before);
    EXPECT_EQ(gone.count(), 0);

    // The same object connects again.
    tail.connectToHost(simShell(), 30);
    ASSERT_TRUE(connected.wait(30000));
    EXPECT_EQ(connected.last().at(0).toInt(), 0);
}

TEST_F(LiveTailTest, ClosingWhileItStillConnectsDoesNotWaitForTheDeadline) {
    // A monitor window closed while its server has not answered yet.
    StallProxy silent(0);
    SessionTarget target = simShell();
    target.port = silent.port();
    QElapsedTimer clock;
    {
        LiveTailSession tail;
        QSignalSpy connected(&tail, &LiveTailSession::connected);
        tail.connectToHost(target, 30);
        // The worker's connect to the silent server is under way (it shows no state to wait
        // on); the real time is what the deadline below is measured against.
        QTest::qWait(300);
        // Connecting again drops the first attempt; it must not be waited for either.
        clock.start();
        tail.connectToHost(target, 30);
        EXPECT_LT(clock.elapsed(), 1000);
        QTest::qWait(300);  // the second attempt under way, as the first
        clock.restart();
    }
    EXPECT_LT(clock.elapsed(), 1000);
}

TEST_F(LiveTailTest, ServerDroppingTheSessionIsReported) {
    LiveTailSession tail;
    QSignalSpy connected(&tail, &LiveTailSession::connected);
    QSignalSpy gone(&tail, &LiveTailSession::disconnected);
    tail.connectToHost(simShell(), 30);
    ASSERT_TRUE(connected.wait(30000));
    tail.send(QStringLiteral("exit\n"));
    ASSERT_TRUE(gone.wait(10000));
    EXPECT_FALSE(tail.isConnected());
}

TEST_F(LiveTailTest, FailureToConnectIsReportedWithItsReason) {
    LiveTailSession tail;
    QSignalSpy connected(&tail, &LiveTailSession::connected);
    SessionTarget target = simShell();
    target.password = QStringLiteral("wrong");
    tail.connectToHost(target, 20);
    ASSERT_TRUE(connected.wait(25000));
    EXPECT_EQ(connected.at(0).at(0).toInt(), kSessionLoginRefused);
    EXPECT_TRUE(connected.at(0).at(1).toString().contains(QStringLiteral("refused the login")));
    EXPECT_FALSE(tail.isConnected());

    StallProxy silent(0);
    target = simShell();
    target.port = silent.port();
    QElapsedTimer clock;
    clock.start();
    tail.connectToHost(target, 2);
    ASSERT_TRUE(connected.wait(5000));
    EXPECT_LT(clock.elapsed(), 3500);
    EXPECT_EQ(connected.last().at(0).toInt(), kSessionTimedOut);
}

}  // namespace
