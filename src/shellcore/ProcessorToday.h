#pragma once

// The "Processor today" page without Qt: its rows and texts, and the memory
// ladder it may run.

#include <optional>
#include <string>
#include <vector>

#include "engine/MemoryLadder.h"
#include "ident/MachineFacts.h"
#include "ident/ModernModels.h"

namespace veltrane::shellcore {

struct ProcessorTodayPage {
    std::vector<ident::LabelledValue> topology;
    std::vector<ident::LabelledValue> caches;
    std::vector<ident::LabelledValue> names;
    std::vector<ident::LabelledValue> clocks;
    std::string flagsHeading;
    std::string flags;  // every flag CPUID sets, separated by blanks; "(none)" when none
    std::vector<ident::LabelledValue> vectorState;
};

ProcessorTodayPage processorTodayPage(const ident::MachineFacts& machine,
                                      const ident::ModelTable& models);

// What the ladder runs: the machine's sizes, its rungs and their timing.
struct LadderPlan {
    engine::LadderMachine machine;
    std::vector<engine::LadderRung> rungs;
    engine::LadderTiming timing;
};

// The ladder of the machine, or none for a recorded dump: the ladder
// measures the processor it runs on.
std::optional<LadderPlan> ladderPlan(const ident::MachineFacts& machine);

inline constexpr const char* kLadderThisMachineOnly =
    "The memory ladder measures this machine only, not a recorded processor";

// Runs the plan (see engine::runMemoryLadder).
engine::LadderResult runLadderPlan(const LadderPlan& plan, const engine::LadderProgress& progress,
                                   const std::atomic<bool>& cancel);

}  // namespace veltrane::shellcore
