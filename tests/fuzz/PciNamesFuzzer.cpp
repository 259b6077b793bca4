// PCIDef.dat: any text, with a lookup of every vendor and device key in it.
#include <optional>

#include "FuzzCheck.h"
#include "ident/PciNames.h"

namespace {

using veltrane::fuzz::fuzzCheck;
using veltrane::ident::kPciUnknownName;

// The id of a key line as the names file writes it: "V\t" or "D\t" and four
// upper-case hexadecimal digits.
std::optional<std::uint32_t> keyOf(std::string_view line) {
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
    return id;
}

void checkPair(const veltrane::ident::PciNamePair& pair, bool vendorListed) {
    for (const std::string* name : {&pair.vendorName, &pair.deviceName}) {
        fuzzCheck(*name == kPciUnknownName || (!name->empty() && name->front() == ' '),
                  "a name without its leading blank");
        fuzzCheck(name->find('\n') == std::string::npos, "a name runs into the next line");
    }
    fuzzCheck(!vendorListed || pair.vendorName != kPciUnknownName, "a listed vendor not found");
    fuzzCheck(pair.vendorName != kPciUnknownName || pair.deviceName == kPciUnknownName,
              "a device named without its vendor");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view rest = veltrane::fuzz::asText(data, size);
    const bool readable = rest.find('\0') == std::string_view::npos;
    const auto names = veltrane::ident::PciNames::parse(std::string(rest));
    fuzzCheck(readable || names.empty(), "text with a NUL byte read as names");
    std::uint32_t vendor = 0;
    while (!rest.empty()) {
        // A line feed's carriage return is no hexadecimal digit: keyOf refuses it.
        const std::string_view line = veltrane::fuzz::takeLine(rest);
        if (const auto key = keyOf(line)) {
            const bool isVendor = line[0] == 'V';
            vendor = isVendor ? *key : vendor;
            checkPair(names.lookup(vendor, *key), readable && isVendor);
            checkPair(names.lookup(vendor | 0x10000, *key), false);
        }
    }
    return 0;
}
