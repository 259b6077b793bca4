// veltrane-bench: times our routines against plain reference loops in one
// process. The machine is noisy in phases, so every contestant runs once per
// round, rounds alternate direction, and each figure is the median of rounds.
#include <x86intrin.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "Contestants.h"

namespace veltrane::bench {

namespace {

constexpr int kRounds = 7;
constexpr int kStreamPasses = 40;                    // passes of one STREAM contestant per round
constexpr std::int64_t kAddIterations = 25'000'000;  // eight adds each

volatile std::int64_t integerSink = 0;
volatile double doubleSink = 0;

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
    const auto c1 = Clock::now();
    const double seconds = std::chrono::duration<double>(c1 - c0).count();
    return static_cast<double>(t1 - t0) / seconds;
}

struct Contestant {
    std::string name;
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

void printRule() {
    std::printf("%s\n", std::string(126, '-').c_str());
}

void printHeader() {
    std::printf("%-34s %13s %13s %-9s %9s %7s %7s  %-26s %s\n", "Contestant", "ticks/unit",
                "cycles/unit", "unit", "MB/s", "spread", "ratio", "target", "result");
    printRule();
}

// Core cycles per tick, once measured, for the cycles column.
double cyclesPerTick = 0;

void printRow(const std::string& name, double ticks, const char* unit, double mbPerSecond,
              double spreadValue, double ratio, const std::string& target, const char* result) {
    char mb[32] = "-";
    char ratioText[32] = "-";
    if (mbPerSecond > 0) {
        std::snprintf(mb, sizeof mb, "%.1f", mbPerSecond);
    }
    if (ratio > 0) {
        std::snprintf(ratioText, sizeof ratioText, "%.3f", ratio);
    }
    std::printf("%-34s %13.3f %13.3f %-9s %9s %6.1f%% %7s  %-26s %s\n", name.c_str(), ticks,
                ticks * cyclesPerTick, unit, mb, 100.0 * spreadValue, ratioText, target.c_str(),
                result);
}

const char* verdict(bool pass) {
    return pass ? "PASS" : "MISS";
}

}  // namespace

int run() {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();

    const double hertz = tscHertz();

    static FullArrays& arrays = engine::streamArrays<FullArrays::kDoubles>();
    fillStreamArrays(arrays);
    fillReferenceArrays();

    std::vector<Contestant> contestants;
    const auto kernels = streamKernels();
    for (const StreamKernel& kernel : kernels) {
        contestants.push_back({kernel.name, [&kernel] {
                                   for (int pass = 0; pass < kStreamPasses; ++pass) {
                                       kernel.run(arrays);
                                   }
                                   return static_cast<double>(kStreamPasses);
                               }});
    }
    const std::size_t refDouble = contestants.size();
    contestants.push_back({"Reference Triad double (-O3 native)", [] {
                               for (int pass = 0; pass < kStreamPasses; ++pass) {
                                   referenceTriadDouble();
                               }
                               return static_cast<double>(kStreamPasses);
                           }});
    const std::size_t refInt = contestants.size();
    contestants.push_back({"Reference Triad uint32 (-O3 native)", [] {
                               for (int pass = 0; pass < kStreamPasses; ++pass) {
                                   referenceTriadInt();
                               }
                               return static_cast<double>(kStreamPasses);
                           }});
    const std::size_t ourMips = contestants.size();
    contestants.push_back(
        {"MIPS division loop (ours)", [] { return static_cast<double>(ourDivisionLoop()); }});
    const std::size_t plainMips = contestants.size();
    contestants.push_back({"Plain idiv loop", [] {
                               std::int64_t zeros = 0;
                               const std::int64_t n =
                                   plainDivisionLoop(kMipsShape.limit, kMipsShape.tickEvery, zeros);
                               integerSink = integerSink + zeros;
                               return static_cast<double>(n);
                           }});
    const std::size_t piWhole = contestants.size();
    contestants.push_back({"PI whole call (ours)", [] { return static_cast<double>(ourPiRun()); }});
    const std::size_t piWarm = contestants.size();
    contestants.push_back(
        {"PI warm-up alone (ours)", [] { return static_cast<double>(ourPiWarmUp()); }});
    const std::size_t plainPi = contestants.size();
    contestants.push_back({"Plain division loop", [] {
                               doubleSink = doubleSink + plainSeries(kPiShape.limit);
                               return static_cast<double>(kPiShape.limit);
                           }});
    const std::size_t coreClock = contestants.size();
    contestants.push_back({"Dependent register adds", [] {
                               const std::int64_t adds = dependentAdds(kAddIterations);
                               integerSink = integerSink + adds;
                               return static_cast<double>(adds);
                           }});
    const std::size_t matrix = contestants.size();
    contestants.push_back(
        {"Test 2 rotate + multiply (ours)", [] { return static_cast<double>(ourMatrixTest()); }});
    const std::size_t rotation = contestants.size();
    contestants.push_back(
        {"  BuildRotationY alone", [] { return static_cast<double>(ourRotationOnly()); }});
    const std::size_t multiply = contestants.size();
    contestants.push_back(
        {"  MatrixMultiply4x4 alone", [] { return static_cast<double>(ourMultiplyOnly()); }});

    // Untimed: brings code and arrays into the state the rounds find them in.
    for (const StreamKernel& kernel : kernels) {
        kernel.run(arrays);
    }
    referenceTriadDouble();
    referenceTriadInt();

    for (int round = 0; round < kRounds; ++round) {
        std::fprintf(stderr, "veltrane-bench: round %d of %d\n", round + 1, kRounds);
        // The Scale kernels multiply in place; fresh values keep every round alike.
        fillStreamArrays(arrays);
        const bool forward = round % 2 == 0;
        for (std::size_t k = 0; k < contestants.size(); ++k) {
            Contestant& c = contestants[forward ? k : contestants.size() - 1 - k];
            const std::uint64_t t0 = ticksNow();
            const double units = c.run();
            const std::uint64_t t1 = ticksNow();
            c.ticksPerUnit.push_back(static_cast<double>(t1 - t0) / units);
        }
    }

    std::vector<double> medians;
    for (const Contestant& c : contestants) {
        medians.push_back(median(c.ticksPerUnit));
    }
    auto mbPerSecond = [&](double ticksPerPass, int arraysMoved) {
        return static_cast<double>(arraysMoved) * static_cast<double>(kArrayBytes) /
               (ticksPerPass / hertz) / 1e6;
    };

    std::printf("veltrane-bench: medians of %d interleaved rounds, in time stamp counter ticks\n",
                kRounds);
    std::printf("TSC frequency estimate: %.1f MHz (ticks over a 200 ms sleep)\n", hertz / 1e6);
    cyclesPerTick = 1.0 / medians[coreClock];
    std::printf(
        "Core clock estimate: %.1f MHz, %.3f core cycles per tick (dependent register "
        "adds, one cycle each)\n",
        hertz * cyclesPerTick / 1e6, cyclesPerTick);
    std::printf(
        "STREAM arrays: %zu bytes each; MB = 10^6 bytes; Assign and Scale move 2 arrays, "
        "Add and Triad 3\n",
        kArrayBytes);
    std::printf("spread = (slowest - fastest round) / median\n\n");
    printHeader();

    const double refDoubleRate = mbPerSecond(medians[refDouble], 3);
    const double refIntRate = mbPerSecond(medians[refInt], 3);
    for (std::size_t k = 0; k < kernels.size(); ++k) {
        const StreamKernel& kernel = kernels[k];
        const double rate = mbPerSecond(medians[k], kernel.arraysMoved);
        // MB/s over MB/s is the reference's ticks over ours, scaled by the arrays moved.
        const std::size_t ref = kernel.integer ? refInt : refDouble;
        const double ratio =
            pairedRatio(contestants[ref].ticksPerUnit, contestants[k].ticksPerUnit) *
            kernel.arraysMoved / 3.0;
        const double need = kernel.integer ? 0.88 : 0.95;
        char target[64];
        std::snprintf(target, sizeof target, ">= %.2f x %s ref Triad", need,
                      kernel.integer ? "uint32" : "double");
        printRow(contestants[k].name, medians[k], "pass", rate, spread(contestants[k].ticksPerUnit),
                 ratio, target, verdict(ratio >= need));
    }
    printRow(contestants[refDouble].name, medians[refDouble], "pass", refDoubleRate,
             spread(contestants[refDouble].ticksPerUnit), 1.0, "reference", "");
    printRow(contestants[refInt].name, medians[refInt], "pass", refIntRate,
             spread(contestants[refInt].ticksPerUnit), 1.0, "reference", "");
    printRule();

    const double mipsRatio =
        pairedRatio(contestants[ourMips].ticksPerUnit, contestants[plainMips].ticksPerUnit);
    printRow(contestants[ourMips].name, medians[ourMips], "iteration", 0,
             spread(contestants[ourMips].ticksPerUnit), mipsRatio, "within 5% of plain idiv",
             verdict(std::fabs(mipsRatio - 1.0) <= 0.05));
    printRow(contestants[plainMips].name, medians[plainMips], "iteration", 0,
             spread(contestants[plainMips].ticksPerUnit), 1.0, "reference", "");
    printRule();

    // The series alone: per round, the whole call less the warm-up run on its own.
    std::vector<double> series;
    for (std::size_t r = 0; r < contestants[piWhole].ticksPerUnit.size(); ++r) {
        series.push_back(contestants[piWhole].ticksPerUnit[r] -
                         contestants[piWarm].ticksPerUnit[r]);
    }
    const double seriesTicks = median(series);
    printRow(contestants[piWhole].name, medians[piWhole], "term", 0,
             spread(contestants[piWhole].ticksPerUnit),
             pairedRatio(contestants[piWhole].ticksPerUnit, contestants[plainPi].ticksPerUnit),
             "information", "");
    printRow(contestants[piWarm].name, medians[piWarm], "term", 0,
             spread(contestants[piWarm].ticksPerUnit), 0, "information", "");
    printRow("PI series = whole - warm-up (ours)", seriesTicks, "term", 0, spread(series),
             pairedRatio(series, contestants[plainPi].ticksPerUnit), "<= 7 ticks per term",
             verdict(seriesTicks <= 7.0));
    printRow(contestants[plainPi].name, medians[plainPi], "term", 0,
             spread(contestants[plainPi].ticksPerUnit), 1.0, "reference", "");
    printRule();

    printRow(contestants[matrix].name, medians[matrix], "iteration", 0,
             spread(contestants[matrix].ticksPerUnit), 0, "<= 85 ticks per iteration",
             verdict(medians[matrix] <= 85.0));
    for (const std::size_t part : {rotation, multiply}) {
        printRow(contestants[part].name, medians[part], "call", 0,
                 spread(contestants[part].ticksPerUnit), 0, "information", "");
    }
    printRule();
    printRow(contestants[coreClock].name, medians[coreClock], "add", 0,
             spread(contestants[coreClock].ticksPerUnit), 0, "clock estimate", "");
    printRule();

    std::printf(
        "\nRatios are medians of per-round ratios. STREAM kernels by MB/s against the reference "
        "Triad of their own type "
        "(ALU kernels: uint32, FPU kernels: double);\n"
        "MIPS and PI by ticks against the plain loop (above 1 = slower than plain; the PI "
        "targets are in ticks, its ratios are information).\n"
        "PI terms: %d per call; the whole call also holds a warm-up of as many sign "
        "flips, timed alone and subtracted round by round.\n",
        kPiShape.limit);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("Run time: %.1f s\n", seconds);
    return 0;
}

}  // namespace veltrane::bench

int main() {
    return veltrane::bench::run();
}
