#include "engine/TestInfo.h"

#include <array>

namespace veltrane::engine {

namespace {

constexpr std::array<TestInfo, kTestCount> kTests{{
    {"INTEGER BENCHMARK", "ALU - Memory subsystem",
     "Database managment simulation (sort, insertion, search etc. )"},
    {"D3DMATRIX MULTIPLY", "FPU (32 bit) - Memory subsystem",
     "Direct3D Geometrical Transformation - FPU Intensive"},
    {"PI APPROXIMATION", "FPU (64 bit)",
     "PI appriximation using the Taylor series expansion of atan(1.0)"},
    {"MIPS BENCHMARK", "ALU", "Mixed integer operations to calculate a correct MIPS index"},
    {"MFLOPS BENCHMARK", "FPU (64 bit)",
     "Numerical integration of sin(x)*cos^2(x) using Trapezoidal method"},
    {"STREAM 4.0 ALU", "Memory subsystem(32 bit)",
     "Based on STREAM 4.0 alghortim developed by Virginia University - 32 bit (int data type)"},
    {"STREAM 4.0 FPU", "Memory subsystem(64 bit)",
     "Based on STREAM 4.0 alghortim developed by Virginia University  - 64 bit (double data "
     "type)"},
}};

}  // namespace

const TestInfo* testInfo(int test) {
    if (test < 1 || test > kTestCount) {
        return nullptr;
    }
    return &kTests[static_cast<std::size_t>(test - 1)];
}

const char* suiteName(int suite) {
    switch (suite) {
        case SuiteSSE:
            return "SSE";
        case SuiteSSE2:
            return "SSE2";
        case Suite3DNow:
            return "3DNow!";
        case SuiteStandard:
            return "standard";
        case SuiteSMP:
            return "SMP";
        default:
            return "unknown";
    }
}

}  // namespace veltrane::engine
