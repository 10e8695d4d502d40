#include "triangulation/d2_sph2d.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace tesmo {
namespace {

struct OneTriangle {
    std::vector<float> coord = {0, 0, 2, 0, 2, 2, 0, 2, 1, 1, 3, 3};
    std::vector<int32_t> nodes = {1, 2, 3};
    std::vector<float> spheres = std::vector<float>(3, -7.0f);
    Rows<const float> COORD() const { return Rows<const float>(coord.data(), 2, int32_t(coord.size() / 2)); }
    Rows<int32_t> ITRNOE() { return Rows<int32_t>(nodes.data(), 3, 1); }
    Rows<float> SPHERES() { return Rows<float>(spheres.data(), 3, 1); }
};

TEST(Spcerc, RecordIsTwiceTheCentreFromTheThirdNode)
{
    OneTriangle t;
    // circle of (0,0), (2,0), (2,2): centre (1,1); S = 2 ((1,1) - (2,2)) = (-2, -2)
    ASSERT_EQ(spcerc(t.ITRNOE(), 1, t.COORD(), t.SPHERES()), kOk);
    EXPECT_EQ(t.spheres[0], -2.0f);
    EXPECT_EQ(t.spheres[1], -2.0f);
    EXPECT_EQ(t.spheres[2], -7.0f); // the third real is not used in the plane
    // the same circle from another third node
    t.nodes = {3, 1, 2};
    ASSERT_EQ(spcerc(t.ITRNOE(), 1, t.COORD(), t.SPHERES()), kOk);
    EXPECT_EQ(t.spheres[0], -2.0f);
    EXPECT_EQ(t.spheres[1], 2.0f);
}

TEST(Spcerc, FlatOrUnknownTriangleIsRefusedAndRecordKept)
{
    OneTriangle t;
    t.nodes = {1, 5, 6}; // (0,0), (1,1), (3,3) on one line
    EXPECT_EQ(spcerc(t.ITRNOE(), 1, t.COORD(), t.SPHERES()), kDataError);
    EXPECT_EQ(t.spheres, std::vector<float>(3, -7.0f));
    t.nodes = {1, 2, 7}; // no node 7
    EXPECT_EQ(spcerc(t.ITRNOE(), 1, t.COORD(), t.SPHERES()), kDataError);
    t.nodes = {1, 2, 3};
    EXPECT_EQ(spcerc(t.ITRNOE(), 2, t.COORD(), t.SPHERES()), kDataError); // no element 2
    EXPECT_EQ(t.spheres, std::vector<float>(3, -7.0f));
}

TEST(Spcerc, TinyButNotFlatTriangleHasACircle)
{
    // twice the area is 2e-30, just above the flat limit
    std::vector<float> coord = {0, 0, 1e-15f, 0, 0, 2e-15f};
    std::vector<int32_t> nodes = {1, 2, 3};
    std::vector<float> spheres(3, 0.0f);
    EXPECT_EQ(spcerc(Rows<const int32_t>(nodes.data(), 3, 1), 1, Rows<const float>(coord.data(), 2, 3),
                     Rows<float>(spheres.data(), 3, 1)),
              kOk);
    EXPECT_TRUE(isFlat(1.0e-30f));
    EXPECT_TRUE(isFlat(-1.0e-30f));
    EXPECT_FALSE(isFlat(1.1e-30f));
}

TEST(Sppoin, PointsOnTheCircleAreOutside)
{
    const float p3[] = {2, 2};
    const float S[] = {-2, -2}; // circle of centre (1,1) through (2,2)
    const float centre[] = {1, 1}, onCircle[] = {0, 2}, alsoOn[] = {0, 0}, outside[] = {3, 3};
    const float justInside[] = {0.01f, 1.9f};
    EXPECT_TRUE(sppoin(centre, p3, S));
    EXPECT_TRUE(sppoin(justInside, p3, S));
    EXPECT_FALSE(sppoin(onCircle, p3, S));
    EXPECT_FALSE(sppoin(alsoOn, p3, S));
    EXPECT_FALSE(sppoin(p3, p3, S)); // the third node itself: v = 0
    EXPECT_FALSE(sppoin(outside, p3, S));
}

} // namespace
} // namespace tesmo
