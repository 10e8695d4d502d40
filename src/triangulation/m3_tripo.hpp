#pragma once
// Triangulation of a polygon of the plane whose smallest triangle quality is the largest
// (best smallest quality): the triangulation the depth-first branch and bound over the apex
// of the triangle on the first side of each sub-polygon keeps, found by bounded tests and
// rebuilt from the top (see m3_tripo.cpp).
//
// Work layout of trpls2 for a polygon of n vertices, with K = min(n, kBoundLimit) and
// W = (n + 31) div 32:
//   integers  the result (3 (n - 2) values: the n - 2 triangles), the integer stack
//             (n (n + 1) + K (K + 1) + W), then the table keys (E entries of W + 2);
//   reals     the interval bounds (K (K - 1)), the real stack (n (n + 1) + K (K + 1)), then
//             the table bounds (2 E).
// E is the largest power of two not above trpls2TableEntries(n) that fits in what is left, or
// 0 when fewer than 16 fit (the search then runs without a table: slower, same result).
// trpls2Need gives the sizes with the full table.
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>

namespace tesmo {

/// Bound of the whole polygon: below every quality, so that its first apex is always taken.
inline constexpr float kWholePolygonBound = -1.0f;

/// Largest sub-polygon (vertices) whose value is bounded by the interval programme; its cost
/// is about three triangle qualities per triple of its vertices.
inline constexpr int32_t kBoundLimit = 512;

/// A triangle quality: larger is better; called with the three corner points (2 reals each).
using TriangleQuality = float (*)(const float* p1, const float* p2, const float* p3);

/// Quality of the triangle p1 p2 p3: twice its signed area over its largest squared edge (about
/// 0.866 when equilateral); 0 when clockwise, flat or made of coincident points.
float trrilf(const float* p1, const float* p2, const float* p3);

/// The work of one polygon search, carved from the work arrays by trpls2 (sizes above). The
/// stacks hold the sub-polygons being searched, each strictly smaller than the one before;
/// the table keeps the bounds found for a sub-polygon (E = `entries`: 0, or a power of two
/// from 4).
struct PolygonSearch {
    Vec<int32_t> integers;   ///< integer stack: at least n (n + 1) + K (K + 1) + W
    Vec<float> reals;        ///< real stack: at least n (n + 1) + K (K + 1)
    Vec<float> intervals;    ///< interval bounds of one sub-polygon: at least K (K - 1)
    Vec<int32_t> tableKeys;  ///< E keys of W + 2 integers
    Vec<float> tableBounds;  ///< E pairs of bounds
    int32_t entries = 0;     ///< E
    int32_t boundLimit = kBoundLimit; ///< K before the min with n; 0 searches without bounds
    int32_t plainTests = 0;  ///< searching tests run without bounds first; 0 uses them at once
};

/// Table entries trpls2 uses at most for a polygon of n vertices: 2 n n, as a power of two
/// from 64 to 65536.
int32_t trpls2TableEntries(int32_t n);

/// Searching tests trpls2 runs without interval bounds (16 n): long thin polygons finish
/// sooner without them, the others start again with them.
int32_t trpls2PlainTests(int32_t n);

/// The search over the counter-clockwise polygon with the work of `search`: the n - 2
/// triangles of the kept list go to `triangles`, its smallest quality to `best`. Returns 0, -1
/// for a bad polygon or nothing above the bound, -2 when a work area is short or the table is
/// neither empty nor a power of two from 4 entries.
[[nodiscard]] int trplsi(Vec<const int32_t> polygon, Rows<const float> COORD, TriangleQuality quality,
                         const PolygonSearch& search, Vec<int32_t> triangles, float& best);

/// Triangulates the counter-clockwise polygon (n >= 3 nodes) with the best smallest quality; the
/// n - 2 triangles are left at the start of `iwork`. Sizes: see the layout above. Returns 0, -1
/// for fewer than 3 nodes, a node without coordinates or nothing above the bound, -2 when the
/// work is shorter than the result, the stacks and the interval bounds (`shortage`, when
/// given, tells which: the integers, else the reals).
[[nodiscard]] int trpls2(Vec<const int32_t> polygon, Rows<const float> COORD, Vec<int32_t> iwork, Vec<float> rwork,
                         float& best, TriangleQuality quality = trrilf, WorkShortage* shortage = nullptr);

/// Integers and reals with which trpls2 runs a polygon of n vertices with its full table.
void trpls2Need(int32_t n, int64_t& integers, int64_t& reals);

} // namespace tesmo
