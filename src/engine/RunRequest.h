#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/BenchResult.h"

namespace veltrane::ident {
class ProcessorIdentity;
}  // namespace veltrane::ident

namespace veltrane::engine {

inline constexpr int kFullRunMask = 255;

inline constexpr const char* kUnsupportedModeWarning =
    "Warning: Your CPU doesn't support this optimization mode: Continuing in Standard mode.";
inline constexpr const char* kRunInProgressWarning =
    "A benchmark is already running. Wait for it to finish before starting another.";

// What a run request (suite number and test mask) comes to.
struct RunPlan {
    int suite = 3;
    bool fullRun = true;
    std::array<std::uint8_t, 7> selected{};
    bool fellBackToStandard = false;  // show kUnsupportedModeWarning
};

// Bits 0-6 of the mask, test 1 first.
std::array<std::uint8_t, 7> unpackMask(int mask);

// The suite's processor requirement, asked afresh: SSE, SSE2, 3DNow! or none.
bool suiteSupported(int suite, const ident::ProcessorIdentity& identity);

// An unsupported optimised suite falls back to the standard one; the
// standard and SMP suites run as asked (whether two processors are there to
// run the SMP suite is the run session's question).
RunPlan planRun(int suite, int mask, const ident::ProcessorIdentity& identity);

}  // namespace veltrane::engine
