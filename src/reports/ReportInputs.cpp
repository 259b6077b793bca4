#include "reports/ReportInputs.h"

#include <ctime>

namespace veltrane::reports {

ReportCpu reportCpu(const ident::ProcessorIdentity& identity,
                    const ident::ProcessorDefinition& definition, float clockMHz) {
    ReportCpu cpu;
    cpu.processorName = definition.processorName;
    cpu.codename = definition.codename;
    cpu.manufacturer = definition.manufacturer;
    cpu.vendor = identity.vendor;
    cpu.frequencyRange = definition.frequencyRange;
    cpu.platform = definition.platform;
    cpu.stepMask = definition.stepMask;
    cpu.busType = definition.busType;
    cpu.defaultVcore = definition.defaultVcore;
    cpu.clockMHz = clockMHz;
    cpu.family = identity.family;
    cpu.model = identity.model;
    cpu.stepping = identity.stepping;
    cpu.l1DataKB = identity.l1DataKB;
    cpu.l1CodeKB = identity.l1CodeKB;
    cpu.l2KB = identity.l2KB;
    return cpu;
}

ReportMemory reportMemory(const ident::MemoryInfo& memory) {
    ReportMemory out;
    out.totalPhysMB = memory.totalPhysMB();
    out.availPhysMB = memory.availPhysMB();
    out.totalPageFileMB = memory.totalPageFileMB();
    out.availPageFileMB = memory.availPageFileMB();
    out.totalVirtualMB = memory.totalVirtualMB();
    out.minAppAddress = memory.minAppAddress();
    out.maxAppAddress = memory.maxAppAddress();
    out.allocationGranularity = memory.allocationGranularity();
    return out;
}

ReportInputs collectReportInputs(const ReportTester& tester, const ReportSections& sections,
                                 const ident::MachineFacts& machine,
                                 const engine::BenchResult& result) {
    ReportInputs inputs;
    inputs.tester = tester;
    inputs.sections = sections;
    inputs.cpu = reportCpu(machine.identity, machine.definition, machine.clockMHz());
    inputs.features = machine.features;
    inputs.os = machine.os;
    inputs.memory = reportMemory(ident::MemoryInfo());
    inputs.result = result;
    inputs.time = platform::programClockTime(std::time(nullptr));
    return inputs;
}

}  // namespace veltrane::reports
