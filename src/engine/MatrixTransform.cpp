#include "engine/MatrixTransform.h"

namespace veltrane::engine {

namespace {

// The x87 instructions themselves, so every call evaluates both.
long double x87Sine(long double x) {
    long double result;
    asm volatile("fsin" : "=t"(result) : "0"(x));
    return result;
}

long double x87Cosine(long double x) {
    long double result;
    asm volatile("fcos" : "=t"(result) : "0"(x));
    return result;
}

}  // namespace

D3DMatrix identityMatrix() {
    D3DMatrix matrix{};
    for (int i = 0; i < 4; ++i) {
        matrix.m[i][i] = 1.0f;
    }
    return matrix;
}

[[gnu::noinline]] void BuildRotationY(D3DMatrix& out, float angle) {
    const long double x = angle;
    const float c = static_cast<float>(x87Cosine(x));
    const float s = static_cast<float>(x87Sine(x));
    out.m[0][0] = c;
    out.m[0][1] = 0.0f;
    out.m[0][2] = -s;
    out.m[0][3] = 0.0f;
    out.m[1][0] = 0.0f;
    out.m[1][1] = 1.0f;
    out.m[1][2] = 0.0f;
    out.m[1][3] = 0.0f;
    out.m[2][0] = s;
    out.m[2][1] = 0.0f;
    out.m[2][2] = c;
    out.m[2][3] = 0.0f;
    out.m[3][0] = 0.0f;
    out.m[3][1] = 0.0f;
    out.m[3][2] = 0.0f;
    out.m[3][3] = 1.0f;
}

[[gnu::noinline]] void MatrixMultiply4x4(D3DMatrix& out, const D3DMatrix& a, const D3DMatrix& b) {
    // Left as loops: unrolled, gcc keeps sixteen 80-bit partial sums on the
    // stack and the product runs at a quarter of the speed.
    D3DMatrix temporary;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            const long double sum = static_cast<long double>(b.m[i][0]) * a.m[0][j] +
                                    static_cast<long double>(b.m[i][1]) * a.m[1][j] +
                                    static_cast<long double>(b.m[i][2]) * a.m[2][j] +
                                    static_cast<long double>(b.m[i][3]) * a.m[3][j];
            temporary.m[i][j] = static_cast<float>(sum);
        }
    }
    out = temporary;
}

float matrixTestAngle() {
    const float inversePi = 1.0f / 3.1415927f;
    return static_cast<float>(static_cast<double>(inversePi) * 0.05);
}

}  // namespace veltrane::engine
