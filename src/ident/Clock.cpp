#include "ident/Clock.h"

#include "ident/ClockTexts.h"
#include "ident/ProcessorIdentity.h"
#include "platform/Threads.h"

namespace veltrane::ident {

namespace {

constexpr std::uint32_t kEdgeWaitMs = 1;
constexpr std::uint32_t kWindowMs = 2000;

// Spins until the tick has moved more than `span` past `from`.
std::uint32_t spinPast(platform::TickSource& ticks, std::uint32_t from, std::uint32_t span) {
    std::uint32_t now = ticks.now();
    while (now - from <= span) {
        now = ticks.now();
    }
    return now;
}

}  // namespace

void ClockState::publish(float clockMHz, std::string ratingText) {
    ratingText_ = std::move(ratingText);
    clockMHz_.store(clockMHz, std::memory_order_release);
    measured_.store(true, std::memory_order_release);
}

ClockState& clockState() {
    static ClockState state;
    return state;
}

float clockFromCounter(std::uint64_t counterTicks, std::uint32_t windowMs) {
    if (windowMs == 0) {
        return 0.0f;
    }
    return static_cast<float>(static_cast<double>(counterTicks) / (windowMs * 1000.0));
}

void measureClock(const ProcessorIdentity& identity, ClockState& state,
                  platform::TickSource& ticks) {
    if (!state.claim()) {
        return;
    }
    const auto& probe = identity.probe();
    const std::uint32_t start = spinPast(ticks, ticks.now(), kEdgeWaitMs);
    const std::uint64_t c0 = probe.readTimeStampCounter();
    const std::uint32_t end = spinPast(ticks, start, kWindowMs);
    const std::uint64_t c1 = probe.readTimeStampCounter();
    const float mhz = clockFromCounter(c1 - c0, end - start);
    const bool rated = ratingApplies(identity.vendor, identity.family, identity.model);
    state.publish(mhz, rated ? ratingText(mhz) : std::string());
}

std::thread startClockMeasurement(const ProcessorIdentity& identity, ClockState& state) {
    return platform::startThread(platform::ThreadPriority::TimeCritical,
                                 [identity, &state] { measureClock(identity, state); });
}

}  // namespace veltrane::ident
