#include "triangulation/m2_point.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace tesmo {
namespace {

int normalise(const std::vector<float>& coord, std::vector<float>& out, int32_t rows)
{
    return ptinit(Rows<const float>(coord.data(), 2, int32_t(coord.size() / 2)), int32_t(coord.size() / 2),
                  Rows<float>(out.data(), 2, rows));
}

TEST(Ptinit, MapsTheBoxIntoTheSquareKeepingItsShape)
{
    // box [10,30] x [20,60]: centre (20,40), largest extent 40
    std::vector<float> out(10, 9.0f);
    ASSERT_EQ(normalise({10, 20, 30, 20, 10, 60, 15, 50}, out, 5), kOk);
    EXPECT_EQ(out, (std::vector<float>{-0.5f, -1, 0.5f, -1, -0.5f, 1, -0.25f, 0.5f, 9, 9}));
}

TEST(Ptinit, RefusesPointsOnALineParallelToAnAxisAndShortOutput)
{
    std::vector<float> out(8, 9.0f);
    EXPECT_EQ(normalise({1, 5, 3, 5, 2, 5}, out, 4), kDataError);
    EXPECT_EQ(normalise({1, 5, 1, 7, 1, 6}, out, 4), kDataError);
    EXPECT_EQ(normalise({1, 5, 1, 5}, out, 4), kDataError);
    EXPECT_EQ(normalise({0, 0, 1, 0, 0, 1}, out, 2), kCapacityError);
    EXPECT_EQ(out, std::vector<float>(8, 9.0f));
    EXPECT_EQ(normalise({0, 0, 1, 1, 2, 2}, out, 4), kOk); // a diagonal line is not caught here
}

} // namespace
} // namespace tesmo
