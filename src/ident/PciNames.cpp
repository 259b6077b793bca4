#include "ident/PciNames.h"

#include <filesystem>
#include <optional>
#include <utility>

#include "platform/DataFiles.h"
#include "platform/TextFile.h"

namespace veltrane::ident {

namespace {

constexpr std::size_t kKeyLength = 6;

struct KeyedLine {
    char kind;  // 'V' or 'D'
    std::uint16_t id;
    std::string_view rest;  // the separator and the name
};

std::optional<int> upperHexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return std::nullopt;
}

std::optional<std::uint16_t> upperHexId(std::string_view digits) {
    unsigned value = 0;
    for (const char c : digits) {
        const auto digit = upperHexDigit(c);
        if (!digit) {
            return std::nullopt;
        }
        value = value << 4 | static_cast<unsigned>(*digit);
    }
    return static_cast<std::uint16_t>(value);
}

std::optional<KeyedLine> keyedLine(std::string_view line) {
    if (line.size() < kKeyLength || (line[0] != 'V' && line[0] != 'D') || line[1] != '\t') {
        return std::nullopt;
    }
    const auto id = upperHexId(line.substr(2, 4));
    if (!id) {
        return std::nullopt;
    }
    return KeyedLine{line[0], *id, line.substr(kKeyLength)};
}

// The separator after the key becomes the name's one leading blank.
std::string nameOf(const KeyedLine& line) {
    std::string name = " ";
    if (!line.rest.empty()) {
        name.append(line.rest.substr(1));
    }
    return name;
}

// Walks the lines of a text without their line ends (LF or CR LF).
class Lines {
public:
    Lines(std::string_view text, std::size_t begin, std::size_t end)
        : text_(text.substr(0, end)), at_(begin) {}

    bool next(std::string_view& line, std::size_t& start) {
        if (at_ >= text_.size()) {
            return false;
        }
        start = at_;
        const std::size_t newline = text_.find('\n', at_);
        const std::size_t stop = newline == std::string_view::npos ? text_.size() : newline;
        line = text_.substr(at_, stop - at_);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        at_ = stop == text_.size() ? stop : stop + 1;
        return true;
    }

    // Where the next line starts.
    std::size_t position() const { return at_; }

private:
    std::string_view text_;
    std::size_t at_;
};

}  // namespace

PciNames PciNames::parse(std::string text) {
    PciNames names;
    if (text.find('\0') != std::string::npos) {
        return names;
    }
    names.text_ = std::make_shared<const std::string>(std::move(text));
    const std::string_view all = *names.text_;
    VendorBlock* block = nullptr;
    Lines lines(all, 0, all.size());
    std::string_view line;
    std::size_t start = 0;
    while (lines.next(line, start)) {
        const auto keyed = keyedLine(line);
        if (!keyed || keyed->kind != 'V') {
            continue;
        }
        if (block != nullptr) {
            block->blockEnd = start;
        }
        // A repeated vendor line opens no block: the first one decides.
        const auto [it, added] = names.vendors_.try_emplace(keyed->id, VendorBlock{start, 0, 0});
        block = added ? &it->second : nullptr;
        if (block != nullptr) {
            block->blockBegin = lines.position();
        }
    }
    if (block != nullptr) {
        block->blockEnd = all.size();
    }
    return names;
}

PciNamePair PciNames::lookup(std::uint32_t vendorId, std::uint32_t deviceId) const {
    PciNamePair pair{kPciUnknownName, kPciUnknownName};
    const auto vendor =
        vendorId > 0xFFFF ? vendors_.end() : vendors_.find(static_cast<std::uint16_t>(vendorId));
    if (vendor == vendors_.end()) {
        return pair;
    }
    const VendorBlock& block = vendor->second;
    std::string_view line;
    std::size_t start = 0;
    Lines(*text_, block.vendorLine, block.blockEnd).next(line, start);
    pair.vendorName = nameOf(*keyedLine(line));
    Lines blockLines(*text_, block.blockBegin, block.blockEnd);
    while (blockLines.next(line, start)) {
        const auto keyed = keyedLine(line);
        if (keyed && keyed->kind == 'D' && keyed->id == deviceId) {
            pair.deviceName = nameOf(*keyed);
            break;
        }
    }
    return pair;
}

PciNames loadPciNamesFrom(const std::string& path, std::size_t maxBytes) {
    auto read = platform::readTextFile(path, maxBytes);
    if (read.ok()) {
        return PciNames::parse(std::move(read.content));
    }
    PciNames none;
    // A missing file is the usual case of a trimmed install; anything else
    // is worth a word.
    if (std::filesystem::exists(path)) {
        none.problem_ = path + ": " + read.error + "; devices are listed without names";
    }
    return none;
}

PciNames loadPciNames() {
    const auto path = platform::findDataFile("PCIDef.dat");
    return path ? loadPciNamesFrom(*path) : PciNames();
}

}  // namespace veltrane::ident
