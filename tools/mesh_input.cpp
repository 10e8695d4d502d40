// Reading a mesh and its nodal values through the system's readers, and what the subcommands
// derive from a mesh: its edges and the coordinates of its picture plane.
#include "mesh_input.hpp"

#include "tool_common.hpp"

#include "files/es_grandeur.hpp"
#include "files/es_mesh.hpp"
#include "files/es_util.hpp"
#include "geometry/cg_repere.hpp"
#include "messages/es_chaine.hpp"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <limits>
#include <numbers>

namespace tesmo::tools {

namespace {

/// Below this length, the x axis seen in the plane is too short to turn the picture by.
inline constexpr double kAxisAcross = 0.1;

/// Sends what the system's readers printed to standard error, where it does not mix with
/// a picture or a table written on standard output.
void relay(const ConsoleCapture& capture)
{
    if (!capture.text().empty()) {
        std::cerr << capture.text();
    }
}

/// The readers keep names in a table of fixed width.
std::string checkName(const std::string& path)
{
    if (path.empty()) {
        return "the file name is empty";
    }
    if (path.size() >= std::size_t(kFileNameLength)) {
        return "the file name " + path + " is longer than " + std::to_string(kFileNameLength - 1) + " characters";
    }
    return "";
}

/// What a failed mesh reading means to the user.
std::string meshFailure(const std::string& path, int code)
{
    if (code == kGeometryNotMesh) {
        return path + " is a geometry file, not a mesh file (mesh it with tesmo first)";
    }
    if (code == kCapacityError) {
        return "cannot read the mesh file " + path + ": too large";
    }
    return "cannot read the mesh file " + path;
}

/// Every element must be a triangle of three existing nodes: a tesmo mesh holds nothing else.
std::string checkTriangles(const MeshSizes& sizes, const std::vector<int32_t>& rows, const std::string& path)
{
    if (sizes.ne < 1) {
        return path + " holds no triangles";
    }
    if (sizes.dimension < 2 || sizes.dimension > 3) {
        return path + " has nodes of dimension " + std::to_string(sizes.dimension) + "; only 2 and 3 are drawn";
    }
    if (sizes.elementDimension < 2) {
        return path + " holds lines or points, not triangles (a geometry file? mesh it with tesmo first)";
    }
    if (sizes.rowLength != 3 || sizes.elementDimension != 2) {
        return path + " holds elements other than triangles";
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i] < 1) {
            return path + ": element " + std::to_string(i / 3 + 1) +
                   " (in zone order) is not a triangle of three nodes";
        }
    }
    return "";
}

} // namespace

std::string loadMesh(const std::string& path, ToolMesh& mesh, const std::string& shownAs)
{
    if (std::string why = checkName(path); !why.empty()) {
        return why;
    }
    const std::string& name = shownAs.empty() ? path : shownAs;
    Progress progress("reading " + name);
    ConsoleCapture capture;
    // 1. counting pass: the sizes of every table.
    MeshSizes sizes;
    int code = litvip(0, path, MeshTables{}, sizes);
    if (code != kOk) {
        relay(capture);
        return meshFailure(name, code);
    }
    if (sizes.ne < 1 || sizes.rowLength < 1) {
        return checkTriangles(sizes, {}, name);
    }
    // 2. filling pass into tables of exactly those sizes.
    mesh.name = name;
    mesh.dimension = sizes.dimension;
    mesh.nodes = sizes.npts;
    mesh.coordinates.assign(std::size_t(sizes.npts) * std::size_t(sizes.dimension), 0.0f);
    std::vector<int32_t> rows(std::size_t(sizes.ne) * std::size_t(sizes.rowLength), 0);
    mesh.zoneCodes.assign(std::size_t(sizes.zones), 0);
    mesh.zoneEnds.assign(std::size_t(sizes.zones), 0);
    const MeshTables tables{Vec<float>(mesh.coordinates.data(), int32_t(mesh.coordinates.size())),
                            Vec<int32_t>(rows.data(), int32_t(rows.size())),
                            Vec<int32_t>(mesh.zoneCodes.data(), sizes.zones),
                            Vec<int32_t>(mesh.zoneEnds.data(), sizes.zones)};
    const int32_t ne = sizes.ne;
    code = litvip(1, path, tables, sizes);
    relay(capture);
    progress.finish();
    if (code != kOk) {
        return meshFailure(name, code);
    }
    if (sizes.ne != ne) {
        return "the mesh file " + name + " changed while it was read";
    }
    // 3. triangles only, and the group of each.
    if (std::string why = checkTriangles(sizes, rows, name); !why.empty()) {
        return why;
    }
    mesh.triangles = std::move(rows);
    mesh.groupOf.assign(std::size_t(ne), 0);
    int32_t first = 0;
    for (int32_t g = 0; g < mesh.zoneCount(); ++g) {
        for (int32_t t = first; t < mesh.zoneEnds[std::size_t(g)]; ++t) {
            mesh.groupOf[std::size_t(t)] = g;
        }
        first = mesh.zoneEnds[std::size_t(g)];
    }
    return "";
}

