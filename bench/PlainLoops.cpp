// The plain loops our timed routines are held against, built with the same
// fixed flags: the operations each test defines, written the obvious way on
// the same memory, with nothing of ours around them.
#include <cstring>
#include <string>
#include <vector>

#include "Contestants.h"
#include "engine/IntegerBenchmark.h"
#include "engine/MatrixTransform.h"
#include "engine/Opaque.h"
#include "engine/PiBenchmark.h"

namespace veltrane::bench {

namespace {

using engine::opaque;

volatile std::int64_t sink = 0;

struct PlainRecord {
    int key;
    const char* first;
    const char* second;
    const char* third;
};

// The texts test 1 builds, each record's three fields one text.
std::vector<PlainRecord>& plainTable() {
    static std::vector<std::string> texts;
    static std::vector<PlainRecord> table(engine::kSortRecords, PlainRecord{0, "", "", ""});
    if (texts.empty()) {
        texts.resize(engine::kSortRecords);
        std::string working = "abcdefghilmnopqrstuw";
        for (int i = engine::kSortRecords - 1; i >= 1; --i) {
            working += " " + std::to_string(i);
            texts[static_cast<std::size_t>(i)] = working;
            const char* text = texts[static_cast<std::size_t>(i)].c_str();
            table[static_cast<std::size_t>(i)] = {i, text, text, text};
        }
    }
    return table;
}

int plainCompare(const char* a, const char* b) {
    while (*a != 0 && *a == *b) {
        ++a;
        ++b;
    }
    const auto x = static_cast<unsigned char>(*a);
    const auto y = static_cast<unsigned char>(*b);
    return (x > y) - (x < y);
}

// sign and y, then the rest of the series, as the benchmark keeps them.
struct Series {
    double sign = -5.0, y = -1.0, denominator = -1.0, sum = 0, diff = 0, product = 0, two = 2.0;
};

}  // namespace

[[gnu::noinline]] std::int64_t plainSortPasses() {
    std::vector<PlainRecord>& t = plainTable();
    const int d = opaque(9);
    for (int pass = 0; pass < kSortPasses; ++pass) {
        for (std::size_t n = t.size() - 1; n >= 2; --n) {
            for (std::size_t j = 0; j < n; ++j) {
                if (plainCompare(t[j].first, t[j + 1].first) > 0 &&
                    plainCompare(t[j].second, t[j + 1].second) > 0 &&
                    plainCompare(t[j].third, t[j + 1].third) > 0 && t[j].key > t[j + 1].key) {
                    std::swap(t[j], t[j + 1]);
                }
            }
        }
        if (pass % d == 0) {
            sink = sink + 1;
        }
    }
    return kSortPasses;
}

[[gnu::noinline]] std::int64_t plainMatrixLoop() {
    engine::D3DMatrix m = engine::identityMatrix();
    engine::D3DMatrix r;
    const float angle = engine::matrixTestAngle();
    const std::int32_t d = opaque(kMatrixShape.tickEvery);
    for (std::int32_t i = 1; i <= kMatrixShape.iterations; ++i) {
        engine::BuildRotationY(r, angle);
        engine::MatrixMultiply4x4(m, r, m);
        if (i % d == 0) {
            sink = sink + 1;
        }
    }
    engine::keepAlive(&m);
    return kMatrixShape.iterations;
}

// The PI loops on a series of their own, `Steps` steps then the check.
template <int Steps, typename Step>
std::int64_t plainPiLoop(Step step) {
    static Series series;
    volatile Series& s = series;
    const std::int32_t d = opaque(kPiShape.tickEvery);
    for (std::int32_t i = 0; i < kPiShape.limit; i += Steps) {
        for (int k = 0; k < Steps; ++k) {
            step(s);
        }
        if (i % d == 0) {
            sink = sink + 1;
        }
    }
    return kPiShape.limit;
}

[[gnu::noinline]] std::int64_t plainWarmUp() {
    return plainPiLoop<8>([](volatile Series& s) {
        s.sign = -s.sign;
        s.y = s.y + s.sign;
    });
}

[[gnu::noinline]] std::int64_t plainSeries() {
    return plainPiLoop<16>([](volatile Series& s) {
        s.sign = -s.sign;
        s.y = s.y + s.sign;
        s.denominator = s.denominator + s.two;
        s.diff = s.diff + (s.sign - s.denominator);
        s.product = s.product - s.denominator * s.sign;
        s.sum = s.sum + s.sign / s.denominator;
    });
}

[[gnu::noinline]] std::int64_t plainDivisionLoop() {
    const std::int32_t end = opaque(kMipsShape.limit);
    const std::int32_t d = opaque(kMipsShape.tickEvery);
    for (std::int32_t i = 0; i < end; i += 2) {
        if (i % d == 0) {
            sink = sink + 1;
        }
    }
    return end / 2;
}

// i % 51,200,000 by the reciprocal ceil(2^57 / 51,200,000), spelt out.
[[gnu::noinline]] std::int64_t plainReciprocalLoop() {
    const std::int32_t end = opaque(kReciprocalMipsShape.limit);
    for (std::int32_t i = 0; i < end; ++i) {
        const std::int64_t n = opaque(static_cast<std::int64_t>(i));
        const auto q = static_cast<std::int32_t>((n * 2'814'749'768) >> 57);
        if (opaque(i - q * 51'200'000) == 0) {
            sink = sink + 1;
        }
    }
    return end;
}

// The STREAM kernels with the standard form's elements per iteration (5
// integers, 10 doubles) written out; Assign of doubles copies their bits.
inline void copyBits(double& to, const double& from) {
    std::uint64_t bits;
    std::memcpy(&bits, &from, sizeof bits);
    std::memcpy(&to, &bits, sizeof bits);
}

void plainAluAssign(FullArrays& s) {
    for (std::size_t j = 0; j < FullArrays::kInts; j += 5) {
        s.aluA[j] = s.aluC[j];
        s.aluA[j + 1] = s.aluC[j + 1];
        s.aluA[j + 2] = s.aluC[j + 2];
        s.aluA[j + 3] = s.aluC[j + 3];
        s.aluA[j + 4] = s.aluC[j + 4];
    }
}

void plainAluScale(FullArrays& s) {
    for (std::size_t j = 0; j < FullArrays::kInts; j += 5) {
        s.aluB[j] = 3u * s.aluB[j];
        s.aluB[j + 1] = 3u * s.aluB[j + 1];
        s.aluB[j + 2] = 3u * s.aluB[j + 2];
        s.aluB[j + 3] = 3u * s.aluB[j + 3];
        s.aluB[j + 4] = 3u * s.aluB[j + 4];
    }
}

void plainAluAdd(FullArrays& s) {
    for (std::size_t j = 0; j < FullArrays::kInts; j += 5) {
        s.aluA[j] = s.aluB[j] + s.aluC[j];
        s.aluA[j + 1] = s.aluB[j + 1] + s.aluC[j + 1];
        s.aluA[j + 2] = s.aluB[j + 2] + s.aluC[j + 2];
        s.aluA[j + 3] = s.aluB[j + 3] + s.aluC[j + 3];
        s.aluA[j + 4] = s.aluB[j + 4] + s.aluC[j + 4];
    }
}

void plainAluTriad(FullArrays& s) {
    for (std::size_t j = 0; j < FullArrays::kInts; j += 5) {
        s.aluC[j] = 3u * s.aluA[j] + s.aluB[j];
        s.aluC[j + 1] = 3u * s.aluA[j + 1] + s.aluB[j + 1];
        s.aluC[j + 2] = 3u * s.aluA[j + 2] + s.aluB[j + 2];
        s.aluC[j + 3] = 3u * s.aluA[j + 3] + s.aluB[j + 3];
        s.aluC[j + 4] = 3u * s.aluA[j + 4] + s.aluB[j + 4];
    }
}

void plainFpuAssign(FullArrays& s) {
    for (std::size_t j = 0; j < FullArrays::kDoubles; j += 10) {
        copyBits(s.fpuA[j], s.fpuC[j]);
        copyBits(s.fpuA[j + 1], s.fpuC[j + 1]);
        copyBits(s.fpuA[j + 2], s.fpuC[j + 2]);
        copyBits(s.fpuA[j + 3], s.fpuC[j + 3]);
        copyBits(s.fpuA[j + 4], s.fpuC[j + 4]);
        copyBits(s.fpuA[j + 5], s.fpuC[j + 5]);
        copyBits(s.fpuA[j + 6], s.fpuC[j + 6]);
        copyBits(s.fpuA[j + 7], s.fpuC[j + 7]);
        copyBits(s.fpuA[j + 8], s.fpuC[j + 8]);
        copyBits(s.fpuA[j + 9], s.fpuC[j + 9]);
    }
}

void plainFpuScale(FullArrays& s) {
    for (std::size_t j = 0; j < FullArrays::kDoubles; j += 10) {
        s.fpuB[j] = 3.0 * s.fpuB[j];
        s.fpuB[j + 1] = 3.0 * s.fpuB[j + 1];
        s.fpuB[j + 2] = 3.0 * s.fpuB[j + 2];
        s.fpuB[j + 3] = 3.0 * s.fpuB[j + 3];
        s.fpuB[j + 4] = 3.0 * s.fpuB[j + 4];
        s.fpuB[j + 5] = 3.0 * s.fpuB[j + 5];
        s.fpuB[j + 6] = 3.0 * s.fpuB[j + 6];
        s.fpuB[j + 7] = 3.0 * s.fpuB[j + 7];
        s.fpuB[j + 8] = 3.0 * s.fpuB[j + 8];
        s.fpuB[j + 9] = 3.0 * s.fpuB[j + 9];
    }
}

void plainFpuAdd(FullArrays& s) {
    for (std::size_t j = 0; j < FullArrays::kDoubles; j += 10) {
        s.fpuA[j] = s.fpuB[j] + s.fpuC[j];
        s.fpuA[j + 1] = s.fpuB[j + 1] + s.fpuC[j + 1];
        s.fpuA[j + 2] = s.fpuB[j + 2] + s.fpuC[j + 2];
        s.fpuA[j + 3] = s.fpuB[j + 3] + s.fpuC[j + 3];
        s.fpuA[j + 4] = s.fpuB[j + 4] + s.fpuC[j + 4];
        s.fpuA[j + 5] = s.fpuB[j + 5] + s.fpuC[j + 5];
        s.fpuA[j + 6] = s.fpuB[j + 6] + s.fpuC[j + 6];
        s.fpuA[j + 7] = s.fpuB[j + 7] + s.fpuC[j + 7];
        s.fpuA[j + 8] = s.fpuB[j + 8] + s.fpuC[j + 8];
        s.fpuA[j + 9] = s.fpuB[j + 9] + s.fpuC[j + 9];
    }
}

void plainFpuTriad(FullArrays& s) {
    for (std::size_t j = 0; j < FullArrays::kDoubles; j += 10) {
        s.fpuC[j] = 3.0 * s.fpuA[j] + s.fpuB[j];
        s.fpuC[j + 1] = 3.0 * s.fpuA[j + 1] + s.fpuB[j + 1];
        s.fpuC[j + 2] = 3.0 * s.fpuA[j + 2] + s.fpuB[j + 2];
        s.fpuC[j + 3] = 3.0 * s.fpuA[j + 3] + s.fpuB[j + 3];
        s.fpuC[j + 4] = 3.0 * s.fpuA[j + 4] + s.fpuB[j + 4];
        s.fpuC[j + 5] = 3.0 * s.fpuA[j + 5] + s.fpuB[j + 5];
        s.fpuC[j + 6] = 3.0 * s.fpuA[j + 6] + s.fpuB[j + 6];
        s.fpuC[j + 7] = 3.0 * s.fpuA[j + 7] + s.fpuB[j + 7];
        s.fpuC[j + 8] = 3.0 * s.fpuA[j + 8] + s.fpuB[j + 8];
        s.fpuC[j + 9] = 3.0 * s.fpuA[j + 9] + s.fpuB[j + 9];
    }
}

[[gnu::noinline]] std::int64_t dependentAdds(std::int64_t iterations) {
    const std::int64_t end = opaque(iterations);
    // A register operand, not an immediate: no front end can fold the adds.
    const std::int64_t one = opaque(std::int64_t{1});
    std::int64_t x = 0;
    for (std::int64_t i = 0; i < end; ++i) {
        for (int k = 0; k < 8; ++k) {
            x = opaque(x + one);
        }
    }
    return x;
}

}  // namespace veltrane::bench
