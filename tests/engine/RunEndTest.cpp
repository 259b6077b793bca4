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
    EXPECT_EQ(scoreText(fullRunScoring(4321.9f)), "4321 ");
    EXPECT_EQ(scoreLine(fullRunScoring(4321.9f)), "4321  CPUMarks");
    BenchResult custom = fullRunScoring(500);
    custom.fullRun = 0;
    EXPECT_EQ(scoreText(custom), "N/A ");
    EXPECT_EQ(scoreLine(custom), "N/A  CPUMarks");
    EXPECT_EQ(scoreText(fullRunScoring(1e20f)), "2147483647 ");
    EXPECT_EQ(scoreText(fullRunScoring(std::nanf(""))), "0 ");
    BenchResult timed;
    timed.overallTime = 83.456f;
    EXPECT_EQ(totalTimeText(timed), "83.46 seconds");
}

TEST(RunEnd, TempdataIsFortyBytesOfLineAndZeros) {
    const auto bytes = tempdataRecord("4321  CPUMarks");
    EXPECT_EQ(std::string(bytes.data()), "4321  CPUMarks");
    for (std::size_t i = 14; i < bytes.size(); ++i) {
        EXPECT_EQ(bytes[i], '\0') << i;
    }
    // an over-long line still ends in a zero byte
    EXPECT_EQ(tempdataRecord(std::string(60, '9'))[39], '\0');
}

class TempdataFile : public ::testing::Test {
protected:
    std::string path_ = ::testing::TempDir() + "veltrane-tempdata-" + std::to_string(::getpid());
    void TearDown() override { std::filesystem::remove(path_); }
};

TEST_F(TempdataFile, PlaceholderThenScoreLine) {
    ASSERT_EQ(writeTempdataPlaceholder(path_), "");
    EXPECT_EQ(platform::readTextFile(path_).content, "Bench not run yet");
    ASSERT_EQ(writeTempdata("N/A  CPUMarks", path_), "");
    const auto content = platform::readTextFile(path_).content;
    ASSERT_EQ(content.size(), 40u);
    EXPECT_EQ(content.substr(0, 13), "N/A  CPUMarks");
    EXPECT_EQ(content.find_first_not_of('\0', 13), std::string::npos);
}

TEST_F(TempdataFile, AnUnwritableFolderIsReported) {
    EXPECT_NE(writeTempdata("1  CPUMarks", "/nonexistent-folder/tempdata"), "");
}

TEST(RunEnd, SmpRunSumsScoresAndTakesTheRestFromTheFirstThread) {
    BenchResult a, b, current;
    a.integerResult = a.floatResult = a.doubleResult = a.mipsResult = a.mflopsResult = 1000;
    b = a;
    a.ramAluResult = a.ramFpuResult = 1000;
    b.ramAluResult = b.ramFpuResult = 5;
    a.ramFpuTriad = 7;
    a.overallTime = 80;
    b.overallTime = 60;
    a.fullRun = 1;
    current.integerTime = 3;
    combineSmpResults(current, a, b);
    EXPECT_EQ(current.integerResult, 2000.0f);
    EXPECT_EQ(current.mflopsResult, 2000.0f);
    EXPECT_EQ(current.ramAluResult, 1000.0f);
    EXPECT_EQ(current.ramFpuTriad, 7.0f);
    EXPECT_EQ(current.overallTime, 80.0f);
    EXPECT_EQ(current.integerTime, 3.0f);  // times are not combined
    // 2 x (2 x 4000 + 3 x 4000 + 5 x 2000 + 1000 + 1000) / 170
    EXPECT_NEAR(current.overallResult, 2.0 * 32000 / 170, 0.01);
    a.fullRun = 0;
    current.overallResult = 11;
    combineSmpResults(current, a, b);
    EXPECT_EQ(current.overallResult, 11.0f);
}

TEST(DetailsRows, EveryValueOfTheResultInFiftyThreeRows) {
    BenchResult r;
    r.integerResult = 1234.99f;
    r.integerTime = 12.345f;
    r.ramAluAdd = 5000.125f;
    r.ramFpuAssign = 1.0f;
    r.mipsResult = 8000.7f;
    r.mflopsTime = 2.56f;
    const auto rows = benchmarkDetailsRows(r);
    ASSERT_EQ(rows.size(), 53u);
    EXPECT_EQ(rows[0].item, " Overall Results Details");
    EXPECT_EQ(rows[2].description, "0 CPUMarks");
    EXPECT_EQ(rows[3].description, "Not Measured");
    EXPECT_EQ(rows[8].description, "1234 ALUMarks");
    EXPECT_EQ(rows[9].description, "12.35 seconds");
    EXPECT_EQ(rows[12].description, "10 KByte (4 byte per int)");
    EXPECT_EQ(rows[15].item, "  FPU Single Precision Result");
    EXPECT_EQ(rows[19].description, "64 Byte (4 byte per float)");
    EXPECT_EQ(rows[26].description, "8 Byte per Double");
    EXPECT_EQ(rows[27].item, "");
    EXPECT_EQ(rows[28].item, " RAM ALU Bandwidth MB/s Details");
    EXPECT_EQ(rows[31].item, "  RAM ALU Bandwidth: Add");
    EXPECT_EQ(rows[31].description, "5000.12 MB/s");
    EXPECT_EQ(rows[34].item, "  RAM ALU Bandwidth: Assign");
    EXPECT_EQ(rows[42].item, "  RAM FPU Bandwidth: Assign");
    EXPECT_EQ(rows[42].description, "1.00 MB/s");
    EXPECT_EQ(rows[44].item, "MIPS Result Details");
    EXPECT_EQ(rows[46].description, "8000 MIPS");
    EXPECT_EQ(rows[49].item, "MFLOPS Result Details");
    EXPECT_EQ(rows[52].item, "  MFLOPS Time");
    EXPECT_EQ(rows[52].description, "2.56 seconds");
    int batchRows = 0;
    for (const auto& row : rows) {
        batchRows += row.description == "No current running in batch mode" ? 1 : 0;
    }
    EXPECT_EQ(batchRows, 8);
}

}  // namespace
}  // namespace veltrane::engine
