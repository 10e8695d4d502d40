#include "topology/st_tableau.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace tesmo {
namespace {

using V = std::vector<int32_t>;

TEST(Knuta, SortsAsTheLibraryDoes)
{
    V list = {3, 1, 2, 1};
    knuta(Vec<int32_t>(list.data(), 4));
    EXPECT_EQ(list, (V{1, 1, 2, 3}));
    std::mt19937 random(17);
    for (int trial = 0; trial < 200; ++trial) {
        V values(random() % 70);
        std::generate(values.begin(), values.end(), [&] { return int32_t(random() % 30) - 10; });
        V expected = values;
        std::sort(expected.begin(), expected.end());
        knuta(Vec<int32_t>(values.data(), int32_t(values.size())));
        ASSERT_EQ(values, expected);
    }
}

TEST(Tbvtab, DistinctValuesAscendingCountedInFullInPlaceOrEmpty)
{
    const V values = {5, 1, 5, 3};
    V work(4), output(4, 0);
    int32_t distinct = 0;
    const auto run = [&](int32_t capacity, int32_t workSize) {
        output.assign(4, 0);
        return tbvtab(Vec<const int32_t>(values.data(), 4), Vec<int32_t>(work.data(), workSize),
                      Vec<int32_t>(output.data(), capacity), distinct);
    };
    ASSERT_EQ(run(3, 4), kOk); // exactly full
    EXPECT_EQ(output, (V{1, 3, 5, 0}));
    EXPECT_EQ(values, (V{5, 1, 5, 3})); // a copy is sorted, not the values
    EXPECT_EQ(run(2, 4), kCapacityError);
    EXPECT_EQ(distinct, 3);
    EXPECT_EQ(output, (V{1, 3, 0, 0}));
    EXPECT_EQ(run(0, 4), kCapacityError);
    EXPECT_EQ(run(4, 3), kCapacityError);
    V list = {4, 4, 2, 9, 2, 4, 1};
    const Vec<int32_t> all(list.data(), 7);
    ASSERT_EQ(tbvtab(all, all, all, distinct), kOk);
    EXPECT_EQ(V(list.begin(), list.begin() + distinct), (V{1, 2, 4, 9}));
    ASSERT_EQ(tbvtab(Vec<const int32_t>(), Vec<int32_t>(), all, distinct), kOk);
    EXPECT_EQ(distinct, 0);
    EXPECT_EQ(list[0], 1);
}

} // namespace
} // namespace tesmo
