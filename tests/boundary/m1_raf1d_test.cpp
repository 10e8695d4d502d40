#include "boundary/m1_raf1d.hpp"

#include "boundary/border_fixture.hpp"
#include "files/es_densite.hpp"

#include <gtest/gtest.h>

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
