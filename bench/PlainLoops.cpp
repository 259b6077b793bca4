// The plain loops our MIPS and PI routines are held against, built with the
// same fixed flags: nothing but the division each iteration is there to time.
#include "Contestants.h"
#include "engine/Opaque.h"

namespace veltrane::bench {

[[gnu::noinline]] std::int64_t plainDivisionLoop(std::int32_t limit, std::int32_t divisor,
                                                 std::int64_t& zeros) {
    const std::int32_t end = engine::opaque(limit);
    const std::int32_t d = engine::opaque(divisor);
    std::int64_t count = 0;
    for (std::int32_t i = 0; i < end; i += 2) {
        count += (i % d == 0) ? 1 : 0;
    }
    zeros = count;
    return end / 2;
}

[[gnu::noinline]] double plainSeries(std::int32_t terms) {
    const std::int32_t end = engine::opaque(terms);
    double sign = engine::opaque(1.0);
    double den = engine::opaque(1.0);
    double sum = 0.0;
    for (std::int32_t i = 0; i < end; ++i) {
        sum += sign / den;
        den += 2.0;
        sign = -sign;
    }
    return sum;
}

[[gnu::noinline]] std::int64_t dependentAdds(std::int64_t iterations) {
    const std::int64_t end = engine::opaque(iterations);
    // A register operand, not an immediate: no front end can fold the adds.
    const std::int64_t one = engine::opaque(std::int64_t{1});
    std::int64_t x = 0;
    for (std::int64_t i = 0; i < end; ++i) {
        x = engine::opaque(x + one);
        x = engine::opaque(x + one);
        x = engine::opaque(x + one);
        x = engine::opaque(x + one);
        x = engine::opaque(x + one);
        x = engine::opaque(x + one);
        x = engine::opaque(x + one);
        x = engine::opaque(x + one);
    }
    return x;
}

}  // namespace veltrane::bench
