#pragma once

namespace veltrane::engine {

inline constexpr int kTestCount = 7;

enum Suite : int { SuiteSSE = 0, SuiteSSE2 = 1, Suite3DNow = 2, SuiteStandard = 3, SuiteSMP = 4 };

// The texts the progress windows show for a test ("threads" to the user).
struct TestInfo {
    const char* name;
    const char* unit;
    const char* description;
};

// Test n from 1 to 7; nullptr for any other number.
const TestInfo* testInfo(int test);

const char* suiteName(int suite);

}  // namespace veltrane::engine
