// The zone stages: the plane frame of a zone in space and the mapping of its new nodes back.
#include "driver/api_triangulation.hpp"

#include "driver/cg_epsi.hpp"
#include "driver/cg_repere.hpp"
#include "driver/cg_vectoriel.hpp"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace tesmo {
namespace {

TEST(MapToSpace, PlaneCoordinatesGoBackToTheirPoints)
{
    icgeps();
    // Four points of the plane x + y + z = 1, their frame, and their plane coordinates.
    std::vector<float> points{1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 2.0f, -1.0f, 0.0f};
    std::array<float, 3> origin{};
    std::array<float, 9> frame{};
    std::vector<float> plane(8, 0.0f);
    ASSERT_EQ(rppncr(Vec<const int32_t>(), 0, 1, 4, Rows<const float>(points.data(), 3, 4), origin.data(),
                     frame.data(), Rows<float>(plane.data(), 2, 4)),
              kOk);
    ASSERT_EQ(m33inv(frame.data(), frame.data()), kOk);
    std::vector<float> space(12, -5.0f);
    ASSERT_EQ(mapToSpace(frame.data(), origin.data(), Rows<const float>(plane.data(), 2, 4), 2, 4,
                         Rows<float>(space.data(), 3, 4)),
              kOk);
    for (int32_t i = 0; i < 3; ++i) {
        EXPECT_FLOAT_EQ(space[std::size_t(i)], -5.0f); // row 1 is not in the range
    }
    for (std::size_t i = 3; i < 12; ++i) {
        EXPECT_NEAR(space[i], points[i], 1e-6f) << i;
    }
    // Every mapped point lies in the plane.
    EXPECT_NEAR(space[9] + space[10] + space[11], 1.0f, 1e-6f);
}

TEST(MapToSpace, RowsBeyondEitherTableAreRefused)
{
    std::array<float, 9> identity{1, 0, 0, 0, 1, 0, 0, 0, 1};
    std::array<float, 3> origin{0.0f, 0.0f, 1.0f};
    std::vector<float> plane{1.0f, 2.0f, 3.0f, 4.0f};
    std::vector<float> space(6, 0.0f);
    EXPECT_EQ(mapToSpace(identity.data(), origin.data(), Rows<const float>(plane.data(), 2, 2), 1, 2,
                         Rows<float>(space.data(), 3, 1)),
              kCapacityError);
    EXPECT_EQ(mapToSpace(identity.data(), origin.data(), Rows<const float>(plane.data(), 2, 1), 1, 2,
                         Rows<float>(space.data(), 3, 2)),
              kCapacityError);
    EXPECT_EQ(space, std::vector<float>(6, 0.0f));
    // An empty range maps nothing; the identity frame lifts (x, y) to (x, y, 0) + origin.
    EXPECT_EQ(mapToSpace(identity.data(), origin.data(), Rows<const float>(plane.data(), 2, 2), 3, 2,
                         Rows<float>(space.data(), 3, 2)),
              kOk);
    ASSERT_EQ(mapToSpace(identity.data(), origin.data(), Rows<const float>(plane.data(), 2, 2), 1, 2,
                         Rows<float>(space.data(), 3, 2)),
              kOk);
    EXPECT_EQ(space, (std::vector<float>{1.0f, 2.0f, 1.0f, 3.0f, 4.0f, 1.0f}));
    EXPECT_EQ(mapToSpace(identity.data(), origin.data(), Rows<const float>(space.data(), 3, 2), 1, 2,
                         Rows<float>(space.data(), 3, 2)),
              kDataError);
}

TEST(Mgtria, WorksInThePlaneOnly)
{
    std::vector<float> coordinates(9, 0.0f);
    std::vector<int32_t> edges{1, 2};
    ZoneElements zone;
    EXPECT_EQ(mgtria(Rows<int32_t>(edges.data(), 2, 1), 1, 1, Rows<float>(coordinates.data(), 3, 3), 3, zone,
                     Vec<int32_t>(), Vec<float>()),
              kDataError);
}

} // namespace
} // namespace tesmo
