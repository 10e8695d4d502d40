// Random valid geometries. Each shape is drawn so that it stays valid whatever the draw:
// polygons monotone in angle or along their sides, holes and zigzags kept apart by margins
// larger than their jitter, isolated points inside their zone and apart from each other.
#include "support/stress_geometry.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <sstream>

namespace tesmo::testing {

namespace {

constexpr double kPi = 3.14159265358979323846;

/// x rounded to single precision. Through a volatile, since g++ 12 at -O2 drops the round
/// trip double -> float -> double when it vectorises a loop of them.
double single(double x)
{
    volatile float rounded = float(x);
    return double(rounded);
}

double distance(const std::array<double, 3>& a, const std::array<double, 3>& b)
{
    return std::hypot(a[0] - b[0], a[1] - b[1]);
}

/// Smallest distance between consecutive points of a closed list, and between the points two
/// apart (the sides of a thin spike).
double smallestGap(const GeometryText& g, const std::vector<int>& ids)
{
    double gap = std::numeric_limits<double>::max();
    const std::size_t n = ids.size();
    for (std::size_t i = 0; i < n; ++i) {
        const auto& p = g.points[std::size_t(ids[i] - 1)];
        gap = std::min(gap, distance(p, g.points[std::size_t(ids[(i + 1) % n] - 1)]));
        gap = std::min(gap, distance(p, g.points[std::size_t(ids[(i + 2) % n] - 1)]));
    }
    return gap;
}

/// A star of `spikes` deep thin spikes about the origin, its vertices in increasing angle.
GeometryText star(Random& random, int spikes)
{
    GeometryText g;
    const double radius = 10.0;
    std::vector<int> outline;
    for (int k = 0; k < 2 * spikes; ++k) {
        const double angle = (k + random.between(-0.3, 0.3)) * kPi / spikes;
        const double r = k % 2 == 0 ? radius * random.between(0.85, 1.0) : radius * random.between(0.03, 0.4);
        outline.push_back(g.point(r * std::cos(angle), r * std::sin(angle)));
    }
    g.loop(outline, {1});
    g.detail = smallestGap(g, outline);
    return g;
}

/// A square of unit cells, most of them holding a round hole; half of the holes are a second
/// zone, the others are void.
GeometryText holes(Random& random, int count)
{
    GeometryText g;
    const int cells = std::max(1, int(std::ceil(std::sqrt(double(count)))));
    std::vector<int> outline;
    for (int side = 0; side < 4; ++side) {
        for (int i = 0; i < cells; ++i) {
            const double t = i;
            const double x[4] = {t, double(cells), cells - t, 0.0};
            const double y[4] = {0.0, t, double(cells), cells - t};
            outline.push_back(g.point(x[side], y[side]));
        }
    }
    g.loop(outline, {1});
    g.detail = 1.0;
    int made = 0;
    for (int i = 0; i < cells && made < count; ++i) {
        for (int j = 0; j < cells && made < count; ++j, ++made) {
            const double cx = i + 0.5 + random.between(-0.1, 0.1);
            const double cy = j + 0.5 + random.between(-0.1, 0.1);
            const double r = random.between(0.15, 0.35);
            const int sides = random.integer(5, 20);
            const double start = random.between(0.0, 2.0 * kPi);
            std::vector<int> hole;
            for (int s = 0; s < sides; ++s) {
                const double angle = start + 2.0 * kPi * s / sides;
                hole.push_back(g.point(cx + r * std::cos(angle), cy + r * std::sin(angle)));
            }
            g.loop(hole, made % 2 == 0 ? std::vector<int>{1} : std::vector<int>{1, 2});
            g.detail = std::min(g.detail, 2.0 * r * std::sin(kPi / sides));
        }
    }
    g.detail = std::min(g.detail, 0.05);
    return g;
}

/// Zones side by side, each a strip of width 1, the borders between them zig-zags.
GeometryText strips(Random& random, int size)
{
    GeometryText g;
    const int zones = std::clamp(size / 4, 2, 12);
    const int rows = random.integer(2, std::max(2, size));
    const double height = 2.0;
    // border i (0..zones) from bottom to top; 0 and zones are straight
    std::vector<std::vector<int>> walls;
    for (int i = 0; i <= zones; ++i) {
        std::vector<int> wall;
        for (int j = 0; j <= rows; ++j) {
            const bool straight = i == 0 || i == zones;
            const double swing = straight ? 0.0 : (j % 2 == 0 ? 1.0 : -1.0) * random.between(0.05, 0.4);
            wall.push_back(g.point(i + swing, height * j / rows));
        }
        walls.push_back(wall);
    }
    for (int i = 0; i <= zones; ++i) {
        std::vector<int> sides;
        if (i > 0) {
            sides.push_back(i);
        }
        if (i < zones) {
            sides.push_back(i + 1);
        }
        g.chain(walls[std::size_t(i)], sides);
    }
    for (int i = 1; i <= zones; ++i) {
        g.chain({walls[std::size_t(i - 1)].front(), walls[std::size_t(i)].front()}, {i});
        g.chain({walls[std::size_t(i - 1)].back(), walls[std::size_t(i)].back()}, {i});
    }
    g.detail = std::min(0.05, height / rows);
    return g;
}

/// A rectilinear staircase on the integer lattice, every lattice point of its outline a point
/// of the border, with isolated lattice points inside.
GeometryText staircase(Random& random, int steps)
{
    GeometryText g;
    std::vector<int> widths;
    std::vector<int> heights;
    int W = 0;
    for (int i = 0; i < steps; ++i) {
        widths.push_back(random.integer(1, 3));
        heights.push_back(random.integer(1, 3));
        W += widths.back();
    }
    // corners: (0,0), (W,0), then up and left step by step, then (0, H)
    std::vector<std::pair<int, int>> corners{{0, 0}, {W, 0}};
    int x = W;
    int y = 0;
    for (int i = 0; i < steps; ++i) {
        y += heights[std::size_t(i)];
        corners.emplace_back(x, y);
        x -= widths[std::size_t(i)];
        corners.emplace_back(x, y);
    }
    std::vector<int> outline;
    for (std::size_t c = 0; c < corners.size(); ++c) {
        const auto [x0, y0] = corners[c];
        const auto [x1, y1] = corners[(c + 1) % corners.size()];
        const int n = std::abs(x1 - x0) + std::abs(y1 - y0);
        for (int s = 0; s < n; ++s) {
            outline.push_back(g.point(x0 + (x1 - x0) / n * s, y0 + (y1 - y0) / n * s));
        }
    }
    g.loop(outline, {1});
    // lattice points strictly inside a column of the staircase
    std::vector<int> inside;
    x = W;
    y = 0;
    for (int i = 0; i < steps; ++i) {
        y += heights[std::size_t(i)];
        const int left = x - widths[std::size_t(i)];
        for (int px = left + 1; px < x; ++px) {
            for (int py = 1; py < y; ++py) {
                if (random.uniform() < 0.3) {
                    inside.push_back(g.point(px, py));
                }
            }
        }
        x = left;
    }
    if (!inside.empty()) {
        g.isolated(inside, 1);
    }
    g.detail = 1.0;
    return g;
}

/// A unit square whose sides carry clusters of closely spaced points, each slightly off the
/// side's line.
GeometryText clusteredSquare(Random& random, int size)
{
    GeometryText g;
    g.detail = 1.0;
    std::vector<int> outline;
    for (int side = 0; side < 4; ++side) {
        // (position along the side, offset to its left) of every point of the side
        std::vector<std::pair<double, double>> marks;
        const int clusters = random.integer(1, 4);
        for (int c = 0; c < clusters; ++c) {
            const int count = random.integer(2, std::max(2, size));
            const double spacing = std::pow(10.0, random.between(-3.5, -2.0));
            double t = random.between(0.05, 0.95 - spacing * count);
            for (int k = 0; k < count && t < 0.95; ++k, t += spacing * random.between(0.7, 1.3)) {
                const double offset = (random.uniform() < 0.5 ? -1.0 : 1.0) * spacing * random.between(0.02, 0.2);
                marks.emplace_back(t, offset);
                g.detail = std::min(g.detail, std::fabs(offset));
            }
        }
        std::sort(marks.begin(), marks.end());
        std::vector<std::pair<double, double>> kept;
        for (const auto& m : marks) {
            if (kept.empty() || m.first - kept.back().first > 2e-4) {
                kept.push_back(m);
            }
        }
        const double cx[4] = {0, 1, 1, 0};
        const double cy[4] = {0, 0, 1, 1};
        const double dx = cx[(side + 1) % 4] - cx[side];
        const double dy = cy[(side + 1) % 4] - cy[side];
        outline.push_back(g.point(cx[side], cy[side]));
        for (const auto& [t, offset] : kept) {
            outline.push_back(g.point(cx[side] + t * dx - offset * dy, cy[side] + t * dy + offset * dx));
        }
    }
    g.loop(outline, {1});
    g.detail = std::min(g.detail, 2e-4);
    return g;
}

/// Pairs of isolated points 1e-7 to 1e-3 apart inside a unit square, the pairs kept apart.
GeometryText closePoints(Random& random, int pairs)
{
    GeometryText g;
    g.loop({g.point(0, 0), g.point(1, 0), g.point(1, 1), g.point(0, 1)}, {1});
    const int cells = std::max(1, int(std::ceil(std::sqrt(double(pairs)))));
    std::vector<int> dots;
    g.detail = 1.0;
    for (int k = 0; k < pairs; ++k) {
        const double cx = (0.1 + 0.8 * ((k % cells) + random.between(0.2, 0.8)) / cells);
        const double cy = (0.1 + 0.8 * ((k / cells) + random.between(0.2, 0.8)) / cells);
        const double d = std::pow(10.0, random.between(-7.0, -3.0));
        const double angle = random.between(0.0, 2.0 * kPi);
        const double x0 = single(cx - 0.5 * d * std::cos(angle));
        const double y0 = single(cy - 0.5 * d * std::sin(angle));
        double x1 = single(cx + 0.5 * d * std::cos(angle));
        const double y1 = single(cy + 0.5 * d * std::sin(angle));
        if (x0 == x1 && y0 == y1) {
            x1 = double(std::nextafter(float(x1), 2.0f)); // rounding made them one point
        }
        dots.push_back(g.point(x0, y0));
        dots.push_back(g.point(x1, y1));
        g.detail = std::min(g.detail, std::hypot(x1 - x0, y1 - y0));
    }
    g.isolated(dots, 1);
    return g;
}

/// A convex polygon with isolated points just inside its sides, 3e-5 to 1e-3 of the side's
/// length away from it.
GeometryText nearBorder(Random& random, int count)
{
    GeometryText g;
    const int corners = random.integer(5, 8);
    std::vector<double> angles;
    for (int k = 0; k < corners; ++k) {
        angles.push_back(2.0 * kPi * (k + random.between(-0.3, 0.3)) / corners);
    }
    std::vector<int> outline;
    for (double a : angles) {
        outline.push_back(g.point(0.5 + 0.5 * std::cos(a), 0.5 + 0.5 * std::sin(a)));
    }
    g.loop(outline, {1});
    g.detail = 1.0;
    std::vector<int> dots;
    const int perSide = std::max(1, count / corners);
    for (int side = 0; side < corners; ++side) {
        const auto a = g.points[std::size_t(outline[std::size_t(side)] - 1)];
        const auto b = g.points[std::size_t(outline[std::size_t((side + 1) % corners)] - 1)];
        const double length = distance(a, b);
        for (int k = 0; k < perSide; ++k) {
            const double t = 0.2 + 0.6 * (k + random.between(0.2, 0.8)) / perSide;
            const double offset = length * std::pow(10.0, random.between(-4.5, -3.0));
            const double nx = -(b[1] - a[1]) / length;
            const double ny = (b[0] - a[0]) / length;
            dots.push_back(
                g.point(a[0] + t * (b[0] - a[0]) + offset * nx, a[1] + t * (b[1] - a[1]) + offset * ny));
            g.detail = std::min(g.detail, offset);
        }
    }
    g.isolated(dots, 1);
    return g;
}

} // namespace

int GeometryText::point(double x, double y, double z)
{
    points.push_back({single(x), single(y), single(z)});
    return int(points.size());
}

void GeometryText::chain(const std::vector<int>& ids, const std::vector<int>& zones)
{
    chains.push_back(ids);
    std::ostringstream record;
    record << ids.size();
    for (int id : ids) {
        record << ' ' << id;
    }
    record << " 100 " << zones.size();
    for (int z : zones) {
        record << ' ' << z;
    }
    borders.push_back(record.str());
}

void GeometryText::loop(const std::vector<int>& ids, const std::vector<int>& zones)
{
    std::vector<int> closed = ids;
    closed.push_back(ids.front());
    chain(closed, zones);
}

void GeometryText::isolated(const std::vector<int>& ids, int zone)
{
    std::ostringstream record;
    record << ids.size();
    for (int id : ids) {
        record << ' ' << id;
    }
    record << " 99 1 " << zone;
    borders.push_back(record.str());
}

std::string GeometryText::text() const
{
    std::ostringstream out;
    out.precision(9);
    out << "DEBXYZ\n" << points.size() << ' ' << dimension << '\n';
    for (const auto& p : points) {
        for (int k = 0; k < dimension; ++k) {
            out << ' ' << p[std::size_t(k)];
        }
        out << '\n';
    }
    out << "FINXYZ\nDEBILM\n" << borders.size() << '\n';
    for (const auto& b : borders) {
        out << b << '\n';
    }
    out << "FINILM\n";
    return out.str();
}

void GeometryText::scale(double factor)
{
    for (auto& p : points) {
        for (double& c : p) {
            c = single(c * factor);
        }
    }
    detail *= factor;
    for (auto& place : sizes.places) {
        place = {single(place[0] * factor), single(place[1] * factor)};
    }
    for (auto& progression : sizes.progressions) {
        progression.size = single(progression.size * factor);
        progression.step = progression.type == 2 ? single(progression.step * factor) : progression.step;
    }
    for (double& size : sizes.atPoints) {
        size = single(size * factor);
    }
}

void GeometryText::shift(double dx, double dy)
{
    for (auto& p : points) {
        p[0] = single(p[0] + dx);
        p[1] = single(p[1] + dy);
    }
    for (auto& place : sizes.places) {
        place = {single(place[0] + dx), single(place[1] + dy)};
    }
}

std::string SizeText::text() const
{
    std::ostringstream out;
    out.precision(9);
    if (kind == Sizes::atPoints) {
        out << "* GRANDEUR 1.0.0  (12 AOUT 97)\n* sizes at the points\nDEBGRD\n " << atPoints.size() << " 1\n";
        for (std::size_t i = 0; i < atPoints.size(); ++i) {
            out << "  " << i + 1 << ' ' << atPoints[i] << '\n';
        }
        out << "FINGRD\n";
    } else if (kind == Sizes::density) {
        out << "DEBGEO\n" << places.size() << " 2\n";
        for (std::size_t i = 0; i < places.size(); ++i) {
            out << i + 1 << ' ' << places[i][0] << ' ' << places[i][1] << '\n';
        }
        out << "FINGEO\nDEBSUI\n" << progressions.size() << '\n';
        for (std::size_t i = 0; i < progressions.size(); ++i) {
            const Progression& p = progressions[i];
            out << i + 1 << ' ' << p.type << ' ' << p.size << ' ' << p.step << '\n';
        }
        out << "FINSUI\nDEBDEN\n" << concentrations.size() << ' ' << generation << '\n';
        for (std::size_t i = 0; i < concentrations.size(); ++i) {
            const Concentration& c = concentrations[i];
            out << i + 1 << ' ' << c.object << ' ' << (c.object == 1 ? 2 : 3) << ' ' << c.progression << ' ' << c.first;
            if (c.object != 1) {
                out << ' ' << c.second;
            }
            out << '\n';
        }
        out << "FINDEN\n";
    }
    return out.str();
}

const char* SizeText::extension() const
{
    return kind == Sizes::density ? ".den" : (kind == Sizes::atPoints ? ".grd" : "");
}

void drawSizes(GeometryText& geometry, Sizes kind, uint64_t seed)
{
    SizeText& sizes = geometry.sizes;
    sizes = SizeText{};
    sizes.kind = kind;
    // the mean length of the border edges at each point, and over the whole geometry
    const std::size_t n = geometry.points.size();
    std::vector<double> sum(n, 0.0);
    std::vector<int> count(n, 0);
    double total = 0.0;
    int edges = 0;
    for (const auto& chain : geometry.chains) {
        for (std::size_t i = 1; i < chain.size(); ++i) {
            const std::size_t a = std::size_t(chain[i - 1] - 1);
            const std::size_t b = std::size_t(chain[i] - 1);
            const double length = distance(geometry.points[a], geometry.points[b]);
            sum[a] += length, sum[b] += length;
            ++count[a], ++count[b];
            total += length, ++edges;
        }
    }
    const double mean = edges > 0 ? total / edges : 1.0;
    Random random(seed * 104729 + uint64_t(kind));
    if (kind == Sizes::atPoints) {
        for (std::size_t p = 0; p < n; ++p) {
            const double local = count[p] > 0 ? sum[p] / count[p] : mean;
            sizes.atPoints.push_back(single(local * random.between(0.4, 1.6)));
        }
    } else if (kind == Sizes::density && n > 0) {
        const int concentrations = random.integer(1, 3);
        for (int c = 0; c < concentrations; ++c) {
            SizeText::Concentration concentration;
            concentration.object = n > 1 ? random.integer(1, 3) : 1;
            concentration.progression = c + 1;
            const auto place = [&](int point) {
                const auto& p = geometry.points[std::size_t(point - 1)];
                sizes.places.push_back({p[0], p[1]});
                return int(sizes.places.size());
            };
            const int first = random.integer(1, int(n));
            int second = random.integer(1, int(n));
            for (std::size_t tries = 0; concentration.object != 1 && tries < n &&
                                        geometry.points[std::size_t(second - 1)] == geometry.points[std::size_t(first - 1)];
                 ++tries) {
                second = second % int(n) + 1; // an axis or a segment needs two places
            }
            concentration.first = place(first);
            concentration.second = concentration.object == 1 ? 0 : place(second);
            SizeText::Progression progression;
            progression.type = random.uniform() < 0.75 ? 1 : 2;
            progression.size = single(mean * random.between(0.3, 1.5));
            progression.step = single(progression.type == 1 ? random.between(1.1, 1.6)
                                                            : progression.size * random.between(0.1, 0.5));
            sizes.concentrations.push_back(concentration);
            sizes.progressions.push_back(progression);
        }
        sizes.generation = random.integer(1, 3);
    }
}

double GeometryText::extent() const
{
    double low[2] = {std::numeric_limits<double>::max(), std::numeric_limits<double>::max()};
    double high[2] = {-low[0], -low[1]};
    for (const auto& p : points) {
        for (int k = 0; k < 2; ++k) {
            low[k] = std::min(low[k], p[std::size_t(k)]);
            high[k] = std::max(high[k], p[std::size_t(k)]);
        }
    }
    return std::max(high[0] - low[0], high[1] - low[1]);
}

uint64_t Random::next()
{
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double Random::uniform() { return double(next() >> 11) * 0x1.0p-53; }

int Random::integer(int low, int high) { return low + int(next() % uint64_t(high - low + 1)); }

const char* shapeName(Shape shape)
{
    switch (shape) {
    case Shape::star: return "star";
    case Shape::holes: return "holes";
    case Shape::strips: return "strips";
    case Shape::staircase: return "staircase";
    case Shape::clusteredSquare: return "clustered square";
    case Shape::closePoints: return "close points";
    case Shape::nearBorder: return "near border";
    }
    return "?";
}

const char* sizesName(Sizes sizes)
{
    switch (sizes) {
    case Sizes::none: return "default sizes";
    case Sizes::density: return "density file";
    case Sizes::atPoints: return "sizes at the points";
    }
    return "?";
}

const char* placementName(Placement placement)
{
    switch (placement) {
    case Placement::drawn: return "as drawn";
    case Placement::small: return "scaled by 1e-4";
    case Placement::far: return "far from the origin";
    }
    return "?";
}

GeometryText drawShape(Shape shape, uint64_t seed, int size)
{
    Random random(seed * 7919 + uint64_t(shape));
    size = std::max(size, 1);
    switch (shape) {
    case Shape::star: return star(random, std::max(size, 3));
    case Shape::holes: return holes(random, size);
    case Shape::strips: return strips(random, size);
    case Shape::staircase: return staircase(random, size);
    case Shape::clusteredSquare: return clusteredSquare(random, size);
    case Shape::closePoints: return closePoints(random, size);
    case Shape::nearBorder: return nearBorder(random, size);
    }
    return GeometryText{};
}

void place(GeometryText& geometry, Placement placement)
{
    if (placement == Placement::small) {
        geometry.scale(1e-4);
    } else if (placement == Placement::far) {
        const double distance = geometry.detail * 16384.0;
        geometry.shift(distance, -0.75 * distance);
    }
    // points a few units of the last place apart may have become one: apart again by a unit
    std::vector<std::size_t> order(geometry.points.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return geometry.points[a] < geometry.points[b]; });
    for (std::size_t i = 1; i < order.size(); ++i) {
        auto& p = geometry.points[order[i]];
        if (p == geometry.points[order[i - 1]]) {
            p[0] = double(std::nextafter(float(p[0]), std::numeric_limits<float>::max()));
        }
    }
}

} // namespace tesmo::testing
