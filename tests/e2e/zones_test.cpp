// Whole runs on generated zones of many shapes: every mesh written must pass the mesh
// checker, and every geometry that cannot be meshed must be refused without a mesh file.
#include "support/mesh_check.hpp"
#include "support/run_binary.hpp"
#include "support/stress_geometry.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <sstream>
#include <vector>

namespace tesmo {
namespace {

using testing::checkMeshFiles;
using testing::runBinary;
using testing::RunResult;
using testing::ScratchDirectory;

using Geometry = testing::GeometryText;

class Zones : public ::testing::Test {
protected:
    /// Meshes the geometry and checks the mesh written.
    void meshAndCheck(const Geometry& geometry)
    {
        directory.write("zone.geo", geometry.text());
        const RunResult result = runBinary(TESMO_BINARY, {"s", "zone.geo", "-", "out.msh"}, directory.path());
        EXPECT_EQ(result.exitStatus, 0);
        EXPECT_EQ(result.output, "");
        EXPECT_EQ(checkMeshFiles(directory.file("out.msh"), directory.file("zone.geo")), "");
    }
    /// Runs the geometry in debug mode and expects a refusal without a mesh file.
    std::string refused(const Geometry& geometry)
    {
        directory.write("zone.geo", geometry.text());
        const RunResult result = runBinary(TESMO_BINARY, {"d", "zone.geo", "-", "out.msh"}, directory.path());
        EXPECT_EQ(result.exitStatus, 0);
        EXPECT_FALSE(result.timedOut);
        EXPECT_EQ(testing::readFile(directory.file("out.msh")), "");
        EXPECT_NE(result.output.find("For online help type : tesmo h"), std::string::npos) << result.output;
        return result.output;
    }
    ScratchDirectory directory;
};

TEST_F(Zones, CombOfTeeth)
{
    Geometry g;
    std::vector<int> outline;
    const int teeth = 12;
    for (int t = 0; t < teeth; ++t) {
        outline.push_back(g.point(2.0 * t, 0.0));
        outline.push_back(g.point(2.0 * t + 1.0, 0.0));
        outline.push_back(g.point(2.0 * t + 1.0, -5.0));
        outline.push_back(g.point(2.0 * t + 2.0, -5.0));
    }
    outline.push_back(g.point(2.0 * teeth, 1.0));
    outline.push_back(g.point(0.0, 1.0));
    g.loop(outline, {1});
    meshAndCheck(g);
}

TEST_F(Zones, SquareSpiralCorridor)
{
    // A corridor of width 1 winding inwards: the inner wall follows the outer one.
    Geometry g;
    std::vector<int> outer;
    std::vector<int> inner;
    double x = 0, y = 0, length = 20;
    const double dx[4] = {1, 0, -1, 0};
    const double dy[4] = {0, 1, 0, -1};
    outer.push_back(g.point(x, y));
    for (int k = 0; k < 10; ++k) {
        x += dx[k % 4] * length;
        y += dy[k % 4] * length;
        outer.push_back(g.point(x, y));
        if (k % 2 == 1) {
            length -= 2;
        }
    }
    // Walk back along the inside of the corridor, one unit in from the outer wall.
    for (int k = int(outer.size()) - 1; k >= 1; --k) {
        const auto& p = g.points[std::size_t(outer[std::size_t(k)] - 1)];
        const int side = (k - 1) % 4;
        // The inside of side `side` lies to its left.
        double ix = p[0] - dy[side] - dx[side];
        double iy = p[1] + dx[side] - dy[side];
        inner.push_back(g.point(ix, iy));
    }
    std::vector<int> loop = outer;
    loop.insert(loop.end(), inner.begin(), inner.end());
    g.loop(loop, {3});
    meshAndCheck(g);
}

TEST_F(Zones, BorderMeetsTheHullOnlyAtVertices)
{
    // A star: every hull edge bridges a notch of the border.
    Geometry g;
    std::vector<int> star;
    for (int k = 0; k < 16; ++k) {
        const double radius = k % 2 == 0 ? 10.0 : 3.0;
        const double angle = 2.0 * M_PI * k / 16.0;
        star.push_back(g.point(radius * std::cos(angle), radius * std::sin(angle)));
    }
    g.loop(star, {1});
    meshAndCheck(g);
}

TEST_F(Zones, NestedZonesShareTheirBorders)
{
    // Zone 1 is a ring around zone 2; zone 3 is a hole-free square beside them.
    Geometry g;
    const int a = g.point(0, 0), b = g.point(10, 0), c = g.point(10, 10), d = g.point(0, 10);
    const int e = g.point(3, 3), f = g.point(7, 3), h = g.point(7, 7), i = g.point(3, 7);
    const int j = g.point(20, 0), k = g.point(20, 10);
    g.chain({a, b}, {1});
    g.chain({b, c}, {1, 3});
    g.chain({c, d, a}, {1});
    g.loop({e, f, h, i}, {1, 2});
    g.chain({b, j, k, c}, {3});
    meshAndCheck(g);
}

TEST_F(Zones, IsolatedPointsInsideAZone)
{
    Geometry g;
    std::vector<int> square{g.point(0, 0), g.point(8, 0), g.point(8, 8), g.point(0, 8)};
    g.loop(square, {1});
    std::ostringstream dots;
    dots << 9;
    for (int k = 0; k < 9; ++k) {
        dots << ' ' << g.point(1.0 + 3.0 * (k % 3) + 0.1 * k, 1.0 + 3.0 * (k / 3));
    }
    dots << " 99 1 1";
    g.borders.push_back(dots.str());
    meshAndCheck(g);
}

TEST_F(Zones, TiltedPlaneInSpaceWithAHole)
{
    // The plane x + y + z = 1: a square with a square hole.
    Geometry g;
    g.dimension = 3;
    auto at = [&](double u, double v) { return g.point(u, v, 1.0 - u - v); };
    g.loop({at(0, 0), at(4, 0), at(4, 4), at(0, 4)}, {1});
    g.loop({at(1, 1), at(2, 1), at(2, 2), at(1, 2)}, {1});
    meshAndCheck(g);
}

TEST_F(Zones, ACubeOfSixFacesIsMeshedWithoutNodesAdded)
{
    // a closed surface: its 24 triangles pass the 2 N - 5 = 23 of one plane triangulation
    Geometry g;
    g.dimension = 3;
    for (const auto& [x, y, z] : {std::array{0, 0, 0}, std::array{1, 0, 0}, std::array{1, 1, 0}, std::array{0, 1, 0},
                                  std::array{0, 0, 1}, std::array{1, 0, 1}, std::array{1, 1, 1}, std::array{0, 1, 1}}) {
        g.point(double(x), double(y), double(z));
    }
    // zones: 1 bottom, 2 top, 3 front (y = 0), 4 right (x = 1), 5 back (y = 1), 6 left (x = 0)
    const int edges[12][4] = {{1, 2, 1, 3}, {2, 3, 1, 4}, {3, 4, 1, 5}, {4, 1, 1, 6}, {5, 6, 2, 3}, {6, 7, 2, 4},
                              {7, 8, 2, 5}, {8, 5, 2, 6}, {1, 5, 3, 6}, {2, 6, 3, 4}, {3, 7, 4, 5}, {4, 8, 5, 6}};
    for (const auto& e : edges) {
        g.chain({e[0], e[1]}, {e[2], e[3]});
    }
    const double middles[6][3] = {{0.5, 0.5, 0}, {0.5, 0.5, 1}, {0.5, 0, 0.5}, {1, 0.5, 0.5}, {0.5, 1, 0.5}, {0, 0.5, 0.5}};
    for (int f = 0; f < 6; ++f) {
        const int middle = g.point(middles[f][0], middles[f][1], middles[f][2]);
        g.borders.push_back("1 " + std::to_string(middle) + " 99 1 " + std::to_string(f + 1));
    }
    directory.write("cube.geo", g.text());
    const RunResult result = runBinary(TESMO_BINARY, {"s", "cube.geo", "-", "out.msh", "-", "0"}, directory.path());
    EXPECT_EQ(result.output, "");
    testing::MeshReport report;
    EXPECT_EQ(testing::checkMeshFiles(directory.file("out.msh"), directory.file("cube.geo"), &report), "");
    EXPECT_EQ(report.triangles, 24);
}

TEST_F(Zones, AnOpenLineCarryingAZoneAloneIsRefused)
{
    // zone 2 has no border but an open line inside zone 1: its triangles would be the hull of
    // the line, over zone 1
    Geometry g;
    std::vector<int> square{g.point(0, 0), g.point(8, 0), g.point(8, 8), g.point(0, 8)};
    g.loop(square, {1});
    g.chain({g.point(2, 2), g.point(4, 5), g.point(6, 2)}, {1, 2});
    const std::string output = refused(g);
    EXPECT_NE(output.find("geometry is not valid"), std::string::npos) << output;
    EXPECT_NE(output.find(" BORD HORS DES FRONTIERES"), std::string::npos) << output;
}

TEST_F(Zones, DuplicatePointsAreRefused)
{
    // A twin joined to its point by a border edge: an edge of no length, refused before meshing.
    Geometry g;
    std::vector<int> square{g.point(0, 0), g.point(1, 0), g.point(1, 1), g.point(0, 1)};
    g.loop(square, {1});
    const int twin = g.point(1, 1);
    g.chain({square[2], twin}, {1});
    std::string output = refused(g);
    EXPECT_NE(output.find(" DATA ERROR  geometry is not valid\n border 2 has an edge of length zero at 1. 1., points 3 5\n"),
              std::string::npos)
        << output;
    // A twin standing alone: the triangulation refuses it.
    Geometry h;
    h.loop({h.point(0, 0), h.point(1, 0), h.point(1, 1), h.point(0, 1)}, {1});
    h.borders.push_back("1 " + std::to_string(h.point(1, 1)) + " 99 1 1");
    output = refused(h);
    EXPECT_NE(output.find("BOUCLE REJET"), std::string::npos) << output;
    EXPECT_NE(output.find("POINTS CONFONDUS PROBABLEMENT"), std::string::npos) << output;
}

TEST_F(Zones, CollinearPointsAreRefused)
{
    Geometry g;
    g.chain({g.point(0, 0), g.point(1, 0), g.point(2, 0), g.point(3, 0)}, {1});
    const std::string output = refused(g);
    EXPECT_NE(output.find("APPEL PTINIT"), std::string::npos) << output;
}

TEST_F(Zones, CrossingBordersAreRefused)
{
    // Two diagonals of the square are both borders of the zone: they cross at its centre.
    Geometry g;
    std::vector<int> square{g.point(0, 0), g.point(4, 0), g.point(4, 4), g.point(0, 4)};
    g.loop(square, {1});
    g.chain({square[0], square[2]}, {1});
    g.chain({square[1], square[3]}, {1});
    refused(g);
}

} // namespace
} // namespace tesmo
