// The vector routines of the 3DNow! matrix test, in plain single precision
// with the data layout and operation order of their two-lane originals. Every
// operation rounds to single precision, as the packed instructions did.
#include "suites/Vector3DNow.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace veltrane::suites {

namespace {

constexpr float kFourOverPi = 1.2732395f;                  // 0x3FA2F983
constexpr float kPiOverFour = 0.7853982f;                  // 0x3F490FDB
constexpr float kPiOverFourHigh = 0.78515625f;             // 0x3F490000
constexpr float kPiOverFourLow = 0.00024191339616663754f;  // 0x397DAA22
constexpr std::uint32_t kRangeLimitBits = 0x46C90FDB;      // 8192 pi
constexpr std::uint32_t kMagnitudeMask = 0x7FFFFFFF;
constexpr std::uint32_t kSignBit = 0x80000000;

// Minimax coefficients on [0, pi/4] (lane 0 cosine, lane 1 sine) in nested
// form: cos r = 1 + P3 z (1 + P2 z (1 + P1 z (1 + P0 z))) with z = r^2, and
// sin r = r (1 + P2 z (1 + P1 z (1 + P0 z))), the sine lane's P3 being 1.
constexpr PackedPair kP0{2.443315711809948e-5f / -1.388731625493765e-3f,
                         -1.9515295891e-4f / 8.3321608736e-3f};
constexpr PackedPair kP1{-1.388731625493765e-3f / 4.166664568298827e-2f,
                         8.3321608736e-3f / -1.6666654611e-1f};
constexpr PackedPair kP2{4.166664568298827e-2f / -0.5f, -1.6666654611e-1f};
constexpr PackedPair kP3{-0.5f, 1.0f};
constexpr PackedPair kOne{1.0f, 1.0f};

PackedPair mul(PackedPair a, PackedPair b) {
    return {a.lane0 * b.lane0, a.lane1 * b.lane1};
}
PackedPair add(PackedPair a, PackedPair b) {
    return {a.lane0 + b.lane0, a.lane1 + b.lane1};
}

float flipSign(float value) {
    return std::bit_cast<float>(std::bit_cast<std::uint32_t>(value) ^ kSignBit);
}

// Both polynomials at once, one packed operation a step.
PackedPair polynomials(float r) {
    const float z = r * r;
    const PackedPair zz{z, z};
    PackedPair v = mul(kP0, zz);
    v = add(v, kOne);
    v = mul(v, kP1);
    v = mul(v, zz);
    v = add(v, kOne);
    v = mul(v, kP2);
    v = mul(v, zz);
    v = add(v, kOne);
    v = mul(v, kP3);
    v = mul(v, {z, 1.0f});
    v = add(v, {1.0f, 0.0f});
    return mul(v, {1.0f, r});
}

}  // namespace

[[gnu::noinline]] void SinCos3DNow(float x, PackedPair* out) {
    const std::uint32_t bits = std::bit_cast<std::uint32_t>(x);
    const std::uint32_t sign = bits >> 31;
    const std::uint32_t magnitudeBits = bits & kMagnitudeMask;
    if (magnitudeBits >= kRangeLimitBits) {
        *out = {1.0f, 0.0f};
        return;
    }
    const float magnitude = std::bit_cast<float>(magnitudeBits);
    const auto j = static_cast<std::uint32_t>(static_cast<std::int32_t>(magnitude * kFourOverPi));
    const auto jf = static_cast<float>(j);
    float r = (magnitude - jf * kPiOverFourHigh) - jf * kPiOverFourLow;
    if ((j & 1) != 0) {
        r = kPiOverFour - r;
    }
    PackedPair v = polynomials(r);
    if ((j & 1) != ((j >> 1) & 1)) {
        v = {v.lane1, v.lane0};
    }
    if (((j >> 1) & 1) != ((j >> 2) & 1)) {
        v.lane0 = flipSign(v.lane0);
    }
    if (sign != ((j >> 2) & 1)) {
        v.lane1 = flipSign(v.lane1);
    }
    *out = v;
}

[[gnu::noinline]] void MatrixMultiply3DNow(engine::D3DMatrix& out, const engine::D3DMatrix& a,
                                           const engine::D3DMatrix& b) {
    engine::D3DMatrix temporary;
#pragma GCC unroll 4
    for (int i = 0; i < 4; ++i) {
        const PackedPair b01{b.m[i][0], b.m[i][1]};
        const PackedPair b23{b.m[i][2], b.m[i][3]};
#pragma GCC unroll 4
        for (int c = 0; c < 4; ++c) {
            const PackedPair products =
                add(mul({a.m[0][c], a.m[1][c]}, b01), mul({a.m[2][c], a.m[3][c]}, b23));
            temporary.m[i][c] = products.lane0 + products.lane1;
        }
    }
    std::memcpy(&out, &temporary, sizeof out);
}

}  // namespace veltrane::suites
