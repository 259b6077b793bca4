#include "engine/ScalingFigures.h"

#include <algorithm>
#include <charconv>

#include "engine/Scores.h"
#include "engine/SelfCheck.h"
#include "platform/Format.h"

namespace veltrane::engine {

namespace {

// The figures a sum adds up: the seven results and the eight kernel rates.
constexpr std::array<float BenchResult::*, 15> kSummed{
    &BenchResult::integerResult, &BenchResult::floatResult,  &BenchResult::doubleResult,
    &BenchResult::mipsResult,    &BenchResult::mflopsResult, &BenchResult::ramAluResult,
    &BenchResult::ramAluAssign,  &BenchResult::ramAluScale,  &BenchResult::ramAluAdd,
    &BenchResult::ramAluTriad,   &BenchResult::ramFpuResult, &BenchResult::ramFpuAssign,
    &BenchResult::ramFpuScale,   &BenchResult::ramFpuAdd,    &BenchResult::ramFpuTriad,
};

std::string megabytes(std::uint64_t bytes) {
    return strprintf("%llu MB", static_cast<unsigned long long>(bytes / 1000000));
}

}  // namespace

std::optional<ThreadRequest> parseThreadRequest(std::string_view text) {
    if (text == "all") {
        return ThreadRequest{0, true};
    }
    int count = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() || count < 1 ||
        count > kScalingMaxThreads) {
        return std::nullopt;
    }
    return ThreadRequest{count, false};
}

ScalingPlan planScaling(const ThreadRequest& request, bool pin, const std::vector<int>& allowed,
                        std::uint64_t physicalBytes) {
    ScalingPlan plan;
    const int processors = std::max(1, static_cast<int>(allowed.size()));
    const int threads = request.all ? std::min(processors, kScalingMaxThreads) : request.count;
    plan.threadCounts = threads > 1 ? std::vector<int>{1, threads} : std::vector<int>{1};
    if (threads > processors) {
        plan.notices.push_back(strprintf(
            "%d threads on %d processor%s the program may run on: threads share processors, so "
            "each thread's figures drop",
            threads, processors, processors == 1 ? "" : "s"));
    }
    const std::uint64_t arrays = kScalingBytesPerThread * static_cast<std::uint64_t>(threads);
    if (physicalBytes > 0 && arrays > physicalBytes / 2) {
        const auto most = static_cast<int>(physicalBytes / 2 / kScalingBytesPerThread);
        plan.refusal = strprintf(
            "%d threads need %s of arrays, more than half of this machine's %s of memory; "
            "ask for at most %d threads",
            threads, megabytes(arrays).c_str(), megabytes(physicalBytes).c_str(), most);
        return plan;
    }
    if (pin && !allowed.empty()) {
        for (int thread = 0; thread < threads; ++thread) {
            plan.pinTo.push_back(allowed[static_cast<std::size_t>(thread) % allowed.size()]);
        }
    }
    return plan;
}

ScalingSummary summariseScaling(const std::vector<BenchResult>& perThread,
                                const std::array<double, 7>& slowestSeconds,
                                const ScalingSummary* oneThread) {
    ScalingSummary summary;
    summary.threads = static_cast<int>(perThread.size());
    summary.slowestSeconds = slowestSeconds;
    summary.sums.fullRun = 1;
    for (const BenchResult& record : perThread) {
        for (const auto field : kSummed) {
            summary.sums.*field += record.*field;
        }
        summary.trusted = summary.trusted && figuresTrusted(record);
    }
    summary.multiCoreScore = summary.trusted && !perThread.empty() ? overallScore(summary.sums) : 0;
    if (oneThread == nullptr || summary.threads == 0) {
        return summary;
    }
    for (std::size_t i = 0; i < kScalingFigures.size(); ++i) {
        const auto field = kScalingFigures[i].field;
        const double alone = static_cast<double>(oneThread->sums.*field) * summary.threads;
        summary.efficiency[i] = alone > 0 ? summary.sums.*field / alone : 0;
    }
    return summary;
}

}  // namespace veltrane::engine
