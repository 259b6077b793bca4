#pragma once

#include <cstdint>
#include <string>

#include "engine/BenchResult.h"
#include "ident/MachineFacts.h"
#include "platform/ProgramClock.h"

namespace veltrane::reports {

// What the tester typed into the wizard, as it stands.
struct ReportTester {
    std::string testerName;
    std::string systemName;
    std::string comments;
};

// The wizard's section boxes. The two feature sections share one box.
struct ReportSections {
    bool tester = true;      // box 1096, section T
    bool cpu = true;         // box 1252, section C
    bool features = true;    // box 1097, sections S and X
    bool os = true;          // box 1253, section O
    bool benchmarks = true;  // box 1092, section B
};

struct ReportCpu {
    std::string processorName;
    std::string codename;
    std::string manufacturer;
    std::string vendor;
    std::string frequencyRange;
    std::string platform;
    std::string stepMask;
    std::string busType;
    std::string defaultVcore;
    float clockMHz = 0;
    std::int32_t family = 0;
    std::int32_t model = 0;
    std::int32_t stepping = 0;
    std::int32_t l1DataKB = 0;
    std::int32_t l1CodeKB = 0;
    std::int32_t l2KB = 0;
};

struct ReportMemory {
    std::uint32_t totalPhysMB = 0;  // already one more than the system reports
    std::uint32_t availPhysMB = 0;
    std::uint32_t totalPageFileMB = 0;
    std::uint32_t availPageFileMB = 0;
    std::uint32_t totalVirtualMB = 0;
    std::uint64_t minAppAddress = 0;
    std::uint64_t maxAppAddress = 0;
    std::uint32_t allocationGranularity = 0;
};

// Everything one report page shows, as plain values.
struct ReportInputs {
    ReportTester tester;
    ReportSections sections;
    ReportCpu cpu;
    ident::FeatureWords features;
    ident::OsInfo os{platform::OsFacts{}};
    ReportMemory memory;
    engine::BenchResult result;
    platform::ClockTime time;
};

ReportCpu reportCpu(const ident::ProcessorIdentity& identity,
                    const ident::ProcessorDefinition& definition, float clockMHz);
ReportMemory reportMemory(const ident::MemoryInfo& memory);

// The inputs of a report written now: the machine's facts with the memory
// figures and the program's clock of this moment.
ReportInputs collectReportInputs(const ReportTester& tester, const ReportSections& sections,
                                 const ident::MachineFacts& machine,
                                 const engine::BenchResult& result);

}  // namespace veltrane::reports
