#include "size/cg_suite.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace tesmo {
namespace {

constexpr int32_t kGeo = kGeometricProgression;
constexpr int32_t kAri = kArithmeticProgression;

/// Positions along the x axis of the n interior nodes of a segment [0, L] (rows of 1).
struct Line {
    explicit Line(int32_t capacity) : x(std::size_t(capacity) + 1, -1.0f) {}
    Rows<float> rows(int32_t capacity) { return Rows<float>(x.data(), 1, capacity); }
    std::vector<float> x;
};

TEST(Progressions, WorkedCounts)
{
    int32_t n = 0;
    float q = 0.0f;
    ASSERT_EQ(sug2po(10.0f, 1.0f, 1.0f, n, q), kOk);
    EXPECT_EQ(n, 9);
    ASSERT_EQ(sug2po(1.0f, 2.0f, 3.0f, n, q), kOk); // sizes longer than the segment
    EXPECT_EQ(n, -1);
    EXPECT_FLOAT_EQ(q, 0.5f);
    ASSERT_EQ(sug2po(2.0f, 1.0f, 2.0f, n, q), kOk); // h2 = L: no division by zero
    EXPECT_EQ(n, 0);
    EXPECT_EQ(q, 1.0f);
    EXPECT_EQ(sug2po(2.0f, 0.0f, 1.0f, n, q), kDataError);
    EXPECT_EQ(su2po(3, 2.0f, 1.0f, 1.0f, n, q), kProgressionNotAvailable);
    EXPECT_EQ(su2po(7, 2.0f, 1.0f, 1.0f, n, q), kDataError);
    // Sizes nearly equal: the ratio is 1 within a few units of the last place.
    ASSERT_EQ(sug2po(1.0f, 0.01f, 0.0100002f, n, q), kOk);
    EXPECT_EQ(n, 99);
    ASSERT_EQ(sug2po(10.0f, 1.0f, 1.0f + 13.0f * std::numeric_limits<float>::epsilon(), n, q), kOk);
    EXPECT_EQ(n, 9);
    // An arithmetic count of -1 leaves a finite difference (no division by zero).
    ASSERT_EQ(sua2po(1.0f, 3.0f, 3.0f, n, q), kOk);
    EXPECT_EQ(n, -1);
    EXPECT_TRUE(std::isfinite(q));
}

TEST(Progressions, ScaledByAPowerOfTwoTheCountsStayAndTinyLengthsAreLengths)
{
    // the same segment and sizes at every scale, down to lengths far below 2^-23
    float unitFirst = 0.0f;
    float unitLast = 0.0f;
    ASSERT_EQ(scsugs(10.0f, 6, 1.1f, unitFirst, unitLast), kOk);
    for (const int k : {0, -30, -60}) {
        const float s = std::ldexp(1.0f, k);
        int32_t n = 0;
        float step = 0.0f;
        ASSERT_EQ(sug2po(10.0f * s, 1.0f * s, 2.0f * s, n, step), kOk) << k;
        EXPECT_EQ(n, 6);
        ASSERT_EQ(sua2po(10.0f * s, 1.0f * s, 2.0f * s, n, step), kOk) << k;
        EXPECT_EQ(n, 6);
        float first = 0.0f;
        float last = 0.0f;
        ASSERT_EQ(scsugs(10.0f * s, 6, 1.1f, first, last), kOk) << k;
        EXPECT_FLOAT_EQ(first / s, unitFirst);
    }
    int32_t n = 0;
    float step = 0.0f;
    EXPECT_EQ(sua2po(1.0f, 0.0f, 1.0f, n, step), kDataError); // null sizes and lengths still are
    float first = 0.0f;
    float last = 0.0f;
    EXPECT_EQ(scsugs(0.0f, 3, 1.1f, first, last), kDataError);
}

TEST(Progressions, SizeAtDistanceSteps)
{
    // h = 1, q = 0.5: 1 up to 1, 0.5 up to 1.5, 0.25 up to 1.75, then nothing limits the size.
    const float d[] = {0.0f, 1.0f, 1.2f, 1.5f, 1.6f, 1.75f, 1.8f, 2.0f, 5.0f};
    const float size[] = {1.0f, 1.0f, 0.5f, 0.5f, 0.25f, 0.25f, 0.125f, INFINITY, INFINITY};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(scsupo(kGeo, 1.0f, 0.5f, d[i]), size[i]) << d[i];
    }
    EXPECT_EQ(scsupo(kAri, 0.3f, 0.1f, 0.0f), 0.4f);
    EXPECT_FLOAT_EQ(scsupo(kGeo, 1.0f, 1.1f, 10.0f), 1.9487171f); // 1.1^7
    EXPECT_EQ(scsupo(9, 1.0f, 1.1f, 1.0f), 0.0f);
}

