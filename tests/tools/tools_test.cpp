// Whole runs of tesmo-tools: each export read back by an independent reader (meshio for VTK
// and MSH, an XML parser for the picture, a parser of this test for Triangle's files), the
// .poly conversion meshed by tesmo, the quality figures of a mesh worked out by hand, bad
// input refused with its message, and the installed programs run from their prefix.
#include "support/mesh_check.hpp"
#include "support/run_binary.hpp"
#include "tools/tools_fixture.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace tesmo {
namespace {

using testing::MeshData;
using testing::readFile;
using testing::readMesh;
using testing::runBinary;
using testing::RunResult;

/// Two zones side by side, the right one with a square hole; meshed by tesmo in the tests.
constexpr const char* kTwoZones = R"(DEBXYZ
10 2
0 0
2 0
4 0
4 2
2 2
0 2
2.5 0.5
3.5 0.5
3.5 1.5
2.5 1.5
FINXYZ
DEBILM
4
4 2 1 6 5 100 1 1
4 5 4 3 2 100 1 2
2 2 5 100 2 1 2
5 7 8 9 10 7 100 1 2
FINILM
)";

/// The unit square cut by its diagonal: two right triangles, smallest angles 45 degrees.
constexpr const char* kSquare = R"(DEBXYZ
4 2
0 0
1 0
1 1
0 1
FINXYZ
DEBILM
2
3 1 2 3 3 7
3 1 3 4 3 7
FINILM
)";

/// A nodal-values file of `n` nodes, node i holding 0.1 * i.
std::string sizesFile(int n)
{
    std::ostringstream out;
    out << "* GRANDEUR 1.0.0  (12 AOUT 97)\n* sizes\nDEBGRD\n " << n << " 1\n";
    for (int i = 1; i <= n; ++i) {
        out << "  " << i << ' ' << 0.1 * i << '\n';
    }
    out << "FINGRD\n";
    return out.str();
}

class Tools : public testing::ToolsRun {
protected:
    /// Meshes the geometry with tesmo into out.msh and reads the mesh with the checker's parser.
    MeshData meshed(const std::string& geometry)
    {
        directory.write("in.geo", geometry);
        const RunResult r = runBinary(TESMO_BINARY, {"s", "in.geo", "-", "out.msh"}, directory.path());
        EXPECT_EQ(r.output, "");
        MeshData mesh;
        EXPECT_EQ(readMesh(directory.file("out.msh"), mesh), "");
        return mesh;
    }
};

/// The "points", "p", "triangles" and "t" lines a faithful export of the mesh gives.
std::vector<std::string> expectedLines(const MeshData& mesh)
{
    std::vector<std::string> lines{"points " + std::to_string(mesh.points.size())};
    char text[128];
    for (const auto& p : mesh.points) {
        std::snprintf(text, sizeof text, "p %.9g %.9g %.9g", double(float(p[0])), double(float(p[1])),
                      double(float(p[2])));
        lines.emplace_back(text);
    }
    lines.push_back("triangles " + std::to_string(mesh.elements.size()));
    for (const auto& e : mesh.elements) {
        lines.push_back("t " + std::to_string(e.nodes[0]) + ' ' + std::to_string(e.nodes[1]) + ' ' +
                        std::to_string(e.nodes[2]) + ' ' + std::to_string(e.reference));
    }
    return lines;
}

/// Mesh edges: all of them, and those on the outside or between two zones.
void countEdges(const MeshData& mesh, int& all, int& border)
{
    std::map<std::pair<int, int>, std::vector<int>> zonesOf;
    for (const auto& e : mesh.elements) {
        for (int c = 0; c < 3; ++c) {
            const int a = e.nodes[std::size_t(c)], b = e.nodes[std::size_t((c + 1) % 3)];
            zonesOf[{std::min(a, b), std::max(a, b)}].push_back(e.reference);
        }
    }
    all = int(zonesOf.size());
    border = 0;
    for (const auto& [edge, zones] : zonesOf) {
        border += (zones.size() == 1 || zones[0] != zones[1]) ? 1 : 0;
    }
}

