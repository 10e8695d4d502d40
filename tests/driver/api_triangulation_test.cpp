// The zone stages: the triangulation of a zone, and the mapping of plane points back into space.
#include "driver/api_triangulation.hpp"

#include "driver/st_memoire.hpp"
#include "geometry/cg_epsi.hpp"
#include "geometry/cg_repere.hpp"
#include "geometry/cg_vectoriel.hpp"
#include "messages/es_chaine.hpp"
#include "messages/es_erreur.hpp"
#include "topology/st_generic.hpp"
#include "triangulation/d2_delaunay.hpp"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace tesmo {
namespace {

TEST(MapToSpace, PlaneCoordinatesGoBackToTheirPoints)
{
    icgeps();
    // Four points of the plane x + y + z = 1, their frame, and their plane coordinates.
    std::vector<float> points{1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 2.0f, -1.0f, 0.0f};
    std::array<float, 3> origin{};
    std::array<float, 9> frame{};
    std::vector<float> plane(8, 0.0f);
    ASSERT_EQ(rppncr(Vec<const int32_t>(), 0, 1, 4, Rows<const float>(points.data(), 3, 4), origin.data(), frame.data(),
                     Rows<float>(plane.data(), 2, 4)),
              kOk);
    ASSERT_EQ(m33inv(frame.data(), frame.data()), kOk);
    std::vector<float> space(12, -5.0f);
    const Rows<const float> mapped(plane.data(), 2, 4);
    ASSERT_EQ(mapToSpace(frame.data(), origin.data(), mapped, 2, 4, Rows<float>(space.data(), 3, 4)), kOk);
    EXPECT_EQ(std::vector<float>(space.begin(), space.begin() + 3), std::vector<float>(3, -5.0f));
    for (std::size_t i = 3; i < 12; ++i) {
        EXPECT_NEAR(space[i], points[i], 1e-6f) << i;
    }
    // A row beyond either table is refused before anything is written.
    std::fill(space.begin(), space.end(), -5.0f);
    EXPECT_EQ(mapToSpace(frame.data(), origin.data(), mapped, 1, 4, Rows<float>(space.data(), 3, 3)), kCapacityError);
    EXPECT_EQ(mapToSpace(frame.data(), origin.data(), Rows<const float>(plane.data(), 2, 3), 1, 4,
                         Rows<float>(space.data(), 3, 4)),
              kCapacityError);
    EXPECT_EQ(space, std::vector<float>(12, -5.0f));
}

/// Zone tables and work areas for a few nodes, as the zone pipeline carves them.
struct ZoneWork {
    ZoneWork()
    {
        icgeps();
        stinit();
        zone.ITRNOE = Rows<int32_t>(triangles.data(), 3, 100);
        zone.ITRTRI = Rows<int32_t>(neighbours.data(), 3, 100);
        zone.NOETRI = Vec<int32_t>(nodeTriangle.data(), 100);
        zone.noemax = 100;
        zone.nbemax = 100;
    }
    std::vector<int32_t> triangles = std::vector<int32_t>(300, 0);
    std::vector<int32_t> neighbours = std::vector<int32_t>(300, 0);
    std::vector<int32_t> nodeTriangle = std::vector<int32_t>(100, 0);
    std::vector<int32_t> integers = std::vector<int32_t>(5000, 0);
    std::vector<float> reals = std::vector<float>(5000, 0.0f);
    Vec<int32_t> freeIntegers{integers.data(), 5000};
    Vec<float> freeReals{reals.data(), 5000};
    ZoneElements zone;
};

TEST(Mgtria, EveryBorderEdgeIsTriedAndTheLastFailureReturned)
{
    // Node 2 lies on the edges (1, 3) and (3, 1): neither can be restored; (3, 4) and (4, 1) can.
    ZoneWork w;
    std::vector<float> points{0, 0, 1, 0, 2, 0, 1, 1};
    std::vector<int32_t> edges{1, 3, 3, 4, 4, 1, 3, 1};
    modini = 2;
    ConsoleCapture console;
    const int code = mgtria(Rows<int32_t>(edges.data(), 2, 4), 1, 4, Rows<float>(points.data(), 2, 4), 4, w.zone,
                            w.freeIntegers, w.freeReals);
    modini = 0;
    EXPECT_LT(code, kOk);
    std::size_t traces = 0;
    for (std::size_t at = console.text().find(":MGTRIA\n  APPEL RF2RAR\n"); at != std::string::npos;
         at = console.text().find(":MGTRIA\n  APPEL RF2RAR\n", at + 1)) {
        ++traces;
    }
    EXPECT_EQ(traces, 3u) << console.text(); // each failing edge, then once more at the end
    EXPECT_EQ(console.text().find("SCULPT"), std::string::npos);
}

TEST(Mgtraf, StagesShortOfRealsSaySo)
{
    // a square of the plane x + y + z = 1: its plane frame takes 2 NOEMAXz + 12 reals, then the
    // triangulation's circle table trnupoReals(4); one real short of either is told as reals
    ZoneWork w;
    std::vector<float> square{0, 0, 1, 1, 0, 0, 1, 1, -1, 0, 1, 0};
    std::vector<int32_t> edges{1, 2, 2, 3, 3, 4, 4, 1};
    const int32_t frame = 2 * w.zone.noemax + kFrameOriginReals + kFrameMatrixReals;
    const int32_t needed = frame + int32_t(trnupoReals(4));
    for (const int32_t reals : {frame - 1, needed - 1, needed}) {
        WorkShortage shortage = WorkShortage::none;
        SizeSpecification sizes;
        const int code = mgtraf(Rows<int32_t>(edges.data(), 2, 4), 4, w.zone, Rows<float>(square.data(), 3, 4),
                                Vec<float>(), sizes, 0, w.freeIntegers,
                                Vec<float>(w.reals.data(), reals), 0, &shortage);
        EXPECT_EQ(code, reals < needed ? kCapacityError : kOk) << reals;
        EXPECT_EQ(shortage, reals < needed ? WorkShortage::reals : WorkShortage::none) << reals;
    }
}

} // namespace
} // namespace tesmo
