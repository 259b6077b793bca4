#include "reports/LadderView.h"

#include <cmath>

#include "ident/CacheGeometry.h"
#include "platform/Format.h"

namespace veltrane::reports {

namespace {

// Light, so the black labels drawn over the bars stay readable.
constexpr PackedColor kCacheBar = packedColor(0x9C, 0xC3, 0xF0);
constexpr PackedColor kMemoryBar = packedColor(0xF0, 0xA8, 0x70);

std::uint64_t dataCacheBytes(const std::vector<ident::CacheGeometry>& caches, int level) {
    const auto* cache = ident::findCache(caches, level, ident::CacheType::data);
    return cache != nullptr && cache->sizeKB > 0 ? static_cast<std::uint64_t>(cache->sizeKB) * 1024
                                                 : 0;
}

std::int32_t barValue(double mbPerSecond) {
    return static_cast<std::int32_t>(std::min(std::lround(mbPerSecond), 2'000'000'000L));
}

}  // namespace

engine::LadderMachine ladderMachine(const ident::MachineFacts& machine) {
    const auto& caches = machine.layout.caches.caches;
    return {dataCacheBytes(caches, 1), dataCacheBytes(caches, 2), dataCacheBytes(caches, 3),
            static_cast<std::uint64_t>(machine.memory.totalPhysMB()) << 20};
}

std::string rungLabel(const engine::RungResult& rung) {
    const std::string where =
        engine::workingSetText(rung.rung.workingSetBytes) + " (" + rung.rung.level + "): ";
    return where + (rung.measured() ? strprintf("%.0f MB/s", rung.mbPerSecond)
                                    : std::string("check failed"));
}

ChartData ladderChart(const engine::LadderResult& result) {
    ChartData chart = chartPageDefaults();
    chart.title = "Test 7's Triad over growing working sets";
    chart.units = {"MB/s"};
    chart.caption = "Working set (level): MB/s";
    chart.fillMode = FillMode::standard;
    chart.groupCount = static_cast<int>(result.rungs.size());
    chart.showScale = chart.groupCount > 0;
    for (std::size_t i = 0; i < result.rungs.size(); ++i) {
        const auto& rung = result.rungs[i];
        ChartEntry entry(rung.measured() ? barValue(rung.mbPerSecond) : 0,
                         engine::isMainMemoryRung(result, i) ? kMemoryBar : kCacheBar);
        entry.label = rungLabel(rung);
        chart.entries.push_back(std::move(entry));
    }
    return chart;
}

nlohmann::ordered_json ladderJson(const engine::LadderResult& result, const std::string& program) {
    const auto& m = result.machine;
    nlohmann::ordered_json rungs = nlohmann::ordered_json::array();
    for (std::size_t i = 0; i < result.rungs.size(); ++i) {
        const auto& rung = result.rungs[i];
        nlohmann::ordered_json entry{{"working_set_bytes", rung.rung.workingSetBytes},
                                     {"elements_per_array", rung.rung.doubles},
                                     {"level", rung.rung.level},
                                     {"main_memory", engine::isMainMemoryRung(result, i)},
                                     {"repetitions_per_batch", rung.repetitions},
                                     {"passed", rung.measured()}};
        if (rung.measured()) {
            entry["triad_mb_per_s"] = rung.mbPerSecond;
        } else {
            entry["detail"] = rung.check.detail;
        }
        rungs.push_back(std::move(entry));
    }
    return {
        {"schema_version", kLadderJsonSchemaVersion},
        {"program", program},
        {"caches",
         {{"l1_data_bytes", m.l1Bytes},
          {"l2_bytes", m.l2Bytes},
          {"l3_bytes", m.l3Bytes},
          {"memory_bytes", m.memoryBytes}}},
        {"timing", {{"batch_s", result.timing.batchSeconds}, {"batches", result.timing.batches}}},
        {"rungs_planned", result.planned},
        {"stopped", result.stopped},
        {"reaches_main_memory", result.reachesMainMemory},
        {"rungs", std::move(rungs)},
        {"notes", engine::ladderNotes(result)}};
}

}  // namespace veltrane::reports
