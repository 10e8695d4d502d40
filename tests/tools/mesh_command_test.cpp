// Whole runs of `tesmo-tools mesh`: the same files as tesmo without options, the angle bound
// on domains without small angles (checked by the mesh checker and an angle count of this
// test), a small input angle left as it is, the exit statuses, and the border numbers of the
// exports read back by meshio.
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

using testing::checkMeshFiles;
using testing::GeometryData;
using testing::MeshData;
using testing::readFile;
using testing::runBinary;
using testing::RunResult;

/// Two zones side by side sharing the side x = 2; a crack inside zone 1 (border 4), a square
/// hole in zone 2 (border 5). Every angle of the borders is right (the crack's tip aside).
constexpr const char* kPlate = R"(DEBXYZ
12 2
0 0
2 0
4 0
4 2
2 2
0 2
0.5 1
1.5 1
2.6 0.6
2.6 1.4
3.4 1.4
3.4 0.6
FINXYZ
DEBILM
5
4 2 1 6 5 100 1 1
4 5 4 3 2 100 1 2
2 2 5 100 2 1 2
2 7 8 100 1 1
5 9 10 11 12 9 100 1 2
FINILM
)";

/// Sizes at the 12 points of the plate: fine at the crack, coarse at the right side.
constexpr const char* kPlateSizes = "* GRANDEUR 1.0.0  (12 AOUT 97)\n* plate.msh\nDEBGRD\n 12 1\n"
                                    " 1 0.2\n 2 0.2\n 3 0.4\n 4 0.4\n 5 0.2\n 6 0.2\n 7 0.05\n 8 0.05\n"
                                    " 9 0.1\n 10 0.1\n 11 0.1\n 12 0.1\nFINGRD\n";

/// A concentration at the crack's tip, geometric from 0.04 by 1.2.
constexpr const char* kPlateDensity =
    "DEBGEO\n 1 2\n 1 1.5 1.\nFINGEO\nDEBSUI\n 1\n 1 1 0.04 1.2\nFINSUI\nDEBDEN\n 1 2\n 1 1 2 1 1\nFINDEN\n";

/// The plate tilted in space (z = x / 2), with a uniform size.
std::string tiltedPlate()
{
    std::istringstream in(kPlate);
    std::ostringstream out;
    std::string line;
    std::getline(in, line);
    out << line << "\n12 3\n";
    std::getline(in, line);
    for (int i = 0; i < 12; ++i) {
        double x = 0.0, y = 0.0;
        in >> x >> y;
        out << x << ' ' << y << ' ' << x / 2 << '\n';
    }
    std::getline(in, line);
    out << in.rdbuf();
    return out.str();
}

/// The unit square cut by the segment from (0, 0) to (1, 0.05): zone 1 below it is a wedge of
/// 2.86 degrees, zone 2 above it has no angle below 87 degrees.
constexpr const char* kWedge = "DEBXYZ\n5 2\n0 0\n1 0\n1 1\n0 1\n1 0.05\nFINXYZ\nDEBILM\n3\n"
                               "3 1 2 5 100 1 1\n4 5 3 4 1 100 1 2\n2 1 5 100 2 1 2\nFINILM\n";

using MeshCommand = testing::ToolsRun;

/// The smallest angle (degrees) of each triangle of the mesh, from the cosines of its angles.
std::vector<double> smallestAngles(const MeshData& mesh)
{
    std::vector<double> angles;
    for (const auto& e : mesh.elements) {
        double least = 180.0;
        for (std::size_t i = 0; i < 3; ++i) {
            const auto& a = mesh.points[std::size_t(e.nodes[i] - 1)];
            const auto& b = mesh.points[std::size_t(e.nodes[(i + 1) % 3] - 1)];
            const auto& c = mesh.points[std::size_t(e.nodes[(i + 2) % 3] - 1)];
            double dot = 0.0, u = 0.0, v = 0.0;
            for (std::size_t k = 0; k < 3; ++k) {
                dot += (b[k] - a[k]) * (c[k] - a[k]);
                u += (b[k] - a[k]) * (b[k] - a[k]);
                v += (c[k] - a[k]) * (c[k] - a[k]);
            }
            least = std::min(least, std::acos(std::clamp(dot / std::sqrt(u * v), -1.0, 1.0)) * 180.0 / M_PI);
        }
        angles.push_back(least);
    }
    return angles;
}

