#include <gtest/gtest.h>

#include <cmath>

#include "engine/ReferenceDetails.h"

namespace veltrane::engine {
namespace {

ReferenceEntry exampleEntry() {
    return *parseReferenceLine(
        "CPU X 1400-64 KB-64 KB-256 KB-Chipset Y-133 MHz-OS Z-1500-1200-1300-1250-1350-2100-900-"
        "1050.7-980.25-PICTURE");
}

// The items or the descriptions of the rows from `first` on, joined by '|'.
std::string joined(const std::vector<InfoRow>& rows, bool items = false, std::size_t first = 0) {
    std::string text;
    for (std::size_t i = first; i < rows.size(); ++i) {
        text += (i == first ? "" : "|") + (items ? rows[i].item : rows[i].description);
    }
    return text;
}

TEST(ReferenceDetails, SixteenRowsSpellOutTheEntry) {
    const auto rows = referenceDetailsRows(exampleEntry());
    EXPECT_EQ(joined(rows, true),
              "CPU Name and Frequency|L1 Data Cache|L1 Instruction Cache|L2 Cache|Chipset Name|"
              "FSB Frequency|OS Installed|Overall Result|ALU Result|FPU Overall Result|"
              "FPU Result Details: Single Precision|FPU Result Details: Double Precision|"
              "RAM Bandwidth MB/s: ALU|RAM Bandwidth MB/s: FPU|System Estimated MIPS|"
              "System Estimated MFLOPS");
    EXPECT_EQ(joined(rows),
              "CPU X 1400|64 KB|64 KB|256 KB|Chipset Y|133 MHz|OS Z|1500 CPUMarks|1200 ALUMarks|"
              "1300 FPUMarks|1250 FPUMarks SP|1350 FPUMarks DP|1051 MB/s|980 MB/s|2100 MIPS|"
              "900 MFLOPS");
}

TEST(ReferenceDetails, BandwidthsRoundWhileScoresTruncate) {
    auto entry = *parseReferenceLine(
        "a-b-c-d-e-f-g-1500.9-1200.99-7.5-8.7-9.9-2100.9-900.6-1050.7-999.5001-h");
    // MIPS and MFLOPS are read as integers first.
    EXPECT_EQ(joined(referenceDetailsRows(entry), false, 7),
              "1500 CPUMarks|1200 ALUMarks|7 FPUMarks|8 FPUMarks SP|9 FPUMarks DP|1051 MB/s|"
              "1000 MB/s|2100 MIPS|900 MFLOPS");
    entry.ramAlu = 1050.2f;
    entry.mips = 2100.7f;
    EXPECT_EQ(referenceDetailsRows(entry)[12].description, "1050 MB/s");
    EXPECT_EQ(referenceDetailsRows(entry)[14].description, "2101 MIPS");
}

TEST(ReferenceDetails, TheListIsChosenBySuiteNumberAndOutOfRangeGivesNoRows) {
    ReferenceDatabase database;
    for (int list = 0; list < kReferenceListCount; ++list) {
        auto entry = exampleEntry();
        entry.cpuName = "suite " + std::to_string(list);
        database.lists[static_cast<std::size_t>(list)] = {exampleEntry(), entry};
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

TEST(ChartPageValues, EachPageGetsItsFiguresFromTheResultTruncatedSafely) {
    BenchResult record;
    record.overallResult = 1234.5f;
    record.integerResult = 1500.25f;
    record.floatResult = 1000.9f;
    record.doubleResult = 2001.6f;
    record.ramAluResult = 3000.5f;
    record.ramFpuResult = 2500.75f;
    record.mipsResult = 4000.5f;
    record.mflopsResult = 3300.25f;
    record.suite = 1;
    const auto v = chartPageValues(record);
    EXPECT_EQ(
        (std::vector<float>{v.overall, v.integer, v.fpu, v.ramAlu, v.ramFpu, v.mips, v.mflops}),
        (std::vector<float>{1234.5f, 1500.25f, (1000.9f + 2001.6f) * 0.5f, 3000.5f, 2500.75f,
                            4000.5f, 3300.25f}));
    EXPECT_EQ((std::vector<int>{v.floatSingle, v.floatDouble, v.suite}),
              (std::vector<int>{1000, 2001, 1}));
    record.floatResult = -7.9f;
    record.doubleResult = std::nanf("");
    EXPECT_EQ(chartPageValues(record).floatSingle, -7);
    EXPECT_EQ(chartPageValues(record).floatDouble, 0);
    record.floatResult = 1e20f;
    EXPECT_EQ(chartPageValues(record).floatSingle, 2147483647);
}

}  // namespace
}  // namespace veltrane::engine