/// Random segments and sizes of both kinds: the nodes run in order from A to B, every interval
/// is positive, the count follows the lengths, and the last interval closes the segment.
TEST(Progressions, RandomSegmentsArePlacedInOrder)
{
    std::mt19937 random(17);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    for (int trial = 0; trial < 2000; ++trial) {
        const int32_t type = trial % 2 == 0 ? kGeo : kAri;
        const float L = 0.1f + 100.0f * unit(random);
        const float h1 = L * (0.001f + 0.3f * unit(random));
        const float h2 = trial % 7 == 0 ? h1 : L * (0.001f + 0.3f * unit(random));
        const double w1 = h1;
        const double w2 = h2;
        const float a[1] = {0.0f};
        const float b[1] = {L};
        Line line(100000);
        int32_t n = 0;
        float step = 0.0f;
        ASSERT_EQ(su2po(type, L, h1, h2, n, step), kOk);
        float first = h1; // posum hands back the first and last terms through the sizes
        float last = h2;
        ASSERT_EQ(posum(a, b, first, last, type, line.rows(100000), n), kOk) << L << " " << w1 << " " << w2;
        ASSERT_GT(n, 0);
        // the count matches the lengths: 2L/(h1 + h2) - 1 intervals on average
        const double mean = 2.0 * double(L) / (w1 + w2) - 1.0;
        const double exact = std::log(w2 / w1) / std::log((double(L) - w1) / (double(L) - w2));
        EXPECT_NEAR(n, type == kAri || w1 == w2 ? mean : exact, 0.5 + 1e-3 * mean);
        // ordered from A, within AB, nothing written past the nodes
        for (int32_t i = 1; i < n; ++i) {
            EXPECT_GT(line.x[std::size_t(i)], line.x[std::size_t(i - 1)]) << i;
        }
        EXPECT_GT(line.x[0], 0.0f);
        EXPECT_LT(line.x[std::size_t(n - 1)], L);
        EXPECT_EQ(line.x[std::size_t(n)], -1.0f);
        // the first and last intervals are one step inside the first and last terms
        EXPECT_NEAR(line.x[0], type == kGeo ? first * step : first + step, 1e-3f * L);
        EXPECT_NEAR(L - line.x[std::size_t(n - 1)], type == kGeo ? last / step : last - step, 1e-3f * L);
    }
}

/// The size at a distance agrees with the placement: along a series laid from the origin, the
/// size anywhere inside an interval is that interval's length.
TEST(Progressions, SizeAtDistanceIsTheIntervalHoldingIt)
{
    std::mt19937 random(5);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    for (int trial = 0; trial < 500; ++trial) {
        const bool geometric = trial % 2 == 0;
        const float h = 0.01f + unit(random);
        const float step = geometric ? 1.02f + unit(random) : 0.01f + 0.5f * unit(random) * h;
        const int32_t n = 20;
        Line line(n);
        const float a[1] = {0.0f};
        const float t[1] = {1.0f};
        // geometric intervals u0 q^k with u0 q = h; arithmetic u0 + k delta with u0 + delta = h + delta
        ASSERT_EQ(suptsu(a, t, geometric ? kGeo : kAri, geometric ? h / step : h, n, step, line.rows(n)), kOk);
        float start = 0.0f;
        for (int32_t i = 0; i < n; ++i) {
            const float end = line.x[std::size_t(i)];
            const float size = scsupo(geometric ? kGeo : kAri, h, step, 0.5f * (start + end));
            if (geometric) {
                EXPECT_NEAR(size, end - start, 1e-4f * (end + 1.0f)) << trial << " " << i;
            } else {
                // continuous: between the interval's length and the next one's
                EXPECT_GE(size, (end - start) * (1.0f - 1e-4f));
                EXPECT_LE(size, (end - start + step) * (1.0f + 1e-4f));
            }
            start = end;
        }
    }
}

