#include "cli/HistoryIds.h"

#include <charconv>

namespace veltrane::cli {

std::optional<HistoryId> parseHistoryId(const std::string& text) {
    HistoryId id;
    std::string_view digits = text;
    if (!digits.empty() && digits.front() == kScalingIdPrefix) {
        id.scaling = true;
        digits.remove_prefix(1);
    }
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), id.number);
    if (error != std::errc{} || end != digits.data() + digits.size() || id.number < 1) {
        return std::nullopt;
    }
    return id;
}

std::string historyIdText(const HistoryId& id) {
    return id.scaling ? scalingHistoryId(id.number) : std::to_string(id.number);
}

}  // namespace veltrane::cli
