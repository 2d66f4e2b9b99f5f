// The long-wait Cancel: shown exactly while a session is offered to it, and a click ends that
// session's wait at once.
#include "widgets/LongWaitCancel.h"

#include "support/FakeServer.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <QWidget>

using namespace quillon;
using testsupport::FakeServer;

namespace {

TEST(LongWaitCancelTest, ShownWhileOfferedAndAClickEndsTheWait) {
    FakeServer server;
    server.on("./ORV_B1 2 X.TMP").blocksUntilCancel();
    server.blockFetchUntilCancel("big.tar");
    QWidget window;
    LongWaitCancel cancel(&window);
    window.show();
    EXPECT_EQ(cancel.objectName(), "cmdcancelwait");
    EXPECT_EQ(cancel.text(), "Cancel");
    EXPECT_FALSE(cancel.isVisible());
    cancel.click();  // nothing offered: nothing happens

    ServerFailure failure;
    const auto shell = server.openShell({{"10.0.0.9", 22, "varneltail", "p"}, {}, {}, 30}, failure);
    const auto files = server.openFiles({{"10.0.0.9", 22, "varnel", "v"}, 30}, failure);
    ASSERT_TRUE(shell && files);
    bool shownDuringWait = false;
    const auto clickSoon = [&] {
        QTimer::singleShot(100, &cancel, [&] {
            shownDuringWait = cancel.isVisible() && cancel.isEnabled();
            QTest::mouseClick(&cancel, Qt::LeftButton);
        });
    };
    QElapsedTimer clock;
    clock.start();
    LineResult ran;
    {
        const CancelOffer offer(&cancel, *shell);
        clickSoon();
        ran = shell->run("./ORV_B1 2 X.TMP", 1800);
    }
    EXPECT_TRUE(shownDuringWait);
    EXPECT_FALSE(cancel.isVisible());
    EXPECT_EQ(ran.failure.code, kSessionCancelled);
    EXPECT_FALSE(shell->isOpen());

    shownDuringWait = false;
    ServerFailure fetched;
    {
        const CancelOffer offer(&cancel, *files);
        clickSoon();
        fetched = files->fetch("big.tar", QDir::tempPath() + "/long-wait-cancel-test.tar", 1800);
    }
    EXPECT_TRUE(shownDuringWait);
    EXPECT_FALSE(cancel.isVisible());
    EXPECT_EQ(fetched.code, kSessionCancelled);
    EXPECT_LT(clock.elapsed(), 5000);

    // No canceller: the offer does nothing, and the wait has only its deadline.
    const CancelOffer none(nullptr, *shell);
}

TEST(LongWaitCancelTest, TheToldTextSaysTheServerMayStillFinish) {
    EXPECT_EQ(cancelledWaitText("The backup"),
              "The backup was cancelled. The server may still finish the work.");
}

}  // namespace
