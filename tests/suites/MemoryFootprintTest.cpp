// Reads this process's resident memory from /proc: Linux only, as is the program.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "engine/StreamBenchmark.h"
#include "engine/TestShapes.h"
#include "support/RecordingSink.h"

namespace veltrane::engine {
namespace {

double residentMegabytes() {
    std::ifstream statm("/proc/self/statm");
    long total = 0;
    long resident = 0;
    statm >> total >> resident;
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) / 1e6;
}

TEST(StreamArrays, AStandardRunTouchesOnlyTheStandardSet) {
    // Five sets of 48 MB are in the program image; a standard run may bring in
    // its own 48 MB and nothing of the other four.
    test::RecordingSink sink;
    BenchResult record;
    record.progressWindow = &sink;
    const double before = residentMegabytes();
    StreamAluBenchmark<kFullSuite.stream>(record);
    StreamFpuBenchmark<kFullSuite.stream>(record);
    const double grown = residentMegabytes() - before;
    std::printf("resident memory grew by %.1f MB\n", grown);
    EXPECT_GT(grown, 40.0);
    EXPECT_LT(grown, 100.0);
}

}  // namespace
}  // namespace veltrane::engine
