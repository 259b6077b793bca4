#pragma once

#include <cstdint>

#include "engine/Opaque.h"
#include "engine/TestShapes.h"

namespace veltrane::engine {

// A division by a constant replaced by a multiplication: q = (n x multiplier)
// >> shift equals n / d for every count 0 <= n < 2^31. The multiplier is
// ceil(2^shift / d) with shift = 31 + ceil(log2 d), so its error per count
// stays below one part in d x 2^31.
struct FixedPointReciprocal {
    std::int64_t multiplier;
    int shift;
};

constexpr FixedPointReciprocal fixedPointReciprocal(std::int32_t d) {
    int bits = 0;
    while ((std::int64_t{1} << bits) < d) {
        ++bits;
    }
    const int shift = 31 + bits;
    return {((std::int64_t{1} << shift) + d - 1) / d, shift};
}

// The remainder of a count by the constant D without a division instruction:
// multiply by the reciprocal, shift, multiply back, subtract. The count goes
// through opaque() so the product cannot be turned into a running sum, and
// the remainder so the sequence cannot be folded into a divisibility test.
template <std::int32_t D>
inline std::int32_t reciprocalRemainder(std::int32_t count) {
    static_assert(D > 0);
    constexpr FixedPointReciprocal r = fixedPointReciprocal(D);
    const std::int64_t wide = opaque(static_cast<std::int64_t>(count));
    const auto quotient = static_cast<std::int32_t>((wide * r.multiplier) >> r.shift);
    return opaque(count - quotient * D);
}

// The progress check of a timed loop: is a tick due at this count? The
// standard forms divide by a modulus the optimiser cannot see; the
// optimised forms multiply by its reciprocal.
template <Remainder R, std::int32_t Modulus>
struct ProgressCheck;

template <std::int32_t Modulus>
struct ProgressCheck<Remainder::Divide, Modulus> {
    std::int32_t modulus = opaque(Modulus);
    bool due(std::int32_t count) const { return count % modulus == 0; }
};

template <std::int32_t Modulus>
struct ProgressCheck<Remainder::Reciprocal, Modulus> {
    bool due(std::int32_t count) const { return reciprocalRemainder<Modulus>(count) == 0; }
};

}  // namespace veltrane::engine
