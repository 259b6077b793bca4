// The scaling run's progress with worker threads ticking while it draws.
#include <gtest/gtest.h>

#include <sstream>
#include <thread>

#include "cli/ScalingProgress.h"

namespace veltrane::cli {
namespace {

// Ticks from many threads while the coordinator draws: only counters touched.
TEST(ScalingProgress, TicksFromManyThreadsAreAllCounted) {
    std::ostringstream out;
    ScalingProgress progress(out, true);
    progress.stepBegins(4);
    progress.testBegins(4, 1);
    std::vector<std::thread> threads;
    for (int thread = 0; thread < 4; ++thread) {
        threads.emplace_back([&progress, thread] {
            for (int i = 0; i < 1000; ++i) {
                progress.tick(thread);
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    suites::ScalingStep step;
    step.threads = 4;
    step.slowestSeconds[0] = 0.25;
    progress.testEnds(step, 1);
    EXPECT_NE(out.str().find("thread 4    1000 ticks"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("done in 0.25 s"), std::string::npos);
}

}  // namespace
}  // namespace veltrane::cli
