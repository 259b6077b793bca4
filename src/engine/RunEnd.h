#pragma once

#include <array>
#include <string>

#include "engine/BenchResult.h"

namespace veltrane::engine {

inline constexpr const char* kTempdataFile = "tempdata";
inline constexpr std::size_t kTempdataBytes = 40;

// A float shown with "%d": truncated toward zero, and held to the int range
// (a NaN reads as 0) so a runaway value cannot misbehave.
int truncatedInt(float value);

// "%d " of the overall score for a full run, else "N/A ".
std::string scoreText(const BenchResult& record);
// The score text followed by " CPUMarks".
std::string scoreLine(const BenchResult& record);
// "%1.2f seconds" of the run's total time.
std::string totalTimeText(const BenchResult& record);

// The 40 bytes written after a run: the line, then zero bytes.
std::array<char, kTempdataBytes> tempdataRecord(const std::string& line);

// Each returns an empty string on success, else what went wrong.
[[nodiscard]] std::string writeTempdata(const std::string& line,
                                        const std::string& path = kTempdataFile);
[[nodiscard]] std::string writeTempdataPlaceholder(const std::string& path = kTempdataFile);

// An SMP run: the five scores of both threads summed, the bandwidths and
// the total time from the first; the overall score when the first ran all.
void combineSmpResults(BenchResult& current, const BenchResult& first, const BenchResult& second);

}  // namespace veltrane::engine
