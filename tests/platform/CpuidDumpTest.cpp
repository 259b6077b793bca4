#include <gtest/gtest.h>

#include "platform/CpuidDump.h"
#include "platform/Format.h"
#include "support/FakeCpu.h"

namespace veltrane::platform {
namespace {

TEST(CpuidDumpParse, ReadsLeavesCommentsAndProcessorCountAndWritesThemBack) {
    const auto dump = parseCpuidDump(
        "# a comment\r\n"
        "\n"
        "00000000 00000000 00000001 68747541 444D4163 69746e65\r\n"
        "  4 1 1c004122 1c0003f 3f 0\n"
        "processors 2\n");
    // Written back in the program's own form.
    EXPECT_EQ(formatCpuidDump(dump),
              "# Veltrane CPUID dump\n# leaf    subleaf  eax      ebx      ecx      edx\n"
              "00000000 00000000 00000001 68747541 444d4163 69746e65\n"
              "00000004 00000001 1c004122 01c0003f 0000003f 00000000\nprocessors 2\n");
}

// What loading gives: the error, or "accepted".
template <typename Load>
std::string errorOf(Load load) {
    try {
        load();
        return "accepted";
    } catch (const CpuidDumpError& error) {
        return error.what();
    }
}

TEST(CpuidDumpParse, RefusesDamagedInputWithTheLineNumberAndAMissingFileByItsName) {
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"0 0 1 2 3\n", "line 1: expected six hexadecimal words"},
        {"0 0 1 2 3 4\n0 0 5 6 7 8\n", "line 2: leaf 00000000 sub-leaf 00000000 is given twice"},
        {"0 0 1 2 3 xyz\n", "line 1: \"xyz\" is not a 32-bit hexadecimal number"},
        {"0 0 1 2 3 123456789\n", "line 1: \"123456789\" is not a 32-bit hexadecimal number"},
        {"0 0 1 2 3 4\nprocessors 0\n", "line 2: expected \"processors N\""},
        {"0 0 1 2 3 4\nprocessors 1\nprocessors 2\n", "line 3: the processor count is given twice"},
        {"# nothing but comments\n", "no CPUID leaves"},
    };
    for (const auto& c : cases) {
        const auto error = errorOf([&] { parseCpuidDump(c.text); });
        EXPECT_EQ(error.substr(0, std::string(c.expected).size()), c.expected) << c.text;
    }
    EXPECT_EQ(errorOf([] { loadCpuidDumpFile("/nonexistent/veltrane.cpuid"); }).substr(0, 52),
              "cannot read CPUID dump /nonexistent/veltrane.cpuid: ");
}

// A fake processor given the same leaf twice would test the wrong processor.
TEST(CpuidDumpParse, TheFakeProcessorRefusesALeafGivenTwice) {
    test::FakeCpu cpu;
    cpu.leaf(4, {1, 0, 0, 0}, 0).leaf(4, {2, 0, 0, 0}, 1);
    EXPECT_THROW(cpu.leaf(4, {3, 0, 0, 0}, 1), CpuidDumpError);
    EXPECT_THROW(cpu.vendor("GenuineIntel").vendor("AuthenticAMD"), CpuidDumpError);
}

TEST(CpuidDumpCapture, TakesEveryLeafTheProgramReadsUpToTheLastCacheAndTlbSubleaves) {
    auto cpu = test::FakeCpu().vendor("GenuineIntel", 0x1F);
    cpu.leaf(4, {0x121, 0, 0, 0}, 0).leaf(4, {0x143, 0, 0, 0}, 1).leaf(4, {0x163, 0, 0, 0}, 3);
    cpu.leaf(0x18, {2, 0, 0, 0}, 0).leaf(0x18, {0, 0, 0, 0x21}, 2).leaf(0x18, {0, 0, 0, 1}, 3);
    cpu.processors(4);
    // 4/2 is the zero entry that ends the list; the dump keeps the answers and the count.
    const auto text = formatCpuidDump(captureCpuidDump(cpu.probe()));
    std::string taken;
    const auto dump = parseCpuidDump(text);
    for (const auto& [key, registers] : dump.leaves()) {
        taken += strprintf("%x/%x ", key.leaf, key.subleaf);
    }
    EXPECT_EQ(taken,
              "0/0 1/0 2/0 4/0 4/1 4/2 18/0 18/1 18/2 80000000/0 80000001/0 80000002/0 "
              "80000003/0 80000004/0 80000005/0 80000006/0 ");
    EXPECT_NE(text.find("00000018 00000002 00000000 00000000 00000000 00000021\n"),
              std::string::npos);
    EXPECT_TRUE(text.ends_with("processors 4\n"));
    EXPECT_FALSE(captureCpuidDump(test::FakeCpu().vendor("AuthenticAMD", 1).probe())
                     .find(4, 0)
                     .has_value());  // no leaf 4 below it
}

}  // namespace
}  // namespace veltrane::platform
