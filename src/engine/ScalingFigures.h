#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/BenchResult.h"
#include "engine/StreamBenchmark.h"
#include "engine/TestShapes.h"

namespace veltrane::engine {

// The most threads a scaling run starts; each needs its own arrays.
inline constexpr int kScalingMaxThreads = 1024;

// The arrays of tests 6 and 7 that every thread of a scaling run owns.
inline constexpr std::uint64_t kScalingBytesPerThread = sizeof(StreamArraysFor<kFullSuite.stream>);

// The seven headline figures a scaling run reports, by the JSON record's keys.
struct ScalingFigure {
    const char* key;
    const char* label;
    const char* unit;
    float BenchResult::*field;
    int test;
};

inline constexpr std::array<ScalingFigure, 7> kScalingFigures{{
    {"integer_alumarks", "Integer", "ALUMarks", &BenchResult::integerResult, 1},
    {"float_fpumarks_sp", "FPU SP", "FPUMarks SP", &BenchResult::floatResult, 2},
    {"double_fpumarks_dp", "FPU DP", "FPUMarks DP", &BenchResult::doubleResult, 3},
    {"mips", "MIPS", "MIPS", &BenchResult::mipsResult, 4},
    {"mflops", "MFLOPS", "MFLOPS", &BenchResult::mflopsResult, 5},
    {"ram_alu_mb_per_s", "RAM ALU", "MB/s", &BenchResult::ramAluResult, 6},
    {"ram_fpu_mb_per_s", "RAM FPU", "MB/s", &BenchResult::ramFpuResult, 7},
}};

// The multi-core score's name: CPUMarks' weights on the summed figures, kept
// apart from the suites' own scores.
inline constexpr const char* kMultiCoreScoreName = "Multi-core score";

// What `--threads` asks for: a count, or every processor the program may run on.
struct ThreadRequest {
    int count = 0;  // 0 with `all`
    bool all = false;
};

// "all" or 1 to kScalingMaxThreads; nothing for any other text.
std::optional<ThreadRequest> parseThreadRequest(std::string_view text);

// The thread counts one run measures, in order, and what was said about them.
struct ScalingPlan {
    std::vector<int> threadCounts;  // 1, then N when N > 1
    std::vector<int> pinTo;         // one processor per thread, in order; empty: not pinned
    std::vector<std::string> notices;
    std::optional<std::string> refusal;
};

// `allowed` are the processors the program may run on; `physicalBytes` the
// machine's memory (0: unknown). More threads than processors run, and the
// run says so; more than half the memory in arrays is refused.
ScalingPlan planScaling(const ThreadRequest& request, bool pin, const std::vector<int>& allowed,
                        std::uint64_t physicalBytes);

// One thread count's figures: the threads' own, summed, and how they scaled.
struct ScalingSummary {
    int threads = 0;
    BenchResult sums;                    // every figure and kernel rate summed over the threads
    float multiCoreScore = 0;            // 0 when a figure cannot be trusted
    std::array<double, 7> efficiency{};  // sum / (threads x one thread's); 0: not known
    std::array<double, 7> slowestSeconds{};
    bool trusted = true;  // every thread passed the check of every test
};

// `oneThread` is the one-thread summary of the same run, for the efficiencies.
ScalingSummary summariseScaling(const std::vector<BenchResult>& perThread,
                                const std::array<double, 7>& slowestSeconds,
                                const ScalingSummary* oneThread);

}  // namespace veltrane::engine
