// The poly subcommand: a planar straight-line graph in the .poly format becomes a geometry file.
//
// The zones are the faces of the graph. Around every vertex the segments are sorted by angle,
// and each half-segment (a segment in one direction) is followed by the half-segment that
// turns most to the right at its end; the cycles so found bound the faces on their left:
//
//        3 ---<--- 2         the cycle 0>1>2>3 turns left (positive area): an inner face;
//        |  face   |         the cycle 0>3>2>1 of the other halves turns right: the outside
//        0 --->--- 1         of this piece of the graph
//
// A piece of the graph drawn inside a face of another piece (an island, a hole's outline)
// makes that face's region carry the piece's outer cycle as an inner boundary. A region holding
// a hole point has no zone; a region holding a regional attribute takes it as its zone number
// (a positive whole number is kept, other values get new numbers); every other region gets a
// zone of its own. Each chain of segments then becomes a border naming the zones on its sides,
// and each vertex on no segment a point of the zone around it.
//
// Coordinates are rounded to single precision first, as tesmo reads them, and every decision
// is taken on the rounded values.
#include "subcommands.hpp"
#include "tool_common.hpp"

#include "files/es_geometrie.hpp"
#include "files/es_util.hpp"
#include "messages/es_chaine.hpp"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <limits>
#include <map>
#include <numeric>
#include <sstream>

