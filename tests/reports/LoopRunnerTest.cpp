#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>
#include <type_traits>

#include "LoopFakes.h"
#include "reports/LoopRunner.h"

namespace veltrane::reports {
namespace {

using platform::ThreadPriority;
using test::clockAt;

constexpr LoopTiming kNoPauses{0, 0};

LoopSettings repeat(std::int32_t cycles) {
    LoopSettings settings;
    settings.mode = LoopMode::Repeat;
    settings.repeatCycles = cycles;
    return settings;
}

template <typename T>
long count(const std::vector<T>& items, const std::type_identity_t<T>& which) {
    return std::count(items.begin(), items.end(), which);
}

// A one-shot gate one thread opens and another waits for.
struct Gate {
    std::atomic<bool> isOpen{false};
    void open() { isOpen = true; }
    void waitOpen() const {
        while (!isOpen) {
            std::this_thread::yield();
        }
    }
};

class LoopRunnerTest : public ::testing::Test {
protected:
    // Runs `cycles` cycles to the end and gives the log.
    LoopLog runRepeat(std::int32_t cycles, ThreadPriority priority = ThreadPriority::Normal) {
        EXPECT_TRUE(runner_.start(repeat(cycles), priority, sink_));
        runner_.wait();
        return sink_.snapshot();
    }