TEST_F(Tools, VtkReadByMeshioKeepsNodesTrianglesZonesAndSizes)
{
    const MeshData mesh = meshed(kTwoZones);
    const int n = int(mesh.points.size());
    directory.write("out.grd", sizesFile(n));
    const RunResult r = tools({"vtk", "out.msh", "--sizes", "out.grd", "-o", "out.vtu"});
    ASSERT_EQ(r.exitStatus, 0) << r.errors;
    std::vector<std::string> expected = expectedLines(mesh);
    expected.push_back("sizes " + std::to_string(n));
    char text[64];
    for (int i = 1; i <= n; ++i) {
        std::ostringstream written; // as in the nodal-values file, read in single precision
        written << 0.1 * i;
        std::snprintf(text, sizeof text, "s %.9g", double(std::stof(written.str())));
        expected.emplace_back(text);
    }
    EXPECT_EQ(readBack("vtu", "out.vtu"), expected);
}

TEST_F(Tools, GmshReadByMeshioKeepsZonesAndTagsBorderEdgesByZonePair)
{
    const MeshData mesh = meshed(kTwoZones);
    const RunResult r = tools({"gmsh", "out.msh", "-o", "out.gmsh.msh"});
    ASSERT_EQ(r.exitStatus, 0) << r.errors;
    const std::vector<std::string> lines = readBack("msh", "out.gmsh.msh");
    std::vector<std::string> expected = expectedLines(mesh);
    ASSERT_GT(lines.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + std::ptrdiff_t(expected.size())), expected);
    // The lines: every border edge once, named by the zones it separates.
    int all = 0, border = 0;
    countEdges(mesh, all, border);
    EXPECT_EQ(lines[expected.size()], "lines " + std::to_string(border));
    std::map<std::string, int> perName;
    for (std::size_t i = expected.size() + 1; i < lines.size(); ++i) {
        ++perName[lines[i].substr(lines[i].rfind(' ') + 1)];
    }
    EXPECT_EQ(perName.size(), 3u);
    EXPECT_EQ(perName["border_1|2"], 1); // the shared side, not cut while borders follow the points
    EXPECT_EQ(perName["border_2|outside"], 3 + 4);
    EXPECT_EQ(perName["border_1|outside"], 3);
}

TEST_F(Tools, SvgIsXmlAndDrawsEveryEdgeOnceAndEveryZone)
{
    const MeshData mesh = meshed(kTwoZones);
    directory.write("out.grd", sizesFile(int(mesh.points.size())));
    ASSERT_EQ(tools({"svg", "out.msh"}).exitStatus, 0);
    ASSERT_EQ(tools({"svg", "out.msh", "--sizes", "out.grd", "-o", "sizes.svg"}).exitStatus, 0);
    int all = 0, border = 0;
    countEdges(mesh, all, border);
    EXPECT_EQ(readBack("svg", "out.svg"), (std::vector<std::string>{"zones 2", "edges " + std::to_string(all - border),
                                                                   "borders " + std::to_string(border)}));
    const std::string coloured = readFile(directory.file("sizes.svg"));
    EXPECT_NE(coloured.find("id=\"sizes\""), std::string::npos);
    EXPECT_EQ(readBack("svg", "sizes.svg")[1], "edges " + std::to_string(all - border));
}

TEST_F(Tools, SvgOfALargeMeshStaysCompact)
{
    // A grid of 150 x 150 squares, each cut in two: 45 000 triangles in four zones.
    const int cells = 150;
    std::ostringstream out;
    out << "DEBXYZ\n" << (cells + 1) * (cells + 1) << " 2\n";
    for (int j = 0; j <= cells; ++j) {
        for (int i = 0; i <= cells; ++i) {
            out << i * 0.01 << ' ' << j * 0.01 << '\n';
        }
    }
    out << "FINXYZ\nDEBILM\n" << 2 * cells * cells << '\n';
    for (int j = 0; j < cells; ++j) {
        for (int i = 0; i < cells; ++i) {
            const int a = j * (cells + 1) + i + 1, b = a + 1, c = b + cells + 1, d = a + cells + 1;
            const int zone = 1 + (i < cells / 2 ? 0 : 1) + (j < cells / 2 ? 0 : 2);
            out << "3 " << a << ' ' << b << ' ' << c << " 3 " << zone << "\n3 " << a << ' ' << c << ' ' << d << " 3 "
                << zone << '\n';
        }
    }
    out << "FINILM\n";
    directory.write("grid.msh", out.str());
    const RunResult r = tools({"svg", "grid.msh"});
    ASSERT_EQ(r.exitStatus, 0) << r.errors;
    const auto bytes = std::filesystem::file_size(directory.file("grid.svg"));
    EXPECT_LT(double(bytes) / (2.0 * cells * cells), 30.0) << bytes << " bytes";
    EXPECT_EQ(readBack("svg", "grid.svg")[0], "zones 4");
}

