#include "engine/BenchResult.h"

namespace veltrane::engine {

void clearResultFields(BenchResult& r) {
    r.integerTime = r.floatTime = r.doubleTime = 0;
    r.integerResult = r.floatResult = r.doubleResult = 0;
    r.mipsResult = r.mflopsResult = r.mipsTime = r.mflopsTime = 0;
    r.ramAluResult = r.ramAluAssign = r.ramAluAdd = r.ramAluScale = r.ramAluTriad = 0;
    r.ramFpuResult = r.ramFpuAssign = r.ramFpuAdd = r.ramFpuScale = r.ramFpuTriad = 0;
    r.overallResult = r.overallTime = 0;
    r.stopped = false;
    r.checks = {};
    r.clocks = {};
}

void clearOnWindowSetup(BenchResult& r) {
    r.integerTime = r.floatTime = r.doubleTime = 0;
    r.integerResult = r.floatResult = r.doubleResult = 0;
    r.spareTime = r.spareResult = 0;
    r.ramAluResult = r.ramFpuResult = r.overallResult = 0;
}

}  // namespace veltrane::engine
