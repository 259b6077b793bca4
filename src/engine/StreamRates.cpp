#include "engine/Scores.h"
#include "engine/StreamBenchmark.h"

namespace veltrane::engine {

namespace {

// MB moved in 300 passes over 8,000,000-byte arrays; the three-array figure
// has always been the double just below 7200.
constexpr double kTwoArrayMB = 4800.0;
constexpr double kThreeArrayMB = 7199.999999999999;
constexpr double kFullElements = 1'000'000.0 * 300.0;

}  // namespace

StreamRates streamRates(const double sums[4], std::size_t doubles, int passes) {
    const double scale = static_cast<double>(doubles) * passes / kFullElements;
    StreamRates rates;
    rates.assign = kTwoArrayMB * scale / atLeastOneMillisecond(sums[0]);
    rates.scale = kTwoArrayMB * scale / atLeastOneMillisecond(sums[1]);
    rates.add = kThreeArrayMB * scale / atLeastOneMillisecond(sums[2]);
    rates.triad = kThreeArrayMB * scale / atLeastOneMillisecond(sums[3]);
    rates.result = 0.25 * (0.0 + rates.assign + rates.scale + rates.add + rates.triad);
    return rates;
}

StreamRates streamRatesFromByteTable(const double sums[4], std::size_t doubles, int passes) {
    const double arrayBytes = static_cast<double>(doubles) * sizeof(double);
    const double bytes[4] = {2 * arrayBytes, 2 * arrayBytes, 3 * arrayBytes, 3 * arrayBytes};
    double rates[4];
    for (int k = 0; k < 4; ++k) {
        rates[k] = bytes[k] * 1e-6 * passes / atLeastOneMillisecond(sums[k]);
    }
    StreamRates result{rates[0], rates[1], rates[2], rates[3], 0};
    result.result = 0.25 * (0.0 + result.assign + result.scale + result.add + result.triad);
    return result;
}

void storeAluRates(BenchResult& r, const StreamRates& rates) {
    r.ramAluAssign = static_cast<float>(rates.assign);
    r.ramAluScale = static_cast<float>(rates.scale);
    r.ramAluAdd = static_cast<float>(rates.add);
    r.ramAluTriad = static_cast<float>(rates.triad);
    r.ramAluResult = static_cast<float>(rates.result);
}

void storeFpuRates(BenchResult& r, const StreamRates& rates) {
    r.ramFpuAssign = static_cast<float>(rates.assign);
    r.ramFpuScale = static_cast<float>(rates.scale);
    r.ramFpuAdd = static_cast<float>(rates.add);
    r.ramFpuTriad = static_cast<float>(rates.triad);
    r.ramFpuResult = static_cast<float>(rates.result);
}

}  // namespace veltrane::engine
