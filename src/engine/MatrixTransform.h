#pragma once

namespace veltrane::engine {

// Sixteen floats, row-major, used with row vectors (_11 _12 _13 _14 first).
struct D3DMatrix {
    float m[4][4];
};

D3DMatrix identityMatrix();

// The rotation about Y by `angle` radians; sine and cosine in extended
// precision (one fsin and one fcos), rounded when stored.
void BuildRotationY(D3DMatrix& out, float angle);

// out = b x a, through a temporary so out may be a or b.
void MatrixMultiply4x4(D3DMatrix& out, const D3DMatrix& a, const D3DMatrix& b);

// The angle test 2 rotates by in every step: (1 / 3.1415927) x 0.05.
float matrixTestAngle();

// The same angle as the optimised forms write it, a literal.
inline constexpr float kMatrixTestAngle = 0.015915494f;

}  // namespace veltrane::engine
