#include "engine/ReferenceLine.h"

#include <algorithm>
#include <array>

#include "platform/Format.h"

namespace veltrane::engine {

namespace {

bool separatorOrControl(char c) {
    return c == '-' || static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
}

std::string trimmedBlanks(std::string text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// A minus sign would split the field, and no figure is below zero.
int whole(std::int32_t value) {
    return std::max(value, std::int32_t{0});
}

double positive(float value) {
    return value >= 0 && value <= 1e12f ? static_cast<double>(value) : 0.0;
}

// Whole numbers as the reader takes them; the two bandwidths keep a tenth.
std::string numberFields(const ReferenceEntry& e) {
    return strprintf("%d-%d-%d-%d-%d-%.0f-%.0f-%.1f-%.1f", whole(e.overall), whole(e.alu),
                     whole(e.fpu), whole(e.fpuSingle), whole(e.fpuDouble), positive(e.mips),
                     positive(e.mflops), positive(e.ramAlu), positive(e.ramFpu));
}

}  // namespace

std::string referenceField(std::string_view text) {
    std::string field(text);
    std::replace_if(field.begin(), field.end(), separatorOrControl, ' ');
    field = trimmedBlanks(std::move(field));
    return field.empty() ? "Unknown" : field;
}

std::string referenceLine(const ReferenceEntry& entry) {
    // In line order: name, caches, chipset, bus and system; the picture last.
    std::array<std::string, 8> texts{
        referenceField(entry.cpuName), referenceField(entry.l1Data),
        referenceField(entry.l1Code),  referenceField(entry.l2Cache),
        referenceField(entry.chipset), referenceField(entry.fsb),
        referenceField(entry.osName),  referenceField(entry.bitmapName)};
    const std::string numbers = numberFields(entry);
    auto length = [&] {
        std::size_t total = numbers.size() + texts.size();  // one separator each
        for (const auto& text : texts) {
            total += text.size();
        }
        return total;
    };
    while (length() > kReferenceLineMax) {
        auto& longest =
            *std::max_element(texts.begin(), texts.end(),
                              [](const auto& a, const auto& b) { return a.size() < b.size(); });
        if (longest.size() <= 1) {
            break;  // cannot happen with the figures bounded above
        }
        longest = referenceField(longest.substr(0, longest.size() - 1));
    }
    std::string line;
    for (std::size_t i = 0; i < 7; ++i) {
        line += texts[i] + '-';
    }
    return line + numbers + '-' + texts[7];
}

}  // namespace veltrane::engine
