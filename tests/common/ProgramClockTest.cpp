// The program's clock as tests set it: the wall time stands where it is put, the monotonic
// count that times waits never follows the wall time back.
#include "common/ProgramClock.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {

const QDateTime kNovember2nd(QDate(2008, 11, 2), QTime(1, 30, 5));

TEST(ProgramClock, ASetClockIsTheProgramsForItsLifetime) {
    const QDateTime before = programNow();
    {
        SettableClock clock(kNovember2nd);
        EXPECT_EQ(programNow(), kNovember2nd);
        {
            SettableClock inner(kNovember2nd.addDays(1));
            EXPECT_EQ(programNow(), kNovember2nd.addDays(1));
        }
        EXPECT_EQ(programNow(), kNovember2nd);
    }
    EXPECT_GE(programNow(), before);
    EXPECT_LT(programNow().secsTo(QDateTime::currentDateTime()), 60);
}

TEST(ProgramClock, AWaitCountsOnWhenTheWallTimeGoesBack) {
    SettableClock clock(kNovember2nd);
    ProgramStopwatch wait;
    wait.start();
    clock.advance(1500);
    EXPECT_EQ(programNow(), kNovember2nd.addMSecs(1500));
    // The clocks go back an hour: names follow it, the wait does not.
    clock.setNow(kNovember2nd.addSecs(-3600));
    EXPECT_EQ(programNow(), kNovember2nd.addSecs(-3600));
    EXPECT_GE(wait.elapsed(), 1500);
    EXPECT_LT(wait.elapsed(), 1500 + 60'000);
}

TEST(ProgramClock, WithoutAWallTimeTheSystemsRunsAndAdvanceMovesItOn) {
    SettableClock clock;
    clock.advance(3'600'000);
    const QDateTime system = QDateTime::currentDateTime();
    const qint64 ahead = system.msecsTo(programNow());
    EXPECT_GE(ahead, 3'600'000);
    EXPECT_LT(ahead, 3'600'000 + 60'000);
}

}  // namespace
