#include "cli/CpuInfoText.h"

#include "platform/Format.h"

namespace veltrane::cli {

namespace {

constexpr std::size_t kLabelWidth = 20;
constexpr std::size_t kGroupLabelWidth = 24;
constexpr int kItemWidth = 50;

// Characters on screen: UTF-8 continuation bytes take no column ("N°").
std::size_t columns(const std::string& text) {
    std::size_t n = 0;
    for (const char c : text) {
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    return n;
}

std::string labelledLine(const ident::LabelledValue& row, std::size_t indent, std::size_t width) {
    std::string line(indent, ' ');
    line += row.label;
    line.append(width > columns(row.label) ? width - columns(row.label) : 0, ' ');
    line += ' ';
    line += row.enabled ? row.value : "";
    return std::string(trimmedRight(line)) + '\n';
}

}  // namespace

std::string formatLabelledPage(const std::string& heading,
                               const std::vector<ident::LabelledValue>& values) {
    std::string text = heading + "\n\n";
    for (const auto& row : values) {
        text += labelledLine(row, 2, kLabelWidth);
    }
    return text;
}

namespace {

std::string formatItemList(const std::vector<ident::FeatureRow>& rows) {
    std::string text;
    for (const auto& row : rows) {
        text += trimmedRight(
            strprintf("  %-*s %s", kItemWidth, row.item.c_str(), row.description.c_str()));
        text += '\n';
    }
    return text;
}

}  // namespace

std::string formatExtendedCpuInfo(const std::vector<ident::LabelledValue>& values,
                                  const std::vector<ident::FeatureRow>& features) {
    std::string text = formatLabelledPage("Extended CPU Informations", values);
    text += strprintf("\n  %-*s %s\n", kItemWidth, "Item", "Description");
    return text + formatItemList(features);
}

std::string formatCachePage(const ident::CachePage& page) {
    std::string text = page.heading + "\n";
    for (const auto& group : page.groups) {
        text += "\n  " + group.title + "\n";
        for (const auto& field : group.fields) {
            text += labelledLine(field, 4, kGroupLabelWidth);
        }
    }
    return text;
}

std::string formatMotherboardPage(const ident::MotherboardPage& page) {
    std::string text = page.heading + "\n\n  " + page.chipsetTitle + "\n";
    for (const auto& row : page.chipset) {
        text += labelledLine(row, 4, kGroupLabelWidth);
    }
    text += "\n  " + page.otherDevicesTitle + "\n";
    text += formatItemList(page.otherDevices);
    text += "\n  " + page.motherboardSpecificTitle + "\n";
    for (const auto& row : page.motherboardSpecific) {
        text += labelledLine(row, 4, kGroupLabelWidth);
    }
    return text;
}

}  // namespace veltrane::cli
