// The command line: usage, outputs and the comparison drawn in text.
#include <gtest/gtest.h>

#include <climits>
#include <sstream>
#include <vector>

#include "cli/App.h"
#include "cli/CompareText.h"
#include "cli/HelpTexts.h"
#include "cli/RunCommand.h"
#include "platform/CpuidDump.h"
#include "platform/TextFile.h"
#include "support/ScratchFolder.h"

namespace veltrane::cli {
namespace {

TEST(CliDump, WritesADumpThatReadsBackAndWantsItsFileName) {
    const test::ScratchFolder scratch;
    const char* args[] = {"veltrane-cli", "info", "--dump-cpuid", "app-test.cpuid"};
    std::ostringstream out, err;
    ASSERT_EQ(runApp(4, args, out, err), 0) << err.str();
    EXPECT_NE(out.str().find("CPUID dump written to"), std::string::npos);
    const auto dump = platform::parseCpuidDump(platform::readTextFile("app-test.cpuid").content);
    EXPECT_TRUE(dump.find(0, 0) && dump.find(0x80000000, 0));
    EXPECT_EQ(runApp(3, args, out, err), 2);  // a usage error
}

TEST(CliUsage, NumbersAreWholeDecimalsAndFileNamesAreNeitherEmptyNorOptions) {
    const std::vector<std::vector<const char*>> refused = {
        {"loop", "--repeat", ""},       {"loop", "--until", ""},
        {"loop", "--repeat", "abc"},    {"loop", "--repeat", "999999999999"},
        {"loop", "--repeat", "+5"},     {"loop", "--until", "7"},
        {"run", "--mask", "0x10"},      {"run", "--mask", "256"},
        {"run", "--json", "--compare"}, {"run", "--json", ""},
        {"run", "--report", ""},        {"run", "--report", "-"},
        {"info", "--dump-cpuid", ""},   {"--cpuid-file", "", "info"},
        {"info", "--dump-cpuid", "-x"}, {"run", "--repeat", "0"},
        {"run", "--repeat", "1e2"},     {"run", "--until-stable", "--repeat", "1"}};
    for (const auto& words : refused) {
        std::vector<const char*> args{"veltrane-cli"};
        args.insert(args.end(), words.begin(), words.end());
        std::ostringstream out, err;
        EXPECT_EQ(runApp(static_cast<int>(args.size()), args.data(), out, err), 2)
            << words[0] << " " << words[1] << " '" << words[2] << "'";
        EXPECT_EQ(out.str(), "");
    }
    // a leading zero is still decimal: 0128 is the empty custom run, not bad octal
    const test::ScratchFolder scratch;
    const char* args[] = {"veltrane-cli", "run", "--mask", "0128"};
    std::ostringstream out, err;
    EXPECT_EQ(runApp(4, args, out, err), 0) << err.str();
    EXPECT_NE(out.str().find("N/A  CPUMarks"), std::string::npos);
}

TEST(CliUsage, TheWordWhereTheCommandBelongsIsNamedWhenItIsNoCommand) {
    const std::vector<std::string> commands{"info", "run"};
    const struct {
        std::vector<const char*> argv;
        const char* unknown;
    } cases[] = {
        {{"veltrane-cli", "runn"}, "runn"},
        {{"veltrane-cli", "--cpuid-file", "info", "infp"}, "infp"},  // a file called info
        {{"veltrane-cli", "--cpuid-file", "x", "run", "extra"}, ""},
        {{"veltrane-cli", "--version"}, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(unknownCommandWord(static_cast<int>(c.argv.size()), c.argv.data(), commands,
                                     {"--cpuid-file"}),
                  c.unknown);
    }
}

TEST(CliOutput, AFullDeviceOnStandardOutputIsAFailure) {
    struct FullDevice : std::streambuf {
        int overflow(int) override { return traits_type::eof(); }
        std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
    } full;
    std::ostream out(&full);
    std::ostringstream err;
    const char* args[] = {"veltrane-cli", "info", "cpu", "--no-clock"};
    EXPECT_EQ(runApp(4, args, out, err), 1);
    EXPECT_NE(err.str().find("could not write to standard output"), std::string::npos);
}

TEST(RunOptions, TestListsBecomeCustomMasksUnlessAllSevenAreListed) {
    EXPECT_EQ(maskFromTestList({1, 3, 6}), 128 | 1 | 4 | 32);
    EXPECT_EQ(maskFromTestList({7, 1, 1}), 128 | 64 | 1);
    EXPECT_EQ(maskFromTestList({1, 2, 3, 4, 5, 6, 7}), 255);
    for (const char* bad : {"", "0", "8", "12", "a", "1;2", "1.5", "1,-3"}) {
        const char* args[] = {"veltrane-cli", "run", "--tests", bad};
        std::ostringstream out, err;
        EXPECT_EQ(runApp(4, args, out, err), 2) << bad;
        EXPECT_NE(err.str().find("--tests"), std::string::npos) << bad << ": " << err.str();
    }
}

TEST(CompareStyle, TerminalWidthThenColumnsThenEightyAndBlocksOnlyOnAUtf8Terminal) {
    struct Case {
        TerminalFacts facts;
        int columns;
        bool unicode;
    };
    const Case cases[] = {
        {{.isTerminal = true, .windowColumns = 120, .lang = "en_US.UTF-8"}, 120, true},
        {{.isTerminal = true, .windowColumns = 120, .columnsVariable = "50"}, 120, false},
        {{.isTerminal = true, .columnsVariable = "100", .lcAll = "C.utf8"}, 100, true},
        {{.windowColumns = 120, .columnsVariable = "100", .lang = "en_US.UTF-8"}, 100, false},
        {{.columnsVariable = "0"}, 80, false},
        {{.columnsVariable = "-5"}, 80, false},
        {{.columnsVariable = "100x"}, 80, false},
        {{.columnsVariable = "99999999999"}, 80, false},
        {{.isTerminal = true, .lcAll = "C", .lang = "en_US.UTF-8"}, 80, false},
        {{.isTerminal = true, .lcAll = "", .lcCtype = "de_DE.Utf-8", .lang = "C"}, 80, true},
        {{.isTerminal = true, .lcCtype = "POSIX", .lang = "en_US.UTF-8"}, 80, false},
    };
    for (const auto& c : cases) {
        const auto style = compareStyleFor(c.facts);
        EXPECT_EQ(style.columns, c.columns) << &c - cases;
        EXPECT_EQ(style.unicodeBlocks, c.unicode) << &c - cases;
    }
}

TEST(CompareBars, ScaledToTheMaximumInWholeCellsOrEighths) {
    struct Case {
        std::int32_t value, maximum;
        int width;
        bool unicode;
        const char* bar;
    };
    const Case cases[] = {
        {100, 100, 4, false, "####"},
        {49, 100, 10, false, "#####     "},
        {0, 100, 3, true, "   "},
        {-5, 100, 3, true, "   "},
        {5, 0, 3, true, "   "},
        {5, -3, 3, false, "   "},
        {1, 8, 1, true, "\u258F"},
        {3, 8, 1, true, "\u258D"},
        {7, 8, 1, true, "\u2589"},
        {10, 16, 3, true, "\u2588\u2589 "},
        {INT_MAX, INT_MAX, 2, true, "\u2588\u2588"},
        {INT_MAX / 2, INT_MAX, 2, true, "\u2588 "},
        {INT_MAX, 1, 2, false, "##"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(barText(c.value, c.maximum, c.width, c.unicode), c.bar) << &c - cases;
    }
}

TEST(ComparePages, OneBarLinePerSeriesScaledToThePageLongNamesOnTheirOwnLine) {
    reports::ComparisonPage bandwidth{3, "", "Bandwidth", {"MByte/s", "MByte/s"}, "", {}};
    bandwidth.groups = {{"Your System:   ", {50, 0}, ""}, {"Old", {25, 100}, ""}};
    reports::ComparisonPage extremes{0, "", "Overall", {"CPUMarks"}, "", {}};
    extremes.groups = {{"A long reference name", {INT_MAX}, ""}, {"B", {INT_MIN}, ""}};
    struct Case {
        reports::ComparisonPage page;
        CompareStyle style;
        const char* text;
    };
    const Case cases[] = {
        {bandwidth,
         {48, false},
         "\nBandwidth\n"
         "  Your System: #########          50 MByte/s ALU\n"
         "                                   0 MByte/s FPU\n"
         "  Old          ####               25 MByte/s ALU\n"
         "               ################# 100 MByte/s FPU\n"},
        {extremes,
         {30, true},
         "\nOverall\n"
         "  A long reference name\n"
         "   \u2588\u2588\u2588\u2588\u2588\u2588\u2588\u2588\u2588\u2588  2147483647 CPUMarks\n"
         "  B\n"
         "              -2147483648 CPUMarks\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(comparePagesText({c.page}, c.style), c.text) << &c - cases;
    }
}

}  // namespace
}  // namespace veltrane::cli
