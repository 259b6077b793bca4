// PCIDef.dat: any text, with a lookup of every vendor and device key in it.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "ident/PciNames.h"

namespace {

using veltrane::fuzz::fuzzCheck;
using veltrane::ident::kPciUnknownName;
using veltrane::ident::PciNamePair;
using veltrane::ident::PciNames;

struct Key {
    char kind;
    std::uint32_t id;
};

// A key line as the names file writes it: "V\t" or "D\t" and four upper-case
// hexadecimal digits.
std::optional<Key> keyOf(std::string_view line) {
    if (line.size() < 6 || (line[0] != 'V' && line[0] != 'D') || line[1] != '\t') {
        return std::nullopt;
    }
    std::uint32_t id = 0;
    for (const char c : line.substr(2, 4)) {
        const bool digit = c >= '0' && c <= '9';
        if (!digit && !(c >= 'A' && c <= 'F')) {
            return std::nullopt;
        }
        id = id << 4 | static_cast<std::uint32_t>(digit ? c - '0' : c - 'A' + 10);
    }
    return Key{line[0], id};
}

void checkName(const std::string& name) {
    fuzzCheck(name == kPciUnknownName || (!name.empty() && name.front() == ' '),
              "a name without its leading blank");
    fuzzCheck(name.find('\n') == std::string::npos, "a name runs into the next line");
}

void checkPair(const PciNamePair& pair, bool vendorListed) {
    checkName(pair.vendorName);
    checkName(pair.deviceName);
    fuzzCheck(!vendorListed || pair.vendorName != kPciUnknownName, "a listed vendor not found");
    fuzzCheck(pair.vendorName != kPciUnknownName || pair.deviceName == kPciUnknownName,
              "a device named without its vendor");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    const bool readable = text.find('\0') == std::string::npos;
    const PciNames names = PciNames::parse(text);
    fuzzCheck(readable || names.empty(), "text with a NUL byte read as names");
    std::string_view rest = text;
    std::uint32_t vendor = 0;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        const auto key = keyOf(line);
        if (!key) {
            continue;
        }
        vendor = key->kind == 'V' ? key->id : vendor;
        checkPair(names.lookup(vendor, key->id), readable && key->kind == 'V');
        checkPair(names.lookup(vendor | 0x10000, key->id), false);
    }
    return 0;
}
