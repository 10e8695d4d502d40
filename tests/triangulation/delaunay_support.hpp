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

/// Area of the convex hull of the points (monotone chain, double precision).
inline double convexHullArea(Rows<const float> points, int32_t count)
{
    std::vector<std::pair<double, double>> p;
    for (int32_t i = 1; i <= count; ++i) {
        p.emplace_back(double(points(i, 1)), double(points(i, 2)));
    }
    std::sort(p.begin(), p.end());
    p.erase(std::unique(p.begin(), p.end()), p.end());
    auto turn = [](const auto& o, const auto& a, const auto& b) {
        return (a.first - o.first) * (b.second - o.second) - (a.second - o.second) * (b.first - o.first);
    };
    std::vector<std::pair<double, double>> hull(2 * p.size());
    std::size_t k = 0;
    for (std::size_t i = 0; i < p.size(); ++i) {
        while (k >= 2 && turn(hull[k - 2], hull[k - 1], p[i]) <= 0) {
            --k;
        }
        hull[k++] = p[i];
    }
    for (std::size_t i = p.size() - 1, t = k + 1; i > 0; --i) {
        while (k >= t && turn(hull[k - 2], hull[k - 1], p[i - 1]) <= 0) {
            --k;
        }
        hull[k++] = p[i - 1];
    }
    double area = 0.0;
    for (std::size_t i = 0; i + 1 < k; ++i) {
        area += hull[i].first * hull[i + 1].second - hull[i + 1].first * hull[i].second;
    }
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
