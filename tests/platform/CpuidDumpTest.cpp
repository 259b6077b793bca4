#include <gtest/gtest.h>

#include "platform/CpuidDump.h"
#include "support/FakeCpu.h"

namespace veltrane::platform {
namespace {

TEST(CpuidDumpParse, ReadsLeavesCommentsAndProcessorCount) {
    const auto dump = parseCpuidDump(
        "# a comment\r\n"
        "\n"
        "00000000 00000000 00000001 68747541 444D4163 69746e65\r\n"
        "  4 1 1c004122 1c0003f 3f 0\n"
        "processors 2\n");
    ASSERT_EQ(dump.leaves().size(), 2u);
    EXPECT_EQ(dump.find(0, 0), (CpuidRegisters{1, 0x68747541, 0x444d4163, 0x69746e65}));
    EXPECT_EQ(dump.find(4, 1), (CpuidRegisters{0x1c004122, 0x1c0003f, 0x3f, 0}));
    EXPECT_FALSE(dump.find(4, 0).has_value());
    EXPECT_EQ(dump.processors, 2u);
}

TEST(CpuidDumpParse, RefusesDamagedInputWithTheLineNumber) {
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"0 0 1 2 3\n", "line 1: expected six hexadecimal words"},
        {"0 0 1 2 3 4\n0 0 5 6 7 8\n", "line 2: leaf 00000000 sub-leaf 00000000 is given twice"},
        {"0 0 1 2 3 xyz\n", "line 1: \"xyz\" is not a 32-bit hexadecimal number"},
        {"0 0 1 2 3 123456789\n", "is not a 32-bit hexadecimal number"},
        {"0 0 1 2 3 -1\n", "is not a 32-bit hexadecimal number"},
        {"0 0 1 2 3 4\nprocessors 0\n", "line 2: expected \"processors N\""},
        {"0 0 1 2 3 4\nprocessors 2 3\n", "line 2: expected \"processors N\""},
        {"0 0 1 2 3 4\nprocessors 1\nprocessors 2\n", "line 3: the processor count is given twice"},
        {"# nothing but comments\n", "no CPUID leaves"},
        {"", "no CPUID leaves"},
    };
    for (const auto& c : cases) {
        try {
            parseCpuidDump(c.text);
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const CpuidDumpError& error) {
            EXPECT_NE(std::string(error.what()).find(c.expected), std::string::npos)
                << error.what();
        }
    }
}

TEST(CpuidDumpFormat, RoundTripsThroughText) {
    CpuidDump dump;
    dump.add(0x80000006, 0, {0, 0x41004100, 0x01008140, 0});
    dump.add(1, 0, {0x662, 0, 0, 0x0383fbff});
    dump.processors = 2;
    const auto text = formatCpuidDump(dump);
    EXPECT_NE(text.find("00000001 00000000 00000662 00000000 00000000 0383fbff\n"),
              std::string::npos);
    const auto again = parseCpuidDump(text);
    EXPECT_EQ(again.leaves(), dump.leaves());
    EXPECT_EQ(again.processors, 2u);
}

TEST(CpuidDumpCapture, TakesEveryLeafTheProgramReadsUpToTheLastCacheAndTlbSubleaves) {
    auto cpu = test::FakeCpu().vendor("GenuineIntel", 0x1F);
    cpu.leaf(4, {0x121, 0, 0, 0}, 0).leaf(4, {0x143, 0, 0, 0}, 1).leaf(4, {0x163, 0, 0, 0}, 3);
    cpu.leaf(0x18, {2, 0, 0, 0}, 0).leaf(0x18, {0, 0, 0, 0x21}, 2).leaf(0x18, {0, 0, 0, 1}, 3);
    cpu.processors(4);
    const auto dump = captureCpuidDump(cpu.probe());
    EXPECT_TRUE(dump.find(4, 2).has_value());  // the zero entry that ends the list
    EXPECT_FALSE(dump.find(4, 3).has_value());
    EXPECT_TRUE(dump.find(0x18, 1).has_value());
    EXPECT_EQ(dump.find(0x18, 2)->edx, 0x21u);
    EXPECT_FALSE(dump.find(0x18, 3).has_value());
    for (std::uint32_t leaf : {0u, 1u, 2u, 0x80000000u, 0x80000001u, 0x80000004u, 0x80000006u}) {
        EXPECT_TRUE(dump.find(leaf, 0).has_value()) << std::hex << leaf;
    }
    EXPECT_EQ(dump.processors, 4u);
    EXPECT_FALSE(captureCpuidDump(test::FakeCpu().vendor("AuthenticAMD", 1).probe())
                     .find(4, 0)
                     .has_value());  // no leaf 4 below it
}

TEST(LoadCpuidDumpFile, NamesTheFileAndTheProblem) {
    try {
        loadCpuidDumpFile("/nonexistent/veltrane.cpuid");
        FAIL() << "a missing file was accepted";
    } catch (const CpuidDumpError& error) {
        EXPECT_EQ(std::string(error.what())
                      .rfind("cannot read CPUID dump /nonexistent/veltrane.cpuid: ", 0),
                  0u);
    }
}

}  // namespace
}  // namespace veltrane::platform