std::string loadSizes(const std::string& path, const ToolMesh& mesh, bool positive, std::vector<float>& sizes)
{
    if (std::string why = checkName(path); !why.empty()) {
        return why;
    }
    ConsoleCapture capture;
    int32_t m = 0;
    int32_t n = 0;
    int code = litgrd(0, path, Vec<float>(), m, n);
    if (code != kOk) {
        relay(capture);
        return "cannot read the nodal-values file " + path;
    }
    if (n != mesh.nodes) {
        return "the nodal-values file " + path + " holds " + std::to_string(n) + " nodes, the mesh " +
               std::to_string(mesh.nodes);
    }
    if (int64_t(n) * m > std::numeric_limits<int32_t>::max()) {
        return "cannot read the nodal-values file " + path + ": too large";
    }
    // A node line given twice leaves another node without a value: a NaN marks it.
    std::vector<float> values(std::size_t(n) * std::size_t(m), std::numeric_limits<float>::quiet_NaN());
    code = litgrd(1, path, Vec<float>(values.data(), int32_t(values.size())), m, n);
    relay(capture);
    if (code == kCapacityError) {
        return "the nodal-values file " + path + " names a node above " + std::to_string(n);
    }
    if (code != kOk) {
        return "cannot read the nodal-values file " + path;
    }
    sizes.resize(std::size_t(n));
    for (int32_t i = 0; i < n; ++i) {
        const float value = values[std::size_t(i) * std::size_t(m)];
        if (std::isnan(value)) {
            return "the nodal-values file " + path + " gives no value for node " + std::to_string(i + 1);
        }
        if (!std::isfinite(value) || (positive && !(value > 0.0f))) {
            return "the nodal-values file " + path + " gives the size " + formatReal(std::fabs(value)) +
                   (value < 0.0f ? " (negative)" : "") + " at node " + std::to_string(i + 1) +
                   (positive ? "; sizes must be positive" : "");
        }
        sizes[std::size_t(i)] = value;
    }
    return "";
}

std::vector<MeshEdge> meshEdges(const ToolMesh& mesh)
{
    // Every corner pair with its triangle, sorted so that the sides of one edge meet.
    struct Side {
        int32_t a, b, triangle;
    };
    std::vector<Side> sides;
    sides.reserve(mesh.triangles.size());
    for (int32_t t = 0; t < mesh.triangleCount(); ++t) {
        for (int32_t c = 0; c < 3; ++c) {
            const int32_t p = mesh.corner(t, c);
            const int32_t q = mesh.corner(t, (c + 1) % 3);
            sides.push_back({std::min(p, q), std::max(p, q), t});
        }
    }
    std::sort(sides.begin(), sides.end(), [](const Side& l, const Side& r) {
        return l.a != r.a ? l.a < r.a : l.b != r.b ? l.b < r.b : l.triangle < r.triangle;
    });
    std::vector<MeshEdge> edges;
    for (std::size_t i = 0; i < sides.size();) {
        std::size_t j = i + 1;
        while (j < sides.size() && sides[j].a == sides[i].a && sides[j].b == sides[i].b) {
            ++j;
        }
        edges.push_back({sides[i].a, sides[i].b, sides[i].triangle, j > i + 1 ? sides[i + 1].triangle : -1});
        i = j;
    }
    return edges;
}

bool isBorderEdge(const ToolMesh& mesh, const MeshEdge& edge)
{
    return edge.second < 0 || mesh.groupOf[std::size_t(edge.first)] != mesh.groupOf[std::size_t(edge.second)];
}

std::string planeCoordinates(const ToolMesh& mesh, std::vector<double>& xy)
{
    xy.assign(std::size_t(mesh.nodes) * 2, 0.0);
    if (mesh.dimension == 2) {
        for (int32_t n = 1; n <= mesh.nodes; ++n) {
            xy[std::size_t(n - 1) * 2] = mesh.coordinate(n, 0);
            xy[std::size_t(n - 1) * 2 + 1] = mesh.coordinate(n, 1);
        }
        return "";
    }
    // The plane of the zones, with the frame the mesher itself uses for a zone in space.
    std::vector<float> plane(std::size_t(mesh.nodes) * 2, 0.0f);
    float origin[3] = {};
    float frame[9] = {};
    const Rows<const float> points(mesh.coordinates.data(), 3, mesh.nodes);
    const int code = rppncr(Vec<const int32_t>(), 0, 1, mesh.nodes, points, origin, frame,
                            Rows<float>(plane.data(), 2, mesh.nodes));
    if (code != kOk) {
        return "the nodes of " + mesh.name + " do not span a plane";
    }
    // The frame's rows u, v, n are stored by columns. The plane is seen from the side its
    // normal points to when that normal rises (z > 0), and turned so that the x axis of space
    // points right in the picture (or, for a plane across the x axis, the y axis up).
    const double u[3] = {double(frame[0]), double(frame[3]), double(frame[6])};
    const double flip = frame[8] < 0.0f ? -1.0 : 1.0;
    const double v[3] = {flip * double(frame[1]), flip * double(frame[4]), flip * double(frame[7])};
    double angle = std::atan2(v[0], u[0]);
    if (std::hypot(u[0], v[0]) < kAxisAcross) {
        angle = std::atan2(v[1], u[1]) - std::numbers::pi / 2.0;
    }
    const double c = std::cos(angle), s = std::sin(angle);
    for (int32_t n = 0; n < mesh.nodes; ++n) {
        const double p = double(plane[std::size_t(n) * 2]);
        const double q = flip * double(plane[std::size_t(n) * 2 + 1]);
        xy[std::size_t(n) * 2] = c * p + s * q;
        xy[std::size_t(n) * 2 + 1] = -s * p + c * q;
    }
    return "";
}

} // namespace tesmo::tools
