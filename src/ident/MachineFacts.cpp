#include "ident/MachineFacts.h"

namespace veltrane::ident {

namespace {

std::shared_ptr<const platform::CpuProbe> probeOf(const MachineSources& sources) {
    return sources.probe ? sources.probe : borrowed(platform::activeCpuProbe());
}

ProcessorFacts& processorOf(const MachineSources& sources) {
    return sources.processor != nullptr ? *sources.processor : processorFacts();
}

PciDeviceList pciListOf(const MachineSources& sources) {
    return sources.pciList ? sources.pciList() : PciDeviceList();
}

OsInfo osOf(const MachineSources& sources) {
    return sources.os ? OsInfo(*sources.os) : OsInfo();
}

MemoryInfo memoryOf(const MachineSources& sources) {
    return sources.memory ? MemoryInfo(*sources.memory) : MemoryInfo();
}

}  // namespace

MachineFacts::MachineFacts(const MachineSources& sources)
    : probe_(probeOf(sources)),
      clock_(sources.clock ? sources.clock : borrowed(clockState())),
      identity(*probe_, processorOf(sources)),
      definition(processorOf(sources).definition),
      definitionError(processorOf(sources).definitionError),
      traceCacheText(processorOf(sources).traceCacheText),
      processorCount(identity.processorCount()),
      features{identity.standardFeatureFlags(), identity.extendedFeatureFlags()},
      cacheGeometry(ident::cacheGeometry(identity)),
      caches(cachePage(identity, definition.processorName)),
      layout(processorLayout(identity)),
      os(osOf(sources)),
      memory(memoryOf(sources)) {
    virtualMachine = probe_->cpuid(0).eax >= 1 && (probe_->cpuid(1).ecx >> 31) != 0;
    const PciDeviceList pci = pciListOf(sources);
    pciDevices = pci.devices();
    pciError = pci.error();
    pciNamesProblem = pci.namesProblem();
}

const MachineFacts& machineFacts() {
    static const MachineFacts facts;
    return facts;
}

}  // namespace veltrane::ident
