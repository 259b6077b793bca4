#include "platform/Threads.h"

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>

namespace veltrane::platform {

namespace {

std::atomic<PriorityGrant> lastTimeCriticalGrant{PriorityGrant::NotAsked};

bool raiseCurrentThread() {
    const auto tid = static_cast<id_t>(gettid());
    return setpriority(PRIO_PROCESS, tid, -20) == 0;
}

void lowerCurrentThreadToIdle() {
    sched_param param{};
    param.sched_priority = 0;
    pthread_setschedparam(pthread_self(), SCHED_IDLE, &param);
}

void applyPriority(ThreadPriority priority) {
    switch (priority) {
        case ThreadPriority::TimeCritical:
            lastTimeCriticalGrant.store(raiseCurrentThread() ? PriorityGrant::Granted
                                                             : PriorityGrant::Refused);
            break;
        case ThreadPriority::Idle:
            lowerCurrentThreadToIdle();
            break;
        case ThreadPriority::Normal:
            break;
    }
}

}  // namespace

std::thread startThread(ThreadPriority priority, std::function<void()> work) {
    return std::thread([priority, work = std::move(work)] {
        applyPriority(priority);
        work();
    });
}

PriorityGrant timeCriticalGrant() {
    return lastTimeCriticalGrant.load();
}

PriorityGrant probeTimeCriticalGrant() {
    // A thread of its own, so no thread that goes on running is raised.
    startThread(ThreadPriority::TimeCritical, [] {}).join();
    return timeCriticalGrant();
}

const char* timeCriticalGrantText(PriorityGrant grant) {
    switch (grant) {
        case PriorityGrant::Granted:
            return "Time-critical priority granted (nice -20)";
        case PriorityGrant::Refused:
            return "Time-critical priority not permitted; running at normal priority";
        case PriorityGrant::NotAsked:
            break;
    }
    return "";
}

}  // namespace veltrane::platform
