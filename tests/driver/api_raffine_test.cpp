// The refinement stage of a zone: the room, the sizes at the nodes extended with their true
// count, and the nodal sizes.
#include "driver/api_raffine.hpp"

#include "files/es_densite.hpp"
#include "geometry/cg_epsi.hpp"
#include "topology/st_generic.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace tesmo {
namespace {

/// A square of side 4 with 16 border nodes, triangulated, with sizes 0.5 at its nodes.
struct SquareZone {
    SquareZone()
    {
        icgeps();
        stinit();
        for (int side = 0; side < 4; ++side) {
            for (int i = 0; i < 4; ++i) {
                const float x[4] = {float(i), 4.0f, 4.0f - float(i), 0.0f};
                const float y[4] = {0.0f, float(i), 4.0f, 4.0f - float(i)};
                coordinates[std::size_t(2 * (4 * side + i))] = x[side];
                coordinates[std::size_t(2 * (4 * side + i) + 1)] = y[side];
                edges.push_back(4 * side + i + 1);
                edges.push_back((4 * side + i + 1) % 16 + 1);
            }
        }
        zone.ITRNOE = Rows<int32_t>(triangles.data(), 3, 400);
        zone.ITRTRI = Rows<int32_t>(neighbours.data(), 3, 400);
        zone.NOETRI = Vec<int32_t>(nodeTriangle.data(), 200);
        zone.noemax = 200;
        zone.nbemax = 400;
        EXPECT_EQ(mgtria(Rows<int32_t>(edges.data(), 2, 16), 1, 16, plane(), 16, zone, freeIntegers(), freeReals()),
                  kOk);
        sizes.refinementMode = kSizesAtPoints;
        sizes.reals = Vec<float>(nodeSizes.data(), 200);
        sizes.realsPerRecord = 16;
        sizes.records = 1;
    }
    Rows<float> plane() { return Rows<float>(coordinates.data(), 2, 200); }
    Vec<int32_t> freeIntegers() { return Vec<int32_t>(integers.data(), int32_t(integers.size())); }
    Vec<float> freeReals() { return Vec<float>(reals.data(), int32_t(reals.size())); }

    std::vector<float> coordinates = std::vector<float>(400, 0.0f);
    std::vector<int32_t> edges;
    std::vector<int32_t> triangles = std::vector<int32_t>(1200, 0);
    std::vector<int32_t> neighbours = std::vector<int32_t>(1200, 0);
    std::vector<int32_t> nodeTriangle = std::vector<int32_t>(200, 0);
    std::vector<int32_t> integers = std::vector<int32_t>(20000, 0);
    std::vector<float> reals = std::vector<float>(20000, 0.0f);
    std::vector<float> nodeSizes = std::vector<float>(200, 0.5f);
    std::vector<float> nodal = std::vector<float>(200, 0.0f);
    SizeSpecification sizes;
    ZoneElements zone;
};

TEST(Mgraft, SizesAtTheNodesExtendTheListWithTheirTrueCount)
{
    SquareZone square;
    ASSERT_EQ(mgraft(square.zone, 1000, square.plane(), Vec<float>(square.nodal.data(), 200), square.sizes,
                     square.freeIntegers(), square.freeReals()),
              kOk);
    EXPECT_GT(square.zone.nodes, 16);
    EXPECT_EQ(square.sizes.realsPerRecord, square.zone.nodes);
    for (int32_t v = 1; v <= square.zone.nodes; ++v) {
        EXPECT_EQ(square.nodal[std::size_t(v - 1)], 0.5f) << v; // every new node between sizes 0.5
    }
    EXPECT_EQ(square.nodal[std::size_t(square.zone.nodes)], 0.0f);
}

TEST(Mgraft, RoomBoundsTheNewNodesAndNodalSizesAreStillEvaluated)
{
    SquareZone capped;
    capped.sizes.refinementMode = kDefaultSize;
    EXPECT_EQ(mgraft(capped.zone, 0, capped.plane(), Vec<float>(capped.nodal.data(), 200), capped.sizes,
                     capped.freeIntegers(), capped.freeReals()),
              kOk);
    EXPECT_EQ(capped.zone.nodes, 16);
    EXPECT_EQ(capped.nodal[0], 1.0f); // the shortest edge at the corner
    SquareZone three;
    EXPECT_EQ(mgraft(three.zone, 3, three.plane(), Vec<float>(), three.sizes, three.freeIntegers(), three.freeReals()),
              kMaxNodesReached);
    EXPECT_EQ(three.zone.nodes, 19);
    // a mode the stage does not know is refused when there is room
    SquareZone unknown;
    unknown.sizes.refinementMode = 0;
    EXPECT_EQ(mgraft(unknown.zone, 3, unknown.plane(), Vec<float>(), unknown.sizes, unknown.freeIntegers(),
                     unknown.freeReals()),
              kDataError);
}

} // namespace
} // namespace tesmo
