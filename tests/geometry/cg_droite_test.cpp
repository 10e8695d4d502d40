#include "geometry/geometry.hpp"
#include "support/codes.hpp"

#include <gtest/gtest.h>

#include <array>

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
