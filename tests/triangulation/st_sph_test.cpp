#include "triangulation/st_sph.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace tesmo {
namespace {

TEST(Spcomp, MovesRecordsLikeNucompMovesElements)
{
    // with the list (2, 3) the records end as old 2, old 3, old 1
    std::vector<float> records = {1, 1, 2, 2, 3, 3};
    const std::vector<int32_t> list = {2, 3}, bad = {2, 5};
    ASSERT_EQ(spcomp(Rows<float>(records.data(), 2, 3), 3, Vec<const int32_t>(list.data(), 2)), kOk);
    EXPECT_EQ(records, (std::vector<float>{2, 2, 3, 3, 1, 1}));
    EXPECT_EQ(spcomp(Rows<float>(records.data(), 2, 3), 3, Vec<const int32_t>(bad.data(), 2)), kDataError);
    EXPECT_EQ(records, (std::vector<float>{3, 3, 2, 2, 1, 1})); // the first exchange stays done
}

TEST(Spperm, RefusesNumbersAndRecordsItCannotHold)
{
    std::vector<float> records(16, 0.0f);
    records[0] = 1.0f;
    EXPECT_EQ(spperm(Rows<float>(records.data(), 3, 3), 2, 1, 3), kDataError); // beyond the count
    EXPECT_EQ(spperm(Rows<float>(records.data(), 3, 3), 4, 1, 2), kCapacityError);
    EXPECT_EQ(spperm(Rows<float>(records.data(), 8, 2), 2, 1, 2), kCapacityError); // records of 8
    ASSERT_EQ(spperm(Rows<float>(records.data(), 7, 2), 2, 1, 2), kOk);           // 7 is the most
    EXPECT_EQ(records[7], 1.0f);
}

} // namespace
} // namespace tesmo
