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

}  // namespace veltrane::suites
