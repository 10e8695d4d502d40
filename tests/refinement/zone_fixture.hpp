#pragma once
// Zones of the plane for the refinement tests: triangulated from their border loops with room
// for the refinement, with their checks; a size function graded about a point; random squares
// cut along their sides.
#include "driver/api_triangulation.hpp"
#include "geometry/cg_epsi.hpp"
#include "refinement/refinement.hpp"
#include "support/structure_check.hpp"
#include "topology/st_generic.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace tesmo::testing {

/// 1/sqrt(3): an equilateral triangle of side h has the circumradius h / sqrt(3).
inline constexpr float kEquilateral = 0.57735026f;

inline float circleRadius(Rows<const float> circles, int32_t e) { return 0.5f * std::hypot(circles(e, 1), circles(e, 2)); }

/// Wanted size h0 + slope |centre - (x, y)| from the reals (h0, slope, x, y): ratio
/// h / sqrt(3) over the circumradius, as for concentrations.
inline int gradedSize(int32_t e, Rows<const int32_t> nodes, Rows<const int32_t>, Rows<const float> coord,
               Rows<float> circles, Vec<const int32_t>, Vec<const float> reals, float& ratio, float& wanted)
{
    const int32_t last = nodes(e, 3);
    const float cx = coord(last, 1) + 0.5f * circles(e, 1) - reals(3);
    const float cy = coord(last, 2) + 0.5f * circles(e, 2) - reals(4);
    wanted = reals(1) + reals(2) * std::sqrt(cx * cx + cy * cy);
    const float radius = circleRadius(circles, e);
    if (!(radius > 0.0f)) {
        return kDataError;
    }
    ratio = wanted * kEquilateral / radius;
    return kOk;
}

/// A zone triangulated from its borders (loops of points, the outer one counter-clockwise),
/// with room for `nmax` nodes and `rows` elements, ready for the refinement.
struct Zone {
    Zone(const std::vector<std::vector<float>>& loops, int32_t nmax, int32_t rows)
        : coord(std::size_t(2 * nmax), 0.0f), itrnoe(std::size_t(3 * (rows + 100)), 0),
          itrtri(std::size_t(3 * (rows + 100)), 0), noetri(std::size_t(nmax + 100), 0), work(200000, 0),
          reals(std::size_t(2 * nmax + 6 * rows + 1000), 0.0f), sizes(std::size_t(nmax), 0.0f)
    {
        icgeps();
        stinit();
        std::vector<int32_t> edges;
        int32_t n = 0;
        for (const auto& loop : loops) {
            const int32_t first = n + 1;
            for (std::size_t i = 0; i < loop.size(); i += 2) {
                coord[std::size_t(2 * n)] = loop[i];
                coord[std::size_t(2 * n + 1)] = loop[i + 1];
                ++n;
                edges.push_back(n);
                edges.push_back(n == first + int32_t(loop.size() / 2) - 1 ? first : n + 1);
            }
        }
        // the triangulation needs room beyond the refinement's for its enclosing polygon
        ZoneElements zone;
        zone.ITRNOE = Rows<int32_t>(itrnoe.data(), 3, rows + 100);
        zone.ITRTRI = Rows<int32_t>(itrtri.data(), 3, rows + 100);
        zone.NOETRI = Vec<int32_t>(noetri.data(), nmax + 100);
        const int code = mgtria(Rows<int32_t>(edges.data(), 2, int32_t(edges.size() / 2)), 1,
                                int32_t(edges.size() / 2), Rows<float>(coord.data(), 2, n), n, zone,
                                Vec<int32_t>(work.data(), int32_t(work.size())),
                                Vec<float>(reals.data(), int32_t(reals.size())));
        EXPECT_EQ(code, kOk);
        mesh = RefinementMesh{Rows<int32_t>(itrnoe.data(), 3, rows), Rows<int32_t>(itrtri.data(), 3, rows),
                              Vec<int32_t>(noetri.data(), nmax), zone.NBE, Rows<float>(coord.data(), 2, nmax), n,
                              nmax};
    }
    /// Every element counter-clockwise, the structure valid, and the area the domain's.
    std::string check(double area) const
    {
        const std::string structure = checkStructure(2, mesh.ITRNOE, mesh.ITRTRI, mesh.NBE,
                                                     Vec<const int32_t>(mesh.NOETRI.data(), mesh.nodes));
        if (!structure.empty()) {
            return structure;
        }
        double sum = 0.0;
        for (int32_t e = 1; e <= mesh.NBE; ++e) {
            const float* a = mesh.COORD.row(mesh.ITRNOE(e, 1));
            const float* b = mesh.COORD.row(mesh.ITRNOE(e, 2));
            const float* c = mesh.COORD.row(mesh.ITRNOE(e, 3));
            const double twice = (double(b[0]) - double(a[0])) * (double(c[1]) - double(a[1])) -
                                 (double(b[1]) - double(a[1])) * (double(c[0]) - double(a[0]));
            if (!(twice > 0.0)) {
                return "element " + std::to_string(e) + " is not counter-clockwise";
            }
            sum += 0.5 * twice;
        }
        return std::fabs(sum - area) <= 1e-4 * area ? "" : "area " + std::to_string(sum);
    }

    std::vector<float> coord;
    std::vector<int32_t> itrnoe;
    std::vector<int32_t> itrtri;
    std::vector<int32_t> noetri;
    std::vector<int32_t> work;
    std::vector<float> reals;
    std::vector<float> sizes;
    std::vector<float> densityReals;
    RefinementMesh mesh;
};

/// A side from (x0, y0) to (x1, y1) cut at `count` sorted random places, its end left out.
inline void side(std::vector<float>& loop, float x0, float y0, float x1, float y1, int count, std::mt19937& random)
{
    std::uniform_real_distribution<float> uniform(0.05f, 0.95f);
    std::vector<float> at{0.0f};
    for (int i = 0; i < count; ++i) {
        at.push_back(uniform(random));
    }
    std::sort(at.begin(), at.end());
    for (float t : at) {
        loop.push_back(x0 + t * (x1 - x0));
        loop.push_back(y0 + t * (y1 - y0));
    }
}

/// The unit square cut randomly along its sides, with a square hole of side 0.2 (clockwise)
/// when asked.
inline std::vector<std::vector<float>> randomSquare(std::mt19937& random, bool hole)
{
    std::uniform_int_distribution<int> cuts(4, 30);
    std::vector<float> outer;
    side(outer, 0, 0, 1, 0, cuts(random), random);
    side(outer, 1, 0, 1, 1, cuts(random), random);
    side(outer, 1, 1, 0, 1, cuts(random), random);
    side(outer, 0, 1, 0, 0, cuts(random), random);
    if (!hole) {
        return {outer};
    }
    return {outer, {0.4f, 0.4f, 0.4f, 0.6f, 0.6f, 0.6f, 0.6f, 0.4f}};
}

} // namespace tesmo::testing
