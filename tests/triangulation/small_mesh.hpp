#pragma once
// A small hand-made triangulation with its circles, sized for insertions: the tables hold
// `room` rows more than the elements, followed by sentinels.
#include "support/tables.hpp"
#include "topology/st_topologie.hpp"
#include "triangulation/d2_sph2d.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace tesmo::testing {

struct SmallMesh {
    static constexpr int32_t kGuard = 8;
    static constexpr int32_t kMark = -555;

    SmallMesh(std::vector<float> points, const std::vector<std::vector<int32_t>>& triangles, int32_t room = 2,
              int32_t workSize = 64)
        : coord(std::move(points)), nodes(int32_t(coord.size() / 2)), NBE(int32_t(triangles.size())),
          rows(NBE + room), nodeRows(std::size_t(3 * (rows + kGuard)), kMark),
          neighbourRows(std::size_t(3 * (rows + kGuard)), kMark), noetri(std::size_t(nodes + kGuard), kMark),
          sphereRows(std::size_t(3 * (rows + kGuard)), -1.0f), work(std::size_t(workSize + kGuard), kMark),
          workSize_(workSize)
    {
        for (int32_t e = 1; e <= NBE; ++e) {
            for (int32_t k = 1; k <= 3; ++k) {
                ITRNOE()(e, k) = triangles[std::size_t(e - 1)][std::size_t(k - 1)];
            }
        }
        std::vector<int32_t> scratch(1024);
        EXPECT_EQ(smacre(2, ITRNOE(), NBE, nodes, ITRNOE(), ITRTRI(), NOETRI(),
                         Vec<int32_t>(scratch.data(), int32_t(scratch.size()))),
                  0);
        for (int32_t e = 1; e <= NBE; ++e) {
            EXPECT_EQ(spcerc(ITRNOE(), e, COORD(), SPHERES()), 0);
        }
    }
    Rows<const float> COORD() const { return Rows<const float>(coord.data(), 2, nodes); }
    Rows<int32_t> ITRNOE() { return Rows<int32_t>(nodeRows.data(), 3, rows); }
    Rows<int32_t> ITRTRI() { return Rows<int32_t>(neighbourRows.data(), 3, rows); }
    Vec<int32_t> NOETRI() { return Vec<int32_t>(noetri.data(), nodes); }
    Rows<float> SPHERES() { return Rows<float>(sphereRows.data(), 3, rows); }
    Vec<int32_t> WORK() { return Vec<int32_t>(work.data(), workSize_); }
    std::vector<int32_t> nodesOf(int32_t e) { return {ITRNOE().row(e), ITRNOE().row(e) + 3}; }
    std::vector<int32_t> neighboursOf(int32_t e) { return {ITRTRI().row(e), ITRTRI().row(e) + 3}; }
    /// Makes the circle of element e contain the point x (a circle centred on x through e's
    /// third node) or, with `inside` false, leave it out.
    void setCircle(int32_t e, const float* x, bool inside)
    {
        const float* p3 = COORD().row(ITRNOE()(e, 3));
        SPHERES()(e, 1) = inside ? 2.0f * (x[0] - p3[0]) : 0.0f;
        SPHERES()(e, 2) = inside ? 2.0f * (x[1] - p3[1]) : 0.0f;
    }
    bool guardsIntact() const
    {
        auto intact = [](const auto& values, int32_t from, auto mark) {
            return std::all_of(values.begin() + from, values.end(), [&](auto v) { return v == mark; });
        };
        return intact(nodeRows, 3 * rows, kMark) && intact(neighbourRows, 3 * rows, kMark) &&
               intact(sphereRows, 3 * rows, -1.0f) && intact(noetri, nodes, kMark) && intact(work, workSize_, kMark);
    }

    std::vector<float> coord;
    int32_t nodes;
    int32_t NBE;
    int32_t rows;
    std::vector<int32_t> nodeRows;
    std::vector<int32_t> neighbourRows;
    std::vector<int32_t> noetri;
    std::vector<float> sphereRows;
    std::vector<int32_t> work;

private:
    int32_t workSize_;
};

/// Two triangles T = (0,0) (2,0) (2,2) and U = (0,0) (2,2) (-1,3) sharing the edge 1-3, and
/// node 5 at (0,2): on T's circle (centre (1,1)) and inside U.
inline SmallMesh twoTriangles(int32_t room = 2, int32_t workSize = 64)
{
    return SmallMesh({0, 0, 2, 0, 2, 2, -1, 3, 0, 2}, {{1, 2, 3}, {1, 3, 4}}, room, workSize);
}

} // namespace tesmo::testing
