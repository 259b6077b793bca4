#include "shellcore/BenchmarkFormModel.h"

#include <algorithm>
#include <climits>

#include "engine/Messages.h"
#include "engine/RunRequest.h"
#include "ident/Clock.h"
#include "ident/ClockTexts.h"
#include "ident/ExtendedCpuPage.h"
#include "ident/MachineFacts.h"
#include "ident/OsPage.h"
#include "ident/ProcessorIdentity.h"
#include "ident/Vendor.h"
#include "platform/Format.h"
#include "platform/TextFile.h"
#include "shellcore/FrameRequests.h"
#include "shellcore/RepeatRequest.h"

namespace veltrane::shell {

namespace {

using engine::WM_RUN_BENCH;
using Kind = FrameStep::Kind;

constexpr int kCartridgeL2KB = 512;
constexpr int kNetBurstFamily = 15;
// "tempdata" is a 40-byte record; anything far larger is not ours.
constexpr std::size_t kTempdataReadLimit = 4096;

std::string kbyteText(int kbytes) {
    return strprintf("%d KByte", kbytes);
}

std::string cacheLocationText(int family, int l2KB) {
    return l2KB >= kCartridgeL2KB && family != kNetBurstFamily ? "External on SECC Cartdrige"
                                                               : "Internal (full - speed)";
}

std::string detectedText(bool detected, const char* notDetected) {
    return detected ? "Detected" : notDetected;
}

int barValue(std::uint32_t value) {
    return static_cast<int>(std::min<std::uint32_t>(value, INT_MAX));
}

FormBar formBar(const char* label, const ident::MemoryBar& bar) {
    return {label, barValue(bar.maximum), barValue(bar.position), ident::percentText(bar.percent)};
}

std::vector<FormField> processorFields(const ident::MachineFacts& f) {
    const ident::ProcessorIdentity& id = f.identity;
    return {
        {"Manufacturer:", id.vendor},
        {"CPU Name:", ident::processorFieldText(f.processorCount, f.definition.processorName)},
        {"CPU family:", strprintf("%d", id.family)},
        {"CPU Model:", strprintf("%d", id.model)},
        {"Step:", strprintf("%d", id.stepping)},
        {"Platform:", f.definition.platform},
        {"Bus type:", f.definition.busType},
        {"L1 Data cache:", kbyteText(id.l1DataKB)},
        {"L1 Instr. cache:", kbyteText(id.l1CodeKB)},
        {"CPU L2 Cache:", kbyteText(id.l2KB)},
        {"Trace Cache:", f.traceCacheText},
        {"Cache Location:", cacheLocationText(id.family, id.l2KB)},
        {"CPU Frequency:", frequencyText(f)},
    };
}

std::vector<FormField> featureFields(const ident::ProcessorIdentity& id) {
    return {
        {"MMX Support:", detectedText(id.hasMMX() != 0, "Not Detected")},
        {"3DNow! support:", detectedText(id.has3DNow() != 0, "Not Detected")},
        {"Xtended MMX:", detectedText(id.hasMMXExt() != 0, "Not detected")},
        {"Xtended 3DNow!:", detectedText(id.has3DNowExt() != 0, "Not detected")},
        {"SSE Support:", detectedText(id.hasSSE() != 0, "Not detected")},
        {"SSE2 Support:", detectedText(id.hasSSE2() != 0, "Not detected")},
        {"CPU Serial Number:", detectedText(id.hasSerialNumber() != 0, "Not detected")},
    };
}

FrameStep send(int request, std::intptr_t wParam = 0, std::intptr_t lParam = 0) {
    return {Kind::SendRequest, request, wParam, lParam};
}

FrameStep post(int request, std::intptr_t wParam = 0, std::intptr_t lParam = 0) {
    return {Kind::PostRequest, request, wParam, lParam};
}

const FrameStep kClose{Kind::CloseDocument, 0, 0, 0};

FormCommand plainCommand(std::vector<FrameStep> steps) {
    FormCommand command;
    command.handled = true;
    command.steps = std::move(steps);
    return command;
}

FormCommand runOnlyCommand(int mask) {
    FormCommand command = plainCommand({kClose, send(WM_RUN_BENCH, kStandardOptimization, mask)});
    command.marksFormRun = true;
    return command;
}

FormCommand graphCommand(int page) {
    FormCommand command = plainCommand({send(engine::WM_SHOW_GRAPHS, page)});
    command.needsFormRun = true;
    return command;
}

FormCommand sysInfoCommand(int page) {
    return plainCommand({send(engine::WM_SHOW_SYSINFO, page)});
}

FormCommand suiteCommand(int suite) {
    return plainCommand({kClose, post(WM_RUN_BENCH, suite, engine::kFullRunMask)});
}

}  // namespace

bool& formRunStarted() {
    static bool started = false;
    return started;
}

int runMask(const std::array<bool, kFormTestCount>& ticked) {
    int mask = engine::kFullRunMask;
    for (int test = 0; test < kFormTestCount; ++test) {
        if (!ticked[static_cast<std::size_t>(test)]) {
            mask &= ~(1 << test);
        }
    }
    return mask;
}

OptimizationList optimizationList(const std::string& vendor, int family, int processorCount) {
    OptimizationList list;
    list.entries.assign(kOptimizationTexts.begin(), kOptimizationTexts.begin() + kSmpOptimization);
    if (vendor == ident::kVendorIntel && family == 6) {
        list.selected = 0;
    } else if (vendor == ident::kVendorIntel && family == kNetBurstFamily) {
        list.selected = 1;
    } else if (vendor == ident::kVendorAmd && family == 6) {
        list.selected = 2;
    }
    list.logo = optimizationEffect(list.selected).logo;
    if (processorCount > 1) {
        list.entries.emplace_back(kOptimizationTexts[kSmpOptimization]);
        list.selected = kSmpOptimization;
    }
    // The SMP suite runs the standard code: no prefetch, no unrolling.
    list.codeSwitches = optimizationEffect(list.selected).codeSwitches.value_or("Disabled");
    return list;
}

OptimizationEffect optimizationEffect(int index) {
    switch (index) {
        case 0:
            return {"PIIILogo2", "Enabled"};
        case 1:
            return {"P4Logo2", "Enabled"};
        case 2:
            return {"AthlonLogo2", "Enabled"};
        case kStandardOptimization:
            return {"", "Disabled"};
        default:
            return {"", std::nullopt};
    }
}

std::string frequencyText(const ident::MachineFacts& f) {
    const ident::ProcessorIdentity& id = f.identity;
    return ident::mainFormFrequencyText(f.clockMHz(), f.ratingText(),
                                        ident::ratingApplies(id.vendor, id.family, id.model));
}

std::string osRevisionFieldText(const ident::OsInfo& os) {
    if (os.kernelName.empty()) {
        return strprintf("MS Windows %d.%d", os.majorVersion, os.minorVersion);
    }
    return ident::osRevisionText(os);
}

ident::MachineFacts withMemoryNow(ident::MachineFacts facts) {
    facts.memory = ident::MemoryInfo();
    return facts;
}

FormTexts formTexts(const ident::MachineFacts& facts) {
    FormTexts texts;
    texts.processor = processorFields(facts);
    texts.system = {{"OS Name:", facts.os.osName}, {"OS Revision:", osRevisionFieldText(facts.os)}};
    texts.features = featureFields(facts.identity);
    texts.memory = {{"System RAM:", strprintf("%u MByte", facts.memory.totalPhysMB())},
                    {"RAM available:", strprintf("%u MByte", facts.memory.availPhysMB())}};
    const ident::MemoryBars bars = ident::memoryBars(facts.memory);
    texts.bars = {formBar("Mem Loaded:", bars.memoryLoad),
                  formBar("Page File Loaded:", bars.pageFile),
                  formBar("User Resources:", bars.userResources)};
    return texts;
}

std::string resultFieldText(std::string_view tempdata) {
    const auto end = tempdata.find_first_of(std::string_view("\r\n\0", 3));
    return std::string(tempdata.substr(0, end));
}

std::string readResultField(const std::string& path) {
    const auto read = platform::readTextFile(path, kTempdataReadLimit);
    return read.ok() ? resultFieldText(read.content) : std::string();
}

FormCommand formCommand(int command) {
    using engine::WM_SHOW_LOOP_CONFIG;
    switch (command) {
        case cmd::ConfigureLooping:
            return plainCommand({send(WM_SHOW_LOOP_CONFIG), kClose});
        case cmd::CpuInfo:
            return sysInfoCommand(0);
        case cmd::CacheInfo:
            return sysInfoCommand(1);
        case cmd::MotherboardInfo:
            return sysInfoCommand(2);
        case cmd::OsInfo:
            return sysInfoCommand(3);
        case cmd::ReportWizard:
            return plainCommand({send(engine::WM_SHOW_REPORT_WIZARD)});
        case cmd::HelpSystem: {
            FormCommand help = plainCommand({});
            help.opensHelp = true;
            return help;
        }
        case cmd::NewDefaultMenu:
            return plainCommand(
                {post(WM_RUN_BENCH, kStandardOptimization, engine::kFullRunMask), kClose});
        case cmd::BenchSse:
            return suiteCommand(0);
        case cmd::BenchSse2:
            return suiteCommand(1);
        case cmd::Bench3DNow:
            return suiteCommand(2);
        case cmd::BenchStandard:
            return suiteCommand(kStandardOptimization);
        case cmd::RunAluOnly:
            return runOnlyCommand(1);
        case cmd::RunFpuOnly:
            return runOnlyCommand(6);
        case cmd::RunMipsOnly:
            return runOnlyCommand(8);
        case cmd::RunMflopsOnly:
            return runOnlyCommand(16);
        case cmd::RunRamOnly:
            return runOnlyCommand(96);
        case cmd::GraphOverall:
            return graphCommand(0);
        case cmd::GraphAluFpu:
            return graphCommand(1);
        case cmd::GraphFpuSpDp:
            return graphCommand(2);
        case cmd::GraphMipsMflops:
            return graphCommand(5);
        case cmd::GraphRam:
            return graphCommand(3);
        default:
            return {};
    }
}

std::vector<FrameStep> runSteps(int suite, int mask, int runs) {
    return {{Kind::PostCloseDocument, 0, 0, 0},
            post(WM_RUN_BENCH, suite, runRequestArgument(mask, runs))};
}

void applySteps(const std::vector<FrameStep>& steps, FrameRequests& frame) {
    for (const FrameStep& step : steps) {
        switch (step.kind) {
            case Kind::SendRequest:
                frame.sendRequest(step.request, step.wParam, step.lParam);
                break;
            case Kind::PostRequest:
                frame.postRequest(step.request, step.wParam, step.lParam);
                break;
            case Kind::CloseDocument:
                frame.sendCommand(cmd::CloseDocument);
                break;
            case Kind::PostCloseDocument:
                frame.postCommand(cmd::CloseDocument);
                break;
        }
    }
}

}  // namespace veltrane::shell
