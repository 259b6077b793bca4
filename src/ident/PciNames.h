#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

namespace veltrane::ident {

// The name of a vendor or device that the names file does not know.
inline constexpr const char* kPciUnknownName = "Unknow";

struct PciNamePair {
    std::string vendorName;
    std::string deviceName;
};

// The names of PCIDef.dat, read once. Lines "V\t%04X name" open a vendor's
// block, lines "D\t%04X name" within it name its devices; the hexadecimal
// digits are upper case, every other line is skipped. A name keeps one
// leading blank in place of the separator after its key.
class PciNames {
public:
    PciNames() = default;

    // Text that holds a zero byte is not a names file and reads as empty.
    static PciNames parse(std::string text);

    // The vendor's first block decides both names: its device lines up to the
    // next vendor line, so no device takes the name of another vendor's device
    // with the same number. Not found: "Unknow".
    PciNamePair lookup(std::uint32_t vendorId, std::uint32_t deviceId) const;

    bool empty() const { return vendors_.empty(); }
    // Why a names file that is there gave no names (too large, unreadable).
    const std::string& problem() const { return problem_; }
    std::size_t vendorCount() const { return vendors_.size(); }

private:
    // Offsets into the text: the vendor line, and the lines of its block.
    // Only vendors are indexed; a lookup reads the one block it needs, which
    // keeps loading a full file to a few milliseconds.
    struct VendorBlock {
        std::size_t vendorLine;
        std::size_t blockBegin;
        std::size_t blockEnd;
    };

    std::shared_ptr<const std::string> text_;
    std::unordered_map<std::uint16_t, VendorBlock> vendors_;
    std::string problem_;

    friend PciNames loadPciNamesFrom(const std::string& path, std::size_t maxBytes);
};

// Far above the ~1.5 MB of a full file; refuses a wrong path such as a device.
inline constexpr std::size_t kPciNamesMaxBytes = 32u << 20;

// PCIDef.dat as the program finds it (current folder, beside the program,
// installed data); a missing or unreadable file gives no names.
PciNames loadPciNames();

// The same for a named file, for tools and tests.
PciNames loadPciNamesFrom(const std::string& path, std::size_t maxBytes = kPciNamesMaxBytes);

}  // namespace veltrane::ident
