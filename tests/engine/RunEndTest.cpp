#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>

#include "engine/DetailsRows.h"
#include "engine/RunEnd.h"
#include "platform/TextFile.h"

namespace veltrane::engine {
namespace {

BenchResult fullRunScoring(float overall) {
    BenchResult r;
    r.fullRun = 1;
    r.overallResult = overall;
    return r;
}

TEST(RunEnd, ScoreTextTruncatesAndCustomRunsHaveNone) {
    EXPECT_EQ(scoreLine(fullRunScoring(4321.9f)), "4321  CPUMarks");
    BenchResult custom = fullRunScoring(500);
    custom.fullRun = 0;
    EXPECT_EQ(scoreLine(custom), "N/A  CPUMarks");
    EXPECT_EQ(scoreText(fullRunScoring(1e20f)), "2147483647 ");
    EXPECT_EQ(scoreText(fullRunScoring(std::nanf(""))), "0 ");
    custom.overallTime = 83.456f;
    EXPECT_EQ(totalTimeText(custom), "83.46 seconds");
}

class TempdataFile : public ::testing::Test {
protected:
    std::string path_ = ::testing::TempDir() + "veltrane-tempdata-" + std::to_string(::getpid());
    void TearDown() override { std::filesystem::remove(path_); }
};

TEST_F(TempdataFile, PlaceholderThenFortyBytesOfScoreLineAndZeros) {
    ASSERT_EQ(writeTempdataPlaceholder(path_), "");
    EXPECT_EQ(platform::readTextFile(path_).content, "Bench not run yet");
    ASSERT_EQ(writeTempdata("N/A  CPUMarks", path_), "");
    EXPECT_EQ(platform::readTextFile(path_).content, "N/A  CPUMarks" + std::string(27, '\0'));
    // an over-long line still ends in a zero byte
    EXPECT_EQ(tempdataRecord(std::string(60, '9'))[39], '\0');
    EXPECT_NE(writeTempdata("1  CPUMarks", "/nonexistent-folder/tempdata"), "");
}

TEST(RunEnd, SmpRunSumsScoresAndTakesTheRestFromTheFirstThread) {
    BenchResult a, b, current;
    a.integerResult = a.floatResult = a.doubleResult = a.mipsResult = a.mflopsResult = 1000;
    b = a;
    a.ramAluResult = a.ramFpuResult = a.overallTime = 80;
    b.ramAluResult = b.ramFpuResult = b.overallTime = 5;
    a.ramFpuTriad = 7;
    a.fullRun = 1;
    current.integerTime = 3;
    combineSmpResults(current, a, b);
    EXPECT_EQ((std::vector<float>{current.integerResult, current.mflopsResult, current.ramAluResult,
                                  current.ramFpuTriad, current.overallTime, current.integerTime}),
              (std::vector<float>{2000, 2000, 80, 7, 80, 3}));  // times are not combined
    // 2 x (2 x 4000 + 3 x 4000 + 5 x 2000 + 80 + 80) / 170
    EXPECT_NEAR(current.overallResult, 2.0 * 30160 / 170, 0.01);
    a.fullRun = 0;
    current.overallResult = 11;
    combineSmpResults(current, a, b);
    EXPECT_EQ(current.overallResult, 11.0f);
}

TEST(DetailsRows, EveryValueOfTheResultInFiftyThreeRows) {
    BenchResult r;
    float value = 1;
    for (float* field :
         {&r.overallResult, &r.integerTime,  &r.floatResult, &r.floatTime,    &r.doubleResult,
          &r.doubleTime,    &r.ramAluResult, &r.ramAluAdd,   &r.ramAluTriad,  &r.ramAluScale,
          &r.ramAluAssign,  &r.ramFpuResult, &r.ramFpuAdd,   &r.ramFpuTriad,  &r.ramFpuScale,
          &r.ramFpuAssign,  &r.mipsResult,   &r.mipsTime,    &r.mflopsResult, &r.mflopsTime}) {
        *field = value++;
    }
    r.integerResult = 1234.99f;
    r.integerTime = 12.345f;
    r.ramAluAdd = 5000.125f;
    const auto rows = benchmarkDetailsRows(r);
    ASSERT_EQ(rows.size(), 53u);
    std::string items, values;
    int batchRows = 0;
    for (const auto& row : rows) {
        if (row.description == "No current running in batch mode") {
            ++batchRows;
        } else if (!row.description.empty()) {
            values += row.description + "|";
        } else if (!row.item.empty()) {
            items += row.item + "|";
        }
    }
    EXPECT_EQ(batchRows, 8);
    EXPECT_EQ(values,
              "1 CPUMarks|Not Measured|1234 ALUMarks|12.35 seconds|10 KByte (4 byte per int)|"
              "3 FPUMarks SP|4.00 seconds|64 Byte (4 byte per float)|5 FPUMarks DP|6.00 seconds|"
              "8 Byte per Double|7 MB/s|5000.12 MB/s|9.00 MB/s|10.00 MB/s|11.00 MB/s|12 MB/s|"
              "13.00 MB/s|14.00 MB/s|15.00 MB/s|16.00 MB/s|17 MIPS|18.00 seconds|19 MFLOPS|"
              "20.00 seconds|");
    EXPECT_EQ(items,
              " Overall Results Details| Integer Results Details| FPU Single precision Results "
              "Details| FPU Double precision Results Details| RAM ALU Bandwidth MB/s Details| RAM "
              "FPU Bandwidth MB/s Details|MIPS Result Details|MFLOPS Result Details|");
    EXPECT_EQ(rows[15].item, "  FPU Single Precision Result");
    EXPECT_EQ(rows[32].item, "  RAM ALU Bandwidth: Triad");
    EXPECT_EQ(rows[42].item, "  RAM FPU Bandwidth: Assign");
    EXPECT_EQ(rows[52].item, "  MFLOPS Time");
}

}  // namespace
}  // namespace veltrane::engine
