#include "cli/FeatureFlagsText.h"

#include "cli/CpuInfoText.h"

namespace veltrane::cli {

namespace {

constexpr std::size_t kFlagIndent = 2;
constexpr std::size_t kFlagColumns = 76;

}  // namespace

std::vector<std::string> wrappedWords(const std::vector<std::string>& words, std::size_t indent,
                                      std::size_t width) {
    std::vector<std::string> lines;
    const std::string margin(indent, ' ');
    for (const auto& word : words) {
        if (!lines.empty() && lines.back().size() + 1 + word.size() <= width) {
            lines.back() += ' ' + word;
        } else {
            lines.push_back(margin + word);
        }
    }
    return lines;
}

std::string formatFeatureFlagsPage(const ident::FeatureFlagsPage& page) {
    // The flag lines stand between the heading and the labelled lines.
    std::string upper = page.heading + "\n";
    const auto lines = wrappedWords(page.flags, kFlagIndent, kFlagColumns);
    for (const auto& line : lines.empty() ? std::vector<std::string>{"  (none)"} : lines) {
        upper += '\n' + line;
    }
    return formatLabelledPage(upper, page.vectorState);
}

}  // namespace veltrane::cli
