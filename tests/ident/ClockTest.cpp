#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "ident/Clock.h"
#include "ident/ClockTexts.h"
#include "ident/ProcessorIdentity.h"
#include "support/FakeCpu.h"

namespace veltrane::ident {
namespace {

// A millisecond tick that moves by a fixed step at every reading.
class SteppingTicks final : public platform::TickSource {
public:
    SteppingTicks(std::uint32_t start, std::uint32_t step) : now_(start), step_(step) {}
    std::uint32_t now() override {
        ++readings;
        return now_ += step_;
    }
    std::atomic<int> readings{0};

private:
    std::atomic<std::uint32_t> now_;
    std::uint32_t step_;
};

// A counter that returns the given values in turn.
platform::RecordedCpuProbe::Counter counterReading(std::uint64_t first, std::uint64_t second) {
    auto calls = std::make_shared<int>(0);
    return [=] { return (*calls)++ == 0 ? first : second; };
}

struct ClockRun {
    float mhz;
    std::string rating;
};

ClockRun measureWith(const char* vendor, std::uint32_t signature, std::uint64_t c0,
                     std::uint64_t c1, std::uint32_t tickStep = 1) {
    const auto probe =
        test::FakeCpu().vendor(vendor).signature(signature).probe(counterReading(c0, c1));
    ProcessorFacts facts = test::factsWithoutDefinition();
    const ProcessorIdentity identity(probe, facts);
    ClockState state;
    SteppingTicks ticks(0, tickStep);
    measureClock(identity, state, ticks);
    EXPECT_TRUE(state.measured());
    return {state.clockMHz(), state.ratingText()};
}

TEST(ClockFromCounter, DividesByTheWindowActuallyMeasured) {
    EXPECT_FLOAT_EQ(clockFromCounter(2'933'400'000u, 2000), 1466.7f);
    EXPECT_FLOAT_EQ(clockFromCounter(2'933'400'000u, 2001), 1465.967f);
    // above 2147 MHz the difference needs more than 32 bits
    EXPECT_FLOAT_EQ(clockFromCounter(8'000'000'000u, 2000), 4000.0f);
    EXPECT_EQ(clockFromCounter(123, 0), 0.0f);
}

TEST(MeasureClock, WaitsForATickEdgeThenSpinsPastTwoSeconds) {
    // readings: 1 (start), 2 (edge not yet past 1 ms), 3 -> window starts at 3;
    // it ends at the first reading more than 2000 after that, 2004.
    const auto run = measureWith("GenuineIntel", 0xF24, 1000, 1000 + 2'001'000'000u);
    EXPECT_FLOAT_EQ(run.mhz, 1000.0f);
    EXPECT_EQ(run.rating, "");
}

TEST(MeasureClock, RatesOnlyTheAmdFamilySixModelSixProcessor) {
    const auto rated = measureWith("AuthenticAMD", 0x662, 0, 2'933'400'000u, 1000);
    // with ticks of 1000 ms the window is 3000 ms
    EXPECT_FLOAT_EQ(rated.mhz, 977.8f);
    EXPECT_EQ(rated.rating, "( XP1173+ estimated )");
    EXPECT_EQ(measureWith("AuthenticAMD", 0x642, 0, 2'933'400'000u, 1000).rating, "");
    EXPECT_EQ(measureWith("GenuineIntel", 0x666, 0, 2'933'400'000u, 1000).rating, "");
}

TEST(MeasureClock, ACounterThatWrapsStillGivesTheRightDifference) {
    const std::uint64_t before = ~std::uint64_t{0} - 999;
    const auto run = measureWith("GenuineIntel", 0x686, before, 2'001'000'000u - 1000);
    EXPECT_FLOAT_EQ(run.mhz, 1000.0f);
}

TEST(MeasureClock, MeasuresOncePerState) {
    const auto probe = test::FakeCpu()
                           .vendor("AuthenticAMD")
                           .signature(0x662)
                           .probe(counterReading(0, 2'000'000'000u));
    ProcessorFacts facts = test::factsWithoutDefinition();
    const ProcessorIdentity identity(probe, facts);
    ClockState state;
    SteppingTicks ticks(0, 1000);
    measureClock(identity, state, ticks);
    const float first = state.clockMHz();
    const int readings = ticks.readings;
    measureClock(identity, state, ticks);
    EXPECT_EQ(state.clockMHz(), first);
    EXPECT_EQ(ticks.readings, readings);
}

TEST(MeasureClockThreads, ReadersSeeZeroOrTheFinishedResult) {
    const auto probe = test::FakeCpu()
                           .vendor("AuthenticAMD")
                           .signature(0x662)
                           .probe(counterReading(0, 2'933'400'000u));
    ProcessorFacts facts = test::factsWithoutDefinition();
    const ProcessorIdentity identity(probe, facts);
    ClockState state;
    SteppingTicks ticks(0, 1);
    std::thread worker([&] { measureClock(identity, state, ticks); });
    std::thread second([&] { measureClock(identity, state, ticks); });
    while (!state.measured()) {
        const float seen = state.clockMHz();
        EXPECT_TRUE(seen == 0.0f || seen > 1400.0f);
        // the rating appears whole, and only with the finished measurement
        const auto rating = state.ratingText();
        EXPECT_TRUE(rating.empty() || rating == "( XP1759+ estimated )") << rating;
    }
    worker.join();
    second.join();
    EXPECT_GT(state.clockMHz(), 1400.0f);
    EXPECT_EQ(state.ratingText(), "( XP1759+ estimated )");  // 2001 ms window
}

TEST(ClockTexts, RatingAndTheMainFormsThreeForms) {
    EXPECT_EQ(ratingText(1466.7f), "( XP1760+ estimated )");
    EXPECT_TRUE(ratingApplies("AuthenticAMD", 6, 6));
    EXPECT_FALSE(ratingApplies("AuthenticAMD", 6, 4));
    EXPECT_FALSE(ratingApplies("GenuineIntel", 6, 6));

    EXPECT_EQ(mainFormFrequencyText(1466.67f, "( XP1760+ estimated )", true),
              "1466.67 MHz ( XP1760+ estimated )");
    EXPECT_EQ(mainFormFrequencyText(1000.0f, "", false), "1000.0 MHz");
    EXPECT_EQ(mainFormFrequencyText(1000.5f, "", false), "1.00 GHz  (1000.5 MHz)");
    EXPECT_EQ(mainFormFrequencyText(2096.03f, "", false), "2.10 GHz  (2096.0 MHz)");
    EXPECT_EQ(mainFormFrequencyText(0.0f, "", false), "0.0 MHz");
    EXPECT_EQ(pageFrequencyText(1466.67f), "1466.7 MHz");
}

}  // namespace
}  // namespace veltrane::ident
