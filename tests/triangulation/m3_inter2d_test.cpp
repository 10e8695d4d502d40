#include "triangulation/m3_inter2d.hpp"

#include "m3_mesh_fixture.hpp"
#include "messages/es_chaine.hpp"
#include "messages/es_erreur.hpp"

#include <gtest/gtest.h>

namespace tesmo {
namespace {

using testing::gridMesh;
using testing::gridNode;
using testing::PlaneMesh;

/// The triangles tritse lists along ab, or its negative count.
std::vector<int32_t> walk(PlaneMesh& mesh, int32_t a, int32_t b, int32_t& count, int32_t capacity = 256)
{
    std::vector<int32_t> list(std::size_t(capacity) + 1, 0);
    const int32_t edge[2] = {a, b};
    const int code = tritse(Vec<const int32_t>(edge, 2), mesh.ITRNOE(), mesh.ITRTRI(), mesh.NOETRI(), mesh.NBE,
                            mesh.COORD(), Vec<int32_t>(list.data(), capacity), count);
    EXPECT_EQ(code, count < 0 ? count : kOk);
    list.resize(std::size_t(std::max(count, 0)));
    return list;
}

/// True when element e holds the point (x, y) strictly inside.
bool strictlyInside(PlaneMesh& mesh, int32_t e, float x, float y)
{
    for (int32_t k = 1; k <= 3; ++k) {
        const float* p = mesh.COORD().row(mesh.ITRNOE()(e, k));
        const float* q = mesh.COORD().row(mesh.ITRNOE()(e, k % 3 + 1));
        if ((q[0] - p[0]) * (y - p[1]) - (q[1] - p[1]) * (x - p[0]) <= 0.0f) {
            return false;
        }
    }
    return true;
}

TEST(Tritse, WalkListsTheTrianglesMetAlongTheSegmentInOrder)
{
    for (uint32_t seed = 1; seed <= 6; ++seed) {
        PlaneMesh mesh = gridMesh(12, 3, seed);
        int32_t count = 0;
        const std::vector<int32_t> crossed = walk(mesh, gridNode(12, 0, 1), gridNode(12, 12, 2), count);
        std::vector<int32_t> met; // triangles holding points sampled along ab, in order
        for (int32_t s = 1; s < 4000; ++s) {
            const float t = float(s) / 4000.0f;
            for (int32_t e = 1; e <= mesh.NBE; ++e) {
                if (strictlyInside(mesh, e, 12.0f * t, 1.0f + t) && (met.empty() || met.back() != e)) {
                    met.push_back(e);
                }
            }
        }
        EXPECT_EQ(crossed, met) << "seed " << seed; // the first (trdbse a -> b) and last (b -> a) too
        EXPECT_EQ(walk(mesh, gridNode(12, 0, 1), gridNode(12, 1, 1), count).size(), 0u); // an edge
        EXPECT_EQ(count, 0);
    }
}

TEST(Tritse, NodeOnTheSegmentOrWithinItsToleranceStopsTheWalk)
{
    // (2, 7, 3) is cut side to side by the line through its node 7; without the node test the
    // walk would go on to b through five triangles
    for (const float y7 : {0.0f, 1e-12f}) {
        PlaneMesh mesh = testing::nodeOnSegment(y7);
        ASSERT_EQ(mesh.check(), "");
        int32_t count = 0;
        walk(mesh, 1, 4, count);
        EXPECT_EQ(count, -1);
    }
}

TEST(Tritse, EndsOutsideTheTriangulationAreRefused)
{
    PlaneMesh loose({{0, 0}, {1, 0}, {1, 1}, {0, 1}, {5, 5}}, {{1, 2, 3}, {1, 3, 4}}); // node 5 in no triangle
    PlaneMesh notch({{0, 0}, {2, 0}, {2, 1}, {1, 1}, {1, 2}, {0, 2}}, {{1, 2, 3}, {1, 3, 4}, {1, 4, 5}, {1, 5, 6}});
    int32_t count = 0;
    modini = 2;
    for (const auto& [mesh, b, text] : {std::tuple{&loose, 5, "POINT DE FRONTIERE NON CONNECTE"},
                                        std::tuple{&notch, 5, "FRONTIERE HORS DU MAILLAGE"}}) {
        ConsoleCapture capture;
        walk(*mesh, 3, b, count);
        EXPECT_EQ(count, -1);
        EXPECT_NE(capture.text().find(text), std::string::npos);
        EXPECT_NE(capture.text().find("1 APPEL TRDBSE"), std::string::npos);
    }
    modini = 0;
    for (const auto& [a, b] : {std::pair{1, 9}, std::pair{0, 2}, std::pair{2, 2}}) {
        walk(loose, a, b, count);
        EXPECT_EQ(count, -1);
    }
    loose.NOETRI()(2) = 2; // a triangle without node 2: locating 2-4 fails, which is no success
    walk(loose, 2, 4, count);
    EXPECT_EQ(count, -1);
}

TEST(Tritse, FullCrossedListIsACapacityError)
{
    PlaneMesh strip = gridMesh(6, 1, 3);
    int32_t count = 0;
    const int32_t crossed = int32_t(walk(strip, gridNode(6, 0, 0), gridNode(6, 6, 1), count).size());
    ASSERT_GT(crossed, 4);
    for (const int32_t capacity : {0, 1, crossed - 1}) {
        walk(strip, gridNode(6, 0, 0), gridNode(6, 6, 1), count, capacity);
        EXPECT_EQ(count, -2);
    }
}

} // namespace
} // namespace tesmo
