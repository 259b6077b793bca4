#pragma once

#include "engine/MatrixTransform.h"

namespace veltrane::suites {

// Two single-precision lanes, as one 64-bit register held them.
struct PackedPair {
    float lane0;
    float lane1;
};

// Cosine and sine of one angle in one pass (lane 0 cos x, lane 1 sin x), by
// octant reduction and two polynomials evaluated side by side. Angles of
// 8192 pi or more in magnitude give (1, 0).
void SinCos3DNow(float x, PackedPair* out);

// out = b x a on pairs of lanes, through a temporary so out may be a or b.
void MatrixMultiply3DNow(engine::D3DMatrix& out, const engine::D3DMatrix& a,
                         const engine::D3DMatrix& b);

// Writes (cos, sin) into the four changing entries of a Y rotation whose
// other twelve entries were set once: -s is the negation of the stored sine.
inline void setRotation3DNow(engine::D3DMatrix& rotation, const PackedPair& cs) {
    rotation.m[0][0] = cs.lane0;
    rotation.m[0][2] = -cs.lane1;
    rotation.m[2][0] = cs.lane1;
    rotation.m[2][2] = cs.lane0;
}

}  // namespace veltrane::suites
