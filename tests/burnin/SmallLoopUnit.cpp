// The small unit, built with the fixed flags like the program's own.
#include "LoopFakes.h"
#include "burnin/LoopUnitImpl.h"

namespace veltrane::burnin::test {

LoopUnitFn smallLoopUnit() {
    return &runLoopUnit<kSmallLoopUnit>;
}

}  // namespace veltrane::burnin::test
