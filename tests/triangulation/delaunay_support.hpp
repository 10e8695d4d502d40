#pragma once
// Owned tables for the Delaunay tests, point sets, and independent checks of a result in
// double precision: orientation, empty circles, and the area against the convex hull.
#include "support/tables.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace tesmo::testing {

/// Value written around and after the views, to show that nothing is written past them.
inline constexpr int32_t kSentinel = 987654321;
inline constexpr float kRealSentinel = 12345.5f;

/// The tables of a triangulation of J points, sized as trnupo asks, each followed by a
/// guard zone of sentinels that no routine may touch.
struct DelaunayTables {
    explicit DelaunayTables(std::vector<float> points, int32_t extraRows = 0, int32_t workSize = -1)
        : coord(std::move(points)), J(int32_t(coord.size() / 2)), rows(2 * J + 50 + extraRows),
          nodeRows(std::size_t(3) * std::size_t(rows + kGuard), kSentinel),
          neighbourRows(std::size_t(3) * std::size_t(rows + kGuard), kSentinel),
          noetri(std::size_t(J + 50 + kGuard), kSentinel),
          work(std::size_t(workSize < 0 ? 9 * J + 310 : workSize) + kGuard, kSentinel),
          reals(std::size_t(2 * (J + 50) + 3 * rows + kGuard), kRealSentinel)
    {
    }
    static constexpr int32_t kGuard = 16;

    Rows<const float> COORD() const { return Rows<const float>(coord.data(), 2, J); }
    Rows<int32_t> ITRNOE() { return Rows<int32_t>(nodeRows.data(), 3, rows); }
    Rows<int32_t> ITRTRI() { return Rows<int32_t>(neighbourRows.data(), 3, rows); }
    Vec<int32_t> NOETRI() { return Vec<int32_t>(noetri.data(), J + 50); }
    Vec<int32_t> WORK() { return Vec<int32_t>(work.data(), int32_t(work.size()) - kGuard); }
    Vec<float> REALS() { return Vec<float>(reals.data(), int32_t(reals.size()) - kGuard); }
    /// Normalised coordinates written by trnupo (points, then polygon vertices).
    Rows<float> normalised() { return Rows<float>(reals.data(), 2, J + 50); }
    Rows<float> spheres() { return Rows<float>(reals.data() + 2 * (J + 50), 3, rows); }

    /// True when every guard zone still holds its sentinels.
    bool guardsIntact() const
    {
        auto intact = [](const auto& values, std::size_t from, auto sentinel) {
            return std::all_of(values.begin() + std::ptrdiff_t(from), values.end(),
                               [&](auto v) { return v == sentinel; });
        };
        return intact(nodeRows, std::size_t(3) * std::size_t(rows), kSentinel) &&
               intact(neighbourRows, std::size_t(3) * std::size_t(rows), kSentinel) &&
               intact(noetri, std::size_t(J + 50), kSentinel) && intact(work, work.size() - kGuard, kSentinel) &&
               intact(reals, reals.size() - kGuard, kRealSentinel);
    }

    std::vector<float> coord;
    int32_t J;
    int32_t rows;
    std::vector<int32_t> nodeRows;
    std::vector<int32_t> neighbourRows;
    std::vector<int32_t> noetri;
    std::vector<int32_t> work;
    std::vector<float> reals;
};

inline std::vector<float> randomPoints(int32_t count, uint32_t seed, float low = -3.0f, float high = 7.0f)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> uniform(low, high);
    std::vector<float> points;
    for (int32_t i = 0; i < 2 * count; ++i) {
        points.push_back(uniform(random));
    }
    return points;
}

/// Nodes of an nx by ny grid of unit squares (many co-circular quadruples), in a shuffled
/// order when a seed is given.
inline std::vector<float> gridPoints(int32_t nx, int32_t ny, uint32_t seed = 0)
{
    std::vector<std::pair<float, float>> nodes;
    for (int32_t j = 0; j <= ny; ++j) {
        for (int32_t i = 0; i <= nx; ++i) {
            nodes.emplace_back(float(i), float(j));
        }
    }
    if (seed != 0) {
        std::mt19937 random(seed);
        std::shuffle(nodes.begin(), nodes.end(), random);
    }
    std::vector<float> points;
    for (const auto& [x, y] : nodes) {
        points.push_back(x);
        points.push_back(y);
    }
    return points;
}

