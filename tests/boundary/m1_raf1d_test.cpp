#include "boundary/m1_raf1d.hpp"

#include "boundary/border_fixture.hpp"
#include "files/es_densite.hpp"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace tesmo {
namespace {

using testing::Border;

/// Default sizes around a 10 x 1 rectangle: size 1 at every corner, each long side grows from
/// both ends to 1.4641 at its middle.
TEST(R1raf, LongSidesGrowTowardTheirMiddle)
{
    Border border({0, 0, 10, 0, 10, 1, 0, 1}, {1, 2, 2, 3, 3, 4, 4, 1}, 50, 50);
    std::vector<float> table(200, 0.0f);
    ASSERT_EQ(r1raf(kGeometricProgression, 1.1f, border.mesh, Vec<float>(table.data(), 200), Vec<int32_t>()), kOk);
    ASSERT_EQ(border.mesh.nodeCount, 18);
    const float expected[7] = {1.029f, 2.193f, 3.510f, 5.0f, 6.490f, 7.807f, 8.971f};
    for (int32_t i = 0; i < 7; ++i) {
        EXPECT_NEAR(border.x(5 + i), expected[i], 1e-3f);
    }
    // edge 1 keeps its first piece; the pieces cut from it follow it up to node 2 and keep its attributes
    EXPECT_EQ(border.mesh.edges(1, 2), 5);
    EXPECT_EQ(border.mesh.edges(11, 2), 2);
    for (int32_t e = 5; e <= 11; ++e) {
        EXPECT_EQ(border.mesh.attributes(e, 1), 7) << e;
    }
    EXPECT_EQ(border.mesh.edgeCount, 18);
}

/// An edge of 2.1 between sizes 1 is cut at its middle: the size reached there is held to the
/// half length, not left at 1.1 where no node would fit.
TEST(R1arno, MiddleSizeIsNoLargerThanTheHalfLength)
{
    Border border({0, 0, 2.1f, 0}, {1, 2}, 10, 10);
    std::vector<float> scratch(40, 0.0f);
    int32_t placed = 0;
    ASSERT_EQ(r1arno(1, kGeometricProgression, 1.0f, 1.0f, 1.1f, border.mesh, Rows<float>(scratch.data(), 2, 20),
                     placed),
              kOk);
    ASSERT_EQ(placed, 1);
    EXPECT_FLOAT_EQ(border.x(3), 1.05f);
}

/// An edge of 10 whose ends want different sizes, ratio 1.1: the size reached at its middle is
/// min(scsupo(sA, 5), scsupo(sB, 5)). Worked by hand:
/// - sA = 1, sB = 1.2: 1.1^4 = 1.4641 and 1.2 1.1^3 = 1.5972, so 1.4641 exceeds both ends:
///   each half grows toward the middle, ratios 4/3.5359 and 3.5359/3.8, 3 nodes each, and the
///   middle is a node;
/// - sA = 1, sB = 2: 1.4641 and 2 1.1^2 = 2.42, so the middle size does not exceed sB: one
///   progression from 1 to 2 over the edge, ratio 9/8, NINT(ln 2 / ln 1.125) = 6 nodes.
TEST(R1arno, EndsOfDifferentSizesGrowFromEachEndOrRunFromOneToTheOther)
{
    const std::pair<float, std::vector<float>> cases[2] = {
        {1.2f, {1.0291f, 2.1932f, 3.5102f, 5.0f, 6.3881f, 7.6798f, 8.8816f}},
        {2.0f, {0.9760f, 2.0741f, 3.3094f, 4.6991f, 6.2625f, 8.0213f}},
    };
    for (const auto& [sB, expected] : cases) {
        Border border({0, 0, 10, 0}, {1, 2}, 20, 20);
        std::vector<float> scratch(40, 0.0f);
        int32_t placed = 0;
        ASSERT_EQ(r1arno(1, kGeometricProgression, 1.0f, sB, 1.1f, border.mesh, Rows<float>(scratch.data(), 2, 20),
                         placed),
                  kOk);
        ASSERT_EQ(placed, int32_t(expected.size())) << sB;
        for (int32_t i = 0; i < placed; ++i) {
            EXPECT_NEAR(border.x(3 + i), expected[std::size_t(i)], 2e-4f) << sB << " node " << i + 1;
        }
    }
}

/// Too small a node maximum keeps what fits from the first end and says so with +1.
TEST(R1arno, NodeMaximumKeepsWhatFits)
{
    Border border({0, 0, 10, 0}, {1, 2}, 5, 10);
    std::vector<float> scratch(40, 0.0f);
    int32_t placed = 0;
    ASSERT_EQ(r1arno(1, kGeometricProgression, 1.0f, 1.0f, 1.1f, border.mesh, Rows<float>(scratch.data(), 2, 20),
                     placed),
              kMaxNodesReached);
    EXPECT_EQ(placed, 3);
    EXPECT_EQ(border.mesh.nodeCount, 5);
    EXPECT_NEAR(border.x(5), 3.510f, 1e-3f);
    EXPECT_EQ(border.mesh.edges(4, 2), 2); // the border still reaches its far end
    // with no room for the positions, the placement fails
    Border other({0, 0, 10, 0}, {1, 2}, 50, 50);
    EXPECT_EQ(r1arno(1, kGeometricProgression, 1.0f, 1.0f, 1.1f, other.mesh, Rows<float>(scratch.data(), 2, 2),
                     placed),
              kCapacityError);
}

} // namespace
} // namespace tesmo
