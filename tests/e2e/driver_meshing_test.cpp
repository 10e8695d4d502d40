// Whole runs of the program from a geometry to a mesh file, checked by the mesh checker.
#include "support/mesh_check.hpp"
#include "support/run_binary.hpp"

#include <gtest/gtest.h>

#include <algorithm>

namespace tesmo {
namespace {

using testing::checkMeshFiles;
using testing::MeshData;
using testing::MeshReport;
using testing::readFile;
using testing::readMesh;
using testing::runBinary;
using testing::RunResult;
using testing::ScratchDirectory;

const std::string kBanner = " tesmo 2.06\n DATE 23 11 2011\n";

/// Meshes one of the driver's test geometries in a fresh directory.
class Meshing : public ::testing::Test {
protected:
    /// Runs tesmo on `geometry` (a file of tests/data without its "driver_" prefix) and
    /// checks the mesh written; returns the console output.
    std::string mesh(const std::string& geometry, const std::vector<std::string>& more = {})
    {
        directory.write(geometry, readFile(std::string(TESMO_TEST_DATA) + "/driver_" + geometry));
        std::vector<std::string> arguments{"v", geometry, "-", "out.msh"};
        arguments.insert(arguments.end(), more.begin(), more.end());
        const RunResult result = runBinary(TESMO_BINARY, arguments, directory.path());
        EXPECT_EQ(result.exitStatus, 0);
        EXPECT_EQ(result.errors, "");
        EXPECT_EQ(checkMeshFiles(directory.file("out.msh"), directory.file(geometry), &report), "");
        return result.output;
    }
    /// The lines printed after the mesh file is written.
    static std::string written(int nodes, int triangles, int zones)
    {
        return " -->WRITTING MESH FILE :out.msh\n Number of nodes   : " + std::to_string(nodes) +
               "\n Number of triangles : " + std::to_string(triangles) +
               "\n Number of zones   : " + std::to_string(zones) + "\n";
    }
    ScratchDirectory directory;
    MeshReport report;
};

TEST_F(Meshing, OneZoneGivesNoZoneLines)
{
    EXPECT_EQ(mesh("square.geo"), kBanner +
                                      " Number of concentrations : 1\n"
                                      " -->READING GEOMETRY FILE :square.geo\n"
                                      " Number of points  : 4\n"
                                      " Number of edges   : 4\n"
                                      " Number of zones   : 1\n" +
                                      written(4, 2, 1));
    EXPECT_EQ(report.triangles, 2);
}

TEST_F(Meshing, HoleAndReentrantCorner)
{
    EXPECT_TRUE(mesh("hole.geo").ends_with(written(8, 8, 1)));
    EXPECT_DOUBLE_EQ(report.zoneAreas.at(0), 12.0);
    // the two sides of length 2 get one border node each
    EXPECT_TRUE(mesh("lshape.geo").ends_with(written(8, 6, 1)));
    EXPECT_DOUBLE_EQ(report.zoneAreas.at(0), 3.0);
}

TEST_F(Meshing, TwoZonesShareTheirBorderNodes)
{
    const std::string run = mesh("two_zones.geo");
    EXPECT_NE(run.find(" Number of zones   : 2\n"
                       " -->MESHING THE ZONE : 1\n"
                       " Number of triangles : 2\n"
                       " -->MESHING THE ZONE : 2\n"
                       " Number of triangles : 2\n" +
                       written(6, 4, 2)),
              std::string::npos)
        << run;
    EXPECT_EQ(report.zoneOrder, (std::vector<int>{4, 9}));
}

TEST_F(Meshing, ManyZonesFindTheirEdgesThroughTheIndex)
{
    EXPECT_TRUE(
        mesh("grid.geo").ends_with(" -->MESHING THE ZONE : 25\n Number of triangles : 2\n" + written(36, 50, 25)));
    EXPECT_EQ(report.zoneOrder.size(), 25u);
}

TEST_F(Meshing, ASquareInAPlaneOfSpace)
{
    EXPECT_TRUE(mesh("plane.geo").ends_with(written(4, 2, 1)));
    MeshData data;
    ASSERT_EQ(readMesh(directory.file("out.msh"), data), "");
    EXPECT_EQ(data.dimension, 3);
    // The border nodes keep the coordinates read.
    EXPECT_EQ(float(data.points.at(2)[0]), 2.57735027f);
    EXPECT_EQ(float(data.points.at(2)[2]), -1.15470054f);
}

TEST_F(Meshing, NoNodeIsAddedAtTheMaximum)
{
    const std::string run = mesh("square.geo", {"-", "4"});
    EXPECT_TRUE(run.ends_with(" Number of zones   : 1\n"
                              " WARNING  Maximum number of nodes reached  : 4\n"
                              " Number of edges   : 4\n" +
                              written(4, 2, 1)))
        << run;
}

TEST_F(Meshing, AFileThatCannotBeStoredAsAGeometryIsReadAsAMesh)
{
    // Each element's reference is the zone of its first two nodes, a side of that zone.
    directory.write("coded.msh", readFile(TESMO_TEST_DATA "/driver_coded.msh"));
    const RunResult run = runBinary(TESMO_BINARY, {"v", "coded.msh", "-", "out.msh"}, directory.path());
    EXPECT_EQ(run.output, kBanner +
                              " WARNING  no edge in the file :coded.msh\n"
                              " Number of concentrations : 1\n"
                              " -->READING GEOMETRY FILE :coded.msh\n"
                              " Number of points  : 4\n"
                              " Number of edges   : 6\n"
                              " Number of zones   : 2\n"
                              " -->MESHING THE ZONE : 1\n"
                              " Number of triangles : 1\n"
                              " -->MESHING THE ZONE : 2\n"
                              " Number of triangles : 1\n" +
                              written(4, 2, 2));
    MeshData data;
    ASSERT_EQ(readMesh(directory.file("out.msh"), data), "");
    ASSERT_EQ(data.elements.size(), 2u);
    for (auto& element : data.elements) {
        std::sort(element.nodes.begin(), element.nodes.end());
    }
    EXPECT_EQ(data.elements[0].reference, 2);
    EXPECT_EQ(data.elements[0].nodes, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(data.elements[1].reference, 1);
    EXPECT_EQ(data.elements[1].nodes, (std::vector<int>{1, 3, 4}));
}

} // namespace
} // namespace tesmo
