#include "ident/FeatureBits.h"

#include "platform/CpuidLeaves.h"

namespace veltrane::ident {

namespace {

// Each word's 32 bits once, in order.
constexpr bool coversEveryBitInOrder() {
    for (std::size_t i = 0; i < feature_bits::kAll.size(); ++i) {
        const auto& feature = feature_bits::kAll[i];
        const auto word = i < 32 ? FeatureWord::standard : FeatureWord::extended;
        if (feature.word != word || static_cast<std::size_t>(feature.bit) != i % 32) {
            return false;
        }
    }
    return true;
}
static_assert(coversEveryBitInOrder());

}  // namespace

std::vector<std::string_view> supportedFeatures(FeatureWord word, std::uint32_t flags) {
    std::vector<std::string_view> keys;
    for (const auto& feature : feature_bits::kAll) {
        if (feature.word == word && platform::cpuid::bitOf(flags, feature.bit) != 0) {
            keys.push_back(feature.key);
        }
    }
    return keys;
}

}  // namespace veltrane::ident
