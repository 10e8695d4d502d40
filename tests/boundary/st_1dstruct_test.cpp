#include "boundary/st_1dstruct.hpp"

#include "shell/es_chaine.hpp"
#include "shell/es_erreur.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace tesmo {
namespace {

/// An edge list of capacity `capacity` holding the listed edges, with neighbour rows.
struct EdgeList {
    EdgeList(std::vector<int32_t> pairs, std::vector<int32_t> links, int32_t capacity)
        : edges(std::size_t(2 * capacity), 0), neighbours(std::size_t(2 * capacity), 0),
          m(int32_t(pairs.size() / 2))
    {
        std::copy(pairs.begin(), pairs.end(), edges.begin());
        std::copy(links.begin(), links.end(), neighbours.begin());
    }
    Rows<int32_t> EDGES() { return Rows<int32_t>(edges.data(), 2, int32_t(edges.size() / 2)); }
    Rows<int32_t> LINKS() { return Rows<int32_t>(neighbours.data(), 2, int32_t(neighbours.size() / 2)); }
    std::vector<int32_t> edge(int32_t e) const { return {edges[std::size_t(2 * e - 2)], edges[std::size_t(2 * e - 1)]}; }
    std::vector<int32_t> link(int32_t e) const
    {
        return {neighbours[std::size_t(2 * e - 2)], neighbours[std::size_t(2 * e - 1)]};
    }
    std::vector<int32_t> edges;
    std::vector<int32_t> neighbours;
    int32_t m;
};

TEST(S1ajno, SplitTwiceCutsTheFirstHalfAgain)
{
    // border 1 -> 2 -> 3 as edges 1 = (1, 2), 2 = (2, 3)
    EdgeList list({1, 2, 2, 3}, {0, 2, 1, 0}, 4);
    std::vector<int32_t> nodeEdge(6, 0);
    int32_t edge = 0;
    ASSERT_EQ(s1ajno(1, 5, list.m, list.EDGES(), list.LINKS(), Vec<int32_t>(nodeEdge.data(), 6), edge), kOk);
    EXPECT_EQ(edge, 3);
    EXPECT_EQ(list.m, 3);
    EXPECT_EQ(list.edge(1), (std::vector<int32_t>{1, 5}));
    EXPECT_EQ(list.edge(3), (std::vector<int32_t>{5, 2}));
    EXPECT_EQ(list.link(1), (std::vector<int32_t>{0, 3}));
    EXPECT_EQ(list.link(3), (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(list.link(2), (std::vector<int32_t>{3, 0}));
    EXPECT_EQ(nodeEdge[4], 3);
    EXPECT_EQ(nodeEdge[1], 3);
    ASSERT_EQ(s1ajno(1, 6, list.m, list.EDGES(), list.LINKS(), Vec<int32_t>(nodeEdge.data(), 6), edge), kOk);
    EXPECT_EQ(edge, 4);
    EXPECT_EQ(list.edge(1), (std::vector<int32_t>{1, 6}));
    EXPECT_EQ(list.edge(4), (std::vector<int32_t>{6, 5}));
    EXPECT_EQ(list.link(4), (std::vector<int32_t>{1, 3}));
    EXPECT_EQ(list.link(3), (std::vector<int32_t>{4, 2}));
}

TEST(S1ajno, NegativeNextNeighbourKeepsItsSign)
{
    EdgeList list({1, 2, 2, 3}, {0, -2, 1, 0}, 3);
    int32_t edge = 0;
    ASSERT_EQ(s1ajno(1, 4, list.m, list.EDGES(), list.LINKS(), Vec<int32_t>(), edge), kOk);
    EXPECT_EQ(list.link(3), (std::vector<int32_t>{1, -2}));
    EXPECT_EQ(list.link(2), (std::vector<int32_t>{-3, 0}));
    EXPECT_EQ(list.link(1), (std::vector<int32_t>{0, 3}));
}

TEST(S1ajno, WithoutNeighbourTable)
{
    EdgeList list({1, 2}, {}, 2);
    int32_t edge = 0;
    ASSERT_EQ(s1ajno(1, 3, list.m, list.EDGES(), Rows<int32_t>(), Vec<int32_t>(), edge), kOk);
    EXPECT_EQ(list.edge(2), (std::vector<int32_t>{3, 2}));
    EXPECT_EQ(list.neighbours, std::vector<int32_t>(4, 0));
}

TEST(S1ajno, FailureCodes)
{
    EdgeList list({1, 2, 4, 0}, {0, 0, 0, 0}, 3);
    int32_t edge = 9;
    modini = 2;
    {
        ConsoleCapture capture;
        EXPECT_EQ(s1ajno(0, 5, list.m, list.EDGES(), list.LINKS(), Vec<int32_t>(), edge), kDataError);
        EXPECT_EQ(edge, 0);
        EXPECT_NE(capture.text().find("DANS S1AJNO : NUMERO INCORRECT"), std::string::npos);
    }
    {
        ConsoleCapture capture;
        EXPECT_EQ(s1ajno(2, 5, list.m, list.EDGES(), list.LINKS(), Vec<int32_t>(), edge), kDataError);
        EXPECT_NE(capture.text().find("DANS S1AJNO : PAS D ARETE A DECOUPER"), std::string::npos);
    }
    modini = 0;
    EXPECT_EQ(s1ajno(1, 0, list.m, list.EDGES(), list.LINKS(), Vec<int32_t>(), edge), kDataError);
    EXPECT_EQ(s1ajno(3, 5, list.m, list.EDGES(), list.LINKS(), Vec<int32_t>(), edge), kDataError); // beyond m
    // node 5 beyond the node-to-edge table: row 3 is written, m unchanged
    std::vector<int32_t> nodeEdge(4, 0);
    EXPECT_EQ(s1ajno(1, 5, list.m, list.EDGES(), list.LINKS(), Vec<int32_t>(nodeEdge.data(), 4), edge), kCapacityError);
    EXPECT_EQ(list.m, 2);
    EXPECT_EQ(list.edge(1), (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(list.edge(3), (std::vector<int32_t>{5, 2}));
    // edge list full
    EdgeList full({1, 2}, {0, 0}, 1);
    EXPECT_EQ(s1ajno(1, 3, full.m, full.EDGES(), full.LINKS(), Vec<int32_t>(), edge), kCapacityError);
    EXPECT_EQ(full.edge(1), (std::vector<int32_t>{1, 2}));
    // a next neighbour beyond the edges
    EdgeList wrong({1, 2}, {0, 5}, 2);
    EXPECT_EQ(s1ajno(1, 3, wrong.m, wrong.EDGES(), wrong.LINKS(), Vec<int32_t>(), edge), kDataError);
}

} // namespace
} // namespace tesmo
