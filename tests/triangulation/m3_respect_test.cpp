#include "triangulation/m3_respect.hpp"

#include "m3_mesh_fixture.hpp"
#include "messages/es_chaine.hpp"
#include "messages/es_erreur.hpp"

#include <gtest/gtest.h>

namespace tesmo {

namespace {

using testing::gridMesh;
using testing::gridNode;
using testing::PlaneMesh;
using testing::recover;

/// A recovery keeps a valid counter-clockwise structure of as many elements over the same
/// area, now holding ab.
void expectRecovered(PlaneMesh& mesh, int32_t a, int32_t b, int32_t elements, double area)
{
    EXPECT_EQ(mesh.check(), "");
    EXPECT_TRUE(mesh.counterClockwise());
    EXPECT_TRUE(mesh.hasEdge(a, b));
    EXPECT_EQ(mesh.NBE, elements);
    EXPECT_NEAR(mesh.area(), area, 1e-4 * area);
}

PlaneMesh unitSquare() { return PlaneMesh({{0, 0}, {1, 0}, {1, 1}, {0, 1}}, {{1, 2, 3}, {1, 3, 4}}); }

TEST(Rf2rar, EdgePresentChangesNothingAndMissingDiagonalIsExchanged)
{
    PlaneMesh mesh = unitSquare();
    const std::vector<int32_t> neighbours = mesh.tables.neighbourRows;
    int32_t crossed = -9;
    EXPECT_EQ(recover(mesh, 3, 1, crossed), kOk);
    EXPECT_EQ(crossed, 0);
    EXPECT_EQ(mesh.rows(), (std::vector<int32_t>{1, 2, 3, 1, 3, 4}));
    EXPECT_EQ(mesh.tables.neighbourRows, neighbours);
    //   4 ---- 3          4 ---- 3
    //   |    / |          | \    |
    //   |  /   |   ->     |   \  |      the polygon 1 2 3 4 cut along 2-4: 4 1 2, then 2 3 4
    //   1 ---- 2          1 ---- 2
    ASSERT_EQ(recover(mesh, 2, 4, crossed), kOk);
    EXPECT_EQ(crossed, 2);
    EXPECT_EQ(mesh.rows(), (std::vector<int32_t>{4, 1, 2, 2, 3, 4}));
    EXPECT_EQ(mesh.tables.neighbourRows, (std::vector<int32_t>{0, 0, 2, 0, 0, 1}));
    expectRecovered(mesh, 2, 4, 2, 1.0);
}

TEST(Rf2rar, PentagonSplitsIntoATriangleAndTheQuadrilateralOfBestSmallestQuality)
{
    // a = 1, v2 = 2, v1 = 3, b = 4, u = 5: ab crosses the fan about u; two outside triangles
    // are glued along the sides b-u and v2-v1. The first polygon is b u a; the second
    // a v2 v1 b is a symmetric trapezoid for v1 = (3, -1), where both diagonals score 0.2
    // and the first apex (v1) wins, and favours v2-b (0.25 against 0.19) for v1 = (3.5, -1).
    for (const auto& [v1x, expected] :
         {std::pair{3.0f, std::vector<int32_t>{4, 5, 1, 1, 2, 3, 3, 4, 1}},
          std::pair{3.5f, std::vector<int32_t>{4, 5, 1, 1, 2, 4, 2, 3, 4}}}) {
        PlaneMesh mesh({{0, 0}, {1, -1}, {v1x, -1}, {4, 0}, {2, 1.5f}, {4.5f, 2}, {2, -2.5f}},
                       {{6, 5, 4}, {1, 2, 5}, {2, 3, 5}, {2, 7, 3}, {3, 4, 5}});
        const double area = mesh.area();
        int32_t crossed = 0;
        ASSERT_EQ(recover(mesh, 1, 4, crossed), kOk);
        EXPECT_EQ(crossed, 3);
        std::vector<int32_t> rows = mesh.rows();
        rows.resize(9);
        EXPECT_EQ(rows, expected);
        expectRecovered(mesh, 1, 4, 5, area);
    }
}

TEST(Rf2rar, LongEdgeThroughAStripOfTriangles)
{
    for (uint32_t seed = 1; seed <= 8; ++seed) {
        PlaneMesh mesh = gridMesh(12, 2, seed);
        int32_t crossed = 0;
        ASSERT_EQ(recover(mesh, gridNode(12, 0, 0), gridNode(12, 12, 1), crossed), kOk) << "seed " << seed;
        EXPECT_GE(crossed, 22);
        expectRecovered(mesh, gridNode(12, 0, 0), gridNode(12, 12, 1), 48, 24.0);
    }
}

TEST(Rf2rar, FailuresLeaveAValidMesh)
{
    PlaneMesh onSegment = testing::nodeOnSegment();
    int32_t crossed = 0;
    modini = 2;
    {
        ConsoleCapture capture;
        EXPECT_EQ(recover(onSegment, 1, 4, crossed), kDataError);
        EXPECT_EQ(crossed, -1);
        EXPECT_NE(capture.text().find(" APPEL TRITSE"), std::string::npos);
    }
    modini = 0;
    // k = 2: 2 for the list, then 8 k + 10 = 26 at least; 50 hold the frontier and its chain
    // but not the polygon search; the reals must hold 2 n = 6
    PlaneMesh mesh = unitSquare();
    for (const auto& [integers, reals] : {std::pair{2 + 25, 1 << 12}, std::pair{2 + 50, 1 << 12}, std::pair{1 << 12, 5}}) {
        EXPECT_EQ(recover(mesh, 2, 4, crossed, integers, reals), kCapacityError);
        EXPECT_EQ(mesh.check(), "");
        EXPECT_FALSE(mesh.hasEdge(2, 4));
    }
}

TEST(Rf2rar, NodeWithinTheToleranceOfTheEdgeIsPassedByExchanges)
{
    // node 7 lies 1e-12 below ab: the walk refuses the edge, the exchanges restore it with
    // node 7 on its side
    PlaneMesh mesh = testing::nodeOnSegment(-1e-12f);
    const double area = mesh.area();
    int32_t crossed = 0;
    ASSERT_EQ(recover(mesh, 1, 4, crossed), kOk);
    EXPECT_EQ(crossed, -1);
    expectRecovered(mesh, 1, 4, 6, area);
}

TEST(Rf2rar, ThePolygonSearchTellsWhichWorkRanShort)
{
    // the diagonal 2-4 of the square: its polygon search needs integers and reals
    for (const auto& [integers, reals, which] : {std::tuple{1 << 12, 5, WorkShortage::reals},
                                                 std::tuple{2 + 50, 1 << 12, WorkShortage::integers}}) {
        PlaneMesh mesh = unitSquare();
        std::vector<int32_t> iwork(std::size_t(integers), 0);
        std::vector<float> rwork(std::size_t(reals), 0.0f);
        const int32_t edge[2] = {2, 4};
        int32_t crossed = 0;
        WorkShortage shortage = WorkShortage::none;
        EXPECT_EQ(rf2rar(Vec<const int32_t>(edge, 2), mesh.ITRNOE(), mesh.ITRTRI(), mesh.NOETRI(), mesh.NBE,
                         mesh.COORD(), Vec<int32_t>(iwork.data(), integers), Vec<float>(rwork.data(), reals), crossed,
                         &shortage),
                  kCapacityError);
        EXPECT_EQ(shortage, which);
    }
}

TEST(Rf2far, FrontierOfAnotherSizeLeavesTheEdgeMissing)
{
    // two triangles of a fan about node 1 that do not touch: 6 frontier faces, not 4
    std::vector<testing::Point> points = {{0, 0}};
    std::vector<std::array<int32_t, 3>> triangles;
    for (int32_t k = 0; k < 6; ++k) {
        points.push_back({std::cos(1.0471976f * float(k)), std::sin(1.0471976f * float(k))});
        triangles.push_back({1, 2 + k, 2 + (k + 1) % 6});
    }
    PlaneMesh mesh(points, triangles);
    std::vector<int32_t> iwork(4096, 0);
    std::vector<float> rwork(256, 0.0f);
    const int32_t edge[2] = {2, 5};
    auto call = [&](std::vector<int32_t> crossed) {
        return rf2far(Vec<const int32_t>(edge, 2), Vec<int32_t>(crossed.data(), int32_t(crossed.size())),
                      mesh.ITRNOE(), mesh.ITRTRI(), mesh.NOETRI(), mesh.NBE, mesh.COORD(),
                      Vec<int32_t>(iwork.data(), 4096), Vec<float>(rwork.data(), 256));
    };
    modini = 2;
    {
        ConsoleCapture capture;
        EXPECT_EQ(call({4, 1}), kOk);
        EXPECT_NE(capture.text().find(" CARDINAL POLYGONE ?"), std::string::npos);
    }
    modini = 0;
    EXPECT_EQ(call({2, 2}), kDataError); // repeated
    EXPECT_EQ(call({1, 7}), kDataError); // beyond NBE
    EXPECT_EQ(mesh.check(), "");
    EXPECT_FALSE(mesh.hasEdge(2, 5));
}

TEST(Rf2far, StripPinchedAtANodeLeavesTheEdgeMissingAndTheTablesAsGiven)
{
    // seven triangles round the triangle x y z (x = 1, y = 2, z = 3), their chain closed only by
    // a node at x: 9 frontier faces as for a strip, but the loop through x can close round x y z
    //
    //            u                    the crossed list: C D E A F G B, a path from the side
    //      q   / | \   p              x y round y and z to the side z x; H and I, below x,
    //      | G/ F|  \ |               are not in it
    //      | /   z  E\|
    //   w  |/ B / \ A |
    //    \ |  /  T  \ |
    //     \| / x---y \ s
    //      H I  \C/ D
    //             r
    PlaneMesh mesh({{0, 0}, {2, 0}, {1, 2}, {1, -1}, {3, -0.5f}, {2.5f, 1.5f}, {1, 3.5f}, {-0.5f, 1.5f}, {-1, -0.5f}},
                   {{1, 2, 3}, {2, 1, 4}, {2, 4, 5}, {2, 5, 6}, {2, 6, 3}, {3, 6, 7}, {3, 7, 8}, {3, 8, 1},
                    {1, 8, 9}, {1, 9, 4}});
    const std::vector<int32_t> rows = mesh.rows();
    const std::vector<int32_t> neighbours = mesh.tables.neighbourRows;
    std::vector<int32_t> crossed{2, 3, 4, 5, 6, 7, 8};
    std::vector<int32_t> iwork(4096, 0);
    std::vector<float> rwork(256, 0.0f);
    const int32_t edge[2] = {5, 8};
    modini = 2;
    ConsoleCapture capture;
    EXPECT_EQ(rf2far(Vec<const int32_t>(edge, 2), Vec<int32_t>(crossed.data(), 7), mesh.ITRNOE(), mesh.ITRTRI(),
                     mesh.NOETRI(), mesh.NBE, mesh.COORD(), Vec<int32_t>(iwork.data(), 4096), Vec<float>(rwork.data(), 256)),
              kOk);
    modini = 0;
    EXPECT_NE(capture.text().find(" POLYGONE A MOINS DE 4 COTES"), std::string::npos) << capture.text();
    EXPECT_EQ(mesh.rows(), rows);
    EXPECT_EQ(mesh.tables.neighbourRows, neighbours);
    EXPECT_EQ(mesh.check(), "");
}

} // namespace
} // namespace tesmo
