// cpudef.dat: any text, looked up for any processor the keys can name.
//
// Input: five control characters, then the file text. They pick the vendor,
// family, model, stepping and level-2 size; a hexadecimal digit stands for its
// value, so a seed reads "16420" for vendor 1, family 6, model 4, stepping 2.
// An input shorter than that looks up with no file at all.
#include <array>
#include <sstream>

#include "FuzzCheck.h"
#include "ident/DefinitionFile.h"
#include "ident/ProcessorIdentity.h"
#include "ident/Vendor.h"
#include "platform/CpuidDump.h"

namespace ident = veltrane::ident;

namespace {

// In the order of the file's vendor numbers; "Unknown" has none.
constexpr std::array kVendors{ident::kVendorUnknown, ident::kVendorAmd,     ident::kVendorIntel,
                              ident::kVendorCyrix,   ident::kVendorCentaur, ident::kVendorRise};
constexpr std::array kLevel2Sizes{0, 128, 256, 512, 1024, 2048};

int nibble(std::uint8_t c) {
    const bool upper = c >= 'A' && c <= 'F';
    return c >= '0' && c <= '9' ? c - '0' : upper ? c - 'A' + 10 : c % 16;
}

template <typename List>
auto pick(const List& list, std::uint8_t c) {
    return list[static_cast<std::size_t>(nibble(c)) % list.size()];
}

// Built once from a recorded processor; the lookup's fields are set per input.
ident::ProcessorIdentity baseIdentity() {
    static const veltrane::platform::RecordedCpuProbe probe = [] {
        veltrane::platform::CpuidDump dump;
        dump.add(0, 0, {1, 0x756e6547, 0x6c65746e, 0x49656e69});  // "GenuineIntel"
        return veltrane::platform::RecordedCpuProbe(dump, [] { return std::uint64_t{0}; });
    }();
    static ident::ProcessorFacts facts;
    facts.definitionLoaded = true;  // never the installed file
    static const ident::ProcessorIdentity identity(probe, facts);
    return identity;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ident::ProcessorIdentity identity = baseIdentity();
    std::istringstream file;
    if (size >= 5) {
        identity.vendor = pick(kVendors, data[0]);
        identity.family = nibble(data[1]);
        identity.model = nibble(data[2]);
        identity.stepping = nibble(data[3]);
        identity.l2KB = pick(kLevel2Sizes, data[4]);
        file.str(std::string(veltrane::fuzz::asText(data + 5, size - 5)));
    }
    // Only a vendor without a number in the file is refused.
    const bool known = ident::vendorIndex(identity.vendor) != 0;
    ident::ProcessorDefinition definition;
    try {
        ident::loadProcessorDefinition(identity, size >= 5 ? &file : nullptr, definition);
    } catch (const ident::DefinitionError&) {
        veltrane::fuzz::fuzzCheck(!known, "a known vendor was refused");
        return 0;
    }
    veltrane::fuzz::fuzzCheck(known, "an unknown vendor was looked up");
    return 0;
}