TEST_F(Tools, TriangleFilesHoldTheNodesAndTheZonedTriangles)
{
    const MeshData mesh = meshed(kTwoZones);
    ASSERT_EQ(tools({"triangle", "out.msh", "-o", "out"}).exitStatus, 0);
    std::istringstream node(readFile(directory.file("out.node")));
    int count = 0, dimension = 0, attributes = 0, markers = 0;
    node >> count >> dimension >> attributes >> markers;
    ASSERT_EQ(count, int(mesh.points.size()));
    EXPECT_EQ(dimension * 10 + attributes * 100 + markers, 21);
    int outside = 0;
    for (int i = 1; i <= count; ++i) {
        int number = 0, marker = 0;
        float x = 0.0f, y = 0.0f;
        node >> number >> x >> y >> marker;
        EXPECT_EQ(number, i);
        EXPECT_EQ(x, float(mesh.points[std::size_t(i - 1)][0]));
        EXPECT_EQ(y, float(mesh.points[std::size_t(i - 1)][1]));
        outside += marker;
    }
    EXPECT_EQ(outside, 10); // every node of the outline and of the hole
    std::istringstream ele(readFile(directory.file("out.ele")));
    int corners = 0;
    ele >> count >> corners >> attributes;
    ASSERT_EQ(count, int(mesh.elements.size()));
    for (const auto& e : mesh.elements) {
        int number = 0, a = 0, b = 0, c = 0, zone = 0;
        ele >> number >> a >> b >> c >> zone;
        const std::vector<int> written{e.nodes[0], e.nodes[1], e.nodes[2], e.reference};
        EXPECT_EQ((std::vector<int>{a, b, c, zone}), written);
    }
}

TEST_F(Tools, StatsOfTwoRightTrianglesWorkedByHand)
{
    directory.write("square.msh", kSquare);
    directory.write("square.grd", "DEBGRD\n4 1\n1 1.\n2 1.\n3 1.\n4 1.\nFINGRD\n");
    RunResult r = tools({"stats", "square.msh", "--sizes", "square.grd"});
    ASSERT_EQ(r.exitStatus, 0) << r.errors;
    EXPECT_NE(r.output.find("triangles                 2\n"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("min 45  mean 45  max 45"), std::string::npos) << r.output;
    // Edge lengths 1, 1, 1, 1 and sqrt 2 against size 1.
    EXPECT_NE(r.output.find("median 1  5% 1  95% 1.33137"), std::string::npos) << r.output;
    r = tools({"stats", "square.msh", "--json"});
    EXPECT_EQ(r.output, "{\"mesh\": \"square.msh\", \"nodes\": 4, \"triangles\": 2, \"zones\": 1,\n"
                        " \"smallest_angle\": {\"min\": 45, \"mean\": 45, \"max\": 45},\n"
                        " \"share_below_20\": 0, \"share_below_30\": 0}\n");
}

/// A plate with two holes in the .poly format, vertices counted from 0, a regional attribute.
constexpr const char* kPlatePoly = R"(# plate 0..6 x 0..3, holes around (1.5, 1.5) and (4.5, 1.5)
12 2 0 1
0 0 0 1
1 6 0 1
2 6 3 1
3 0 3 1
4 1 1 0
5 2 1 0
6 2 2 0
7 1 2 0
8 4 1
9 5 1
10 5 2
11 4 2
12 1
0 0 1 1
1 1 2 1
2 2 3 1
3 3 0 1
4 4 5 0
5 5 6 0
6 6 7 0
7 7 4 0
8 8 9 0
9 9 10 0
10 10 11 0
11 11 8 0
2
0 1.5 1.5
1 4.5 1.5
1
0 3 0.5 7 -1
)";

