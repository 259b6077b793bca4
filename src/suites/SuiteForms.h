#pragma once
// Each suite's form of every test: settling pauses, loop shapes, progress
// checks, prefetches, its own static data. These differences are what the
// suites measure.

#include <cstddef>
#include <cstdint>

#include "engine/TestShapes.h"

namespace veltrane::suites {

using engine::IntegerShape;
using engine::MatrixShape;
using engine::MipsShape;
using engine::PiShape;
using engine::Prefetch;
using engine::Product;
using engine::Remainder;
using engine::StreamShape;
using engine::SuiteShape;

// The real sizes, or small ones with the same progress ticks and pauses for
// unit tests.
enum class SuiteSize { Full, Small };

// Which process-wide data a form keeps (test-1 tables, test-3 series
// variables, STREAM arrays); the standard suite's are 0.
enum IntegerTable : int { kSharedOptimisedTable = 1, kSse2Table, kSmpFirstTable, kSmpSecondTable };
enum PiStateId : int { kSsePi = 1, kSse2Pi, k3DNowPi, kSmpFirstPi, kSmpSecondPi };
enum ArraySet : int { kSseArrays = 1, kSse2Arrays, k3DNowArrays, kSmpArrays };

constexpr std::int32_t scaled(std::int32_t full, SuiteSize size) {
    return size == SuiteSize::Full ? full : full / 1000;
}
constexpr std::size_t streamDoubles(SuiteSize size) {
    return size == SuiteSize::Full ? 1'000'000 : 4'000;
}

constexpr std::int32_t kCount = 512'000'000;
constexpr std::int32_t kTickEvery = 51'200'000;

// Test 1. The small size makes one pass per tick.
constexpr IntegerShape integerShape(SuiteSize z, IntegerShape s) {
    if (z == SuiteSize::Small) {
        s.passes /= s.tickEvery;
        s.tickEvery = 1;
    }
    return s;
}
constexpr IntegerShape sharedOptimisedInteger(SuiteSize z) {
    return integerShape(z, {.settleMs = 100,
                            .lessMs = 10,
                            .remainder = Remainder::Reciprocal,
                            .table = kSharedOptimisedTable});
}
constexpr IntegerShape sse2Integer(SuiteSize z) {
    return integerShape(
        z,
        {.settleMs = 100, .lessMs = 10, .remainder = Remainder::Reciprocal, .table = kSse2Table});
}
constexpr IntegerShape smpFirstInteger(SuiteSize z) {
    return integerShape(z, {.settleMs = 100, .tickParam = 1, .table = kSmpFirstTable});
}
constexpr IntegerShape smpSecondInteger(SuiteSize z) {
    return integerShape(z, {.passes = 30,
                            .tickEvery = 3,
                            .settleMs = 100,
                            .reference = 26.95,
                            .tickParam = 2,
                            .table = kSmpSecondTable});
}

// Test 2.
constexpr MatrixShape matrixShape(SuiteSize z) {
    return {.iterations = scaled(40'000'000, z), .tickEvery = scaled(4'000'000, z)};
}
constexpr MatrixShape sseMatrix(SuiteSize z) {
    MatrixShape s = matrixShape(z);
    s.settleMs = 100;
    s.resetBar = true;
    s.product = Product::RTimesM;
    s.remainder = Remainder::Reciprocal;
    return s;
}
constexpr MatrixShape threeDNowMatrix(SuiteSize z) {
    MatrixShape s = matrixShape(z);
    s.settleMs = 200;
    s.resetBar = true;
    s.threeDNow = true;
    return s;
}
constexpr MatrixShape smpMatrix(SuiteSize z, std::int64_t thread) {
    MatrixShape s = matrixShape(z);
    s.settleMs = 100;
    s.tickParam = thread;
    return s;
}

// Test 3.
constexpr PiShape piShape(SuiteSize z, std::uint32_t settleMs) {
    return {.limit = scaled(kCount, z), .tickEvery = scaled(kTickEvery, z), .settleMs = settleMs};
}
constexpr PiShape ssePi(SuiteSize z, int state) {
    PiShape s = piShape(z, 100);
    s.warmUpFlips = 1;
    s.seriesTerms = 1;
    s.remainder = Remainder::Reciprocal;
    s.state = state;
    return s;
}
constexpr PiShape threeDNowPi(SuiteSize z) {
    PiShape s = piShape(z, 200);
    s.warmUpFlips = 16;
    s.state = k3DNowPi;
    return s;
}
constexpr PiShape smpPi(SuiteSize z, std::int64_t thread) {
    PiShape s = piShape(z, 200);
    s.tickParam = thread;
    s.state = thread == 1 ? kSmpFirstPi : kSmpSecondPi;
    return s;
}

// Tests 4 and 5.
constexpr MipsShape countingLoop(SuiteSize z, std::int32_t start, std::int32_t step,
                                 std::uint32_t settleMs, Remainder remainder) {
    return {.start = start,
            .step = step,
            .limit = scaled(kCount, z),
            .tickEvery = scaled(kTickEvery, z),
            .settleMs = settleMs,
            .remainder = remainder};
}
// The 3DNow! forms count in threes and tick every 51,200,001.
constexpr MipsShape threeDNowCounting(SuiteSize z, std::uint32_t settleMs) {
    MipsShape s = countingLoop(z, 0, 3, settleMs, Remainder::Divide);
    s.tickEvery += 1;
    return s;
}
constexpr MipsShape sse2Mflops(SuiteSize z) {
    MipsShape s = countingLoop(z, 1, 1, 100, Remainder::Reciprocal);
    s.mflopsFactor = 0.03125;
    return s;
}
constexpr MipsShape smpCounting(SuiteSize z, std::int64_t thread) {
    MipsShape s = countingLoop(z, 0, 2, 200, Remainder::Divide);
    s.tickParam = thread;
    return s;
}

// Tests 6 and 7.
constexpr StreamShape sseStream(SuiteSize z, int aluPerIteration, int arraySet) {
    return {.doubles = streamDoubles(z),
            .settleMs = 100,
            .aluPerIteration = aluPerIteration,
            .fpuPerIteration = 8,
            .prefetch = Prefetch::T1,
            .x87Assign = true,
            .byteTableRates = true,
            .remainder = Remainder::Reciprocal,
            .arraySet = arraySet};
}
constexpr StreamShape threeDNowStream(SuiteSize z) {
    return {.doubles = streamDoubles(z),
            .settleMs = 200,
            .aluPerIteration = 8,
            .fpuPerIteration = 8,
            .prefetch = Prefetch::ThreeDNow,
            .x87Assign = true,
            .arraySet = k3DNowArrays};
}
constexpr StreamShape smpStream(SuiteSize z) {
    return {.doubles = streamDoubles(z), .settleMs = 100, .arraySet = kSmpArrays, .tickParam = 1};
}

// Every suite as a table of its seven forms (tests 6 and 7 share one shape).
// The SSE suite's full run borrows the 3DNow! forms of tests 4 and 5.
constexpr SuiteShape sseSuite(SuiteSize z, bool fullRun) {
    return {.integer = sharedOptimisedInteger(z),
            .matrix = sseMatrix(z),
            .pi = ssePi(z, kSsePi),
            .mips = fullRun ? threeDNowCounting(z, 200)
                            : countingLoop(z, 0, 1, 100, Remainder::Reciprocal),
            .mflops = fullRun ? threeDNowCounting(z, 100)
                              : countingLoop(z, 0, 2, 100, Remainder::Reciprocal),
            .stream = sseStream(z, 8, kSseArrays)};
}
constexpr SuiteShape sse2Suite(SuiteSize z) {
    return {.integer = sse2Integer(z),
            .matrix = sseMatrix(z),
            .pi = ssePi(z, kSse2Pi),
            .mips = countingLoop(z, 0, 1, 100, Remainder::Reciprocal),
            .mflops = sse2Mflops(z),
            .stream = sseStream(z, 16, kSse2Arrays)};
}
constexpr SuiteShape threeDNowSuite(SuiteSize z) {
    return {.integer = sharedOptimisedInteger(z),
            .matrix = threeDNowMatrix(z),
            .pi = threeDNowPi(z),
            .mips = threeDNowCounting(z, 200),
            .mflops = threeDNowCounting(z, 100),
            .stream = threeDNowStream(z)};
}
// The second thread never runs tests 6 and 7.
constexpr SuiteShape smpSuite(SuiteSize z, std::int64_t thread) {
    return {.integer = thread == 1 ? smpFirstInteger(z) : smpSecondInteger(z),
            .matrix = smpMatrix(z, thread),
            .pi = smpPi(z, thread),
            .mips = smpCounting(z, thread),
            .mflops = smpCounting(z, thread),
            .stream = smpStream(z)};
}

}  // namespace veltrane::suites
