#include "boundary/st_1dstruct.hpp"

#include "messages/es_chaine.hpp"
#include "messages/es_erreur.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace tesmo {
namespace {

using V = std::vector<int32_t>;

/// An edge list of `capacity` rows holding `pairs`, with the neighbour rows `links`.
struct EdgeList {
    EdgeList(V pairs, V links, int32_t capacity) : edges(pairs), neighbours(links), m(int32_t(pairs.size() / 2))
    {
        edges.resize(std::size_t(2 * capacity), 0);
        neighbours.resize(std::size_t(2 * capacity), 0);
    }
    int split(int32_t e, int32_t q, V& nodeEdge, bool linked = true)
    {
        const Rows<int32_t> links = linked ? Rows<int32_t>(neighbours.data(), 2, int32_t(neighbours.size() / 2)) : Rows<int32_t>();
        return s1ajno(e, q, m, Rows<int32_t>(edges.data(), 2, int32_t(edges.size() / 2)), links,
                      Vec<int32_t>(nodeEdge.data(), int32_t(nodeEdge.size())), edge);
    }
    V edges, neighbours;
    int32_t m, edge = -1;
};

TEST(S1ajno, SplitTwiceCutsTheFirstHalfAgain)
{
    EdgeList list({1, 2, 2, 3}, {0, 2, 1, 0}, 4); // border 1 -> 2 -> 3
    V nodeEdge(6, 0);
    ASSERT_EQ(list.split(1, 5, nodeEdge), kOk);
    EXPECT_EQ(list.edge, 3);
    EXPECT_EQ(list.edges, (V{1, 5, 2, 3, 5, 2, 0, 0}));
    EXPECT_EQ(list.neighbours, (V{0, 3, 3, 0, 1, 2, 0, 0}));
    EXPECT_EQ(nodeEdge, (V{0, 3, 0, 0, 3, 0}));
    ASSERT_EQ(list.split(1, 6, nodeEdge), kOk);
    EXPECT_EQ(list.m, 4);
    EXPECT_EQ(list.edges, (V{1, 6, 2, 3, 5, 2, 6, 5}));
    EXPECT_EQ(list.neighbours, (V{0, 4, 3, 0, 4, 2, 1, 3}));
}

TEST(S1ajno, NegativeNextNeighbourKeepsItsSign)
{
    EdgeList list({1, 2, 2, 3}, {0, -2, 1, 0}, 3);
    V none;
    ASSERT_EQ(list.split(1, 4, none), kOk);
    EXPECT_EQ(list.neighbours, (V{0, 3, -3, 0, 1, -2}));
    EdgeList bare({1, 2}, {}, 2);
    ASSERT_EQ(bare.split(1, 3, none, false), kOk);
    EXPECT_EQ(bare.edges, (V{1, 3, 3, 2}));
}

TEST(S1ajno, FailureCodes)
{
    EdgeList list({1, 2, 4, 0}, {0, 0, 0, 0}, 3);
    V none, shortTable(4, 0);
    modini = 2;
    ConsoleCapture capture;
    EXPECT_EQ(list.split(0, 5, none), kDataError);
    EXPECT_EQ(list.edge, 0);
    EXPECT_EQ(list.split(2, 5, none), kDataError); // no second node
    modini = 0;
    EXPECT_NE(capture.text().find("DANS S1AJNO : NUMERO INCORRECT"), std::string::npos);
    EXPECT_NE(capture.text().find("DANS S1AJNO : PAS D ARETE A DECOUPER"), std::string::npos);
    EXPECT_EQ(list.split(1, 0, none), kDataError);
    EXPECT_EQ(list.split(3, 5, none), kDataError); // beyond m
    EXPECT_EQ(list.split(1, 5, shortTable), kCapacityError); // node 5 beyond NOEMAX: row 3 written, m unchanged
    EXPECT_EQ(list.m, 2);
    EXPECT_EQ(list.edges, (V{1, 2, 4, 0, 5, 2}));
    EdgeList full({1, 2}, {0, 0}, 1);
    EXPECT_EQ(full.split(1, 3, none), kCapacityError);
    EXPECT_EQ(full.edges, (V{1, 2}));
    EdgeList wrong({1, 2}, {0, 5}, 2);
    EXPECT_EQ(wrong.split(1, 3, none), kDataError); // a next neighbour beyond the edges
}

} // namespace
} // namespace tesmo
