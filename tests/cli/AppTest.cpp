#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "cli/App.h"
#include "cli/CpuInfoText.h"
#include "cli/RunCommand.h"
#include "platform/CpuidDump.h"
#include "platform/TextFile.h"

namespace veltrane::cli {
namespace {

struct Run {
    int status;
    std::string out;
    std::string err;
};

Run run(std::vector<const char*> args) {
    args.insert(args.begin(), "veltrane-cli");
    std::ostringstream out;
    std::ostringstream err;
    const int status = runApp(static_cast<int>(args.size()), args.data(), out, err);
    return {status, out.str(), err.str()};
}

TEST(CliUsage, ErrorsExitWithTwoAndNameTheProblem) {
    EXPECT_EQ(run({}).status, 2);
    const auto badTopic = run({"info", "memory"});
    EXPECT_EQ(badTopic.status, 2);
    EXPECT_NE(badTopic.err.find("memory"), std::string::npos);
    EXPECT_EQ(run({"info", "--no-clock=maybe"}).status, 2);
    EXPECT_EQ(run({"info", "--dump-cpuid"}).status, 2);
    EXPECT_EQ(run({"--help"}).status, 0);
    EXPECT_EQ(run({"--version"}).status, 0);
}

TEST(CliDump, WritesADumpThatReadsBack) {
    const std::string path = ::testing::TempDir() + "veltrane-app-test.cpuid";
    const auto result = run({"info", "--dump-cpuid", path.c_str()});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("CPUID dump written to"), std::string::npos);
    const auto text = platform::readTextFile(path);
    ASSERT_TRUE(text.ok());
    const auto dump = platform::parseCpuidDump(text.content);
    EXPECT_TRUE(dump.find(0, 0).has_value());
    EXPECT_TRUE(dump.find(0x80000000, 0).has_value());
    std::remove(path.c_str());
}

TEST(RunOptions, TestListsBecomeCustomMasksUnlessAllSevenAreListed) {
    std::string error;
    EXPECT_EQ(maskFromTestList("1,3,6", error), 128 | 1 | 4 | 32);
    EXPECT_EQ(maskFromTestList("4", error), 128 | 8);
    EXPECT_EQ(maskFromTestList("7,1,1", error), 128 | 64 | 1);
    EXPECT_EQ(maskFromTestList("1,2,3,4,5,6,7", error), 255);
    for (const char* bad : {"", "0", "8", "1,", ",1", "1,,2", "12", "a", "1;2", " 1"}) {
        error.clear();
        EXPECT_FALSE(maskFromTestList(bad, error).has_value()) << bad;
        EXPECT_NE(error.find("1 to 7"), std::string::npos) << bad;
    }
    EXPECT_EQ(suiteFromName("standard"), 3);
    EXPECT_FALSE(suiteFromName("Standard").has_value());
}

TEST(CpuInfoText, AlignsLabelsAndDropsTrailingBlanks) {
    const auto text =
        formatExtendedCpuInfo({{"Family:", "6", true}, {"Multiplier:", "ignored", false}},
                              {{" ", ""}, {"      MMX Instructions (bit 24)", "Supported"}});
    EXPECT_EQ(text,
              "Extended CPU Informations\n\n"
              "  Family:              6\n"
              "  Multiplier:\n"
              "\n  Item                                               Description\n"
              "\n"
              "        MMX Instructions (bit 24)                    Supported\n");
}

}  // namespace
}  // namespace veltrane::cli
