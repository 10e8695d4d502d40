// The svg subcommand: a picture of a mesh that stays small for large meshes.
//
// Nothing is written per triangle except when the picture is coloured by sizes. Each zone is
// one filled path made of the loops of its boundary edges (the nonzero fill rule fills the
// zone and leaves its holes empty, whatever way its triangles turn); the inner edges are one
// thin path and the border edges one thick path, both drawn as chains of relative moves so
// that each edge costs a few characters. Coordinates are kept in hundredths of a pixel.
#include "mesh_input.hpp"
#include "mesh_outputs.hpp"
#include "subcommands.hpp"
#include "tool_common.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace tesmo::tools {

namespace {

inline constexpr double kDrawingSize = 1000.0; ///< pixels of the longer side of the mesh's box
inline constexpr double kMargin = 20.0;        ///< pixels around the mesh
inline constexpr double kLegendWidth = 200.0;  ///< pixels of the legend panel on the right
inline constexpr int kSizeBins = 16;           ///< colours of the size scale
inline constexpr int kLegendZones = 24;        ///< zones listed before "... more"

/// Fill colours of the zones, taken in turn.
constexpr const char* kZoneColours[] = {"#8dd3c7", "#fdb462", "#bebada", "#fb8072", "#80b1d3", "#b3de69",
                                        "#fccde5", "#ffffb3", "#bc80bd", "#ccebc5", "#ffed6f", "#d9d9d9"};
/// Anchors of the size scale, from the smallest size to the largest.
constexpr unsigned kSizeAnchors[] = {0x440154, 0x46327e, 0x365c8d, 0x277f8e, 0x1fa187,
                                     0x4ac16d, 0x9fda3a, 0xfde725};

const char* kHelp =
    "Usage: tesmo-tools svg MESH [--sizes NODALFILE] [-o OUT.svg]\n"
    "\n"
    "Draws the mesh file MESH as an SVG picture: triangles outlined, zones filled in\n"
    "distinct colours with a legend, border edges (between zones and on the outside)\n"
    "drawn thicker. The picture is scaled to about 1000 pixels with its aspect kept; a\n"
    "mesh in space is drawn in the plane of its nodes.\n"
    "\n"
    "  --sizes NODALFILE  colour the triangles by the mean of the sizes at their nodes\n"
    "                     (a nodal-values file of the mesh), with a colour bar\n"
    "  -o OUT.svg         the picture (default: MESH with the extension .svg)\n"
    "  -h, --help         this help\n";

/// A path's "d" text built from points in hundredths of a pixel, with relative moves.
class PathText {
public:
    void moveTo(int64_t x, int64_t y)
    {
        text_ += 'M';
        number(x, false);
        number(y, true);
        x_ = x;
        y_ = y;
        lining_ = false;
    }
    void lineTo(int64_t x, int64_t y)
    {
        if (!lining_) {
            text_ += 'l';
        }
        number(x - x_, lining_);
        number(y - y_, true);
        x_ = x;
        y_ = y;
        lining_ = true;
    }
    void close()
    {
        text_ += 'z';
        lining_ = false;
    }
    const std::string& text() const { return text_; }
    bool empty() const { return text_.empty(); }

private:
    /// A value in hundredths written as pixels with at most two decimals ("1.5", "-.25", "3").
    void number(int64_t value, bool separated)
    {
        if (separated && value >= 0) {
            text_ += ' ';
        }
        if (value < 0) {
            text_ += '-';
            value = -value;
        }
        const int64_t whole = value / 100;
        const int64_t cents = value % 100;
        if (whole != 0 || cents == 0) {
            text_ += std::to_string(whole);
        }
        if (cents != 0) {
            text_ += '.';
            text_ += char('0' + cents / 10);
            if (cents % 10 != 0) {
                text_ += char('0' + cents % 10);
            }
        }
    }
    std::string text_;
    int64_t x_ = 0;
    int64_t y_ = 0;
    bool lining_ = false;
};

/// The nodes in picture coordinates (hundredths of a pixel) and the picture's size.
struct Picture {
    std::vector<int64_t> x, y; ///< per node, node 1 at index 0
    double width = 0.0;        ///< pixels of the mesh's box
    double height = 0.0;
};

/// Scales the plane coordinates into the drawing, y upwards; the box is that of the nodes of
/// the triangles (a node of no triangle is not drawn).
std::string placeNodes(const ToolMesh& mesh, const std::vector<double>& xy, Picture& picture)
{
    const std::size_t first = std::size_t(mesh.triangles[0] - 1) * 2;
    double xmin = xy[first], xmax = xy[first], ymin = xy[first + 1], ymax = xy[first + 1];
    for (int32_t node : mesh.triangles) {
        const int32_t n = node - 1;
        xmin = std::min(xmin, xy[std::size_t(n) * 2]);
        xmax = std::max(xmax, xy[std::size_t(n) * 2]);
        ymin = std::min(ymin, xy[std::size_t(n) * 2 + 1]);
        ymax = std::max(ymax, xy[std::size_t(n) * 2 + 1]);
    }
    const double extent = std::max(xmax - xmin, ymax - ymin);
    if (!(extent > 0.0) || !std::isfinite(extent)) {
        return "the nodes of " + mesh.name + " span no area to draw";
    }
    const double scale = kDrawingSize / extent;
    picture.width = (xmax - xmin) * scale;
    picture.height = (ymax - ymin) * scale;
    picture.x.resize(std::size_t(mesh.nodes));
    picture.y.resize(std::size_t(mesh.nodes));
    // A node of no triangle may lie far off: its place is clamped, it is never drawn.
    auto hundredths = [](double pixels) { return std::llround(std::clamp(pixels * 100.0, -1.0e15, 1.0e15)); };
    for (int32_t n = 0; n < mesh.nodes; ++n) {
        picture.x[std::size_t(n)] = hundredths((xy[std::size_t(n) * 2] - xmin) * scale + kMargin);
        picture.y[std::size_t(n)] = hundredths((ymax - xy[std::size_t(n) * 2 + 1]) * scale + kMargin);
    }
    return "";
}

/// Draws a set of undirected edges as chains: from each node, edges are followed while the
/// node reached has an edge not yet drawn.
std::string chainedEdges(const Picture& picture, int32_t nodes, const std::vector<std::pair<int32_t, int32_t>>& edges)
{
    std::vector<int32_t> start(std::size_t(nodes) + 2, 0);
    for (const auto& [a, b] : edges) {
        ++start[std::size_t(a)];
        ++start[std::size_t(b)];
    }
    for (std::size_t n = 1; n < start.size(); ++n) {
        start[n] += start[n - 1];
    }
    std::vector<int32_t> incident(std::size_t(start.back()));
    for (int32_t e = int32_t(edges.size()) - 1; e >= 0; --e) {
        incident[std::size_t(--start[std::size_t(edges[std::size_t(e)].first)])] = e;
        incident[std::size_t(--start[std::size_t(edges[std::size_t(e)].second)])] = e;
    }
    std::vector<int32_t> next(start.begin(), start.end() - 1); // first incident edge not yet looked at
    std::vector<char> drawn(edges.size(), 0);
    auto unusedAt = [&](int32_t n) {
        while (next[std::size_t(n)] < start[std::size_t(n) + 1]) {
            const int32_t e = incident[std::size_t(next[std::size_t(n)])];
            if (!drawn[std::size_t(e)]) {
                return e;
            }
            ++next[std::size_t(n)];
        }
        return int32_t(-1);
    };
    PathText path;
    for (int32_t n = 1; n <= nodes; ++n) {
        for (int32_t e = unusedAt(n); e >= 0; e = unusedAt(n)) {
            path.moveTo(picture.x[std::size_t(n - 1)], picture.y[std::size_t(n - 1)]);
            int32_t at = n;
            while (e >= 0) {
                drawn[std::size_t(e)] = 1;
                at = edges[std::size_t(e)].first == at ? edges[std::size_t(e)].second : edges[std::size_t(e)].first;
                path.lineTo(picture.x[std::size_t(at - 1)], picture.y[std::size_t(at - 1)]);
                e = unusedAt(at);
            }
        }
    }
    return path.text();
}

/// Appends triangle t as a closed subpath.
void triangleTo(PathText& path, const ToolMesh& mesh, const Picture& picture, int32_t t)
{
    const int32_t a = mesh.corner(t, 0) - 1, b = mesh.corner(t, 1) - 1, c = mesh.corner(t, 2) - 1;
    path.moveTo(picture.x[std::size_t(a)], picture.y[std::size_t(a)]);
    path.lineTo(picture.x[std::size_t(b)], picture.y[std::size_t(b)]);
    path.lineTo(picture.x[std::size_t(c)], picture.y[std::size_t(c)]);
    path.close();
}

/// True when triangle t runs from node p to node q along one of its sides.
bool runsFrom(const ToolMesh& mesh, int32_t t, int32_t p, int32_t q)
{
    for (int32_t c = 0; c < 3; ++c) {
        if (mesh.corner(t, c) == p && mesh.corner(t, (c + 1) % 3) == q) {
            return true;
        }
    }
    return false;
}

/// The fill of zone group g: the loops of its boundary edges, each edge taken in the direction
/// its triangle gives it. A zone whose triangles do not turn the same way is filled triangle by
/// triangle instead.
std::string zoneFill(const ToolMesh& mesh, const Picture& picture, const std::vector<MeshEdge>& edges, int32_t g)
{
    std::vector<std::pair<int32_t, int32_t>> boundary; // directed (from, to)
    bool consistent = true;
    for (const MeshEdge& e : edges) {
        const bool inFirst = mesh.groupOf[std::size_t(e.first)] == g;
        const bool inSecond = e.second >= 0 && mesh.groupOf[std::size_t(e.second)] == g;
        if (inFirst && inSecond) {
            consistent = consistent && runsFrom(mesh, e.first, e.a, e.b) != runsFrom(mesh, e.second, e.a, e.b);
        } else if (inFirst || inSecond) {
            const int32_t t = inFirst ? e.first : e.second;
            boundary.push_back(runsFrom(mesh, t, e.a, e.b) ? std::pair(e.a, e.b) : std::pair(e.b, e.a));
        }
    }
    PathText path;
    if (!consistent) {
        const int32_t first = g == 0 ? 0 : mesh.zoneEnds[std::size_t(g) - 1];
        for (int32_t t = first; t < mesh.zoneEnds[std::size_t(g)]; ++t) {
            triangleTo(path, mesh, picture, t);
        }
        return path.text();
    }
    std::sort(boundary.begin(), boundary.end());
    std::vector<char> used(boundary.size(), 0);
    auto leaving = [&](int32_t node) {
        auto it = std::lower_bound(boundary.begin(), boundary.end(), std::pair(node, int32_t(0)));
        for (; it != boundary.end() && it->first == node; ++it) {
            if (!used[std::size_t(it - boundary.begin())]) {
                return int32_t(it - boundary.begin());
            }
        }
        return int32_t(-1);
    };
    for (std::size_t i = 0; i < boundary.size(); ++i) {
        if (used[i]) {
            continue;
        }
        const int32_t from = boundary[i].first;
        path.moveTo(picture.x[std::size_t(from - 1)], picture.y[std::size_t(from - 1)]);
        int32_t at = from;
        for (int32_t e = int32_t(i); e >= 0; e = leaving(at)) {
            used[std::size_t(e)] = 1;
            at = boundary[std::size_t(e)].second;
            if (at == from) {
                break;
            }
            path.lineTo(picture.x[std::size_t(at - 1)], picture.y[std::size_t(at - 1)]);
        }
        path.close();
    }
    return path.text();
}

/// The colour of position f (0 smallest, 1 largest) of the size scale, as "#rrggbb".
std::string scaleColour(double f)
{
    const int last = int(std::size(kSizeAnchors)) - 1;
    const double at = std::clamp(f, 0.0, 1.0) * last;
    const int i = std::min(int(at), last - 1);
    const double w = at - i;
    char text[8];
    unsigned channels[3];
    for (int c = 0; c < 3; ++c) {
        const int shift = 16 - 8 * c;
        const double lo = double((kSizeAnchors[i] >> shift) & 0xff);
        const double hi = double((kSizeAnchors[i + 1] >> shift) & 0xff);
        channels[c] = unsigned(std::lround(lo + (hi - lo) * w));
    }
    std::snprintf(text, sizeof text, "#%02x%02x%02x", channels[0], channels[1], channels[2]);
    return text;
}

/// Text safe inside an XML element or attribute.
std::string escaped(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string pixels(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

/// A real for a legend label.
std::string label(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.4g", value);
    return text;
}

/// The triangles coloured by the mean size at their nodes, one path per colour of the scale
/// (sizes on a logarithmic scale); gives the scale's ends.
std::string sizeFills(const ToolMesh& mesh, const Picture& picture, const std::vector<float>& sizes, double& smallest,
                      double& largest, Progress& progress)
{
    const int32_t count = mesh.triangleCount();
    std::vector<double> logs(mesh.triangles.size() / 3);
    for (int32_t t = 0; t < count; ++t) {
        const double mean = (double(sizes[std::size_t(mesh.corner(t, 0) - 1)]) +
                             double(sizes[std::size_t(mesh.corner(t, 1) - 1)]) +
                             double(sizes[std::size_t(mesh.corner(t, 2) - 1)])) / 3.0;
        logs[std::size_t(t)] = std::log(mean);
    }
    const auto [lo, hi] = std::minmax_element(logs.begin(), logs.end());
    smallest = std::exp(*lo);
    largest = std::exp(*hi);
    const double span = *hi - *lo;
    std::vector<PathText> bins(kSizeBins);
    for (int32_t t = 0; t < count; ++t) {
        const int bin = span > 0.0 ? std::min(kSizeBins - 1, int((logs[std::size_t(t)] - *lo) / span * kSizeBins)) : 0;
        triangleTo(bins[std::size_t(bin)], mesh, picture, t);
        progress.update(t, count);
    }
    std::string out = "<g id=\"sizes\" stroke=\"none\">\n";
    for (int bin = 0; bin < kSizeBins; ++bin) {
        if (!bins[std::size_t(bin)].empty()) {
            out += "<path fill=\"" + scaleColour((bin + 0.5) / kSizeBins) + "\" d=\"" + bins[std::size_t(bin)].text() +
                   "\"/>\n";
        }
    }
    return out + "</g>\n";
}

/// The legend panel: the mesh's name and counts, then the zones or the size scale.
std::string legend(const ToolMesh& mesh, double left, bool bySize, double smallest, double largest, double& bottom)
{
    std::string out = "<g id=\"legend\" font-family=\"sans-serif\" font-size=\"14\" fill=\"#222\">\n";
    double y = kMargin + 14.0;
    auto line = [&](const std::string& text, double x) {
        out += "<text x=\"" + pixels(x) + "\" y=\"" + pixels(y) + "\">" + escaped(text) + "</text>\n";
        y += 20.0;
    };
    line(baseName(mesh.name), left);
    line(std::to_string(mesh.nodes) + " nodes", left);
    line(std::to_string(mesh.triangleCount()) + " triangles", left);
    y += 10.0;
    if (!bySize) {
        const int32_t shown = std::min(mesh.zoneCount(), kLegendZones);
        for (int32_t g = 0; g < shown; ++g) {
            out += "<rect x=\"" + pixels(left) + "\" y=\"" + pixels(y - 12.0) +
                   "\" width=\"16\" height=\"14\" fill=\"" +
                   kZoneColours[std::size_t(g) % std::size(kZoneColours)] + "\" stroke=\"#222\"/>\n";
            line("zone " + std::to_string(mesh.zoneCodes[std::size_t(g)]), left + 24.0);
        }
        if (shown < mesh.zoneCount()) {
            line("... " + std::to_string(mesh.zoneCount() - shown) + " more zones", left);
        }
    } else {
        line("size", left);
        const double barTop = y - 12.0;
        const double step = 12.0;
        for (int bin = kSizeBins - 1; bin >= 0; --bin) {
            const double top = barTop + (kSizeBins - 1 - bin) * step;
            out += "<rect x=\"" + pixels(left) + "\" y=\"" + pixels(top) + "\" width=\"24\" height=\"" + pixels(step) +
                   "\" fill=\"" + scaleColour((bin + 0.5) / kSizeBins) + "\"/>\n";
        }
        const double barBottom = barTop + kSizeBins * step;
        const double middle = std::sqrt(smallest * largest);
        out += "<text x=\"" + pixels(left + 32.0) + "\" y=\"" + pixels(barTop + 12.0) + "\">" + label(largest) +
               "</text>\n";
        out += "<text x=\"" + pixels(left + 32.0) + "\" y=\"" + pixels((barTop + barBottom) / 2.0 + 5.0) + "\">" +
               label(middle) + "</text>\n";
        out += "<text x=\"" + pixels(left + 32.0) + "\" y=\"" + pixels(barBottom) + "\">" + label(smallest) +
               "</text>\n";
        y = barBottom + 20.0;
    }
    bottom = y;
    return out + "</g>\n";
}

/// The whole picture as SVG text.
std::string picture(const ToolMesh& mesh, const Picture& pic, const std::vector<float>* sizes)
{
    Progress progress("drawing " + mesh.name);
    const std::vector<MeshEdge> edges = meshEdges(mesh);
    std::vector<std::pair<int32_t, int32_t>> inner, border;
    double length = 0.0;
    for (const MeshEdge& e : edges) {
        (isBorderEdge(mesh, e) ? border : inner).emplace_back(e.a, e.b);
        length += std::hypot(double(pic.x[std::size_t(e.a - 1)] - pic.x[std::size_t(e.b - 1)]),
                             double(pic.y[std::size_t(e.a - 1)] - pic.y[std::size_t(e.b - 1)])) / 100.0;
    }
    const double edgePixels = length / double(std::max<std::size_t>(edges.size(), 1));
    const double thin = std::clamp(0.08 * edgePixels, 0.05, 0.6);
    const double thick = std::clamp(3.0 * thin, 0.8, 2.0);

    std::string body;
    double smallest = 0.0, largest = 0.0;
    if (sizes != nullptr) {
        body += sizeFills(mesh, pic, *sizes, smallest, largest, progress);
    } else {
        body += "<g id=\"zones\" stroke=\"none\" fill-rule=\"nonzero\">\n";
        for (int32_t g = 0; g < mesh.zoneCount(); ++g) {
            body += "<path class=\"zone\" data-zone=\"" + std::to_string(mesh.zoneCodes[std::size_t(g)]) +
                    "\" fill=\"" + kZoneColours[std::size_t(g) % std::size(kZoneColours)] + "\" d=\"" +
                    zoneFill(mesh, pic, edges, g) + "\"/>\n";
            progress.update(mesh.zoneEnds[std::size_t(g)], mesh.triangleCount());
        }
        body += "</g>\n";
    }
    body += "<path id=\"edges\" fill=\"none\" stroke=\"#333\" stroke-width=\"" + pixels(thin) +
            "\" stroke-linejoin=\"round\" stroke-linecap=\"round\" d=\"" +
            chainedEdges(pic, mesh.nodes, inner) + "\"/>\n";
    body += "<path id=\"borders\" fill=\"none\" stroke=\"#000\" stroke-width=\"" + pixels(thick) +
            "\" stroke-linejoin=\"round\" stroke-linecap=\"round\" d=\"" +
            chainedEdges(pic, mesh.nodes, border) + "\"/>\n";

    const double left = pic.width + 2.0 * kMargin;
    double legendBottom = 0.0;
    const std::string key = legend(mesh, left, sizes != nullptr, smallest, largest, legendBottom);
    const double width = left + kLegendWidth;
    const double height = std::max(pic.height + 2.0 * kMargin, legendBottom + kMargin);
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + pixels(width) + "\" height=\"" + pixels(height) +
           "\" viewBox=\"0 0 " + pixels(width) + " " + pixels(height) + "\">\n";
    out += "<title>" + escaped(mesh.name) + ": " + std::to_string(mesh.nodes) + " nodes, " +
           std::to_string(mesh.triangleCount()) + " triangles, " + std::to_string(mesh.zoneCount()) +
           " zones</title>\n";
    out += "<rect width=\"100%\" height=\"100%\" fill=\"#fff\"/>\n";
    out += body + key + "</svg>\n";
    progress.finish();
    return out;
}

/// MESH with its last extension replaced by ".svg".
std::string defaultOutput(const std::string& mesh)
{
    const std::size_t slash = mesh.find_last_of('/');
    const std::size_t dot = mesh.find_last_of('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    return (hasExtension ? mesh.substr(0, dot) : mesh) + ".svg";
}

} // namespace

std::string svgText(const ToolMesh& mesh, const std::vector<float>* sizes, std::string& text)
{
    std::vector<double> xy;
    Picture pic;
    if (std::string why = planeCoordinates(mesh, xy); !why.empty()) {
        return why;
    }
    if (std::string why = placeNodes(mesh, xy, pic); !why.empty()) {
        return why;
    }
    text = picture(mesh, pic, sizes);
    return "";
}

int runSvg(const Words& words)
{
    CommandLine line;
    if (std::string why = parseCommandLine(words, {.output = true, .sizes = true}, line); !why.empty()) {
        return usageError("svg", why);
    }
    if (line.help) {
        std::fputs(kHelp, stdout);
        return kExitOk;
    }
    if (line.positional.size() != 1) {
        return usageError("svg", line.positional.empty() ? "a mesh file is needed" : "only one mesh file is drawn");
    }
    ToolMesh mesh;
    if (std::string why = loadMesh(line.positional[0], mesh); !why.empty()) {
        return fail("svg", kExitFailure, why);
    }
    std::vector<float> sizes;
    if (!line.sizes.empty()) {
        if (std::string why = loadSizes(line.sizes, mesh, true, sizes); !why.empty()) {
            return fail("svg", kExitFailure, why);
        }
    }
    std::string text;
    if (std::string why = svgText(mesh, line.sizes.empty() ? nullptr : &sizes, text); !why.empty()) {
        return fail("svg", kExitFailure, why);
    }
    const std::string output = line.output.empty() ? defaultOutput(line.positional[0]) : line.output;
    if (std::string why = writeTextFile(output, text); !why.empty()) {
        return fail("svg", kExitFailure, why);
    }
    return kExitOk;
}

} // namespace tesmo::tools