    test::FakeLoopClock clock_{clockAt(9, 30)};
    test::RecordingLoopSink sink_{clock_};
    std::unique_ptr<LoopMatrices> matrices_ = std::make_unique<LoopMatrices>();
    LoopRunner runner_{clock_, test::smallLoopUnit(), kNoPauses, *matrices_};
};

TEST_F(LoopRunnerTest, RepeatOneRunsTenUnitsUnderCycleOneThenCloses) {
    const LoopLog log = runRepeat(1);
    EXPECT_EQ(runner_.unitsRun(), 10);
    ASSERT_EQ(log.rows().size(), 2u + 10u * 4u);
    for (std::size_t unit = 0; unit < 10; ++unit) {
        EXPECT_EQ(log.rows()[2 + unit * 4], "Thread start on 3/7/2024 at 9.30.0...");
        EXPECT_EQ(log.rows()[4 + unit * 4], "Thread end on 3/7/2024 at 9.30.0 without errors");
    }
    EXPECT_EQ(log.rows().front(), "Loop Cycle 1 started");
    EXPECT_EQ(count(sink_.notices(), WM_THREAD_TICK), 100);
    EXPECT_EQ(log.caption(), "Close this window");
    EXPECT_EQ(log.status().runMode, "Running 1 Cycles");
    EXPECT_EQ(sink_.finishedCalls(), 1);
}

TEST_F(LoopRunnerTest, RepeatTwoOpensCycleTwoBeforeTheEleventhUnitAndRepeatZeroRunsNothing) {
    const LoopLog log = runRepeat(2, ThreadPriority::Idle);
    EXPECT_EQ(runner_.unitsRun(), 20);
    ASSERT_EQ(log.rows().size(), 2u * (2u + 10u * 4u));
    EXPECT_EQ(log.rows()[2 + 10 * 4], "Loop Cycle 2 started");
    EXPECT_EQ(log.rows()[2 + 10 * 4 + 2], "Thread start on 3/7/2024 at 9.30.0...");
    EXPECT_EQ(log.rows().back(), "");
    EXPECT_EQ(count(log.rows(), "Thread end on 3/7/2024 at 9.30.0 without errors"), 20);
    EXPECT_EQ(log.caption(), "Close this window");
    const LoopLog none = runRepeat(0);
    EXPECT_EQ(runner_.unitsRun(), 0);
    EXPECT_TRUE(none.rows().empty());
    EXPECT_EQ(none.caption(), "Close this window");
}

TEST_F(LoopRunnerTest, CorruptedUnitIsLoggedAsFailedAndCounted) {
    runner_.setResultHook([](std::int64_t unit, LoopMatrices& m) {
        if (unit == 3) {
            m.result[17][4] ^= 1;
        }
    });
    const LoopLog log = runRepeat(1);
    EXPECT_EQ(runner_.failedUnits(), 1);
    EXPECT_EQ(log.failedUnits(), 1);
    EXPECT_EQ(count(log.rows(), "Thread end on 3/7/2024 at 9.30.0 without errors"), 9);
    // Unit 4's end row: cycle line, then four rows per unit.
    EXPECT_EQ(log.rows()[2 + 3 * 4 + 2],
              "Thread end on 3/7/2024 at 9.30.0 FAILED: wrong result (1 failed unit in this loop)");
}

TEST_F(LoopRunnerTest, StopRequestTakesEffectAfterTheUnitInProgress) {
    int ticks = 0;
    sink_.onNotice = [&](LoopNotice notice) {
        if (notice == WM_THREAD_TICK && ++ticks == 15) {
            runner_.requestStop();  // in the middle of unit 2
        }
    };
    ASSERT_TRUE(runner_.start(repeat(5), ThreadPriority::Normal, sink_));
    runner_.wait();
    const auto notices = sink_.notices();
    EXPECT_EQ(runner_.unitsRun(), 2);
    EXPECT_EQ(count(notices, WM_THREAD_TICK), 20);
    EXPECT_EQ(notices.back(), WM_LOOP_UNIT_END);
    EXPECT_EQ(sink_.finishedCalls(), 0);
    EXPECT_EQ(sink_.snapshot().caption(), "Stop Looping Now!!!");
}

TEST_F(LoopRunnerTest, TimeStopEndsWhenHourAndMinuteCome) {
    LoopSettings settings;
    settings.mode = LoopMode::StopAtTime;
    settings.stopHour = 24;
    settings.stopMinute = 2;
    int ends = 0;
    sink_.onNotice = [&](LoopNotice notice) {
        if (notice != WM_LOOP_UNIT_END) {
            return;
        }
        ++ends;
        // Same minute an hour early does not count; 24.2 does.
        clock_.set(ends == 2 ? clockAt(23, 2) : ends == 4 ? clockAt(24, 2, 30) : clockAt(24, 1));
    };
    ASSERT_TRUE(runner_.start(settings, ThreadPriority::Normal, sink_));
    runner_.wait();
    EXPECT_EQ(runner_.unitsRun(), 4);
    EXPECT_EQ(sink_.snapshot().caption(), "Close this window");
    EXPECT_EQ(sink_.snapshot().status().stopAt, "24.2");
}

TEST_F(LoopRunnerTest, SecondLoopIsRefusedWhileTheFirstFinishesItsUnit) {
    Gate inUnit;
    Gate release;
    bool firstTick = true;
    sink_.onNotice = [&](LoopNotice notice) {
        if (notice == WM_THREAD_TICK && firstTick) {
            firstTick = false;
            inUnit.open();
            release.waitOpen();
        }
    };
    ASSERT_TRUE(runner_.start(LoopSettings{}, ThreadPriority::Normal, sink_));
    inUnit.waitOpen();
    runner_.requestStop();
    test::RecordingLoopSink second(clock_);
    EXPECT_FALSE(runner_.start(repeat(1), ThreadPriority::Normal, second));
    EXPECT_TRUE(runner_.finishing());
    EXPECT_TRUE(second.notices().empty());
    release.open();
    runner_.wait();
    EXPECT_EQ(runner_.unitsRun(), 1);
    EXPECT_FALSE(runner_.finishing());

    // Once it has ended a new loop starts, its log again from cycle 1.
    ASSERT_TRUE(runner_.start(repeat(1), ThreadPriority::Normal, second));
    runner_.wait();
    EXPECT_EQ(second.snapshot().rows().front(), "Loop Cycle 1 started");
    EXPECT_EQ(runner_.unitsRun(), 10);
}

TEST_F(LoopRunnerTest, DestroyingARunnerStopsItsLoop) {
    Gate running;
    sink_.onNotice = [&](LoopNotice notice) {
        if (notice == WM_LOOP_UNIT_END) {
            running.open();
        }
    };
    auto runner =
        std::make_unique<LoopRunner>(clock_, test::smallLoopUnit(), kNoPauses, *matrices_);
    ASSERT_TRUE(runner->start(LoopSettings{}, ThreadPriority::Normal, sink_));
    running.waitOpen();
    runner.reset();
    EXPECT_EQ(sink_.notices().back(), WM_LOOP_UNIT_END);
}

}  // namespace
}  // namespace veltrane::reports
