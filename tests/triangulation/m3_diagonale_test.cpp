#include "triangulation/m3_diagonale.hpp"

#include "geometry/cg_predicat.hpp"
#include "m3_mesh_fixture.hpp"
#include "topology/st_2dstruct.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <random>
#include <vector>

namespace tesmo {
namespace {

using testing::gridMesh;
using testing::gridNode;
using testing::PlaneMesh;

int diagonals(PlaneMesh& mesh, int32_t a, int32_t b)
{
    std::vector<int32_t> work(4096, 0);
    const int32_t edge[2] = {a, b};
    return rf2dia(Vec<const int32_t>(edge, 2), mesh.ITRNOE(), mesh.ITRTRI(), mesh.NOETRI(), mesh.NBE, mesh.COORD(),
                  Vec<int32_t>(work.data(), int32_t(work.size())));
}

/// Every triangle turns counter-clockwise, exactly.
bool exactlyCounterClockwise(PlaneMesh& mesh)
{
    for (int32_t e = 1; e <= mesh.NBE; ++e) {
        const Rows<const float> C = mesh.COORD();
        if (orientation(C.row(mesh.ITRNOE()(e, 1)), C.row(mesh.ITRNOE()(e, 2)), C.row(mesh.ITRNOE()(e, 3))) <= 0) {
            return false;
        }
    }
    return true;
}

TEST(Rf2dia, EdgesOfALatticeFanAreRestoredAndKept)
{
    // a grid of unit squares (cocircular corners, many nodes near the segments): the edges from
    // corner (0, 0) to nodes whose coordinates are coprime pass through no node; each is
    // restored and those restored before it stay
    for (uint32_t seed = 1; seed <= 6; ++seed) {
        PlaneMesh mesh = gridMesh(13, 9, seed);
        const double area = mesh.area();
        std::vector<std::pair<int32_t, int32_t>> restored;
        for (int32_t j = 1; j <= 9; ++j) {
            const int32_t i = 13 - (j * 5) % 7;
            if (std::gcd(i, j) != 1) {
                continue;
            }
            ASSERT_EQ(diagonals(mesh, gridNode(13, 0, 0), gridNode(13, i, j)), kOk) << seed << " " << i << " " << j;
            restored.emplace_back(i, j);
            for (const auto& [ri, rj] : restored) {
                EXPECT_TRUE(mesh.hasEdge(gridNode(13, 0, 0), gridNode(13, ri, rj)));
            }
            ASSERT_EQ(mesh.check(), "");
            EXPECT_TRUE(exactlyCounterClockwise(mesh));
            EXPECT_DOUBLE_EQ(mesh.area(), area);
        }
        EXPECT_GE(restored.size(), 4u);
        // through the node (2, 2): refused, the mesh still valid
        EXPECT_EQ(diagonals(mesh, gridNode(13, 0, 0), gridNode(13, 4, 4)) == kOk,
                  mesh.hasEdge(gridNode(13, 0, 0), gridNode(13, 4, 4)));
        EXPECT_EQ(mesh.check(), "");
        EXPECT_TRUE(exactlyCounterClockwise(mesh));
    }
}

/// Points triangulated by insertByExchanges inside the big triangle of nodes 1, 2 and 3.
struct ExactDelaunay {
    explicit ExactDelaunay(std::vector<float> points)
        : coord(std::move(points)), nodes(int32_t(coord.size() / 2)), rows(2 * nodes),
          itrnoe(std::size_t(3 * rows), 0), itrtri(std::size_t(3 * rows), 0), noetri(std::size_t(nodes), 0),
          work(std::size_t(rows + 2), 0),
          mesh{Rows<int32_t>(itrnoe.data(), 3, rows), Rows<int32_t>(itrtri.data(), 3, rows),
               Vec<int32_t>(noetri.data(), nodes), 1, Rows<const float>(coord.data(), 2, nodes)}
    {
        itrnoe[0] = 1, itrnoe[1] = 2, itrnoe[2] = 3;
        noetri[0] = noetri[1] = noetri[2] = 1;
    }
    int insert(int32_t P) { return insertByExchanges(mesh, P, Vec<int32_t>(work.data(), rows + 2)); }
    /// "" when every triangle turns counter-clockwise and every inner edge but a b is
    /// Delaunay, exactly.
    std::string check(int32_t a = 0, int32_t b = 0)
    {
        std::string found = testing::checkStructure(2, mesh.ITRNOE, mesh.ITRTRI, mesh.NBE, mesh.NOETRI);
        for (int32_t e = 1; e <= mesh.NBE && found.empty(); ++e) {
            const int32_t u = mesh.ITRNOE(e, 1), v = mesh.ITRNOE(e, 2), w = mesh.ITRNOE(e, 3);
            if (orientation(mesh.at(u), mesh.at(v), mesh.at(w)) <= 0) {
                found = "triangle " + std::to_string(e) + " not counter-clockwise";
            }
            for (int32_t f = 1; f <= 3 && found.empty(); ++f) {
                const int32_t p = mesh.ITRNOE(e, f), q = mesh.ITRNOE(e, f % 3 + 1);
                const int32_t g = mesh.ITRTRI(e, f);
                const bool constrained = (p == a && q == b) || (p == b && q == a);
                if (g != 0 && !constrained &&
                    circleSide(mesh.at(u), mesh.at(v), mesh.at(w), mesh.at(mesh.opposite(g, mesh.faceToward(g, e)))) > 0) {
                    found = "edge " + std::to_string(p) + "-" + std::to_string(q) + " not Delaunay";
                }
            }
        }
        return found;
    }

