#pragma once

#include "engine/BenchResult.h"
#include "engine/TestShapes.h"

namespace veltrane::engine {

// The series variables live for the whole process: a second run continues
// the series where the first stopped.
struct PiState {
    double piSign = 0;
    double piY = 0;
    double piDenominator = 0;
    double piSum = 0;
    double piDiff = 0;
    double piProduct = 0;
    bool started = false;
    bool denominatorSet = false;
    double five = 5.0;
    double one = 1.0;
    double two = 2.0;
};

// Each form keeps its own series variables.
// After the series: the terms so far, counted by the denominator, agree with
// the sign, and four fifths of the sum is pi within the series' own error
// and the rounding of its additions.
TestCheck checkPiSeries(const PiState& state);
// That bound after `terms` terms.
double piSeriesTolerance(double terms);

template <int State>
PiState& piStateFor() {
    static PiState state;
    return state;
}

template <PiShape S = PiShape{}>
void PiBenchmark(BenchResult& record, PiState& state = piStateFor<S.state>());

}  // namespace veltrane::engine