/// Points on a circle, in order round it.
inline std::vector<float> circlePoints(int32_t count, float radius = 10.0f)
{
    std::vector<float> points;
    for (int32_t i = 0; i < count; ++i) {
        const double angle = 2.0 * 3.14159265358979 * double(i) / double(count);
        points.push_back(float(5.0 + double(radius) * std::cos(angle)));
        points.push_back(float(-2.0 + double(radius) * std::sin(angle)));
    }
    return points;
}

/// Twice the signed area of (a, b, c) in double precision.
inline double cross(const float* a, const float* b, const float* c)
{
    const double ax = a[0], ay = a[1], bx = b[0], by = b[1], cx = c[0], cy = c[1];
    return (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
}

/// Area of the convex hull of the points (gift wrapping from the lowest point, double).
inline double convexHullArea(Rows<const float> points, int32_t count)
{
    auto at = [&](int32_t i) { return std::pair<double, double>(points(i, 1), points(i, 2)); };
    auto turn = [&](int32_t o, int32_t a, int32_t b) {
        return (at(a).first - at(o).first) * (at(b).second - at(o).second) -
               (at(a).second - at(o).second) * (at(b).first - at(o).first);
    };
    int32_t start = 1;
    for (int32_t i = 2; i <= count; ++i) {
        start = at(i) < at(start) ? i : start;
    }
    double area = 0.0;
    int32_t current = start;
    do {
        int32_t next = current == 1 ? 2 : 1;
        for (int32_t i = 1; i <= count; ++i) {
            const double t = turn(current, next, i);
            const auto d = [&](int32_t j) {
                return std::hypot(at(j).first - at(current).first, at(j).second - at(current).second);
            };
            if (t < 0.0 || (t == 0.0 && d(i) > d(next))) {
                next = i; // i lies to the right of current -> next, or further on the same line
            }
        }
        area += at(current).first * at(next).second - at(next).first * at(current).second;
        current = next;
    } while (current != start);
    return 0.5 * area;
}

/// Checks the triangles 1..NBE over the points 1..count: each counter-clockwise and not
/// flat, and no point strictly inside its circle beyond a relative tolerance. Answers ""
/// when all hold, else the first faults.
inline std::string checkDelaunay(Rows<const int32_t> ITRNOE, int32_t NBE, Rows<const float> points, int32_t count,
                                 double tolerance = 1e-5)
{
    std::ostringstream faults;
    int reported = 0;
    for (int32_t e = 1; e <= NBE && reported < 5; ++e) {
        const float* a = points.row(ITRNOE(e, 1));
        const float* b = points.row(ITRNOE(e, 2));
        const float* c = points.row(ITRNOE(e, 3));
        if (!(cross(a, b, c) > 0.0)) {
            faults << "element " << e << " not counter-clockwise; ";
            ++reported;
            continue;
        }
        const double cx = c[0], cy = c[1];
        const double ax = double(a[0]) - cx, ay = double(a[1]) - cy;
        const double bx = double(b[0]) - cx, by = double(b[1]) - cy;
        const double d = 2.0 * (ax * by - ay * bx);
        const double zx = cx + ((ax * ax + ay * ay) * by - (bx * bx + by * by) * ay) / d;
        const double zy = cy + ((bx * bx + by * by) * ax - (ax * ax + ay * ay) * bx) / d;
        const double r2 = (zx - cx) * (zx - cx) + (zy - cy) * (zy - cy);
        for (int32_t v = 1; v <= count; ++v) {
            const double dx = double(points(v, 1)) - zx, dy = double(points(v, 2)) - zy;
            if (r2 - (dx * dx + dy * dy) > tolerance * r2) {
                faults << "point " << v << " inside the circle of element " << e << "; ";
                ++reported;
                break;
            }
        }
    }
    return faults.str();
}

/// Sum of the triangle areas in double precision.
inline double meshArea(Rows<const int32_t> ITRNOE, int32_t NBE, Rows<const float> points)
{
    double area = 0.0;
    for (int32_t e = 1; e <= NBE; ++e) {
        area += 0.5 * cross(points.row(ITRNOE(e, 1)), points.row(ITRNOE(e, 2)), points.row(ITRNOE(e, 3)));
    }
    return area;
}

} // namespace tesmo::testing
