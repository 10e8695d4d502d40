// Mesh checker for whole-run tests. Works in double precision on its own parse of the files,
// so that it shares no code with the mesher it checks.
#include "support/mesh_check.hpp"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace tesmo::testing {

namespace {

using Point = std::array<double, 3>;

/// The lines between the first begin tag and its end tag, comment lines dropped.
bool blockLines(const std::vector<std::string>& lines, const std::string& tag, std::vector<std::string>& out)
{
    out.clear();
    bool inside = false;
    for (const std::string& line : lines) {
        std::string word;
        std::istringstream in(line);
        in >> word;
        for (char& c : word) {
            c = char(std::toupper(static_cast<unsigned char>(c)));
        }
        if (!inside) {
            if (word.rfind("DEB" + tag, 0) == 0) {
                inside = true;
            }
            continue;
        }
        if (!line.empty() && line[0] == '*') {
            continue;
        }
        if (word.rfind("FIN" + tag, 0) == 0) {
            return true;
        }
        out.push_back(line);
    }
    return false;
}

/// Splits lines into records: one record per "read" is not known here, so tokens are
/// consumed in order with commas as blanks.
struct Tokens {
    std::vector<std::string> items;
    std::size_t at = 0;
    explicit Tokens(const std::vector<std::string>& lines)
    {
        for (std::string line : lines) {
            std::replace(line.begin(), line.end(), ',', ' ');
            std::istringstream in(line);
            std::string word;
            while (in >> word) {
                items.push_back(word);
            }
        }
    }
    bool integer(int& v)
    {
        if (at >= items.size()) {
            return false;
        }
        char* end = nullptr;
        const long value = std::strtol(items[at].c_str(), &end, 10);
        if (*end != '\0') {
            return false;
        }
        v = int(value);
        ++at;
        return true;
    }
    bool real(double& v)
    {
        if (at >= items.size()) {
            return false;
        }
        std::string text = items[at];
        std::replace(text.begin(), text.end(), 'D', 'E');
        std::replace(text.begin(), text.end(), 'd', 'E');
        char* end = nullptr;
        v = std::strtod(text.c_str(), &end);
        if (*end != '\0') {
            return false;
        }
        ++at;
        return true;
    }
};

std::vector<std::string> fileLines(const std::string& path, bool& ok)
{
    std::ifstream in(path);
    ok = bool(in);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

/// Reads block XYZ into points; one point per line group of `dimension` reals.
std::string readPoints(const std::vector<std::string>& lines, int& dimension, std::vector<Point>& points)
{
    std::vector<std::string> block;
    if (!blockLines(lines, "XYZ", block)) {
        return "no XYZ block";
    }
    // Each point starts on a new line: read line by line.
    std::size_t line = 0;
    auto nextLine = [&](Tokens& t) {
        while (line < block.size()) {
            Tokens candidate(std::vector<std::string>{block[line++]});
            if (!candidate.items.empty()) {
                t = candidate;
                return true;
            }
        }
        return false;
    };
    Tokens header(std::vector<std::string>{});
    int count = 0;
    if (!nextLine(header) || !header.integer(count) || !header.integer(dimension)) {
        return "bad XYZ header";
    }
    points.assign(std::size_t(count), Point{0, 0, 0});
    for (int i = 0; i < count; ++i) {
        Tokens t(std::vector<std::string>{});
        if (!nextLine(t)) {
            return "missing point " + std::to_string(i + 1);
        }
        for (int k = 0; k < dimension; ++k) {
            double v = 0;
            while (!t.real(v)) {
                if (t.at < t.items.size() || !nextLine(t)) {
                    return "bad point " + std::to_string(i + 1);
                }
            }
            if (k < 3) {
                // the program reads and writes single-precision coordinates: their values
                points[std::size_t(i)][std::size_t(k)] = double(float(v));
            }
        }
    }
    return "";
}

double cross2(const Point& o, const Point& a, const Point& b, int u, int v)
{
    return (a[std::size_t(u)] - o[std::size_t(u)]) * (b[std::size_t(v)] - o[std::size_t(v)]) -
           (a[std::size_t(v)] - o[std::size_t(v)]) * (b[std::size_t(u)] - o[std::size_t(u)]);
}

double distance(const Point& a, const Point& b)
{
    const double dx = a[0] - b[0];
    const double dy = a[1] - b[1];
    const double dz = a[2] - b[2];
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

/// True when p lies on segment ab within tolerance tol (relative to |ab|).
bool onSegment(const Point& p, const Point& a, const Point& b, double tol)
{
    const double length = distance(a, b);
    if (length == 0.0) {
        return distance(p, a) <= tol;
    }
    double t = 0.0;
    for (int k = 0; k < 3; ++k) {
        t += (p[std::size_t(k)] - a[std::size_t(k)]) * (b[std::size_t(k)] - a[std::size_t(k)]);
    }
    t /= length * length;
    if (t < -tol / length || t > 1.0 + tol / length) {
        return false;
    }
    Point foot{};
    for (int k = 0; k < 3; ++k) {
        foot[std::size_t(k)] = a[std::size_t(k)] + t * (b[std::size_t(k)] - a[std::size_t(k)]);
    }
    return distance(p, foot) <= tol;
}

/// How far a mesh node may lie from a border segment ab and still be on it: a few units of the
/// last place of single-precision coordinates of magnitude `scale` (nodes cut along a border
/// are rounded there).
double borderTolerance(const Point& a, const Point& b, double scale) { return 1e-6 * (distance(a, b) + scale); }

/// Even-odd inclusion of point p in the closed loops made of `edges` (projected on u, v).
bool insideLoops(const Point& p, const std::vector<std::pair<Point, Point>>& edges, int u, int v)
{
    bool inside = false;
    const double px = p[std::size_t(u)];
    const double py = p[std::size_t(v)];
    for (const auto& [a, b] : edges) {
        const double ay = a[std::size_t(v)];
        const double by = b[std::size_t(v)];
        if ((ay > py) != (by > py)) {
            const double x = a[std::size_t(u)] + (py - ay) / (by - ay) * (b[std::size_t(u)] - a[std::size_t(u)]);
            if (x > px) {
                inside = !inside;
            }
        }
    }
    return inside;
}

/// The edges that close loops: chains that end at a point of degree one (open lines inside a
/// zone) are removed.
std::vector<std::pair<int, int>> closedEdges(std::vector<std::pair<int, int>> edges)
{
    // Prune edges that end at a point of degree one (open lines inside a zone).
    for (bool pruned = true; pruned;) {
        pruned = false;
        std::map<int, int> degree;
        for (const auto& [a, b] : edges) {
            ++degree[a];
            ++degree[b];
        }
        std::vector<std::pair<int, int>> kept;
        for (const auto& e : edges) {
            if (degree[e.first] > 1 && degree[e.second] > 1) {
                kept.push_back(e);
            } else {
                pruned = true;
            }
        }
        edges.swap(kept);
    }
    return edges;
}

/// Area of the even-odd region bounded by closed edges.
double evenOddArea(const std::vector<std::pair<int, int>>& edges, const std::vector<Point>& points, int u, int v)
{
    // Chain the remaining edges into cycles.
    std::multimap<int, std::size_t> at;
    for (std::size_t i = 0; i < edges.size(); ++i) {
        at.emplace(edges[i].first, i);
        at.emplace(edges[i].second, i);
    }
    std::vector<bool> used(edges.size(), false);
    std::vector<std::vector<int>> loops;
    for (std::size_t start = 0; start < edges.size(); ++start) {
        if (used[start]) {
            continue;
        }
        std::vector<int> loop{edges[start].first};
        used[start] = true;
        int current = edges[start].second;
        const int first = edges[start].first;
        while (current != first) {
            loop.push_back(current);
            bool moved = false;
            auto range = at.equal_range(current);
            for (auto it = range.first; it != range.second; ++it) {
                if (!used[it->second]) {
                    used[it->second] = true;
                    const auto& e = edges[it->second];
                    current = e.first == current ? e.second : e.first;
                    moved = true;
                    break;
                }
            }
            if (!moved) {
                break;
            }
        }
        loops.push_back(loop);
    }
    // Signed area of each loop, then nesting depth by a point of the loop tested against the
    // others (the midpoint of its first edge).
    std::vector<double> areas;
    std::vector<std::vector<std::pair<Point, Point>>> loopEdges;
    for (const auto& loop : loops) {
        double area = 0.0;
        std::vector<std::pair<Point, Point>> segments;
        for (std::size_t i = 0; i < loop.size(); ++i) {
            const Point& a = points[std::size_t(loop[i] - 1)];
            const Point& b = points[std::size_t(loop[(i + 1) % loop.size()] - 1)];
            area += a[std::size_t(u)] * b[std::size_t(v)] - b[std::size_t(u)] * a[std::size_t(v)];
            segments.emplace_back(a, b);
        }
        areas.push_back(std::fabs(area) / 2.0);
        loopEdges.push_back(segments);
    }
    double total = 0.0;
    for (std::size_t i = 0; i < loops.size(); ++i) {
        const auto& [a, b] = loopEdges[i][0];
        Point mid{(a[0] + b[0]) / 2, (a[1] + b[1]) / 2, (a[2] + b[2]) / 2};
        int depth = 0;
        for (std::size_t j = 0; j < loops.size(); ++j) {
            if (j != i && insideLoops(mid, loopEdges[j], u, v)) {
                ++depth;
            }
        }
        total += depth % 2 == 0 ? areas[i] : -areas[i];
    }
    return total;
}

} // namespace

std::string readMesh(const std::string& path, MeshData& mesh)
{
    bool ok = false;
    const std::vector<std::string> lines = fileLines(path, ok);
    if (!ok) {
        return "cannot read " + path;
    }
    mesh = MeshData{};
    std::string error = readPoints(lines, mesh.dimension, mesh.points);
    if (!error.empty()) {
        return error;
    }
    std::vector<std::string> block;
    if (!blockLines(lines, "ILM", block)) {
        return "";
    }
    Tokens t(block);
    int count = 0;
    if (!t.integer(count)) {
        return "bad ILM header";
    }
    for (int e = 0; e < count; ++e) {
        MeshData::Element element;
        int nn = 0;
        if (!t.integer(nn) || nn < 0) {
            return "bad element " + std::to_string(e + 1);
        }
        element.nodes.resize(std::size_t(nn));
        for (int& n : element.nodes) {
            if (!t.integer(n)) {
                return "bad element " + std::to_string(e + 1);
            }
        }
        if (!t.integer(element.code) || !t.integer(element.reference)) {
            return "bad element " + std::to_string(e + 1);
        }
        mesh.elements.push_back(element);
    }
    return "";
}

std::string readGeometry(const std::string& path, GeometryData& geometry)
{
    bool ok = false;
    const std::vector<std::string> lines = fileLines(path, ok);
    if (!ok) {
        return "cannot read " + path;
    }
    geometry = GeometryData{};
    std::string error = readPoints(lines, geometry.dimension, geometry.points);
    if (!error.empty()) {
        return error;
    }
    std::vector<std::string> block;
    if (!blockLines(lines, "ILM", block) && !blockLines(lines, "ARE", block)) {
        return "";
    }
    Tokens t(block);
    int count = 0;
    if (!t.integer(count)) {
        return "bad border count";
    }
    for (int b = 0; b < count; ++b) {
        GeometryData::Border border;
        int n = 0;
        if (!t.integer(n)) {
            return "bad border " + std::to_string(b + 1);
        }
        if (n == -3) {
            int first = 0;
            int last = 0;
            int step = 0;
            if (!t.integer(first) || !t.integer(last) || !t.integer(step) || step == 0) {
                return "bad interval in border " + std::to_string(b + 1);
            }
            for (int p = first; step > 0 ? p <= last : p >= last; p += step) {
                border.points.push_back(p);
            }
        } else {
            border.points.resize(std::size_t(std::max(n, 0)));
            for (int& p : border.points) {
                if (!t.integer(p)) {
                    return "bad border " + std::to_string(b + 1);
                }
            }
        }
        int nz = 0;
        if (!t.integer(border.code) || !t.integer(nz)) {
            return "bad border " + std::to_string(b + 1);
        }
        border.zones.resize(std::size_t(std::max(nz, 0)));
        for (int& z : border.zones) {
            if (!t.integer(z)) {
                return "bad border " + std::to_string(b + 1);
            }
        }
        geometry.borders.push_back(border);
    }
    return "";
}

std::string checkMesh(const MeshData& mesh, const GeometryData& geometry, MeshReport* report)
{
    std::ostringstream why;
    const int npts = int(mesh.points.size());
    if (mesh.dimension != geometry.dimension) {
        return "mesh dimension differs from the geometry's";
    }
    // Every geometry point is a mesh point with the same number and coordinates.
    if (npts < int(geometry.points.size())) {
        return "the mesh holds fewer points than the geometry";
    }
    for (std::size_t i = 0; i < geometry.points.size(); ++i) {
        if (distance(mesh.points[i], geometry.points[i]) > 1e-5 * (1.0 + distance(geometry.points[i], Point{}))) {
            why << "geometry point " << i + 1 << " moved";
            return why.str();
        }
    }
    // Zone order from the geometry, and each zone's border edges.
    std::vector<int> zoneOrder;
    std::map<int, std::vector<std::pair<int, int>>> zoneEdges;
    for (const auto& border : geometry.borders) {
        for (int z : border.zones) {
            if (z != 0 && std::find(zoneOrder.begin(), zoneOrder.end(), z) == zoneOrder.end()) {
                zoneOrder.push_back(z);
            }
        }
        if (border.code != 100) {
            continue;
        }
        for (std::size_t i = 0; i + 1 < border.points.size(); ++i) {
            for (int z : border.zones) {
                if (z != 0) {
                    zoneEdges[z].emplace_back(border.points[i], border.points[i + 1]);
                }
            }
        }
    }
    // The plane a zone is drawn in (in 3D each zone in its own plane): drop the axis along which
    // the points spread least, the largest component of the normal of the first three
    // non-collinear points.
    auto projection = [&](const std::vector<Point>& p) {
        if (geometry.dimension != 3) {
            return std::pair<int, int>{0, 1};
        }
        Point normal{0, 0, 0};
        for (std::size_t i = 2; i < p.size() && normal == Point{0, 0, 0}; ++i) {
            const Point a{p[1][0] - p[0][0], p[1][1] - p[0][1], p[1][2] - p[0][2]};
            const Point b{p[i][0] - p[0][0], p[i][1] - p[0][1], p[i][2] - p[0][2]};
            const Point n{a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
            if (std::fabs(n[0]) + std::fabs(n[1]) + std::fabs(n[2]) > 1e-9) {
                normal = n;
            }
        }
        int drop = 0;
        for (int k = 1; k < 3; ++k) {
            if (std::fabs(normal[std::size_t(k)]) > std::fabs(normal[std::size_t(drop)])) {
                drop = k;
            }
        }
        return std::pair<int, int>{drop == 0 ? 1 : 0, drop == 2 ? 1 : 2};
    };
    const auto [u, v] = projection(geometry.points);
    auto zoneProjection = [&](int zone) {
        std::vector<Point> points;
        for (const auto& [a, b] : zoneEdges[zone]) {
            points.push_back(geometry.points[std::size_t(a - 1)]);
            points.push_back(geometry.points[std::size_t(b - 1)]);
        }
        return points.size() < 3 ? std::pair<int, int>{u, v} : projection(points);
    };
    // Elements: triangles, grouped by zone in the order of the zone codes.
    std::vector<int> groupOrder;
    for (std::size_t e = 0; e < mesh.elements.size(); ++e) {
        const auto& element = mesh.elements[e];
        if (element.nodes.size() != 3 || element.code != 3) {
            why << "element " << e + 1 << " is not a triangle";
            return why.str();
        }
        for (int n : element.nodes) {
            if (n < 1 || n > npts) {
                why << "element " << e + 1 << " names node " << n;
                return why.str();
            }
        }
        if (groupOrder.empty() || groupOrder.back() != element.reference) {
            if (std::find(groupOrder.begin(), groupOrder.end(), element.reference) != groupOrder.end()) {
                why << "the triangles of zone " << element.reference << " are not contiguous";
                return why.str();
            }
            groupOrder.push_back(element.reference);
        }
    }
    for (std::size_t g = 0; g < groupOrder.size(); ++g) {
        auto it = std::find(zoneOrder.begin(), zoneOrder.end(), groupOrder[g]);
        if (it == zoneOrder.end()) {
            why << "zone " << groupOrder[g] << " is not a zone of the geometry";
            return why.str();
        }
        if (g > 0) {
            auto previous = std::find(zoneOrder.begin(), zoneOrder.end(), groupOrder[g - 1]);
            if (previous > it) {
                return "zones are not in the order of the geometry";
            }
        }
    }
    if (report != nullptr) {
        *report = MeshReport{};
        report->triangles = int(mesh.elements.size());
        report->zoneOrder = groupOrder;
    }
    double scale = 0.0;
    for (const Point& p : geometry.points) {
        scale = std::max(scale, std::fabs(p[std::size_t(u)]) + std::fabs(p[std::size_t(v)]));
    }
    scale = std::max(scale, 1e-30);
    for (int zone : zoneOrder) {
        const auto [zu, zv] = zoneProjection(zone);
        const double expected = evenOddArea(closedEdges(zoneEdges[zone]), geometry.points, zu, zv);
        if (expected > 0.0 && std::find(groupOrder.begin(), groupOrder.end(), zone) == groupOrder.end()) {
            why << "zone " << zone << " has no triangle";
            return why.str();
        }
    }
    // Per zone: orientation, edge use, boundary edges on borders, inclusion, area.
    for (int zone : groupOrder) {
        const auto [zu, zv] = zoneProjection(zone);
        std::map<std::pair<int, int>, int> directed;
        double area = 0.0;
        int sign = 0;
        std::vector<std::pair<Point, Point>> loopSegments;
        for (const auto& [a, b] : closedEdges(zoneEdges[zone])) {
            loopSegments.emplace_back(geometry.points[std::size_t(a - 1)], geometry.points[std::size_t(b - 1)]);
        }
        std::vector<std::pair<Point, Point>> borderSegments;
        for (const auto& [a, b] : zoneEdges[zone]) {
            borderSegments.emplace_back(geometry.points[std::size_t(a - 1)], geometry.points[std::size_t(b - 1)]);
        }
        for (std::size_t e = 0; e < mesh.elements.size(); ++e) {
            const auto& element = mesh.elements[e];
            if (element.reference != zone) {
                continue;
            }
            const Point& p1 = mesh.points[std::size_t(element.nodes[0] - 1)];
            const Point& p2 = mesh.points[std::size_t(element.nodes[1] - 1)];
            const Point& p3 = mesh.points[std::size_t(element.nodes[2] - 1)];
            const double twice = cross2(p1, p2, p3, zu, zv);
            // flat: the sine of its angles within 1e-12, whatever its size (its coordinates are
            // single-precision values, whose differences and products double holds exactly)
            double longest = 0.0;
            for (const auto& [a, b] : {std::pair{&p1, &p2}, std::pair{&p2, &p3}, std::pair{&p3, &p1}}) {
                const double du = (*b)[std::size_t(u)] - (*a)[std::size_t(u)];
                const double dv = (*b)[std::size_t(v)] - (*a)[std::size_t(v)];
                longest = std::max(longest, du * du + dv * dv);
            }
            if (std::fabs(twice) <= 1e-12 * longest) {
                why << "triangle " << e + 1 << " is flat";
                return why.str();
            }
            const int s = twice > 0 ? 1 : -1;
            if (geometry.dimension == 2 && s < 0) {
                why << "triangle " << e + 1 << " is clockwise";
                return why.str();
            }
            if (sign == 0) {
                sign = s;
            } else if (s != sign) {
                why << "triangle " << e + 1 << " is oriented unlike the others of its zone";
                return why.str();
            }
            area += std::fabs(twice) / 2.0;
            for (int k = 0; k < 3; ++k) {
                const std::pair<int, int> edge{element.nodes[std::size_t(k)], element.nodes[std::size_t((k + 1) % 3)]};
                if (++directed[edge] > 1) {
                    why << "edge " << edge.first << "-" << edge.second << " is used twice in one direction in zone "
                        << zone;
                    return why.str();
                }
            }
            const Point centre{(p1[0] + p2[0] + p3[0]) / 3, (p1[1] + p2[1] + p3[1]) / 3, (p1[2] + p2[2] + p3[2]) / 3};
            if (!insideLoops(centre, loopSegments, zu, zv)) {
                why << "triangle " << e + 1 << " lies outside zone " << zone;
                return why.str();
            }
        }
        // Boundary edges of the zone (used once) must lie on a border of the zone.
        std::set<std::pair<int, int>> undirected;
        for (const auto& [edge, count] : directed) {
            (void)count;
            undirected.insert({std::min(edge.first, edge.second), std::max(edge.first, edge.second)});
            if (directed.count({edge.second, edge.first}) != 0) {
                continue;
            }
            const Point& a = mesh.points[std::size_t(edge.first - 1)];
            const Point& b = mesh.points[std::size_t(edge.second - 1)];
            bool found = false;
            for (const auto& [ga, gb] : borderSegments) {
                const double tol = borderTolerance(ga, gb, scale);
                if (onSegment(a, ga, gb, tol) && onSegment(b, ga, gb, tol)) {
                    found = true;
                    break;
                }
            }
            if (!found) {
                why << "boundary edge " << edge.first << "-" << edge.second << " of zone " << zone
                    << " lies on no border of the zone";
                return why.str();
            }
        }
        // Every border edge of the zone, open lines included, is an edge chain of the mesh: a path
        // from its first end to its last along mesh edges lying on it, each going forward. (Nodes
        // inside a very thin spike may lie within rounding of a border without being on it.)
        for (const auto& [ga, gb] : borderSegments) {
            const double tol = borderTolerance(ga, gb, scale);
            const double length = distance(ga, gb);
            if (length == 0.0) {
                continue;
            }
            auto along = [&](const Point& p) {
                double t = 0.0;
                for (int k = 0; k < 3; ++k) {
                    t += (p[std::size_t(k)] - ga[std::size_t(k)]) * (gb[std::size_t(k)] - ga[std::size_t(k)]);
                }
                return t / length;
            };
            std::vector<std::pair<double, int>> order;
            std::map<int, std::vector<int>> forward;
            for (const auto& [a, b] : undirected) {
                const Point& pa = mesh.points[std::size_t(a - 1)];
                const Point& pb = mesh.points[std::size_t(b - 1)];
                if (onSegment(pa, ga, gb, tol) && onSegment(pb, ga, gb, tol)) {
                    const bool aFirst = along(pa) < along(pb);
                    forward[aFirst ? a : b].push_back(aFirst ? b : a);
                    order.push_back({along(pa), a});
                    order.push_back({along(pb), b});
                }
            }
            std::sort(order.begin(), order.end());
            std::set<int> reached;
            bool chained = false;
            for (const auto& [t, node] : order) {
                (void)t;
                const Point& p = mesh.points[std::size_t(node - 1)];
                if (reached.count(node) == 0 && distance(p, ga) > tol) {
                    continue;
                }
                if (distance(p, gb) <= tol) {
                    chained = true;
                    break;
                }
                reached.insert(node);
                for (const int next : forward[node]) {
                    reached.insert(next);
                }
            }
            if (!chained) {
                why << "a border edge of zone " << zone << " (length " << length << ") is not an edge chain of the mesh";
                return why.str();
            }
        }
        // the area, within 1e-4 of it and the band its border nodes may leave along the borders
        // (within the border tolerance of them, the rounding of their coordinates)
        const double expected = evenOddArea(closedEdges(zoneEdges[zone]), geometry.points, zu, zv);
        double band = 0.0;
        for (const auto& [ga, gb] : borderSegments) {
            band += distance(ga, gb) * borderTolerance(ga, gb, scale);
        }
        if (std::fabs(area - expected) > 1e-4 * std::max(expected, 1e-30) + band) {
            why << "zone " << zone << " covers " << area << " instead of " << expected;
            return why.str();
        }
        if (report != nullptr) {
            report->zoneAreas.push_back(area);
            report->expectedAreas.push_back(expected);
        }
    }
    return "";
}

std::string checkMeshFiles(const std::string& meshPath, const std::string& geometryPath, MeshReport* report)
{
    MeshData mesh;
    std::string error = readMesh(meshPath, mesh);
    if (!error.empty()) {
        return "mesh file: " + error;
    }
    GeometryData geometry;
    error = readGeometry(geometryPath, geometry);
    if (!error.empty()) {
        return "geometry file: " + error;
    }
    return checkMesh(mesh, geometry, report);
}

} // namespace tesmo::testing
