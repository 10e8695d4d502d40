#include "topology/st_numero.hpp"

#include "mesh_fixture.hpp"
#include "support/structure_check.hpp"
#include "topology/st_topologie.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <set>

namespace tesmo {
namespace {

using testing::checkStructure;
using testing::GridTriangulation;
using testing::Tables;

Tables built(const std::vector<std::vector<int32_t>>& elements, int32_t nodes)
{
    Tables tables(3, 3, int32_t(elements.size()), nodes, 1024);
    for (std::size_t e = 0; e < elements.size(); ++e) {
        tables.element(int32_t(e) + 1, elements[e]);
    }
    EXPECT_EQ(smacre(2, tables.ITRNOE(), int32_t(elements.size()), nodes, tables.ITRNOE(), tables.ITRTRI(),
                     tables.NOETRI(), tables.WORK()),
              kOk);
    return tables;
}

TEST(Nuperm, NeighboursStayNeighboursAtTheSameFaces)
{
    Tables tables = built({{1, 2, 3}, {3, 2, 4}, {1, 3, 5}}, 5);
    ASSERT_EQ(nuperm(tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), 1, 3, 1, 2), kOk);
    EXPECT_EQ(tables.nodesOf(2), (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(tables.nodesOf(1), (std::vector<int32_t>{3, 2, 4}));
    EXPECT_EQ(tables.neighboursOf(2), (std::vector<int32_t>{0, 1, 3}));
    EXPECT_EQ(tables.neighboursOf(1), (std::vector<int32_t>{2, 0, 0}));
    EXPECT_EQ(tables.neighboursOf(3), (std::vector<int32_t>{2, 0, 0}));
    EXPECT_EQ(checkStructure(2, tables.ITRNOE(), tables.ITRTRI(), 3, tables.NOETRI()), "");
}

TEST(Nuperm, BorderMarksStayOnBothSides)
{
    Tables tables = built({{1, 2, 3}, {3, 2, 4}, {1, 3, 5}}, 5);
    tables.ITRTRI()(1, 3) = -3; // border edge 3-1
    tables.ITRTRI()(3, 1) = -1;
    ASSERT_EQ(nuperm(tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), 1, 3, 1, 3), kOk);
    EXPECT_EQ(tables.neighboursOf(3), (std::vector<int32_t>{0, 2, -1}));
    EXPECT_EQ(tables.neighboursOf(1), (std::vector<int32_t>{-3, 0, 0}));
    EXPECT_EQ(tables.neighboursOf(2), (std::vector<int32_t>{3, 0, 0}));
    EXPECT_EQ(checkStructure(2, tables.ITRNOE(), tables.ITRTRI(), 3, tables.NOETRI()), "");
    // and with a third element whose marked neighbour moves
    ASSERT_EQ(nuperm(tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), 1, 3, 1, 2), kOk);
    EXPECT_EQ(tables.neighboursOf(3), (std::vector<int32_t>{0, 1, -2}));
    EXPECT_EQ(checkStructure(2, tables.ITRNOE(), tables.ITRTRI(), 3, tables.NOETRI()), "");
}

TEST(Nuperm, NodeEntriesFollowTheirElement)
{
    Tables tables = built({{1, 2, 3}, {3, 2, 4}}, 4);
    tables.noetri = {1, 1, 2, 2};
    ASSERT_EQ(nuperm(tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), 1, 2, 1, 2), kOk);
    // node 2 is shared and named element 1: it ends naming 1, which now holds it too
    EXPECT_EQ(tables.noetri, (std::vector<int32_t>{2, 1, 1, 1}));
    EXPECT_EQ(checkStructure(2, tables.ITRNOE(), tables.ITRTRI(), 2, tables.NOETRI()), "");
    tables.noetri = {9, 9, 9, 9};
    ASSERT_EQ(nuperm(tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), 0, 2, 1, 2), kOk);
    EXPECT_EQ(tables.noetri, std::vector<int32_t>(4, 9));
}

