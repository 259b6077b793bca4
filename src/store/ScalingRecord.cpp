#include "store/ScalingRecord.h"

#include "engine/TestInfo.h"
#include "reports/RunJsonDocument.h"
#include "reports/ScalingJson.h"
#include "store/RunRecord.h"

namespace veltrane::store {

ScalingRunRow scalingRunRow(const reports::ScalingContext& context, const std::string& origin) {
    ScalingRunRow row;
    row.finishedAt = reports::utcTimestamp(context.finishedAt);
    row.origin = origin;
    row.machine = defaultMachineName(context.machine, engine::SuiteStandard);
    const auto& summaries = context.outcome.summaries;
    for (const engine::ScalingSummary& summary : summaries) {
        row.trusted = row.trusted && summary.trusted;
    }
    if (!summaries.empty()) {
        row.maxThreads = summaries.back().threads;
        row.multiCoreScore = context.outcome.stopped ? 0 : summaries.back().multiCoreScore;
    }
    row.scalingJson = reports::runJsonText(reports::scalingJson(context));
    return row;
}

std::string scalingHistoryId(std::int64_t id) {
    return kScalingIdPrefix + std::to_string(id);
}

}  // namespace veltrane::store
