#include "ident/OsPage.h"

#include <algorithm>

#include "platform/Format.h"

namespace veltrane::ident {

namespace {

// Counted in 64 bits: a 128 TB address space in MB times 100 does not fit in
// 32, and a machine without swap has a total of 0.
MemoryBar usageBar(std::uint32_t total, std::uint32_t available) {
    MemoryBar bar;
    bar.maximum = total;
    bar.position = total - std::min(available, total);
    if (total != 0) {
        bar.percent = static_cast<std::uint32_t>(std::uint64_t{bar.position} * 100 / total);
    }
    return bar;
}

std::string megabyteText(std::uint32_t megabytes) {
    return strprintf("%u MByte", megabytes);
}

std::string addressText(std::uint64_t address) {
    return strprintf("0x%llX", static_cast<unsigned long long>(address));
}

std::vector<LabelledValue> systemRows(const OsInfo& os) {
    return {
        {"OS Name:", os.osName},
        {"OS Revision :", osRevisionText(os)},
        {"Coumputer Name:", os.computerName},
        {"User Name:", os.userName},
        {"System Directory:", os.systemDirectory},
        {"Windows Directory:", os.windowsDirectory},
        {"Service Pack :", servicePackText(os.servicePack)},
        {"Boot Mode :", os.bootMode},
        {"Network status:", os.networkStatus},
        {"Standby Mode:", os.standbyMode},
        {"Standby Timeout:", standbyTimeoutText(os.standbyTimeout)},
    };
}

std::vector<LabelledValue> displayRows(const OsInfo& os) {
    return {
        {"Primary Video :", os.adapterDescription},
        {"Video Driver:", os.adapterDriver},
        {"Vendor ID(D3D):", strprintf("%X", os.adapterVendorId)},
        {"Device ID(D3D) :", strprintf("%X", os.adapterDeviceId)},
        {"Subsystem ID:", strprintf("%X", os.adapterSubSysId)},
        {"Current resolution:", strprintf("%dx%d  pixels", os.screenWidth, os.screenHeight)},
        {"N\u00B0 of monitors:", strprintf("%d Monitor(s)", os.monitorCount)},
    };
}

std::vector<LabelledValue> memoryRows(const MemoryInfo& memory) {
    const std::uint32_t physMB = memory.totalPhysMB();
    const MemoryBars bars = memoryBars(memory);
    return {
        {"Physical Memory:", strprintf("%llu KByte (%u MByte)",
                                       static_cast<unsigned long long>(physMB) * 1024, physMB)},
        {"Available Memory:", megabyteText(memory.availPhysMB())},
        {"Page File Size:", megabyteText(memory.totalPageFileMB())},
        {"Page File Avail.:", megabyteText(memory.availPageFileMB())},
        {"User Size:", megabyteText(memory.totalVirtualMB())},
        {"User Available:", megabyteText(memory.availVirtualMB())},
        {"Min. App Address :", addressText(memory.minAppAddress())},
        {"Max App. Address:", addressText(memory.maxAppAddress())},
        {"Alloc. Granularity:", strprintf("%u Byte", memory.allocationGranularity())},
        {"Mem Loaded:", percentText(bars.memoryLoad.percent)},
        {"Page File Load:", percentText(bars.pageFile.percent)},
        {"User Resources:", percentText(bars.userResources.percent)},
    };
}

}  // namespace

MemoryBars memoryBars(const MemoryInfo& memory) {
    MemoryBars bars;
    bars.memoryLoad = {100, memory.memoryLoad(), memory.memoryLoad()};
    bars.pageFile = usageBar(memory.totalPageFileMB(), memory.availPageFileMB());
    bars.userResources = usageBar(memory.totalVirtualMB(), memory.availVirtualMB());
    return bars;
}

std::string percentText(std::uint32_t percent) {
    return strprintf("%u %c", percent, '%');
}

std::vector<LabelledValue> osPageRows(const OsInfo& os, const MemoryInfo& memory) {
    auto rows = systemRows(os);
    for (auto&& part : {displayRows(os), memoryRows(memory)}) {
        rows.insert(rows.end(), part.begin(), part.end());
    }
    return rows;
}

}  // namespace veltrane::ident
