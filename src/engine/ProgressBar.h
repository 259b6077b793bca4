#pragma once

namespace veltrane::engine {

// A progress bar's position as the progress windows drive it: each step
// advances by `step` and starts over from the beginning past the maximum.
struct ProgressBar {
    int minimum = 0;
    int maximum = 100;
    int step = 10;
    int position = 0;

    void stepIt() {
        position += step;
        if (position > maximum) {
            position = (position - minimum) % (maximum - minimum) + minimum;
        }
    }
    void reset() { position = minimum; }
};

}  // namespace veltrane::engine