TEST(Nuperm, WithoutNeighbourTableOnlyRowsMove)
{
    std::vector<int32_t> rows = {1, 2, 3, 4, 5, 6};
    ASSERT_EQ(nuperm(Rows<int32_t>(rows.data(), 3, 2), Rows<int32_t>(), Vec<int32_t>(), 0, 2, 2, 1), kOk);
    EXPECT_EQ(rows, (std::vector<int32_t>{4, 5, 6, 1, 2, 3}));
}

TEST(Nuperm, FailureCodes)
{
    Tables tables = built({{1, 2, 3}, {3, 2, 4}, {1, 3, 5}}, 5);
    const auto exchange = [&](int32_t a, int32_t b, int32_t NBE = 3) {
        return nuperm(tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), 1, NBE, a, b);
    };
    EXPECT_EQ(exchange(0, 1), kDataError);
    EXPECT_EQ(exchange(1, 4), kDataError);
    EXPECT_EQ(exchange(1, 4, 4), kCapacityError);
    EXPECT_EQ(exchange(2, 2), kOk);
    const std::vector<int32_t> before = tables.neighbourRows;
    tables.ITRTRI()(2, 1) = 0; // 1 names 2, 2 does not name 1
    EXPECT_EQ(exchange(1, 3), kDataError);
    tables.neighbourRows = before;
    tables.ITRTRI()(3, 2) = 8;
    EXPECT_EQ(exchange(3, 1), kDataError);
    tables.neighbourRows = before;
    tables.noetri.resize(4);
    EXPECT_EQ(exchange(3, 1), kCapacityError); // node 5 beyond NOETRI
    std::vector<int32_t> wide(7 * 3, 0);
    EXPECT_EQ(nuperm(tables.ITRNOE(), Rows<int32_t>(wide.data(), 7, 3), Vec<int32_t>(), 0, 3, 1, 2), kCapacityError);
}

TEST(Nucomp, SortedListMovesToTheFrontInOrder)
{
    Tables tables = built({{1, 2, 3}, {3, 2, 4}, {1, 3, 5}}, 5);
    const int32_t list[] = {2, 3};
    ASSERT_EQ(nucomp(tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), 1, 3, Vec<const int32_t>(list, 2)), kOk);
    EXPECT_EQ(tables.nodesOf(1), (std::vector<int32_t>{3, 2, 4}));
    EXPECT_EQ(tables.nodesOf(2), (std::vector<int32_t>{1, 3, 5}));
    EXPECT_EQ(tables.nodesOf(3), (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(checkStructure(2, tables.ITRNOE(), tables.ITRTRI(), 3, tables.NOETRI()), "");
}

TEST(Nucomp, StopsAtTheFirstFailure)
{
    Tables tables = built({{1, 2, 3}, {3, 2, 4}, {1, 3, 5}}, 5);
    const int32_t list[] = {2, 9, 3};
    EXPECT_EQ(nucomp(tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), 1, 3, Vec<const int32_t>(list, 3)), kDataError);
    EXPECT_EQ(tables.nodesOf(1), (std::vector<int32_t>{3, 2, 4})); // the first exchange stays
    EXPECT_EQ(tables.nodesOf(3), (std::vector<int32_t>{1, 3, 5}));
}