TEST_F(MeshCommand, WithoutOptionsWritesWhatTesmoWrites)
{
    directory.write("plate.geo", kPlate);
    directory.write("plate.den", kPlateDensity);
    std::filesystem::create_directory(directory.file("tesmo"));
    std::filesystem::create_directory(directory.file("tools"));
    const RunResult own = runBinary(TESMO_BINARY, {"s", "../plate.geo", "../plate.den", "m.msh", "n.grd"},
                                    directory.file("tesmo"));
    const RunResult front = runBinary(TESMO_TOOLS_BINARY,
                                      {"mesh", "../plate.geo", "--sizes", "../plate.den", "-o", "m.msh",
                                       "--write-sizes", "n.grd"},
                                      directory.file("tools"));
    ASSERT_EQ(front.exitStatus, 0) << front.errors;
    EXPECT_EQ(front.output, "");
    for (const char* file : {"/m.msh", "/n.grd"}) {
        const std::string written = readFile(directory.file("tesmo") + file);
        EXPECT_FALSE(written.empty()) << file;
        EXPECT_EQ(readFile(directory.file("tools") + file), written) << file;
    }
}

TEST_F(MeshCommand, AngleBoundHoldsWhereTheBordersAllowIt)
{
    directory.write("plate.geo", kPlate);
    directory.write("plate.grd", kPlateSizes);
    directory.write("plate.den", kPlateDensity);
    directory.write("tilted.geo", tiltedPlate());
    struct Case {
        std::vector<std::string> arguments;
        std::string geometry;
        double bound;
    };
    const std::vector<Case> cases = {
        {{"mesh", "plate.geo", "--min-angle", "30", "-o", "out.msh"}, "plate.geo", 30.0},
        {{"mesh", "plate.geo", "--sizes", "plate.grd", "--min-angle", "33.5", "-o", "out.msh"}, "plate.geo", 33.5},
        {{"mesh", "plate.geo", "--sizes", "plate.den", "--min-angle", "30", "--smooth", "3", "-o", "out.msh"},
         "plate.geo", 30.0},
        {{"mesh", "tilted.geo", "--size", "0.3", "--min-angle", "30", "-o", "out.msh"}, "tilted.geo", 30.0},
        {{"mesh", "plate.geo", "--max-area", "0.01", "--min-angle", "25", "-o", "out.msh"}, "plate.geo", 25.0},
    };
    for (const Case& c : cases) {
        const RunResult r = tools(c.arguments);
        ASSERT_EQ(r.exitStatus, 0) << c.arguments[3] << r.errors;
        EXPECT_EQ(r.errors, "");
        testing::MeshReport report;
        EXPECT_EQ(checkMeshFiles(directory.file("out.msh"), directory.file(c.geometry), &report), "");
        MeshData mesh;
        ASSERT_EQ(testing::readMesh(directory.file("out.msh"), mesh), "");
        const std::vector<double> angles = smallestAngles(mesh);
        EXPECT_GE(*std::min_element(angles.begin(), angles.end()), c.bound - 1e-3) << c.arguments[3];
        std::filesystem::remove(directory.file("out.msh"));
    }
}

TEST_F(MeshCommand, SmallInputAngleStaysAndTheRunEnds)
{
    directory.write("wedge.geo", kWedge);
    const RunResult r = tools({"mesh", "wedge.geo", "--min-angle", "33.5", "-o", "out.msh"});
    ASSERT_EQ(r.exitStatus, 0) << r.errors;
    EXPECT_EQ(checkMeshFiles(directory.file("out.msh"), directory.file("wedge.geo")), "");
    MeshData mesh;
    ASSERT_EQ(testing::readMesh(directory.file("out.msh"), mesh), "");
    const std::vector<double> angles = smallestAngles(mesh);
    ASSERT_LT(angles.size(), 20000u);
    double wedge = 180.0, above = 180.0;
    for (std::size_t t = 0; t < angles.size(); ++t) {
        (mesh.elements[t].reference == 1 ? wedge : above) = std::min(mesh.elements[t].reference == 1 ? wedge : above,
                                                                     angles[t]);
    }
    EXPECT_LT(wedge, 30.0);           // the wedge keeps the angle its borders make
    EXPECT_GE(above, 33.5 - 1e-3);    // its neighbour has every angle the bound asks
}

struct Status {
    std::vector<std::string> arguments;
    int status;
    std::string message; ///< a part of what is printed on standard error
};