    std::vector<float> coord;
    int32_t nodes;
    int32_t rows;
    std::vector<int32_t> itrnoe, itrtri, noetri, work;
    EdgeTables mesh;
};

TEST(InsertByExchanges, RandomAndCocircularPointsGiveAnExactDelaunayTriangulation)
{
    std::mt19937 random(5);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    // a big triangle, then lattice points (cocircular four by four) and random points
    std::vector<float> coord{-10, -10, 20, -10, 0, 20};
    for (int i = 0; i < 6; ++i) {
        for (int j = 0; j < 6; ++j) {
            coord.insert(coord.end(), {float(i) / 5.0f, float(j) / 5.0f});
        }
    }
    for (int k = 0; k < 60; ++k) {
        coord.insert(coord.end(), {unit(random), unit(random)});
    }
    coord.insert(coord.end(), {0.4f, 0.6f}); // a node again
    ExactDelaunay delaunay(coord);
    for (int32_t P = 4; P <= delaunay.nodes; ++P) {
        EXPECT_EQ(delaunay.insert(P), P < delaunay.nodes ? kOk : 1) << P;
    }
    ASSERT_EQ(delaunay.mesh.NBE, 2 * (delaunay.nodes - 1) - 3 - 2); // 2 n - 3 - 2 of n nodes, the hull a triangle
    EXPECT_EQ(delaunay.check(), "");
}

TEST(Rf2dia, TheDiagonalsItCreatesAreDelaunayButTheEdge)
{
    // random points: each long segment between two nodes restored in a fresh exact Delaunay
    // triangulation, every other edge Delaunay again afterwards
    std::mt19937 random(11);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::vector<float> coord{-10, -10, 20, -10, 0, 20};
    for (int k = 0; k < 80; ++k) {
        coord.insert(coord.end(), {unit(random), unit(random)});
    }
    int32_t restored = 0;
    for (int32_t a = 4; a <= 83; a += 7) {
        ExactDelaunay delaunay(coord);
        for (int32_t P = 4; P <= delaunay.nodes; ++P) {
            ASSERT_EQ(delaunay.insert(P), kOk);
        }
        const int32_t b = 4 + (a * 37) % 80;
        EdgeSides sides;
        const auto present = [&] {
            return sfri2d(a, b, 2, delaunay.mesh.ITRNOE, delaunay.mesh.ITRTRI, delaunay.mesh.NOETRI, delaunay.mesh.NBE,
                          sides) == kOk && (sides.E1 != 0 || sides.E2 != 0);
        };
        if (present() || std::hypot(coord[2 * (a - 1)] - coord[2 * (b - 1)], coord[2 * a - 1] - coord[2 * b - 1]) < 0.5f) {
            continue;
        }
        const int32_t edge[2] = {a, b};
        std::vector<int32_t> work(4096, 0);
        ASSERT_EQ(rf2dia(Vec<const int32_t>(edge, 2), delaunay.mesh.ITRNOE, delaunay.mesh.ITRTRI, delaunay.mesh.NOETRI,
                         delaunay.mesh.NBE, delaunay.mesh.points, Vec<int32_t>(work.data(), 4096)),
                  kOk);
        EXPECT_TRUE(present()) << a << "-" << b;
        EXPECT_EQ(delaunay.check(a, b), "") << a << "-" << b;
        ++restored;
    }
    EXPECT_GE(restored, 6);
}

} // namespace
} // namespace tesmo
