#include "triangulation/d2_sph2d.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace tesmo {
namespace {

TEST(Spcerc, RecordIsTwiceTheCentreFromTheThirdNodeAndFlatTrianglesHaveNone)
{
    const std::vector<float> coord = {0, 0, 2, 0, 2, 2, 1, 1, 3, 3};
    std::vector<int32_t> nodes = {1, 2, 3};
    std::vector<float> record(3, -7.0f);
    auto circle = [&] {
        return spcerc(Rows<const int32_t>(nodes.data(), 3, 1), 1, Rows<const float>(coord.data(), 2, 5),
                      Rows<float>(record.data(), 3, 1));
    };
    // circle of (0,0), (2,0), (2,2): centre (1,1); S = 2 ((1,1) - (2,2)); third real unused
    ASSERT_EQ(circle(), kOk);
    EXPECT_EQ(record, (std::vector<float>{-2, -2, -7}));
    nodes = {3, 1, 2}; // the same circle seen from (2,0)
    ASSERT_EQ(circle(), kOk);
    EXPECT_EQ(record, (std::vector<float>{-2, 2, -7}));
    nodes = {1, 4, 5}; // on one line: no circle, record kept
    EXPECT_EQ(circle(), kDataError);
    nodes = {1, 2, 6}; // no node 6
    EXPECT_EQ(circle(), kDataError);
    EXPECT_EQ(record, (std::vector<float>{-2, 2, -7}));
    EXPECT_TRUE(isFlat(-1.0e-30f));
    EXPECT_FALSE(isFlat(1.1e-30f));
}

TEST(CircleVector, APowerOfTwoScalesTheVectorExactly)
{
    // random triangles: the plain single-precision formula at unit scale, its scaled copy at
    // every power of two from 2^-60 to 2^60, where the plain products would underflow or overflow
    std::mt19937 random(13);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    for (int trial = 0; trial < 240; ++trial) {
        const float p[6] = {unit(random), unit(random), unit(random), unit(random), unit(random), unit(random)};
        const float ax = p[0] - p[4], ay = p[1] - p[5], bx = p[2] - p[4], by = p[3] - p[5];
        const float D = ay * bx - ax * by;
        const float plain[2] = {(ay * (bx * bx + by * by) - by * (ax * ax + ay * ay)) / D,
                                (bx * (ax * ax + ay * ay) - ax * (bx * bx + by * by)) / D};
        float S[2] = {};
        ASSERT_TRUE(circleVector(p, p + 2, p + 4, S));
        ASSERT_EQ(S[0], plain[0]);
        ASSERT_EQ(S[1], plain[1]);
        const int k = trial % 121 - 60;
        float q[6];
        for (int i = 0; i < 6; ++i) {
            q[i] = std::ldexp(p[i], k);
        }
        float scaled[2] = {};
        ASSERT_TRUE(circleVector(q, q + 2, q + 4, scaled)) << k;
        EXPECT_EQ(scaled[0], std::ldexp(S[0], k)) << k;
        EXPECT_EQ(scaled[1], std::ldexp(S[1], k)) << k;
    }
}

TEST(Sppoin, PointsOnTheCircleAreOutside)
{
    const float p3[] = {2, 2};
    const float S[] = {-2, -2}; // circle of centre (1,1) through (2,2)
    const float centre[] = {1, 1}, justInside[] = {0.01f, 1.9f}, onCircle[] = {0, 2}, outside[] = {3, 3};
    EXPECT_TRUE(sppoin(centre, p3, S));
    EXPECT_TRUE(sppoin(justInside, p3, S));
    EXPECT_FALSE(sppoin(onCircle, p3, S)); // v = 0 exactly
    EXPECT_FALSE(sppoin(p3, p3, S));
    EXPECT_FALSE(sppoin(outside, p3, S));
}

} // namespace
} // namespace tesmo
