#include "topology/st_struct.hpp"

#include "topology/st_3dstruct.hpp"
#include "topology/st_generic.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace tesmo {
namespace {

std::vector<int32_t> items(const LocalSet& set) { return {set.item, set.item + set.count}; }

TEST(Strnbn, CountsLeadingNodesOnly)
{
    const int32_t rows[] = {4, 5, 6, 0, 0, 7, 0, 0, 1, 2, 3, 4};
    const Rows<const int32_t> ITRNOE(rows, 4, 3);
    EXPECT_EQ(strnbn(1, ITRNOE), 3);
    EXPECT_EQ(strnbn(2, ITRNOE), 0);
    EXPECT_EQ(strnbn(3, ITRNOE), 4);
    EXPECT_EQ(strnbn(4, ITRNOE), -1);
    EXPECT_EQ(strnbn(0, ITRNOE), -1);
}

TEST(Strnbc, FaceCountsByDimensionAndType)
{
    int32_t faces = -5;
    ASSERT_EQ(strnbc(2, 1, faces), kOk);
    EXPECT_EQ(faces, 2);
    ASSERT_EQ(strnbc(4, 2, faces), kOk);
    EXPECT_EQ(faces, 4);
    ASSERT_EQ(strnbc(0, 3, faces), kOk);
    EXPECT_EQ(faces, 0);
    const int32_t types[] = {4, 5, 6, 8};
    const int32_t expected[] = {4, 5, 6, 6};
    for (int i = 0; i < 4; ++i) {
        ASSERT_EQ(strnbc(types[i], 3, faces), kOk);
        EXPECT_EQ(faces, expected[i]);
    }
    for (const int32_t type : {1, 2, 3, 7, 9}) {
        EXPECT_EQ(strnbc(type, 3, faces), kDataError) << type;
    }
    EXPECT_EQ(strnbc(3, 4, faces), kDataError);
    EXPECT_EQ(strnbc(-1, 2, faces), kDataError);
}

TEST(FaceConventions, PolygonsAndEdges)
{
    LocalSet set;
    ASSERT_EQ(strksf(2, 3, 3, set), kOk);
    EXPECT_EQ(items(set), (std::vector<int32_t>{3, 1}));
    ASSERT_EQ(strksf(1, 2, 2, set), kOk);
    EXPECT_EQ(items(set), (std::vector<int32_t>{2}));
    ASSERT_EQ(strkfs(2, 1, 4, set), kOk);
    EXPECT_EQ(items(set), (std::vector<int32_t>{4, 1}));
    ASSERT_EQ(strkfs(2, 3, 4, set), kOk);
    EXPECT_EQ(items(set), (std::vector<int32_t>{2, 3}));
    ASSERT_EQ(strkfs(1, 2, 2, set), kOk);
    EXPECT_EQ(items(set), (std::vector<int32_t>{2}));
    EXPECT_EQ(strksf(2, 3, 4, set), kDataError);
    EXPECT_EQ(strkfs(2, 0, 3, set), kDataError);
    EXPECT_EQ(strksf(5, 3, 1, set), kDataError);
}

TEST(FaceConventions, SolidsReadTheTypeTables)
{
    stinit();
    LocalSet set;
    ASSERT_EQ(strksf(3, 4, 1, set), kOk);
    EXPECT_EQ(items(set), (std::vector<int32_t>{2, 4, 3}));
    ASSERT_EQ(strkfs(3, 1, 4, set), kOk);
    EXPECT_EQ(items(set), (std::vector<int32_t>{2, 4, 3}));
    ASSERT_EQ(strksf(3, 8, 6, set), kOk);
    EXPECT_EQ(items(set), (std::vector<int32_t>{5, 8, 7, 6}));
    ASSERT_EQ(strkfs(3, 7, 8, set), kOk);
    EXPECT_EQ(items(set), (std::vector<int32_t>{4, 6, 3}));
    EXPECT_EQ(strksf(3, 6, 1, set), kDataError);
    EXPECT_EQ(strkfs(3, 1, 5, set), kDataError);
    EXPECT_EQ(strksf(3, 4, 5, set), kDataError);
}

TEST(Stfasu, FaceWhereTheWalkContinues)
{
    stinit();
    EXPECT_EQ(stfasu(2, 3, 1), 3);
    EXPECT_EQ(stfasu(2, 3, 3), 2);
    EXPECT_EQ(stfasu(2, 4, 1), 4);
    EXPECT_EQ(stfasu(3, 4, 1, 2), 3); // row 2, column 1 of the edge-to-face table
    EXPECT_EQ(stfasu(3, 4, 3, 4), 1);
    EXPECT_EQ(stfasu(1, 2, 1), -1);
    EXPECT_EQ(stfasu(2, 3, 4), -1);
    EXPECT_EQ(stfasu(3, 8, 1, 2), -1);
}

TEST(Tnofrt, NodesOfAFaceWhateverItsSign)
{
    const int32_t rows[] = {7, 8, 9};
    const Rows<const int32_t> ITRNOE(rows, 3, 1);
    LocalSet nodes;
    ASSERT_EQ(tnofrt(2, ITRNOE, 1, -3, nodes), kOk);
    EXPECT_EQ(items(nodes), (std::vector<int32_t>{9, 7}));
    EXPECT_EQ(tnofrt(2, ITRNOE, 2, 1, nodes), kDataError);
    EXPECT_EQ(tnofrt(2, ITRNOE, 1, 4, nodes), kDataError);
}

TEST(Sfaide, PolygonsSharingAFace)
{
    const int32_t a[] = {1, 2, 3};
    const int32_t b[] = {3, 2, 4};
    const int32_t c[] = {2, 3, 4};
    const int32_t far[] = {5, 6, 7};
    FaceMatch match;
    ASSERT_EQ(sfaide(a, 3, b, 3, 2, match), kOk);
    EXPECT_EQ(match.result, 1);
    EXPECT_EQ(match.faceA, 2);
    EXPECT_EQ(match.faceB, 1);
    ASSERT_EQ(sfaide(a, 3, c, 3, 2, match), kOk);
    EXPECT_EQ(match.result, -1);
    EXPECT_EQ(match.faceA, 2);
    EXPECT_EQ(match.faceB, 1);
    ASSERT_EQ(sfaide(a, 3, far, 3, 2, match), kOk);
    EXPECT_EQ(match.result, 0);
    // the wrapping face 3 -> 1 of A against a quadrilateral
    const int32_t quad[] = {1, 3, 8, 9};
    ASSERT_EQ(sfaide(a, 3, quad, 4, 2, match), kOk);
    EXPECT_EQ(match.result, 1);
    EXPECT_EQ(match.faceA, 3);
    EXPECT_EQ(match.faceB, 1);
}

TEST(Sfaide, EdgesShareANode)
{
    const int32_t a[] = {1, 2};
    const int32_t follows[] = {2, 3};
    const int32_t against[] = {3, 2};
    FaceMatch match;
    ASSERT_EQ(sfaide(a, 2, follows, 2, 1, match), kOk);
    EXPECT_EQ(match.result, 1);
    EXPECT_EQ(match.faceA, 2);
    EXPECT_EQ(match.faceB, 1);
    ASSERT_EQ(sfaide(a, 2, against, 2, 1, match), kOk);
    EXPECT_EQ(match.result, -1);
    EXPECT_EQ(match.faceB, 2);
}

TEST(Sfaide, SolidsShareAFaceOfTheTables)
{
    stinit();
    // two tetrahedra on each side of the face (1, 2, 3)
    const int32_t below[] = {1, 2, 3, 4};
    const int32_t above[] = {1, 3, 2, 5};
    const int32_t sameWay[] = {1, 2, 3, 5};
    FaceMatch match;
    ASSERT_EQ(sfaide(below, 4, above, 4, 3, match), kOk);
    EXPECT_EQ(match.result, 1);
    EXPECT_EQ(match.faceA, 4);
    EXPECT_EQ(match.faceB, 4);
    ASSERT_EQ(sfaide(below, 4, sameWay, 4, 3, match), kOk);
    EXPECT_EQ(match.result, -1);
    // a tetrahedron on the bottom face of a hexahedron: no common face of 3 and 4 nodes
    const int32_t hexahedron[] = {1, 2, 3, 4, 5, 6, 7, 8};
    ASSERT_EQ(sfaide(below, 4, hexahedron, 8, 3, match), kOk);
    EXPECT_EQ(match.result, 0);
    const int32_t prism[] = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(sfaide(below, 4, prism, 6, 3, match), kDataError);
}

TEST(Sinvor, ReversesNodesAndNeighboursFaceByFace)
{
    int32_t triangle[] = {1, 2, 3};
    int32_t across[] = {10, 20, 30};
    ASSERT_EQ(sinvor(3, 2, triangle, across), kOk);
    EXPECT_EQ(std::vector<int32_t>(triangle, triangle + 3), (std::vector<int32_t>{1, 3, 2}));
    EXPECT_EQ(std::vector<int32_t>(across, across + 3), (std::vector<int32_t>{30, 20, 10}));

    int32_t quad[] = {1, 2, 3, 4};
    int32_t quadAcross[] = {10, 20, 30, 40};
    ASSERT_EQ(sinvor(4, 2, quad, quadAcross), kOk);
    EXPECT_EQ(std::vector<int32_t>(quad, quad + 4), (std::vector<int32_t>{1, 4, 3, 2}));
    EXPECT_EQ(std::vector<int32_t>(quadAcross, quadAcross + 4), (std::vector<int32_t>{40, 30, 20, 10}));

    int32_t edge[] = {5, 6};
    int32_t edgeAcross[] = {-7, 8};
    ASSERT_EQ(sinvor(2, 1, edge, edgeAcross), kOk);
    EXPECT_EQ(edge[0], 6);
    EXPECT_EQ(edgeAcross[0], 8);
    EXPECT_EQ(edgeAcross[1], -7);

    int32_t tetrahedron[] = {1, 2, 3, 4};
    int32_t tetAcross[] = {1, 2, 3, 4};
    ASSERT_EQ(sinvor(4, 3, tetrahedron, tetAcross), kOk);
    EXPECT_EQ(std::vector<int32_t>(tetrahedron, tetrahedron + 4), (std::vector<int32_t>{1, 3, 2, 4}));
    EXPECT_EQ(std::vector<int32_t>(tetAcross, tetAcross + 4), (std::vector<int32_t>{1, 3, 2, 4}));
}

TEST(Sinvor, EdgeOfOneNodeKeepsItsNode)
{
    int32_t point[] = {5, 0};
    int32_t across[] = {3, 0};
    ASSERT_EQ(sinvor(1, 1, point, across), kOk);
    EXPECT_EQ(point[0], 5);
    EXPECT_EQ(across[0], 3);
}

TEST(Sinvor, OnlyTheTetrahedronAmongSolids)
{
    int32_t hexahedron[] = {1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_EQ(sinvor(8, 3, hexahedron, nullptr), kNotAvailable);
    EXPECT_EQ(hexahedron[1], 2);
    EXPECT_EQ(sinvor(3, 0, hexahedron, nullptr), kDataError);
}

} // namespace
} // namespace tesmo
