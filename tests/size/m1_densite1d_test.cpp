#include "size/m1_densite1d.hpp"

#include "files/es_densite.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace tesmo {
namespace {

TEST(D1isui, MidpointSizeOverLength)
{
    std::vector<float> xy{0, 0, 4, 0};
    std::vector<int32_t> edge{1, 2};
    std::vector<int32_t> integers{kGeometricProgression, kPointObject};
    std::vector<float> reals{2.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f}; // sizes 1 up to 1, 2 up to 3
    std::vector<float> length{0.0f};
    float ratio = 0.0f;
    float wanted = 0.0f;
    const auto call = [&](Rows<float> table) {
        return d1isui(1, Rows<const int32_t>(edge.data(), 2, 1), {}, Rows<const float>(xy.data(), 2, 2), table,
                      Vec<const int32_t>(integers.data(), 2), Vec<const float>(reals.data(), 6), ratio, wanted);
    };
    ASSERT_EQ(call(Rows<float>(length.data(), 1, 1)), kOk);
    EXPECT_EQ(wanted, 2.0f); // at the midpoint, 2 away
    EXPECT_EQ(ratio, 0.5f);
    EXPECT_EQ(length[0], 4.0f); // stored, then used
    length[0] = 8.0f;
    ASSERT_EQ(call(Rows<float>(length.data(), 1, 1)), kOk);
    EXPECT_EQ(ratio, 0.25f);
    // a negative difference of an arithmetic progression wants a negative size: refused
    integers[0] = kArithmeticProgression;
    reals[0] = -5.0f;
    EXPECT_EQ(call(Rows<float>()), kDataError);
    // a null edge
    integers[0] = kGeometricProgression;
    reals[0] = 2.0f;
    xy[2] = 0.0f;
    EXPECT_EQ(call(Rows<float>()), kDataError);
}

TEST(D1su2, NodesPassThroughTheFootOfThePoint)
{
    // point object at (5, 1) of size 0.2, ratio 1.5: the edge 0..10 on the x axis is cut at its foot
    const float a[2] = {0.0f, 0.0f};
    const float b[2] = {10.0f, 0.0f};
    const float object[2] = {5.0f, 1.0f};
    std::vector<float> x(2 * 200, 0.0f);
    int32_t n = 0;
    ASSERT_EQ(d1su2(a, b, kGeometricProgression, 0.2f, 1.5f, kPointObject, object, Rows<float>(x.data(), 2, 200), n),
              kOk);
    ASSERT_GT(n, 4);
    bool foot = false;
    float previous = 0.0f;
    for (int32_t i = 0; i < n; ++i) {
        foot = foot || x[std::size_t(2 * i)] == 5.0f;
        EXPECT_GT(x[std::size_t(2 * i)], previous);
        previous = x[std::size_t(2 * i)];
    }
    EXPECT_TRUE(foot);
    EXPECT_EQ(d1su2(a, b, kGeometricProgression, 0.2f, 1.5f, kPointObject, object, Rows<float>(x.data(), 2, 3), n),
              kCapacityError);
}

} // namespace
} // namespace tesmo
