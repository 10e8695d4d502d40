#include "topology/st_2dstruct.hpp"

#include "mesh_fixture.hpp"
#include "shell/es_chaine.hpp"
#include "shell/es_erreur.hpp"
#include "topology/st_topologie.hpp"

#include <gtest/gtest.h>

namespace tesmo {
namespace {

using testing::GridTriangulation;
using testing::Tables;

/// Six triangles about node 1 (a hexagon 2..7), or the first `count` of them.
Tables fan(int32_t count = 6)
{
    Tables tables(3, 3, count, 7, 256);
    for (int32_t k = 0; k < count; ++k) {
        tables.element(k + 1, {1, 2 + k, 2 + (k + 1) % 6});
    }
    EXPECT_EQ(smacre(2, tables.ITRNOE(), count, 7, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), tables.WORK()),
              kOk);
    return tables;
}

EdgeSides locate(Tables& tables, int32_t a, int32_t b, int32_t NBE, int& code)
{
    EdgeSides sides;
    code = sfri2d(a, b, 2, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), NBE, sides);
    return sides;
}

void expectSides(const EdgeSides& sides, int32_t E1, int32_t F1, int32_t E2, int32_t F2)
{
    EXPECT_EQ(sides.E1, E1);
    EXPECT_EQ(sides.F1, F1);
    EXPECT_EQ(sides.E2, E2);
    EXPECT_EQ(sides.F2, F2);
}

TEST(Sfri2d, InteriorEdgeGivesBothElements)
{
    Tables tables = fan();
    int code = 0;
    // 1 -> 3 runs in triangle 2 = (1, 3, 4) at face 1, 3 -> 1 in triangle 1 = (1, 2, 3) at face 2
    expectSides(locate(tables, 1, 3, 6, code), 2, 1, 1, 3);
    EXPECT_EQ(code, kOk);
    expectSides(locate(tables, 3, 1, 6, code), 1, 3, 2, 1);
}

TEST(Sfri2d, OuterEdgeGivesOneElement)
{
    Tables tables = fan(3); // an open fan: triangles (1,2,3), (1,3,4), (1,4,5)
    int code = 0;
    expectSides(locate(tables, 3, 4, 3, code), 2, 2, 0, 0);
    expectSides(locate(tables, 4, 3, 3, code), 0, 0, 2, 2);
    // about node 1 the first walk reaches the outer boundary before the edge 1-2
    expectSides(locate(tables, 1, 2, 3, code), 1, 1, 0, 0);
    expectSides(locate(tables, 1, 5, 3, code), 0, 0, 3, 3);
}

TEST(Sfri2d, EdgeNotInTheMesh)
{
    Tables tables = fan();
    int code = 0;
    expectSides(locate(tables, 2, 5, 6, code), 0, 0, 0, 0);
    EXPECT_EQ(code, kOk);
    tables.noetri[1] = 0; // node 2 in no element
    expectSides(locate(tables, 2, 3, 6, code), 0, 0, 0, 0);
    EXPECT_EQ(code, kOk);
}

TEST(Sfri2d, EveryEdgeOfARandomGrid)
{
    std::mt19937 random(21);
    const GridTriangulation grid(6, 5, random);
    Tables tables(3, 3, grid.triangleCount, grid.nodeCount, 1024);
    tables.nodeRows = grid.triangles;
    ASSERT_EQ(smacre(2, tables.ITRNOE(), grid.triangleCount, grid.nodeCount, tables.ITRNOE(), tables.ITRTRI(),
                     tables.NOETRI(), tables.WORK()),
              kOk);
    const auto faces = testing::directedFaces(tables.ITRNOE(), grid.triangleCount);
    for (const auto& [edge, where] : faces) {
        int code = 0;
        const EdgeSides sides = locate(tables, edge.first, edge.second, grid.triangleCount, code);
        ASSERT_EQ(code, kOk);
        EXPECT_EQ(sides.E1, where.first);
        EXPECT_EQ(sides.F1, where.second);
        const auto reverse = faces.find({edge.second, edge.first});
        EXPECT_EQ(sides.E2, reverse == faces.end() ? 0 : reverse->second.first);
        EXPECT_EQ(sides.F2, reverse == faces.end() ? 0 : reverse->second.second);
    }
}

TEST(Sfri2d, FailureCodes)
{
    Tables tables = fan();
    int code = 0;
    EdgeSides sides;
    EXPECT_EQ(sfri2d(1, 3, 3, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), 6, sides), kNotAvailable);
    EXPECT_EQ(sfri2d(8, 3, 2, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), 6, sides), kDataError);
    tables.noetri[2] = 5; // node 3 is not in triangle 5
    modini = 2;
    {
        ConsoleCapture capture;
        locate(tables, 3, 4, 6, code);
        EXPECT_EQ(code, kDataError);
        EXPECT_NE(capture.text().find("STRUCTURE INCORRECTE"), std::string::npos);
    }
    tables = fan();
    tables.noetri[2] = 1;      // from node 3 in triangle 1, the edge 3 -> 1 is its face 3
    tables.ITRNOE()(2, 1) = 9; // and triangle 2 across it no longer holds node 1
    {
        ConsoleCapture capture;
        locate(tables, 3, 1, 6, code);
        EXPECT_EQ(code, kDataError);
        EXPECT_NE(capture.text().find("STRUCTURE INCORRECTE 3"), std::string::npos);
    }
    modini = 0;
    // neighbours going round in a loop that never comes back to the start
    tables = fan();
    tables.noetri[0] = 1;
    tables.ITRTRI()(1, 1) = 2;
    tables.ITRTRI()(2, 1) = 2;
    locate(tables, 1, 9, 6, code);
    EXPECT_EQ(code, kDataError);
}