TEST(Progressions, BrokenLineAndGivenPoints)
{
    // Sizes 1 at both ends of a segment of 10, 1.4641 at its middle: 3 nodes, the middle, 3 nodes.
    const float A[2] = {0.0f, 0.0f};
    const float M[2] = {5.0f, 0.0f};
    const float B[2] = {10.0f, 0.0f};
    std::vector<float> x(2 * 20, 0.0f);
    float t1 = 1.0f, t2 = 1.4641f, t3 = 1.0f;
    int32_t n = 0;
    ASSERT_EQ(posunm(A, M, B, t1, t2, t3, kGeo, Rows<float>(x.data(), 2, 20), n), kOk);
    ASSERT_EQ(n, 7);
    const float expected[7] = {1.029f, 2.193f, 3.510f, 5.0f, 6.490f, 7.807f, 8.971f};
    for (int i = 0; i < 7; ++i) {
        EXPECT_NEAR(x[std::size_t(2 * i)], expected[i], 1e-3f);
    }
    // A middle size longer than a leg does not make the middle a node.
    t1 = 1.0f, t2 = 6.0f, t3 = 1.0f;
    ASSERT_EQ(posunm(A, M, B, t1, t2, t3, kGeo, Rows<float>(x.data(), 2, 20), n), kOk);
    for (int i = 0; i < n; ++i) {
        EXPECT_NE(x[std::size_t(2 * i)], 5.0f);
    }
    EXPECT_EQ(posunm(A, M, B, t1 = 1.0f, t2 = 1.4641f, t3 = 1.0f, kGeo, Rows<float>(x.data(), 2, 6), n),
              kCapacityError);
    // Through the point (3, 1), projected at 3: a vertex with size 0.2 between sizes 2.
    const float Y[2] = {3.0f, 0.0f};
    const float sY[1] = {0.2f};
    ASSERT_EQ(posunm2(A, Rows<const float>(Y, 2, 1), B, 2.0f, sY, 2.0f, kGeo, Rows<float>(x.data(), 2, 20), n), kOk);
    bool through = false;
    for (int i = 0; i < n; ++i) {
        through = through || x[std::size_t(2 * i)] == 3.0f;
        EXPECT_TRUE(i == 0 || x[std::size_t(2 * i)] > x[std::size_t(2 * i - 2)]);
    }
    EXPECT_TRUE(through);
    // A point projecting before A or beyond B splits nothing: the nodes of AB alone.
    std::vector<float> alone(40, 0.0f);
    int32_t nAlone = 0;
    float h1 = 2.0f, h2 = 2.0f;
    ASSERT_EQ(posum(A, B, h1, h2, kGeo, Rows<float>(alone.data(), 2, 20), nAlone), kOk);
    for (const float offX : {-1.0f, 10.5f}) {
        const float off[2] = {offX, 0.0f};
        EXPECT_EQ(posunm2(A, Rows<const float>(off, 2, 1), B, 2.0f, sY, 2.0f, kGeo, Rows<float>(x.data(), 2, 20), n),
                  kOk);
        EXPECT_EQ(n, nAlone);
        EXPECT_TRUE(std::equal(alone.begin(), alone.begin() + 2 * nAlone, x.begin())) << offX;
    }
    std::vector<float> many(14, 1.0f);
    EXPECT_EQ(posunm2(A, Rows<const float>(many.data(), 2, 7), B, 2.0f, many.data(), 2.0f, kGeo,
                      Rows<float>(x.data(), 2, 20), n),
              kCapacityError);
}

TEST(Progressions, MoveRespectsTheRatio)
{
    const float p1[1] = {0.0f};
    const float p2[1] = {3.0f};
    const float p3[1] = {4.0f};
    float moved[1] = {0.0f};
    float mu = 0.0f;
    ASSERT_EQ(lisupo(p1, p2, p3, 1, kGeo, 2.0f, moved, mu), kOk);
    EXPECT_NEAR(moved[0], 8.0f / 3.0f, 1e-6f);
    EXPECT_NEAR(mu, 1.0f / 6.0f, 1e-6f); // |2 g| / (L1 + L2)
    ASSERT_EQ(lisupo(p1, p2, p3, 1, kGeo, 4.0f, moved, mu), kOk); // ratio 3 < 4: nothing moves
    EXPECT_EQ(moved[0], 3.0f);
    EXPECT_EQ(mu, 0.0f);
    ASSERT_EQ(lisupo(p1, p1, p3, 1, kGeo, 1.25f, moved, mu), kOk); // a null first interval moves
    EXPECT_NEAR(moved[0], 4.0f / 2.25f, 1e-6f);
    ASSERT_EQ(lisupo(p1, p2, p3, 1, kAri, 1.0f, moved, mu), kOk);
    EXPECT_NEAR((moved[0] - p1[0]) - (p3[0] - moved[0]), 1.0f, 1e-6f);
    // a difference is a length: the same move, scaled, at every scale; null beside the intervals
    for (const int k : {-40, 40}) {
        const float scaled[3] = {0.0f, std::ldexp(3.0f, k), std::ldexp(4.0f, k)};
        float again[1] = {0.0f};
        ASSERT_EQ(lisupo(scaled, scaled + 1, scaled + 2, 1, kAri, std::ldexp(1.0f, k), again, mu), kOk) << k;
        EXPECT_EQ(again[0], std::ldexp(moved[0], k)) << k;
    }
    EXPECT_EQ(lisupo(p1, p2, p3, 1, kAri, 1e-10f, moved, mu), kDataError);
    EXPECT_EQ(lisupo(p1, p3, p3, 1, kGeo, 2.0f, moved, mu), kDataError);
    EXPECT_EQ(lisupo(p1, p2, p3, 1, kGeo, 0.0f, moved, mu), kDataError);
    EXPECT_EQ(lisupo(p1, p2, p3, 1, 5, 2.0f, moved, mu), kDataError);
}

} // namespace
} // namespace tesmo