TEST_F(Tools, PolyWithHolesMeshesWithTheHolesEmpty)
{
    directory.write("plate.poly", kPlatePoly);
    const RunResult r = tools({"poly", "plate.poly", "-o", "plate.geo"});
    ASSERT_EQ(r.exitStatus, 0) << r.errors;
    testing::GeometryData geometry;
    ASSERT_EQ(testing::readGeometry(directory.file("plate.geo"), geometry), "");
    ASSERT_EQ(geometry.points.size(), 12u);
    EXPECT_EQ(geometry.points[8][0], 4.0);
    EXPECT_EQ(geometry.borders.size(), 3u); // the outline and the two holes, each a closed chain
    for (const auto& border : geometry.borders) {
        EXPECT_EQ(border.zones, std::vector<int>{7});
        EXPECT_EQ(border.points.front(), border.points.back());
    }
    const RunResult mesh = runBinary(TESMO_BINARY, {"s", "plate.geo", "-", "plate.msh"}, directory.path());
    EXPECT_EQ(mesh.output, "");
    testing::MeshReport report;
    EXPECT_EQ(testing::checkMeshFiles(directory.file("plate.msh"), directory.file("plate.geo"), &report), "");
    ASSERT_EQ(report.zoneAreas.size(), 1u);
    EXPECT_NEAR(report.zoneAreas[0], 18.0 - 2.0, 1e-5);
}

TEST_F(Tools, PolyZonesFromLoopsAttributesAndIslands)
{
    // An outer square (attribute 5, kept) around an inner square (attribute 2.5, renumbered
    // after 5), a segment hanging into the inner square from its corner, a free vertex in the
    // outer ring.
    directory.write("nest.poly", "10 2 0 0\n1 0 0\n2 4 0\n3 4 4\n4 0 4\n5 1 1\n6 3 1\n7 3 3\n8 1 3\n"
                                 "9 1.5 2\n10 0.5 0.5\n9 0\n1 1 2\n2 2 3\n3 3 4\n4 4 1\n5 5 6\n6 6 7\n7 7 8\n8 8 5\n"
                                 "9 9 7\n0\n2\n1 2 1.5 2.5\n2 0.2 2 5\n");
    ASSERT_EQ(tools({"poly", "nest.poly", "-o", "nest.geo"}).exitStatus, 0);
    testing::GeometryData geometry;
    ASSERT_EQ(testing::readGeometry(directory.file("nest.geo"), geometry), "");
    std::multiset<std::vector<int>> zones;
    for (const auto& border : geometry.borders) {
        zones.insert(border.zones);
    }
    // The outline, the inner square (cut at the corner the segment hangs from), the hanging
    // segment, and the free vertex as an isolated point.
    EXPECT_EQ(zones, (std::multiset<std::vector<int>>{{5}, {5, 6}, {6}, {5}})) << readFile(directory.file("nest.geo"));
    EXPECT_EQ(geometry.borders.back().code, 99);
}

struct BadInput {
    std::vector<std::string> arguments;
    std::string file;     ///< written as in.txt when not empty
    std::string message;  ///< a part of what is printed on standard error
    int status;
};

