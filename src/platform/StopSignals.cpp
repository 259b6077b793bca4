#include "platform/StopSignals.h"

#include <atomic>

namespace veltrane::platform {

namespace {

std::atomic<int> stopSignal{0};
static_assert(std::atomic<int>::is_always_lock_free, "set from a signal handler");

extern "C" void onStopSignal(int signal) {
    stopSignal.store(signal);
}

void catchSignal(int signal, struct sigaction& saved) {
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(signal, &action, &saved);
}

}  // namespace

StopSignalScope::StopSignalScope() {
    stopSignal.store(0);
    catchSignal(SIGINT, savedInterrupt_);
    catchSignal(SIGTERM, savedTerminate_);
}

StopSignalScope::~StopSignalScope() {
    sigaction(SIGINT, &savedInterrupt_, nullptr);
    sigaction(SIGTERM, &savedTerminate_, nullptr);
}

bool StopSignalScope::requested() {
    return stopSignal.load() != 0;
}

int StopSignalScope::exitStatus() {
    const int signal = stopSignal.load();
    return 128 + (signal != 0 ? signal : SIGINT);
}

}  // namespace veltrane::platform
