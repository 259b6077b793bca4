#pragma once

#include <array>

#include "engine/BenchResult.h"

namespace veltrane::engine {

// One figure of a result record: its key (as the JSON record names it), its
// label in the statistics table, its field, and the test that measures it.
struct Figure {
    const char* key;
    const char* label;
    float BenchResult::*field;
    int test;  // 1 to 7; kOverallScore or kEveryRun for the run's own figures
};

inline constexpr int kOverallScore = 0;  // measured by a full run only
inline constexpr int kEveryRun = -1;     // the total time

// The figures in the JSON record's order.
inline constexpr std::array<Figure, 22> kFigures{{
    {"overall_cpumarks", "Overall (CPUMarks)", &BenchResult::overallResult, kOverallScore},
    {"overall_time_s", "Total time (s)", &BenchResult::overallTime, kEveryRun},
    {"integer_alumarks", "Integer (ALUMarks)", &BenchResult::integerResult, 1},
    {"integer_time_s", "Integer time (s)", &BenchResult::integerTime, 1},
    {"float_fpumarks_sp", "FPU SP (FPUMarks SP)", &BenchResult::floatResult, 2},
    {"float_time_s", "Float time (s)", &BenchResult::floatTime, 2},
    {"double_fpumarks_dp", "FPU DP (FPUMarks DP)", &BenchResult::doubleResult, 3},
    {"double_time_s", "Double time (s)", &BenchResult::doubleTime, 3},
    {"mips", "MIPS", &BenchResult::mipsResult, 4},
    {"mips_time_s", "MIPS time (s)", &BenchResult::mipsTime, 4},
    {"mflops", "MFLOPS", &BenchResult::mflopsResult, 5},
    {"mflops_time_s", "MFLOPS time (s)", &BenchResult::mflopsTime, 5},
    {"ram_alu_mb_per_s", "RAM ALU (MB/s)", &BenchResult::ramAluResult, 6},
    {"ram_alu_assign_mb_per_s", "RAM ALU assign (MB/s)", &BenchResult::ramAluAssign, 6},
    {"ram_alu_add_mb_per_s", "RAM ALU add (MB/s)", &BenchResult::ramAluAdd, 6},
    {"ram_alu_scale_mb_per_s", "RAM ALU scale (MB/s)", &BenchResult::ramAluScale, 6},
    {"ram_alu_triad_mb_per_s", "RAM ALU triad (MB/s)", &BenchResult::ramAluTriad, 6},
    {"ram_fpu_mb_per_s", "RAM FPU (MB/s)", &BenchResult::ramFpuResult, 7},
    {"ram_fpu_assign_mb_per_s", "RAM FPU assign (MB/s)", &BenchResult::ramFpuAssign, 7},
    {"ram_fpu_add_mb_per_s", "RAM FPU add (MB/s)", &BenchResult::ramFpuAdd, 7},
    {"ram_fpu_scale_mb_per_s", "RAM FPU scale (MB/s)", &BenchResult::ramFpuScale, 7},
    {"ram_fpu_triad_mb_per_s", "RAM FPU triad (MB/s)", &BenchResult::ramFpuTriad, 7},
}};

// Whether the run of `record` measured the figure: its test was selected,
// or for the overall score, all seven ran.
inline bool measured(const Figure& figure, const BenchResult& record) {
    switch (figure.test) {
        case kEveryRun:
            return true;
        case kOverallScore:
            return record.fullRun != 0;
        default:
            return record.fullRun != 0 ||
                   record.selected[static_cast<std::size_t>(figure.test - 1)] != 0;
    }
}

}  // namespace veltrane::engine
