#include "suites/SuiteThreads.h"

namespace veltrane::suites {

void SmpSync::reset() {
    std::lock_guard lock(mutex_);
    secondDone_ = false;
}

void SmpSync::secondFinished() {
    {
        std::lock_guard lock(mutex_);
        secondDone_ = true;
    }
    finished_.notify_all();
}

void SmpSync::waitForSecond() {
    std::unique_lock lock(mutex_);
    finished_.wait(lock, [this] { return secondDone_; });
}

SmpSync& smpSync() {
    static SmpSync sync;
    return sync;
}

}  // namespace veltrane::suites