TEST_F(Tools, BadInputIsRefusedWithItsMessage)
{
    const std::vector<BadInput> cases = {
        {{"frobnicate"}, "", "unknown command 'frobnicate'", 2},
        {{"svg", "in.txt", "--colour"}, kSquare, "unknown option '--colour'", 2},
        {{"vtk", "in.txt"}, kSquare, "the output is missing (-o)", 2},
        {{"gmsh", "in.txt", "-o"}, kSquare, "the option -o needs a file name", 2},
        {{"stats"}, "", "a mesh file is needed", 2},
        {{"stats", "none.msh"}, "", "can t open the file :none.msh", 1},
        {{"stats", "in.txt"}, kTwoZones, "in.txt holds lines or points, not triangles (a geometry file?", 1},
        {{"stats", "in.txt"}, "DEBXYZ\n2 2\n0 0\n1 0\nFINXYZ\nDEBARE\n1\n2 1 2 100 1 1\nFINARE\n",
         "in.txt is a geometry file, not a mesh file", 1},
        {{"stats", "in.txt"}, "DEBXYZ\n3 2\n0 0\n1 0\n0 1\nFINXYZ\nDEBILM\n1\n3 1 2 9 3 1\nFINILM\n",
         "illegal point reference number : 9", 1},
        {{"stats", "in.txt"}, "DEBXYZ\n3 2\n0 0\n1 0\n0 1\nFINXYZ\nDEBILM\n1\n3 1 0 3 3 1\nFINILM\n",
         "is not a triangle of three nodes", 1},
        {{"stats", "in.txt"}, "DEBXYZ\n4 2\n0 0\n1 0\n1 1\n0 1\nFINXYZ\nDEBILM\n1\n4 1 2 3 4 5 1\nFINILM\n",
         "holds elements other than triangles", 1},
        {{"stats", "in.txt"}, "DEBXYZ\n3 2\n0 0\n1 0\n0 1\nFINXYZ\n", "holds no triangles", 1},
        {{"svg", "sq.msh", "--sizes", "in.txt"}, sizesFile(3), "holds 3 nodes, the mesh 4", 1},
        {{"svg", "sq.msh", "--sizes", "in.txt"}, "DEBGRD\n4 1\n1 1.\n2 -1.\n3 1.\n4 1.\nFINGRD\n",
         "gives the size 1. (negative) at node 2", 1},
        {{"stats", "sq.msh", "--sizes", "in.txt"}, "DEBGRD\n4 1\n1 1.\n2 1.\n2 1.\n4 1.\nFINGRD\n",
         "gives no value for node 3", 1},
        {{"triangle", "tilted.msh", "-o", "t"}, "", "is a mesh in space", 1},
        {{"poly", "in.txt", "-o", "g.geo"}, "4 2 0 0\n1 0 0\n2 1 1\n3 1 0\n4 0 1\n2 0\n1 1 2\n2 3 4\n0\n",
         "the segments 1 and 2 cross or overlap", 1},
        {{"poly", "in.txt", "-o", "g.geo"}, "3 2 0 0\n1 0 0\n2 2 0\n3 1 0\n1 0\n1 1 2\n0\n",
         "the vertex 3 lies on the segment 1", 1},
        {{"poly", "in.txt", "-o", "g.geo"}, "2 2 0 0\n1 0 0\n2 1 0\n1 0\n1 1 7\n0\n",
         "in.txt:5: segment 1 names the vertex 7, which does not exist", 1},
        {{"poly", "in.txt", "-o", "g.geo"}, "2 3 0 0\n", "the dimension is 3", 1},
        {{"poly", "in.txt", "-o", "g.geo"}, "2 2 0 0\n1 0 0\n2 0 0\n0 0\n0\n",
         "the vertices 1 and 2 are at the same place", 1},
        {{"poly", "in.txt", "-o", "g.geo"}, "2 2 0 0\n1 0 0\n2 1 0\n1 0\n", "the file ends before a segment", 1},
    };
    directory.write("sq.msh", kSquare);
    directory.write("tilted.msh", "DEBXYZ\n3 3\n0 0 0\n1 0 1\n0 1 0\nFINXYZ\nDEBILM\n1\n3 1 2 3 3 1\nFINILM\n");
    for (const BadInput& c : cases) {
        if (!c.file.empty()) {
            directory.write("in.txt", c.file);
        }
        const RunResult r = tools(c.arguments);
        EXPECT_EQ(r.exitStatus, c.status) << c.arguments[0] << ' ' << c.message;
        EXPECT_NE(r.errors.find(c.message), std::string::npos) << "expected: " << c.message << "\ngot: " << r.errors;
        EXPECT_EQ(r.output, "");
        std::filesystem::remove(directory.file("in.txt"));
    }
}

TEST_F(Tools, EveryCommandExplainsItself)
{
    for (const char* command : {"svg", "vtk", "gmsh", "triangle", "poly", "stats"}) {
        const RunResult r = tools({command, "--help"});
        EXPECT_EQ(r.exitStatus, 0);
        EXPECT_EQ(r.output.rfind(std::string("Usage: tesmo-tools ") + command, 0), 0u) << r.output;
    }
}

TEST_F(Tools, InstalledProgramsRunFromTheirPrefix)
{
    const std::string prefix = directory.file("prefix");
    const RunResult install = runBinary(TESMO_CMAKE, {"--install", TESMO_BUILD_DIR, "--prefix", prefix},
                                        directory.path(), std::nullopt, 120);
    ASSERT_EQ(install.exitStatus, 0) << install.output << install.errors;
    EXPECT_TRUE(std::filesystem::exists(prefix + "/share/doc/tesmo/README.md"));
    EXPECT_TRUE(std::filesystem::exists(prefix + "/share/doc/tesmo/examples/naca0012.geo"));
    const RunResult help = runBinary(prefix + "/bin/tesmo", {"h"}, directory.path());
    EXPECT_NE(help.output.find("tesmo"), std::string::npos);
    directory.write("sq.msh", kSquare);
    const RunResult stats = runBinary(prefix + "/bin/tesmo-tools", {"stats", "sq.msh", "--json"}, directory.path());
    EXPECT_EQ(stats.exitStatus, 0);
    EXPECT_NE(stats.output.find("\"triangles\": 2"), std::string::npos);
}

} // namespace
} // namespace tesmo