TEST_F(MeshCommand, ExitStatusesTellTheOutcome)
{
    directory.write("plate.geo", kPlate);
    directory.write("bad.geo", "DEBXYZ\n3 2\n0 0\n1 0\nFINXYZ\n");
    directory.write("cross.poly", "4 2 0 0\n1 0 0\n2 1 1\n3 1 0\n4 0 1\n2 0\n1 1 2\n2 3 4\n0\n");
    directory.write("overlap.geo", "DEBXYZ\n8 2\n0 0\n2 0\n2 2\n0 2\n1 1\n3 1\n3 3\n1 3\nFINXYZ\nDEBILM\n2\n"
                                   "5 1 2 3 4 1 100 1 1\n5 5 6 7 8 5 100 1 2\nFINILM\n");
    // a name far above the width of the system's file table (a folder name holds at most 255)
    const std::string folder = std::string(200, 'f') + "/" + std::string(200, 'g');
    std::filesystem::create_directories(directory.file(folder));
    const std::string far = folder + "/" + std::string(100, 'm') + ".vtu";
    const std::vector<Status> cases = {
        {{"mesh", "plate.geo", "--min-angle", "-1", "-o", "a.msh"}, 2, "--min-angle needs an angle above 0"},
        {{"mesh", "plate.geo", "--min-angle", "34", "-o", "a.msh"}, 2, "at most 33.5 degrees, not '34'"},
        {{"mesh", "plate.geo", "--size", "0", "-o", "a.msh"}, 2, "--size needs a positive size, not '0'"},
        {{"mesh", "plate.geo", "--max-area", "-3", "-o", "a.msh"}, 2, "--max-area needs a positive area"},
        {{"mesh", "plate.geo", "--smooth", "x", "-o", "a.msh"}, 2, "--smooth needs a number of passes"},
        {{"mesh", "plate.geo", "--max-nodes", "0", "-o", "a.msh"}, 2, "--max-nodes needs a positive number"},
        {{"mesh", "plate.geo", "--frob", "-o", "a.msh"}, 2, "unknown option '--frob'"},
        {{"mesh", "plate.geo"}, 2, "the output is missing (-o)"},
        {{"mesh", "plate.geo", "-o", "a.xyz"}, 2, "not known from its extension: give --format"},
        {{"mesh", "plate.geo", "--format", "stl", "-o", "a.msh"}, 2, "unknown format 'stl'"},
        {{"mesh", "plate.geo", "--size", "0.1", "--sizes", "x.grd", "-o", "a.msh"}, 2, "cannot be given together"},
        {{"mesh", "plate.geo", "-o", "a.msh", "-o", "b.msh"}, 2, "the option -o is given twice"},
        {{"mesh", "none.geo", "-o", "a.msh"}, 1, "cannot open the file none.geo"},
        {{"mesh", "bad.geo", "-o", "a.msh"}, 1, "bad.geo"},
        {{"mesh", "cross.poly", "-o", "a.msh"}, 1, "cross.poly: the segments 1 and 2 cross or overlap"},
        {{"mesh", "overlap.geo", "-o", "a.msh"}, 1, "overlap.geo: the geometry is not valid: border 2 crosses border 1 at"},
        {{"mesh", "plate.geo", "--size", "0.05", "--max-nodes", "60", "-o", "a.msh"}, 3, "stopped the refinement"},
        {{"mesh", "plate.geo", "--size", "0.3", "--min-angle", "30", "-o", far}, 0, ""},
    };
    for (const Status& c : cases) {
        std::filesystem::remove(directory.file("a.msh"));
        const RunResult r = tools(c.arguments);
        EXPECT_EQ(r.exitStatus, c.status) << c.message << '\n' << r.errors;
        EXPECT_NE(r.errors.find(c.message), std::string::npos) << "expected: " << c.message << "\ngot: " << r.errors;
        EXPECT_EQ(r.output, "");
        // a run refused before any work writes nothing; a stopped run writes its mesh
        EXPECT_EQ(std::filesystem::exists(directory.file("a.msh")), c.status == 3) << c.message;
        if (c.status == 3) {
            EXPECT_EQ(checkMeshFiles(directory.file("a.msh"), directory.file("plate.geo")), "");
        }
    }
    EXPECT_TRUE(std::filesystem::exists(directory.file(far)));
    EXPECT_EQ(tools({"mesh", "--help"}).output.rfind("Usage: tesmo-tools mesh GEOMETRY", 0), 0u);
    const RunResult version = tools({"mesh", "--version"});
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_EQ(version.output.rfind("tesmo-tools mesh ", 0), 0u);
}

