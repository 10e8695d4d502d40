#include "geometry/cg_epsi.hpp"
#include "geometry/cg_vectoriel.hpp"
#include "support/codes.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>

namespace tesmo {
namespace {

template <std::size_t N>
std::array<float, N> values(const float* run)
{
    std::array<float, N> out{};
    std::copy(run, run + N, out.begin());
    return out;
}

TEST(VectorRoutines, NormNullTestAndCrossProduct)
{
    icgeps();
    const float tiny[3] = {1e-20f, 0.0f, 0.0f};
    EXPECT_EQ(xnorve(tiny, 3), 1e-20f);
    const float mixed[3] = {3.0f, 1e-20f, -4.0f};
    EXPECT_EQ(xnorve(mixed, 3), 5.0f);
    const float zero[2] = {0.0f, -0.0f};
    EXPECT_EQ(xnorve(zero, 2), 0.0f);
    const float small[3] = {1e-8f, 0.0f, -epsRelative()};
    EXPECT_TRUE(nullve(small, 3));
    const float last[3] = {0.0f, 0.0f, 2e-7f};
    EXPECT_FALSE(nullve(last, 3));
    EXPECT_FALSE(nullve(small, 0));

    // At every power of two the norm scales exactly and is the plain single-precision one
    // wherever that one does not underflow.
    std::mt19937 random(3);
    std::uniform_real_distribution<float> component(-10.0f, 10.0f);
    for (int trial = 0; trial < 200; ++trial) {
        const float v[3] = {component(random), component(random), component(random)};
        const float plain = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
        ASSERT_EQ(xnorve(v, 3), plain);
        const int k = trial % 121 - 60;
        const float scaled[3] = {std::ldexp(v[0], k), std::ldexp(v[1], k), std::ldexp(v[2], k)};
        EXPECT_EQ(xnorve(scaled, 3), std::ldexp(plain, k)) << k;
    }

    // The cross product may overwrite an operand.
    float a[3] = {1.0f, 2.0f, 3.0f};
    const float b[3] = {4.0f, 5.0f, 6.0f};
    vectve(a, b, 3, a);
    EXPECT_EQ(values<3>(a), (std::array<float, 3>{-3.0f, 6.0f, -3.0f}));
}

TEST(Matrix33, InverseOfRotationsOnly)
{
    // Rows (2 1 0), (0 3 1), (1 0 4), stored by columns.
    const float m[9] = {2.0f, 0.0f, 1.0f, 1.0f, 3.0f, 0.0f, 0.0f, 1.0f, 4.0f};
    EXPECT_EQ(m33det(m), 25.0f);
    // A quarter turn about z is inverted by its transpose, in place as well.
    float turn[9] = {0.0f, 1.0f, 0.0f, -1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f};
    ASSERT_EQ(m33inv(turn, turn), kOk);
    EXPECT_EQ(values<9>(turn), (std::array<float, 9>{0.0f, -1.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f}));
    // A reflection, or a nearly flat matrix, is refused and the result left alone.
    const float reflection[9] = {-1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f};
    EXPECT_EQ(m33inv(reflection, turn), kDataError);
    const float flat[9] = {1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 5e-7f};
    EXPECT_EQ(m33inv(flat, turn), kDataError);
    EXPECT_EQ(turn[1], -1.0f);
}

TEST(Matrix33, ApplyUsesTheLeadingBlockOnRowsOfThree)
{
    // Rows (1 2 3), (4 5 6), (7 8 9).
    const float m[9] = {1.0f, 4.0f, 7.0f, 2.0f, 5.0f, 8.0f, 3.0f, 6.0f, 9.0f};
    float points[6] = {1.0f, 1.0f, 1.0f, 0.0f, -1.0f, 2.0f};
    ASSERT_EQ(m33app(m, points, 3, 2, points), kOk);
    EXPECT_EQ(values<6>(points), (std::array<float, 6>{6.0f, 15.0f, 24.0f, 4.0f, 7.0f, 10.0f}));
    float y[3] = {1.0f, 1.0f, 100.0f};
    ASSERT_EQ(m33app(m, y, 2, 1, y), kOk);
    EXPECT_EQ(values<3>(y), (std::array<float, 3>{3.0f, 9.0f, 100.0f}));
    EXPECT_EQ(m33app(m, y, 4, 1, y), kDataError);
    EXPECT_EQ(m33app(m, y, 3, -1, y), kDataError);
}

} // namespace
} // namespace tesmo
