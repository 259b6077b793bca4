#pragma once

#include <cstdint>
#include <string>

namespace veltrane::ident {

inline constexpr const char* kVendorAmd = "AuthenticAMD";
inline constexpr const char* kVendorIntel = "GenuineIntel";
inline constexpr const char* kVendorCyrix = "CyrixInstead";
inline constexpr const char* kVendorRise = "RiseRiseRise";
inline constexpr const char* kVendorCentaur = "CentaurHauls";
inline constexpr const char* kVendorUnknown = "Unknown";

// The twelve characters of leaf 0 as given: EBX, EDX, ECX, each little-endian.
std::string vendorText(std::uint32_t ebx, std::uint32_t edx, std::uint32_t ecx);

// The vendor text from leaf 0; a string outside the known vendors becomes "Unknown".
std::string vendorFromRegisters(std::uint32_t ebx, std::uint32_t edx, std::uint32_t ecx);

// The vendor's number in the definition file's keys, 0 for none.
int vendorIndex(const std::string& vendor);

}  // namespace veltrane::ident
