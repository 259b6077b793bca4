// The "Feature flags" section as the terminal shows it.
#include <gtest/gtest.h>

#include "cli/FeatureFlagsText.h"

namespace veltrane::cli {
namespace {

TEST(FeatureFlagsText, WrapsTheFlagsThenAlignsTheVectorState) {
    ident::FeatureFlagsPage page{"Feature flags", {}, {}, {{"XCR0:", "0x00000000000000E7"}}};
    for (int i = 0; i < 12; ++i) {
        page.flags.push_back("flag" + std::to_string(i) + "_abcdef");  // 12 or 13 columns each
    }
    EXPECT_EQ(formatFeatureFlagsPage(page),
              "Feature flags\n\n"
              "  flag0_abcdef flag1_abcdef flag2_abcdef flag3_abcdef flag4_abcdef\n"
              "  flag5_abcdef flag6_abcdef flag7_abcdef flag8_abcdef flag9_abcdef\n"
              "  flag10_abcdef flag11_abcdef\n\n"
              "  XCR0:                0x00000000000000E7\n");
    page.flags.clear();
    EXPECT_TRUE(formatFeatureFlagsPage(page).starts_with("Feature flags\n\n  (none)\n\n  XCR0:"));
}

TEST(FeatureFlagsText, WrapsAtTheWidthAndGivesALongWordItsOwnLine) {
    const struct {
        std::vector<std::string> words;
        std::vector<std::string> lines;
    } cases[] = {
        {{"abc", "de", "f"}, {"  abc de", "  f"}},  // 8 columns fit, 10 do not
        {{"abcdefghijk", "a"}, {"  abcdefghijk", "  a"}},
        {{}, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(wrappedWords(c.words, 2, 8), c.lines);
    }
}

}  // namespace
}  // namespace veltrane::cli
