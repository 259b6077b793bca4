#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cmath>
#include <filesystem>

#include "engine/DetailsRows.h"
#include "engine/RunEnd.h"
#include "platform/TextFile.h"

namespace veltrane::engine {
namespace {

TEST(RunEnd, ScoresTruncateWithinTheIntRangeAndGoToTempdata) {
    std::string truncated;
    for (const float value : {4321.9f, -7.9f, std::nanf(""), 2147483648.0f, -1e20f}) {
        truncated += std::to_string(truncatedInt(value)) + " ";
    }
    EXPECT_EQ(truncated, "4321 -7 0 2147483647 -2147483648 ");
    BenchResult r;
    r.fullRun = 1;
    r.overallResult = 1e20f;
    EXPECT_EQ(scoreLine(r), "2147483647  CPUMarks");
    r.fullRun = 0;
    r.overallTime = 83.456f;
    EXPECT_EQ(scoreLine(r), "N/A  CPUMarks");
    EXPECT_EQ(totalTimeText(r), "83.46 seconds");
    // tempdata: a placeholder, then forty bytes of the score line and zeros
    const std::string path = ::testing::TempDir() + "veltrane-tempdata-" + std::to_string(getpid());
    EXPECT_EQ(writeTempdataPlaceholder(path), "");
    EXPECT_EQ(platform::readTextFile(path).content, "Bench not run yet");
    EXPECT_EQ(writeTempdata("N/A  CPUMarks", path), "");
    EXPECT_EQ(platform::readTextFile(path).content, "N/A  CPUMarks" + std::string(27, '\0'));
    std::filesystem::remove(path);
    // an over-long line still ends in a zero byte
    EXPECT_EQ(tempdataRecord(std::string(60, '9'))[39], '\0');
    EXPECT_NE(writeTempdata("1  CPUMarks", "/nonexistent-folder/tempdata"), "");
}

TEST(RunEnd, SmpRunSumsScoresAndTakesTheRestFromTheFirstThread) {
    using B = BenchResult;
    const std::array fields = {
        // summed
        &B::integerResult, &B::floatResult, &B::doubleResult, &B::mipsResult, &B::mflopsResult,
        // from the first thread
        &B::ramAluResult, &B::ramAluAssign, &B::ramAluAdd, &B::ramAluScale, &B::ramAluTriad,
        &B::ramFpuResult, &B::ramFpuAssign, &B::ramFpuAdd, &B::ramFpuScale, &B::ramFpuTriad,
        &B::overallTime};
    BenchResult a, b, current;
    for (const auto field : fields) {
        a.*field = 1000;
        b.*field = 10;
    }
    a.fullRun = 1;
    combineSmpResults(current, a, b);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        EXPECT_EQ(current.*fields[i], i < 5 ? 1010.0f : 1000.0f) << "field " << i;
    }
    // 2 x (2 x 2020 + 3 x 2020 + 5 x 1010 + 1000 + 1000) / 170
    EXPECT_NEAR(current.overallResult, 2.0 * 17150 / 170, 0.01);
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
    const auto rows = benchmarkDetailsRows(r);
    ASSERT_EQ(rows.size(), 53u);
    std::string values;
    for (const auto& row : rows) {
        if (!row.description.empty() && row.description != "No current running in batch mode") {
            values += row.description + "|";
        }
    }
    EXPECT_EQ(values,
              "1 CPUMarks|Not Measured|1234 ALUMarks|2.00 seconds|10 KByte (4 byte per int)|"
              "3 FPUMarks SP|4.00 seconds|64 Byte (4 byte per float)|5 FPUMarks DP|6.00 seconds|"
              "8 Byte per Double|7 MB/s|8.00 MB/s|9.00 MB/s|10.00 MB/s|11.00 MB/s|12 MB/s|"
              "13.00 MB/s|14.00 MB/s|15.00 MB/s|16.00 MB/s|17 MIPS|18.00 seconds|19 MFLOPS|"
              "20.00 seconds|");
}

}  // namespace
}  // namespace veltrane::engine
