#include <gtest/gtest.h>

#include "cli/TodaysNamesText.h"

namespace veltrane::cli {
namespace {

TEST(TodaysNamesText, HeadingThenTheFiveNamesAligned) {
    const ident::ModernNames turin{"AMD", "Turin", "Zen 5", "TSMC N4P + N6", "SP5"};
    EXPECT_EQ(formatTodaysNames(turin),
              "Today's names\n\n"
              "  Manufacturer:        AMD\n"
              "  Codename:            Turin\n"
              "  Microarchitecture:   Zen 5\n"
              "  Process:             TSMC N4P + N6\n"
              "  Socket/Platform:     SP5\n");
    EXPECT_NE(formatTodaysNames({}).find("  Codename:            Unknow\n"), std::string::npos);
}

}  // namespace
}  // namespace veltrane::cli
