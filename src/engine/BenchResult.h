#pragma once

#include <array>
#include <cstdint>

#include "engine/SelfCheck.h"

namespace veltrane::engine {

class ProgressSink;

// The core's own clock just before and just after a test, in MHz (0: not
// measured). A drop of more than 5 % while the test ran is throttling.
struct TestClock {
    float beforeMHz = 0;
    float afterMHz = 0;

    bool throttled() const { return beforeMHz > 0 && afterMHz < beforeMHz * 0.95f; }
};

// The result record of one benchmark thread. Times are in seconds.
struct BenchResult {
    ProgressSink* progressWindow = nullptr;
    float integerTime = 0;
    float floatTime = 0;
    float doubleTime = 0;
    float spareTime = 0;
    float integerResult = 0;
    float floatResult = 0;
    float doubleResult = 0;
    float mipsResult = 0;
    float mflopsResult = 0;
    float mipsTime = 0;
    float mflopsTime = 0;
    float spareResult = 0;
    float ramAluResult = 0;
    float ramAluAssign = 0;
    float ramAluAdd = 0;
    float ramAluScale = 0;
    float ramAluTriad = 0;
    float ramFpuResult = 0;
    float ramFpuAssign = 0;
    float ramFpuAdd = 0;
    float ramFpuScale = 0;
    float ramFpuTriad = 0;
    float overallResult = 0;
    float overallTime = 0;
    std::uint8_t fullRun = 0;
    std::array<std::uint8_t, 7> selected{};
    std::int32_t suite = 0;
    bool stopped = false;  // the run was asked to stop before its last test
    // Each test's check of its own work; a failed one makes its figure invalid.
    std::array<TestCheck, 7> checks{};
    std::array<TestClock, 7> clocks{};
};

// What every driver clears before its first test.
void clearResultFields(BenchResult& record);

// What the progress window clears when it is set up.
void clearOnWindowSetup(BenchResult& record);

}  // namespace veltrane::engine
