// The ladder as the desktop runs it: on a worker thread, stopped from another.
#include <gtest/gtest.h>

#include <thread>

#include "engine/MemoryLadder.h"

namespace veltrane::engine {
namespace {

TEST(LadderThread, ACancelFromAnotherThreadStopsItBetweenBatches) {
    const LadderMachine machine{32 << 10, 256 << 10, 8 << 20, 0};
    auto rungs = ladderRungs(machine);
    rungs.resize(4);
    std::atomic<bool> cancel{false};
    std::atomic<int> started{0};
    LadderResult result;
    std::thread worker([&] {
        // Batches long enough that the whole ladder would take minutes.
        result = runMemoryLadder(
            machine, rungs, {0.05, 1000}, [&](int rung, int) { started = rung + 1; }, cancel);
    });
    while (started.load() == 0) {
        std::this_thread::yield();
    }
    cancel = true;
    worker.join();
    EXPECT_TRUE(result.stopped);
    EXPECT_TRUE(result.rungs.empty());
    EXPECT_EQ(result.planned, 4);
}

}  // namespace
}  // namespace veltrane::engine
