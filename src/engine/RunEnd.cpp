#include "engine/RunEnd.h"

#include <climits>
#include <cmath>
#include <cstring>
#include <string_view>

#include "engine/Scores.h"
#include "platform/Format.h"
#include "platform/OutputFile.h"

namespace veltrane::engine {

int truncatedInt(float value) {
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= 2147483648.0f) {
        return INT_MAX;
    }
    if (value <= -2147483648.0f) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

std::string scoreText(const BenchResult& record) {
    // A figure that failed its check gives no overall score either.
    if (record.fullRun == 0 || !figuresTrusted(record)) {
        return "N/A ";
    }
    return strprintf("%d ", truncatedInt(record.overallResult));
}

std::string scoreLine(const BenchResult& record) {
    return scoreText(record) + " CPUMarks";
}

std::string totalTimeText(const BenchResult& record) {
    return strprintf("%1.2f seconds", static_cast<double>(record.overallTime));
}

std::array<char, kTempdataBytes> tempdataRecord(const std::string& line) {
    std::array<char, kTempdataBytes> bytes{};
    std::memcpy(bytes.data(), line.data(), std::min(line.size(), kTempdataBytes - 1));
    return bytes;
}

std::string writeTempdata(const std::string& line, const std::string& path) {
    const auto bytes = tempdataRecord(line);
    return platform::writeOutputFile(path, std::string_view(bytes.data(), bytes.size()));
}

std::string writeTempdataPlaceholder(const std::string& path) {
    return platform::writeOutputFile(path, "Bench not run yet");
}

void combineSmpResults(BenchResult& current, const BenchResult& a, const BenchResult& b) {
    current.integerResult = a.integerResult + b.integerResult;
    current.floatResult = a.floatResult + b.floatResult;
    current.doubleResult = a.doubleResult + b.doubleResult;
    current.mipsResult = a.mipsResult + b.mipsResult;
    current.mflopsResult = a.mflopsResult + b.mflopsResult;
    current.ramAluResult = a.ramAluResult;
    current.ramAluAssign = a.ramAluAssign;
    current.ramAluAdd = a.ramAluAdd;
    current.ramAluScale = a.ramAluScale;
    current.ramAluTriad = a.ramAluTriad;
    current.ramFpuResult = a.ramFpuResult;
    current.ramFpuAssign = a.ramFpuAssign;
    current.ramFpuAdd = a.ramFpuAdd;
    current.ramFpuScale = a.ramFpuScale;
    current.ramFpuTriad = a.ramFpuTriad;
    current.overallTime = a.overallTime;
    current.stopped = a.stopped || b.stopped;
    current.clocks = a.clocks;
    // A figure is as trustworthy as the threads' checks behind it.
    for (std::size_t i = 0; i < current.checks.size(); ++i) {
        current.checks[i] = b.checks[i].failed() ? b.checks[i] : a.checks[i];
    }
    if (a.fullRun != 0 && !current.stopped && figuresTrusted(current)) {
        current.overallResult = overallScore(current);
    }
}

}  // namespace veltrane::engine
