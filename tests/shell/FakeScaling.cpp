#include "FakeScaling.h"

#include <atomic>
#include <chrono>
#include <thread>

#include "engine/Progress.h"
#include "engine/ScalingFigures.h"

namespace veltrane::shell::test {

namespace {

std::atomic<int> heldTest{0};
std::atomic<int> heldThread{0};

class FakeWorker final : public suites::ScalingWorker {
public:
    explicit FakeWorker(int thread) : thread_(thread) {}

    void runTest(int test, engine::BenchResult& record) override {
        for (int tick = 0; tick < (thread_ + test) % 10 + 1; ++tick) {
            engine::sendTick(record);
        }
        for (std::size_t f = 0; f < engine::kScalingFigures.size(); ++f) {
            const auto& figure = engine::kScalingFigures[f];
            if (figure.test == test) {
                const auto rank = static_cast<double>(f + 1);
                const double drop = 0.01 * rank * thread_;
                record.*figure.field = static_cast<float>(1000.0 * rank * (1.0 - drop));
            }
        }
        record.checks[static_cast<std::size_t>(test - 1)].state = engine::CheckState::Passed;
        while (thread_ == heldThread.load() && heldTest.load() == test) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

private:
    int thread_;
};

}  // namespace

suites::ScalingWorkerFactory fakeScalingWorkers() {
    return [](int thread) { return std::make_unique<FakeWorker>(thread); };
}

void holdScalingRuns(int test, int thread) {
    heldThread.store(thread);
    heldTest.store(test);
}

void releaseScalingRuns() {
    heldTest.store(0);
}

}  // namespace veltrane::shell::test