namespace tesmo::tools {

namespace {

const char* kHelp =
    "Usage: tesmo-tools poly GEOMETRY.poly -o GEOMETRY.txt\n"
    "\n"
    "Converts a planar straight-line graph in the .poly format (vertices, segments, holes,\n"
    "regional attributes) into a tesmo geometry file. The zones are the regions enclosed by\n"
    "the segments: a region holding a hole point is left empty, a region holding a regional\n"
    "attribute takes it as zone number (a positive whole number is kept, other values get\n"
    "new numbers), every other region gets a zone of its own. Each chain of segments becomes\n"
    "a border naming the zones on its two sides; each vertex on no segment becomes an\n"
    "isolated point of the zone around it. Boundary markers, vertex attributes and area\n"
    "constraints are not used. When the .poly file lists no vertices, they are read from the\n"
    ".node file of the same name. Segments may meet only at their end vertices.\n"
    "\n"
    "  -o GEOMETRY.txt  the geometry file written (required)\n"
    "  -h, --help       this help\n";

/// Largest zone number taken from a regional attribute as it is.
inline constexpr double kLargestKeptAttribute = 1.0e9;

struct Point {
    double x = 0.0, y = 0.0;
};

/// The planar straight-line graph as read, vertices from 0.
struct Pslg {
    std::vector<Point> vertices;
    std::vector<std::pair<int32_t, int32_t>> segments;
    std::vector<int32_t> segmentNumbers; ///< the number of each segment in the file
    int32_t vertexBase = 0;              ///< the number of the first vertex in the file (0 or 1)
    std::vector<Point> holes;
    std::vector<Point> regionPoints;
    std::vector<double> regionAttributes;
};

/// Line-by-line reading of a .poly or .node file: "#" starts a comment, blank lines are skipped.
class PolyLines {
public:
    explicit PolyLines(std::string path) : path_(std::move(path)), in_(path_) {}
    bool isOpen() const { return in_.is_open(); }
    /// The words of the next line that has any; false at the end of the file.
    bool next(std::vector<std::string>& words)
    {
        std::string text;
        while (std::getline(in_, text)) {
            ++line_;
            text = text.substr(0, text.find('#'));
            std::istringstream split(text);
            words.clear();
            for (std::string w; split >> w;) {
                words.push_back(w);
            }
            if (!words.empty()) {
                return true;
            }
        }
        return false;
    }
    /// "FILE:LINE: " for a message about the line last read.
    std::string where() const { return path_ + ":" + std::to_string(line_) + ": "; }
    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::ifstream in_;
    int line_ = 0;
};

bool wholeNumber(const std::string& word, long long& value)
{
    char* end = nullptr;
    errno = 0;
    value = std::strtoll(word.c_str(), &end, 10);
    return end != word.c_str() && *end == '\0' && errno == 0;
}

/// A real that single precision can hold, rounded to it.
bool realNumber(const std::string& word, double& value)
{
    char* end = nullptr;
    value = std::strtod(word.c_str(), &end);
    if (end == word.c_str() || *end != '\0' || !std::isfinite(value) ||
        std::fabs(value) > double(std::numeric_limits<float>::max())) {
        return false;
    }
    value = double(float(value));
    return true;
}

/// Reads the next line of at least `least` words; "" or what is wrong.
std::string record(PolyLines& in, std::vector<std::string>& words, std::size_t least, const char* what)
{
    if (!in.next(words)) {
        return in.path() + ": the file ends before " + std::string(what);
    }
    if (words.size() < least) {
        return in.where() + std::string(what) + " needs " + std::to_string(least) + " numbers";
    }
    return "";
}

/// A count on a header line.
std::string count(PolyLines& in, const std::string& word, const char* what, int32_t& value)
{
    long long n = 0;
    if (!wholeNumber(word, n) || n < 0 || n > std::numeric_limits<int32_t>::max() / 4) {
        return in.where() + "the number of " + what + " '" + word + "' is not valid";
    }
    value = int32_t(n);
    return "";
}

/// The numbered points of a section: number, x, y, then anything. The first number sets
/// whether the file counts from 0 or 1; the numbers must follow each other.
std::string readPoints(PolyLines& in, int32_t n, const char* what, int32_t& first, std::vector<Point>& points,
                       std::vector<std::vector<std::string>>* rest)
{
    std::vector<std::string> words;
    for (int32_t i = 0; i < n; ++i) {
        if (std::string why = record(in, words, 3, what); !why.empty()) {
            return why;
        }
        long long number = 0;
        Point p;
        if (!wholeNumber(words[0], number) || !realNumber(words[1], p.x) || !realNumber(words[2], p.y)) {
            return in.where() + "a " + what + " is written as: number x y";
        }
        if (i == 0 && first < 0) {
            first = int32_t(number == 0 ? 0 : 1);
        }
        if (first >= 0 && number != first + i) {
            return in.where() + what + " number " + words[0] + " where " + std::to_string(first + i) +
                   " was expected";
        }
        points.push_back(p);
        if (rest != nullptr) {
            rest->emplace_back(words.begin() + 3, words.end());
        }
    }
    return "";
}

/// The vertex section: the header, then the vertices (here or in the .node file beside).
std::string readVertices(PolyLines& in, const std::string& polyPath, Pslg& pslg, int32_t& base)
{
    std::vector<std::string> words;
    if (std::string why = record(in, words, 2, "the vertex header"); !why.empty()) {
        return why;
    }
    int32_t n = 0;
    if (std::string why = count(in, words[0], "vertices", n); !why.empty()) {
        return why;
    }
    if (words[1] != "2") {
        return in.where() + "the dimension is " + words[1] + "; a .poly file of tesmo-tools is planar (2)";
    }
    if (n > 0) {
        return readPoints(in, n, "vertex", base, pslg.vertices, nullptr);
    }
    // No vertex here: they are in the .node file of the same name.
    const std::size_t dot = polyPath.find_last_of('.');
    const std::size_t slash = polyPath.find_last_of('/');
    const bool extension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    PolyLines node((extension ? polyPath.substr(0, dot) : polyPath) + ".node");
    if (!node.isOpen()) {
        return in.where() + "no vertices, and the file " + node.path() + " cannot be opened";
    }
    if (std::string why = record(node, words, 2, "the vertex header"); !why.empty()) {
        return why;
    }
    if (std::string why = count(node, words[0], "vertices", n); !why.empty()) {
        return why;
    }
    if (words[1] != "2") {
        return node.where() + "the dimension is " + words[1] + "; only planar vertices (2) are read";
    }
    return readPoints(node, n, "vertex", base, pslg.vertices, nullptr);
}

std::string readPoly(const std::string& path, Pslg& pslg)
{
    PolyLines in(path);
    if (!in.isOpen()) {
        return "cannot open the file " + path;
    }
    // 1. vertices.
    int32_t base = -1;
    if (std::string why = readVertices(in, path, pslg, base); !why.empty()) {
        return why;
    }
    if (pslg.vertices.empty()) {
        return path + ": there are no vertices";
    }
    pslg.vertexBase = base;
    const int32_t nv = int32_t(pslg.vertices.size());
    // 2. segments.
    std::vector<std::string> words;
    int32_t n = 0;
    if (std::string why = record(in, words, 1, "the segment header"); !why.empty()) {
        return why;
    }
    if (std::string why = count(in, words[0], "segments", n); !why.empty()) {
        return why;
    }
    for (int32_t i = 0; i < n; ++i) {
        if (std::string why = record(in, words, 3, "a segment"); !why.empty()) {
            return why;
        }
        long long number = 0, a = 0, b = 0;
        if (!wholeNumber(words[0], number) || !wholeNumber(words[1], a) || !wholeNumber(words[2], b)) {
            return in.where() + "a segment is written as: number first-vertex second-vertex";
        }
        for (long long v : {a, b}) {
            if (v < base || v >= base + nv) {
                return in.where() + "segment " + words[0] + " names the vertex " + std::to_string(v) +
                       ", which does not exist";
            }
        }
        if (a == b) {
            return in.where() + "segment " + words[0] + " joins the vertex " + words[1] + " to itself";
        }
        pslg.segments.emplace_back(int32_t(a - base), int32_t(b - base));
        pslg.segmentNumbers.push_back(int32_t(
            std::clamp<long long>(number, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max())));
    }
    // 3. holes, then the optional regional attributes.
    if (std::string why = record(in, words, 1, "the hole header"); !why.empty()) {
        return why;
    }
    if (std::string why = count(in, words[0], "holes", n); !why.empty()) {
        return why;
    }
    int32_t holeBase = -1;
    if (std::string why = readPoints(in, n, "hole", holeBase, pslg.holes, nullptr); !why.empty()) {
        return why;
    }
    if (!in.next(words)) {
        return "";
    }
    if (std::string why = count(in, words[0], "regional attributes", n); !why.empty()) {
        return why;
    }
    std::vector<std::vector<std::string>> rest;
    int32_t regionBase = -1;
    if (std::string why = readPoints(in, n, "region", regionBase, pslg.regionPoints, &rest); !why.empty()) {
        return why;
    }
    for (const auto& words4 : rest) {
        double attribute = 0.0;
        if (words4.empty() || !realNumber(words4[0], attribute)) {
            return path + ": a region is written as: number x y attribute [area]";
        }
        pslg.regionAttributes.push_back(attribute);
    }
    return "";
}

// ---------------------------------------------------------------------------------------------
// Checks of the graph on the rounded coordinates. The orientation of three points is computed
// in extended precision: the differences of single-precision values and their products are
// exact there, so the sign decides collinearity without rounding.

using Exact = long double;

Exact orient(const Point& a, const Point& b, const Point& c)
{
    return (Exact(b.x) - Exact(a.x)) * (Exact(c.y) - Exact(a.y)) -
           (Exact(b.y) - Exact(a.y)) * (Exact(c.x) - Exact(a.x));
}

int sign(Exact v) { return v > 0 ? 1 : v < 0 ? -1 : 0; }

/// True when c, collinear with a and b, lies within their box.
bool within(const Point& a, const Point& b, const Point& c)
{
    return std::min(a.x, b.x) <= c.x && c.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= c.y &&
           c.y <= std::max(a.y, b.y);
}

/// True when two segments meet anywhere but at a shared end vertex.
bool segmentsMeet(const Pslg& g, int32_t s, int32_t t)
{
    const auto [a, b] = g.segments[std::size_t(s)];
    const auto [c, d] = g.segments[std::size_t(t)];
    const Point &pa = g.vertices[std::size_t(a)], &pb = g.vertices[std::size_t(b)];
    const Point &pc = g.vertices[std::size_t(c)], &pd = g.vertices[std::size_t(d)];
    const int shared = (a == c || a == d ? 1 : 0) + (b == c || b == d ? 1 : 0);
    if (shared == 2) {
        return false; // the same segment twice: dropped earlier
    }
    if (shared == 1) {
        // Meeting at one end: they overlap only when collinear and leaving it the same way.
        const int32_t p = (a == c || a == d) ? a : b;
        const Point& pp = g.vertices[std::size_t(p)];
        const Point& q1 = g.vertices[std::size_t(p == a ? b : a)];
        const Point& q2 = g.vertices[std::size_t(p == c ? d : c)];
        return sign(orient(pp, q1, q2)) == 0 && (q1.x - pp.x) * (q2.x - pp.x) + (q1.y - pp.y) * (q2.y - pp.y) > 0.0;
    }
    const int o1 = sign(orient(pa, pb, pc)), o2 = sign(orient(pa, pb, pd));
    const int o3 = sign(orient(pc, pd, pa)), o4 = sign(orient(pc, pd, pb));
    if (o1 * o2 < 0 && o3 * o4 < 0) {
        return true;
    }
    return (o1 == 0 && within(pa, pb, pc)) || (o2 == 0 && within(pa, pb, pd)) || (o3 == 0 && within(pc, pd, pa)) ||
           (o4 == 0 && within(pc, pd, pb));
}

/// Buckets of a uniform grid over the vertices' box, so that only nearby segments are compared.
class Grid {
public:
    explicit Grid(const Pslg& g)
    {
        lo_ = hi_ = g.vertices[0];
        for (const Point& p : g.vertices) {
            lo_.x = std::min(lo_.x, p.x), lo_.y = std::min(lo_.y, p.y);
            hi_.x = std::max(hi_.x, p.x), hi_.y = std::max(hi_.y, p.y);
        }
        side_ = int32_t(std::clamp(std::ceil(std::sqrt(double(g.segments.size()))), 1.0, 1024.0));
        cells_.resize(std::size_t(side_) * std::size_t(side_));
        for (int32_t s = 0; s < int32_t(g.segments.size()); ++s) {
            const Point& a = g.vertices[std::size_t(g.segments[std::size_t(s)].first)];
            const Point& b = g.vertices[std::size_t(g.segments[std::size_t(s)].second)];
            for (int32_t i = column(std::min(a.x, b.x)); i <= column(std::max(a.x, b.x)); ++i) {
                for (int32_t j = row(std::min(a.y, b.y)); j <= row(std::max(a.y, b.y)); ++j) {
                    cells_[std::size_t(i) * std::size_t(side_) + std::size_t(j)].push_back(s);
                }
            }
        }
    }
    const std::vector<std::vector<int32_t>>& cells() const { return cells_; }
    const std::vector<int32_t>& cellOf(const Point& p) const
    {
        return cells_[std::size_t(column(p.x)) * std::size_t(side_) + std::size_t(row(p.y))];
    }

private:
    int32_t index(double v, double lo, double hi) const
    {
        return hi > lo ? std::clamp(int32_t((v - lo) / (hi - lo) * side_), 0, side_ - 1) : 0;
    }
    int32_t column(double x) const { return index(x, lo_.x, hi_.x); }
    int32_t row(double y) const { return index(y, lo_.y, hi_.y); }
    Point lo_, hi_;
    int32_t side_ = 1;
    std::vector<std::vector<int32_t>> cells_;
};

/// Refuses vertices at the same place, and segments that cross, overlap or pass through a
/// vertex; drops a segment given twice. Numbers in messages are those of the file.
std::string checkGraph(Pslg& g, Progress& progress)
{
    const int32_t base = g.vertexBase;
    std::vector<int32_t> order(g.vertices.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int32_t l, int32_t r) {
        const Point &p = g.vertices[std::size_t(l)], &q = g.vertices[std::size_t(r)];
        return p.x != q.x ? p.x < q.x : p.y != q.y ? p.y < q.y : l < r;
    });
    for (std::size_t i = 1; i < order.size(); ++i) {
        const Point &p = g.vertices[std::size_t(order[i - 1])], &q = g.vertices[std::size_t(order[i])];
        if (p.x == q.x && p.y == q.y) {
            return "the vertices " + std::to_string(order[i - 1] + base) + " and " + std::to_string(order[i] + base) +
                   " are at the same place (in single precision)";
        }
    }
    for (auto& [a, b] : g.segments) {
        if (a > b) {
            std::swap(a, b);
        }
    }
    std::vector<int32_t> number = g.segmentNumbers;
    {
        std::vector<std::pair<std::pair<int32_t, int32_t>, int32_t>> keyed;
        for (std::size_t s = 0; s < g.segments.size(); ++s) {
            keyed.push_back({g.segments[s], int32_t(s)});
        }
        std::stable_sort(keyed.begin(), keyed.end(), [](const auto& l, const auto& r) { return l.first < r.first; });
        auto same = [](const auto& l, const auto& r) { return l.first == r.first; };
        keyed.erase(std::unique(keyed.begin(), keyed.end(), same), keyed.end());
        std::sort(keyed.begin(), keyed.end(), [](const auto& l, const auto& r) { return l.second < r.second; });
        g.segments.clear();
        number.clear();
        for (const auto& [segment, s] : keyed) {
            g.segments.push_back(segment);
            number.push_back(g.segmentNumbers[std::size_t(s)]);
        }
        g.segmentNumbers = number;
    }
    if (g.segments.empty()) {
        return "";
    }
    const Grid grid(g);
    int64_t done = 0;
    for (const std::vector<int32_t>& cell : grid.cells()) {
        for (std::size_t i = 0; i < cell.size(); ++i) {
            for (std::size_t j = i + 1; j < cell.size(); ++j) {
                if (segmentsMeet(g, cell[i], cell[j])) {
                    return "the segments " + std::to_string(number[std::size_t(cell[i])]) + " and " +
                           std::to_string(number[std::size_t(cell[j])]) + " cross or overlap";
                }
            }
        }
        progress.update(++done, int64_t(grid.cells().size()));
    }
    for (int32_t v = 0; v < int32_t(g.vertices.size()); ++v) {
        const Point& p = g.vertices[std::size_t(v)];
        for (int32_t s : grid.cellOf(p)) {
            const auto [a, b] = g.segments[std::size_t(s)];
            if (v != a && v != b && sign(orient(g.vertices[std::size_t(a)], g.vertices[std::size_t(b)], p)) == 0 &&
                within(g.vertices[std::size_t(a)], g.vertices[std::size_t(b)], p)) {
                return "the vertex " + std::to_string(v + base) + " lies on the segment " +
                       std::to_string(number[std::size_t(s)]) + "; split the segment there";
            }
        }
    }
    return "";
}

// ---------------------------------------------------------------------------------------------
// Faces of the graph.

/// The cycles of half-segments. Half-segment h runs along segment h / 2, from its first vertex
/// when h is even; h ^ 1 is its twin.
struct Faces {
    std::vector<int32_t> cycleOf;               ///< cycle of each half-segment
    std::vector<std::vector<int32_t>> cycles;   ///< vertices of each cycle, in order
    std::vector<Exact> area;                    ///< twice the signed area of each cycle
    std::vector<int32_t> region;                ///< the bounded cycle whose region the cycle bounds, -1 outside
    std::vector<Point> lo, hi;                  ///< box of each cycle
};

int32_t originOf(const Pslg& g, int32_t h)
{
    const auto [a, b] = g.segments[std::size_t(h / 2)];
    return h % 2 == 0 ? a : b;
}

/// Sorts the half-segments leaving each vertex counter-clockwise, from the positive x axis.
void sortAround(const Pslg& g, std::vector<int32_t>& start, std::vector<int32_t>& leaving, std::vector<int32_t>& place)
{
    const int32_t nv = int32_t(g.vertices.size());
    const int32_t nh = int32_t(g.segments.size()) * 2;
    start.assign(std::size_t(nv) + 1, 0);
    for (int32_t h = 0; h < nh; ++h) {
        ++start[std::size_t(originOf(g, h)) + 1];
    }
    std::partial_sum(start.begin(), start.end(), start.begin());
    leaving.assign(std::size_t(nh), 0);
    std::vector<int32_t> fill(start.begin(), start.end() - 1);
    for (int32_t h = 0; h < nh; ++h) {
        leaving[std::size_t(fill[std::size_t(originOf(g, h))]++)] = h;
    }
    for (int32_t v = 0; v < nv; ++v) {
        const Point& o = g.vertices[std::size_t(v)];
        auto half = [&](int32_t h) {
            const Point& p = g.vertices[std::size_t(originOf(g, h ^ 1))];
            return (p.y < o.y || (p.y == o.y && p.x < o.x)) ? 1 : 0;
        };
        std::sort(leaving.begin() + start[std::size_t(v)], leaving.begin() + start[std::size_t(v) + 1],
                  [&](int32_t l, int32_t r) {
                      const int hl = half(l), hr = half(r);
                      if (hl != hr) {
                          return hl < hr;
                      }
                      return orient(o, g.vertices[std::size_t(originOf(g, l ^ 1))],
                                    g.vertices[std::size_t(originOf(g, r ^ 1))]) > 0;
                  });
    }
    place.assign(std::size_t(nh), 0);
    for (int32_t i = 0; i < nh; ++i) {
        place[std::size_t(leaving[std::size_t(i)])] = i;
    }
}

/// Strict crossing-number test of a point against a cycle.
bool insideCycle(const Pslg& g, const std::vector<int32_t>& cycle, const Point& p)
{
    bool inside = false;
    for (std::size_t i = 0, j = cycle.size() - 1; i < cycle.size(); j = i++) {
        const Point& u = g.vertices[std::size_t(cycle[i])];
        const Point& v = g.vertices[std::size_t(cycle[j])];
        if ((u.y > p.y) != (v.y > p.y) && p.x < u.x + (p.y - u.y) * (v.x - u.x) / (v.y - u.y)) {
            inside = !inside;
        }
    }
    return inside;
}

/// The smallest bounded cycle around a point, leaving out the cycles of one piece of the
/// graph (-1: none left out); -1 when the point is outside every bounded cycle.
int32_t enclosingCycle(const Pslg& g, const Faces& f, const std::vector<int32_t>& pieceOf, int32_t leftOut,
                       const Point& p)
{
    int32_t best = -1;
    for (int32_t c = 0; c < int32_t(f.cycles.size()); ++c) {
        const std::vector<int32_t>& cycle = f.cycles[std::size_t(c)];
        if (f.area[std::size_t(c)] <= 0 || (leftOut >= 0 && pieceOf[std::size_t(cycle[0])] == leftOut)) {
            continue;
        }
        if (p.x < f.lo[std::size_t(c)].x || p.x > f.hi[std::size_t(c)].x || p.y < f.lo[std::size_t(c)].y ||
            p.y > f.hi[std::size_t(c)].y) {
            continue;
        }
        if ((best < 0 || f.area[std::size_t(c)] < f.area[std::size_t(best)]) && insideCycle(g, cycle, p)) {
            best = c;
        }
    }
    return best;
}

Faces findFaces(const Pslg& g, const std::vector<int32_t>& pieceOf)
{
    Faces f;
    std::vector<int32_t> start, leaving, place;
    sortAround(g, start, leaving, place);
    const int32_t nh = int32_t(g.segments.size()) * 2;
    f.cycleOf.assign(std::size_t(nh), -1);
    for (int32_t h0 = 0; h0 < nh; ++h0) {
        if (f.cycleOf[std::size_t(h0)] >= 0) {
            continue;
        }
        const int32_t c = int32_t(f.cycles.size());
        std::vector<int32_t> cycle;
        const Point& first = g.vertices[std::size_t(originOf(g, h0))];
        Exact area = 0;
        Point lo = first, hi = first;
        for (int32_t h = h0; f.cycleOf[std::size_t(h)] < 0;) {
            f.cycleOf[std::size_t(h)] = c;
            const int32_t from = originOf(g, h), to = originOf(g, h ^ 1);
            cycle.push_back(from);
            area += orient(first, g.vertices[std::size_t(from)], g.vertices[std::size_t(to)]);
            const Point& p = g.vertices[std::size_t(to)];
            lo = {std::min(lo.x, p.x), std::min(lo.y, p.y)};
            hi = {std::max(hi.x, p.x), std::max(hi.y, p.y)};
            // Next: the half-segment just before the twin in the counter-clockwise order at `to`.
            const int32_t degree = start[std::size_t(to) + 1] - start[std::size_t(to)];
            const int32_t twinPlace = place[std::size_t(h ^ 1)] - start[std::size_t(to)];
            h = leaving[std::size_t(start[std::size_t(to)] + (twinPlace + degree - 1) % degree)];
        }
        f.cycles.push_back(std::move(cycle));
        f.area.push_back(area);
        f.lo.push_back(lo);
        f.hi.push_back(hi);
    }
    // A bounded cycle is its own region; the outer cycle of a piece bounds the region of the
    // smallest bounded cycle of another piece around it, if any.
    f.region.assign(f.cycles.size(), -1);
    for (int32_t c = 0; c < int32_t(f.cycles.size()); ++c) {
        if (f.area[std::size_t(c)] > 0) {
            f.region[std::size_t(c)] = c;
        } else {
            const int32_t v = f.cycles[std::size_t(c)][0];
            const Point& p = g.vertices[std::size_t(v)];
            f.region[std::size_t(c)] = enclosingCycle(g, f, pieceOf, pieceOf[std::size_t(v)], p);
        }
    }
    return f;
}

/// The connected piece of the graph of each vertex (vertices on no segment are pieces alone).
std::vector<int32_t> pieces(const Pslg& g)
{
    std::vector<int32_t> parent(g.vertices.size());
    std::iota(parent.begin(), parent.end(), 0);
    auto root = [&](int32_t v) {
        while (parent[std::size_t(v)] != v) {
            v = parent[std::size_t(v)] = parent[std::size_t(parent[std::size_t(v)])];
        }
        return v;
    };
    for (const auto& [a, b] : g.segments) {
        parent[std::size_t(root(a))] = root(b);
    }
    for (int32_t v = 0; v < int32_t(g.vertices.size()); ++v) {
        parent[std::size_t(v)] = root(v);
    }
    return parent;
}

/// The zone of each region (indexed by bounded cycle; 0 for no zone), from the hole points,
/// the regional attributes and then new numbers.
std::vector<int32_t> zonesOf(const Pslg& g, const Faces& f, const std::vector<int32_t>& pieceOf)
{
    const std::size_t nc = f.cycles.size();
    std::vector<char> hole(nc, 0);
    for (const Point& p : g.holes) {
        if (const int32_t c = enclosingCycle(g, f, pieceOf, -1, p); c >= 0) {
            hole[std::size_t(c)] = 1;
        }
    }
    std::vector<int32_t> attribute(nc, -1); // index of the region point that labels the region
    for (int32_t r = 0; r < int32_t(g.regionPoints.size()); ++r) {
        const int32_t c = enclosingCycle(g, f, pieceOf, -1, g.regionPoints[std::size_t(r)]);
        if (c >= 0 && attribute[std::size_t(c)] < 0) {
            attribute[std::size_t(c)] = r;
        }
    }
    auto kept = [](double a) { return a >= 1.0 && a <= kLargestKeptAttribute && a == std::floor(a); };
    int32_t largest = 0;
    for (double a : g.regionAttributes) {
        if (kept(a)) {
            largest = std::max(largest, int32_t(a));
        }
    }
    std::map<double, int32_t> renumbered;
    std::vector<int32_t> zone(nc, 0);
    for (std::size_t c = 0; c < nc; ++c) {
        if (f.area[c] <= 0 || hole[c] || attribute[c] < 0) {
            continue;
        }
        const double a = g.regionAttributes[std::size_t(attribute[c])];
        if (kept(a)) {
            zone[c] = int32_t(a);
        } else {
            auto [it, added] = renumbered.emplace(a, largest + 1);
            largest += added ? 1 : 0;
            zone[c] = it->second;
        }
    }
    for (std::size_t c = 0; c < nc; ++c) {
        if (f.area[c] > 0 && !hole[c] && attribute[c] < 0) {
            zone[c] = ++largest;
        }
    }
    return zone;
}

// ---------------------------------------------------------------------------------------------
// The geometry file.

/// A border record: its points (from 0) and its zones.
struct Border {
    std::vector<int32_t> points;
    std::vector<int32_t> zones;
    int32_t code = kBorderPolyline;
};

/// The zones on the two sides of each segment, and whether it stays (a segment between two
/// regions of the same zone bounds nothing and goes).
void segmentZones(const Pslg& g, const Faces& f, const std::vector<int32_t>& zone,
                  std::vector<std::vector<int32_t>>& zones, std::vector<char>& kept, int32_t& dropped)
{
    const int32_t ns = int32_t(g.segments.size());
    zones.assign(std::size_t(ns), {});
    kept.assign(std::size_t(ns), 1);
    dropped = 0;
    for (int32_t s = 0; s < ns; ++s) {
        const int32_t left = f.region[std::size_t(f.cycleOf[std::size_t(2 * s)])];
        const int32_t right = f.region[std::size_t(f.cycleOf[std::size_t(2 * s + 1)])];
        const int32_t zl = left < 0 ? 0 : zone[std::size_t(left)];
        const int32_t zr = right < 0 ? 0 : zone[std::size_t(right)];
        if (left != right && zl == zr && zl != 0) {
            kept[std::size_t(s)] = 0;
            ++dropped;
            continue;
        }
        for (int32_t z : {zl, zr}) {
            if (z != 0 && std::find(zones[std::size_t(s)].begin(), zones[std::size_t(s)].end(), z) ==
                              zones[std::size_t(s)].end()) {
                zones[std::size_t(s)].push_back(z);
            }
        }
        std::sort(zones[std::size_t(s)].begin(), zones[std::size_t(s)].end());
    }
}

/// Chains of kept segments: a chain goes on through a vertex of two kept segments that name
/// the same zones, and is cut into borders of at most the largest point count of a border.
std::vector<Border> chains(const Pslg& g, const std::vector<std::vector<int32_t>>& zones, const std::vector<char>& kept)
{
    const int32_t nv = int32_t(g.vertices.size());
    const std::size_t vertexCount = g.vertices.size();
    std::vector<std::vector<int32_t>> at(vertexCount);
    for (int32_t s = 0; s < int32_t(g.segments.size()); ++s) {
        if (kept[std::size_t(s)]) {
            at[std::size_t(g.segments[std::size_t(s)].first)].push_back(s);
            at[std::size_t(g.segments[std::size_t(s)].second)].push_back(s);
        }
    }
    auto passes = [&](int32_t v) {
        const auto& list = at[std::size_t(v)];
        return list.size() == 2 && zones[std::size_t(list[0])] == zones[std::size_t(list[1])];
    };
    std::vector<char> used(g.segments.size(), 0);
    std::vector<Border> borders;
    auto walk = [&](int32_t from, int32_t s) {
        Border border;
        border.zones = zones[std::size_t(s)];
        border.points.push_back(from);
        int32_t v = from;
        while (s >= 0 && !used[std::size_t(s)]) {
            used[std::size_t(s)] = 1;
            const auto [a, b] = g.segments[std::size_t(s)];
            v = a == v ? b : a;
            border.points.push_back(v);
            if (border.points.size() == std::size_t(kMaxBorderPoints)) {
                borders.push_back(border);
                border.points = {v};
            }
            s = passes(v) ? (at[std::size_t(v)][0] == s ? at[std::size_t(v)][1] : at[std::size_t(v)][0]) : -1;
        }
        if (border.points.size() >= 2) {
            borders.push_back(std::move(border));
        }
    };
    for (int32_t v = 0; v < nv; ++v) {
        if (!passes(v)) {
            for (int32_t s : at[std::size_t(v)]) {
                walk(v, s);
            }
        }
    }
    // What is left are closed loops through vertices that all pass: each starts at its first vertex.
    for (int32_t v = 0; v < nv; ++v) {
        for (int32_t s : at[std::size_t(v)]) {
            walk(v, s);
        }
    }
    return borders;
}

/// The vertices on no kept segment, as isolated points grouped by the zone around them.
std::vector<Border> isolatedPoints(const Pslg& g, const Faces& f, const std::vector<int32_t>& zone,
                                   const std::vector<int32_t>& pieceOf, const std::vector<char>& kept)
{
    std::vector<char> onSegment(g.vertices.size(), 0);
    for (int32_t s = 0; s < int32_t(g.segments.size()); ++s) {
        if (kept[std::size_t(s)]) {
            onSegment[std::size_t(g.segments[std::size_t(s)].first)] = 1;
            onSegment[std::size_t(g.segments[std::size_t(s)].second)] = 1;
        }
    }
    std::map<int32_t, Border> byZone;
    for (int32_t v = 0; v < int32_t(g.vertices.size()); ++v) {
        if (onSegment[std::size_t(v)]) {
            continue;
        }
        const int32_t c = enclosingCycle(g, f, pieceOf, -1, g.vertices[std::size_t(v)]);
        const int32_t z = c < 0 ? 0 : zone[std::size_t(c)];
        Border& b = byZone[z];
        b.code = kBorderPoints;
        b.zones = z == 0 ? std::vector<int32_t>{} : std::vector<int32_t>{z};
        b.points.push_back(v);
    }
    std::vector<Border> out;
    for (auto& [z, b] : byZone) {
        for (std::size_t i = 0; i < b.points.size(); i += std::size_t(kMaxBorderPoints)) {
            Border piece = b;
            piece.points.assign(b.points.begin() + std::ptrdiff_t(i),
                                b.points.begin() + std::ptrdiff_t(std::min(b.points.size(), i + kMaxBorderPoints)));
            out.push_back(std::move(piece));
        }
    }
    return out;
}

/// The geometry file as text, in the free format of tesmo's data files.
std::string geometryText(const std::string& source, const Pslg& g, const std::vector<Border>& borders,
                         int32_t zoneCount)
{
    std::string out = "* Geometry converted by tesmo-tools poly from " + source + "\n";
    out += "* " + std::to_string(g.vertices.size()) + " vertices, " + std::to_string(g.segments.size()) +
           " segments, " + std::to_string(g.holes.size()) + " holes, " + std::to_string(g.regionPoints.size()) +
           " regional attributes; " + std::to_string(zoneCount) + " zones\n";
    out += "DEBXYZ\n";
    FreeFormatWriter writer(out);
    writer.integer(int32_t(g.vertices.size()));
    writer.integer(2);
    writer.finish();
    for (const Point& p : g.vertices) {
        writer.real(float(p.x));
        writer.real(float(p.y));
        writer.finish();
    }
    out += "FINXYZ\nDEBILM\n";
    writer.integer(int32_t(borders.size()));
    writer.finish();
    for (const Border& b : borders) {
        writer.integer(int32_t(b.points.size()));
        for (int32_t p : b.points) {
            writer.integer(p + 1);
        }
        writer.integer(b.code);
        writer.integer(int32_t(b.zones.size()));
        for (int32_t z : b.zones) {
            writer.integer(z);
        }
        writer.finish();
    }
    out += "FINILM\n";
    return out;
}

/// Reads the written geometry back with tesmo's reader: its counts must be those intended.
std::string readBack(const std::string& path, int32_t points, int32_t elements, int32_t zones)
{
    ConsoleCapture capture;
    GeometrySizes sizes;
    const int code = litfrt(0, path, GeometryTables{}, sizes);
    if (code != kOk || sizes.npts != points || sizes.ne != elements || sizes.zones != zones) {
        std::cerr << capture.text();
        return "the geometry written to " + path + " does not read back as intended";
    }
    return "";
}

} // namespace

