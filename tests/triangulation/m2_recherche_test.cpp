#include "triangulation/m2_recherche.hpp"

#include "small_mesh.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace tesmo {
namespace {

using testing::SmallMesh;

const float kPoint[] = {0.9f, 0.4f};

/// A strip of four triangles, each adjacent to the next, whose circles contain kPoint
/// exactly for the elements listed.
SmallMesh strip(const std::vector<int32_t>& containing)
{
    SmallMesh mesh({0, 0, 1, 0, 2, 0, 0, 1, 1, 1, 2, 1}, {{1, 2, 4}, {2, 5, 4}, {2, 3, 5}, {3, 6, 5}});
    for (int32_t e = 1; e <= 4; ++e) {
        mesh.setCircle(e, kPoint, std::find(containing.begin(), containing.end(), e) != containing.end());
    }
    return mesh;
}

std::vector<int32_t> cavity(SmallMesh& mesh, int32_t start, int32_t workSize = 64)
{
    int32_t k = 0;
    const Vec<int32_t> work(mesh.work.data(), workSize);
    const int code =
        start == 0 ? rtadet(kPoint, mesh.ITRNOE(), mesh.ITRTRI(), 4, mesh.COORD(), mesh.SPHERES(), work, k)
                   : rtconn(kPoint, start, mesh.ITRNOE(), mesh.ITRTRI(), 4, mesh.COORD(), mesh.SPHERES(), work, k);
    return code == kOk ? std::vector<int32_t>(mesh.work.begin(), mesh.work.begin() + k) : std::vector<int32_t>{code};
}

TEST(Rtadet, StartsAtTheLowestElementWhoseCircleContainsThePoint)
{
    SmallMesh mesh = strip({2, 4});
    const std::vector<int32_t> before = mesh.nodeRows;
    EXPECT_EQ(cavity(mesh, 0), (std::vector<int32_t>{2})); // 3, between 2 and 4, does not contain it
    EXPECT_EQ(mesh.nodeRows, before);                      // the marks of the search are undone
    mesh = strip({3, 4});
    EXPECT_EQ(cavity(mesh, 0), (std::vector<int32_t>{3, 4}));
    mesh = strip({});
    EXPECT_EQ(cavity(mesh, 0), std::vector<int32_t>{});
}

TEST(Rtconn, GrowsFromTheStartThroughPositiveFacesOnly)
{
    SmallMesh mesh = strip({2, 3, 4});
    EXPECT_EQ(cavity(mesh, 1), (std::vector<int32_t>{1, 2, 3, 4})); // the start joins without test
    for (int32_t f = 1; f <= 3; ++f) { // the face between 2 and 3 becomes a border edge
        mesh.ITRTRI()(2, f) = mesh.ITRTRI()(2, f) == 3 ? -3 : mesh.ITRTRI()(2, f);
        mesh.ITRTRI()(3, f) = mesh.ITRTRI()(3, f) == 2 ? -2 : mesh.ITRTRI()(3, f);
    }
    EXPECT_EQ(cavity(mesh, 1), (std::vector<int32_t>{1, 2}));
}

TEST(Rtconn, RefusesBadStartsAndShortWorkWithoutChangingTheTables)
{
    SmallMesh mesh = strip({1, 2, 3, 4});
    const std::vector<int32_t> before = mesh.nodeRows;
    EXPECT_EQ(cavity(mesh, 5), std::vector<int32_t>{kDataError});
    EXPECT_EQ(cavity(mesh, 1, 3), std::vector<int32_t>{kCapacityError});
    EXPECT_EQ(cavity(mesh, 0, 0), std::vector<int32_t>{kCapacityError});
    EXPECT_EQ(cavity(mesh, 1, 4).size(), 4u); // four slots are just enough
    mesh.ITRTRI()(1, 2) = 9;                  // a neighbour beyond the elements
    EXPECT_EQ(cavity(mesh, 1), std::vector<int32_t>{kDataError});
    EXPECT_EQ(mesh.nodeRows, before);
    mesh.ITRNOE()(1, 3) = 40; // a node without coordinates
    EXPECT_EQ(cavity(mesh, 0), std::vector<int32_t>{kDataError});
    EXPECT_TRUE(mesh.guardsIntact());
}

} // namespace
} // namespace tesmo
