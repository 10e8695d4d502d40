// The mesh checker itself: it must accept a right mesh and name what is wrong in a bad one.
#include "support/mesh_check.hpp"

#include <gtest/gtest.h>

namespace tesmo::testing {
namespace {

/// A unit square of zone 7 with a centre node, split into four triangles.
void squareWithCentre(MeshData& mesh, GeometryData& geometry)
{
    geometry = GeometryData{};
    geometry.dimension = 2;
    geometry.points = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    geometry.borders.push_back({{1, 2, 3, 4, 1}, 100, {7}});
    mesh = MeshData{};
    mesh.dimension = 2;
    mesh.points = geometry.points;
    mesh.points.push_back({0.5, 0.5, 0});
    mesh.elements = {{{1, 2, 5}, 3, 7}, {{2, 3, 5}, 3, 7}, {{3, 4, 5}, 3, 7}, {{4, 1, 5}, 3, 7}};
}

TEST(MeshCheck, AcceptsAConformingMesh)
{
    MeshData mesh;
    GeometryData geometry;
    squareWithCentre(mesh, geometry);
    MeshReport report;
    EXPECT_EQ(checkMesh(mesh, geometry, &report), "");
    ASSERT_EQ(report.zoneAreas.size(), 1u);
    EXPECT_NEAR(report.zoneAreas[0], 1.0, 1e-12);
}

TEST(MeshCheck, NamesEachKindOfFault)
{
    MeshData mesh;
    GeometryData geometry;
    squareWithCentre(mesh, geometry);
    mesh.elements[1].nodes = {3, 2, 5};
    EXPECT_NE(checkMesh(mesh, geometry).find("clockwise"), std::string::npos);

    squareWithCentre(mesh, geometry);
    mesh.elements.pop_back();
    EXPECT_NE(checkMesh(mesh, geometry), "");

    squareWithCentre(mesh, geometry);
    mesh.points[4] = {0.5, 1.5, 0};
    EXPECT_NE(checkMesh(mesh, geometry), "");

    squareWithCentre(mesh, geometry);
    mesh.elements[2].reference = 8;
    EXPECT_NE(checkMesh(mesh, geometry), "");
}

TEST(MeshCheck, HoleMustStayEmpty)
{
    GeometryData geometry;
    geometry.dimension = 2;
    geometry.points = {{0, 0, 0}, {3, 0, 0}, {3, 3, 0}, {0, 3, 0}, {1, 1, 0}, {2, 1, 0}, {2, 2, 0}, {1, 2, 0}};
    geometry.borders.push_back({{1, 2, 3, 4, 1}, 100, {1}});
    geometry.borders.push_back({{5, 6, 7, 8, 5}, 100, {1}});
    MeshData mesh;
    mesh.dimension = 2;
    mesh.points = geometry.points;
    // Eight triangles around the hole.
    mesh.elements = {{{1, 2, 6}, 3, 1}, {{1, 6, 5}, 3, 1}, {{2, 3, 7}, 3, 1}, {{2, 7, 6}, 3, 1},
                     {{3, 4, 8}, 3, 1}, {{3, 8, 7}, 3, 1}, {{4, 1, 5}, 3, 1}, {{4, 5, 8}, 3, 1}};
    MeshReport report;
    EXPECT_EQ(checkMesh(mesh, geometry, &report), "");
    EXPECT_NEAR(report.expectedAreas[0], 8.0, 1e-12);
    mesh.elements.push_back({{5, 6, 7}, 3, 1});
    EXPECT_NE(checkMesh(mesh, geometry), "");
}

TEST(MeshCheck, BorderEdgesAreEdgeChains)
{
    MeshData mesh;
    GeometryData geometry;
    // a square with two inner nodes, 5 at its centre, 6 low: no edge 1-5
    squareWithCentre(mesh, geometry);
    geometry.points.push_back({0.5, 0.5, 0});
    mesh.points.push_back({0.5, 0.1, 0});
    mesh.elements = {{{1, 2, 6}, 3, 7}, {{2, 5, 6}, 3, 7}, {{2, 3, 5}, 3, 7},
                     {{3, 4, 5}, 3, 7}, {{4, 6, 5}, 3, 7}, {{4, 1, 6}, 3, 7}};
    geometry.borders.push_back({{3, 5}, 100, {7}}); // an open line inside the zone
    EXPECT_EQ(checkMesh(mesh, geometry), "");
    geometry.borders.back() = {{1, 5}, 100, {7}};
    EXPECT_NE(checkMesh(mesh, geometry).find("edge chain"), std::string::npos);

    // a thin spike: the node inside it, near the lower side, is not taken for a node of that side
    geometry = GeometryData{};
    geometry.dimension = 2;
    geometry.points = {{0, 0, 0}, {1, 0, 0}, {1, 1e-3, 0}};
    geometry.borders.push_back({{1, 2, 3, 1}, 100, {1}});
    mesh = MeshData{};
    mesh.dimension = 2;
    mesh.points = geometry.points;
    mesh.points.push_back({0.5, 1e-6, 0});
    mesh.elements = {{{1, 2, 4}, 3, 1}, {{2, 3, 4}, 3, 1}, {{3, 1, 4}, 3, 1}};
    EXPECT_EQ(checkMesh(mesh, geometry), "");
}

} // namespace
} // namespace tesmo::testing
