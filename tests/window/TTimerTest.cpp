#include <gtest/gtest.h>

#include <QTest>
#include <stdexcept>
#include <thread>

#include "window/TTimer.h"

namespace {

TEST(TTimer, SwitchingToTheCurrentStateDoesNothing) {
    TTimer timer(nullptr);
    timer.SetInterval(3'600'000);
    timer.SetEnabled(false);
    EXPECT_FALSE(timer.Enabled());
    EXPECT_EQ(timer.RemainingTime(), -1);

    timer.SetEnabled(true);
    const int first = timer.RemainingTime();
    QTest::qSleep(60);
    timer.SetEnabled(true);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_LE(timer.RemainingTime(), first - 50);

    timer.SetEnabled(false);
    EXPECT_FALSE(timer.Enabled());
    EXPECT_EQ(timer.RemainingTime(), -1);
}

TEST(TTimer, CallsItsHandlerWhileEnabled) {
    TTimer timer(nullptr);
    timer.SetInterval(10);
    int ticks = 0;
    timer.OnTimer = [&] { ++ticks; };
    timer.SetEnabled(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 3; }, 20000));
    timer.SetEnabled(false);
    const int stoppedAt = ticks;
    QTest::qWait(50);
    EXPECT_EQ(ticks, stoppedAt);
}

// A thread without an event loop gets no timers from Qt: the same failure as a system
// that has none left.
TEST(TTimer, WhenNoTimerCanBeHadItStaysDisabledAndCanBeTriedAgain) {
    std::thread([] {
        TTimer timer(nullptr);
        for (int attempt = 0; attempt < 2; ++attempt) {
            EXPECT_THROW(timer.SetEnabled(true), std::runtime_error);
            EXPECT_FALSE(timer.Enabled());
        }
    }).join();
}

}  // namespace
