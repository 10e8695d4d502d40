#include "triangulation/m2_point.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace tesmo {
namespace {

TEST(Ptinit, MapsTheBoxIntoTheSquareKeepingItsShape)
{
    // box [10,30] x [20,60]: centre (20,40), largest extent 40
    const std::vector<float> coord = {10, 20, 30, 20, 10, 60, 15, 50};
    std::vector<float> out(10, 9.0f);
    ASSERT_EQ(ptinit(Rows<const float>(coord.data(), 2, 4), 4, Rows<float>(out.data(), 2, 5)), kOk);
    EXPECT_EQ(out, (std::vector<float>{-0.5f, -1, 0.5f, -1, -0.5f, 1, -0.25f, 0.5f, 9, 9}));
    float low[2], high[2];
    ASSERT_EQ(pobten(Rows<const float>(coord.data(), 2, 4), 4, low, high), kOk);
    EXPECT_EQ(low[0], 10.0f);
    EXPECT_EQ(high[1], 60.0f);
}

TEST(Ptinit, PointsOnALineParallelToAnAxisHaveNoArea)
{
    std::vector<float> out(8, 9.0f);
    const std::vector<float> horizontal = {1, 5, 3, 5, 2, 5};
    EXPECT_EQ(ptinit(Rows<const float>(horizontal.data(), 2, 3), 3, Rows<float>(out.data(), 2, 4)), kDataError);
    const std::vector<float> vertical = {1, 5, 1, 7, 1, 6};
    EXPECT_EQ(ptinit(Rows<const float>(vertical.data(), 2, 3), 3, Rows<float>(out.data(), 2, 4)), kDataError);
    const std::vector<float> same = {1, 5, 1, 5};
    EXPECT_EQ(ptinit(Rows<const float>(same.data(), 2, 2), 2, Rows<float>(out.data(), 2, 4)), kDataError);
    EXPECT_EQ(out, std::vector<float>(8, 9.0f));
    // a diagonal line has an extent on both axes: not caught here
    const std::vector<float> diagonal = {0, 0, 1, 1, 2, 2};
    EXPECT_EQ(ptinit(Rows<const float>(diagonal.data(), 2, 3), 3, Rows<float>(out.data(), 2, 4)), kOk);
}

TEST(Ptinit, TooSmallOutputIsRefused)
{
    const std::vector<float> coord = {0, 0, 1, 0, 0, 1};
    std::vector<float> out(6, 9.0f);
    EXPECT_EQ(ptinit(Rows<const float>(coord.data(), 2, 3), 3, Rows<float>(out.data(), 2, 2)), kCapacityError);
    EXPECT_EQ(ptinit(Rows<const float>(coord.data(), 2, 3), 4, Rows<float>(out.data(), 2, 3)), kDataError);
    EXPECT_EQ(ptinit(Rows<const float>(coord.data(), 2, 3), 0, Rows<float>(out.data(), 2, 3)), kDataError);
    EXPECT_EQ(out, std::vector<float>(6, 9.0f));
}

} // namespace
} // namespace tesmo
