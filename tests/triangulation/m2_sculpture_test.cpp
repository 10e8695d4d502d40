#include "triangulation/m2_sculpture.hpp"

#include "m3_mesh_fixture.hpp"
#include "messages/es_chaine.hpp"
#include "messages/es_erreur.hpp"

#include <gtest/gtest.h>

namespace tesmo {
namespace {

using testing::gridMesh;
using testing::gridNode;
using testing::PlaneMesh;
using Loop = std::vector<std::pair<int32_t, int32_t>>;

// Zones drawn in a grid of 8 by 6 unit squares (96 triangles, area 48), their sides avoiding
// the grid nodes. By Pick's theorem a lattice polygon of area A with B border nodes holds
// A - B / 2 + 1 inner nodes and 2 A triangles once its sides are edges of the grid mesh.
constexpr int32_t kNx = 8;
constexpr int32_t kNy = 6;
const Loop kParallelogram = {{1, 1}, {6, 2}, {7, 5}, {2, 4}}; // area 14
const Loop kIsland = {{3, 2}, {5, 3}, {4, 4}};                 // area 1.5, around (4, 3)
const Loop kLake = {{3, 1}, {6, 3}, {5, 5}, {2, 3}};           // area 8, in the diamond, around the island
const Loop kDiamond = {{4, 0}, {8, 3}, {4, 6}, {0, 3}};        // area 24, touching the hull at its corners
const Loop kHull = {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {7, 0}, {8, 0}, {8, 1}, {8, 2},
                    {8, 3}, {8, 4}, {8, 5}, {8, 6}, {7, 6}, {6, 6}, {5, 6}, {4, 6}, {3, 6}, {2, 6}, {1, 6},
                    {0, 6}, {0, 5}, {0, 4}, {0, 3}, {0, 2}, {0, 1}};

/// Border records (a, b) of the given loops, each side recovered in the mesh first.
std::vector<int32_t> border(PlaneMesh& mesh, std::initializer_list<const Loop*> loops)
{
    std::vector<int32_t> records;
    for (const Loop* loop : loops) {
        for (std::size_t i = 0; i < loop->size(); ++i) {
            const int32_t a = gridNode(kNx, (*loop)[i].first, (*loop)[i].second);
            const int32_t b = gridNode(kNx, (*loop)[(i + 1) % loop->size()].first, (*loop)[(i + 1) % loop->size()].second);
            int32_t crossed = 0;
            EXPECT_EQ(testing::recover(mesh, a, b, crossed), kOk);
            records.insert(records.end(), {a, b});
        }
    }
    return records;
}

/// sculpt with 3 NBE integers of work unless told otherwise.
int carve(PlaneMesh& mesh, std::vector<int32_t>& records, int32_t& inside, int32_t work = -1)
{
    std::vector<int32_t> iwork(std::size_t(work < 0 ? 3 * mesh.NBE : work), 0);
    return sculpt(Rows<int32_t>(records.data(), 2, int32_t(records.size() / 2)), 2, mesh.ITRNOE(), mesh.ITRTRI(),
                  mesh.NOETRI(), mesh.NBE, Vec<int32_t>(iwork.data(), int32_t(iwork.size())), inside);
}

TEST(Sculpt, ZonesKeepTheirInsideOnly)
{
    // loops, inside regions, kept area, whether the grid's corner (0, 0) and the node (4, 3)
    // are still used
    struct Case {
        std::initializer_list<const Loop*> loops;
        int32_t inside;
        double area;
        bool cornersKept;
        bool middleKept;
    };
    const Case cases[] = {{{&kHull}, 1, 48.0, true, true},
                          {{&kHull, &kParallelogram}, 1, 34.0, true, false},
                          {{&kHull, &kParallelogram, &kIsland}, 2, 35.5, true, true},
                          {{&kParallelogram}, 1, 14.0, false, true},
                          {{&kDiamond}, 1, 24.0, false, true}};
    for (uint32_t seed = 1; seed <= 3; ++seed) {
        for (const Case& c : cases) {
            PlaneMesh mesh = gridMesh(kNx, kNy, seed);
            std::vector<int32_t> records = border(mesh, c.loops);
            int32_t inside = 0;
            ASSERT_EQ(carve(mesh, records, inside), kOk);
            EXPECT_EQ(inside, c.inside);
            EXPECT_EQ(mesh.NBE, int32_t(2.0 * c.area));
            EXPECT_NEAR(mesh.area(), c.area, 1e-4);
            EXPECT_EQ(mesh.check(), ""); // no zero row in 1..NBE, NOETRI 0 only for unused nodes
            EXPECT_TRUE(mesh.counterClockwise());
            EXPECT_EQ(mesh.NOETRI()(gridNode(kNx, 0, 0)) != 0, c.cornersKept);
            EXPECT_EQ(mesh.NOETRI()(gridNode(kNx, 4, 3)) != 0, c.middleKept);
        }
    }
}

TEST(Sculpt, RefusalsDeleteNothing)
{
    PlaneMesh mesh = gridMesh(kNx, kNy, 5);
    const std::vector<int32_t> rows = mesh.rows();
    std::vector<int32_t> records = border(mesh, {&kHull});
    int32_t inside = 0;
    modini = 2;
    {
        ConsoleCapture capture;
        EXPECT_EQ(carve(mesh, records, inside, 3 * 96 - 1), kCapacityError);
        EXPECT_NE(capture.text().find(" TROP D ELEMENTS"), std::string::npos);
    }
    records.insert(records.end(), {gridNode(kNx, 1, 1), gridNode(kNx, 6, 2)}); // not an edge of the mesh
    {
        ConsoleCapture capture;
        EXPECT_EQ(carve(mesh, records, inside), kDataError);
        EXPECT_NE(capture.text().find(" APPEL SFRICR"), std::string::npos);
        EXPECT_NE(capture.text().find(" APPEL SCMAT"), std::string::npos);
    }
    modini = 0;
    EXPECT_EQ(mesh.NBE, 96);
    EXPECT_EQ(mesh.rows(), rows);
    std::vector<int32_t> none;
    EXPECT_EQ(carve(mesh, none, inside, 0), kOk);
    EXPECT_EQ(inside, 1);
    EXPECT_EQ(mesh.rows(), rows);
}

TEST(Scmat, RegionNoBorderEdgeReachesEndsTheVisitAfterOneIdleCycle)
{
    // two separate squares; only the first has border edges
    PlaneMesh mesh({{0, 0}, {1, 0}, {1, 1}, {0, 1}, {5, 0}, {6, 0}, {6, 1}, {5, 1}},
                   {{1, 2, 3}, {1, 3, 4}, {5, 6, 7}, {5, 7, 8}});
    std::vector<int32_t> records = {1, 2, 2, 3, 3, 4, 4, 1};
    int32_t inside = 0;
    modini = 2;
    ConsoleCapture capture;
    EXPECT_EQ(carve(mesh, records, inside), kDataError);
    modini = 0;
    EXPECT_NE(capture.text().find(" REGIONS NON ATTEINTES"), std::string::npos);
    EXPECT_EQ(mesh.NBE, 4);
}

TEST(Scmat, SignsAlternateAcrossBorderEdgesOnly)
{
    PlaneMesh mesh = gridMesh(kNx, kNy, 31);
    std::vector<int32_t> records = border(mesh, {&kDiamond, &kLake, &kIsland});
    std::vector<int32_t> work(std::size_t(2 * mesh.NBE), 0);
    std::vector<int32_t> signs(std::size_t(mesh.NBE), 9);
    int32_t inside = 0;
    ASSERT_EQ(scmat(Rows<int32_t>(records.data(), 2, int32_t(records.size() / 2)), 2, mesh.ITRNOE(), mesh.ITRTRI(),
                    mesh.NOETRI(), mesh.NBE, Vec<int32_t>(work.data(), 2 * mesh.NBE),
                    Vec<int32_t>(signs.data(), mesh.NBE), inside),
              kOk);
    EXPECT_EQ(inside, 2); // the ring between the diamond and the lake, and the island
    double insideArea = 0.0;
    for (int32_t e = 1; e <= mesh.NBE; ++e) {
        const int32_t s = signs[std::size_t(e - 1)];
        ASSERT_TRUE(s == 1 || s == -1);
        insideArea += s > 0 ? mesh.doubleArea(e) / 2.0 : 0.0;
        for (int32_t k = 1; k <= 3; ++k) {
            const int32_t j = mesh.ITRTRI()(e, k);
            if (j != 0) {
                EXPECT_EQ(s * signs[std::size_t(std::abs(j) - 1)], j > 0 ? 1 : -1);
            }
        }
    }
    EXPECT_NEAR(insideArea, 24.0 - 8.0 + 1.5, 1e-4);
}

TEST(Scrgcc, FloodStopsAtBorderMarksAndChecksItsSeedAndStack)
{
    // a strip of four triangles with the edge between the second and third marked
    PlaneMesh mesh({{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}}, {{1, 2, 4}, {2, 5, 4}, {2, 3, 5}, {3, 6, 5}});
    ASSERT_EQ(mesh.ITRTRI()(2, 1), 3);
    mesh.ITRTRI()(2, 1) = -3;
    mesh.ITRTRI()(3, 3) = -2;
    std::vector<int32_t> work(8, 0);
    std::vector<int32_t> signs(4, 0);
    int32_t flooded = 0;
    auto flood = [&](int32_t seed, int32_t sign, int32_t workSize) {
        return scrgcc(seed, sign, mesh.ITRTRI(), 4, Vec<int32_t>(work.data(), workSize), Vec<int32_t>(signs.data(), 4),
                      flooded);
    };
    EXPECT_EQ(flood(1, -1, 8), kOk);
    EXPECT_EQ(flooded, 2);
    EXPECT_EQ(signs, (std::vector<int32_t>{-1, -1, 0, 0}));
    EXPECT_EQ(flood(2, 1, 8), kDataError); // already signed
    EXPECT_EQ(flood(5, 1, 8), kDataError); // beyond NBE
    EXPECT_EQ(flood(4, 1, 7), kCapacityError);
    EXPECT_EQ(flood(4, 1, 8), kOk);
    EXPECT_EQ(signs, (std::vector<int32_t>{-1, -1, 1, 1}));
}

} // namespace
} // namespace tesmo
