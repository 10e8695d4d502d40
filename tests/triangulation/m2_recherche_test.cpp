#include "triangulation/m2_recherche.hpp"

#include "small_mesh.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace tesmo {
namespace {

using testing::SmallMesh;

/// A strip of four triangles, each adjacent to the next: 1-2, 2-3, 3-4.
SmallMesh strip()
{
    return SmallMesh({0, 0, 1, 0, 2, 0, 0, 1, 1, 1, 2, 1}, {{1, 2, 4}, {2, 5, 4}, {2, 3, 5}, {3, 6, 5}});
}

std::vector<int32_t> cavityOf(SmallMesh& mesh, int32_t count)
{
    return {mesh.work.begin(), mesh.work.begin() + count};
}

const float kPoint[] = {0.9f, 0.4f};

TEST(Rtadet, StartsAtTheLowestElementWhoseCircleContainsThePoint)
{
    SmallMesh mesh = strip();
    for (int32_t e = 1; e <= 4; ++e) {
        mesh.setCircle(e, kPoint, e == 2 || e == 4);
    }
    const std::vector<int32_t> before = mesh.nodeRows;
    int32_t k = 0;
    ASSERT_EQ(rtadet(kPoint, mesh.ITRNOE(), mesh.ITRTRI(), 4, mesh.COORD(), mesh.SPHERES(), mesh.WORK(), k), kOk);
    // 4 is not reached: 3, between them, does not contain the point
    EXPECT_EQ(cavityOf(mesh, k), (std::vector<int32_t>{2}));
    EXPECT_EQ(mesh.nodeRows, before); // the marks of the search are undone
    // a deleted row is skipped
    mesh.setCircle(3, kPoint, true);
    for (int32_t j = 1; j <= 3; ++j) {
        mesh.ITRNOE()(1, j) = 0;
    }
    mesh.setCircle(2, kPoint, false);
    ASSERT_EQ(rtadet(kPoint, mesh.ITRNOE(), mesh.ITRTRI(), 4, mesh.COORD(), mesh.SPHERES(), mesh.WORK(), k), kOk);
    EXPECT_EQ(cavityOf(mesh, k), (std::vector<int32_t>{3, 4}));
}

TEST(Rtadet, NoCircleContainingThePointGivesAnEmptyCavity)
{
    SmallMesh mesh = strip();
    const float far[] = {50, 50};
    int32_t k = 7;
    ASSERT_EQ(rtadet(far, mesh.ITRNOE(), mesh.ITRTRI(), 4, mesh.COORD(), mesh.SPHERES(), mesh.WORK(), k), kOk);
    EXPECT_EQ(k, 0);
}

TEST(Rtconn, GrowsThroughContainingNeighboursOnly)
{
    SmallMesh mesh = strip();
    for (int32_t e = 1; e <= 4; ++e) {
        mesh.setCircle(e, kPoint, e != 1);
    }
    int32_t k = 0;
    // the start joins without test, then 2, 3, 4 in turn
    ASSERT_EQ(rtconn(kPoint, 1, mesh.ITRNOE(), mesh.ITRTRI(), 4, mesh.COORD(), mesh.SPHERES(), mesh.WORK(), k), kOk);
    EXPECT_EQ(cavityOf(mesh, k), (std::vector<int32_t>{1, 2, 3, 4}));
    // a border-marked face (between 2 and 3) is never crossed
    for (int32_t f = 1; f <= 3; ++f) {
        if (mesh.ITRTRI()(2, f) == 3) {
            mesh.ITRTRI()(2, f) = -3;
        }
        if (mesh.ITRTRI()(3, f) == 2) {
            mesh.ITRTRI()(3, f) = -2;
        }
    }
    ASSERT_EQ(rtconn(kPoint, 1, mesh.ITRNOE(), mesh.ITRTRI(), 4, mesh.COORD(), mesh.SPHERES(), mesh.WORK(), k), kOk);
    EXPECT_EQ(cavityOf(mesh, k), (std::vector<int32_t>{1, 2}));
}

TEST(Rtconn, RefusesBadStartsAndShortWorkWithoutChangingTheTables)
{
    SmallMesh mesh = strip();
    for (int32_t e = 1; e <= 4; ++e) {
        mesh.setCircle(e, kPoint, true);
    }
    const std::vector<int32_t> before = mesh.nodeRows;
    int32_t k = 0;
    EXPECT_EQ(rtconn(kPoint, 5, mesh.ITRNOE(), mesh.ITRTRI(), 4, mesh.COORD(), mesh.SPHERES(), mesh.WORK(), k),
              kDataError);
    EXPECT_EQ(rtconn(kPoint, 0, mesh.ITRNOE(), mesh.ITRTRI(), 4, mesh.COORD(), mesh.SPHERES(), mesh.WORK(), k),
              kDataError);
    // three slots: the cavity, its queue and the left-out elements do not fit
    EXPECT_EQ(rtconn(kPoint, 1, mesh.ITRNOE(), mesh.ITRTRI(), 4, mesh.COORD(), mesh.SPHERES(),
                     Vec<int32_t>(mesh.work.data(), 3), k),
              kCapacityError);
    EXPECT_EQ(rtadet(kPoint, mesh.ITRNOE(), mesh.ITRTRI(), 4, mesh.COORD(), mesh.SPHERES(), Vec<int32_t>(), k),
              kCapacityError);
    EXPECT_EQ(mesh.nodeRows, before);
    // four is just enough
    EXPECT_EQ(rtconn(kPoint, 1, mesh.ITRNOE(), mesh.ITRTRI(), 4, mesh.COORD(), mesh.SPHERES(),
                     Vec<int32_t>(mesh.work.data(), 4), k),
              kOk);
    EXPECT_EQ(k, 4);
    // a neighbour beyond the elements, or a node without coordinates
    mesh.ITRTRI()(1, 2) = 9;
    EXPECT_EQ(rtconn(kPoint, 1, mesh.ITRNOE(), mesh.ITRTRI(), 4, mesh.COORD(), mesh.SPHERES(), mesh.WORK(), k),
              kDataError);
    EXPECT_EQ(mesh.nodeRows, before);
    mesh.ITRNOE()(1, 3) = 40;
    EXPECT_EQ(rtadet(kPoint, mesh.ITRNOE(), mesh.ITRTRI(), 4, mesh.COORD(), mesh.SPHERES(), mesh.WORK(), k),
              kDataError);
    EXPECT_TRUE(mesh.guardsIntact());
}

} // namespace
} // namespace tesmo
