#include "topology/st_tableau.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace tesmo {
namespace {

TEST(Knuta, SortsWithRepeatedValues)
{
    std::vector<int32_t> list = {3, 1, 2, 1};
    knuta(Vec<int32_t>(list.data(), 4));
    EXPECT_EQ(list, (std::vector<int32_t>{1, 1, 2, 3}));
    std::vector<int32_t> one = {5};
    knuta(Vec<int32_t>(one.data(), 1));
    EXPECT_EQ(one[0], 5);
    knuta(Vec<int32_t>());
}

TEST(Knuta, AgreesWithTheLibrarySortOnRandomLists)
{
    std::mt19937 random(17);
    for (int trial = 0; trial < 200; ++trial) {
        std::vector<int32_t> list(random() % 70);
        for (int32_t& value : list) {
            value = int32_t(random() % 30) - 10;
        }
        std::vector<int32_t> expected = list;
        std::sort(expected.begin(), expected.end());
        knuta(Vec<int32_t>(list.data(), int32_t(list.size())));
        ASSERT_EQ(list, expected);
    }
}

TEST(Tbvtab, DistinctValuesAscending)
{
    const std::vector<int32_t> values = {5, 1, 5, 3};
    std::vector<int32_t> work(4), output(4, 0);
    int32_t distinct = 0;
    ASSERT_EQ(tbvtab(Vec<const int32_t>(values.data(), 4), Vec<int32_t>(work.data(), 4), Vec<int32_t>(output.data(), 4),
                     distinct),
              kOk);
    EXPECT_EQ(distinct, 3);
    EXPECT_EQ(output, (std::vector<int32_t>{1, 3, 5, 0}));
    EXPECT_EQ(values, (std::vector<int32_t>{5, 1, 5, 3})); // the values themselves are not sorted
}

TEST(Tbvtab, OverflowWritesWhatFitsAndCountsAll)
{
    const std::vector<int32_t> values = {5, 1, 5, 3};
    std::vector<int32_t> work(4), output(3, 0);
    int32_t distinct = 0;
    EXPECT_EQ(tbvtab(Vec<const int32_t>(values.data(), 4), Vec<int32_t>(work.data(), 4), Vec<int32_t>(output.data(), 2),
                     distinct),
              kCapacityError);
    EXPECT_EQ(distinct, 3);
    EXPECT_EQ(output, (std::vector<int32_t>{1, 3, 0}));
}

TEST(Tbvtab, InPlaceOverTheValues)
{
    std::vector<int32_t> list = {4, 4, 2, 9, 2, 4, 1};
    int32_t distinct = 0;
    const Vec<int32_t> all(list.data(), 7);
    ASSERT_EQ(tbvtab(all, all, all, distinct), kOk);
    EXPECT_EQ(distinct, 4);
    EXPECT_EQ(std::vector<int32_t>(list.begin(), list.begin() + 4), (std::vector<int32_t>{1, 2, 4, 9}));
}

TEST(Tbvtab, EmptyAndCapacityCases)
{
    std::vector<int32_t> output(1, 7);
    int32_t distinct = 9;
    EXPECT_EQ(tbvtab(Vec<const int32_t>(), Vec<int32_t>(), Vec<int32_t>(output.data(), 1), distinct), kOk);
    EXPECT_EQ(distinct, 0);
    EXPECT_EQ(output[0], 7);
    const std::vector<int32_t> values = {2, 1};
    std::vector<int32_t> work(2);
    EXPECT_EQ(tbvtab(Vec<const int32_t>(values.data(), 2), Vec<int32_t>(work.data(), 2), Vec<int32_t>(), distinct),
              kCapacityError);
    EXPECT_EQ(tbvtab(Vec<const int32_t>(values.data(), 2), Vec<int32_t>(work.data(), 1), Vec<int32_t>(output.data(), 1),
                     distinct),
              kCapacityError);
    // exactly full
    EXPECT_EQ(tbvtab(Vec<const int32_t>(values.data(), 2), Vec<int32_t>(work.data(), 2), Vec<int32_t>(work.data(), 2),
                     distinct),
              kOk);
    EXPECT_EQ(work, (std::vector<int32_t>{1, 2}));
}

} // namespace
} // namespace tesmo
