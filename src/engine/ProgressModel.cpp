#include "engine/ProgressModel.h"

#include "engine/TestInfo.h"
#include "platform/Format.h"

namespace veltrane::engine {

namespace {

constexpr int kSingleThreadPercentPerTest = 14;
constexpr int kSecondThreadPercentPerTest = 20;

void showTest(ThreadProgress& view, int test) {
    if (const TestInfo* info = testInfo(test)) {
        view.name = info->name;
        view.unit = info->unit;
        view.description = info->description;
    }
}

}  // namespace

ProgressModel::ProgressModel(bool twoThreads) : twoThreads_(twoThreads) {
    reset();
}

void ProgressModel::reset() {
    for (auto& view : threads_) {
        view = ThreadProgress{};
    }
    threads_[1].overall.maximum = twoThreads_ ? 5 : 7;
}

std::string ProgressModel::percentText(int percent) {
    return strprintf("%d %c", percent, '%');
}

int ProgressModel::threadOf(std::int64_t wParam) const {
    if (!twoThreads_) {
        return 0;
    }
    return wParam == 1 ? 0 : wParam == 2 ? 1 : -1;
}

int ProgressModel::begin(std::int64_t test, std::int64_t lParam) {
    const int n = static_cast<int>(test);
    if (!twoThreads_) {
        showTest(threads_[0], n);
        ++threads_[0].testsBegun;
        return 0;
    }
    if (lParam == 0) {
        showTest(threads_[0], n);
        ++threads_[0].testsBegun;
        if (n == 6 || n == 7) {
            threads_[1].name.clear();
            threads_[1].unit.clear();
            threads_[1].description = kSecondThreadStopped;
        }
        return 0;
    }
    if (lParam == 1) {
        if (n >= 1 && n <= 5) {
            showTest(threads_[1], n);
        }
        ++threads_[1].testsBegun;
        return 1;
    }
    return -1;
}

int ProgressModel::apply(WindowMessage message, std::int64_t wParam, std::int64_t lParam) {
    switch (message) {
        case WM_THREAD_BEGIN:
            return begin(wParam, lParam);
        case WM_THREAD_TICK: {
            const int index = threadOf(wParam);
            if (index >= 0) {
                threads_[index].current.stepIt();
            }
            return index;
        }
        case WM_THREAD_END: {
            const int index = threadOf(wParam);
            if (index >= 0) {
                threads_[index].overall.stepIt();
                threads_[index].overallPercent +=
                    index == 1 ? kSecondThreadPercentPerTest : kSingleThreadPercentPerTest;
            }
            return index;
        }
        case PBM_SETPOS:
            threads_[0].current.position = static_cast<int>(wParam);
            return 0;
        default:
            return -1;
    }
}

}  // namespace veltrane::engine
