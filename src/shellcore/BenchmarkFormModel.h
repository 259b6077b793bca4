#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/RunEnd.h"
#include "ident/MemoryInfo.h"
#include "ident/OsInfo.h"
#include "platform/OsFacts.h"

namespace veltrane::ident {
struct MachineFacts;
}  // namespace veltrane::ident

namespace veltrane::shell {

class FrameRequests;

// What the main benchmark form computes, without any window: the run mask,
// the optimisation list, the texts of its fields and what its commands ask
// of the main frame.

inline constexpr int kFormTestCount = 7;
inline constexpr std::array<const char*, kFormTestCount> kTestBoxTexts{
    "Integer benchmark",
    "Floating - point benchmark",
    "Double Benchmark",
    "MIPS Benchmark",
    "MFLOPS Benchmark",
    "RAM - ALU Bandwidth (STREAM)",
    "RAM - FPU Bandwidth (STREAM)",
};

// The list index is the suite number of the run request.
inline constexpr std::array<const char*, 5> kOptimizationTexts{
    "Intel P6/AMD K7 With SSE", "Intel NetBurst With SSE2", "AMD K7 With 3DNow!",
    "Standard IA-32 Code",      "MultiThreaded SMP Code",
};
inline constexpr int kStandardOptimization = 3;
inline constexpr int kSmpOptimization = 4;

inline constexpr const char* kWarningTitle = "Veltrane Warning";
inline constexpr const char* kRunFirstWarning = "Please run at least a benchmark!";
inline constexpr const char* kClearResultQuestion =
    "This will clear your previous result: Continue?";
inline constexpr const char* kHelpFile = "index.htm";

// Set by the form's Run button and its run-only commands; lives for the process.
bool& formRunStarted();

// 255 less the bit of every unticked box; bit 7 always stays set.
int runMask(const std::array<bool, kFormTestCount>& ticked);

struct OptimizationList {
    std::vector<std::string> entries;
    int selected = kStandardOptimization;
    std::string logo;  // empty: no logo
    // SW Data prefetch and Loop Unrolling before any change of entry.
    std::string codeSwitches;
};

// The entries, the default entry and its logo for this processor; with more
// than one processor the SMP entry is added and selected, keeping the logo.
OptimizationList optimizationList(const std::string& vendor, int family, int processorCount);

// What choosing an entry shows: a logo (empty clears it) and the text of
// both SW Data prefetch and Loop Unrolling, or nothing to leave them as they are.
struct OptimizationEffect {
    std::string logo;
    std::optional<std::string> codeSwitches;
};
OptimizationEffect optimizationEffect(int index);

struct FormField {
    std::string label;
    std::string text;
    bool operator==(const FormField&) const = default;
};

struct FormBar {
    std::string label;
    int maximum = 0;
    int position = 0;
    std::string text;
    bool operator==(const FormBar&) const = default;
};

struct FormTexts {
    std::vector<FormField> processor;
    std::vector<FormField> system;
    std::vector<FormField> features;
    std::vector<FormField> memory;
    std::array<FormBar, 3> bars;
};

// The memory fields and gauges show the facts' memory figures: a form
// takes the figures of the moment it opens.
FormTexts formTexts(const ident::MachineFacts& facts);
// The facts with the memory figures of this moment, for a form opening now.
ident::MachineFacts withMemoryNow(ident::MachineFacts facts);

// The CPU Frequency text; the clock may still be measured after the form is built.
std::string frequencyText(const ident::MachineFacts& facts);
// "MS Windows %d.%d"; on another system its own revision as the OS page writes it.
std::string osRevisionFieldText(const ident::OsInfo& os);

// The Result field: the first line of "tempdata", empty when it cannot be read.
std::string resultFieldText(std::string_view tempdata);
std::string readResultField(const std::string& path = engine::kTempdataFile);

// One thing a command asks of the main frame, in order.
struct FrameStep {
    enum class Kind { SendRequest, PostRequest, CloseDocument, PostCloseDocument };
    Kind kind = Kind::SendRequest;
    int request = 0;
    std::intptr_t wParam = 0;
    std::intptr_t lParam = 0;
    bool operator==(const FrameStep&) const = default;
};

struct FormCommand {
    bool handled = false;       // false: the main frame handles it
    bool needsFormRun = false;  // warn instead when no run started here
    bool marksFormRun = false;  // sets formRunStarted afterwards
    bool opensHelp = false;     // opens the help page
    std::vector<FrameStep> steps;
};

// What the form does with a menu command.
FormCommand formCommand(int command);
// The Run button's steps for the chosen suite and mask, run `runs` times in a row.
std::vector<FrameStep> runSteps(int suite, int mask, int runs = 1);
void applySteps(const std::vector<FrameStep>& steps, FrameRequests& frame);

}  // namespace veltrane::shell
