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

std::vector<std::string> descriptions(const std::vector<InfoRow>& rows) {
    std::vector<std::string> texts;
    for (const auto& row : rows) {
        texts.push_back(row.description);
    }
    return texts;
}

TEST(ReferenceDetails, SixteenRowsSpellOutTheEntry) {
    const auto rows = referenceDetailsRows(exampleEntry());
    const std::vector<std::string> items{"CPU Name and Frequency",
                                         "L1 Data Cache",
                                         "L1 Instruction Cache",
                                         "L2 Cache",
                                         "Chipset Name",
                                         "FSB Frequency",
                                         "OS Installed",
                                         "Overall Result",
                                         "ALU Result",
                                         "FPU Overall Result",
                                         "FPU Result Details: Single Precision",
                                         "FPU Result Details: Double Precision",
                                         "RAM Bandwidth MB/s: ALU",
                                         "RAM Bandwidth MB/s: FPU",
                                         "System Estimated MIPS",
                                         "System Estimated MFLOPS"};
    ASSERT_EQ(rows.size(), items.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].item, items[i]) << "row " << i;
    }
    const std::vector<std::string> expected{"CPU X 1400",
                                            "64 KB",
                                            "64 KB",
                                            "256 KB",
                                            "Chipset Y",
                                            "133 MHz",
                                            "OS Z",
                                            "1500 CPUMarks",
                                            "1200 ALUMarks",
                                            "1300 FPUMarks",
                                            "1250 FPUMarks SP",
                                            "1350 FPUMarks DP",
                                            "1051 MB/s",
                                            "980 MB/s",
                                            "2100 MIPS",
                                            "900 MFLOPS"};
    EXPECT_EQ(descriptions(rows), expected);
}

TEST(ReferenceDetails, BandwidthsRoundWhileScoresTruncate) {
    auto entry = *parseReferenceLine(
        "a-b-c-d-e-f-g-1500.9-1200.99-7.5-8.7-9.9-2100.9-900.6-1050.7-999.5001-h");
    const auto rows = referenceDetailsRows(entry);
    EXPECT_EQ(rows[7].description, "1500 CPUMarks");
    EXPECT_EQ(rows[8].description, "1200 ALUMarks");
    EXPECT_EQ(rows[9].description, "7 FPUMarks");
    EXPECT_EQ(rows[10].description, "8 FPUMarks SP");
    EXPECT_EQ(rows[11].description, "9 FPUMarks DP");
    EXPECT_EQ(rows[12].description, "1051 MB/s");
    EXPECT_EQ(rows[13].description, "1000 MB/s");
    EXPECT_EQ(rows[14].description, "2100 MIPS");  // read as an integer first
    EXPECT_EQ(rows[15].description, "900 MFLOPS");

    entry.ramAlu = 1050.2f;
    entry.mips = 2100.7f;
    EXPECT_EQ(referenceDetailsRows(entry)[12].description, "1050 MB/s");
    EXPECT_EQ(referenceDetailsRows(entry)[14].description, "2101 MIPS");
}

TEST(ReferenceDetails, TheListIsChosenBySuiteNumber) {
    ReferenceDatabase database;
    for (int list = 0; list < kReferenceListCount; ++list) {
        auto entry = exampleEntry();
        entry.cpuName = "suite " + std::to_string(list);
        database.lists[static_cast<std::size_t>(list)] = {exampleEntry(), entry};
    }
    EXPECT_EQ(referenceDetailsRows(database, 1, 3)[0].description, "suite 3");
    EXPECT_EQ(referenceDetailsRows(database, 1, 0)[0].description, "suite 0");
    EXPECT_EQ(referenceDetailsRows(database, 0, 4)[0].description, "CPU X 1400");
    EXPECT_EQ(referenceDetailsRows(database, 1, 4).size(), 16u);
}

TEST(ReferenceDetails, AListOrPositionOutOfRangeGivesNoRows) {
    ReferenceDatabase database;
    database.lists[2] = {exampleEntry()};
    EXPECT_EQ(referenceDetailsRows(database, 0, 2).size(), 16u);
    EXPECT_TRUE(referenceDetailsRows(database, 1, 2).empty());
    EXPECT_TRUE(referenceDetailsRows(database, -1, 2).empty());
    EXPECT_TRUE(referenceDetailsRows(database, 0, -1).empty());
    EXPECT_TRUE(referenceDetailsRows(database, 0, 5).empty());
    EXPECT_TRUE(referenceDetailsRows(database, 0, 3).empty());  // an empty list
    EXPECT_TRUE(referenceDetailsRows(database, 2147483647, 2).empty());
}

TEST(ChartPageValues, EachPageGetsItsFiguresFromTheResult) {
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
    const auto values = chartPageValues(record);
    EXPECT_EQ(values.overall, 1234.5f);
    EXPECT_EQ(values.integer, 1500.25f);
    EXPECT_EQ(values.fpu, (1000.9f + 2001.6f) * 0.5f);
    EXPECT_EQ(values.floatSingle, 1000);
    EXPECT_EQ(values.floatDouble, 2001);
    EXPECT_EQ(values.ramAlu, 3000.5f);
    EXPECT_EQ(values.ramFpu, 2500.75f);
    EXPECT_EQ(values.mips, 4000.5f);
    EXPECT_EQ(values.mflops, 3300.25f);
    EXPECT_EQ(values.suite, 1);
}

TEST(ChartPageValues, TruncationOfTheSingleAndDoubleFiguresIsSafe) {
    BenchResult record;
    record.floatResult = -7.9f;
    record.doubleResult = std::nanf("");
    auto values = chartPageValues(record);
    EXPECT_EQ(values.floatSingle, -7);
    EXPECT_EQ(values.floatDouble, 0);
    record.floatResult = 1e20f;
    values = chartPageValues(record);
    EXPECT_EQ(values.floatSingle, 2147483647);
}

}  // namespace
}  // namespace veltrane::engine
