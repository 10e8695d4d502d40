#include "size/m1_densdef.hpp"

#include "size/cg_suite.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace tesmo {
namespace {

/// Default sizes of a border given by its point coordinates (rows of 2) and edges (pairs).
struct Border {
    std::vector<float> xy;
    std::vector<int32_t> edges;
    int run(int32_t type, float ratio, bool listed, std::vector<float>& sizes)
    {
        const int32_t points = int32_t(xy.size() / 2);
        const int32_t m = int32_t(edges.size() / 2);
        sizes.assign(std::size_t(points), -7.0f);
        std::vector<int32_t> work(listed ? std::size_t(points + 2 + 5 * m) : 0);
        return d1dsln(type, ratio, Rows<const int32_t>(edges.data(), 2, m), Rows<const float>(xy.data(), 2, points),
                      Vec<float>(sizes.data(), points), Vec<int32_t>(work.data(), int32_t(work.size())));
    }
};

TEST(D1dsln, ChainWithOneLongEdge)
{
    Border chain{{0, 0, 1, 0, 2, 0, 12, 0, 50, 50}, {1, 2, 2, 3, 3, 4, 5, 0}}; // point 5 stands alone
    std::vector<float> sizes;
    ASSERT_EQ(chain.run(kGeometricProgression, 1.1f, true, sizes), kOk);
    EXPECT_EQ(sizes[0], 1.0f);
    EXPECT_EQ(sizes[1], 1.0f);
    EXPECT_EQ(sizes[2], 1.0f);
    EXPECT_FLOAT_EQ(sizes[3], 1.9487171f); // 1.1^7
    EXPECT_EQ(sizes[4], -7.0f);            // an isolated point keeps its entry
}

TEST(D1dsln, RefusesNullEdgesAndShortTables)
{
    Border null{{0, 0, 0, 0}, {1, 2}};
    std::vector<float> sizes;
    EXPECT_EQ(null.run(kGeometricProgression, 1.1f, true, sizes), kDataError);
    Border beyond{{0, 0, 1, 0}, {1, 3}};
    EXPECT_EQ(beyond.run(kGeometricProgression, 1.1f, true, sizes), kCapacityError);
}

/// Random borders (loops and chains of random lengths, edges in shuffled order) with increasing,
/// decreasing and arithmetic progressions: visiting only the listed edges gives exactly the
/// sizes of the full sweeps.
TEST(D1dsln, ListedEdgesGiveTheSweepsResult)
{
    std::mt19937 random(3);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    for (int trial = 0; trial < 300; ++trial) {
        const int32_t points = 2 + int32_t(random() % 60);
        Border border;
        float x = 0.0f;
        for (int32_t p = 0; p < points; ++p) {
            x += unit(random) < 0.2f ? 20.0f * unit(random) + 0.01f : 0.05f + unit(random);
            border.xy.push_back(x);
            border.xy.push_back(unit(random) < 0.5f ? 0.0f : unit(random));
        }
        for (int32_t p = 1; p < points; ++p) {
            border.edges.push_back(p);
            border.edges.push_back(p + 1);
        }
        if (trial % 3 == 0) {
            border.edges.push_back(points);
            border.edges.push_back(1);
        }
        for (std::size_t e = border.edges.size() / 2; e > 1; --e) {
            const std::size_t f = random() % e;
            std::swap(border.edges[2 * (e - 1)], border.edges[2 * f]);
            std::swap(border.edges[2 * (e - 1) + 1], border.edges[2 * f + 1]);
        }
        const int32_t type = trial % 4 == 3 ? kArithmeticProgression : kGeometricProgression;
        float step = type == kArithmeticProgression ? 0.2f * unit(random) : 0.5f + 1.5f * unit(random);
        if (trial % 10 == 1) {
            step = 1.0f; // a constant size travels along the whole border
        }
        std::vector<float> swept;
        std::vector<float> listed;
        ASSERT_EQ(border.run(type, step, false, swept), kOk);
        ASSERT_EQ(border.run(type, step, true, listed), kOk);
        ASSERT_EQ(swept, listed) << trial;
    }
}

TEST(Dnidef, ShortestEdgeOverCircumradius)
{
    // right triangle of legs 3 and 4: circumradius 2.5, circle vector from the last node
    std::vector<float> xy{0, 0, 4, 0, 0, 3};
    std::vector<int32_t> nodes{1, 2, 3};
    std::vector<float> circle{4.0f, -3.0f}; // 2 (centre - last node)
    float ratio = 0.0f;
    float wanted = 0.0f;
    ASSERT_EQ(dnidef(1, Rows<const int32_t>(nodes.data(), 3, 1), {}, Rows<const float>(xy.data(), 2, 3),
                     Rows<float>(circle.data(), 2, 1), {}, {}, ratio, wanted),
              kOk);
    EXPECT_FLOAT_EQ(wanted, 3.0f);
    EXPECT_FLOAT_EQ(ratio, 3.0f / 2.5f);
    std::vector<float> none{0.0f, 0.0f};
    EXPECT_EQ(dnidef(1, Rows<const int32_t>(nodes.data(), 3, 1), {}, Rows<const float>(xy.data(), 2, 3),
                     Rows<float>(none.data(), 2, 1), {}, {}, ratio, wanted),
              kDataError);
    // the same triangle 2^-40 times smaller (a circumradius of 2.3e-12): the same ratio
    for (float& c : xy) {
        c = std::ldexp(c, -40);
    }
    for (float& c : circle) {
        c = std::ldexp(c, -40);
    }
    ASSERT_EQ(dnidef(1, Rows<const int32_t>(nodes.data(), 3, 1), {}, Rows<const float>(xy.data(), 2, 3),
                     Rows<float>(circle.data(), 2, 1), {}, {}, ratio, wanted),
              kOk);
    EXPECT_FLOAT_EQ(ratio, 3.0f / 2.5f);
}

} // namespace
} // namespace tesmo
