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
struct SteppingTicks final : platform::TickSource {
    explicit SteppingTicks(std::uint32_t by) : step(by) {}
    std::uint32_t now() override { return ticks += step; }
    const std::uint32_t step;
    std::atomic<std::uint32_t> ticks{0};
};

// A processor whose counter reads `c0` then `c1`, measured against stepping ticks.
struct Measurement {
    Measurement(const char* vendor, std::uint32_t signature, std::uint64_t c0, std::uint64_t c1,
                std::uint32_t tickStep)
        : probe(test::FakeCpu().vendor(vendor).signature(signature).probe(
              [=, calls = std::make_shared<int>(0)] { return (*calls)++ == 0 ? c0 : c1; })),
          ticks(tickStep) {}
    void run() { measureClock(identity, state, ticks); }

    platform::RecordedCpuProbe probe;
    ProcessorFacts facts = test::factsWithoutDefinition();
    const ProcessorIdentity identity{probe, facts};
    ClockState state;
    SteppingTicks ticks;
};

TEST(MeasureClock, TimesAWindowFromATickEdgeAndRatesOnlyAmdFamilySixModelSix) {
    const struct {
        const char* vendor;
        std::uint32_t signature;
        std::uint64_t c0, c1;
        std::uint32_t tickStep;
        float mhz;
        const char* rating;
    } cases[] = {
        // ticks 1 (start), 2 (not yet past the edge), 3: the window runs from 3 to 2004
        {"GenuineIntel", 0xF24, 1000, 1000 + 2'001'000'000u, 1, 1000.0f, ""},
        {"GenuineIntel", 0x686, ~std::uint64_t{0} - 999, 2'001'000'000u - 1000, 1, 1000.0f, ""},
        // ticks of 1000 ms: a window of 3000 ms; above 2147 MHz the difference needs 33 bits
        {"AuthenticAMD", 0x662, 0, 2'933'400'000u, 1000, 977.8f, "( XP1173+ estimated )"},
        {"AuthenticAMD", 0x642, 0, 12'000'000'000u, 1000, 4000.0f, ""},
        {"GenuineIntel", 0x666, 0, 2'933'400'000u, 1000, 977.8f, ""},
    };
    for (const auto& c : cases) {
        Measurement m(c.vendor, c.signature, c.c0, c.c1, c.tickStep);
        m.run();
        EXPECT_FLOAT_EQ(m.state.clockMHz(), c.mhz) << c.vendor << std::hex << c.signature;
        EXPECT_EQ(m.state.ratingText(), c.rating) << c.vendor << std::hex << c.signature;
    }
    EXPECT_EQ(clockFromCounter(123, 0), 0.0f);
}

TEST(MeasureClock, MeasuresOncePerStateAndReadersSeeZeroOrTheFinishedResult) {
    Measurement m("AuthenticAMD", 0x662, 0, 2'933'400'000u, 1);
    std::thread worker([&] { m.run(); });
    std::thread second([&] { m.run(); });
    while (!m.state.measured()) {
        const float seen = m.state.clockMHz();
        EXPECT_TRUE(seen == 0.0f || seen > 1400.0f);
        // the rating appears whole, and only with the finished measurement
        const auto rating = m.state.ratingText();
        EXPECT_TRUE(rating.empty() || rating == "( XP1759+ estimated )") << rating;
    }
    worker.join();
    second.join();
    const std::uint32_t ticks = m.ticks.ticks;
    m.run();
    EXPECT_EQ(m.ticks.ticks, ticks);
    EXPECT_EQ(m.state.ratingText(), "( XP1759+ estimated )");  // 2001 ms window
}

TEST(ClockTexts, RatingAndTheMainFormsThreeForms) {
    EXPECT_EQ(mainFormFrequencyText(1466.67f, "( XP1760+ estimated )", true),
              "1466.67 MHz ( XP1760+ estimated )");
    EXPECT_EQ(mainFormFrequencyText(1000.0f, "", false), "1000.0 MHz");
    EXPECT_EQ(mainFormFrequencyText(1000.5f, "", false), "1.00 GHz  (1000.5 MHz)");
    EXPECT_EQ(mainFormFrequencyText(2096.03f, "", false), "2.10 GHz  (2096.0 MHz)");
    EXPECT_EQ(pageFrequencyText(1466.67f), "1466.7 MHz");
}

}  // namespace
}  // namespace veltrane::ident
