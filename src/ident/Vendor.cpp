#include "ident/Vendor.h"

#include <array>

namespace veltrane::ident {

namespace {

void appendRegister(std::string& text, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        text.push_back(static_cast<char>((value >> shift) & 0xFF));
    }
}

}  // namespace

std::string vendorText(std::uint32_t ebx, std::uint32_t edx, std::uint32_t ecx) {
    std::string text;
    appendRegister(text, ebx);
    appendRegister(text, edx);
    appendRegister(text, ecx);
    return text;
}

std::string vendorFromRegisters(std::uint32_t ebx, std::uint32_t edx, std::uint32_t ecx) {
    const std::string text = vendorText(ebx, edx, ecx);
    static constexpr std::array known{kVendorAmd, kVendorIntel, kVendorCyrix, kVendorRise,
                                      kVendorCentaur};
    for (const char* vendor : known) {
        if (text == vendor) {
            return vendor;
        }
    }
    return kVendorUnknown;
}

int vendorIndex(const std::string& vendor) {
    static constexpr std::array indexed{kVendorAmd, kVendorIntel, kVendorCyrix, kVendorCentaur,
                                        kVendorRise};
    for (std::size_t i = 0; i < indexed.size(); ++i) {
        if (vendor == indexed[i]) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

}  // namespace veltrane::ident
