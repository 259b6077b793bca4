#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>

#include "LoopFakes.h"
#include "burnin/LoopRunner.h"
#include "platform/Format.h"

namespace veltrane::burnin {
namespace {

using platform::ThreadPriority;
using test::clockAt;

const std::string kUnitEnd = "Thread end on 3/7/2024 at 9.30.0 without errors";

void waitFor(const std::atomic<bool>& flag) {
    while (!flag) {
        std::this_thread::yield();
    }
}

class LoopRunnerTest : public ::testing::Test {
protected:
    // Starts a loop, or fails the test, and waits for its end.
    LoopLog run(const LoopSettings& settings, ThreadPriority priority = ThreadPriority::Normal) {
        EXPECT_TRUE(runner_.start(settings, priority, sink_));
        runner_.wait();
        return sink_.snapshot();
    }

    test::FakeLoopClock clock_{clockAt(9, 30)};
    test::RecordingLoopSink sink_{clock_};
    std::unique_ptr<LoopMatrices> matrices_ = std::make_unique<LoopMatrices>();
    LoopRunner runner_{clock_, test::smallLoopUnit(), LoopTiming{0, 0}, *matrices_};
};

// One runner, loop after loop: each log starts again from cycle 1.
TEST_F(LoopRunnerTest, RepeatRunsTenUnitsACycleThenCloses) {
    for (const std::int32_t cycles : {2, 0, 1}) {
        SCOPED_TRACE(cycles);
        const LoopLog log = run({LoopMode::Repeat, 0, 0, cycles}, ThreadPriority::Idle);
        EXPECT_EQ(runner_.unitsRun(), 10 * cycles);
        ASSERT_EQ(std::ssize(log.rows()), cycles * (2 + 10 * 4));
        EXPECT_EQ(std::ranges::count(log.rows(), kUnitEnd), 10 * cycles);
        if (cycles > 0) {  // the last cycle opens with its line
            EXPECT_EQ(log.rows().end()[-42], strprintf("Loop Cycle %d started", cycles));
        }
        // Both bars start again from 1 past their top of ten.
        EXPECT_EQ(log.overallBar(), cycles == 0 ? 0 : 10);
        EXPECT_EQ(log.currentBar(), cycles == 0 ? 0 : 10);
        EXPECT_EQ(log.caption(), "Close this window");
        EXPECT_EQ(log.status().stopAt, strprintf("After %d Cycles", cycles));
    }
}

TEST_F(LoopRunnerTest, CorruptedUnitIsLoggedAsFailedAndCounted) {
    runner_.setResultHook([](std::int64_t unit, LoopMatrices& m) {
        if (unit == 3) {
            m.result[17][4] ^= 1;
        }
    });
    const LoopLog log = run({LoopMode::Repeat, 0, 0, 1});
    EXPECT_EQ(runner_.failedUnits(), 1);
    EXPECT_EQ(log.failedUnits(), 1);
    EXPECT_EQ(std::ranges::count(log.rows(), kUnitEnd), 9);
    // Unit 4's rows, after the cycle line and four rows per unit.
    EXPECT_EQ(log.rows()[14], "Thread start on 3/7/2024 at 9.30.0...");
    EXPECT_EQ(log.rows()[16],
              "Thread end on 3/7/2024 at 9.30.0 FAILED: wrong result (1 failed unit in this loop)");
}

TEST_F(LoopRunnerTest, StopRequestTakesEffectAfterTheUnitInProgress) {
    int ticks = 0;
    sink_.onNotice = [&](LoopNotice notice) {
        if (notice == WM_THREAD_TICK && ++ticks == 15) {
            runner_.requestStop();  // in the middle of unit 2
        }
    };
    const LoopLog log = run({LoopMode::Repeat, 0, 0, 5});
    EXPECT_EQ(runner_.unitsRun(), 2);
    EXPECT_EQ(sink_.notices.back(), WM_LOOP_UNIT_END);
    EXPECT_EQ(log.caption(), "Stop Looping Now!!!");
}

TEST_F(LoopRunnerTest, TimeStopEndsWhenHourAndMinuteCome) {
    int ends = 0;
    sink_.onNotice = [&](LoopNotice notice) {
        if (notice == WM_LOOP_UNIT_END) {
            // Same minute an hour early does not count; 24.2 does.
            ++ends;
            clock_.time = ends == 2   ? clockAt(23, 2)
                          : ends == 4 ? clockAt(24, 2, 30)
                                      : clockAt(24, 1);
        }
    };
    const LoopLog log = run(LoopSettings{LoopMode::StopAtTime, 24, 2, 0});
    EXPECT_EQ(runner_.unitsRun(), 4);
    EXPECT_EQ(log.caption(), "Close this window");
}

TEST_F(LoopRunnerTest, SecondLoopIsRefusedWhileTheFirstFinishesItsUnit) {
    std::atomic<bool> inUnit{false};
    std::atomic<bool> release{false};
    sink_.onNotice = [&](LoopNotice notice) {
        if (notice == WM_THREAD_TICK && !inUnit) {
            inUnit = true;
            waitFor(release);
        }
    };
    ASSERT_TRUE(runner_.start(LoopSettings{}, ThreadPriority::Normal, sink_));
    waitFor(inUnit);
    runner_.requestStop();
    test::RecordingLoopSink second(clock_);
    EXPECT_FALSE(runner_.start({LoopMode::Repeat, 0, 0, 1}, ThreadPriority::Normal, second));
    EXPECT_TRUE(runner_.finishing());
    release = true;
    runner_.wait();
    EXPECT_FALSE(runner_.finishing());
}

TEST_F(LoopRunnerTest, DestroyingARunnerStopsItsLoop) {
    std::atomic<bool> running{false};
    sink_.onNotice = [&](LoopNotice notice) {
        if (notice == WM_LOOP_UNIT_END) {
            running = true;
        }
    };
    auto runner =
        std::make_unique<LoopRunner>(clock_, test::smallLoopUnit(), LoopTiming{0, 0}, *matrices_);
    ASSERT_TRUE(runner->start(LoopSettings{}, ThreadPriority::Normal, sink_));
    waitFor(running);
    runner.reset();
    EXPECT_EQ(sink_.notices.back(), WM_LOOP_UNIT_END);
}

}  // namespace
}  // namespace veltrane::burnin
