// The scaling run's threads call the standard suite's own instances of the
// timed routines; nothing here instantiates a timed loop of its own.
#include "suites/ScalingWorkers.h"

namespace veltrane::suites {

ScalingWorkerFactory standardScalingWorkers() {
    return scalingWorkers<engine::kFullSuite>();
}

}  // namespace veltrane::suites
