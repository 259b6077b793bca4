// cpudef.dat: any text, looked up for any processor the keys can name.
//
// Input: five control characters, then the file text. They pick the vendor,
// family, model, stepping and level-2 size; a hexadecimal digit stands for its
// value, so a seed reads "16420" for vendor 1, family 6, model 4, stepping 2.
// An input shorter than that looks up with no file at all.
#include <array>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "FuzzCheck.h"
#include "ident/DefinitionFile.h"
#include "ident/ProcessorIdentity.h"
#include "ident/Vendor.h"
#include "platform/CpuidDump.h"

namespace {

using veltrane::fuzz::fuzzCheck;
namespace ident = veltrane::ident;
namespace platform = veltrane::platform;

constexpr std::size_t kControlBytes = 5;

// In the order of the file's vendor numbers; "Unknown" has none.
constexpr std::array kVendors{ident::kVendorUnknown, ident::kVendorAmd,     ident::kVendorIntel,
                              ident::kVendorCyrix,   ident::kVendorCentaur, ident::kVendorRise};
constexpr std::array kLevel2Sizes{0, 128, 256, 512, 1024, 2048};

int nibble(std::uint8_t c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return c % 16;
}

// The identity is built once from a recorded processor; the fields the
// lookup reads are then set per input.
const ident::ProcessorIdentity& baseIdentity() {
    static const platform::RecordedCpuProbe probe = [] {
        platform::CpuidDump dump;
        dump.add(0, 0, {1, 0x756e6547, 0x6c65746e, 0x49656e69});  // "GenuineIntel"
        return platform::RecordedCpuProbe(dump, [] { return std::uint64_t{0}; });
    }();
    static ident::ProcessorFacts facts = [] {
        ident::ProcessorFacts f;
        f.definitionLoaded = true;  // never the installed file
        return f;
    }();
    static const ident::ProcessorIdentity identity(probe, facts);
    return identity;
}

ident::ProcessorIdentity identityFor(const std::uint8_t* control) {
    ident::ProcessorIdentity identity = baseIdentity();
    identity.vendor = kVendors[static_cast<std::size_t>(nibble(control[0])) % kVendors.size()];
    identity.family = nibble(control[1]);
    identity.model = nibble(control[2]);
    identity.stepping = nibble(control[3]);
    identity.l2KB =
        kLevel2Sizes[static_cast<std::size_t>(nibble(control[4])) % kLevel2Sizes.size()];
    return identity;
}

void lookUp(const ident::ProcessorIdentity& identity, std::istream* file) {
    ident::ProcessorDefinition definition;
    try {
        ident::loadProcessorDefinition(identity, file, definition);
    } catch (const ident::DefinitionError&) {
        fuzzCheck(ident::vendorIndex(identity.vendor) == 0, "a known vendor was refused");
        return;
    }
    fuzzCheck(ident::vendorIndex(identity.vendor) != 0, "an unknown vendor was looked up");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kControlBytes) {
        lookUp(baseIdentity(), nullptr);
        return 0;
    }
    const auto identity = identityFor(data);
    std::istringstream file(
        std::string(reinterpret_cast<const char*>(data) + kControlBytes, size - kControlBytes));
    lookUp(identity, &file);
    return 0;
}
