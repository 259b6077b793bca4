#include "PciIdsConversion.h"

#include <cctype>

namespace veltrane::tools {

namespace {

constexpr std::size_t kIdLength = 4;

bool isHexId(std::string_view text) {
    if (text.size() < kIdLength) {
        return false;
    }
    for (std::size_t i = 0; i < kIdLength; ++i) {
        if (std::isxdigit(static_cast<unsigned char>(text[i])) == 0) {
            return false;
        }
    }
    return true;
}

// "8086  Intel Corporation" -> "8086 Intel Corporation" with upper-case digits,
// or empty when the text is not an identifier, blanks and a name.
std::string idAndName(std::string_view text) {
    if (!isHexId(text) || text.size() <= kIdLength ||
        (text[kIdLength] != ' ' && text[kIdLength] != '\t')) {
        return {};
    }
    std::string_view name = text.substr(kIdLength);
    while (!name.empty() && (name.front() == ' ' || name.front() == '\t')) {
        name.remove_prefix(1);
    }
    if (name.empty()) {
        return {};
    }
    std::string result;
    for (std::size_t i = 0; i < kIdLength; ++i) {
        result += static_cast<char>(std::toupper(static_cast<unsigned char>(text[i])));
    }
    result += ' ';
    result.append(name);
    return result;
}

std::string_view withoutLineEnd(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) {
        line.remove_suffix(1);
    }
    return line;
}

}  // namespace

std::string pciDefFromPciIds(std::string_view pciIds) {
    std::string out;
    bool inVendor = false;
    while (!pciIds.empty()) {
        const std::size_t end = pciIds.find('\n');
        const std::string_view line = withoutLineEnd(pciIds.substr(0, end));
        pciIds.remove_prefix(end == std::string_view::npos ? pciIds.size() : end + 1);
        if (line.empty() || line.front() == '#') {
            continue;
        }
        if (line.front() != '\t') {
            // A vendor opens a block; anything else (the class list) closes it.
            const std::string vendor = idAndName(line);
            inVendor = !vendor.empty();
            if (inVendor) {
                out += "V\t" + vendor + "\n";
            }
        } else if (inVendor && line.size() > 1 && line[1] != '\t') {
            const std::string device = idAndName(line.substr(1));
            if (!device.empty()) {
                out += "D\t" + device + "\n";
            }
        }
    }
    return out;
}

}  // namespace veltrane::tools
