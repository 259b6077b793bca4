// CPUID dumps: any text is a dump or a CpuidDumpError, a dump written out
// reads back the same, and any dump gives its feature flags and can be
// dumped again without an endless walk.
#include "FuzzCheck.h"
#include "ident/CpuFlags.h"
#include "platform/CpuidDump.h"

using veltrane::fuzz::fuzzCheck;
namespace ident = veltrane::ident;
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
    fuzzCheck(again.xcr0 == dump.xcr0, "xcr0 changed");
    fuzzCheck(again.leaves().size() == dump.leaves().size(), "the leaf count changed");
    for (const auto& [key, registers] : dump.leaves()) {
        fuzzCheck(again.find(key.leaf, key.subleaf) == registers, "a leaf changed");
    }
    const platform::RecordedCpuProbe probe(dump);
    fuzzCheck(ident::usableCpuFlags(probe).size() <= ident::cpuFlags(probe).size(),
              "a flag is usable but not reported");
    fuzzCheck(platform::captureCpuidDump(probe).xcr0 == dump.xcr0, "a new dump lost xcr0");
    return 0;
}
