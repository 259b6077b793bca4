#include "shellcore/ProcessorToday.h"

#include "ident/ClockFacts.h"
#include "ident/FeatureFlagsPage.h"
#include "ident/TodaysNames.h"
#include "reports/LadderView.h"

namespace veltrane::shellcore {

namespace {

std::string joined(const std::vector<std::string>& words) {
    std::string text;
    for (const auto& word : words) {
        text += (text.empty() ? "" : " ") + word;
    }
    return text.empty() ? "(none)" : text;
}

bool isThisMachine(const ident::MachineFacts& machine) {
    return &machine.identity.probe() == &platform::nativeCpuProbe();
}

// Measured for this machine once its counter's rate is known; a recorded
// processor's clocks cannot be.
ident::ClockFacts clockFacts(const ident::MachineFacts& machine) {
    if (!isThisMachine(machine)) {
        ident::ClockFacts clocks;
        clocks.notMeasured = "a recorded processor";
        return clocks;
    }
    return ident::measureClockFacts(machine.clockMHz());
}

}  // namespace

ProcessorTodayPage processorTodayPage(const ident::MachineFacts& machine,
                                      const ident::ModelTable& models) {
    const auto& layout = machine.layout;
    const auto flags = ident::featureFlagsPage(machine.identity.probe());
    return {ident::topologyRows(layout.topology, layout.allowed),
            ident::cacheLevelRows(layout.caches),
            ident::todaysNameRows(ident::todaysNames(machine.identity, models)),
            ident::clockRows(clockFacts(machine)),
            flags.heading,
            joined(flags.flags),
            flags.vectorState};
}

std::optional<LadderPlan> ladderPlan(const ident::MachineFacts& machine) {
    if (!isThisMachine(machine)) {
        return std::nullopt;
    }
    const auto sizes = reports::ladderMachine(machine);
    return LadderPlan{sizes, engine::ladderRungs(sizes), engine::LadderTiming{}};
}

engine::LadderResult runLadderPlan(const LadderPlan& plan, const engine::LadderProgress& progress,
                                   const std::atomic<bool>& cancel) {
    return engine::runMemoryLadder(plan.machine, plan.rungs, plan.timing, progress, cancel);
}

}  // namespace veltrane::shellcore
