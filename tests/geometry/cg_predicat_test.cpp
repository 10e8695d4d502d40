#include "geometry/cg_predicat.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>

namespace tesmo {
namespace {

__extension__ typedef __int128 Wide; ///< wide enough for the determinants of 2^24 integers

int signOf(Wide v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); }

/// Integer reference of the orientation of p q x.
int orientationOf(const int64_t* p, const int64_t* q, const int64_t* x)
{
    return signOf(Wide(q[0] - p[0]) * (x[1] - p[1]) - Wide(q[1] - p[1]) * (x[0] - p[0]));
}

/// Integer reference of the in-circle determinant of d against a b c.
int circleOf(const int64_t* a, const int64_t* b, const int64_t* c, const int64_t* d)
{
    const Wide ax = a[0] - d[0], ay = a[1] - d[1], bx = b[0] - d[0], by = b[1] - d[1];
    const Wide cx = c[0] - d[0], cy = c[1] - d[1];
    return signOf((ax * ax + ay * ay) * (bx * cy - cx * by) + (bx * bx + by * by) * (cx * ay - ax * cy) +
                  (cx * cx + cy * cy) * (ax * by - bx * ay));
}

/// Points of an integer lattice below 2^24 scaled by 2^k: the same signs at every k, and the
/// integer reference gives them exactly.
struct Lattice {
    int64_t p[4][2];
    float f[4][2];
    void scaleBy(int k)
    {
        for (int i = 0; i < 4; ++i) {
            for (int j = 0; j < 2; ++j) {
                f[i][j] = std::ldexp(float(p[i][j]), k);
            }
        }
    }
};

TEST(Predicates, SignsAgreeWithIntegerArithmeticOnNearlyDegenerateLatticePoints)
{
    std::mt19937 random(12);
    std::uniform_int_distribution<int64_t> coordinate(-(1 << 20), 1 << 20);
    std::uniform_int_distribution<int> nudge(-1, 1);
    int degenerate = 0;
    for (int trial = 0; trial < 20000; ++trial) {
        Lattice L;
        for (int j = 0; j < 2; ++j) {
            L.p[0][j] = coordinate(random);
            L.p[1][j] = coordinate(random);
        }
        // x nearly on the line p q: a lattice point of it, moved by at most one unit
        const int64_t t = trial % 3 - 1;
        for (int j = 0; j < 2; ++j) {
            const int64_t step = (L.p[1][j] - L.p[0][j]) / 4;
            L.p[2][j] = L.p[0][j] + (2 + t) * step + nudge(random);
        }
        // four points of a circle of radius 5 m about c, at (3, 4), (-4, 3), (-5, 0) and
        // (0, -5) times m, the last one moved by at most one unit
        Lattice C;
        const int64_t m = coordinate(random) / 8 + 1;
        const int64_t centre[2] = {coordinate(random), coordinate(random)};
        const int64_t at[4][2] = {{3, 4}, {-4, 3}, {-5, 0}, {0, -5}};
        for (int i = 0; i < 4; ++i) {
            for (int j = 0; j < 2; ++j) {
                C.p[i][j] = centre[j] + m * at[i][j] + (i == 3 ? nudge(random) : 0);
            }
        }
        for (const int k : {-60, 0, 40}) {
            L.scaleBy(k);
            C.scaleBy(k);
            const int o = orientationOf(L.p[0], L.p[1], L.p[2]);
            EXPECT_EQ(orientation(L.f[0], L.f[1], L.f[2]), o);
            EXPECT_EQ(exactTurn(L.f[0], L.f[1], L.f[2]) > 0.0, o > 0);
            EXPECT_EQ(exactTurn(L.f[0], L.f[1], L.f[2]) < 0.0, o < 0);
            const int c = circleOf(C.p[0], C.p[1], C.p[2], C.p[3]);
            EXPECT_EQ(circleSide(C.f[0], C.f[1], C.f[2], C.f[3]), c) << trial << " " << k;
            degenerate += (o == 0) + (c == 0);
        }
    }
    EXPECT_GT(degenerate, 1000); // the exact fallbacks were reached
}

TEST(Predicates, ExactWhereDoubleRoundsAndTheBandIsRelative)
{
    // p and q far out, x near the origin, all on the line y = 3 x / 4: the differences with x
    // do not fit a double, the orientation is still exactly 0; one unit of x's last place
    // off the line, it is exact again
    const float big = 3.0e7f;
    const float p[2] = {-big, -0.75f * big};
    const float q[2] = {big, 0.75f * big};
    const float x[2] = {0x1p-40f, 0.75f * 0x1p-40f};
    EXPECT_EQ(orientation(p, q, x), 0);
    const float above[2] = {x[0], std::nextafter(x[1], 1.0f)};
    const float below[2] = {x[0], std::nextafter(x[1], -1.0f)};
    EXPECT_EQ(orientation(p, q, above), 1);
    EXPECT_EQ(orientation(p, q, below), -1);
    // the band: x within 1e-10 |pq| of the line counts as on it, at any scale
    for (const float scale : {1.0f, 0x1p-30f, 0x1p40f}) {
        const float a[2] = {0.0f, 0.0f};
        const float b[2] = {scale, 0.0f};
        const float near[2] = {0.5f * scale, 0.9e-10f * scale};
        const float off[2] = {0.5f * scale, 1.1e-10f * scale};
        EXPECT_EQ(sideOfLine(a, b, near, 1e-10), 0);
        EXPECT_EQ(sideOfLine(a, b, off, 1e-10), 1);
        EXPECT_EQ(sideOfLine(a, b, near, 0.0), 1);
    }
    // segments that only touch do not cross
    const float a[2] = {0, 0}, b[2] = {2, 0}, c[2] = {1, 0}, d[2] = {1, 1}, e[2] = {1, -1};
    EXPECT_FALSE(crossing(a, b, c, d));
    EXPECT_TRUE(crossing(a, b, d, e));
}

} // namespace
} // namespace tesmo
