#include "topology/st_ensemble.hpp"

#include "support/mesh_fixture.hpp"

#include <gtest/gtest.h>

namespace tesmo {
namespace {

using testing::Tables;
using V = std::vector<int32_t>;

/// A strip of four triangles, a border edge between 2 and 3:
///   4---5---6
///   | 1/|3 /|      1 = (1,5,4)  2 = (1,2,5)  3 = (2,6,5)  4 = (2,3,6)
///   |/ 2|/ 4|
///   1---2---3
Tables strip()
{
    Tables t(3, 3, {{1, 5, 4}, {1, 2, 5}, {2, 6, 5}, {2, 3, 6}}, 6);
    EXPECT_EQ(t.smacre(2), kOk);
    t.ITRTRI()(2, 2) = -3;
    t.ITRTRI()(3, 3) = -2;
    return t;
}

TEST(Tmafrt, FrontierOfTheFirstElements)
{
    Tables t = strip();
    V storage(16, 0);
    int32_t count = 0;
    const auto frontier = [&](int32_t n, int32_t capacity, int32_t width = 2) {
        return tmafrt(2, t.ITRNOE(), t.ITRTRI(), n, Rows<int32_t>(storage.data(), width, capacity), count);
    };
    ASSERT_EQ(frontier(2, 8), kOk); // element 3 lies beyond 2, across a border edge
    EXPECT_EQ(V(storage.begin(), storage.begin() + 2 * count), (V{1, 2, 1, 3, 2, 1, 2, -2}));
    ASSERT_EQ(frontier(4, 8), kOk);
    EXPECT_EQ(V(storage.begin(), storage.begin() + 2 * count), (V{1, 2, 1, 3, 2, 1, 2, -2, 3, 2, 3, -3, 4, 1, 4, 2}));
    EXPECT_EQ(frontier(4, 7), kCapacityError);
    EXPECT_EQ(frontier(5, 8), kDataError);
    EXPECT_EQ(frontier(1, 8, 1), kCapacityError);
}

TEST(Tma1cc, FollowsPositiveNeighboursFromTheSeed)
{
    Tables t = strip();
    V stack(4), marks(4, 0), output(4, 0);
    int32_t count = 0;
    const auto collect = [&](int32_t threshold, int32_t seed, int32_t stackSize, int32_t outputSize, int32_t markCount) {
        return tma1cc(t.ITRTRI(), threshold, seed, Vec<int32_t>(stack.data(), stackSize), Vec<int32_t>(marks.data(), markCount),
                      Vec<int32_t>(output.data(), outputSize), count);
    };
    ASSERT_EQ(collect(1, 1, 4, 4, 4), kOk);
    ASSERT_EQ(collect(1, 4, 4, 4, 4), kOk); // appended after the first set
    EXPECT_EQ(output, (V{1, 2, 4, 3}));
    EXPECT_EQ(marks, (V{1, 1, 1, 1}));
    t.ITRTRI()(2, 2) = 3;
    t.ITRTRI()(3, 3) = 2;
    const auto fresh = [&](int32_t threshold, int32_t seed, int32_t stackSize, int32_t outputSize, int32_t markCount) {
        marks.assign(4, 0);
        count = 0;
        return collect(threshold, seed, stackSize, outputSize, markCount);
    };
    EXPECT_EQ(fresh(1, 2, 1, 4, 4), kCapacityError); // element 2 pushes 1 and 3
    EXPECT_EQ(fresh(1, 2, 4, 3, 4), kCapacityError); // the output is full
    EXPECT_EQ(fresh(1, 5, 4, 4, 4), kDataError);
    EXPECT_EQ(fresh(0, 1, 4, 4, 4), kDataError);
    EXPECT_EQ(fresh(1, 1, 4, 4, 3), kDataError); // element 4 beyond the marks
}

TEST(Tmapar, PartitionsFromTheLowestFreeElement)
{
    Tables t = strip();
    V stack(4), marks(4), output(4), sizes(2);
    int32_t sets = 0;
    const auto partition = [&](int32_t NBE, int32_t maxSets) {
        return tmapar(t.ITRTRI(), NBE, Vec<int32_t>(stack.data(), 4), Vec<int32_t>(marks.data(), 4),
                      Vec<int32_t>(output.data(), 4), Vec<int32_t>(sizes.data(), maxSets), sets);
    };
    ASSERT_EQ(partition(4, 2), kOk);
    EXPECT_EQ(sets, 2);
    EXPECT_EQ(output, (V{1, 2, 3, 4}));
    EXPECT_EQ(sizes, (V{2, 2}));
    EXPECT_EQ(partition(4, 1), kCapacityError);
    EXPECT_EQ(partition(3, 2), kDataError); // element 3 names 4, beyond NBE
}

TEST(Enstri, SortsAscending)
{
    V list = {9, -2, 4, 4, 0};
    enstri(Vec<int32_t>(list.data(), 5));
    EXPECT_EQ(list, (V{-2, 0, 4, 4, 9}));
}

} // namespace
} // namespace tesmo
