#include <gtest/gtest.h>

#include "engine/ProgressModel.h"

namespace veltrane::engine {
namespace {

TEST(ProgressModel, SingleThreadWindowCountsTicksEndsAndTestsBegun) {
    ProgressModel model(false);
    model.apply(WM_THREAD_BEGIN, 3, 0);
    const auto& view = model.thread(0);
    EXPECT_EQ(view.testsBegun, 1);
    EXPECT_EQ(view.name, "PI APPROXIMATION");
    EXPECT_EQ(view.unit, "FPU (64 bit)");
    for (int i = 0; i < 10; ++i) {
        model.apply(WM_THREAD_TICK, 0, 0);
    }
    EXPECT_EQ(view.current.position, 100);
    model.apply(WM_THREAD_TICK, 0, 0);  // test 3 ticks twenty times: the bar starts over
    EXPECT_EQ(view.current.position, 10);
    model.apply(WM_THREAD_END, 0, 0);
    EXPECT_EQ(view.overall.position, 1);
    EXPECT_EQ(view.overallPercent, 14);
    EXPECT_EQ(ProgressModel::percentText(view.overallPercent), "14 %");
    model.apply(WM_THREAD_BEGIN, 6, 0);
    EXPECT_EQ(view.testsBegun, 2);  // the counter counts tests begun, not test numbers
    model.apply(WM_THREAD_BEGIN, 9, 0);
    EXPECT_EQ(view.testsBegun, 3);
    EXPECT_EQ(view.name, "STREAM 4.0 ALU");  // no text for a number outside 1-7
    model.apply(PBM_SETPOS, 0, 0);
    EXPECT_EQ(view.current.position, 0);
    EXPECT_EQ(model.apply(WM_BENCH_DONE, 0, 0), -1);
    model.reset();
    EXPECT_EQ(view.testsBegun, 0);
    EXPECT_EQ(view.overallPercent, 0);
}

TEST(ProgressModel, AFullRunEndsAtNinetyEightPercent) {
    ProgressModel model(false);
    for (int test = 1; test <= 7; ++test) {
        model.apply(WM_THREAD_BEGIN, test, 0);
        model.apply(WM_THREAD_END, 0, 0);
    }
    EXPECT_EQ(model.thread(0).overallPercent, 98);
    EXPECT_EQ(model.thread(0).overall.position, 7);
}

TEST(ProgressModel, TwoThreadWindowTellsTheThreadsApart) {
    ProgressModel model(true);
    EXPECT_EQ(model.apply(WM_THREAD_BEGIN, 1, 0), 0);
    EXPECT_EQ(model.apply(WM_THREAD_BEGIN, 1, 1), 1);
    EXPECT_EQ(model.apply(WM_THREAD_TICK, 2, 0), 1);
    EXPECT_EQ(model.thread(1).current.position, 10);
    EXPECT_EQ(model.thread(0).current.position, 0);
    EXPECT_EQ(model.apply(WM_THREAD_TICK, 0, 0), -1);
    EXPECT_EQ(model.apply(WM_THREAD_BEGIN, 2, 5), -1);
    for (int i = 0; i < 5; ++i) {
        model.apply(WM_THREAD_END, 2, 0);
    }
    EXPECT_EQ(model.thread(1).overallPercent, 100);
    EXPECT_EQ(model.thread(1).overall.position, 5);
    model.apply(WM_THREAD_END, 1, 0);
    EXPECT_EQ(model.thread(0).overallPercent, 14);

    model.apply(WM_THREAD_BEGIN, 6, 0);
    EXPECT_EQ(model.thread(1).name, "");
    EXPECT_EQ(model.thread(1).unit, "");
    EXPECT_EQ(model.thread(1).description, "THREAD 2 STOPPED; WAIT FOR RAM TEST RESULTS");
    EXPECT_EQ(model.thread(0).name, "STREAM 4.0 ALU");
    // the second thread's texts change only for tests 1 to 5; its counter always
    model.apply(WM_THREAD_BEGIN, 7, 1);
    EXPECT_EQ(model.thread(1).name, "");
    EXPECT_EQ(model.thread(1).testsBegun, 2);
}

}  // namespace
}  // namespace veltrane::engine
