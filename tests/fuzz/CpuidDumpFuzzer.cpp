// CPUID dump files: any text is a dump or a CpuidDumpError, and a dump
// written out reads back the same.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzCheck.h"
#include "platform/CpuidDump.h"

namespace {

using veltrane::fuzz::fuzzCheck;
namespace platform = veltrane::platform;

void checkRoundTrip(const platform::CpuidDump& dump) {
    const auto again = platform::parseCpuidDump(platform::formatCpuidDump(dump));
    fuzzCheck(again.processors == dump.processors, "the processor count changed");
    fuzzCheck(again.leaves().size() == dump.leaves().size(), "the leaf count changed");
    for (const auto& [key, registers] : dump.leaves()) {
        const auto found = again.find(key.leaf, key.subleaf);
        fuzzCheck(found == registers, "a leaf changed");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    platform::CpuidDump dump;
    try {
        dump = platform::parseCpuidDump(text);
    } catch (const platform::CpuidDumpError&) {
        return 0;
    }
    checkRoundTrip(dump);
    return 0;
}