/// Long random sequences on grids with random border marks: the structure stays valid and
/// every element keeps its nodes, its neighbours (renumbered) and its marks.
TEST(Nuperm, LongRandomExchangesKeepEveryElement)
{
    std::mt19937 random(99);
    for (int trial = 0; trial < 4; ++trial) {
        const GridTriangulation grid(5 + trial, 6, random);
        const int32_t NBE = grid.triangleCount;
        Tables tables(3, 3, NBE, grid.nodeCount, 4096);
        for (int32_t e = 1; e <= NBE; ++e) {
            tables.element(e, {grid.rows()(e, 1), grid.rows()(e, 2), grid.rows()(e, 3)});
        }
        ASSERT_EQ(smacre(2, tables.ITRNOE(), NBE, grid.nodeCount, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(),
                         tables.WORK()),
                  kOk);
        for (int32_t e = 1; e <= NBE; ++e) { // marks on both sides of some edges
            for (int32_t k = 1; k <= 3; ++k) {
                const int32_t j = tables.ITRTRI()(e, k);
                if (j > e && random() % 4 == 0) {
                    tables.ITRTRI()(e, k) = -j;
                    for (int32_t m = 1; m <= 3; ++m) {
                        tables.ITRTRI()(j, m) = tables.ITRTRI()(j, m) == e ? -e : tables.ITRTRI()(j, m);
                    }
                }
            }
        }
        const Tables original = tables;
        std::vector<int32_t> place(std::size_t(NBE) + 1); // place[old] = new number
        std::iota(place.begin(), place.end(), 0);
        std::vector<int32_t> holder = place; // holder[new] = old number
        for (int step = 0; step < 400; ++step) {
            const int32_t a = 1 + int32_t(random() % uint32_t(NBE));
            const int32_t b = 1 + int32_t(random() % uint32_t(NBE));
            ASSERT_EQ(nuperm(tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), 1, NBE, a, b), kOk);
            std::swap(holder[std::size_t(a)], holder[std::size_t(b)]);
            place[std::size_t(holder[std::size_t(a)])] = a;
            place[std::size_t(holder[std::size_t(b)])] = b;
            ASSERT_EQ(checkStructure(2, tables.ITRNOE(), tables.ITRTRI(), NBE, tables.NOETRI()), "") << step;
        }
        Tables copy = original;
        for (int32_t e = 1; e <= NBE; ++e) {
            const int32_t old = holder[std::size_t(e)];
            ASSERT_EQ(tables.nodesOf(e), copy.nodesOf(old));
            for (int32_t k = 1; k <= 3; ++k) {
                const int32_t was = copy.ITRTRI()(old, k);
                const int32_t renamed = was == 0 ? 0 : was > 0 ? place[std::size_t(was)] : -place[std::size_t(-was)];
                ASSERT_EQ(tables.ITRTRI()(e, k), renamed) << e << " " << k;
            }
        }
    }
}

TEST(Nucomp, RandomSortedListsCompactToTheFront)
{
    std::mt19937 random(5);
    const GridTriangulation grid(7, 7, random);
    const int32_t NBE = grid.triangleCount;
    Tables tables(3, 3, NBE, grid.nodeCount, 4096);
    for (int32_t e = 1; e <= NBE; ++e) {
        tables.element(e, {grid.rows()(e, 1), grid.rows()(e, 2), grid.rows()(e, 3)});
    }
    ASSERT_EQ(smacre(2, tables.ITRNOE(), NBE, grid.nodeCount, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(),
                     tables.WORK()),
              kOk);
    for (int round = 0; round < 30; ++round) {
        std::set<int32_t> chosen;
        const int32_t m = 1 + int32_t(random() % 20);
        while (int32_t(chosen.size()) < m) {
            chosen.insert(1 + int32_t(random() % uint32_t(NBE)));
        }
        const std::vector<int32_t> list(chosen.begin(), chosen.end());
        std::vector<std::vector<int32_t>> rows;
        for (const int32_t e : list) {
            rows.push_back(tables.nodesOf(e));
        }
        ASSERT_EQ(nucomp(tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), 1, NBE, Vec<const int32_t>(list.data(), m)),
                  kOk);
        for (int32_t i = 1; i <= m; ++i) {
            ASSERT_EQ(tables.nodesOf(i), rows[std::size_t(i - 1)]);
        }
        ASSERT_EQ(checkStructure(2, tables.ITRNOE(), tables.ITRTRI(), NBE, tables.NOETRI()), "");
    }
}

} // namespace
} // namespace tesmo
