#include "driver/st_memoire.hpp"

#include "messages/es_chaine.hpp"
#include "messages/es_erreur.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace tesmo {
namespace {

TEST(Memomx, SolvesTheTwoCostEquations)
{
    int32_t n = 0;
    int32_t e = 0;
    ASSERT_EQ(memomx(1000, 1000, 2, 5, 9, 4, n, e), kOk);
    EXPECT_EQ(n, 135);
    EXPECT_EQ(e, 81);
    // Division toward zero of negative quotients: (4·10 − 9·1000) div −37 = 242, (2·1000 − 5·10) div −37 = −52.
    ASSERT_EQ(memomx(10, 1000, 2, 5, 9, 4, n, e), kOk);
    EXPECT_EQ(n, 242);
    EXPECT_EQ(e, -52);
}

TEST(Memomx, ProportionalCostsAreRefused)
{
    int32_t n = 0;
    int32_t e = 0;
    EXPECT_EQ(memomx(1000, 1000, 1, 2, 2, 4, n, e), kDataError);
    EXPECT_EQ(n, -1);
    EXPECT_EQ(e, -1);
    EXPECT_EQ(memomx(1000, 1000, -1, 2, 2, 4, n, e), kDataError);
}

TEST(Memomx, FreeNodesOrFreeElementsUseOnlyThePositiveCosts)
{
    int32_t n = 0;
    int32_t e = 0;
    ASSERT_EQ(memomx(100, 90, 2, 3, 0, 0, n, e), kOk);
    EXPECT_EQ(n, 30);
    EXPECT_EQ(e, -1);
    ASSERT_EQ(memomx(100, 90, 2, 0, 0, 0, n, e), kOk);
    EXPECT_EQ(n, 50);
    ASSERT_EQ(memomx(100, 90, 0, 3, 0, 0, n, e), kOk);
    EXPECT_EQ(n, 30);
    ASSERT_EQ(memomx(100, 90, 0, 0, 0, 0, n, e), kOk); // nothing costs anything: nothing determined
    EXPECT_EQ(n, -1);
    ASSERT_EQ(memomx(100, 90, 0, 0, 7, 4, n, e), kOk);
    EXPECT_EQ(n, -1);
    EXPECT_EQ(e, 14);
    ASSERT_EQ(memomx(100, 90, 0, 0, 7, 0, n, e), kOk); // a zero divisor is never divided by
    EXPECT_EQ(e, -1);
}

TEST(Memomx, CountsBeyond32BitsAreRefused)
{
    int32_t n = 0;
    int32_t e = 0;
    // det = −1: n = R − I = 4·10⁹.
    EXPECT_EQ(memomx(-2000000000, 2000000000, 1, 2, 1, 1, n, e), kCapacityError);
}

GlobalSizing plane(int32_t points, int32_t edges, int32_t nbn)
{
    GlobalSizing s;
    s.dimension = 2;
    s.zones = 1;
    s.points = points;
    s.edges = edges;
    s.nbn = nbn;
    return s;
}

TEST(Mggmax, NoNodeAdded)
{
    int32_t noemax = 0;
    int32_t nbemax = 0;
    ASSERT_EQ(mggmax(plane(10, 10, 0), 1000, 1000, noemax, nbemax), kOk);
    EXPECT_EQ(noemax, 10);
    EXPECT_EQ(nbemax, 15);
}

TEST(Mggmax, RequestedMaximum)
{
    int32_t noemax = 0;
    int32_t nbemax = 0;
    // b = 4, k = 9: min((1000 − 40) div 4, (1000 − 20) div 9, 18) = 18.
    ASSERT_EQ(mggmax(plane(10, 10, 10), 1000, 1000, noemax, nbemax), kOk);
    EXPECT_EQ(noemax, 10);
    EXPECT_EQ(nbemax, 18);
    // With 2 zones, nodal sizes and neighbour tables: b = 6, k = 12.
    GlobalSizing s = plane(10, 10, 100);
    s.zones = 2;
    s.nodalSizes = 1;
    s.neighbourTables = 1;
    ASSERT_EQ(mggmax(s, 3000, 1000, noemax, nbemax), kOk);
    EXPECT_EQ(noemax, 100);
    EXPECT_EQ(nbemax, 100); // (1000 − 600) div 4
    ASSERT_EQ(mggmax(s, 1400, 10000, noemax, nbemax), kOk);
    EXPECT_EQ(nbemax, 100); // (1400 − 200) div 12
    EXPECT_EQ(mggmax(plane(10, 10, 5), 1000, 1000, noemax, nbemax), kDataError);
}

TEST(Mggmax, NoMaximumLetsTheMemoryDecide)
{
    int32_t noemax = 0;
    int32_t nbemax = 0;
    // I = 998, R = 1000, det = −28: n = 178, e = 71; then 71 elements and 4 + (71 − 4) div 2 = 37 nodes.
    ASSERT_EQ(mggmax(plane(4, 4, -1), 1000, 1000, noemax, nbemax), kOk);
    EXPECT_EQ(noemax, 37);
    EXPECT_EQ(nbemax, 71);
    for (int32_t free : {100, 5000, 13000000}) {
        ASSERT_EQ(mggmax(plane(40, 40, -1), free, free, noemax, nbemax), kOk);
        EXPECT_LE(nbemax, 2 * noemax - 2);
        EXPECT_LE(noemax, 40 + (nbemax - 40) / 2);
    }
}

TEST(Mggmax, MaximaBeyond32BitsAreRefused)
{
    GlobalSizing s = plane(10, 10, 2000000000);
    s.dimension = 3;
    s.zones = 2;
    s.nodalSizes = 1;
    s.sizesAtPoints = 1;
    int32_t noemax = 0;
    int32_t nbemax = 0;
    // (1000 − 10·2·10⁹) div 4 does not fit 32 bits.
    EXPECT_EQ(mggmax(s, 1000, 1000, noemax, nbemax), kCapacityError);
}

TEST(Mg4max, ZoneMaxima)
{
    int32_t noemax = 0;
    int32_t nbemax = 0;
    ASSERT_EQ(mg4max(2, 1, 40, 80, 100, 10000, 10000, noemax, nbemax), kOk);
    EXPECT_EQ(noemax, 150);
    EXPECT_EQ(nbemax, 298); // min((10000 − 750) div 4, (10000 − 300) div 7, 298)
    ASSERT_EQ(mg4max(2, 1, 40, 80, 0, 10000, 10000, noemax, nbemax), kOk);
    EXPECT_EQ(noemax, 40);
    EXPECT_EQ(nbemax, 75);
    EXPECT_EQ(mg4max(2, 1, 40, 80, 30, 10000, 10000, noemax, nbemax), kDataError);
    // No maximum: I = 998, R = 1000, b = 5, k = 7: det = −27, n = 111, e = 110;
    // then min(110, 220) elements and min(111, 40 + (110 − 80) div 2) = 55 nodes.
    ASSERT_EQ(mg4max(2, 1, 40, 80, -1, 1000, 1000, noemax, nbemax), kOk);
    EXPECT_EQ(nbemax, 110);
    EXPECT_EQ(noemax, 55);
    // Kind other than 1: 12 integers per element and I = 1000 − 4.
    ASSERT_EQ(mg4max(2, 2, 40, 80, -1, 1000, 1000, noemax, nbemax), kOk);
    // det = −52, n = −8016 div −52 = 154, e = −2980 div −52 = 57; nodes 40 + (57 − 80) div 2 = 29
    // (the division of −23 goes toward zero).
    EXPECT_EQ(nbemax, 57);
    EXPECT_EQ(noemax, 29);
}

/// Work arrays with the pointers of a layout turned back into 1-based positions.
class Layout : public ::testing::Test {
protected:
    std::vector<int32_t> itvl;
    std::vector<float> rtvl;
    Vec<int32_t> integers() { return Vec<int32_t>(itvl.data(), int32_t(itvl.size())); }
    Vec<float> reals() { return Vec<float>(rtvl.data(), int32_t(rtvl.size())); }
    std::ptrdiff_t at(const int32_t* p) const { return p - itvl.data() + 1; }
    std::ptrdiff_t at(const float* p) const { return p - rtvl.data() + 1; }
};

/// 2 zones, 3 records of 2 integers and 6 reals, edges of 2 nodes and 2 codes, D = 2,
/// neighbour tables and nodal sizes, NOEMAX 100, NBEMAX 150: 1009 integers and 318 reals.
GlobalCounts counts()
{
    GlobalCounts c;
    c.zones = 2;
    c.records = 3;
    c.integersPerRecord = 2;
    c.realsPerRecord = 6;
    c.nodesPerElement = 2;
    c.codesPerEdge = 2;
    c.dimension = 2;
    c.neighbourTables = true;
    c.nodalSizes = true;
    c.noemax = 100;
    c.nbemax = 150;
    return c;
}

TEST_F(Layout, GlobalTablesFollowEachOtherAndKeepTheLastPosition)
{
    itvl.assign(1010, 0);
    rtvl.assign(319, 0.0f);
    GlobalTables t;
    WorkShortage shortage = WorkShortage::reals;
    ASSERT_EQ(carveGlobal(integers(), reals(), counts(), t, shortage), kOk);
    EXPECT_EQ(shortage, WorkShortage::none);
    EXPECT_EQ(at(t.sizeIntegers.data()), 3);
    EXPECT_EQ(at(t.edgeNodes.data()), 9);
    EXPECT_EQ(at(t.edgeCodes.data()), 309);
    EXPECT_EQ(t.edgeCodes.count(), 301);
    EXPECT_EQ(t.optionalStart, 610);
    EXPECT_EQ(at(t.nodeEdge.data()), 910);
    EXPECT_EQ(t.freeIntegers.count(), 0);
    EXPECT_EQ(at(t.coordinates.data()), 19);
    EXPECT_EQ(at(t.nodalSizes.data()), 219);
    EXPECT_EQ(t.freeReals.count(), 0);

    itvl.assign(1009, 0);
    EXPECT_EQ(carveGlobal(integers(), reals(), counts(), t, shortage), kCapacityError);
    EXPECT_EQ(shortage, WorkShortage::integers);
    itvl.assign(1010, 0);
    rtvl.assign(318, 0.0f);
    EXPECT_EQ(carveGlobal(integers(), reals(), counts(), t, shortage), kCapacityError);
    EXPECT_EQ(shortage, WorkShortage::reals);
}

TEST_F(Layout, OptionalTablesAndSizesAtPoints)
{
    itvl.assign(2000, 0);
    rtvl.assign(2000, 0.0f);
    GlobalCounts c = counts();
    c.neighbourTables = false;
    c.nodalSizes = false;
    c.sizesAtPoints = true;
    GlobalTables t;
    WorkShortage shortage = WorkShortage::none;
    ASSERT_EQ(carveGlobal(integers(), reals(), c, t, shortage), kOk);
    EXPECT_EQ(at(t.freeIntegers.data()), 610);
    EXPECT_EQ(t.sizeReals.count(), 100); // RADEC, one size per node
    EXPECT_EQ(t.freeReals.count(), 2000 - 1 - 300);
    c.nbemax = -1;
    EXPECT_EQ(carveGlobal(integers(), reals(), c, t, shortage), kDataError);
}

TEST_F(Layout, TrianglesReplaceTheOptionalTables)
{
    itvl.assign(1010, 0);
    rtvl.assign(319, 0.0f);
    GlobalTables global;
    WorkShortage shortage = WorkShortage::none;
    ASSERT_EQ(carveGlobal(integers(), reals(), counts(), global, shortage), kOk);
    TriangleTables t;
    ASSERT_EQ(carveTriangles(integers(), global, 2, 132, t, shortage), kOk);
    EXPECT_EQ(at(t.zoneEnds.data()), 610);
    EXPECT_EQ(t.zoneEnds.count(), 2);
    EXPECT_EQ(at(t.triangles.data()), 612);
    EXPECT_EQ(t.triangles.count(), 132);
    EXPECT_EQ(t.freeIntegers.count(), 1009 - 611 - 396);
    EXPECT_EQ(carveTriangles(integers(), global, 2, 133, t, shortage), kCapacityError);
    EXPECT_EQ(shortage, WorkShortage::integers);
}

TEST_F(Layout, ZoneTablesAreCarvedStepByStep)
{
    itvl.assign(100, 0);
    rtvl.assign(100, 0.0f);
    ZoneLayout zone(integers(), reals());
    ASSERT_EQ(zone.selection(10, 8), kOk);
    ASSERT_EQ(zone.renumbering(10), kOk);
    ASSERT_EQ(zone.localReals(20, 2, true, true), kOk);
    ASSERT_EQ(zone.zoneEdges(6), kOk);
    EXPECT_EQ(zone.freeIntegerCount(), 100 - 20 - 16 - 10 - 12);
    EXPECT_EQ(zone.freeRealCount(), 100 - 40 - 20 - 20);
    const ZoneTables& t = zone.tables();
    EXPECT_EQ(at(t.INEWNU.data()), 37);
    EXPECT_EQ(at(t.IARMA.data()), 47);
    EXPECT_EQ(at(t.IGRDMX.data()), 61);
    // 42 integers are left: 3 rows of 3 twice and 6 nodes take 24.
    ASSERT_EQ(zone.elements(6, 3), kOk);
    EXPECT_EQ(at(t.NOETRI.data()), 77);
    EXPECT_EQ(t.freeIntegers.count(), 18);
    EXPECT_EQ(zone.elements(4, 3), kCapacityError);
    EXPECT_EQ(zone.shortage(), WorkShortage::integers);
    ASSERT_EQ(zone.planeFrame(4), kOk);
    EXPECT_EQ(t.frameMatrix.count(), 3);
    EXPECT_EQ(t.freeReals.count(), 0);
    EXPECT_EQ(zone.planeFrame(0), kCapacityError);
    EXPECT_EQ(zone.shortage(), WorkShortage::reals);
}

} // namespace
} // namespace tesmo
