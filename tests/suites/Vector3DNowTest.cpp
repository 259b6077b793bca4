#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
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

TEST(SinCos3DNow, MatchesSineAndCosineOverTheWholeRange) {
    const double limit = 8192.0 * M_PI;
    double worstReduced = 0;  // |x| <= pi/4, in units in the last place
    double worstAbsolute = 0;
    double worstAt = 0;
    for (double x = -limit; x < limit; x += 0.0137) {
        const auto angle = static_cast<float>(x);
        if (std::fabs(angle) >= 25735.927734375f) {
            continue;  // the range limit itself reads (1, 0), tested below
        }
        const PackedPair cs = sinCos(angle);
        const double a = angle;
        const double error =
            std::max(std::fabs(cs.lane0 - std::cos(a)), std::fabs(cs.lane1 - std::sin(a)));
        if (error > worstAbsolute) {
            worstAbsolute = error;
            worstAt = a;
        }
    }
    for (double x = -M_PI / 4; x <= M_PI / 4; x += 1e-5) {
        const auto angle = static_cast<float>(x);
        const PackedPair cs = sinCos(angle);
        const double a = angle;
        worstReduced = std::max(worstReduced, std::fabs(cs.lane0 - std::cos(a)) / ulp(std::cos(a)));
        if (std::fabs(a) > 1e-3) {
            worstReduced =
                std::max(worstReduced, std::fabs(cs.lane1 - std::sin(a)) / ulp(std::sin(a)));
        }
    }
    std::printf("largest error: %.3g ulp within pi/4, %.3g absolute over +-8192 pi (at %.6g)\n",
                worstReduced, worstAbsolute, worstAt);
    // Single precision near pi/4; a reduction done in single precision loses
    // a little more as the angle grows towards 8192 pi.
    EXPECT_LE(worstReduced, 2.0);
    EXPECT_LE(worstAbsolute, 1e-6);
}

TEST(SinCos3DNow, SpecialCases) {
    const PackedPair zero = sinCos(0.0f);
    EXPECT_EQ(zero.lane0, 1.0f);
    EXPECT_EQ(zero.lane1, 0.0f);
    for (float x : {0.3f, 1.0f, 2.5f, 100.0f, 25000.0f}) {
        const PackedPair plus = sinCos(x);
        const PackedPair minus = sinCos(-x);
        EXPECT_EQ(minus.lane0, plus.lane0) << x;
        EXPECT_EQ(minus.lane1, -plus.lane1) << x;
    }
    for (float x : {25735.927734375f, -25735.927734375f, 1e30f, -INFINITY, NAN}) {
        const PackedPair out = sinCos(x);
        EXPECT_EQ(out.lane0, 1.0f) << x;
        EXPECT_EQ(std::bit_cast<std::uint32_t>(out.lane1), 0u) << x;  // +0.0
    }
    const float justInside = std::nextafter(25735.927734375f, 0.0f);
    EXPECT_NEAR(sinCos(justInside).lane0, std::cos(static_cast<double>(justInside)), 1e-5);

    const PackedPair quarter = sinCos(0.7853982f);
    EXPECT_NEAR(quarter.lane0, std::cos(0.7853982), 1e-7);
    EXPECT_NEAR(quarter.lane1, std::sin(0.7853982), 1e-7);
    const PackedPair half = sinCos(1.5707964f);
    EXPECT_TRUE(std::signbit(half.lane0));  // about -0
    EXPECT_NEAR(half.lane0, std::cos(1.5707964), 1e-7);
    EXPECT_NEAR(half.lane1, 1.0f, 1e-7);
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
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            EXPECT_NEAR(pairs.m[i][j], x87.m[i][j], 4 * ulp(x87.m[i][j]) + 1e-6) << i << j;
        }
    }
    // out = b: b x a computed into a temporary first
    engine::D3DMatrix aliased = b;
    MatrixMultiply3DNow(aliased, a, aliased);
    EXPECT_EQ(std::memcmp(&aliased, &pairs, sizeof pairs), 0);

    engine::D3DMatrix identity = engine::identityMatrix();
    MatrixMultiply3DNow(identity, identity, identity);
    const auto expected = engine::identityMatrix();
    EXPECT_EQ(std::memcmp(&identity, &expected, sizeof identity), 0);
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
        rotation.m[0][0] = cs.lane0;
        rotation.m[0][2] = -cs.lane1;
        rotation.m[2][0] = cs.lane1;
        rotation.m[2][2] = cs.lane0;
        MatrixMultiply3DNow(pairs, rotation, pairs);
    }
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            EXPECT_NEAR(pairs.m[i][j], x87.m[i][j], 1e-3) << i << j;
        }
    }
    EXPECT_EQ(pairs.m[1][1], 1.0f);
}

}  // namespace
}  // namespace veltrane::suites
