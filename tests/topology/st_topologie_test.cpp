#include "topology/st_topologie.hpp"

#include "mesh_fixture.hpp"
#include "support/structure_check.hpp"
#include "topology/st_generic.hpp"
#include "topology/st_geometrie.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

namespace tesmo {
namespace {

using testing::checkStructure;
using testing::GridTriangulation;
using testing::Tables;

constexpr int32_t kLargeWork = 1 << 16;

/// Tables holding the listed elements, built by smacre.
Tables built(int32_t d, int32_t NNE, int32_t NFE, const std::vector<std::vector<int32_t>>& elements, int32_t nodes,
             int32_t workSize = kLargeWork)
{
    Tables tables(NNE, NFE, int32_t(elements.size()), nodes, workSize);
    for (std::size_t e = 0; e < elements.size(); ++e) {
        tables.element(int32_t(e) + 1, elements[e]);
    }
    const int code = smacre(d, tables.ITRNOE(), int32_t(elements.size()), nodes, tables.ITRNOE(), tables.ITRTRI(),
                            tables.NOETRI(), tables.WORK());
    EXPECT_EQ(code, kOk);
    return tables;
}

/// The grid's triangles in a random order, each row rotated by a random amount.
Tables shuffledGrid(const GridTriangulation& grid, std::mt19937& random, int32_t workSize = kLargeWork)
{
    Tables tables(3, 3, grid.triangleCount, grid.nodeCount, workSize);
    std::vector<int32_t> order(std::size_t(grid.triangleCount));
    std::iota(order.begin(), order.end(), 1);
    std::shuffle(order.begin(), order.end(), random);
    for (int32_t e = 1; e <= grid.triangleCount; ++e) {
        const int32_t from = order[std::size_t(e - 1)];
        const int32_t turn = int32_t(random() % 3);
        std::vector<int32_t> row;
        for (int32_t k = 0; k < 3; ++k) {
            row.push_back(grid.rows()(from, (k + turn) % 3 + 1));
        }
        tables.element(e, row);
    }
    return tables;
}

int32_t orientation(Tables& tables, int32_t e, const GridTriangulation& grid)
{
    return gorien(tables.ITRNOE().row(e), 3, 2, grid.COORD(), 0.0f);
}

// ---------------------------------------------------------------- smacre

TEST(Smacre, TwoTrianglesBecomeNeighboursThroughFacesTwoAndOne)
{
    Tables tables = built(2, 3, 3, {{1, 2, 3}, {3, 2, 4}}, 4);
    EXPECT_EQ(tables.neighboursOf(1), (std::vector<int32_t>{0, 2, 0}));
    EXPECT_EQ(tables.neighboursOf(2), (std::vector<int32_t>{1, 0, 0}));
    EXPECT_EQ(tables.noetri, (std::vector<int32_t>{1, 2, 2, 2}));
    EXPECT_EQ(checkStructure(2, tables.ITRNOE(), tables.ITRTRI(), 2, tables.NOETRI()), "");
}

TEST(Smacre, TriangleInAFourSlotTableGetsZeroInItsFourthSlot)
{
    Tables tables = built(2, 4, 4, {{1, 2, 3, 0}, {3, 2, 5, 4}}, 5);
    EXPECT_EQ(tables.neighboursOf(1), (std::vector<int32_t>{0, 2, 0, 0}));
    EXPECT_EQ(tables.neighboursOf(2), (std::vector<int32_t>{1, 0, 0, 0}));
    EXPECT_EQ(checkStructure(2, tables.ITRNOE(), tables.ITRTRI(), 2, tables.NOETRI()), "");
}

TEST(Smacre, CopiesTheRowsToAnotherDestination)
{
    const int32_t source[] = {1, 2, 3, 3, 2, 4};
    Tables tables(3, 3, 2, 4, 64);
    ASSERT_EQ(smacre(2, Rows<const int32_t>(source, 3, 2), 2, 4, tables.ITRNOE(), tables.ITRTRI(), Vec<int32_t>(),
                     tables.WORK()),
              kOk);
    EXPECT_EQ(tables.nodesOf(2), (std::vector<int32_t>{3, 2, 4}));
    EXPECT_EQ(tables.noetri, (std::vector<int32_t>{0, 0, 0, 0})); // absent: untouched
}

TEST(Smacre, EdgesAndTetrahedra)
{
    Tables loop = built(1, 2, 2, {{1, 2}, {2, 3}, {3, 1}}, 3);
    EXPECT_EQ(loop.neighboursOf(1), (std::vector<int32_t>{3, 2}));
    EXPECT_EQ(loop.neighboursOf(3), (std::vector<int32_t>{2, 1}));
    EXPECT_EQ(checkStructure(1, loop.ITRNOE(), loop.ITRTRI(), 3, loop.NOETRI()), "");

    stinit();
    Tables solids = built(3, 4, 4, {{1, 2, 3, 4}, {1, 3, 2, 5}}, 5);
    EXPECT_EQ(solids.neighboursOf(1), (std::vector<int32_t>{0, 0, 0, 2}));
    EXPECT_EQ(solids.neighboursOf(2), (std::vector<int32_t>{0, 0, 0, 1}));
    EXPECT_EQ(checkStructure(3, solids.ITRNOE(), solids.ITRTRI(), 2, solids.NOETRI()), "");
}

TEST(Smacre, GridNeighboursAreTheTrianglesAcrossEachEdge)
{
    std::mt19937 random(11);
    const GridTriangulation grid(9, 7, random);
    Tables tables = shuffledGrid(grid, random);
    const int32_t NBE = grid.triangleCount;
    ASSERT_EQ(smacre(2, tables.ITRNOE(), NBE, grid.nodeCount, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(),
                     tables.WORK()),
              kOk);
    EXPECT_EQ(checkStructure(2, tables.ITRNOE(), tables.ITRTRI(), NBE, tables.NOETRI()), "");
    const auto faces = testing::directedFaces(tables.ITRNOE(), NBE);
    for (int32_t e = 1; e <= NBE; ++e) {
        for (int32_t k = 1; k <= 3; ++k) {
            const auto across = faces.find({tables.ITRNOE()(e, k % 3 + 1), tables.ITRNOE()(e, k)});
            EXPECT_EQ(tables.ITRTRI()(e, k), across == faces.end() ? 0 : across->second.first) << e << " " << k;
        }
    }
    for (int32_t v = 1; v <= grid.nodeCount; ++v) { // the last element containing the node
        int32_t last = 0;
        for (int32_t e = 1; e <= NBE; ++e) {
            for (int32_t k = 1; k <= 3; ++k) {
                last = tables.ITRNOE()(e, k) == v ? e : last;
            }
        }
        EXPECT_EQ(tables.noetri[std::size_t(v - 1)], last);
    }
}

TEST(Smacre, SmallWorkGivesTheSameNeighbours)
{
    std::mt19937 random(5);
    const GridTriangulation grid(6, 6, random);
    Tables large = shuffledGrid(grid, random);
    Tables small = large;
    const int32_t NBE = grid.triangleCount;
    for (const int32_t workSize : {0, grid.nodeCount * 2, grid.nodeCount * 4}) {
        small.work.assign(std::size_t(workSize), 0);
        ASSERT_EQ(smacre(2, small.ITRNOE(), NBE, 0, small.ITRNOE(), small.ITRTRI(), Vec<int32_t>(), small.WORK()), kOk);
        ASSERT_EQ(smacre(2, large.ITRNOE(), NBE, 0, large.ITRNOE(), large.ITRTRI(), Vec<int32_t>(), large.WORK()), kOk);
        EXPECT_EQ(small.neighbourRows, large.neighbourRows) << workSize;
    }
}

/// Triangles drawn at random among few nodes: faces shared by three or more elements,
/// repeated elements, repeated nodes, deleted rows. Which neighbour wins depends on the
/// order of the comparisons, so both searches must make the same ones.
TEST(Smacre, IndexedSearchMakesTheComparisonsOfTheBuckets)
{
    std::mt19937 random(2024);
    int crowded = 0; // trials where some node is in more elements than its bucket holds
    for (int trial = 0; trial < 300; ++trial) {
        const int32_t nodes = 3 + int32_t(random() % 12);
        const int32_t NBE = 1 + int32_t(random() % 40);
        const int32_t NNE = trial % 3 == 0 ? 4 : 3;
        Tables first(NNE, NNE, NBE, 0);
        for (int32_t e = 1; e <= NBE; ++e) {
            std::vector<int32_t> row;
            const int32_t n = random() % 10 == 0 ? 0 : NNE == 4 && random() % 2 == 0 ? 4 : 3;
            for (int32_t k = 0; k < n; ++k) {
                row.push_back(1 + int32_t(random() % uint32_t(nodes)));
            }
            first.element(e, row);
        }
        int32_t largest = 0;
        for (const int32_t v : first.nodeRows) {
            largest = std::max(largest, v);
        }
        // enough work for the complete lists, and bucket sizes from 2 to NBE
        const int32_t workSize = largest + 2 * NBE * NNE + int32_t(random() % uint32_t(largest * NBE + 1));
        first.work.assign(std::size_t(workSize), 0);
        std::vector<int32_t> degree(std::size_t(largest) + 1, 0);
        for (int32_t e = 1; e <= NBE; ++e) {
            for (int32_t k = 1; k <= NNE && first.ITRNOE()(e, k) != 0; ++k) {
                ++degree[std::size_t(first.ITRNOE()(e, k))];
            }
        }
        const int32_t B = std::min(NBE, workSize / std::max(largest, 1));
        crowded += *std::max_element(degree.begin(), degree.end()) >= B - 1 ? 1 : 0;
        Tables second = first;
        ASSERT_EQ(smacreUsing(NeighbourSearch::kIndexed, 2, first.ITRNOE(), NBE, 0, first.ITRNOE(), first.ITRTRI(),
                              Vec<int32_t>(), first.WORK()),
                  kOk);
        ASSERT_EQ(smacreUsing(NeighbourSearch::kBuckets, 2, second.ITRNOE(), NBE, 0, second.ITRNOE(), second.ITRTRI(),
                              Vec<int32_t>(), second.WORK()),
                  kOk);
        ASSERT_EQ(first.neighbourRows, second.neighbourRows) << "trial " << trial << " work " << workSize;
        for (const int32_t t : first.neighbourRows) {
            ASSERT_GE(t, 0);
            ASSERT_LE(t, NBE);
        }
    }
    EXPECT_GT(crowded, 50);
}

TEST(Smacre, FailureCodes)
{
    Tables tables(3, 3, 2, 4, 64);
    tables.element(1, {1, 2, 3});
    tables.element(2, {3, 2, 4});
    const auto run = [&](int32_t NBE, Rows<int32_t> ITRTRI, Vec<int32_t> NOETRI, int32_t nodeCount = 4) {
        return smacre(2, tables.ITRNOE(), NBE, nodeCount, tables.ITRNOE(), ITRTRI, NOETRI, tables.WORK());
    };
    EXPECT_EQ(run(-1, tables.ITRTRI(), tables.NOETRI()), kDataError);
    EXPECT_EQ(run(3, tables.ITRTRI(), tables.NOETRI()), kCapacityError);
    EXPECT_EQ(run(2, tables.ITRTRI(), tables.NOETRI().slice(1, 3)), kCapacityError);
    EXPECT_EQ(run(2, tables.ITRTRI(), tables.NOETRI(), 5), kCapacityError);
    EXPECT_EQ(run(2, Rows<int32_t>(tables.neighbourRows.data(), 2, 3), tables.NOETRI()), kCapacityError);
    tables.element(2, {3, -2, 4});
    EXPECT_EQ(run(2, tables.ITRTRI(), tables.NOETRI()), kDataError);
    // NBE = 0 changes nothing
    tables.neighbourRows.assign(6, 9);
    EXPECT_EQ(run(0, tables.ITRTRI(), tables.NOETRI()), kOk);
    EXPECT_EQ(tables.neighbourRows, std::vector<int32_t>(6, 9));
    // a prism has no face table
    stinit();
    Tables prism(6, 6, 1, 6, 64);
    prism.element(1, {1, 2, 3, 4, 5, 6});
    EXPECT_EQ(smacre(3, prism.ITRNOE(), 1, 6, prism.ITRNOE(), prism.ITRTRI(), prism.NOETRI(), prism.WORK()), kDataError);
}

TEST(Smacre, DeletedRowsOnlyGiveZeros)
{
    Tables tables = built(2, 3, 3, {{0, 0, 0}, {1, 2, 3}, {0, 0, 0}}, 3);
    EXPECT_EQ(tables.neighbourRows, std::vector<int32_t>(9, 0));
    Tables empty = built(2, 3, 3, {{0, 0, 0}}, 0);
    EXPECT_EQ(empty.neighbourRows, std::vector<int32_t>(3, 0));
}

// ---------------------------------------------------------------- sorien, smaocr

TEST(Sorien, SecondTriangleIsReversedWithItsNeighbourRow)
{
    Tables tables = built(2, 3, 3, {{1, 2, 3}, {2, 3, 4}}, 4);
    EXPECT_EQ(tables.neighboursOf(2), (std::vector<int32_t>{1, 0, 0}));
    std::vector<int32_t> marks(2), stack(8);
    int32_t groups = 0;
    ASSERT_EQ(sorien(2, tables.ITRNOE(), tables.ITRTRI(), 2, Vec<int32_t>(stack.data(), 8), Vec<int32_t>(marks.data(), 2),
                     groups),
              kOk);
    EXPECT_EQ(groups, 1);
    EXPECT_EQ(tables.nodesOf(1), (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(tables.nodesOf(2), (std::vector<int32_t>{2, 4, 3}));
    EXPECT_EQ(tables.neighboursOf(2), (std::vector<int32_t>{0, 0, 1}));
    EXPECT_EQ(checkStructure(2, tables.ITRNOE(), tables.ITRTRI(), 2), "");
}

TEST(Sorien, EveryGroupFollowsItsLowestElement)
{
    std::mt19937 random(3);
    const GridTriangulation grid(8, 5, random);
    Tables tables = shuffledGrid(grid, random);
    const int32_t NBE = grid.triangleCount;
    for (int32_t e = 1; e <= NBE; ++e) { // half of the triangles turned clockwise
        if (random() % 2 == 0) {
            std::swap(tables.ITRNOE()(e, 2), tables.ITRNOE()(e, 3));
        }
    }
    const int32_t wanted = orientation(tables, 1, grid);
    ASSERT_EQ(smacre(2, tables.ITRNOE(), NBE, grid.nodeCount, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(),
                     tables.WORK()),
              kOk);
    std::vector<int32_t> marks(std::size_t(NBE), 0);
    int32_t groups = 0;
    ASSERT_EQ(sorien(2, tables.ITRNOE(), tables.ITRTRI(), NBE, tables.WORK(), Vec<int32_t>(marks.data(), NBE), groups),
              kOk);
    EXPECT_EQ(groups, 1);
    for (int32_t e = 1; e <= NBE; ++e) {
        EXPECT_EQ(orientation(tables, e, grid), wanted) << e;
    }
    EXPECT_EQ(checkStructure(2, tables.ITRNOE(), tables.ITRTRI(), NBE, tables.NOETRI()), "");
}

TEST(Sorien, FailureCodes)
{
    // element 1 has two neighbours; element 4 stands alone
    Tables tables = built(2, 3, 3, {{1, 2, 3}, {3, 2, 4}, {1, 3, 5}, {6, 7, 8}}, 8);
    std::vector<int32_t> marks(4), stack(8);
    int32_t groups = 0;
    const auto orient = [&](int32_t NBE, int32_t stackSize, int32_t markCount) {
        return sorien(2, tables.ITRNOE(), tables.ITRTRI(), NBE, Vec<int32_t>(stack.data(), stackSize),
                      Vec<int32_t>(marks.data(), markCount), groups);
    };
    EXPECT_EQ(orient(4, 3, 4), kCapacityError);  // not one record
    EXPECT_EQ(orient(4, 8, 3), kCapacityError);  // marks
    EXPECT_EQ(orient(-1, 8, 4), kDataError);
    EXPECT_EQ(orient(4, 7, 4), kCapacityError); // the two neighbours of element 1 need 8 values
    ASSERT_EQ(orient(4, 8, 4), kOk);
    EXPECT_EQ(groups, 2);
    tables.ITRTRI()(4, 1) = 1; // element 4 shares no face with element 1
    tables.ITRTRI()(1, 1) = 4;
    EXPECT_EQ(orient(4, 8, 4), kDataError);
    tables.ITRTRI()(1, 1) = 5;
    EXPECT_EQ(orient(4, 8, 4), kDataError);
}

TEST(Smaocr, MakesEachGroupCounterClockwise)
{
    // two squares apart: the first listed clockwise, the second counter-clockwise but with
    // its lowest triangle clockwise
    const std::vector<float> coord = {0, 0, 1, 0, 1, 1, 0, 1, 5, 0, 6, 0, 6, 1, 5, 1};
    const Rows<const float> COORD(coord.data(), 2, 8);
    Tables tables(3, 3, 4, 8, 256);
    tables.element(1, {1, 3, 2});
    tables.element(2, {5, 7, 6});
    tables.element(3, {1, 4, 3});
    tables.element(4, {5, 8, 7});
    int32_t groups = 0;
    ASSERT_EQ(smaocr(2, tables.ITRNOE(), 4, 8, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), COORD, tables.WORK(),
                     groups),
              kOk);
    EXPECT_EQ(groups, 2);
    for (int32_t e = 1; e <= 4; ++e) {
        EXPECT_EQ(gorien(tables.ITRNOE().row(e), 3, 2, COORD, 0.0f), 1) << e;
    }
    EXPECT_EQ(checkStructure(2, tables.ITRNOE(), tables.ITRTRI(), 4, tables.NOETRI()), "");
}

TEST(Smaocr, GridOfOneGroup)
{
    std::mt19937 random(8);
    const GridTriangulation grid(5, 4, random);
    Tables tables = shuffledGrid(grid, random);
    const int32_t NBE = grid.triangleCount;
    for (int32_t e = 1; e <= NBE; ++e) {
        std::swap(tables.ITRNOE()(e, 2), tables.ITRNOE()(e, 3));
    }
    int32_t groups = 0;
    ASSERT_EQ(smaocr(2, tables.ITRNOE(), NBE, grid.nodeCount, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(),
                     grid.COORD(), tables.WORK(), groups),
              kOk);
    EXPECT_EQ(groups, 1);
    for (int32_t e = 1; e <= NBE; ++e) {
        EXPECT_EQ(orientation(tables, e, grid), 1);
    }
    EXPECT_EQ(checkStructure(2, tables.ITRNOE(), tables.ITRTRI(), NBE, tables.NOETRI()), "");
}

TEST(Smaocr, BorderLoopsInThePlaneAreCountedNotOriented)
{
    // two loops of edges in the plane, the second listed against the first
    const std::vector<float> coord = {0, 0, 1, 0, 0, 1, 5, 5, 6, 5, 5, 6};
    Tables tables(2, 2, 6, 6, 256);
    const std::vector<std::vector<int32_t>> edges = {{1, 2}, {2, 3}, {1, 3}, {4, 5}, {5, 6}, {6, 4}};
    for (int32_t e = 1; e <= 6; ++e) {
        tables.element(e, edges[std::size_t(e - 1)]);
    }
    int32_t groups = 0;
    ASSERT_EQ(smaocr(1, tables.ITRNOE(), 6, 6, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(),
                     Rows<const float>(coord.data(), 2, 6), tables.WORK(), groups),
              kOk);
    EXPECT_EQ(groups, 2);
    EXPECT_EQ(tables.nodesOf(3), (std::vector<int32_t>{3, 1})); // follows the loop
    EXPECT_EQ(checkStructure(1, tables.ITRNOE(), tables.ITRTRI(), 6, tables.NOETRI()), "");
}

TEST(Smaocr, FailureCodes)
{
    const std::vector<float> coord = {0, 0, 1, 0, 1, 1};
    Tables tables(3, 3, 2, 4, 2);
    tables.element(1, {1, 2, 3});
    tables.element(2, {3, 2, 4});
    int32_t groups = 0;
    // marks and one record do not fit in 2 values
    EXPECT_EQ(smaocr(2, tables.ITRNOE(), 2, 4, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(),
                     Rows<const float>(coord.data(), 2, 3), tables.WORK(), groups),
              kCapacityError);
    tables.work.assign(64, 0);
    // node 4 has no coordinates: the orientation cannot be measured
    EXPECT_EQ(smaocr(2, tables.ITRNOE(), 2, 4, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(),
                     Rows<const float>(coord.data(), 2, 3), tables.WORK(), groups),
              kOk);
    tables.element(1, {4, 2, 3});
    EXPECT_EQ(smaocr(2, tables.ITRNOE(), 2, 4, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(),
                     Rows<const float>(coord.data(), 2, 3), tables.WORK(), groups),
              kDataError);
    EXPECT_EQ(smaocr(2, tables.ITRNOE(), -2, 4, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(),
                     Rows<const float>(coord.data(), 2, 3), tables.WORK(), groups),
              kDataError);
}

// ---------------------------------------------------------------- sfrcre

TEST(Sfrcre, FrontierOfTwoTrianglesIsAClosedChain)
{
    Tables triangles = built(2, 3, 3, {{1, 2, 3}, {1, 3, 4}}, 4);
    const int32_t pairs[] = {1, 1, 2, -3, 1, 2, 2, 2};
    Tables chain(2, 2, 4, 0, 64);
    ASSERT_EQ(sfrcre(2, Rows<const int32_t>(pairs, 2, 4), 4, triangles.ITRNOE(), 2, chain.ITRNOE(), chain.ITRTRI(),
                     chain.WORK()),
              kOk);
    EXPECT_EQ(chain.nodesOf(1), (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(chain.nodesOf(2), (std::vector<int32_t>{4, 1}));
    EXPECT_EQ(chain.nodesOf(3), (std::vector<int32_t>{2, 3}));
    EXPECT_EQ(chain.nodesOf(4), (std::vector<int32_t>{3, 4}));
    EXPECT_EQ(chain.neighboursOf(1), (std::vector<int32_t>{2, 3}));
    EXPECT_EQ(chain.neighboursOf(3), (std::vector<int32_t>{1, 4}));
    EXPECT_EQ(checkStructure(1, chain.ITRNOE(), chain.ITRTRI(), 4), "");
}

TEST(Sfrcre, FailureCodes)
{
    Tables triangles = built(2, 3, 3, {{1, 2, 3}}, 3);
    const int32_t pairs[] = {1, 1, 1, 2, 1, 3};
    const int32_t beyond[] = {2, 1};
    Tables chain(2, 2, 2, 0, 64);
    EXPECT_EQ(sfrcre(2, Rows<const int32_t>(pairs, 2, 3), 3, triangles.ITRNOE(), 1, chain.ITRNOE(), chain.ITRTRI(),
                     chain.WORK()),
              kCapacityError);
    EXPECT_EQ(sfrcre(2, Rows<const int32_t>(beyond, 2, 1), 1, triangles.ITRNOE(), 1, chain.ITRNOE(), chain.ITRTRI(),
                     chain.WORK()),
              kDataError);
    EXPECT_EQ(sfrcre(1, Rows<const int32_t>(pairs, 2, 1), 1, triangles.ITRNOE(), 1, chain.ITRNOE(), chain.ITRTRI(),
                     chain.WORK()),
              kDataError);
    Tables narrow(1, 1, 3, 0, 64);
    EXPECT_EQ(sfrcre(2, Rows<const int32_t>(pairs, 2, 3), 3, triangles.ITRNOE(), 1, narrow.ITRNOE(), narrow.ITRTRI(),
                     narrow.WORK()),
              kCapacityError);
}

// ---------------------------------------------------------------- smadet

TEST(Smadet, NeighbourHoldingMinusEIsClearedToo)
{
    Tables tables = built(2, 3, 3, {{1, 2, 3}, {3, 2, 4}, {1, 3, 5}}, 5);
    tables.ITRTRI()(1, 2) = -2; // the border edge 2-3
    tables.ITRTRI()(2, 1) = -1;
    std::vector<int32_t> lost(4, 0);
    int32_t lostCount = 0;
    ASSERT_EQ(smadet(2, tables.ITRNOE(), tables.ITRTRI(), 3, tables.NOETRI(), 1, 1, Vec<int32_t>(lost.data(), 4),
                     lostCount),
              kOk);
    EXPECT_EQ(tables.neighboursOf(1), (std::vector<int32_t>{0, 0, 0}));
    EXPECT_EQ(tables.nodesOf(1), (std::vector<int32_t>{0, 0, 0}));
    EXPECT_EQ(tables.neighboursOf(2), (std::vector<int32_t>{0, 0, 0}));
    EXPECT_EQ(tables.neighboursOf(3), (std::vector<int32_t>{0, 0, 0}));
    EXPECT_EQ(lostCount, 0);
    EXPECT_EQ(checkStructure(2, tables.ITRNOE(), tables.ITRTRI(), 3, tables.NOETRI()), "");
}

TEST(Smadet, NodesNamingTheElementMoveToANeighbourOrAreLost)
{
    Tables tables = built(2, 3, 3, {{3, 2, 4}, {1, 2, 3}}, 4);
    EXPECT_EQ(tables.noetri, (std::vector<int32_t>{2, 2, 2, 1}));
    std::vector<int32_t> lost(1, 0);
    int32_t lostCount = 0;
    ASSERT_EQ(smadet(2, tables.ITRNOE(), tables.ITRTRI(), 2, tables.NOETRI(), 1, 2, Vec<int32_t>(lost.data(), 1),
                     lostCount),
              kOk);
    EXPECT_EQ(tables.noetri, (std::vector<int32_t>{0, 1, 1, 1}));
    EXPECT_EQ(lostCount, 1);
    EXPECT_EQ(lost[0], 1);
    EXPECT_EQ(checkStructure(2, tables.ITRNOE(), tables.ITRTRI(), 2, tables.NOETRI()), "");
    // without update NOETRI stays as it was
    ASSERT_EQ(smadet(2, tables.ITRNOE(), tables.ITRTRI(), 2, tables.NOETRI(), 0, 1, Vec<int32_t>(lost.data(), 1),
                     lostCount),
              kOk);
    EXPECT_EQ(tables.noetri, (std::vector<int32_t>{0, 1, 1, 1}));
}

TEST(Smadet, NodeIsReportedLostWhenNoNeighbourAtEHoldsIt)
{
    // a bow tie about node 1: deleting the left wing loses the node although the right
    // wing still holds it, as no face of the left wing through node 1 has a neighbour
    Tables tables = built(2, 3, 3, {{1, 2, 3}, {1, 4, 5}}, 5);
    tables.noetri[0] = 1;
    std::vector<int32_t> lost(3, 0);
    int32_t lostCount = 0;
    ASSERT_EQ(smadet(2, tables.ITRNOE(), tables.ITRTRI(), 2, tables.NOETRI(), 1, 1, Vec<int32_t>(lost.data(), 3),
                     lostCount),
              kOk);
    EXPECT_EQ(lostCount, 3);
    EXPECT_EQ(lost, (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(tables.noetri[0], 0);
}

TEST(Smadet, FailureCodes)
{
    Tables tables = built(2, 3, 3, {{1, 2, 3}, {3, 2, 4}}, 4);
    int32_t lostCount = 0;
    const auto remove = [&](int32_t e, int32_t update, Vec<int32_t> lost) {
        return smadet(2, tables.ITRNOE(), tables.ITRTRI(), 2, tables.NOETRI(), update, e, lost, lostCount);
    };
    EXPECT_EQ(remove(0, 0, Vec<int32_t>()), kDataError);
    EXPECT_EQ(remove(3, 0, Vec<int32_t>()), kDataError);
    // node 4 is only in element 2: no room to record it lost
    EXPECT_EQ(remove(2, 1, Vec<int32_t>()), kCapacityError);
    tables = built(2, 3, 3, {{1, 2, 3}, {3, 2, 4}}, 4);
    tables.ITRTRI()(2, 1) = 0; // element 1 names 2, which does not name 1 back
    EXPECT_EQ(remove(1, 0, Vec<int32_t>()), kCapacityError);
    tables.ITRTRI()(1, 2) = 7;
    EXPECT_EQ(remove(1, 0, Vec<int32_t>()), kDataError);
}

TEST(Smadet, LongRandomDeletionsKeepTheStructure)
{
    std::mt19937 random(77);
    for (int trial = 0; trial < 5; ++trial) {
        const GridTriangulation grid(6 + trial, 5, random);
        Tables tables = shuffledGrid(grid, random);
        const int32_t NBE = grid.triangleCount;
        ASSERT_EQ(smacre(2, tables.ITRNOE(), NBE, grid.nodeCount, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(),
                         tables.WORK()),
                  kOk);
        std::vector<int32_t> order(static_cast<std::size_t>(NBE));
        std::iota(order.begin(), order.end(), 1);
        std::shuffle(order.begin(), order.end(), random);
        std::vector<int32_t> lost(std::size_t(grid.nodeCount), 0);
        int32_t lostCount = 0;
        for (const int32_t e : order) {
            ASSERT_EQ(smadet(2, tables.ITRNOE(), tables.ITRTRI(), NBE, tables.NOETRI(), 1, e,
                             Vec<int32_t>(lost.data(), grid.nodeCount), lostCount),
                      kOk);
            ASSERT_EQ(checkStructure(2, tables.ITRNOE(), tables.ITRTRI(), NBE), "") << "after " << e;
            // a node keeps an element containing it, unless its fan came apart at e
            for (int32_t v = 1; v <= grid.nodeCount; ++v) {
                const int32_t named = tables.noetri[std::size_t(v - 1)];
                if (named != 0) {
                    const std::vector<int32_t> row = tables.nodesOf(named);
                    ASSERT_NE(std::find(row.begin(), row.end(), v), row.end()) << v;
                }
            }
        }
        std::sort(lost.begin(), lost.end());
        std::vector<int32_t> all(std::size_t(grid.nodeCount));
        std::iota(all.begin(), all.end(), 1);
        EXPECT_EQ(lost, all); // every node reported lost once
    }
}

// ---------------------------------------------------------------- sfride, sfricr

TEST(Sfride, DispatchesOnTheDimension)
{
    Tables tables = built(2, 3, 3, {{1, 2, 3}, {3, 2, 4}}, 4);
    const int32_t record[] = {2, 3, 77};
    EdgeSides sides;
    ASSERT_EQ(sfride(Vec<const int32_t>(record, 3), 2, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), 2, sides), kOk);
    EXPECT_EQ(sides.E1, 1);
    EXPECT_EQ(sides.F1, 2);
    EXPECT_EQ(sides.E2, 2);
    EXPECT_EQ(sides.F2, 1);
    EXPECT_EQ(sfride(Vec<const int32_t>(record, 3), 3, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), 2, sides),
              kNotAvailable);
    EXPECT_EQ(sfride(Vec<const int32_t>(record, 3), 4, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), 2, sides),
              kDataError);
    EXPECT_EQ(sfride(Vec<const int32_t>(record, 1), 2, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), 2, sides),
              kDataError);
}

TEST(Sfricr, MarksAnInteriorEdgeOnBothSidesOnceAndForAll)
{
    Tables tables = built(2, 3, 3, {{1, 2, 3}, {3, 2, 4}}, 4);
    int32_t record[] = {3, 2};
    EdgeSides sides;
    for (int time = 0; time < 2; ++time) {
        ASSERT_EQ(sfricr(Vec<int32_t>(record, 2), 2, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), 2, sides), kOk);
        EXPECT_EQ(tables.neighboursOf(1), (std::vector<int32_t>{0, -2, 0}));
        EXPECT_EQ(tables.neighboursOf(2), (std::vector<int32_t>{-1, 0, 0}));
    }
    EXPECT_EQ(checkStructure(2, tables.ITRNOE(), tables.ITRTRI(), 2, tables.NOETRI()), "");
}

TEST(Sfricr, OuterEdgeIsLocatedButNotMarked)
{
    Tables tables = built(2, 3, 3, {{1, 2, 3}, {3, 2, 4}}, 4);
    const std::vector<int32_t> before = tables.neighbourRows;
    int32_t record[] = {2, 1, 5};
    EdgeSides sides;
    ASSERT_EQ(sfricr(Vec<int32_t>(record, 3), 2, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), 2, sides), kOk);
    EXPECT_EQ(sides.E2, 1);
    EXPECT_EQ(sides.E1, 0);
    EXPECT_EQ(tables.neighbourRows, before);
}

TEST(Sfricr, EdgeNotInTheMeshFailsAfterTheExchangedSearch)
{
    Tables tables = built(2, 3, 3, {{1, 2, 3}, {3, 2, 4}}, 4);
    int32_t pair[] = {1, 4};
    EdgeSides sides;
    EXPECT_EQ(sfricr(Vec<int32_t>(pair, 2), 2, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), 2, sides), kDataError);
    EXPECT_EQ(pair[0], 4); // the record keeps the exchanged order
    EXPECT_EQ(pair[1], 1);
    int32_t longer[] = {1, 4, 9};
    EXPECT_EQ(sfricr(Vec<int32_t>(longer, 3), 2, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), 2, sides), kDataError);
    EXPECT_EQ(longer[0], 1);
}

TEST(Sfricr, EdgeOfOneNodeInTheEdgeStructure)
{
    Tables chain = built(1, 2, 2, {{1, 2}, {2, 3}, {3, 1}}, 3);
    int32_t record[] = {2, 0};
    EdgeSides sides;
    ASSERT_EQ(sfricr(Vec<int32_t>(record, 2), 1, chain.ITRNOE(), chain.ITRTRI(), chain.NOETRI(), 3, sides), kOk);
    EXPECT_EQ(chain.neighboursOf(1), (std::vector<int32_t>{3, -2}));
    EXPECT_EQ(chain.neighboursOf(2), (std::vector<int32_t>{-1, 3}));
    EXPECT_EQ(checkStructure(1, chain.ITRNOE(), chain.ITRTRI(), 3, chain.NOETRI()), "");
}

} // namespace
} // namespace tesmo
