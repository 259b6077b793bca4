#include <gtest/gtest.h>

#include "engine/ProgressModel.h"

namespace veltrane::engine {
namespace {

// Applies `message` `times` times.
void repeat(ProgressModel& model, int times, WindowMessage message, int wParam, int lParam = 0) {
    for (int i = 0; i < times; ++i) {
        model.apply(message, wParam, lParam);
    }
}

TEST(ProgressModel, SingleThreadWindowCountsTicksEndsAndTestsBegun) {
    ProgressModel model(false);
    const auto& view = model.thread(0);
    model.apply(WM_THREAD_BEGIN, 3, 0);
    EXPECT_EQ(view.name + "|" + view.unit, "PI APPROXIMATION|FPU (64 bit)");
    repeat(model, 10, WM_THREAD_TICK, 0);
    EXPECT_EQ(view.current.position, 100);
    model.apply(WM_THREAD_TICK, 0, 0);  // test 3 ticks twenty times: the bar starts over
    EXPECT_EQ(view.current.position, 10);
    model.apply(WM_THREAD_END, 0, 0);
    EXPECT_EQ(ProgressModel::percentText(view.overallPercent), "14 %");
    model.apply(WM_THREAD_BEGIN, 9, 0);
    EXPECT_EQ(view.testsBegun, 2);             // the counter counts tests begun, not test numbers
    EXPECT_EQ(view.name, "PI APPROXIMATION");  // no text for a number outside 1-7
    model.apply(PBM_SETPOS, 30, 0);
    EXPECT_EQ(view.current.position, 30);
    EXPECT_EQ(model.apply(WM_BENCH_DONE, 0, 0), -1);
    repeat(model, 6, WM_THREAD_END, 0);
    EXPECT_EQ(view.overallPercent, 98);  // a full run ends short of 100
    EXPECT_EQ(view.overall.position, 7);
    model.reset();
    EXPECT_EQ(view.testsBegun + view.overallPercent + view.current.position, 0);
}

TEST(ProgressModel, TwoThreadWindowTellsTheThreadsApart) {
    ProgressModel model(true);
    EXPECT_EQ(model.apply(WM_THREAD_BEGIN, 1, 0), 0);
    EXPECT_EQ(model.apply(WM_THREAD_BEGIN, 1, 1), 1);
    EXPECT_EQ(model.apply(WM_THREAD_TICK, 2, 0), 1);
    EXPECT_EQ(model.thread(1).current.position, 10);
    EXPECT_EQ(model.apply(WM_THREAD_TICK, 0, 0), -1);
    EXPECT_EQ(model.apply(WM_THREAD_BEGIN, 2, 5), -1);
    repeat(model, 5, WM_THREAD_END, 2);
    EXPECT_EQ(model.thread(1).overallPercent, 100);  // the second thread runs five tests
    EXPECT_EQ(model.thread(1).overall.position, model.thread(1).overall.maximum);
    model.apply(WM_THREAD_END, 1, 0);
    EXPECT_EQ(model.thread(0).overallPercent, 14);
    // Thread 1 reaching test 6 or 7 stops thread 2's texts; they change only for tests 1-5.
    for (const int test : {6, 7}) {
        model.apply(WM_THREAD_BEGIN, 2, 1);
        model.apply(WM_THREAD_BEGIN, test, 0);
        const auto& second = model.thread(1);
        EXPECT_EQ(second.name + second.unit + second.description, kSecondThreadStopped) << test;
    }
    EXPECT_EQ(model.thread(0).name, "STREAM 4.0 FPU");
    model.apply(WM_THREAD_BEGIN, 6, 1);
    EXPECT_EQ(model.thread(1).name, "");
    EXPECT_EQ(model.thread(1).testsBegun, 4);  // its counter always counts
}

}  // namespace
}  // namespace veltrane::engine
