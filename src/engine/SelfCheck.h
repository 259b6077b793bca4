#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace veltrane::engine {

struct BenchResult;

enum class CheckState : std::uint8_t { NotRun, Passed, Failed };

// A test's check of its own work, made after its timed interval.
struct TestCheck {
    CheckState state = CheckState::NotRun;
    std::string detail;  // what was wrong; empty when passed

    bool failed() const { return state == CheckState::Failed; }
};

TestCheck checkPassed();
TestCheck checkFailed(std::string detail);

// No test of the record failed its check: its figures can be trusted.
bool figuresTrusted(const BenchResult& record);
// Test `test` (1 to 7) failed its check.
bool figureInvalid(const BenchResult& record, int test);

struct D3DMatrix;

// Test 2's running matrix after `steps` products with `rotation`, a rotation
// about Y: still exactly a rotation's form (the Y and W rows and columns
// untouched, the X-Z block [[a, b], [-b, a]]), and its scale what the stored
// cosine and sine make of it, (cos^2 + sin^2)^steps, within the rounding of
// the steps.
TestCheck checkRunningRotation(const D3DMatrix& running, const D3DMatrix& rotation,
                               std::int64_t steps);
// How far the running matrix's squared scale may stray from the expected one,
// relatively, after `steps` steps.
double rotationScaleTolerance(std::int64_t steps);

// Progress ticks counted against those the counting loop must have sent.
TestCheck checkTicks(std::int64_t counted, std::int64_t expected);
// The ticks of a loop from `start` in steps of `step` below `limit`, one
// where the count is a multiple of `every`.
std::int64_t expectedTicks(std::int32_t start, std::int32_t step, std::int32_t limit,
                           std::int32_t every);

// The STREAM arrays after `passes` passes of Assign, Scale, Add and Triad
// from a = 0, b = 2, c = 1: integers exactly (modulo 2^32), doubles within
// one part in 10^13.
TestCheck checkAluArrays(const std::uint32_t* a, const std::uint32_t* b, const std::uint32_t* c,
                         std::size_t count, int passes);
TestCheck checkFpuArrays(const double* a, const double* b, const double* c, std::size_t count,
                         int passes);

// Whether runs measure the core's clock around each test, against the
// time-stamp counter's rate in MHz (0, the default: they do not).
void setEffectiveClockReference(float tscMHz);
// The core's clock now, or 0 when runs do not measure it.
float sampleEffectiveClock();
// A sentence for each test whose core clock dropped while it ran.
std::vector<std::string> throttlingWarnings(const BenchResult& record);

// For the tests of the checks themselves: the test whose check input is
// damaged on purpose before it is checked (0: none). Only test builds set it.
void setDamagedCheck(int test);
bool checkInputDamaged(int test);

}  // namespace veltrane::engine
