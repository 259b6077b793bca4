#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "engine/BenchmarkRun.h"
#include "engine/RunRequest.h"
#include "engine/TestInfo.h"
#include "ident/ProcessorIdentity.h"
#include "support/FakeCpu.h"
#include "support/RecordingSink.h"

namespace veltrane::engine {
namespace {

class RunRequestTest : public ::testing::Test {
protected:
    // The identity keeps a pointer to its probe, so each probe lives as long as the test.
    ident::ProcessorIdentity identityWith(std::uint32_t standardFlags,
                                          std::uint32_t extendedFlags) {
        probes_.push_back(std::make_unique<platform::RecordedCpuProbe>(
            test::FakeCpu()
                .vendor("GenuineIntel")
                .signature(0x686, standardFlags)
                .leaf(0x80000001, {0, 0, 0, extendedFlags})
                .probe()));
        return ident::ProcessorIdentity(*probes_.back(), facts_);
    }

    std::vector<std::unique_ptr<platform::RecordedCpuProbe>> probes_;
    ident::ProcessorFacts facts_ = test::factsWithoutDefinition();
};

TEST_F(RunRequestTest, OnlyTheFullMaskIsAFullRunAndMasksUnpackTestOneFirst) {
    EXPECT_EQ(unpackMask(128), (std::array<std::uint8_t, 7>{}));
    EXPECT_EQ(unpackMask(128 | 4 | 32), (std::array<std::uint8_t, 7>{0, 0, 1, 0, 0, 1, 0}));
    const auto identity = identityWith(0, 0);
    EXPECT_TRUE(planRun(SuiteStandard, 255, identity).fullRun);
    const auto custom = planRun(SuiteStandard, 127, identity);
    EXPECT_FALSE(custom.fullRun);
    EXPECT_EQ(custom.selected, (std::array<std::uint8_t, 7>{1, 1, 1, 1, 1, 1, 1}));
}

TEST_F(RunRequestTest, AnUnsupportedOptimisedSuiteFallsBackToStandard) {
    const auto plain = identityWith(0, 0);
    const auto capable = identityWith(1u << 25 | 1u << 26, 1u << 31);
    for (int suite : {SuiteSSE, SuiteSSE2, Suite3DNow}) {
        const auto plan = planRun(suite, 128 | 1, plain);
        EXPECT_TRUE(plan.fellBackToStandard) << suite;
        EXPECT_EQ(plan.suite, SuiteStandard) << suite;
        EXPECT_EQ(plan.selected[0], 1) << suite;
        EXPECT_FALSE(planRun(suite, 255, capable).fellBackToStandard) << suite;
        EXPECT_EQ(planRun(suite, 255, capable).suite, suite);
    }
    EXPECT_TRUE(suiteSupported(SuiteSSE, identityWith(1u << 25, 0)));
    EXPECT_FALSE(suiteSupported(SuiteSSE2, identityWith(1u << 25, 0)));
}

TEST_F(RunRequestTest, ProgressWindowRowsDescribeTheMachine) {
    auto identity = identityWith(0, 0);
    identity.l1DataKB = 16;
    identity.l1CodeKB = 8;
    identity.l2KB = 256;
    const ident::ProcessorDefinition definition{"Intel", "Pentium III", "", "", "", "", "", ""};
    const SystemFacts facts{definition, 933.41f, 512, 2};
    std::string rows;
    for (const auto& row : cpuAndSystemRows(identity, facts, false)) {
        rows += row.item + "=" + row.description + "|";
    }
    EXPECT_EQ(rows,
              "CPU Vendor=GenuineIntel|CPU Name=Pentium III|CPU Frequency=933.4 MHz|"
              "L1 Data Cache=16 KByte|L1 Instruction Cache=8 KByte|L2 Cache=256 KByte|"
              "System RAM (MByte)=512 MByte|");
    EXPECT_EQ(cpuAndSystemRows(identity, facts, true)[1].description, "2xPentium III");
}

// A suite thread that waits until the test lets it finish.
std::atomic<bool> releaseThread{false};
void waitingSuite(BenchResult& record) {
    while (!releaseThread.load()) {
        std::this_thread::yield();
    }
    record.overallResult = 42;
    record.progressWindow->post(WM_BENCH_DONE, 0, 0);
}

TEST(BenchmarkRunThreads, ASecondRequestDuringARunIsRefused) {
    test::RecordingSink sink;
    BenchmarkRun run;
    RunPlan plan;
    plan.fullRun = false;
    plan.selected = unpackMask(128 | 8);
    releaseThread = false;
    ASSERT_TRUE(run.start(plan, sink, &waitingSuite));
    EXPECT_TRUE(run.inProgress());
    RunPlan other;
    other.suite = SuiteSSE;
    EXPECT_FALSE(run.start(other, sink, &waitingSuite));
    releaseThread = true;
    sink.waitForPost();
    run.finish();
    EXPECT_FALSE(run.inProgress());
    EXPECT_EQ(run.record().overallResult, 42.0f);
    EXPECT_EQ(run.record().suite, SuiteStandard);
    EXPECT_EQ(run.record().fullRun, 0);
    EXPECT_EQ(run.record().selected[3], 1);
    EXPECT_TRUE(run.start(other, sink, &waitingSuite));  // a new run once finished
    sink.waitForPost();
    run.finish();
}

}  // namespace
}  // namespace veltrane::engine
