#include "shell/FFPS.h"

#include <gtest/gtest.h>

TEST(FrameClock, FirstFrameMeasuresFromTheReset)
{
    resetFrameClock(5000);
    EXPECT_EQ(FrameClock.totalTime, 0);
    EXPECT_EQ(FrameClock.fps, 0);
    updateFrameClock(5016);
    EXPECT_EQ(FrameClock.rawElapsed, 16);
    EXPECT_EQ(FrameClock.elapsed, 16);
    EXPECT_EQ(FrameClock.totalTime, 16);
    EXPECT_EQ(FrameClock.lastTime, 5016);
}

TEST(FrameClock, ElapsedIsClampedButTheGameClockIsNot)
{
    resetFrameClock(0);
    updateFrameClock(100);
    EXPECT_EQ(FrameClock.elapsed, 100);
    updateFrameClock(350);
    EXPECT_EQ(FrameClock.rawElapsed, 250);
    EXPECT_EQ(FrameClock.elapsed, 100);
    EXPECT_EQ(FrameClock.totalTime, 350);
}

TEST(FrameClock, FpsOnlyAfterMoreThanASecond)
{
    resetFrameClock(0);
    for (int t = 10; t <= 1000; t += 10)
        updateFrameClock(t);
    EXPECT_EQ(FrameClock.fps, 0) << "exactly 1000 ms is not yet more than a second";
    EXPECT_EQ(FrameClock.framesInWindow, 100);
    updateFrameClock(1013);
    EXPECT_EQ(FrameClock.fps, 99);  // 101 frames in 1013 ms, truncated
    EXPECT_EQ(FrameClock.framesInWindow, 0);
    EXPECT_EQ(FrameClock.fpsWindowStart, 1013);
}

TEST(FrameClock, TotalTimeKeepsCountingFromALaunchValue)
{
    resetFrameClock(0);
    updateFrameClock(20);
    FrameClock.totalTime = 123456789012LL;  // the launch sets the game clock
    updateFrameClock(45);
    EXPECT_EQ(FrameClock.totalTime, 123456789037LL);
}
