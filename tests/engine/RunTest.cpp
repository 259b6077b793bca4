#include <gtest/gtest.h>

#include "engine/DetailsRows.h"
#include "engine/RunRequest.h"
#include "engine/TestInfo.h"
#include "ident/ProcessorIdentity.h"
#include "support/FakeCpu.h"

namespace veltrane::engine {
namespace {

using test::identityWith;

TEST(RunRequest, OnlyTheFullMaskRunsAllAndAnUnsupportedSuiteFallsBackToStandard) {
    const auto plain = identityWith(0, 0);
    using Tests = std::array<std::uint8_t, 7>;
    EXPECT_TRUE(planRun(SuiteStandard, 255, plain).fullRun);
    EXPECT_FALSE(planRun(SuiteStandard, 127, plain).fullRun);
    EXPECT_EQ(planRun(SuiteStandard, 127, plain).selected, (Tests{1, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(planRun(SuiteStandard, 128 | 4 | 32, plain).selected, (Tests{0, 0, 1, 0, 0, 1, 0}));
    const auto capable = identityWith(1u << 25 | 1u << 26, 1u << 31);
    for (int suite : {SuiteSSE, SuiteSSE2, Suite3DNow}) {
        EXPECT_TRUE(planRun(suite, 255, plain).fellBackToStandard) << suite;
        EXPECT_EQ(planRun(suite, 255, plain).suite, SuiteStandard) << suite;
        EXPECT_EQ(planRun(suite, 255, capable).suite, suite) << suite;
    }
    EXPECT_FALSE(suiteSupported(SuiteSSE2, identityWith(1u << 25, 0)));
}

TEST(DetailsRows, ProgressWindowRowsDescribeTheMachine) {
    auto machine = test::machineOf(std::make_shared<platform::RecordedCpuProbe>(
                                       test::FakeCpu().vendor("GenuineIntel").probe()),
                                   933.41f, false);
    machine.identity.l1DataKB = 16;
    machine.identity.l1CodeKB = 8;
    machine.identity.l2KB = 256;
    machine.definition.processorName = "Pentium III";
    machine.processorCount = 2;
    platform::MemoryFacts memory;
    memory.status.totalPhys = 511ull << 20;  // shown one more, as the system keeps some back
    machine.memory = ident::MemoryInfo(memory);
    std::string rows;
    for (const auto& row : cpuAndSystemRows(machine, false)) {
        rows += row.item + "=" + row.description + "|";
    }
    EXPECT_EQ(rows,
              "CPU Vendor=GenuineIntel|CPU Name=Pentium III|CPU Frequency=933.4 MHz|"
              "L1 Data Cache=16 KByte|L1 Instruction Cache=8 KByte|L2 Cache=256 KByte|"
              "System RAM (MByte)=512 MByte|");
    EXPECT_EQ(cpuAndSystemRows(machine, true)[1].description, "2xPentium III");
}

}  // namespace
}  // namespace veltrane::engine
