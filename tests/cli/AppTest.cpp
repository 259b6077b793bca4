#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "cli/App.h"
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
        {"info", "--dump-cpuid", "-x"}};
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

}  // namespace
}  // namespace veltrane::cli
