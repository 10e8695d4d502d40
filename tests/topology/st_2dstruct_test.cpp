#include "topology/st_2dstruct.hpp"

#include "support/mesh_fixture.hpp"
#include "messages/es_chaine.hpp"
#include "messages/es_erreur.hpp"

#include <gtest/gtest.h>

namespace tesmo {
namespace {

using testing::Grid;
using testing::Tables;
using V = std::vector<int32_t>;

/// The first `count` of the six triangles (1, k, k + 1) about node 1 (hexagon 2..7).
Tables fan(int32_t count)
{
    std::vector<V> triangles;
    for (int32_t k = 0; k < count; ++k) {
        triangles.push_back({1, 2 + k, 2 + (k + 1) % 6});
    }
    Tables t(3, 3, triangles, 7);
    EXPECT_EQ(t.smacre(2), kOk);
    return t;
}

/// (E1, F1, E2, F2) of the edge a -> b, or the error code.
V locate(Tables& t, int32_t a, int32_t b)
{
    EdgeSides s;
    const int code = sfri2d(a, b, 2, t.ITRNOE(), t.ITRTRI(), t.NOETRI(), t.NBE, s);
    return code == kOk ? V{s.E1, s.F1, s.E2, s.F2} : V{code};
}

/// (element, face) where the walk about p stops, or (code, face).
V walk(Tables& t, int32_t p, int32_t d = 2)
{
    int32_t element = 0, face = 0;
    const int code = sesfr2(p, d, t.ITRNOE(), t.ITRTRI(), t.NOETRI(), t.NBE, element, face);
    return code == kOk ? V{element, face} : V{code, face};
}

TEST(Sfri2d, InteriorOuterAndMissingEdges)
{
    Tables closed = fan(6);
    EXPECT_EQ(locate(closed, 1, 3), (V{2, 1, 1, 3}));
    EXPECT_EQ(locate(closed, 3, 1), (V{1, 3, 2, 1}));
    EXPECT_EQ(locate(closed, 2, 5), (V{0, 0, 0, 0}));
    Tables open = fan(3);
    EXPECT_EQ(locate(open, 3, 4), (V{2, 2, 0, 0}));
    EXPECT_EQ(locate(open, 4, 3), (V{0, 0, 2, 2}));
    EXPECT_EQ(locate(open, 1, 2), (V{1, 1, 0, 0})); // found after the first walk hit the boundary
    EXPECT_EQ(locate(open, 1, 5), (V{0, 0, 3, 3}));
    open.noetri[1] = 0;
    EXPECT_EQ(locate(open, 2, 3), (V{0, 0, 0, 0}));
}

TEST(Sfri2d, EveryEdgeOfARandomGrid)
{
    std::mt19937 random(21);
    Tables t = Grid(6, 5, random, true).tables();
    ASSERT_EQ(t.smacre(2), kOk);
    const auto faces = testing::directedFaces(t);
    for (const auto& [edge, where] : faces) {
        const auto reverse = faces.find({edge.second, edge.first});
        const V expected = {where.first, where.second, reverse == faces.end() ? 0 : reverse->second.first,
                            reverse == faces.end() ? 0 : reverse->second.second};
        ASSERT_EQ(locate(t, edge.first, edge.second), expected);
    }
}

TEST(Sfri2d, FailureCodes)
{
    Tables t = fan(6);
    EdgeSides sides;
    EXPECT_EQ(sfri2d(1, 3, 3, t.ITRNOE(), t.ITRTRI(), t.NOETRI(), 6, sides), kNotAvailable);
    EXPECT_EQ(locate(t, 8, 3), V{kDataError});
    t.noetri[2] = 5; // node 3 is not in triangle 5
    EXPECT_EQ(locate(t, 3, 4), V{kDataError});
    t = fan(6);
    t.noetri[2] = 1;      // the edge 3 -> 1 is face 3 of triangle 1,
    t.ITRNOE()(2, 1) = 9; // and triangle 2 across it lost node 1
    modini = 2;
    ConsoleCapture capture;
    EXPECT_EQ(locate(t, 3, 1), V{kDataError});
    modini = 0;
    EXPECT_NE(capture.text().find("STRUCTURE INCORRECTE 3"), std::string::npos);
    t = fan(6); // neighbours that go round without coming back to the start
    t.noetri[0] = 1;
    t.ITRTRI()(1, 1) = 2;
    t.ITRTRI()(2, 1) = 2;
    EXPECT_EQ(locate(t, 1, 9), V{kDataError});
}

TEST(Sesfr1, StepsAcrossAFaceWhateverItsMark)
{
    Tables t = fan(3);
    const auto step = [&](int32_t e, int32_t k) {
        int32_t next = -1, back = -1;
        const int code = sesfr1(e, k, t.ITRTRI(), t.NBE, next, back);
        return code == kOk ? V{next, back} : V{code};
    };
    EXPECT_EQ(step(1, 3), (V{2, 1}));
    t.ITRTRI()(1, 3) = -2;
    t.ITRTRI()(2, 1) = -1;
    EXPECT_EQ(step(1, 3), (V{2, 1}));
    EXPECT_EQ(step(1, 2), (V{0, 0}));
    t.ITRTRI()(2, 1) = 0;
    EXPECT_EQ(step(1, 3), (V{2, 0}));
    EXPECT_EQ(step(4, 1), V{kDataError});
    EXPECT_EQ(step(1, 4), V{kDataError});
    t.ITRTRI()(1, 3) = 7;
    EXPECT_EQ(step(1, 3), V{kDataError});
}

TEST(Sesfr2, WalksAboutInteriorAndBoundaryNodesAndFailures)
{
    Tables closed = fan(6); // from NOETRI(1) = 6 through 1, 2, ... to 5, whose face leads to 6
    EXPECT_EQ(walk(closed, 1), (V{5, 3}));
    Tables open = fan(3);
    open.noetri[0] = 1; // from 1 through 2 to 3, whose face 5 -> 1 is outer
    EXPECT_EQ(walk(open, 1), (V{3, 3}));
    EXPECT_EQ(walk(open, 4), (V{2, 2}));
    open.noetri[1] = 0;
    EXPECT_EQ(walk(open, 2), (V{0, 0}));
    EXPECT_EQ(walk(closed, 1, 3), (V{kNotAvailable, -1}));
    EXPECT_EQ(walk(closed, 9), (V{kDataError, -1}));
    closed.noetri[1] = 4; // node 2 is not in triangle 4
    EXPECT_EQ(walk(closed, 2), (V{kDataError, -1}));
    closed.ITRTRI()(5, 1) = 0; // 6 names 5, which does not name 6 back
    EXPECT_EQ(walk(closed, 1), (V{kDataError, -1}));
}

TEST(Sesfr2, EveryNodeOfARandomGrid)
{
    std::mt19937 random(4);
    const Grid grid(5, 6, random, true);
    Tables t = grid.tables();
    ASSERT_EQ(t.smacre(2), kOk);
    for (int32_t p = 1; p <= grid.nodeCount(); ++p) {
        const V end = walk(t, p);
        ASSERT_GE(end[1], 1);
        EXPECT_EQ(t.ITRNOE()(end[0], end[1] % 3 + 1), p); // the face ends at p
        EXPECT_EQ(t.ITRTRI()(end[0], end[1]), grid.onBoundary(p) ? 0 : t.noetri[std::size_t(p - 1)]) << p;
    }
}

} // namespace
} // namespace tesmo
