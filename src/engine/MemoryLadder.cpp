#include "engine/MemoryLadder.h"

#include <algorithm>

#include "platform/Format.h"

namespace veltrane::engine {

namespace {

constexpr double kMB = 1e6;  // as test 7's figures count

double triadMB(std::size_t doubles, int repetitions) {
    return static_cast<double>(rungWorkingSet(doubles)) * repetitions / kMB;
}

// The rung's figure, or what stopped it from having one.
RungResult rungResult(const LadderRung& rung, const RungMeasure& measure) {
    RungResult result{rung, 0, measure.repetitions, measure.check};
    if (measure.outOfMemory) {
        result.check = checkFailed("not enough memory for the arrays");
    } else if (result.check.state == CheckState::Passed) {
        result.mbPerSecond =
            triadMB(rung.doubles, measure.repetitions) / std::max(measure.bestSeconds, 1e-9);
    }
    return result;
}

}  // namespace

std::uint64_t rungWorkingSet(std::size_t doubles) {
    return 3ull * sizeof(double) * doubles;
}

std::uint64_t lastLevelCache(const LadderMachine& machine) {
    return std::max({machine.l1Bytes, machine.l2Bytes, machine.l3Bytes});
}

std::string ladderLevel(std::uint64_t workingSetBytes, const LadderMachine& machine) {
    const std::pair<std::uint64_t, const char*> levels[] = {
        {machine.l1Bytes, "L1"}, {machine.l2Bytes, "L2"}, {machine.l3Bytes, "L3"}};
    for (const auto& [size, name] : levels) {
        if (size != 0 && workingSetBytes <= size) {
            return name;
        }
    }
    return lastLevelCache(machine) != 0 ? "main memory" : "unknown";
}

std::vector<LadderRung> ladderRungs(const LadderMachine& machine) {
    const std::uint64_t llc = lastLevelCache(machine);
    std::vector<LadderRung> rungs;
    for (int k = kFirstRungExponent; k <= kLastRungExponent; ++k) {
        const std::size_t doubles = kRungBaseDoubles << k;
        const std::uint64_t bytes = rungWorkingSet(doubles);
        const bool tooLarge = llc == 0 && bytes > kUnknownCacheLimitBytes;
        // Never so much that the system would have to swap or end the program.
        const bool tooMuchMemory = machine.memoryBytes != 0 && bytes > machine.memoryBytes / 2;
        if (tooLarge || tooMuchMemory) {
            break;
        }
        rungs.push_back({k, doubles, bytes, ladderLevel(bytes, machine)});
        if (llc != 0 && bytes >= 4 * llc) {
            break;
        }
    }
    return rungs;
}

LadderResult runMemoryLadder(const LadderMachine& machine, const std::vector<LadderRung>& rungs,
                             const LadderTiming& timing, const LadderProgress& progress,
                             const std::atomic<bool>& cancel) {
    LadderResult result{{}, machine, timing, static_cast<int>(rungs.size()), false, false};
    const std::uint64_t llc = lastLevelCache(machine);
    result.reachesMainMemory =
        llc != 0 && !rungs.empty() && rungs.back().workingSetBytes >= 4 * llc;
    const int count = static_cast<int>(rungs.size());
    for (int i = 0; i < count; ++i) {
        if (progress) {
            progress(i, count);  // which may ask to stop
        }
        if (cancel.load()) {
            result.stopped = true;
            break;
        }
        const LadderRung& rung = rungs[static_cast<std::size_t>(i)];
        const RungMeasure measure = measureRung(rung.exponent, timing, cancel);
        if (measure.cancelled) {
            result.stopped = true;
            break;
        }
        result.rungs.push_back(rungResult(rung, measure));
    }
    return result;
}

bool isMainMemoryRung(const LadderResult& result, std::size_t index) {
    return result.reachesMainMemory && !result.stopped && index + 1 == result.rungs.size();
}

TestCheck checkTriadArrays(const double* a, const double* b, const double* c, std::size_t count) {
    const double expectedC = 3.0 * kLadderA + kLadderB;  // exact in doubles
    const std::pair<const double*, double> arrays[] = {
        {a, kLadderA}, {b, kLadderB}, {c, expectedC}};
    for (std::size_t k = 0; k < 3; ++k) {
        for (std::size_t i = 0; i < count; ++i) {
            if (arrays[k].first[i] != arrays[k].second) {
                return checkFailed(strprintf("array %c element %zu is %.17g, not %.17g",
                                             static_cast<char>('a' + k), i, arrays[k].first[i],
                                             arrays[k].second));
            }
        }
    }
    return checkPassed();
}

std::string rungProgressText(const std::vector<LadderRung>& rungs, int rung, int count) {
    const auto index = static_cast<std::size_t>(rung);
    if (rung < 0 || index >= rungs.size()) {
        return strprintf("Rung %d of %d", rung + 1, count);
    }
    return strprintf("Rung %d of %d: %s (%s)", rung + 1, count,
                     workingSetText(rungs[index].workingSetBytes).c_str(),
                     rungs[index].level.c_str());
}

std::string workingSetText(std::uint64_t bytes) {
    const double kb = static_cast<double>(bytes) / 1024.0;
    if (kb < 1024.0) {
        return strprintf("%.0f KB", kb);
    }
    const double mb = kb / 1024.0;
    return mb < 1024.0 ? strprintf("%.3g MB", mb) : strprintf("%.3g GB", mb / 1024.0);
}

std::vector<std::string> ladderNotes(const LadderResult& result) {
    std::vector<std::string> notes;
    notes.push_back(strprintf(
        "Each rung runs test 7's FPU Triad (c = 3a + b over three arrays of doubles) on a working "
        "set of that size; MB/s counts 3 x 8 bytes an element (1 MB = 10^6 bytes), best of %d "
        "timed batches of about %.0f ms.",
        result.timing.batches, result.timing.batchSeconds * 1000.0));
    if (!result.rungs.empty() && isMainMemoryRung(result, result.rungs.size() - 1)) {
        const RungResult& top = result.rungs.back();
        notes.push_back(strprintf(
            "Main memory: the largest rung, %s, at least four times the %s last-level cache.",
            workingSetText(top.rung.workingSetBytes).c_str(),
            workingSetText(lastLevelCache(result.machine)).c_str()));
    } else if (lastLevelCache(result.machine) == 0) {
        notes.push_back(
            "The cache sizes are not known: the ladder stops at 256 MB, and no rung is "
            "surely main memory.");
    } else if (!result.stopped) {
        notes.push_back(
            "No rung reached four times the last-level cache (the arrays may take at most half "
            "the memory): no figure here is surely main memory.");
    }
    notes.push_back(
        "The benchmark's test 7 (\"RAM FPU\", 8 MB arrays) keeps its own name and figure; where "
        "its arrays fit in the cache it measures the cache, not main memory.");
    if (result.stopped) {
        notes.push_back(
            strprintf("Stopped after %zu of %d rungs.", result.rungs.size(), result.planned));
    }
    return notes;
}

}  // namespace veltrane::engine
