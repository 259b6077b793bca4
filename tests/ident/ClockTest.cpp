#include <gtest/gtest.h>

#include <atomic>
#include <deque>
#include <thread>

#include "ident/Clock.h"
#include "ident/ClockFacts.h"
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

// Busy counters from a script: each read takes the next pair, each question
// of where the thread runs the next processor number.
class ScriptedMsr final : public platform::MsrSource {
public:
    mutable std::deque<platform::BusyCounters> reads;
    mutable std::deque<int> processors;
    std::string refusal;  // non-empty: every read fails with it

    bool readBusyCounters(int, platform::BusyCounters& counters, std::string& why) const override {
        if (!refusal.empty() || reads.empty()) {
            why = refusal;
            return false;
        }
        counters = reads.front();
        reads.pop_front();
        return true;
    }
    int currentProcessor() const override {
        const int processor = processors.empty() ? 0 : processors.front();
        if (!processors.empty()) {
            processors.pop_front();
        }
        return processor;
    }
};

void busy() {}

TEST(ClockFacts, BusyCountersGiveTheCounterRateTimesAperfOverMperf) {
    ScriptedMsr msr;
    std::string why;
    msr.reads = {{1000, 1000}, {4000, 3000}};
    EXPECT_DOUBLE_EQ(platform::busyCountersMHz(msr, 2000.0, &busy, why), 3000.0);

    // Moved to another processor once: measured again on the one it stays on.
    msr.reads = {{0, 0}, {50, 100}, {0, 0}, {200, 100}};
    msr.processors = {0, 1, 1, 1};
    EXPECT_DOUBLE_EQ(platform::busyCountersMHz(msr, 1000.0, &busy, why), 2000.0);

    msr.reads = {{5, 7}, {9, 7}};
    EXPECT_EQ(platform::busyCountersMHz(msr, 1000.0, &busy, why), 0.0);
    EXPECT_EQ(why, "MPERF did not advance");

    msr.refusal = "/dev/cpu/0/msr: Permission denied";
    EXPECT_EQ(platform::busyCountersMHz(msr, 1000.0, &busy, why), 0.0);
    EXPECT_EQ(why, msr.refusal);
}

TEST(ClockFacts, RowsSayWhatWasMeasuredAndHow) {
    ScriptedMsr msr;
    msr.refusal = "/dev/cpu/0/msr: No such file or directory";
    const ClockFacts measured = measureClockFacts(2300.0f, msr);
    EXPECT_TRUE(measured.notMeasured.empty());
    EXPECT_GT(measured.effectiveMHz, 0.0);
    const auto rows = clockRows(measured);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].value, "2300.0 MHz (the time-stamp counter, measured; not the cores' clock)");
    EXPECT_NE(rows[1].value.find(" MHz (dependent additions"), std::string::npos);
    EXPECT_EQ(rows[2].value, "not readable (/dev/cpu/0/msr: No such file or directory)");

    ClockFacts skipped;
    skipped.notMeasured = "--no-clock";
    for (const auto& row : clockRows(skipped)) {
        EXPECT_EQ(row.value, "not measured (--no-clock)") << row.label;
    }
    EXPECT_EQ(measureClockFacts(0.0f, msr).notMeasured, "the counter's rate is not known");
}

}  // namespace
}  // namespace veltrane::ident
