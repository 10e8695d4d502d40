#include "topology/st_topologie.hpp"

#include "support/mesh_fixture.hpp"
#include "topology/st_generic.hpp"
#include "topology/st_geometrie.hpp"

#include <gtest/gtest.h>

#include <numeric>

namespace tesmo {
namespace {

using testing::Grid;
using testing::Tables;
using V = std::vector<int32_t>;

Tables built(int32_t d, int32_t slots, const std::vector<V>& elements, int32_t nodes)
{
    Tables t(slots, slots, elements, nodes);
    EXPECT_EQ(t.smacre(d), kOk);
    return t;
}

TEST(Smacre, WorkedExamples)
{
    Tables pair = built(2, 3, {{1, 2, 3}, {3, 2, 4}}, 4);
    EXPECT_EQ(pair.across(1), (V{0, 2, 0}));
    EXPECT_EQ(pair.across(2), (V{1, 0, 0}));
    EXPECT_EQ(pair.noetri, (V{1, 2, 2, 2})); // the last element wins
    Tables fourSlots = built(2, 4, {{1, 2, 3, 0}, {3, 2, 5, 4}}, 5);
    EXPECT_EQ(fourSlots.across(1), (V{0, 2, 0, 0}));
    EXPECT_EQ(fourSlots.across(2), (V{1, 0, 0, 0}));
    Tables loop = built(1, 2, {{1, 2}, {2, 3}, {3, 1}}, 3);
    EXPECT_EQ(loop.across(3), (V{2, 1}));
    stinit();
    Tables solids = built(3, 4, {{1, 2, 3, 4}, {1, 3, 2, 5}}, 5);
    EXPECT_EQ(solids.across(1), (V{0, 0, 0, 2}));
    Tables holes = built(2, 3, {{0, 0, 0}, {1, 2, 3}}, 3);
    EXPECT_EQ(holes.neighbourRows, V(6, 0));
    Tables deleted = built(2, 3, {{0, 0, 0}}, 0); // no node at all: no bucket size to divide by
    EXPECT_EQ(deleted.neighbourRows, V(3, 0));
    for (Tables* t : {&pair, &fourSlots, &holes}) {
        EXPECT_EQ(t->check(2), "");
    }
    EXPECT_EQ(loop.check(1), "");
    EXPECT_EQ(solids.check(3), "");
}

TEST(Smacre, GridNeighboursAreTheTrianglesAcrossEachEdgeWhateverTheWork)
{
    std::mt19937 random(11);
    const Grid grid(9, 7, random, true);
    for (const int32_t workSize : {1 << 16, 2 * grid.nodeCount(), 0}) {
        Tables t = grid.tables();
        t.work.assign(std::size_t(workSize), 0);
        ASSERT_EQ(t.smacre(2), kOk);
        EXPECT_EQ(t.check(2), "");
        const auto faces = testing::directedFaces(t);
        for (int32_t e = 1; e <= t.NBE; ++e) {
            for (int32_t k = 1; k <= 3; ++k) {
                const auto other = faces.find({t.ITRNOE()(e, k % 3 + 1), t.ITRNOE()(e, k)});
                ASSERT_EQ(t.ITRTRI()(e, k), other == faces.end() ? 0 : other->second.first) << workSize;
            }
        }
    }
}

/// Triangles drawn among few nodes share faces three or more times, repeat nodes or are
/// deleted: which neighbour wins then depends on the order of the comparisons, so the
/// indexed search must make those of the buckets, including the scan past a full bucket.
TEST(Smacre, IndexedSearchMakesTheComparisonsOfTheBuckets)
{
    std::mt19937 random(2024);
    int crowded = 0;
    for (int trial = 0; trial < 300; ++trial) {
        const int32_t nodes = 3 + int32_t(random() % 12), NBE = 1 + int32_t(random() % 40), NNE = 3 + trial % 2;
        std::vector<V> elements;
        V degree(std::size_t(nodes) + 1, 0);
        for (int32_t e = 1; e <= NBE; ++e) {
            V row(std::size_t(NNE), 0);
            for (int32_t k = 0, n = random() % 10 == 0 ? 0 : 3 + int32_t(random() % uint32_t(NNE - 2)); k < n; ++k) {
                row[std::size_t(k)] = 1 + int32_t(random() % uint32_t(nodes));
                ++degree[std::size_t(row[std::size_t(k)])];
            }
            elements.push_back(row);
        }
        const int32_t workSize = nodes + 2 * NBE * NNE + int32_t(random() % uint32_t(nodes * NBE));
        crowded += *std::max_element(degree.begin(), degree.end()) >= std::min(NBE, workSize / nodes) - 1;
        Tables indexed(NNE, NNE, elements, 0, workSize), buckets = indexed;
        for (auto [t, search] : {std::pair{&indexed, NeighbourSearch::kIndexed}, {&buckets, NeighbourSearch::kBuckets}}) {
            ASSERT_EQ(smacreUsing(search, 2, t->ITRNOE(), NBE, 0, t->ITRNOE(), t->ITRTRI(), Vec<int32_t>(), t->WORK()), kOk);
        }
        ASSERT_EQ(indexed.neighbourRows, buckets.neighbourRows) << "trial " << trial;
    }
    EXPECT_GT(crowded, 50);
}

TEST(Smacre, FailureCodes)
{
    Tables t(3, 3, {{1, 2, 3}, {3, 2, 4}}, 4);
    const auto run = [&](int32_t NBE, int32_t NFE, int32_t noetriSize, int32_t nodeCount = 4) {
        return smacre(2, t.ITRNOE(), NBE, nodeCount, t.ITRNOE(), Rows<int32_t>(t.neighbourRows.data(), NFE, 6 / NFE),
                      t.NOETRI().slice(1, noetriSize), t.WORK());
    };
    EXPECT_EQ(run(-1, 3, 4), kDataError);
    EXPECT_EQ(run(3, 3, 4), kCapacityError);    // NBE beyond the rows
    EXPECT_EQ(run(2, 3, 3), kCapacityError);    // NOETRI below the largest node
    EXPECT_EQ(run(2, 3, 4, 5), kCapacityError); // NOETRI below the node count
    EXPECT_EQ(run(2, 2, 4), kCapacityError);    // three faces in two slots
    t.neighbourRows.assign(6, 9);
    EXPECT_EQ(run(0, 3, 4), kOk);
    EXPECT_EQ(t.neighbourRows, V(6, 9));
    t.ITRNOE()(2, 2) = -2;
    EXPECT_EQ(run(2, 3, 4), kDataError);
    stinit();
    Tables prism(6, 6, {{1, 2, 3, 4, 5, 6}}, 6);
    EXPECT_EQ(prism.smacre(3), kDataError);
}

TEST(Sorien, SecondTriangleIsReversedWithItsNeighbourRow)
{
    Tables t = built(2, 3, {{1, 2, 3}, {2, 3, 4}}, 4);
    int32_t groups = 0;
    ASSERT_EQ(sorien(2, t.ITRNOE(), t.ITRTRI(), 2, t.WORK().slice(3, 8), t.WORK().slice(1, 2), groups), kOk);
    EXPECT_EQ(groups, 1);
    EXPECT_EQ(t.nodesOf(1), (V{1, 2, 3}));
    EXPECT_EQ(t.nodesOf(2), (V{2, 4, 3}));
    EXPECT_EQ(t.across(2), (V{0, 0, 1}));
    EXPECT_EQ(t.check(2, false), "");
}

TEST(Sorien, GridFollowsItsLowestElement)
{
    std::mt19937 random(3);
    Grid grid(8, 5, random, true);
    for (auto& triangle : grid.triangles) {
        if (random() % 2 == 0) {
            std::swap(triangle[1], triangle[2]);
        }
    }
    Tables t = grid.tables();
    const int32_t wanted = gorien(t.ITRNOE().row(1), 3, 2, grid.COORD(), 0.0f);
    ASSERT_EQ(t.smacre(2), kOk);
    int32_t groups = 0;
    ASSERT_EQ(sorien(2, t.ITRNOE(), t.ITRTRI(), t.NBE, t.WORK().slice(t.NBE + 1, 1000), t.WORK().slice(1, t.NBE), groups),
              kOk);
    EXPECT_EQ(groups, 1);
    for (int32_t e = 1; e <= t.NBE; ++e) {
        EXPECT_EQ(gorien(t.ITRNOE().row(e), 3, 2, grid.COORD(), 0.0f), wanted) << e;
    }
    EXPECT_EQ(t.check(2), "");
}

TEST(Sorien, FailureCodes)
{
    // element 1 has two neighbours; element 4 stands alone
    Tables t = built(2, 3, {{1, 2, 3}, {3, 2, 4}, {1, 3, 5}, {6, 7, 8}}, 8);
    int32_t groups = 0;
    const auto orient = [&](int32_t NBE, int32_t stackSize, int32_t markCount) {
        return sorien(2, t.ITRNOE(), t.ITRTRI(), NBE, t.WORK().slice(5, stackSize), t.WORK().slice(1, markCount), groups);
    };
    EXPECT_EQ(orient(4, 3, 4), kCapacityError); // not one record
    EXPECT_EQ(orient(4, 8, 3), kCapacityError); // marks
    EXPECT_EQ(orient(-1, 8, 4), kDataError);
    EXPECT_EQ(orient(4, 7, 4), kCapacityError); // the two neighbours of element 1 need 8 values
    ASSERT_EQ(orient(4, 8, 4), kOk);
    EXPECT_EQ(groups, 2);
    t.ITRTRI()(1, 1) = 4; // element 4 shares no face with element 1
    EXPECT_EQ(orient(4, 8, 4), kDataError);
    t.ITRTRI()(1, 1) = 5;
    EXPECT_EQ(orient(4, 8, 4), kDataError);
}

TEST(Smaocr, MakesEachGroupCounterClockwiseByItsLowestElement)
{
    // two squares apart, the first clockwise, the second with only its lowest triangle clockwise
    const std::vector<float> coord = {0, 0, 1, 0, 1, 1, 0, 1, 5, 0, 6, 0, 6, 1, 5, 1};
    Tables t(3, 3, {{1, 3, 2}, {5, 7, 6}, {1, 4, 3}, {5, 8, 7}}, 8);
    int32_t groups = 0;
    ASSERT_EQ(smaocr(2, t.ITRNOE(), 4, 8, t.ITRNOE(), t.ITRTRI(), t.NOETRI(), Rows<const float>(coord.data(), 2, 8),
                     t.WORK(), groups),
              kOk);
    EXPECT_EQ(groups, 2);
    for (int32_t e = 1; e <= 4; ++e) {
        EXPECT_EQ(gorien(t.ITRNOE().row(e), 3, 2, Rows<const float>(coord.data(), 2, 8), 0.0f), 1) << e;
    }
    EXPECT_EQ(t.check(2), "");
}

TEST(Smaocr, BorderLoopsInThePlaneAreCountedAndChained)
{
    const std::vector<float> coord = {0, 0, 1, 0, 0, 1, 5, 5, 6, 5, 5, 6};
    Tables t(2, 2, {{1, 2}, {2, 3}, {1, 3}, {4, 5}, {5, 6}, {6, 4}}, 6);
    int32_t groups = 0;
    ASSERT_EQ(smaocr(1, t.ITRNOE(), 6, 6, t.ITRNOE(), t.ITRTRI(), t.NOETRI(), Rows<const float>(coord.data(), 2, 6),
                     t.WORK(), groups),
              kOk);
    EXPECT_EQ(groups, 2);
    EXPECT_EQ(t.nodesOf(3), (V{3, 1}));
    EXPECT_EQ(t.check(1), "");
}

TEST(Smaocr, FailureCodes)
{
    const std::vector<float> coord = {0, 0, 1, 0, 1, 1};
    Tables t(3, 3, {{1, 2, 3}, {3, 2, 4}}, 4, 2);
    int32_t groups = 0;
    const auto run = [&](int32_t NBE) {
        return smaocr(2, t.ITRNOE(), NBE, 4, t.ITRNOE(), t.ITRTRI(), t.NOETRI(), Rows<const float>(coord.data(), 2, 3),
                      t.WORK(), groups);
    };
    EXPECT_EQ(run(2), kCapacityError); // marks and a record do not fit in 2 values
    t.work.assign(64, 0);
    EXPECT_EQ(run(-2), kDataError);
    t.ITRNOE()(1, 1) = 4; // the deciding element has a node without coordinates
    EXPECT_EQ(run(2), kDataError);
}

TEST(Sfrcre, FrontierOfTwoTrianglesIsAClosedChain)
{
    Tables triangles = built(2, 3, {{1, 2, 3}, {1, 3, 4}}, 4);
    const int32_t pairs[] = {1, 1, 2, -3, 1, 2, 2, 2};
    Tables chain(2, 2, std::vector<V>(4), 0);
    const auto run = [&](int32_t d, int32_t count, Rows<int32_t> out) {
        return sfrcre(d, Rows<const int32_t>(pairs, 2, 4), count, triangles.ITRNOE(), 2, out, chain.ITRTRI(), chain.WORK());
    };
    ASSERT_EQ(run(2, 4, chain.ITRNOE()), kOk);
    EXPECT_EQ(chain.nodeRows, (V{1, 2, 4, 1, 2, 3, 3, 4}));
    EXPECT_EQ(chain.neighbourRows, (V{2, 3, 4, 1, 1, 4, 3, 2}));
    EXPECT_EQ(chain.check(1, false), "");
    EXPECT_EQ(run(1, 4, chain.ITRNOE()), kDataError);
    EXPECT_EQ(run(2, 5, chain.ITRNOE()), kDataError);
    EXPECT_EQ(run(2, 4, Rows<int32_t>(chain.nodeRows.data(), 2, 3)), kCapacityError);
    EXPECT_EQ(run(2, 4, Rows<int32_t>(chain.nodeRows.data(), 1, 4)), kCapacityError);
}

TEST(Smadet, NeighboursForgetTheElementEvenAsMinusE)
{
    Tables t = built(2, 3, {{1, 2, 3}, {3, 2, 4}, {1, 3, 5}}, 5);
    t.ITRTRI()(1, 2) = -2; // the border edge 2-3
    t.ITRTRI()(2, 1) = -1;
    int32_t lostCount = 0;
    ASSERT_EQ(smadet(2, t.ITRNOE(), t.ITRTRI(), 3, t.NOETRI(), 1, 1, t.WORK(), lostCount), kOk);
    EXPECT_EQ(t.nodesOf(1), V(3, 0));
    EXPECT_EQ(t.neighbourRows, V(9, 0));
    EXPECT_EQ(t.check(2), "");
}

TEST(Smadet, NodesNamingTheElementMoveToANeighbourOrAreLost)
{
    Tables t = built(2, 3, {{3, 2, 4}, {1, 2, 3}}, 4);
    int32_t lostCount = 0;
    ASSERT_EQ(smadet(2, t.ITRNOE(), t.ITRTRI(), 2, t.NOETRI(), 1, 2, t.WORK().slice(1, 1), lostCount), kOk);
    EXPECT_EQ(t.noetri, (V{0, 1, 1, 1}));
    EXPECT_EQ(lostCount, 1);
    EXPECT_EQ(t.work[0], 1);
    EXPECT_EQ(t.check(2), "");
    // a bow tie about node 1: the wing going names no neighbour through node 1, so the node
    // is reported lost although the other wing still holds it
    Tables bow = built(2, 3, {{1, 2, 3}, {1, 4, 5}}, 5);
    bow.noetri[0] = 1;
    ASSERT_EQ(smadet(2, bow.ITRNOE(), bow.ITRTRI(), 2, bow.NOETRI(), 1, 1, bow.WORK(), lostCount = 0), kOk);
    EXPECT_EQ(V(bow.work.begin(), bow.work.begin() + lostCount), (V{1, 2, 3}));
}

TEST(Smadet, FailureCodes)
{
    Tables t = built(2, 3, {{1, 2, 3}, {3, 2, 4}}, 4);
    int32_t lostCount = 0;
    const auto remove = [&](int32_t e, int32_t update) {
        return smadet(2, t.ITRNOE(), t.ITRTRI(), 2, t.NOETRI(), update, e, Vec<int32_t>(), lostCount);
    };
    EXPECT_EQ(remove(0, 0), kDataError);
    EXPECT_EQ(remove(3, 0), kDataError);
    EXPECT_EQ(remove(2, 1), kCapacityError); // node 4 is lost and the list has no room
    t = built(2, 3, {{1, 2, 3}, {3, 2, 4}}, 4);
    t.ITRTRI()(2, 1) = 0; // 2 does not name 1 back
    EXPECT_EQ(remove(1, 0), kCapacityError);
    t.ITRTRI()(1, 2) = 7;
    EXPECT_EQ(remove(1, 0), kDataError);
}

TEST(Smadet, LongRandomDeletionsKeepTheStructure)
{
    std::mt19937 random(77);
    for (int trial = 0; trial < 4; ++trial) {
        const Grid grid(6 + trial, 5, random, true);
        Tables t = grid.tables();
        ASSERT_EQ(t.smacre(2), kOk);
        V order(std::size_t(t.NBE)), lost(std::size_t(grid.nodeCount()));
        std::iota(order.begin(), order.end(), 1);
        std::shuffle(order.begin(), order.end(), random);
        int32_t lostCount = 0;
        for (const int32_t e : order) {
            ASSERT_EQ(smadet(2, t.ITRNOE(), t.ITRTRI(), t.NBE, t.NOETRI(), 1, e, Vec<int32_t>(lost.data(), int32_t(lost.size())),
                             lostCount),
                      kOk);
            ASSERT_EQ(t.check(2, false), "") << e;
            for (int32_t v = 1; v <= grid.nodeCount(); ++v) { // NOETRI never names an element without the node
                const V row = t.nodesOf(std::max(t.noetri[std::size_t(v - 1)], 1));
                ASSERT_TRUE(t.noetri[std::size_t(v - 1)] == 0 || std::find(row.begin(), row.end(), v) != row.end());
            }
        }
        std::sort(lost.begin(), lost.end());
        EXPECT_EQ(lost.front(), 1);
        EXPECT_EQ(std::adjacent_find(lost.begin(), lost.end()), lost.end()); // each node lost once
    }
}

TEST(Sfricr, MarksBothSidesOfAnInteriorEdgeAndNothingElse)
{
    Tables t = built(2, 3, {{1, 2, 3}, {3, 2, 4}}, 4);
    EdgeSides sides;
    const auto mark = [&](V record, int32_t d = 2) {
        return sfricr(Vec<int32_t>(record.data(), int32_t(record.size())), d, t.ITRNOE(), t.ITRTRI(), t.NOETRI(), 2, sides);
    };
    for (int time = 0; time < 2; ++time) {
        ASSERT_EQ(mark({3, 2}), kOk);
        EXPECT_EQ(t.neighbourRows, (V{0, -2, 0, -1, 0, 0}));
    }
    ASSERT_EQ(mark({2, 1, 5}), kOk); // on the outer boundary: located, not marked
    EXPECT_EQ(V({sides.E1, sides.E2, sides.F2}), (V{0, 1, 1}));
    EXPECT_EQ(t.neighbourRows, (V{0, -2, 0, -1, 0, 0}));
    EXPECT_EQ(t.check(2), "");
    EXPECT_EQ(mark({1, 4, 9}), kDataError);
    EXPECT_EQ(mark({2, 3}, 3), kNotAvailable);
    EXPECT_EQ(mark({2, 3}, 4), kDataError);
    EXPECT_EQ(mark({2}), kDataError);
    int32_t pair[] = {1, 4};
    EXPECT_EQ(sfricr(Vec<int32_t>(pair, 2), 2, t.ITRNOE(), t.ITRTRI(), t.NOETRI(), 2, sides), kDataError);
    EXPECT_EQ(V({pair[0], pair[1]}), (V{4, 1})); // searched again exchanged, and kept so
}

TEST(Sfricr, NodeBetweenTwoEdges)
{
    Tables chain = built(1, 2, {{1, 2}, {2, 3}, {3, 1}}, 3);
    int32_t record[] = {2, 0};
    EdgeSides sides;
    ASSERT_EQ(sfricr(Vec<int32_t>(record, 2), 1, chain.ITRNOE(), chain.ITRTRI(), chain.NOETRI(), 3, sides), kOk);
    EXPECT_EQ(chain.neighbourRows, (V{3, -2, -1, 3, 2, 1}));
    EXPECT_EQ(chain.check(1), "");
}

} // namespace
} // namespace tesmo
