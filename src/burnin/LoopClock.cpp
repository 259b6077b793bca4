#include "burnin/LoopClock.h"

namespace veltrane::burnin {

namespace {

class SystemLoopClock : public LoopClock {
public:
    ClockTime now() override { return platform::programClockTime(std::time(nullptr)); }
};

}  // namespace

LoopClock& systemLoopClock() {
    static SystemLoopClock clock;
    return clock;
}

}  // namespace veltrane::burnin
