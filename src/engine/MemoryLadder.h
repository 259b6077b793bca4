#pragma once

// The memory ladder: test 7's Triad kernel over working sets from about
// 16 KB up to four times the last-level cache, one figure per rung, so the
// caches and main memory each show their own bandwidth.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/SelfCheck.h"

namespace veltrane::engine {

// The data caches and memory of the machine, in bytes; 0 where not known.
struct LadderMachine {
    std::uint64_t l1Bytes = 0;
    std::uint64_t l2Bytes = 0;
    std::uint64_t l3Bytes = 0;
    std::uint64_t memoryBytes = 0;  // physical memory
};

// Rung k's arrays hold 40 x 2^k doubles each: whole iterations of the
// kernel at every size. The first rung is k = 4 (15 KB of three arrays).
inline constexpr int kFirstRungExponent = 4;
inline constexpr int kLastRungExponent = 23;  // 8 GB, for the largest caches made
inline constexpr std::size_t kRungBaseDoubles = 40;
// With the last-level cache unknown, the ladder stops at 256 MB.
inline constexpr std::uint64_t kUnknownCacheLimitBytes = 256ull << 20;

struct LadderRung {
    int exponent = 0;  // the arrays hold kRungBaseDoubles << exponent doubles
    std::size_t doubles = 0;
    std::uint64_t workingSetBytes = 0;  // the three arrays
    std::string level;                  // "L1", "L2", "L3", "main memory" or "unknown"
};

// The three arrays of `doubles` elements each, in bytes.
std::uint64_t rungWorkingSet(std::size_t doubles);

// The level a working set fits in: the smallest known cache at least as
// large, "main memory" beyond the largest known one, "unknown" when no cache
// size is known.
std::string ladderLevel(std::uint64_t workingSetBytes, const LadderMachine& machine);

// The largest known cache, 0 when none is known.
std::uint64_t lastLevelCache(const LadderMachine& machine);

// The rungs to run: from the first up to the first at or above four times the
// last-level cache (up to 256 MB when it is unknown), never one that would
// take more than half the physical memory.
std::vector<LadderRung> ladderRungs(const LadderMachine& machine);

// How the rungs are timed: batches of repetitions lasting about
// `batchSeconds`, the best of `batches` batches.
struct LadderTiming {
    double batchSeconds = 0.03;
    int batches = 3;
};

struct RungResult {
    LadderRung rung;
    double mbPerSecond = 0;  // Triad bytes (3 x 8 x elements, 1 MB = 10^6 bytes) x reps / time
    int repetitions = 0;     // per batch
    TestCheck check;
    bool measured() const { return check.state == CheckState::Passed; }
};

struct LadderResult {
    std::vector<RungResult> rungs;
    LadderMachine machine;
    LadderTiming timing;
    int planned = 0;       // rungs planned; fewer results when stopped
    bool stopped = false;  // cancelled before the last rung
    // The largest rung planned is at or above four times a known last-level
    // cache: its figure is main memory's.
    bool reachesMainMemory = false;
};

// Whether rung `index` of the result is the one whose figure is main
// memory's: the last of a ladder that reached it and ran to its end.
bool isMainMemoryRung(const LadderResult& result, std::size_t index);

// Called before each rung with its index (from 0) and the count of rungs.
using LadderProgress = std::function<void(int rung, int count)>;

// Runs `rungs` in order; `cancel` is read between batches, and a rung it
// interrupts is left out of the result.
LadderResult runMemoryLadder(const LadderMachine& machine, const std::vector<LadderRung>& rungs,
                             const LadderTiming& timing, const LadderProgress& progress,
                             const std::atomic<bool>& cancel);

// The arrays after Triad passes from a = 1, b = 2: a and b unchanged, every
// c exactly 3 a + b = 5.
TestCheck checkTriadArrays(const double* a, const double* b, const double* c, std::size_t count);

// The values the arrays are filled with before the passes.
inline constexpr double kLadderA = 1.0;
inline constexpr double kLadderB = 2.0;
inline constexpr double kLadderC = 0.0;

// One rung measured: the kernel over arrays of kRungBaseDoubles << exponent
// doubles. Built with the fixed flags of the timed routines.
struct RungMeasure {
    double bestSeconds = 0;  // of one batch
    int repetitions = 0;
    TestCheck check;
    bool cancelled = false;
    bool outOfMemory = false;
};
RungMeasure measureRung(int exponent, const LadderTiming& timing, const std::atomic<bool>& cancel);

// "Rung 3 of 18: 60 KB (L2)", naming rung `rung` (from 0) of `rungs`.
std::string rungProgressText(const std::vector<LadderRung>& rungs, int rung, int count);

// "15 KB", "960 KB", "1.9 MB", "1.9 GB" (of 1024).
std::string workingSetText(std::uint64_t bytes);

// The notes under the ladder's table or chart: how the figures are made,
// which one is main memory's, and how test 7 relates to them.
std::vector<std::string> ladderNotes(const LadderResult& result);

}  // namespace veltrane::engine
