// The small unit, built with the fixed flags like the program's own.
#include "LoopFakes.h"
#include "reports/LoopUnitImpl.h"

namespace veltrane::reports::test {

LoopUnitFn smallLoopUnit() {
    return &runLoopUnit<kSmallLoopUnit>;
}

}  // namespace veltrane::reports::test
