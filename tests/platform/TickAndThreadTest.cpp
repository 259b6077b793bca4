// These check the real clock and scheduler, in ways any Linux machine allows.
#include <gtest/gtest.h>
#include <sched.h>

#include <atomic>

#include "platform/Threads.h"
#include "platform/Tick.h"

namespace veltrane::platform {
namespace {

TEST(Tick, CountsFromProgramStartAndAdvancesWithSleep) {
    const std::uint32_t before = timeGetTime();
    EXPECT_LT(before, 10u * 60u * 1000u);  // a test binary is minutes old at most
    sleepMs(20);
    const std::uint32_t after = systemTicks().now();
    EXPECT_GE(after - before, 19u);
    EXPECT_LT(after - before, 5000u);
}

TEST(Threads, IdleThreadRunsUnderTheIdlePolicy) {
    std::atomic<int> policy{-1};
    startThread(ThreadPriority::Idle, [&] { policy = sched_getscheduler(0); }).join();
    EXPECT_EQ(policy.load(), SCHED_IDLE);
}

TEST(Threads, TimeCriticalRequestIsAnsweredAndTheWorkRuns) {
    std::atomic<bool> ran{false};
    startThread(ThreadPriority::TimeCritical, [&] { ran = true; }).join();
    EXPECT_TRUE(ran.load());
    const auto grant = timeCriticalGrant();
    EXPECT_NE(grant, PriorityGrant::NotAsked);
    EXPECT_NE(std::string(timeCriticalGrantText(grant)), "");
}

}  // namespace
}  // namespace veltrane::platform
