#include "topology/st_ensemble.hpp"

#include "mesh_fixture.hpp"
#include "topology/st_topologie.hpp"

#include <gtest/gtest.h>

namespace tesmo {
namespace {

using testing::Tables;

/// A strip of four triangles 1-2-3-4 in a row, built by smacre:
///   4---5---6
///   | 1/|3 /|      1 = (1,5,4)  2 = (1,2,5)  3 = (2,6,5)  4 = (2,3,6)
///   |/ 2|/ 4|
///   1---2---3
Tables strip()
{
    Tables tables(3, 3, 4, 6, 256);
    tables.element(1, {1, 5, 4});
    tables.element(2, {1, 2, 5});
    tables.element(3, {2, 6, 5});
    tables.element(4, {2, 3, 6});
    EXPECT_EQ(smacre(2, tables.ITRNOE(), 4, 6, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), tables.WORK()), kOk);
    return tables;
}

std::vector<int32_t> pairsOf(const std::vector<int32_t>& storage, int32_t count)
{
    return {storage.begin(), storage.begin() + 2 * count};
}

TEST(Tmafrt, FrontierOfTheFirstElements)
{
    Tables tables = strip();
    tables.ITRTRI()(2, 1) = 0; // bottom side of 2 is outer already
    tables.ITRTRI()(3, 1) = -4; // a border edge between 3 and 4
    tables.ITRTRI()(4, 3) = -3;
    std::vector<int32_t> storage(20, 0);
    int32_t count = 0;
    ASSERT_EQ(tmafrt(2, tables.ITRNOE(), tables.ITRTRI(), 2, Rows<int32_t>(storage.data(), 2, 10), count), kOk);
    // 1: faces 2 and 3 outer (face 1 is element 2, inside); 2: faces 1 (outer) and 2 (element 3, beyond 2)
    EXPECT_EQ(pairsOf(storage, count), (std::vector<int32_t>{1, 2, 1, 3, 2, 1, 2, 2}));
    ASSERT_EQ(tmafrt(2, tables.ITRNOE(), tables.ITRTRI(), 4, Rows<int32_t>(storage.data(), 2, 10), count), kOk);
    // the marked edge between 3 and 4 is listed from both sides, negated
    EXPECT_EQ(pairsOf(storage, count), (std::vector<int32_t>{1, 2, 1, 3, 2, 1, 3, -1, 3, 2, 4, 1, 4, 2, 4, -3}));
}

TEST(Tmafrt, FailureCodes)
{
    Tables tables = strip();
    std::vector<int32_t> storage(20, 0);
    int32_t count = 0;
    EXPECT_EQ(tmafrt(2, tables.ITRNOE(), tables.ITRTRI(), 4, Rows<int32_t>(storage.data(), 2, 5), count), kCapacityError);
    EXPECT_EQ(count, 5);
    EXPECT_EQ(tmafrt(2, tables.ITRNOE(), tables.ITRTRI(), 4, Rows<int32_t>(storage.data(), 2, 6), count), kOk);
    EXPECT_EQ(count, 6);
    EXPECT_EQ(tmafrt(2, tables.ITRNOE(), tables.ITRTRI(), 5, Rows<int32_t>(storage.data(), 2, 6), count), kDataError);
    EXPECT_EQ(tmafrt(2, tables.ITRNOE(), tables.ITRTRI(), 1, Rows<int32_t>(storage.data(), 1, 6), count),
              kCapacityError);
}

TEST(Tma1cc, FollowsPositiveNeighboursFromTheSeed)
{
    Tables tables = strip();
    tables.ITRTRI()(2, 2) = -3; // border between 2 and 3
    tables.ITRTRI()(3, 3) = -2;
    std::vector<int32_t> stack(4), marks(4, 0), output(4, 0);
    int32_t count = 0;
    ASSERT_EQ(tma1cc(tables.ITRTRI(), 1, 1, Vec<int32_t>(stack.data(), 4), Vec<int32_t>(marks.data(), 4),
                     Vec<int32_t>(output.data(), 4), count),
              kOk);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(output, (std::vector<int32_t>{1, 2, 0, 0}));
    EXPECT_EQ(marks, (std::vector<int32_t>{1, 1, 0, 0}));
    ASSERT_EQ(tma1cc(tables.ITRTRI(), 1, 4, Vec<int32_t>(stack.data(), 4), Vec<int32_t>(marks.data(), 4),
                     Vec<int32_t>(output.data(), 4), count),
              kOk);
    EXPECT_EQ(output, (std::vector<int32_t>{1, 2, 4, 3})); // appended after the first set
}

TEST(Tma1cc, FailureCodes)
{
    Tables tables = strip();
    std::vector<int32_t> stack(4), marks(4, 0), output(4, 0);
    int32_t count = 0;
    const auto collect = [&](int32_t threshold, int32_t seed, int32_t stackSize, int32_t outputSize, int32_t marksSize) {
        marks.assign(4, 0);
        count = 0;
        return tma1cc(tables.ITRTRI(), threshold, seed, Vec<int32_t>(stack.data(), stackSize),
                      Vec<int32_t>(marks.data(), marksSize), Vec<int32_t>(output.data(), outputSize), count);
    };
    EXPECT_EQ(collect(1, 2, 4, 4, 4), kOk);
    EXPECT_EQ(count, 4);
    EXPECT_EQ(collect(1, 2, 1, 4, 4), kCapacityError); // element 2 pushes 1 and 3
    EXPECT_EQ(collect(1, 2, 4, 3, 4), kCapacityError);
    EXPECT_EQ(collect(1, 5, 4, 4, 4), kDataError);
    EXPECT_EQ(collect(0, 1, 4, 4, 4), kDataError);
    EXPECT_EQ(collect(1, 1, 4, 4, 3), kDataError); // element 4 is beyond the marks
}

TEST(Tmapar, PartitionsFromTheLowestFreeElement)
{
    Tables tables = strip();
    tables.ITRTRI()(2, 2) = -3;
    tables.ITRTRI()(3, 3) = -2;
    std::vector<int32_t> stack(4), marks(4), output(4), sizes(2);
    int32_t sets = 0;
    ASSERT_EQ(tmapar(tables.ITRTRI(), 4, Vec<int32_t>(stack.data(), 4), Vec<int32_t>(marks.data(), 4),
                     Vec<int32_t>(output.data(), 4), Vec<int32_t>(sizes.data(), 2), sets),
              kOk);
    EXPECT_EQ(sets, 2);
    EXPECT_EQ(output, (std::vector<int32_t>{1, 2, 3, 4}));
    EXPECT_EQ(sizes, (std::vector<int32_t>{2, 2}));
    EXPECT_EQ(tmapar(tables.ITRTRI(), 4, Vec<int32_t>(stack.data(), 4), Vec<int32_t>(marks.data(), 4),
                     Vec<int32_t>(output.data(), 4), Vec<int32_t>(sizes.data(), 1), sets),
              kCapacityError);
    EXPECT_EQ(tmapar(tables.ITRTRI(), 3, Vec<int32_t>(stack.data(), 4), Vec<int32_t>(marks.data(), 4),
                     Vec<int32_t>(output.data(), 4), Vec<int32_t>(sizes.data(), 2), sets),
              kDataError); // element 3 names 4, beyond NBE
}

TEST(Enstri, SortsAscending)
{
    std::vector<int32_t> list = {9, -2, 4, 4, 0};
    enstri(Vec<int32_t>(list.data(), 5));
    EXPECT_EQ(list, (std::vector<int32_t>{-2, 0, 4, 4, 9}));
}

} // namespace
} // namespace tesmo