TEST(Sesfr1, StepsAcrossAFace)
{
    Tables tables = fan(3);
    int32_t next = -1, back = -1;
    ASSERT_EQ(sesfr1(1, 3, tables.ITRTRI(), 3, next, back), kOk); // 3 -> 1, held by 2 as 1 -> 3
    EXPECT_EQ(next, 2);
    EXPECT_EQ(back, 1);
    tables.ITRTRI()(1, 3) = -2; // a border mark does not stop the step
    tables.ITRTRI()(2, 1) = -1;
    ASSERT_EQ(sesfr1(1, 3, tables.ITRTRI(), 3, next, back), kOk);
    EXPECT_EQ(next, 2);
    EXPECT_EQ(back, 1);
    ASSERT_EQ(sesfr1(1, 2, tables.ITRTRI(), 3, next, back), kOk);
    EXPECT_EQ(next, 0);
    EXPECT_EQ(back, 0);
    tables.ITRTRI()(2, 1) = 0;
    ASSERT_EQ(sesfr1(1, 3, tables.ITRTRI(), 3, next, back), kOk);
    EXPECT_EQ(next, 2);
    EXPECT_EQ(back, 0);
    EXPECT_EQ(sesfr1(4, 1, tables.ITRTRI(), 3, next, back), kDataError);
    EXPECT_EQ(sesfr1(1, 4, tables.ITRTRI(), 3, next, back), kDataError);
    tables.ITRTRI()(1, 3) = 7;
    EXPECT_EQ(sesfr1(1, 3, tables.ITRTRI(), 3, next, back), kDataError);
}

TEST(Sesfr2, InteriorNodeEndsBeforeTheStart)
{
    Tables tables = fan();
    int32_t element = 0, face = 0;
    ASSERT_EQ(sesfr2(1, 2, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), 6, element, face), kOk);
    // NOETRI(1) = 6; the walk crosses the faces ending at 1 through 6, 1, 2, ..., 5 and
    // stops at 5, whose face 3 (from 7 to 1) leads back to 6
    EXPECT_EQ(tables.noetri[0], 6);
    EXPECT_EQ(element, 5);
    EXPECT_EQ(face, 3);
}

TEST(Sesfr2, BoundaryNodeStopsAtTheOpenFace)
{
    Tables tables = fan(3);
    tables.noetri[0] = 1; // from triangle 1 through 2 to 3, whose face 3 from 5 to 1 is outer
    int32_t element = 0, face = 0;
    ASSERT_EQ(sesfr2(1, 2, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), 3, element, face), kOk);
    EXPECT_EQ(element, 3);
    EXPECT_EQ(face, 3);
    ASSERT_EQ(sesfr2(4, 2, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), 3, element, face), kOk);
    EXPECT_EQ(element, 2);
    EXPECT_EQ(face, 2);
}

TEST(Sesfr2, EveryNodeOfARandomGrid)
{
    std::mt19937 random(4);
    const GridTriangulation grid(5, 6, random);
    Tables tables(3, 3, grid.triangleCount, grid.nodeCount, 1024);
    tables.nodeRows = grid.triangles;
    ASSERT_EQ(smacre(2, tables.ITRNOE(), grid.triangleCount, grid.nodeCount, tables.ITRNOE(), tables.ITRTRI(),
                     tables.NOETRI(), tables.WORK()),
              kOk);
    for (int32_t p = 1; p <= grid.nodeCount; ++p) {
        int32_t element = 0, face = 0;
        ASSERT_EQ(sesfr2(p, 2, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), grid.triangleCount, element, face),
                  kOk);
        ASSERT_GE(face, 1);
        EXPECT_EQ(tables.ITRNOE()(element, face % 3 + 1), p); // the face ends at p
        const int32_t i = (p - 1) % 6, j = (p - 1) / 6;
        const bool boundary = i == 0 || i == 5 || j == 0 || j == 6;
        EXPECT_EQ(tables.ITRTRI()(element, face), boundary ? 0 : tables.noetri[std::size_t(p - 1)]) << p;
    }
}

TEST(Sesfr2, FailureCodes)
{
    Tables tables = fan();
    int32_t element = 0, face = 0;
    EXPECT_EQ(sesfr2(1, 3, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), 6, element, face), kNotAvailable);
    EXPECT_EQ(sesfr2(9, 2, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), 6, element, face), kDataError);
    EXPECT_EQ(face, -1);
    tables.noetri[1] = 4; // node 2 is not in triangle 4
    EXPECT_EQ(sesfr2(2, 2, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), 6, element, face), kDataError);
    EXPECT_EQ(face, -1);
    tables = fan();
    tables.ITRTRI()(5, 1) = 0; // 6 names 5, which does not name 6 back
    EXPECT_EQ(sesfr2(1, 2, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), 6, element, face), kDataError);
    tables.noetri[1] = 0;
    ASSERT_EQ(sesfr2(2, 2, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), 6, element, face), kOk);
    EXPECT_EQ(element, 0);
}

} // namespace
} // namespace tesmo
