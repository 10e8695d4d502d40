#pragma once
// Small plane triangulations for the border recovery and exterior removal tests: points and
// counter-clockwise triangles turned into element-face tables by smacre, with the measures
// compared before and after (area, orientation, edges present, structure invariants).
#include "support/structure_check.hpp"
#include "support/mesh_fixture.hpp"
#include "topology/st_topologie.hpp"
#include "triangulation/m3_respect.hpp"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <vector>

namespace tesmo::testing {

using Point = std::array<float, 2>;

/// A triangulation of the plane held in vectors; NBE follows the routines that change it.
struct PlaneMesh {
    PlaneMesh(const std::vector<Point>& points, const std::vector<std::array<int32_t, 3>>& triangles)
        : nodeCount(int32_t(points.size())), NBE(int32_t(triangles.size())),
          tables(3, 3, elementRows(triangles), nodeCount, 1 << 16)
    {
        for (const Point& p : points) {
            coord.insert(coord.end(), p.begin(), p.end());
        }
        EXPECT_EQ(smacre(2, ITRNOE(), NBE, nodeCount, ITRNOE(), ITRTRI(), NOETRI(), tables.WORK()), kOk);
    }
    static std::vector<std::vector<int32_t>> elementRows(const std::vector<std::array<int32_t, 3>>& triangles)
    {
        std::vector<std::vector<int32_t>> rows;
        for (const auto& t : triangles) {
            rows.push_back({t[0], t[1], t[2]});
        }
        return rows;
    }
    Rows<const float> COORD() const { return Rows<const float>(coord.data(), 2, nodeCount); }
    Rows<int32_t> ITRNOE() { return tables.ITRNOE(); }
    Rows<int32_t> ITRTRI() { return tables.ITRTRI(); }
    Vec<int32_t> NOETRI() { return tables.NOETRI(); }

    /// Twice the signed area of element e.
    double doubleArea(int32_t e)
    {
        const float* p = COORD().row(ITRNOE()(e, 1));
        const float* q = COORD().row(ITRNOE()(e, 2));
        const float* r = COORD().row(ITRNOE()(e, 3));
        return (double(q[0]) - double(p[0])) * (double(r[1]) - double(p[1])) -
               (double(q[1]) - double(p[1])) * (double(r[0]) - double(p[0]));
    }
    double area()
    {
        double sum = 0.0;
        for (int32_t e = 1; e <= NBE; ++e) {
            sum += doubleArea(e) / 2.0;
        }
        return sum;
    }
    bool counterClockwise()
    {
        for (int32_t e = 1; e <= NBE; ++e) {
            if (!(doubleArea(e) > 0.0)) {
                return false;
            }
        }
        return true;
    }
    /// True when ab is a face of some element, either way round.
    bool hasEdge(int32_t a, int32_t b)
    {
        for (int32_t e = 1; e <= NBE; ++e) {
            for (int32_t k = 1; k <= 3; ++k) {
                const int32_t u = ITRNOE()(e, k);
                const int32_t v = ITRNOE()(e, k % 3 + 1);
                if ((u == a && v == b) || (u == b && v == a)) {
                    return true;
                }
            }
        }
        return false;
    }
    std::string check() { return checkStructure(2, ITRNOE(), ITRTRI(), NBE, NOETRI()); }
    /// Node rows 1..NBE, one after the other.
    std::vector<int32_t> rows() { return {tables.nodeRows.begin(), tables.nodeRows.begin() + 3 * NBE}; }

    int32_t nodeCount;
    int32_t NBE;
    std::vector<float> coord;
    Tables tables;
};

/// A grid of nx by ny unit squares, each cut by a random diagonal; node (i, j) at (i, j).
inline PlaneMesh gridMesh(int32_t nx, int32_t ny, uint32_t seed)
{
    std::mt19937 random(seed);
    const Grid grid(nx, ny, random);
    std::vector<Point> points;
    for (int32_t v = 1; v <= grid.nodeCount(); ++v) {
        points.push_back({grid.COORD()(v, 1), grid.COORD()(v, 2)});
    }
    std::vector<std::array<int32_t, 3>> triangles;
    for (const auto& t : grid.triangles) {
        triangles.push_back({t[0], t[1], t[2]});
    }
    return PlaneMesh(points, triangles);
}

/// Node number of grid point (i, j) in a grid nx squares wide.
inline int32_t gridNode(int32_t nx, int32_t i, int32_t j) { return j * (nx + 1) + i + 1; }

/// The node on segment ab test mesh: node 7 = (2, 0) lies on ab from node 1 to node 4, and
/// the triangle (2, 7, 3) has its other nodes on either side of the line.
inline PlaneMesh nodeOnSegment(float y7 = 0.0f)
{
    return PlaneMesh({{0, 0}, {1, -1}, {1, 1}, {4, 0}, {3.5f, -1}, {3, 1}, {2, y7}},
                     {{1, 2, 3}, {2, 7, 3}, {5, 3, 7}, {3, 5, 6}, {5, 4, 6}, {2, 5, 7}});
}

/// rf2rar of edge ab with ample work unless the integer or real work is limited.
inline int recover(PlaneMesh& mesh, int32_t a, int32_t b, int32_t& crossed, int32_t integers = 1 << 16,
                   int32_t reals = 1 << 12)
{
    std::vector<int32_t> iwork(std::size_t(integers), 0);
    std::vector<float> rwork(std::size_t(reals), 0.0f);
    const int32_t edge[2] = {a, b};
    return rf2rar(Vec<const int32_t>(edge, 2), mesh.ITRNOE(), mesh.ITRTRI(), mesh.NOETRI(), mesh.NBE, mesh.COORD(),
                  Vec<int32_t>(iwork.data(), integers), Vec<float>(rwork.data(), reals), crossed);
}

} // namespace tesmo::testing
