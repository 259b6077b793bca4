// The run: what is asked, how its figures score, how it ends and the rows that describe it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <utility>

#include "engine/DetailsRows.h"
#include "engine/RunEnd.h"
#include "engine/RunRequest.h"
#include "engine/Scores.h"
#include "engine/StreamBenchmark.h"
#include "engine/TestInfo.h"
#include "ident/ProcessorIdentity.h"
#include "platform/TextFile.h"
#include "support/FakeCpu.h"
#include "support/Joined.h"

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
    EXPECT_EQ(test::joined(cpuAndSystemRows(machine, false),
                           [](auto& row) { return row.item + "=" + row.description + "|"; }),
              "CPU Vendor=GenuineIntel|CPU Name=Pentium III|CPU Frequency=933.4 MHz|"
              "L1 Data Cache=16 KByte|L1 Instruction Cache=8 KByte|L2 Cache=256 KByte|"
              "System RAM (MByte)=512 MByte|");
    EXPECT_EQ(cpuAndSystemRows(machine, true)[1].description, "2xPentium III");
}

TEST(Scores, FormulasAtTheirReferencePointsAndTheElapsedTime) {
    // from the tick readings, with the single-precision millisecond, truncated
    EXPECT_EQ(static_cast<int>(mipsScore(elapsedSeconds(0.0f, 2560))), 7999);
    EXPECT_EQ(static_cast<int>(mflopsScore(elapsedSeconds(0.0f, 2560))), 6599);
    EXPECT_EQ(static_cast<int>(floatScore(elapsedSeconds(0.0f, 1010, 10))), 361'599);
    EXPECT_NEAR(mflopsScore(1.7) / mipsScore(1.7), 0.825, 1e-12);
    EXPECT_NEAR(mflopsScore(1.7, 0.03125) / mflopsScore(1.7), 32.0 / 33.0, 1e-12);
    // integerScore and doubleScore: the timed tests hold their exact figures
    // A start reading above 2^24 ms is rounded to a float; the time never reaches zero.
    EXPECT_NEAR(elapsedSeconds(static_cast<float>(16'777'217u), 16'778'217u),
                1.001 * (1.0 + 4.75e-8), 1e-9);
    EXPECT_EQ(elapsedSeconds(100.0f, 100), 0.001);
    EXPECT_EQ(elapsedSeconds(100.0f, 105, 10), 0.001);  // test 2 under 10 ms
    EXPECT_GT(floatScore(elapsedSeconds(100.0f, 105, 10)), 0.0);
}

TEST(Scores, OverallScoreWeighsTheSevenFigures) {
    BenchResult r;
    r.integerResult = r.floatResult = r.doubleResult = 1000;
    r.mipsResult = r.mflopsResult = r.ramAluResult = r.ramFpuResult = 1000;
    EXPECT_EQ(static_cast<int>(overallScore(r)), 200);
    // Each figure alone, at 170, gives twice its weight.
    using B = BenchResult;
    const std::pair<float B::*, int> weights[] = {
        {&B::integerResult, 5}, {&B::floatResult, 2},  {&B::doubleResult, 2}, {&B::mipsResult, 3},
        {&B::mflopsResult, 3},  {&B::ramAluResult, 1}, {&B::ramFpuResult, 1}};
    for (const auto& [field, weight] : weights) {
        BenchResult alone;
        alone.*field = 170;
        EXPECT_NEAR(overallScore(alone), 2.0 * weight, 1e-4) << weight;
    }
}

TEST(StreamRates, MegabytesOverTheSummedTimes) {
    const double ones[4] = {1.0, 1.0, 1.0, 1.0};
    const auto rates = streamRates(ones, 1'000'000, 300);
    EXPECT_EQ(rates.assign, 4800.0);
    EXPECT_EQ(rates.scale, 4800.0);
    EXPECT_EQ(rates.add, 7199.999999999999);
    EXPECT_EQ(static_cast<float>(rates.triad), 7200.0f);
    EXPECT_NEAR(rates.result, 6000.0, 1e-9);

    const double zero[4] = {0.0, 2.0, 4.0, 8.0};
    const auto clamped = streamRates(zero, 1'000'000, 300);
    EXPECT_EQ(clamped.assign, 4800.0 / 0.001);
    EXPECT_EQ(clamped.scale, 2400.0);
    EXPECT_NEAR(clamped.add, 1800.0, 1e-9);
    EXPECT_NEAR(clamped.triad, 900.0, 1e-9);
    // a tenth of the elements and passes moves a hundredth of the megabytes
    EXPECT_NEAR(streamRates(ones, 100'000, 30).assign, 48.0, 1e-9);
}

TEST(RunEnd, ScoresTruncateWithinTheIntRangeAndGoToTempdata) {
    EXPECT_EQ(test::joined(std::array{4321.9f, -7.9f, std::nanf(""), 2147483648.0f, -1e20f},
                           [](float value) { return std::to_string(truncatedInt(value)) + " "; }),
              "4321 -7 0 2147483647 -2147483648 ");
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
    const auto values = test::joined(rows, [](auto& row) {
        const bool shown =
            !row.description.empty() && row.description != "No current running in batch mode";
        return shown ? row.description + "|" : "";
    });
    EXPECT_EQ(values,
              "1 CPUMarks|Not Measured|1234 ALUMarks|2.00 seconds|10 KByte (4 byte per int)|"
              "3 FPUMarks SP|4.00 seconds|64 Byte (4 byte per float)|5 FPUMarks DP|6.00 seconds|"
              "8 Byte per Double|7 MB/s|8.00 MB/s|9.00 MB/s|10.00 MB/s|11.00 MB/s|12 MB/s|"
              "13.00 MB/s|14.00 MB/s|15.00 MB/s|16.00 MB/s|17 MIPS|18.00 seconds|19 MFLOPS|"
              "20.00 seconds|");
}

}  // namespace
}  // namespace veltrane::engine
