#include "geometry/geometry.hpp"
#include "support/codes.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>

namespace tesmo {
namespace {

using Pair = std::array<float, 2>;
using Line = std::array<float, 3>;

TEST(Dr2po, LineThroughTwoPointsAndBack)
{
    Line line{};
    const float p[4] = {0.0f, 1.0f, 2.0f, 5.0f};
    ASSERT_EQ(dr2po(p, p + 2, line.data()), kOk);
    EXPECT_EQ(line, (Line{-2.0f, 1.0f, -1.0f}));
    Pair point{};
    Pair direction{};
    ASSERT_EQ(pvdroi(line.data(), point.data(), direction.data()), kOk);
    EXPECT_EQ(point, (Pair{-0.5f, 0.0f}));
    EXPECT_EQ(direction, (Pair{-1.0f, -2.0f}));

    const float vertical[4] = {3.0f, 0.0f, 3.0f, 7.0f};
    ASSERT_EQ(dr2po(vertical, vertical + 2, line.data()), kOk);
    EXPECT_EQ(line, (Line{1.0f, 0.0f, -3.0f}));
    const Line horizontal{0.0f, 1.0f, -3.0f};
    ASSERT_EQ(pvdroi(horizontal.data(), point.data(), direction.data()), kOk);
    EXPECT_EQ(point, (Pair{0.0f, 3.0f}));

    const float same[4] = {0.5f, 0.5f, 0.5f + 5e-8f, 0.5f + 5e-8f};
    EXPECT_EQ(dr2po(same, same + 2, line.data()), kDataError);
    const Line noLine{0.0f, 0.0f, 1.0f};
    EXPECT_EQ(pvdroi(noLine.data(), point.data(), direction.data()), kDataError);
}

TEST(Indrse, CrossingOnlyWhenTheEndsLieStrictlyApart)
{
    const Line line{-2.0f, 1.0f, -1.0f}; // y = 2x + 1
    const float pq[4] = {1.0f, 0.0f, 1.0f, 10.0f};
    int32_t crossing = -1;
    Pair point{9.0f, 9.0f};
    ASSERT_EQ(indrse(pq, pq + 2, line.data(), kCrossingOnly, crossing, point.data()), kOk);
    EXPECT_EQ(crossing, 1);
    EXPECT_EQ(point, (Pair{9.0f, 9.0f}));
    ASSERT_EQ(indrse(pq, pq + 2, line.data(), kCrossingPoint, crossing, point.data()), kOk);
    EXPECT_EQ(crossing, 1);
    EXPECT_FLOAT_EQ(point[0], 1.0f);
    EXPECT_FLOAT_EQ(point[1], 3.0f);
    // An end on the line (within the tolerance), or both ends on one side: no crossing.
    const float ends[3][2] = {{0.0f, 1.0f}, {0.0f, 1.0f - 5e-8f}, {-3.0f, 0.0f}};
    for (const auto& end : ends) {
        ASSERT_EQ(indrse(end, pq + 2, line.data(), kCrossingPoint, crossing, point.data()), kOk);
        EXPECT_EQ(crossing, 0) << end[0] << " " << end[1];
    }
    EXPECT_EQ(indrse(pq, pq + 2, line.data(), 2, crossing, point.data()), kDataError);

    // Far from the origin, an axis through two points nearly along a coordinate axis: the
    // crossing lies on the edge, within the rounding of its coordinates.
    std::mt19937 random(7);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    for (int trial = 0; trial < 200; ++trial) {
        const float far = 800.0f * float(1 + trial % 20);
        const float o[4] = {far + unit(random), -far + unit(random), far + 5.0f, -far + 1e-3f * unit(random)};
        const float edge[4] = {far + 0.5f * unit(random), -far - 0.05f, far + 0.5f * unit(random), -far + 0.05f};
        Line axis{};
        ASSERT_EQ(dr2po(o, o + 2, axis.data()), kOk);
        ASSERT_EQ(indrse(edge, edge + 2, axis.data(), kCrossingPoint, crossing, point.data()), kOk);
        if (crossing == 1) {
            const double ex = double(edge[2]) - double(edge[0]);
            const double ey = double(edge[3]) - double(edge[1]);
            const double offset =
                std::fabs(ex * (double(point[1]) - double(edge[1])) - ey * (double(point[0]) - double(edge[0])));
            EXPECT_LE(offset / std::hypot(ex, ey), 4.0 * double(epsRelative() * far)) << trial;
        }
    }
}

TEST(Indrdr, IntersectionOfTwoLines)
{
    // y = x + 1 and y = 5 - 2x meet at (4/3, 7/3).
    const float r[4] = {0.0f, 1.0f, 3.0f, 4.0f};
    const float s[4] = {1.0f, 3.0f, 2.0f, 1.0f};
    int32_t found = -1;
    Pair point{};
    ASSERT_EQ(indrdr(r, r + 2, s, s + 2, 2, found, point.data()), kOk);
    EXPECT_EQ(found, 1);
    EXPECT_FLOAT_EQ(point[0], 4.0f / 3.0f);
    EXPECT_FLOAT_EQ(point[1], 7.0f / 3.0f);
    const float parallel[4] = {5.0f, 1.0f, 6.0f, 2.0f};
    ASSERT_EQ(indrdr(r, r + 2, parallel, parallel + 2, 2, found, point.data()), kOk);
    EXPECT_EQ(found, 0);
    EXPECT_EQ(indrdr(r, r + 2, s, s + 2, 3, found, point.data()), kNotAvailable);
}

} // namespace
} // namespace tesmo
