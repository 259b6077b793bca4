// veltrane-bench: times each of our timed loops against a plain loop doing
// the same operations on the same memory, built with the same flags. The
// machine is noisy in phases, so every contestant runs once per round, rounds
// alternate direction, and each figure is the median of rounds.
#include <x86intrin.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "Contestants.h"

namespace veltrane::bench {

namespace {

constexpr int kRounds = 7;
constexpr int kStreamPasses = 20;  // passes of one STREAM contestant per round
constexpr std::int64_t kAddIterations = 25'000'000;
constexpr double kLow = 0.95;
constexpr double kHigh = 1.05;

volatile std::int64_t integerSink = 0;

// The fence keeps earlier work from drifting past the reading.
std::uint64_t ticksNow() {
    _mm_lfence();
    const std::uint64_t ticks = __rdtsc();
    _mm_lfence();
    return ticks;
}

double tscHertz() {
    using Clock = std::chrono::steady_clock;
    const auto c0 = Clock::now();
    const std::uint64_t t0 = ticksNow();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const std::uint64_t t1 = ticksNow();
    const double seconds = std::chrono::duration<double>(Clock::now() - c0).count();
    return static_cast<double>(t1 - t0) / seconds;
}

struct Contestant {
    std::function<double()> run;  // runs once, returns the units of work done
    std::vector<double> ticksPerUnit{};
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
}

// Max minus min over the median: how much the rounds disagreed.
double spread(const std::vector<double>& values) {
    const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
    return (*hi - *lo) / median(values);
}

// Median over rounds of a / b, each pair from the same round: a phase of the
// machine that slows both cancels out.
double pairedRatio(const std::vector<double>& a, const std::vector<double>& b) {
    std::vector<double> ratios;
    for (std::size_t r = 0; r < a.size(); ++r) {
        ratios.push_back(a[r] / b[r]);
    }
    return median(ratios);
}

std::function<double()> streamRun(void (*kernel)(FullArrays&)) {
    return [kernel] {
        for (int pass = 0; pass < kStreamPasses; ++pass) {
            kernel(benchArrays());
        }
        return static_cast<double>(kStreamPasses);
    };
}

std::function<double()> passes(void (*triad)()) {
    return [triad] {
        for (int pass = 0; pass < kStreamPasses; ++pass) {
            triad();
        }
        return static_cast<double>(kStreamPasses);
    };
}

void runRounds(std::vector<Contestant>& contestants) {
    for (int round = 0; round < kRounds; ++round) {
        std::fprintf(stderr, "veltrane-bench: round %d of %d\n", round + 1, kRounds);
        fillStreamArrays(benchArrays());  // Scale multiplies in place
        const bool forward = round % 2 == 0;
        for (std::size_t k = 0; k < contestants.size(); ++k) {
            Contestant& c = contestants[forward ? k : contestants.size() - 1 - k];
            const std::uint64_t t0 = ticksNow();
            const double units = c.run();
            c.ticksPerUnit.push_back(static_cast<double>(ticksNow() - t0) / units);
        }
    }
}

void printPair(const char* name, const char* unit, const Contestant& ours, const Contestant& plain,
               double cyclesPerTick) {
    const double ratio = pairedRatio(ours.ticksPerUnit, plain.ticksPerUnit);
    const bool within = ratio >= kLow && ratio <= kHigh;
    std::printf("%-32s %-9s %11.3f %11.3f %9.3f %6.1f%% %6.1f%% %7.3f  %s\n", name, unit,
                median(ours.ticksPerUnit), median(plain.ticksPerUnit),
                median(ours.ticksPerUnit) * cyclesPerTick, 100 * spread(ours.ticksPerUnit),
                100 * spread(plain.ticksPerUnit), ratio, within ? "PASS" : "MISS");
}

}  // namespace

int run() {
    const auto start = std::chrono::steady_clock::now();
    const double hertz = tscHertz();
    fillStreamArrays(benchArrays());
    fillReferenceArrays();

    // ours, plain for each pair; then each kernel's ours, plain; then the
    // vectorised Triads and the clock estimate
    std::vector<Contestant> contestants;
    for (const Pair& p : pairs()) {
        contestants.push_back({[&p] { return static_cast<double>(p.ours()); }});
        contestants.push_back({[&p] { return static_cast<double>(p.plain()); }});
    }
    for (const StreamKernel& k : streamKernels()) {
        contestants.push_back({streamRun(k.ours)});
        contestants.push_back({streamRun(k.plain)});
    }
    const std::size_t triads = contestants.size();
    contestants.push_back({passes(&referenceTriadDouble)});
    contestants.push_back({passes(&referenceTriadInt)});
    contestants.push_back({[] {
        const std::int64_t adds = dependentAdds(kAddIterations);
        integerSink = integerSink + adds;
        return static_cast<double>(adds);
    }});

    for (const StreamKernel& k : streamKernels()) {  // untimed: warm code and arrays
        k.ours(benchArrays());
    }
    runRounds(contestants);

    const double cyclesPerTick = 1.0 / median(contestants.back().ticksPerUnit);
    std::printf("veltrane-bench: medians of %d interleaved rounds, in time stamp counter ticks\n",
                kRounds);
    std::printf("TSC %.1f MHz; core clock estimate %.1f MHz (%.3f cycles per tick)\n\n",
                hertz / 1e6, hertz * cyclesPerTick / 1e6, cyclesPerTick);
    std::printf("%-32s %-9s %11s %11s %9s %7s %7s %7s  %s\n", "Timed loop", "unit", "ours", "plain",
                "cycles", "spread", "spread", "ratio", "0.95-1.05");
    std::printf("%s\n", std::string(120, '-').c_str());
    std::size_t c = 0;
    for (const Pair& p : pairs()) {
        printPair(p.name, p.unit, contestants[c], contestants[c + 1], cyclesPerTick);
        c += 2;
    }
    for (const StreamKernel& k : streamKernels()) {
        printPair(k.name, "pass", contestants[c], contestants[c + 1], cyclesPerTick);
        c += 2;
    }

    std::printf("\nInformation: STREAM kernels against a Triad vectorised for this processor\n");
    auto mbPerSecond = [&](double ticksPerPass, int arraysMoved) {
        return arraysMoved * static_cast<double>(kArrayBytes) / (ticksPerPass / hertz) / 1e6;
    };
    const double refDouble = mbPerSecond(median(contestants[triads].ticksPerUnit), 3);
    const double refInt = mbPerSecond(median(contestants[triads + 1].ticksPerUnit), 3);
    std::printf("Reference Triad double %.0f MB/s, uint32 %.0f MB/s\n", refDouble, refInt);
    c = 2 * pairs().size();
    for (const StreamKernel& k : streamKernels()) {
        const double rate = mbPerSecond(median(contestants[c].ticksPerUnit), k.arraysMoved);
        std::printf("%-32s %9.0f MB/s  %.2f of the reference\n", k.name, rate,
                    rate / (k.integer ? refInt : refDouble));
        c += 2;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf(
        "\nRatio: our ticks over the plain loop's, median of per-round ratios. Run time: "
        "%.1f s\n",
        seconds);
    return 0;
}

}  // namespace veltrane::bench

int main(int argc, char** argv) {
    const std::string_view option = argc > 1 ? argv[1] : "";
    if (option == "--help" || option == "-h") {
        std::puts(
            "Usage: veltrane-bench\n\n"
            "Times each timed loop of the benchmark against a plain C++ loop doing the same\n"
            "operations on the same memory, built with the same flags, and prints the ratio\n"
            "of their times (0.95 to 1.05 means the loop does the work it is defined to do,\n"
            "no more and no less), then the memory kernels in MB/s against a reference\n"
            "Triad. It takes about a minute, measures only, and changes nothing.");
        return 0;
    }
    if (argc > 1) {
        std::fprintf(stderr, "veltrane-bench: unknown option '%s' (veltrane-bench --help)\n",
                     argv[1]);
        return 2;
    }
    return veltrane::bench::run();
}
