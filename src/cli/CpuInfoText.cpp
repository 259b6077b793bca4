#include "cli/CpuInfoText.h"

#include "platform/Format.h"

namespace veltrane::cli {

namespace {

constexpr int kLabelWidth = 18;
constexpr int kItemWidth = 50;

std::string trimmedRight(std::string text) {
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    return text;
}

}  // namespace

std::string formatExtendedCpuInfo(const std::vector<ident::LabelledValue>& values,
                                  const std::vector<ident::FeatureRow>& features) {
    std::string text = "Extended CPU Informations\n\n";
    for (const auto& row : values) {
        text += trimmedRight(strprintf("  %-*s %s", kLabelWidth, row.label.c_str(),
                                       row.enabled ? row.value.c_str() : ""));
        text += '\n';
    }
    text += strprintf("\n  %-*s %s\n", kItemWidth, "Item", "Description");
    for (const auto& row : features) {
        text += trimmedRight(
            strprintf("  %-*s %s", kItemWidth, row.item.c_str(), row.description.c_str()));
        text += '\n';
    }
    return text;
}

}  // namespace veltrane::cli
