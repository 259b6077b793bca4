// CPUID dump files: any text is a dump or a CpuidDumpError, and a dump
// written out reads back the same.
#include "FuzzCheck.h"
#include "platform/CpuidDump.h"

using veltrane::fuzz::fuzzCheck;
namespace platform = veltrane::platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    platform::CpuidDump dump;
    try {
        dump = platform::parseCpuidDump(veltrane::fuzz::asText(data, size));
    } catch (const platform::CpuidDumpError&) {
        return 0;
    }
    const auto again = platform::parseCpuidDump(platform::formatCpuidDump(dump));
    fuzzCheck(again.processors == dump.processors, "the processor count changed");
    fuzzCheck(again.leaves().size() == dump.leaves().size(), "the leaf count changed");
    for (const auto& [key, registers] : dump.leaves()) {
        fuzzCheck(again.find(key.leaf, key.subleaf) == registers, "a leaf changed");
    }
    return 0;
}
