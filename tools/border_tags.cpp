// Border numbers of the mesh edges.
//
// The mesh written by tesmo starts with the points of its geometry, in order; every border
// segment from point p to point q is cut into mesh edges whose inner nodes lie on the segment.
// The segment is followed along the mesh: from p, the next node is the neighbour nearest the
// line p q among those further along it, until q is reached:
//
//      p ----- n1 ----- n2 ----- q      each mesh edge p n1, n1 n2, n2 q gets the border's
//        \    /  \     /  \     /       number; the neighbours off the line are passed by
//         \  /    \   /    \   /
//          x1      x2       x3
#include "border_tags.hpp"

#include "tool_common.hpp"

#include "files/es_bloc.hpp"
#include "files/es_geometrie.hpp"
#include "files/es_lecture.hpp"
#include "files/es_util.hpp"
#include "messages/es_chaine.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <iostream>

namespace tesmo::tools {

namespace {

/// A node further along a segment than this share of it beyond its end is not on it.
inline constexpr double kAlongSlack = 1.0e-6;
/// A neighbour farther from the line of a segment than this share of its length is not on it.
inline constexpr double kOffLine = 1.0e-3;

/// The points of the geometry, through the system's reader.
std::string readPoints(const std::string& path, ToolGeometry& geometry)
{
    GeometrySizes sizes;
    int code = litfrt(0, path, GeometryTables{}, sizes);
    if (code != kOk) {
        return "cannot read the geometry file " + path;
    }
    geometry.dimension = sizes.dimension;
    geometry.points.assign(std::size_t(sizes.npts) * std::size_t(sizes.dimension), 0.0f);
    std::vector<int32_t> edgeNodes(std::size_t(std::max(1, sizes.ne * std::max(1, sizes.nodesPerElement))), 0);
    std::vector<int32_t> zoneCodes(std::size_t(std::max(1, sizes.zones)), 0);
    std::vector<int32_t> edgeCodes(std::size_t(std::max(1, 2 * sizes.ne * std::max(1, sizes.codesPerEdge))), 0);
    const GeometryTables tables{Vec<float>(geometry.points.data(), int32_t(geometry.points.size())),
                                Vec<int32_t>(edgeNodes.data(), int32_t(edgeNodes.size())),
                                Vec<int32_t>(zoneCodes.data(), int32_t(zoneCodes.size())),
                                Vec<int32_t>(edgeCodes.data(), int32_t(edgeCodes.size()))};
    code = litfrt(1, path, tables, sizes);
    if (code != kOk) {
        return "cannot read the geometry file " + path;
    }
    return "";
}

/// The borders of the geometry in file order, through the system's border reader.
std::string readBorders(const std::string& path, ToolGeometry& geometry)
{
    BlockReading files;
    if (files.open(path) != kOk) {
        return "cannot open the geometry file " + path;
    }
    if (files.extract("DEBILM", "FINILM") != kOk && files.extract("DEBARE", "FINARE") != kOk) {
        return ""; // no borders
    }
    int32_t count = 0;
    {
        FreeRead read(files.block());
        if (read.integer(count) != kReadOk) {
            return "the geometry file " + path + " has no border count";
        }
    }
    std::vector<int32_t> points(std::size_t(kMaxBorderPoints), 0);
    std::array<int32_t, kMaxBorderZones> zones{};
    for (int32_t k = 1; k <= count; ++k) {
        int32_t elementDimension = 0, n = 0, nz = 0, code = 0;
        if (litgeo(files.blockUnit(), elementDimension, Vec<int32_t>(points.data(), kMaxBorderPoints), n,
                   Vec<int32_t>(zones.data(), kMaxBorderZones), nz, code) != kOk) {
            return "cannot read the border " + std::to_string(k) + " of " + path;
        }
        ToolGeometry::Border border;
        border.code = code;
        border.points.assign(points.begin(), points.begin() + n);
        border.zones.assign(zones.begin(), zones.begin() + std::min(nz, kMaxBorderZones));
        geometry.borders.push_back(std::move(border));
    }
    return "";
}

/// Every node's neighbours in the mesh, as runs of one list (`first` has nodes + 1 entries).
void neighbourLists(const ToolMesh& mesh, std::vector<int32_t>& first, std::vector<int32_t>& list)
{
    const std::vector<MeshEdge> edges = meshEdges(mesh);
    first.assign(std::size_t(mesh.nodes) + 2, 0);
    for (const MeshEdge& e : edges) {
        ++first[std::size_t(e.a) + 1];
        ++first[std::size_t(e.b) + 1];
    }
    for (std::size_t n = 1; n < first.size(); ++n) {
        first[n] += first[n - 1];
    }
    list.assign(std::size_t(first.back()), 0);
    std::vector<int32_t> fill(first.begin(), first.end() - 1);
    for (const MeshEdge& e : edges) {
        list[std::size_t(fill[std::size_t(e.a)]++)] = e.b;
        list[std::size_t(fill[std::size_t(e.b)]++)] = e.a;
    }
}

/// Where node n lies against the segment p q: its share t along it and its distance from the
/// line, in double (the nodes of a border are rounded off it by a few units of the last place).
void against(const ToolMesh& mesh, int32_t p, int32_t q, int32_t n, double& t, double& distance)
{
    double along = 0.0, squared = 0.0, offset = 0.0;
    for (int32_t j = 0; j < 3; ++j) {
        const double d = mesh.coordinate(q, j) - mesh.coordinate(p, j);
        along += d * (mesh.coordinate(n, j) - mesh.coordinate(p, j));
        squared += d * d;
    }
    t = squared > 0.0 ? along / squared : 0.0;
    for (int32_t j = 0; j < 3; ++j) {
        const double d = mesh.coordinate(n, j) - mesh.coordinate(p, j) -
                         t * (mesh.coordinate(q, j) - mesh.coordinate(p, j));
        offset += d * d;
    }
    distance = std::sqrt(offset / std::max(squared, 1e-300));
}

} // namespace

std::string loadGeometry(const std::string& path, ToolGeometry& geometry)
{
    geometry = ToolGeometry{};
    geometry.name = path;
    ConsoleCapture capture;
    std::string why = readPoints(path, geometry);
    if (why.empty()) {
        why = readBorders(path, geometry);
    }
    if (!capture.text().empty()) {
        std::cerr << capture.text();
    }
    return why;
}

std::string tagBorderEdges(const ToolMesh& mesh, const ToolGeometry& geometry, std::vector<BorderEdge>& edges)
{
    edges.clear();
    // 1. the geometry's points are the mesh's first nodes
    const int32_t points = geometry.pointCount();
    if (points > mesh.nodes) {
        return "the mesh " + mesh.name + " has fewer nodes than " + geometry.name + " has points";
    }
    for (int32_t n = 1; n <= points; ++n) {
        for (int32_t j = 0; j < std::min(geometry.dimension, 3); ++j) {
            if (double(geometry.points[std::size_t(n - 1) * std::size_t(geometry.dimension) + std::size_t(j)]) !=
                mesh.coordinate(n, j)) {
                return "the node " + std::to_string(n) + " of " + mesh.name + " is not the point " +
                       std::to_string(n) + " of " + geometry.name + " (was the mesh made from it?)";
            }
        }
    }
    // 2. every segment of every polyline followed along the mesh
    std::vector<int32_t> first, list;
    neighbourLists(mesh, first, list);
    for (std::size_t k = 0; k < geometry.borders.size(); ++k) {
        const ToolGeometry::Border& border = geometry.borders[k];
        if (border.code != kBorderPolyline) {
            continue;
        }
        for (std::size_t i = 0; i + 1 < border.points.size(); ++i) {
            const int32_t p = border.points[i], q = border.points[i + 1];
            int32_t at = p;
            double reached = 0.0;
            for (int32_t steps = 0; at != q && steps < mesh.nodes; ++steps) {
                int32_t next = 0;
                double nearest = kOffLine;
                double nextShare = 0.0;
                for (int32_t s = first[std::size_t(at)]; s < first[std::size_t(at) + 1]; ++s) {
                    const int32_t w = list[std::size_t(s)];
                    double t = 0.0, distance = 0.0;
                    against(mesh, p, q, w, t, distance);
                    if (t > reached && t <= 1.0 + kAlongSlack && distance < nearest) {
                        next = w;
                        nearest = distance;
                        nextShare = t;
                    }
                }
                if (next == 0) {
                    break;
                }
                edges.push_back({at, next, int32_t(k) + 1});
                at = next;
                reached = nextShare;
            }
            if (at != q) {
                return "the mesh " + mesh.name + " does not follow the border " + std::to_string(k + 1) + " of " +
                       geometry.name + " from its point " + std::to_string(p) + " to its point " + std::to_string(q);
            }
        }
    }
    return "";
}

} // namespace tesmo::tools
