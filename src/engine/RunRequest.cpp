#include "engine/RunRequest.h"

#include "engine/TestInfo.h"
#include "ident/ProcessorIdentity.h"
#include "platform/Format.h"

namespace veltrane::engine {

std::array<std::uint8_t, 7> unpackMask(int mask) {
    std::array<std::uint8_t, 7> selected{};
    for (std::size_t bit = 0; bit < selected.size(); ++bit) {
        selected[bit] = static_cast<std::uint8_t>((mask >> bit) & 1);
    }
    return selected;
}

bool suiteSupported(int suite, const ident::ProcessorIdentity& identity) {
    switch (suite) {
        case SuiteSSE:
            return identity.hasSSE() != 0;
        case SuiteSSE2:
            return identity.hasSSE2() != 0;
        case Suite3DNow:
            return identity.has3DNow() != 0;
        default:
            return true;
    }
}

RunPlan planRun(int suite, int mask, const ident::ProcessorIdentity& identity) {
    RunPlan plan;
    plan.fullRun = mask == kFullRunMask;
    if (!plan.fullRun) {
        plan.selected = unpackMask(mask);
    }
    plan.fellBackToStandard = !suiteSupported(suite, identity);
    plan.suite = plan.fellBackToStandard ? SuiteStandard : suite;
    return plan;
}

}  // namespace veltrane::engine
