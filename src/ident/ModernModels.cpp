#include "ident/ModernModels.h"

#include <array>
#include <optional>
#include <tuple>

#include "platform/Format.h"
#include "platform/TextFile.h"

namespace veltrane::ident {

namespace {

constexpr std::size_t kFieldCount = 9;
constexpr std::size_t kVendorLength = 12;
constexpr std::size_t kMaxHexDigits = 3;
// Displayed family: base 0xF plus an 8-bit extended family.
constexpr int kMaxFamily = 0xF + 0xFF;
constexpr int kMaxModel = 0xFF;
constexpr int kMaxStepping = 0xF;
constexpr std::string_view kBlanks = " \t";

using Fields = std::array<std::string_view, kFieldCount>;

bool isPrintable(std::string_view line) {
    for (const char c : line) {
        if (c != '\t' && (c < 0x20 || c > 0x7E)) {
            return false;
        }
    }
    return true;
}

std::optional<int> hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return std::nullopt;
}

// "1A" or "0x1A", at most three digits so nothing can overflow.
std::optional<int> hexNumber(std::string_view text, int max) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
    }
    if (text.empty() || text.size() > kMaxHexDigits) {
        return std::nullopt;
    }
    int value = 0;
    for (const char c : text) {
        const auto digit = hexDigit(c);
        if (!digit) {
            return std::nullopt;
        }
        value = value * 16 + *digit;
    }
    return value <= max ? std::optional<int>(value) : std::nullopt;
}

// "*", "0x97" or "0x00-0x0F".
std::optional<ValueRange> hexRange(std::string_view text, int max) {
    if (text == "*") {
        return ValueRange{0, max};
    }
    const auto dash = text.find('-');
    const auto first = hexNumber(trimmed(text.substr(0, dash), kBlanks), max);
    const auto last = dash == std::string_view::npos
                          ? first
                          : hexNumber(trimmed(text.substr(dash + 1), kBlanks), max);
    if (!first || !last || *first > *last) {
        return std::nullopt;
    }
    return ValueRange{*first, *last};
}

std::optional<Fields> splitFields(std::string_view line) {
    Fields fields;
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        const auto bar = line.find('|');
        if ((bar == std::string_view::npos) != (i + 1 == kFieldCount)) {
            return std::nullopt;
        }
        fields[i] = trimmed(line.substr(0, bar), kBlanks);
        if (fields[i].empty() || fields[i].size() > kModelFieldMaxLength) {
            return std::nullopt;
        }
        line.remove_prefix(bar == std::string_view::npos ? line.size() : bar + 1);
    }
    return fields;
}

// The record a line gives, or why it gives none.
std::string parseRecord(std::string_view line, ModelRecord& record) {
    if (line.size() > kModelLineMaxLength) {
        return "longer than " + std::to_string(kModelLineMaxLength) + " characters";
    }
    if (!isPrintable(line)) {
        return "a control or non-ASCII character";
    }
    const auto fields = splitFields(line);
    if (!fields) {
        return "not nine non-empty fields of at most " + std::to_string(kModelFieldMaxLength) +
               " characters";
    }
    const auto& f = *fields;
    const auto family = hexNumber(f[1], kMaxFamily);
    const auto model = hexRange(f[2], kMaxModel);
    const auto stepping = hexRange(f[3], kMaxStepping);
    if (f[0].size() != kVendorLength) {
        return "a vendor that is not twelve characters";
    }
    if (!family || !model || !stepping) {
        return "a family, model or stepping that is not hexadecimal or out of range";
    }
    record = {std::string(f[0]),
              *family,
              *model,
              *stepping,
              {std::string(f[4]), std::string(f[5]), std::string(f[6]), std::string(f[7]),
               std::string(f[8])}};
    return {};
}

bool isBlankOrComment(std::string_view line) {
    const auto text = trimmed(line, kBlanks);
    return text.empty() || text.front() == ';';
}

}  // namespace

const ModelRecord* ModelTable::find(std::string_view vendor, int family, int model,
                                    int stepping) const {
    const ModelRecord* best = nullptr;
    for (const auto& record : records) {
        if (record.vendor != vendor || record.family != family || !record.model.holds(model) ||
            !record.stepping.holds(stepping)) {
            continue;
        }
        const auto widths = [](const ModelRecord& r) {
            return std::tuple(r.model.width(), r.stepping.width());
        };
        if (best == nullptr || widths(record) < widths(*best)) {
            best = &record;
        }
    }
    return best;
}

ModelTable parseModelTable(std::string_view text) {
    ModelTable table;
    const auto lines = platform::splitLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (isBlankOrComment(lines[i])) {
            continue;
        }
        ModelRecord record;
        const auto problem = parseRecord(lines[i], record);
        if (problem.empty()) {
            table.records.push_back(std::move(record));
        } else if (table.skippedLines++ == 0) {
            table.firstSkipped = "line " + std::to_string(i + 1) + ": " + problem;
        }
    }
    return table;
}

}  // namespace veltrane::ident
