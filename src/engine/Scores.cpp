#include "engine/Scores.h"

#include "platform/Tick.h"

namespace veltrane::engine {

namespace {

constexpr float kMillisecond = 0.001f;
constexpr float kScale = 10000.0f;
constexpr double kHalfKilo = 0.001953125;  // 1/512
constexpr float kOneOver170 = 0.0058823530f;

}  // namespace

float startReading() {
    return static_cast<float>(platform::timeGetTime());
}

double atLeastOneMillisecond(double seconds) {
    return seconds > 0 ? seconds : 0.001;
}

double elapsedSeconds(float t0, std::uint32_t t1, double lessMs) {
    const double ms = static_cast<double>(t1) - static_cast<double>(t0) - lessMs;
    return atLeastOneMillisecond(ms * static_cast<double>(kMillisecond));
}

double integerScore(double seconds, double reference) {
    return reference / seconds * kScale;
}
double floatScore(double seconds) {
    return 36.16 / seconds * kScale;
}
double doubleScore(double seconds) {
    return 65.16 / seconds * kScale;
}
double mipsScore(double seconds) {
    return 1.0 / (seconds * kHalfKilo * 0.025);
}
double mflopsScore(double seconds, double factor) {
    return 1.0 / (seconds * kHalfKilo * factor);
}

float overallScore(const BenchResult& r) {
    const double weighted = 2.0 * (static_cast<double>(r.floatResult) + r.doubleResult) +
                            3.0 * (static_cast<double>(r.mipsResult) + r.mflopsResult) +
                            5.0 * r.integerResult + r.ramFpuResult + r.ramAluResult;
    return static_cast<float>(weighted * static_cast<double>(kOneOver170) * 2.0);
}

}  // namespace veltrane::engine
