#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "suites/Vector3DNow.h"

namespace veltrane::suites {
namespace {

PackedPair sinCos(float x) {
    PackedPair out{};
    SinCos3DNow(x, &out);
    return out;
}

// One unit in the last place of a float near `value`.
double ulp(double value) {
    const float f = static_cast<float>(std::fabs(value));
    return std::nextafter(f, INFINITY) - f;
}

// Cosine in lane 0, sine in lane 1.
double worstError(double from, double to, double step, bool inUlp) {
    double worst = 0;
    for (double x = from; x < to; x += step) {
        const auto angle = static_cast<float>(x);
        const PackedPair cs = sinCos(angle);
        const double a = angle;
        const double cosError = std::fabs(cs.lane0 - std::cos(a));
        const double sinError = std::fabs(cs.lane1 - std::sin(a));
        // relative to the sine only where it is not tiny
        worst =
            std::max({worst, inUlp ? cosError / ulp(std::cos(a)) : cosError,
                      inUlp ? (std::fabs(a) > 1e-3 ? sinError / ulp(std::sin(a)) : 0) : sinError});
    }
    return worst;
}

TEST(SinCos3DNow, MatchesSineAndCosineOverTheWholeRange) {
    // Single precision near pi/4; a reduction done in single precision loses
    // a little more as the angle grows towards 8192 pi (25735.93, tested below).
    EXPECT_LE(worstError(-M_PI / 4, M_PI / 4, 1e-5, true), 2.0);
    EXPECT_LE(worstError(-25735.9, 25735.9, 0.0137, false), 1e-6);
}

TEST(SinCos3DNow, SpecialCases) {
    const PackedPair zero = sinCos(0.0f);
    EXPECT_EQ(zero.lane0, 1.0f);
    EXPECT_EQ(zero.lane1, 0.0f);
    for (float x : {0.3f, 1.0f, 2.5f, 100.0f, 25000.0f}) {
        EXPECT_EQ(sinCos(-x).lane0, sinCos(x).lane0) << x;
        EXPECT_EQ(sinCos(-x).lane1, -sinCos(x).lane1) << x;
    }
    for (float x : {25735.927734375f, -25735.927734375f, 1e30f, -INFINITY, NAN}) {
        const PackedPair out = sinCos(x);
        EXPECT_EQ(out.lane0, 1.0f) << x;
        EXPECT_EQ(std::bit_cast<std::uint32_t>(out.lane1), 0u) << x;  // +0.0
    }
    const float justInside = std::nextafter(25735.927734375f, 0.0f);
    EXPECT_NEAR(sinCos(justInside).lane0, std::cos(static_cast<double>(justInside)), 1e-5);
    const PackedPair half = sinCos(1.5707964f);
    EXPECT_TRUE(std::signbit(half.lane0));  // about -0
    EXPECT_NEAR(half.lane0, std::cos(1.5707964), 1e-7);
    EXPECT_NEAR(half.lane1, 1.0f, 1e-7);
}

// Each element within `ulps` units in the last place of the expected one, plus `absolute`.
void expectNear(const engine::D3DMatrix& got, const engine::D3DMatrix& expected, double absolute,
                double ulps = 0) {
    for (int k = 0; k < 16; ++k) {
        const float want = expected.m[k / 4][k % 4];
        EXPECT_NEAR(got.m[k / 4][k % 4], want, ulps * ulp(want) + absolute) << "element " << k;
    }
}

engine::D3DMatrix patterned(float base) {
    engine::D3DMatrix m{};
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            m.m[i][j] =
                base + static_cast<float>(i * 4 + j) * 0.37f - static_cast<float>(j * j) * 0.1f;
        }
    }
    return m;
}

TEST(MatrixMultiply3DNow, AgreesWithTheX87ProductAndAllowsAliasing) {
    const auto a = patterned(1.5f);
    const auto b = patterned(-2.25f);
    engine::D3DMatrix x87{}, pairs{};
    engine::MatrixMultiply4x4(x87, a, b);
    MatrixMultiply3DNow(pairs, a, b);
    expectNear(pairs, x87, 1e-6, 4);
    // out may be either operand: the product goes to a temporary first
    engine::D3DMatrix outIsA = a, outIsB = b;
    MatrixMultiply3DNow(outIsA, outIsA, b);
    MatrixMultiply3DNow(outIsB, a, outIsB);
    EXPECT_EQ(std::memcmp(&outIsA, &pairs, sizeof pairs), 0);
    EXPECT_EQ(std::memcmp(&outIsB, &pairs, sizeof pairs), 0);
}

TEST(MatrixMultiply3DNow, RotatingLikeTestTwoStaysWithTheX87Form) {
    const float angle = engine::matrixTestAngle();
    engine::D3DMatrix x87 = engine::identityMatrix();
    engine::D3DMatrix pairs = engine::identityMatrix();
    engine::D3DMatrix rotation = engine::identityMatrix();
    engine::D3DMatrix x87Rotation;
    for (int i = 0; i < 40'000; ++i) {
        engine::BuildRotationY(x87Rotation, angle);
        engine::MatrixMultiply4x4(x87, x87Rotation, x87);
        PackedPair cs;
        SinCos3DNow(angle, &cs);
        setRotation3DNow(rotation, cs);
        if (i == 0) {  // the same rotation as the x87 form's
            expectNear(rotation, x87Rotation, 1e-6);
        }
        MatrixMultiply3DNow(pairs, rotation, pairs);
    }
    expectNear(pairs, x87, 1e-3);
    EXPECT_EQ(pairs.m[1][1], 1.0f);
}

}  // namespace
}  // namespace veltrane::suites
