#pragma once
// Border identity in the exports: which border of the geometry each border edge of a mesh
// lies on, so that finite-element users can set their boundary conditions by border number.
#include "mesh_input.hpp"

#include <cstdint>
#include <string>
#include <vector>

namespace tesmo::tools {

/// A geometry file as the tags need it: its points and its borders in file order.
struct ToolGeometry {
    std::string name;
    int32_t dimension = 0;
    std::vector<float> points; ///< `dimension` reals per point, point 1 first
    struct Border {
        int32_t code = 0;            ///< 99 isolated points, 100 polyline
        std::vector<int32_t> points; ///< point numbers, from 1
        std::vector<int32_t> zones;
    };
    std::vector<Border> borders; ///< border k is borders[k - 1]
    int32_t pointCount() const { return dimension == 0 ? 0 : int32_t(points.size()) / dimension; }
};

/// A mesh edge on a border of the geometry: from node a to node b (from 1), in the direction of
/// the border, and the border's number (from 1, its place in the file).
struct BorderEdge {
    int32_t a = 0;
    int32_t b = 0;
    int32_t border = 0;
};

/// Reads a geometry file with the system's readers (its messages go to standard error).
/// Returns "" or what is wrong.
std::string loadGeometry(const std::string& path, ToolGeometry& geometry);

/// Every mesh edge along a polyline border of the geometry, with the border's number, border
/// after border and segment after segment; a border inside a zone (a crack) is followed as any
/// other. The mesh must hold the geometry's points as its first nodes, as tesmo writes them.
/// Returns "" or what is wrong (naming the border and the segment the mesh does not follow).
std::string tagBorderEdges(const ToolMesh& mesh, const ToolGeometry& geometry, std::vector<BorderEdge>& edges);

} // namespace tesmo::tools
