#pragma once
// A mesh file and its nodal values as the subcommands see them: read with the system's mesh
// and nodal-values readers, checked to hold triangles only, with the edge list and the
// picture-plane coordinates derived from them.
#include <cstdint>
#include <string>
#include <vector>

namespace tesmo::tools {

/// A triangle mesh read from a mesh file. Node and zone numbers are those of the file
/// (nodes from 1); triangles come grouped by zone, zones in order of first appearance.
struct ToolMesh {
    std::string name;
    int32_t dimension = 0;            ///< coordinates per node (2 or 3)
    int32_t nodes = 0;                ///< number of nodes
    std::vector<float> coordinates;   ///< `dimension` reals per node, node 1 first
    std::vector<int32_t> triangles;   ///< three node numbers per triangle
    std::vector<int32_t> zoneCodes;   ///< zone code of each group
    std::vector<int32_t> zoneEnds;    ///< number of the last triangle of each group
    std::vector<int32_t> groupOf;     ///< group (from 0) of each triangle (from 0)

    int32_t triangleCount() const { return int32_t(triangles.size() / 3); }
    int32_t zoneCount() const { return int32_t(zoneCodes.size()); }
    /// Node number of corner c (0..2) of triangle t (from 0).
    int32_t corner(int32_t t, int32_t c) const { return triangles[std::size_t(t) * 3 + std::size_t(c)]; }
    /// Coordinate j (0-based) of node n (from 1), 0 beyond the file's dimension.
    double coordinate(int32_t n, int32_t j) const
    {
        return j < dimension ? double(coordinates[std::size_t(n - 1) * std::size_t(dimension) + std::size_t(j)]) : 0.0;
    }
};

/// An edge of the mesh: its two nodes (a < b) and the triangles (from 0) on either side;
/// `second` is -1 on the outside of the mesh. An edge met by more than two triangles keeps
/// the first two.
struct MeshEdge {
    int32_t a = 0;
    int32_t b = 0;
    int32_t first = -1;
    int32_t second = -1;
};

/// Reads a mesh file with the system's reader; its console messages go to standard error.
/// `shownAs`, when not empty, is the name the progress line and the messages give the file.
/// Returns "" or what is wrong (the reader's messages are printed first).
std::string loadMesh(const std::string& path, ToolMesh& mesh, const std::string& shownAs = "");

/// Reads the first value per node of a nodal-values file that must hold exactly the mesh's
/// nodes, every value finite, and positive when `positive`. Returns "" or what is wrong.
std::string loadSizes(const std::string& path, const ToolMesh& mesh, bool positive, std::vector<float>& sizes);

/// Every edge of the mesh once, sorted by (a, b).
std::vector<MeshEdge> meshEdges(const ToolMesh& mesh);

/// True when the edge lies on the boundary of a zone: on the outside of the mesh, or between
/// two zones.
bool isBorderEdge(const ToolMesh& mesh, const MeshEdge& edge);

/// The picture-plane coordinates of every node (x, y per node, node 1 first): the coordinates
/// themselves in 2D, the coordinates in the plane fitted through all nodes in 3D.
/// Returns "" or what is wrong.
std::string planeCoordinates(const ToolMesh& mesh, std::vector<double>& xy);

} // namespace tesmo::tools