std::string convertPoly(const std::string& source, const std::string& target)
{
    // 1. the graph, checked.
    Pslg g;
    if (std::string why = readPoly(source, g); !why.empty()) {
        return why;
    }
    Progress progress("converting " + source);
    if (std::string why = checkGraph(g, progress); !why.empty()) {
        return source + ": " + why;
    }
    // 2. faces, regions and zones.
    const std::vector<int32_t> pieceOf = pieces(g);
    const Faces faces = findFaces(g, pieceOf);
    const std::vector<int32_t> zone = zonesOf(g, faces, pieceOf);
    // 3. borders and isolated points.
    std::vector<std::vector<int32_t>> zones;
    std::vector<char> kept;
    int32_t dropped = 0;
    segmentZones(g, faces, zone, zones, kept, dropped);
    std::vector<Border> borders = chains(g, zones, kept);
    std::vector<Border> points = isolatedPoints(g, faces, zone, pieceOf, kept);
    borders.insert(borders.end(), points.begin(), points.end());
    if (dropped > 0) {
        std::cerr << "tesmo-tools poly: " << dropped
                  << " segments between two regions of the same zone bound nothing and are left out\n";
    }
    // 4. the file, read back with tesmo's reader.
    std::vector<int32_t> used;
    int32_t elements = 0;
    for (const Border& b : borders) {
        elements += b.code == kBorderPoints ? int32_t(b.points.size()) : int32_t(b.points.size()) - 1;
        used.insert(used.end(), b.zones.begin(), b.zones.end());
    }
    std::sort(used.begin(), used.end());
    used.erase(std::unique(used.begin(), used.end()), used.end());
    progress.finish();
    if (std::string why = writeTextFile(target, geometryText(source, g, borders, int32_t(used.size())));
        !why.empty()) {
        return why;
    }
    if (std::string why = readBack(target, int32_t(g.vertices.size()), elements, int32_t(used.size()));
        !why.empty()) {
        return why;
    }
    return "";
}

int runPoly(const Words& words)
{
    CommandLine line;
    if (std::string why = parseCommandLine(words, {.output = true}, line); !why.empty()) {
        return usageError("poly", why);
    }
    if (line.help) {
        std::fputs(kHelp, stdout);
        return kExitOk;
    }
    if (line.positional.size() != 1) {
        return usageError("poly", line.positional.empty() ? "a .poly file is needed" : "only one .poly file is read");
    }
    if (line.output.empty()) {
        return usageError("poly", "the output is missing (-o)");
    }
    if (line.output.size() >= std::size_t(kFileNameLength)) {
        return fail("poly", kExitFailure, "the file name " + line.output + " is too long");
    }
    if (std::string why = convertPoly(line.positional[0], line.output); !why.empty()) {
        return fail("poly", kExitFailure, why);
    }
    return kExitOk;
}

} // namespace tesmo::tools
