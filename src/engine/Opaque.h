#pragma once

namespace veltrane::engine {

// Hides a value from the optimiser without adding work to a loop: a count or
// divisor passed through here is read once and cannot be folded (a literal
// divisor would turn a division into a multiplication).
template <typename T>
inline T opaque(T value) {
    asm("" : "+r"(value));
    return value;
}

// Makes the memory behind `p` observable, so work stored there is not dead.
inline void keepAlive(const void* p) {
    asm volatile("" : : "r"(p) : "memory");
}

}  // namespace veltrane::engine
