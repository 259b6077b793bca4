#include "shellcore/ProcessorToday.h"

#include "ident/ClockFacts.h"
#include "ident/FeatureFlagsPage.h"
#include "ident/TodaysNames.h"
#include "reports/LadderView.h"

namespace veltrane::shellcore {

ProcessorTodayPage processorTodayPage(const ident::MachineFacts& machine,
                                      const ident::ModelTable& models) {
    const auto& layout = machine.layout;
    const auto flags = ident::featureFlagsPage(machine.identity.probe());
    return {ident::topologyRows(layout.topology, layout.allowed),
            ident::cacheLevelRows(layout.caches),
            ident::todaysNameRows(ident::todaysNames(machine.identity, models)),
            ident::clockRows(ident::clockFactsOf(machine.identity.probe(), machine.clockMHz())),
            flags.heading,
            ident::flagsLine(flags),
            flags.vectorState};
}

std::optional<LadderPlan> ladderPlan(const ident::MachineFacts& machine) {
    if (!platform::readsThisProcessor(machine.identity.probe())) {
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
