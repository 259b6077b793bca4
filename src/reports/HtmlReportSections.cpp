#include "reports/HtmlReportSections.h"

#include <array>

#include "engine/RunEnd.h"
#include "ident/FeatureFlagsPage.h"
#include "ident/TodaysNames.h"
#include "platform/Format.h"
#include "reports/HtmlReport.h"

namespace veltrane::reports::sections {

namespace {

using Labels = std::array<const char*, 32>;

constexpr Labels kStandardFeatureLabels = {
    "Built in FPU:",
    "Virtual Mode Extensions:",
    "Debugging Extensions:",
    "Page Size Extensions:",
    "TimeStamp Counter:",
    "Model Specific Regs:",
    "Page Address Extensions:",
    "Machine check Extensions:",
    "CMPXCHG8 instruction:",
    "Built in APIC:",
    "reserved",
    "Fast System Call:",
    "Memory type Range Regs:",
    "Page Global Enable:",
    "Machine check Architecture:",
    "CMOV Instruction:",
    "Page Attribute Table:",
    "Page size Extensions:",
    "96 bit Processor Number:",
    "CLFLUSH Instruction:",
    "reserved",
    "Debug trace store:",
    "ACPI Supported:",
    "MMX Instructions:",
    "Fast FPU Save/Restore:",
    "Streaming SIMD Extensions:",
    "Streaming SIMD Extensions 2:",
    "Self Snoop:",
    "Jackson Technology:",
    "Thermal Monitor On chip:",
    "IA64 Processor Capable:",
    "reserved",
};

// The extended word repeats the standard labels up to bit 17.
constexpr Labels extendedFeatureLabels() {
    Labels labels = kStandardFeatureLabels;
    for (std::size_t bit = 18; bit < labels.size(); ++bit) {
        labels[bit] = "reserved";
    }
    labels[22] = "MMX Instructions Extension:";
    labels[23] = "MMX Instructions:";
    labels[24] = "Fast FPU Save/Restore:";
    labels[29] = "x86 - 64 Technology:";
    labels[30] = "Enhanced 3DNow!:";
    labels[31] = "3DNow! Instructions:";
    return labels;
}

constexpr Labels kExtendedFeatureLabels = extendedFeatureLabels();

ReportSection featureSection(const char* title, const Labels& labels, std::uint32_t flags) {
    ReportSection section{title, true, false, {}};
    for (std::size_t bit = 0; bit < labels.size(); ++bit) {
        const bool supported = ((flags >> bit) & 1u) != 0;
        section.rows.push_back({labels[bit], supported ? "Supported" : "Not Supported"});
    }
    return section;
}

unsigned hex(std::int32_t value) {
    return static_cast<unsigned>(value);
}

std::string signatureText(const ident::ProcessorIdentity& cpu) {
    const unsigned f = hex(cpu.family), m = hex(cpu.model), s = hex(cpu.stepping);
    return strprintf("%x,%x,%x Signature: 0x%x%x%x", f, m, s, f, m, s);
}

std::string l2LocationText(const ident::ProcessorIdentity& cpu) {
    return cpu.l2KB >= 512 && cpu.family != 15 ? "External on SECC Cartdrige"
                                               : "Internal(full - speed)";
}

// The version numbers under the system's own name: "Linux version6.1.0".
std::string revisionText(const ident::OsInfo& os) {
    const std::string system = os.kernelName.empty() ? "Microsoft Windows" : os.kernelName;
    return htmlEscaped(system) +
           strprintf(" version%d.%d.%d", os.majorVersion, os.minorVersion, os.buildNumber);
}

std::string standbyTimeoutText(std::int32_t seconds) {
    return seconds != 0 ? strprintf("%d Minute(s)", seconds / 60) : "Stand-By Disabled";
}

std::string megabytes(std::uint32_t value) {
    return strprintf("%u MByte", value);
}

std::string address(std::uint64_t value) {
    return strprintf("0x%llx", static_cast<unsigned long long>(value));
}

std::vector<ReportRow> osSystemRows(const ident::OsInfo& os) {
    constexpr auto wide = RowStyle::wide;
    return {
        {"Operating System:", htmlEscaped(os.osName)},
        {"OS Revision:", revisionText(os)},
        {"System Name:", htmlEscaped(os.computerName)},
        {"User name:", htmlEscaped(os.userName)},
        {"Windows Directory:", htmlEscaped(os.windowsDirectory), wide},
        {"System Directory:", htmlEscaped(os.systemDirectory), wide},
        {"Service Pack Installed:", htmlEscaped(os.servicePack), wide},
        {"Session Boot Mode:", htmlEscaped(os.bootMode), wide},
        {"Stand-By Mode:", htmlEscaped(os.standbyMode), wide},
        {"Stand-By Timeout:", standbyTimeoutText(os.standbyTimeout), wide},
        {"Network status:", htmlEscaped(os.networkStatus), wide},
    };
}

std::vector<ReportRow> osDisplayRows(const ident::OsInfo& os) {
    constexpr auto wide = RowStyle::wide;
    return {
        {"Video card Name:", htmlEscaped(os.adapterDescription), wide},
        {"Video Card Driver:", htmlEscaped(os.adapterDriver), wide},
        {"VendorID:", strprintf("%u", os.adapterVendorId), wide},
        {"DeviceID:", strprintf("%u", os.adapterDeviceId), wide},
        {"SubSystemID:", strprintf("%u", os.adapterSubSysId), wide},
        {"Actual Resolution:", strprintf("%dx%d Pixels", os.screenWidth, os.screenHeight), wide},
        {"Number Of Monitors:", strprintf("%dMonitor(s)", os.monitorCount), wide},
    };
}

std::vector<ReportRow> osMemoryRows(const ident::MemoryInfo& memory) {
    constexpr auto wide = RowStyle::wide;
    return {
        {"Physical Memory:", megabytes(memory.totalPhysMB()), wide},
        {"Available Memory:", megabytes(memory.availPhysMB()), wide},
        {"Page File Size:", megabytes(memory.totalPageFileMB()), wide},
        {"Available Page File:", megabytes(memory.availPageFileMB()), wide},
        {"User Size:", megabytes(memory.totalVirtualMB()), wide},
        {"Minimum Application Address:", address(memory.minAppAddress()), wide},
        {"Maximum Application Address:", address(memory.maxAppAddress()), wide},
        {"Allocation Granularity:", strprintf("%u Byte", memory.allocationGranularity()), wide},
    };
}

std::string score(float value, const char* unit) {
    return strprintf("%d %s", engine::truncatedInt(value), unit);
}

std::string seconds(float value) {
    return strprintf("%.6g seconds", static_cast<double>(value));
}

}  // namespace

ReportSection testerSection(const ReportTester& tester) {
    return {"Tester informations",
            false,
            true,
            {
                {"Tester Name:", htmlEscaped(tester.testerName)},
                {"System Name:", htmlEscaped(tester.systemName)},
                {"System Details:", htmlEscaped(tester.comments)},
            }};
}

ReportSection cpuSection(const ident::MachineFacts& machine) {
    const ident::ProcessorIdentity& cpu = machine.identity;
    const ident::ProcessorDefinition& names = machine.definition;
    const auto clockMHz = static_cast<double>(machine.clockMHz());
    return {"CPU Informations",
            true,
            false,
            {
                {"CPU Name:", htmlEscaped(names.processorName)},
                {"CPU Codename:", htmlEscaped(names.codename)},
                {"CPU Manufacturer:", htmlEscaped(names.manufacturer)},
                {"Vendor ID:", htmlEscaped(cpu.vendor)},
                {"CPU Default Frequency Range:", htmlEscaped(names.frequencyRange)},
                {"Current Frequency:", strprintf("%.6gMHz", clockMHz)},
                {"Family, model, stepping:", signatureText(cpu)},
                {"CPU Platform:", htmlEscaped(names.platform)},
                {"CPU Stepping Mask:", htmlEscaped(names.stepMask)},
                {"Bus type:", htmlEscaped(names.busType)},
                {"L1 data cache:", strprintf("%dKByte", cpu.l1DataKB)},
                {"L1 Instruction cache:", strprintf("%dKByte", cpu.l1CodeKB)},
                {"L2 cache:", strprintf("%dKByte", cpu.l2KB)},
                {"L2 cache location:", l2LocationText(cpu)},
                {"CPU Default Voltage:", htmlEscaped(names.defaultVcore)},
                {"CPU Current Voltage:", "Cannot detect (beta version)"},
            }};
}

ReportSection todaySection(const ident::MachineFacts& machine) {
    const auto& layout = machine.layout;
    ReportSection section{"Processor today", true, false, {}};
    auto add = [&section](const std::vector<ident::LabelledValue>& rows) {
        for (const auto& row : rows) {
            section.rows.push_back({htmlEscaped(row.label), htmlEscaped(row.value)});
        }
    };
    add(ident::todaysNameRows(
        ident::todaysNames(machine.identity, ident::installedModelTable().table)));
    add(ident::topologyRows(layout.topology, layout.allowed));
    add(ident::cacheLevelRows(layout.caches));
    const auto flags = ident::featureFlagsPage(machine.identity.probe());
    section.rows.push_back(
        {"Feature flags:", htmlEscaped(ident::flagsLine(flags)), RowStyle::wide});
    add(flags.vectorState);
    return section;
}

ReportSection standardFeatureSection(std::uint32_t flags) {
    return featureSection("Standard CPU Features", kStandardFeatureLabels, flags);
}

ReportSection extendedFeatureSection(std::uint32_t flags) {
    return featureSection("Extended CPU Features", kExtendedFeatureLabels, flags);
}

ReportSection osSection(const ident::OsInfo& os, const ident::MemoryInfo& memory) {
    ReportSection section{"OS Informations", false, false, osSystemRows(os)};
    for (auto&& part : {osDisplayRows(os), osMemoryRows(memory)}) {
        section.rows.insert(section.rows.end(), part.begin(), part.end());
    }
    return section;
}

namespace {

// The figures as the run left them.
ReportSection benchmarkFigures(const engine::BenchResult& r) {
    // The two precisions are added in single precision before truncating.
    const float fpuSum = r.floatResult + r.doubleResult;
    return {
        "Benchmarks Results",
        true,
        false,
        {
            {"Overall Result:", score(r.overallResult, "CPUMarks")},
            {"ALU Result:", score(r.integerResult, "ALUMarks")},
            {"ALU Time:", seconds(r.integerTime)},
            {"FPU Result (overall):", strprintf("%d FPUMarks", engine::truncatedInt(fpuSum) / 2)},
            {"FPU Single Precision Result:", score(r.floatResult, "FPUMarks SP")},
            {"FPU Single Precision Time:", seconds(r.floatTime)},
            {"FPU Double Precision Result:", score(r.doubleResult, "FPUMarks DP")},
            {"FPU Double Precision Time:", seconds(r.doubleTime)},
            {"MIPS Result:", score(r.mipsResult, "MIPS")},
            {"MFLOPS Result:", score(r.mflopsResult, "MFLOPS")},
            {"RAM ALU Bandwidth (MB/s):", score(r.ramAluResult, "MByte/s")},
            {"RAM FPU Bandwidth (MB/s):", score(r.ramFpuResult, "Mbyte/s")},
        }};
}

// A figure whose test failed the check of its own work says so.
void markInvalidFigures(ReportSection& section, const engine::BenchResult& r) {
    static constexpr const char* kFigureLabels[] = {"ALU Result:",
                                                    "FPU Single Precision Result:",
                                                    "FPU Double Precision Result:",
                                                    "MIPS Result:",
                                                    "MFLOPS Result:",
                                                    "RAM ALU Bandwidth (MB/s):",
                                                    "RAM FPU Bandwidth (MB/s):"};
    for (int test = 1; test <= 7; ++test) {
        for (ReportRow& row : section.rows) {
            if (engine::figureInvalid(r, test) &&
                row.label == kFigureLabels[static_cast<std::size_t>(test - 1)]) {
                row.value += " - INVALID";
            }
        }
    }
}

}  // namespace

ReportSection benchmarkSection(const engine::BenchResult& r) {
    ReportSection section = benchmarkFigures(r);
    markInvalidFigures(section, r);
    return section;
}

}  // namespace veltrane::reports::sections
