#include "size/m4_densite2d.hpp"

#include "files/es_densite.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace tesmo {
namespace {

TEST(D2isui, EquilateralTriangleOfTheWantedSide)
{
    // side s, circumcentre (s/2, s/(2 sqrt 3)); the point object at the origin is 0.577 s away
    const float s = 2.0f;
    const float r = s / std::sqrt(3.0f);
    std::vector<float> xy{0.0f, 0.0f, s, 0.0f, 0.5f * s, 0.5f * std::sqrt(3.0f) * s};
    std::vector<int32_t> nodes{1, 2, 3};
    std::vector<float> circle{0.0f, -2.0f * r}; // 2 (centre - last node)
    std::vector<int32_t> integers{kGeometricProgression, kPointObject};
    std::vector<float> reals{1.0f, s, 0.0f, 0.0f, 0.0f, 0.0f};
    float ratio = 0.0f;
    float wanted = 0.0f;
    const auto call = [&] {
        return d2isui(1, Rows<const int32_t>(nodes.data(), 3, 1), {}, Rows<const float>(xy.data(), 2, 3),
                      Rows<float>(circle.data(), 2, 1), Vec<const int32_t>(integers.data(), 2),
                      Vec<const float>(reals.data(), 6), ratio, wanted);
    };
    ASSERT_EQ(call(), kOk);
    EXPECT_EQ(wanted, s);
    EXPECT_NEAR(ratio, 1.0f, 1e-6f);
    reals[1] = 0.5f * s; // twice too large
    ASSERT_EQ(call(), kOk);
    EXPECT_NEAR(ratio, 0.5f, 1e-6f);
    reals[1] = 0.0f;
    EXPECT_EQ(call(), kDataError);
    reals[1] = s;
    circle = {0.0f, 0.0f};
    EXPECT_EQ(call(), kDataError);
}

} // namespace
} // namespace tesmo
