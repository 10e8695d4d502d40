#include "size/rf_densdef.hpp"

#include "files/es_densite.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace tesmo {
namespace {

/// Points 1 (0,0), 2 (3,0), 3 (3,4), 4 (9,9) alone; edges 1-2, 2-3 and the isolated point 4.
struct Triangle {
    std::vector<float> xy{0, 0, 3, 0, 3, 4, 9, 9};
    std::vector<int32_t> edges{1, 2, 2, 3, 4, 0};
    Rows<const float> coordinates() const { return Rows<const float>(xy.data(), 2, 4); }
    Rows<const int32_t> rows() const { return Rows<const int32_t>(edges.data(), 2, 3); }
};

TEST(Dncctb, SizesByMode)
{
    const Triangle t;
    std::vector<float> sizes(4, 0.0f);
    const Vec<float> out(sizes.data(), 4);
    // 1: the shortest edge about each node; the isolated point keeps "no size"
    ASSERT_EQ(dncctb(kDefaultSize, 1, t.rows(), DensityRecords{}, t.coordinates(), out), kOk);
    EXPECT_EQ(sizes, (std::vector<float>{3.0f, 3.0f, 4.0f, kNoSize}));
    // 2: no concentration leaves every node at "no size"; one point concentration of ratio 2
    ASSERT_EQ(dncctb(kDensityConcentrations, 1, t.rows(), DensityRecords{}, t.coordinates(), out), kOk);
    EXPECT_EQ(sizes, std::vector<float>(4, kNoSize));
    std::vector<int32_t> integers{kGeometricProgression, kPointObject};
    std::vector<float> reals{2.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    DensityRecords point{Vec<const int32_t>(integers.data(), 2), 2, Vec<float>(reals.data(), 6), 6, 1};
    ASSERT_EQ(dncctb(kDensityConcentrations, 1, t.rows(), point, t.coordinates(), out), kOk);
    EXPECT_EQ(sizes[0], 1.0f);
    EXPECT_EQ(sizes[1], 2.0f); // distance 3: 1 + 2 < 3 <= 1 + 2 + 4
    // 3: the given sizes, which must all be positive
    std::vector<float> given{0.5f, 1.0f, 2.0f, 3.0f};
    DensityRecords atPoints{{}, 0, Vec<float>(given.data(), 4), 4, 1};
    ASSERT_EQ(dncctb(kSizesAtPoints, 1, t.rows(), atPoints, t.coordinates(), out), kOk);
    EXPECT_EQ(sizes, given);
    given[2] = 0.0f;
    EXPECT_EQ(dncctb(kSizesAtPoints, 1, t.rows(), atPoints, t.coordinates(), out), kDataError);
    EXPECT_EQ(dncctb(kSizesAtPoints, 1, t.rows(), atPoints, t.coordinates(), Vec<float>(sizes.data(), 3)),
              kCapacityError);
    EXPECT_EQ(dncctb(kRandomSizes, 1, t.rows(), atPoints, t.coordinates(), out), kNotAvailable);
}

TEST(Dnchpo, MeanSizeOverLongestEdge)
{
    const Triangle t;
    std::vector<float> given{1.0f, 2.0f, 4.0f, 1.0f};
    std::vector<int32_t> triangle{1, 2, 3};
    float ratio = 0.0f;
    float wanted = 0.0f;
    ASSERT_EQ(dnchpo(1, Rows<const int32_t>(triangle.data(), 3, 1), {}, t.coordinates(), {}, {},
                     Vec<const float>(given.data(), 4), ratio, wanted),
              kOk);
    EXPECT_FLOAT_EQ(wanted, 7.0f / 3.0f);
    EXPECT_FLOAT_EQ(ratio, 7.0f / 15.0f);
    ASSERT_EQ(dnchpo(2, t.rows(), {}, t.coordinates(), {}, {}, Vec<const float>(given.data(), 4), ratio, wanted),
              kOk);
    EXPECT_FLOAT_EQ(ratio, 3.0f / 4.0f);
    // coincident nodes, a lone point, a non-positive mean
    std::vector<int32_t> null{1, 1};
    EXPECT_EQ(dnchpo(1, Rows<const int32_t>(null.data(), 2, 1), {}, t.coordinates(), {}, {},
                     Vec<const float>(given.data(), 4), ratio, wanted),
              kDataError);
    EXPECT_EQ(dnchpo(3, t.rows(), {}, t.coordinates(), {}, {}, Vec<const float>(given.data(), 4), ratio, wanted),
              kDataError);
    given[1] = -3.0f;
    EXPECT_EQ(dnchpo(1, t.rows(), {}, t.coordinates(), {}, {}, Vec<const float>(given.data(), 4), ratio, wanted),
              kDataError);
}

} // namespace
} // namespace tesmo
