#include "topology/st_numero.hpp"

#include "support/mesh_fixture.hpp"

#include <gtest/gtest.h>

#include <set>

namespace tesmo {
namespace {

using testing::Grid;
using testing::Tables;
using V = std::vector<int32_t>;

/// Triangles 1 = (1,2,3), 2 = (3,2,4), 3 = (1,3,5) with their neighbours.
Tables three()
{
    Tables t(3, 3, {{1, 2, 3}, {3, 2, 4}, {1, 3, 5}}, 5);
    EXPECT_EQ(t.smacre(2), kOk);
    return t;
}

int exchange(Tables& t, int32_t a, int32_t b, int32_t update = 1) { return nuperm(t.ITRNOE(), t.ITRTRI(), t.NOETRI(), update, t.NBE, a, b); }

TEST(Nuperm, NeighboursAndBorderMarksFollowTheNumbers)
{
    Tables t = three();
    ASSERT_EQ(exchange(t, 1, 2), kOk); // neighbours of each other: same faces
    EXPECT_EQ(t.nodeRows, (V{3, 2, 4, 1, 2, 3, 1, 3, 5}));
    EXPECT_EQ(t.neighbourRows, (V{2, 0, 0, 0, 1, 3, 2, 0, 0}));
    t.ITRTRI()(2, 3) = -3; // mark the edge 3-1 between 2 and 3
    t.ITRTRI()(3, 1) = -2;
    ASSERT_EQ(exchange(t, 3, 2), kOk);
    EXPECT_EQ(t.neighbourRows, (V{3, 0, 0, -3, 0, 0, 0, 1, -2}));
    EXPECT_EQ(t.check(2), "");
}

TEST(Nuperm, NodeEntriesFollowTheirElement)
{
    Tables t = three();
    t.noetri = {1, 1, 2, 2, 3};
    ASSERT_EQ(exchange(t, 1, 2), kOk);
    EXPECT_EQ(t.noetri, (V{2, 1, 1, 1, 3})); // node 2 named 1 and ends naming 1, which holds it
    ASSERT_EQ(exchange(t, 1, 2, 0), kOk);
    EXPECT_EQ(t.noetri, (V{2, 1, 1, 1, 3}));
    V rows = {1, 2, 3, 4, 5, 6}; // no neighbour table: rows only
    ASSERT_EQ(nuperm(Rows<int32_t>(rows.data(), 3, 2), Rows<int32_t>(), Vec<int32_t>(), 0, 2, 2, 1), kOk);
    EXPECT_EQ(rows, (V{4, 5, 6, 1, 2, 3}));
}

TEST(Nuperm, FailureCodes)
{
    Tables t = three();
    EXPECT_EQ(exchange(t, 0, 1), kDataError);
    EXPECT_EQ(exchange(t, 1, 4), kDataError);
    EXPECT_EQ(exchange(t, 2, 2), kOk);
    EXPECT_EQ(nuperm(t.ITRNOE(), t.ITRTRI(), t.NOETRI(), 0, 4, 1, 2), kCapacityError);
    const V before = t.neighbourRows;
    t.ITRTRI()(2, 1) = 0; // 1 names 2, which does not name 1 back: nothing changes
    EXPECT_EQ(exchange(t, 1, 3), kDataError);
    EXPECT_EQ(t.nodesOf(1), (V{1, 2, 3}));
    t.neighbourRows = before;
    t.ITRTRI()(3, 2) = 8;
    EXPECT_EQ(exchange(t, 3, 1), kDataError);
    t.neighbourRows = before;
    t.noetri.resize(4);
    EXPECT_EQ(exchange(t, 3, 1), kCapacityError); // node 5 beyond NOETRI
    V wide(7 * 3, 0);
    EXPECT_EQ(nuperm(t.ITRNOE(), Rows<int32_t>(wide.data(), 7, 3), Vec<int32_t>(), 0, 3, 1, 2), kCapacityError);
}

TEST(Nucomp, SortedListMovesToTheFrontInOrderAndStopsAtAFailure)
{
    Tables t = three();
    const int32_t list[] = {2, 3, 9};
    ASSERT_EQ(nucomp(t.ITRNOE(), t.ITRTRI(), t.NOETRI(), 1, 3, Vec<const int32_t>(list, 2)), kOk);
    EXPECT_EQ(t.nodeRows, (V{3, 2, 4, 1, 3, 5, 1, 2, 3})); // old 2, old 3, old 1
    EXPECT_EQ(t.check(2), "");
    EXPECT_EQ(nucomp(t.ITRNOE(), t.ITRTRI(), t.NOETRI(), 1, 3, Vec<const int32_t>(list + 1, 2)), kDataError);
    EXPECT_EQ(t.nodeRows, (V{1, 2, 3, 1, 3, 5, 3, 2, 4})); // the first exchange stays done
}

/// Random exchanges and compactions on grids with random border marks: the structure stays
/// valid and every element keeps its nodes, its renumbered neighbours and its marks.
TEST(Nuperm, LongRandomSequencesKeepEveryElement)
{
    std::mt19937 random(99);
    for (int trial = 0; trial < 4; ++trial) {
        Tables t = Grid(5 + trial, 6, random).tables();
        ASSERT_EQ(t.smacre(2), kOk);
        for (int32_t e = 1; e <= t.NBE; ++e) {
            for (int32_t k = 1; k <= 3; ++k) {
                const int32_t j = t.ITRTRI()(e, k);
                if (j > e && random() % 4 == 0) {
                    t.ITRTRI()(e, k) = -j;
                    std::replace(t.ITRTRI().row(j), t.ITRTRI().row(j) + 3, e, -e);
                }
            }
        }
        const Tables original = t;
        V holder(std::size_t(t.NBE) + 1), place(std::size_t(t.NBE) + 1); // holder[new] = old, place[old] = new
        std::iota(holder.begin(), holder.end(), 0);
        const auto swapped = [&](int32_t a, int32_t b) { std::swap(holder[std::size_t(a)], holder[std::size_t(b)]); };
        for (int step = 0; step < 300; ++step) {
            if (step % 10 == 0) {
                std::set<int32_t> chosen;
                while (chosen.size() < 1 + random() % 8) {
                    chosen.insert(1 + int32_t(random() % uint32_t(t.NBE)));
                }
                const V list(chosen.begin(), chosen.end());
                ASSERT_EQ(nucomp(t.ITRNOE(), t.ITRTRI(), t.NOETRI(), 1, t.NBE, Vec<const int32_t>(list.data(), int32_t(list.size()))), kOk);
                for (int32_t i = 1; i <= int32_t(list.size()); ++i) {
                    swapped(list[std::size_t(i - 1)], i);
                }
            } else {
                const int32_t a = 1 + int32_t(random() % uint32_t(t.NBE)), b = 1 + int32_t(random() % uint32_t(t.NBE));
                ASSERT_EQ(exchange(t, a, b), kOk);
                swapped(a, b);
            }
            ASSERT_EQ(t.check(2), "") << step;
        }
        for (int32_t e = 1; e <= t.NBE; ++e) {
            place[std::size_t(holder[std::size_t(e)])] = e;
        }
        Tables copy = original;
        for (int32_t e = 1; e <= t.NBE; ++e) {
            const int32_t old = holder[std::size_t(e)];
            ASSERT_EQ(t.nodesOf(e), copy.nodesOf(old));
            for (int32_t k = 1; k <= 3; ++k) {
                const int32_t was = copy.ITRTRI()(old, k);
                ASSERT_EQ(t.ITRTRI()(e, k), was > 0 ? place[std::size_t(was)] : was < 0 ? -place[std::size_t(-was)] : 0);
            }
        }
    }
}

} // namespace
} // namespace tesmo
