#include "suites/RunSession.h"

#include "engine/RunEnd.h"
#include "engine/TestInfo.h"
#include "ident/ProcessorIdentity.h"
#include "platform/Threads.h"
#include "suites/SuiteThreads.h"

namespace veltrane::suites {

namespace {

void firstSmpThread(engine::BenchResult& record) {
    SmpSuiteThread1<SuiteSize::Full>(record);
}
void secondSmpThread(engine::BenchResult& record) {
    SmpSuiteThread2<SuiteSize::Full>(record);
}

}  // namespace

RunSession::RunSession(SuiteProcedures procedures) : procedures_(procedures) {
    for (auto& record : records_) {
        engine::clearOnWindowSetup(record);
    }
}

RunSession::~RunSession() {
    join();
}

SessionPlan RunSession::plan(int suite, int mask, const ident::ProcessorIdentity& identity,
                             const platform::AffinitySource& affinity) {
    SessionPlan plan{engine::planRun(suite, mask, identity), std::nullopt};
    // Confined to one processor (taskset), the two threads would take turns.
    if (suite == engine::SuiteSMP &&
        platform::allowedProcessors(identity.probe(), affinity).count < 2) {
        plan.refusal = kSmpOnlyError;
    }
    return plan;
}

bool RunSession::start(const SessionPlan& plan, engine::ProgressSink& sink) {
    const bool smp = plan.run.suite == engine::SuiteSMP;
    const auto procedures = proceduresFor(plan.run.suite);
    if (plan.refusal || procedures[0] == nullptr || inProgress_.exchange(true)) {
        return false;
    }
    join();
    for (std::size_t i = 0; i < procedures.size() && procedures[i] != nullptr; ++i) {
        engine::BenchResult& record = records_[i];
        record.progressWindow = &sink;
        record.fullRun = plan.run.fullRun ? 1 : 0;
        if (!plan.run.fullRun) {
            record.selected = plan.run.selected;
        }
        record.suite = plan.run.suite;
    }
    if (smp) {
        smpSync().reset();
    }
    for (std::size_t i = 0; i < procedures.size() && procedures[i] != nullptr; ++i) {
        threads_[i] = platform::startThread(
            platform::ThreadPriority::TimeCritical,
            [procedure = procedures[i], &record = records_[i]] { procedure(record); });
    }
    return true;
}

bool RunSession::finish() {
    join();
    if (!inProgress_.exchange(false)) {
        return false;
    }
    const engine::BenchResult& first = records_[0];
    if (first.suite != engine::SuiteSMP) {
        result_ = first;
        return true;
    }
    // A fresh record each time: nothing of an earlier run stays in the result.
    result_ = engine::BenchResult{};
    engine::combineSmpResults(result_, first, records_[1]);
    result_.fullRun = first.fullRun;
    result_.selected = first.selected;
    result_.suite = engine::SuiteSMP;
    return true;
}

std::array<SuiteThread, 2> RunSession::proceduresFor(int suite) const {
    if (suite != engine::SuiteSMP) {
        return {procedures_.single(suite), nullptr};
    }
    return {procedures_.smpFirst != nullptr ? procedures_.smpFirst : &firstSmpThread,
            procedures_.smpSecond != nullptr ? procedures_.smpSecond : &secondSmpThread};
}

const engine::BenchResult& RunSession::threadRecord(int thread) const {
    return records_.at(static_cast<std::size_t>(thread));
}

void RunSession::join() {
    for (auto& thread : threads_) {
        if (thread.joinable()) {
            thread.join();
        }
    }
}

}  // namespace veltrane::suites
