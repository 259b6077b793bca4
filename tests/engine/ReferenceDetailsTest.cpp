#include <gtest/gtest.h>

#include "engine/ReferenceDetails.h"

namespace veltrane::engine {
namespace {

// MIPS and MFLOPS are read as integers, the bandwidths as floats.
ReferenceEntry exampleEntry() {
    return *parseReferenceLine(
        "CPU X 1400-64 KB-32 KB-256 KB-Chipset Y-133 MHz-OS Z-1500-1200-1300-1250-1350-2100.9-"
        "900.6-1050.7-999.5001-PICTURE");
}

TEST(ReferenceDetails, SixteenRowsSpellOutTheEntryRoundingTheFloats) {
    auto entry = exampleEntry();
    std::string text;
    for (const auto& row : referenceDetailsRows(entry)) {
        text += row.item + "=" + row.description + "|";
    }
    EXPECT_EQ(
        text,
        "CPU Name and Frequency=CPU X 1400|L1 Data Cache=64 KB|L1 Instruction Cache=32 KB|"
        "L2 Cache=256 KB|Chipset Name=Chipset Y|FSB Frequency=133 MHz|OS Installed=OS Z|"
        "Overall Result=1500 CPUMarks|ALU Result=1200 ALUMarks|FPU Overall Result=1300 FPUMarks|"
        "FPU Result Details: Single Precision=1250 FPUMarks SP|"
        "FPU Result Details: Double Precision=1350 FPUMarks DP|"
        "RAM Bandwidth MB/s: ALU=1051 MB/s|RAM Bandwidth MB/s: FPU=1000 MB/s|"
        "System Estimated MIPS=2100 MIPS|System Estimated MFLOPS=900 MFLOPS|");
    entry.ramAlu = 1050.2f;
    entry.mips = 2100.7f;
    const auto rows = referenceDetailsRows(entry);
    EXPECT_EQ(rows[12].description + "|" + rows[14].description, "1050 MB/s|2101 MIPS");
}

TEST(ReferenceDetails, TheListIsChosenBySuiteNumberAndOutOfRangeGivesNoRows) {
    ReferenceDatabase database;
    for (std::size_t list = 0; list < database.lists.size(); ++list) {
        database.lists[list] = {exampleEntry(), exampleEntry()};
        database.lists[list][1].cpuName = "suite " + std::to_string(list);
    }
    EXPECT_EQ(referenceDetailsRows(database, 1, 3)[0].description, "suite 3");
    EXPECT_EQ(referenceDetailsRows(database, 1, 0)[0].description, "suite 0");
    EXPECT_EQ(referenceDetailsRows(database, 0, 4)[0].description, "CPU X 1400");
    database.lists[3].clear();
    for (const auto& [position, suite] :
         {std::pair{2, 2}, {-1, 2}, {0, -1}, {0, 5}, {0, 3}, {2147483647, 2}}) {
        EXPECT_TRUE(referenceDetailsRows(database, position, suite).empty())
            << position << " " << suite;
    }
}

TEST(ChartPageValues, EachPageGetsItsFiguresFromTheResult) {
    BenchResult r;
    r.suite = 1;
    float value = 0.75f;
    for (float* field : {&r.overallResult, &r.integerResult, &r.floatResult, &r.doubleResult,
                         &r.ramAluResult, &r.ramFpuResult, &r.mipsResult, &r.mflopsResult}) {
        *field = value += 100;
    }
    const auto v = chartPageValues(r);
    EXPECT_EQ(
        (std::vector<float>{v.overall, v.integer, v.fpu, v.ramAlu, v.ramFpu, v.mips, v.mflops}),
        (std::vector<float>{100.75f, 200.75f, 350.75f, 500.75f, 600.75f, 700.75f, 800.75f}));
    // The precision page truncates; the range guard is RunEnd's truncatedInt.
    EXPECT_EQ((std::vector<int>{v.floatSingle, v.floatDouble, v.suite}),
              (std::vector<int>{300, 400, 1}));
}

}  // namespace
}  // namespace veltrane::engine
