#include "geometry/cg_inter2d.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace tesmo {
namespace {

/// The sides crossed and the vertices on the line, or the code when it is not 0.
std::pair<std::vector<int32_t>, std::vector<int32_t>> cross(std::vector<float> x, std::vector<float> y,
                                                            const float* line, float eps, int& code,
                                                            int32_t capacity = 8)
{
    std::vector<int32_t> sides(8, 0);
    std::vector<int32_t> onLine(8, 0);
    int32_t sideCount = 0;
    int32_t onLineCount = 0;
    code = indrpo(x.data(), y.data(), int32_t(x.size()), line, eps, Vec<int32_t>(sides.data(), capacity), sideCount,
                  Vec<int32_t>(onLine.data(), capacity), onLineCount);
    sides.resize(std::size_t(sideCount));
    onLine.resize(std::size_t(onLineCount));
    return {sides, onLine};
}

using List = std::vector<int32_t>;

TEST(Indrpo, SidesChangeTheLastStrictSignAndVerticesInTheBandAreOnTheLine)
{
    const float horizontal[3] = {0.0f, 1.0f, 0.0f}; // y = 0
    const float eps = 0.01f;
    int code = 0;
    EXPECT_EQ(cross({0, 2, 2, 0}, {-1, -1, 1, 1}, horizontal, eps, code), std::pair(List{2, 4}, List{}));
    // vertex 1 in the band: no sign before vertex 2, so side 2 alone
    EXPECT_EQ(cross({0, 1, 1}, {0.005f, 1, -1}, horizontal, eps, code), std::pair(List{2}, List{1}));
    // vertex 2 in the band: vertex 1's sign carries over it, so sides 2 and 3
    EXPECT_EQ(cross({1, 0, 1}, {1, -0.005f, -1}, horizontal, eps, code), std::pair(List{2, 3}, List{2}));
    // |v| = eps is outside the band
    EXPECT_EQ(cross({0, 1, 2}, {-eps, 1, 1}, horizontal, eps, code), std::pair(List{1, 3}, List{}));
    EXPECT_EQ(code, kOk);
    cross({0, 2, 2, 0}, {-1, -1, 1, 1}, horizontal, eps, code, 1);
    EXPECT_EQ(code, kCapacityError);
    cross({}, {}, horizontal, eps, code);
    EXPECT_EQ(code, kDataError);
}

} // namespace
} // namespace tesmo