/// The "l a b border_k" lines of a reader, as (a, b, k) with a < b.
std::set<std::array<int, 3>> borderLines(const std::vector<std::string>& lines)
{
    std::set<std::array<int, 3>> edges;
    for (const std::string& line : lines) {
        int a = 0, b = 0, k = 0;
        if (std::sscanf(line.c_str(), "l %d %d border_%d", &a, &b, &k) == 3 ||
            std::sscanf(line.c_str(), "l %d %d border %d", &a, &b, &k) == 3) {
            edges.insert({std::min(a, b), std::max(a, b), k});
        }
    }
    return edges;
}

TEST_F(MeshCommand, BorderNumbersReadBackByMeshio)
{
    directory.write("plate.geo", kPlate);
    const std::map<std::string, std::string> outputs = {
        {"gmsh", "gmsh.msh"}, {"vtu", "out.vtu"}, {"triangle", "out"}, {"tesmo", "out.msh"}};
    for (const auto& [format, output] : outputs) {
        const RunResult r =
            tools({"mesh", "plate.geo", "--size", "0.2", "--min-angle", "30", "--format", format, "-o", output});
        ASSERT_EQ(r.exitStatus, 0) << format << r.errors;
    }
    MeshData mesh;
    ASSERT_EQ(testing::readMesh(directory.file("out.msh"), mesh), "");
    GeometryData geometry;
    ASSERT_EQ(testing::readGeometry(directory.file("plate.geo"), geometry), "");
    const auto fromMsh = borderLines(readBack("msh", "gmsh.msh"));
    // every line lies on a segment of its border; the lines of a border cover its length
    std::vector<double> covered(geometry.borders.size() + 1, 0.0);
    for (const auto& [a, b, k] : fromMsh) {
        ASSERT_GE(k, 1);
        ASSERT_LE(k, int(geometry.borders.size()));
        const auto& p = mesh.points[std::size_t(a - 1)];
        const auto& q = mesh.points[std::size_t(b - 1)];
        bool along = false;
        const auto& ids = geometry.borders[std::size_t(k - 1)].points;
        for (std::size_t i = 0; i + 1 < ids.size(); ++i) {
            const auto& s = geometry.points[std::size_t(ids[i] - 1)];
            const auto& t = geometry.points[std::size_t(ids[i + 1] - 1)];
            auto on = [&](const std::array<double, 3>& x) {
                const double cross = (t[0] - s[0]) * (x[1] - s[1]) - (t[1] - s[1]) * (x[0] - s[0]);
                const double dot = (t[0] - s[0]) * (x[0] - s[0]) + (t[1] - s[1]) * (x[1] - s[1]);
                const double length = std::hypot(t[0] - s[0], t[1] - s[1]);
                return std::fabs(cross) <= 1e-6 * length && dot >= -1e-9 && dot <= length * length * (1 + 1e-9);
            };
            along = along || (on(p) && on(q));
        }
        EXPECT_TRUE(along) << a << ' ' << b << " border " << k;
        covered[std::size_t(k)] += std::hypot(p[0] - q[0], p[1] - q[1]);
    }
    const double lengths[] = {0.0, 6.0, 6.0, 2.0, 1.0, 3.2};
    for (std::size_t k = 1; k < covered.size(); ++k) {
        EXPECT_NEAR(covered[k], lengths[k], 1e-5) << "border " << k; // the crack, border 4, too
    }
    // the same lines in the VTK file, the Triangle edge file and the export of the mesh file
    EXPECT_EQ(borderLines(readBack("vtu", "out.vtu")), fromMsh);
    std::istringstream edge(readFile(directory.file("out.edge")));
    int count = 0, markers = 0;
    edge >> count >> markers;
    std::vector<std::string> edgeLines;
    for (int i = 0; i < count; ++i) {
        int number = 0, a = 0, b = 0, k = 0;
        edge >> number >> a >> b >> k;
        edgeLines.push_back("l " + std::to_string(a) + ' ' + std::to_string(b) + " border " + std::to_string(k));
    }
    EXPECT_EQ(markers, 1);
    EXPECT_EQ(borderLines(edgeLines), fromMsh);
    ASSERT_EQ(tools({"gmsh", "out.msh", "--geometry", "plate.geo", "-o", "export.msh"}).exitStatus, 0);
    EXPECT_EQ(borderLines(readBack("msh", "export.msh")), fromMsh);
}

} // namespace
} // namespace tesmo
