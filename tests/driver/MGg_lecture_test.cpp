// The storing read: both files into tables carved for them, the mesh-file fall-back and the
// border structure of smoothed borders.
#include "driver/MGg_lecture.hpp"

#include "driver/cg_epsi.hpp"
#include "files/files_test_support.hpp"
#include "shell/es_chaine.hpp"
#include "support/run_binary.hpp"
#include "topology/st_generic.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace tesmo {
namespace {

using testing::readFile;

/// Counts as the counting reads leave them, and the tables carved from them.
class StoringRead : public testfiles::FileTest {
protected:
    void SetUp() override
    {
        FileTest::SetUp();
        icgeps();
        stinit();
    }
    /// Carves the global tables for `run` with the given maxima.
    void carve(int32_t noemax, int32_t nbemax)
    {
        run.noemax = noemax;
        run.nbemax = nbemax;
        GlobalCounts counts;
        counts.zones = run.zones;
        counts.records = run.sizes.reservedRecords;
        counts.integersPerRecord = run.sizes.integersPerRecord;
        counts.realsPerRecord = run.sizes.realsPerRecord;
        counts.nodesPerElement = run.nodesPerElement;
        counts.codesPerEdge = run.codesPerEdge;
        counts.dimension = run.dimension;
        counts.neighbourTables = run.sizes.generationMode == 3;
        counts.noemax = noemax;
        counts.nbemax = nbemax;
        WorkShortage shortage = WorkShortage::none;
        ASSERT_EQ(carveGlobal(Vec<int32_t>(itvl.data(), int32_t(itvl.size())),
                              Vec<float>(rtvl.data(), int32_t(rtvl.size())), counts, tables, shortage),
                  kOk);
    }
    void defaultSizes(int32_t generationMode)
    {
        run.sizes.refinementMode = generationMode == 1 ? 1 : 2;
        run.sizes.generationMode = generationMode;
        run.sizes.integersPerRecord = 2;
        run.sizes.realsPerRecord = 6;
        run.sizes.records = 1;
        run.sizes.reservedRecords = 2;
    }
    std::vector<int32_t> itvl = std::vector<int32_t>(400, -7);
    std::vector<float> rtvl = std::vector<float>(400, -7.0f);
    RunQuantities run;
    GlobalTables tables;
};

TEST_F(StoringRead, MeshElementsBecomeEdgesWithTheirZoneFirst)
{
    write("coded.msh", readFile(TESMO_TEST_DATA "/driver_coded.msh"));
    // As counted from the borders: zones 4 and 6, no edge, three points per element.
    run.dimension = 2;
    run.points = 4;
    run.nodesPerElement = 3;
    run.zones = 2;
    run.codesPerEdge = 2;
    defaultSizes(1);
    carve(10, 5);
    ConsoleCapture console;
    ASSERT_EQ(mggesf(RunNames{"coded.msh", "", "out.msh", ""}, run, tables, 1), kOk);
    EXPECT_EQ(console.text(), " Number of concentrations : 1\n"
                              " -->READING GEOMETRY FILE :coded.msh\n"
                              " Number of points  : 4\n"
                              " Number of edges   : 3\n"
                              " Number of zones   : 2\n");
    EXPECT_EQ(run.elements, 3);
    EXPECT_EQ(run.zones, 2);
    // Elements grouped by reference (2 first, then 1), each row (code, 0).
    EXPECT_EQ(tables.zoneCodes(1), 2);
    EXPECT_EQ(tables.zoneCodes(2), 1);
    const int32_t nodes[3][3] = {{1, 2, 3}, {3, 4, 1}, {2, 3, 4}};
    const int32_t codes[3] = {2, 2, 1};
    for (int32_t e = 1; e <= 3; ++e) {
        for (int32_t j = 1; j <= 3; ++j) {
            EXPECT_EQ(tables.edgeNodes(e, j), nodes[e - 1][j - 1]) << e << "," << j;
        }
        EXPECT_EQ(tables.edgeCodeRows(e, 1), codes[e - 1]) << e;
        EXPECT_EQ(tables.edgeCodeRows(e, 2), 0) << e;
    }
    EXPECT_FLOAT_EQ(tables.coordinates(3, 1), 1.0f);
    EXPECT_FLOAT_EQ(tables.coordinates(3, 2), 1.0f);
}

TEST_F(StoringRead, AMeshWithMoreZonesThanCountedIsRefused)
{
    write("coded.msh", readFile(TESMO_TEST_DATA "/driver_coded.msh"));
    run.dimension = 2;
    run.points = 4;
    run.nodesPerElement = 3;
    run.zones = 1;
    run.codesPerEdge = 2;
    defaultSizes(1);
    carve(10, 5);
    ConsoleCapture console;
    EXPECT_EQ(mggesf(RunNames{"coded.msh", "", "out.msh", ""}, run, tables, 0), kCapacityError);
    // The geometry reader reports its own shortage first; the mesh reader's is silent.
    EXPECT_EQ(console.text(), " COMPUTER ERROR  Unknown : memory allocation?!\n"
                              " COMPUTER ERROR  while reading the file :coded.msh\n");
}

TEST_F(StoringRead, EdgesBeyondTheElementMaximumAreRefused)
{
    write("square.geo", readFile(TESMO_TEST_DATA "/driver_square.geo"));
    run.dimension = 2;
    run.points = 4;
    run.nodesPerElement = 2;
    run.zones = 1;
    run.codesPerEdge = 2;
    defaultSizes(1);
    // No row for the edges: the readers store nothing and must not be believed.
    carve(4, 0);
    ConsoleCapture console;
    EXPECT_EQ(mggesf(RunNames{"square.geo", "", "out.msh", ""}, run, tables, 0), kCapacityError);
    EXPECT_EQ(console.text(), " COMPUTER ERROR  while reading the file :square.geo\n");
}

TEST_F(StoringRead, SmoothedBordersCountTheirComponents)
{
    write("hole.geo", readFile(TESMO_TEST_DATA "/driver_hole.geo"));
    write("smoothed.den", readFile(TESMO_TEST_DATA "/driver_smoothed.den"));
    run.dimension = 2;
    run.points = 8;
    run.nodesPerElement = 2;
    run.zones = 1;
    run.codesPerEdge = 2;
    defaultSizes(3);
    carve(12, 20);
    {
        ConsoleCapture console;
        ASSERT_EQ(mggesf(RunNames{"hole.geo", "smoothed.den", "out.msh", ""}, run, tables, 0), kOk);
        EXPECT_EQ(console.text(), "");
    }
    EXPECT_EQ(run.components, 2);
    EXPECT_EQ(run.sizes.generationMode, 3);
    // The structure of the edges: each node lies on an edge, each edge has two neighbours.
    for (int32_t node = 1; node <= 8; ++node) {
        EXPECT_GT(tables.nodeEdge(node), 0) << node;
    }
    for (int32_t e = 1; e <= 8; ++e) {
        EXPECT_GT(tables.edgeNeighbours(e, 1), 0) << e;
        EXPECT_GT(tables.edgeNeighbours(e, 2), 0) << e;
    }
}

TEST_F(StoringRead, SeveralComponentsNeedAsManyFreeIntegersAsNodes)
{
    write("hole.geo", readFile(TESMO_TEST_DATA "/driver_hole.geo"));
    write("smoothed.den", readFile(TESMO_TEST_DATA "/driver_smoothed.den"));
    run.dimension = 2;
    run.points = 8;
    run.nodesPerElement = 2;
    run.zones = 1;
    run.codesPerEdge = 2;
    defaultSizes(3);
    carve(12, 20);
    run.noemax = tables.freeIntegers.count() + 1;
    ConsoleCapture console;
    EXPECT_EQ(mggesf(RunNames{"hole.geo", "smoothed.den", "out.msh", ""}, run, tables, 1), kCapacityError);
    EXPECT_TRUE(console.text().ends_with(" Number of non-connex polygons : 2\n"
                                         " COMPUTER ERROR  too many polygons\n"))
        << console.text();
}

TEST(ReportType, CodesWithoutHeadingAreDataErrors)
{
    EXPECT_EQ(reportType(-1), -1);
    EXPECT_EQ(reportType(-2), -2);
    EXPECT_EQ(reportType(-3), -3);
    EXPECT_EQ(reportType(-4), -1);
    EXPECT_EQ(reportType(1), -1);
}

} // namespace
} // namespace tesmo
