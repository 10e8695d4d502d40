// The stats subcommand: counts of a mesh, the smallest angle of its triangles, and how its
// edges compare with the wanted sizes.
#include "mesh_input.hpp"
#include "subcommands.hpp"
#include "tool_common.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>

namespace tesmo::tools {

namespace {

const char* kHelp =
    "Usage: tesmo-tools stats MESH [--sizes NODALFILE] [--json]\n"
    "\n"
    "Prints the node, triangle and zone counts of the mesh file MESH; the smallest, mean and\n"
    "largest value of each triangle's smallest angle (degrees); the share of triangles whose\n"
    "smallest angle is below 20 and below 30 degrees; and, with --sizes, the ratio of each\n"
    "edge's length to the wanted size there (the mean of the sizes at its two nodes): its\n"
    "median and its 5th and 95th percentiles.\n"
    "\n"
    "  --sizes NODALFILE  the nodal-values file of the mesh (its first value per node)\n"
    "  --json             print one JSON object instead of the table\n"
    "  -h, --help         this help\n";

struct Figures {
    double angleMin = 0.0, angleMean = 0.0, angleMax = 0.0;
    double below20 = 0.0, below30 = 0.0; ///< shares, from 0 to 1
    bool ratios = false;
    double ratio5 = 0.0, ratio50 = 0.0, ratio95 = 0.0;
};

/// Length of the side from node p to node q, in the space of the mesh.
double length(const ToolMesh& mesh, int32_t p, int32_t q)
{
    double sum = 0.0;
    for (int32_t j = 0; j < mesh.dimension; ++j) {
        const double d = mesh.coordinate(q, j) - mesh.coordinate(p, j);
        sum += d * d;
    }
    return std::sqrt(sum);
}

/// The angle at corner a of the triangle (a, b, c), in degrees; 0 for a side of no length.
double angleAt(const ToolMesh& mesh, int32_t a, int32_t b, int32_t c)
{
    double dot = 0.0, uu = 0.0, vv = 0.0;
    for (int32_t j = 0; j < mesh.dimension; ++j) {
        const double u = mesh.coordinate(b, j) - mesh.coordinate(a, j);
        const double v = mesh.coordinate(c, j) - mesh.coordinate(a, j);
        dot += u * v;
        uu += u * u;
        vv += v * v;
    }
    const double cross = std::sqrt(std::max(0.0, uu * vv - dot * dot));
    if (uu == 0.0 || vv == 0.0) {
        return 0.0;
    }
    return std::atan2(cross, dot) * 180.0 / std::numbers::pi;
}

/// The p-th percentile of sorted values, interpolated between the two nearest ranks.
double percentile(const std::vector<double>& sorted, double p)
{
    const double at = p / 100.0 * double(sorted.size() - 1);
    const std::size_t below = std::size_t(at);
    const std::size_t above = std::min(below + 1, sorted.size() - 1);
    return sorted[below] + (sorted[above] - sorted[below]) * (at - double(below));
}

Figures measure(const ToolMesh& mesh, const std::vector<float>& sizes)
{
    Figures f;
    Progress progress("measuring " + mesh.name);
    const int32_t count = mesh.triangleCount();
    f.angleMin = 180.0;
    int32_t under20 = 0, under30 = 0;
    for (int32_t t = 0; t < count; ++t) {
        const int32_t a = mesh.corner(t, 0), b = mesh.corner(t, 1), c = mesh.corner(t, 2);
        const double smallest = std::min({angleAt(mesh, a, b, c), angleAt(mesh, b, c, a), angleAt(mesh, c, a, b)});
        f.angleMin = std::min(f.angleMin, smallest);
        f.angleMax = std::max(f.angleMax, smallest);
        f.angleMean += smallest;
        under20 += smallest < 20.0 ? 1 : 0;
        under30 += smallest < 30.0 ? 1 : 0;
        progress.update(t, count);
    }
    f.angleMean /= double(count);
    f.below20 = double(under20) / double(count);
    f.below30 = double(under30) / double(count);
    if (!sizes.empty()) {
        std::vector<double> ratios;
        for (const MeshEdge& e : meshEdges(mesh)) {
            const double wanted = (double(sizes[std::size_t(e.a - 1)]) + double(sizes[std::size_t(e.b - 1)])) / 2.0;
            ratios.push_back(length(mesh, e.a, e.b) / wanted);
        }
        std::sort(ratios.begin(), ratios.end());
        f.ratios = true;
        f.ratio5 = percentile(ratios, 5.0);
        f.ratio50 = percentile(ratios, 50.0);
        f.ratio95 = percentile(ratios, 95.0);
    }
    progress.finish();
    return f;
}

/// A real for the reports: up to six significant digits.
std::string real(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

/// A text as a JSON string.
std::string jsonString(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", unsigned(c));
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string jsonReport(const ToolMesh& mesh, const Figures& f)
{
    std::string out = "{\"mesh\": " + jsonString(mesh.name) + ", \"nodes\": " + std::to_string(mesh.nodes) +
                      ", \"triangles\": " + std::to_string(mesh.triangleCount()) +
                      ", \"zones\": " + std::to_string(mesh.zoneCount()) + ",\n";
    out += " \"smallest_angle\": {\"min\": " + real(f.angleMin) + ", \"mean\": " + real(f.angleMean) +
           ", \"max\": " + real(f.angleMax) + "},\n";
    out += " \"share_below_20\": " + real(f.below20) + ", \"share_below_30\": " + real(f.below30);
    if (f.ratios) {
        out += ",\n \"edge_to_size\": {\"p5\": " + real(f.ratio5) + ", \"median\": " + real(f.ratio50) +
               ", \"p95\": " + real(f.ratio95) + "}";
    }
    return out + "}\n";
}

std::string tableReport(const ToolMesh& mesh, const Figures& f)
{
    auto row = [](const std::string& name, const std::string& value) {
        std::string line = name;
        line.resize(std::max<std::size_t>(line.size() + 1, 26), ' ');
        return line + value + '\n';
    };
    std::string out = row("mesh", mesh.name);
    out += row("nodes", std::to_string(mesh.nodes));
    out += row("triangles", std::to_string(mesh.triangleCount()));
    out += row("zones", std::to_string(mesh.zoneCount()));
    out += row("smallest angle (degrees)", "min " + real(f.angleMin) + "  mean " + real(f.angleMean) + "  max " +
                                               real(f.angleMax));
    out += row("below 20 degrees", real(100.0 * f.below20) + " %");
    out += row("below 30 degrees", real(100.0 * f.below30) + " %");
    if (f.ratios) {
        out += row("edge length / size", "median " + real(f.ratio50) + "  5% " + real(f.ratio5) + "  95% " +
                                             real(f.ratio95));
    }
    return out;
}

} // namespace

int runStats(const Words& words)
{
    CommandLine line;
    if (std::string why = parseCommandLine(words, {.sizes = true, .json = true}, line); !why.empty()) {
        return usageError("stats", why);
    }
    if (line.help) {
        std::fputs(kHelp, stdout);
        return kExitOk;
    }
    if (line.positional.size() != 1) {
        return usageError("stats",
                          line.positional.empty() ? "a mesh file is needed" : "only one mesh file is measured");
    }
    ToolMesh mesh;
    if (std::string why = loadMesh(line.positional[0], mesh); !why.empty()) {
        return fail("stats", kExitFailure, why);
    }
    std::vector<float> sizes;
    if (!line.sizes.empty()) {
        if (std::string why = loadSizes(line.sizes, mesh, true, sizes); !why.empty()) {
            return fail("stats", kExitFailure, why);
        }
    }
    const Figures figures = measure(mesh, sizes);
    const std::string text = line.json ? jsonReport(mesh, figures) : tableReport(mesh, figures);
    std::fputs(text.c_str(), stdout);
    return kExitOk;
}

} // namespace tesmo::tools
