#pragma once
// Triangulation of a polygon of the plane whose smallest triangle quality is the largest
// (best smallest quality), by a depth-first branch and bound over the apex of the triangle
// standing on the first side of each sub-polygon.
//
// Work layout of trpls2 for a polygon of n vertices:
//   integers  the result (3 (n - 2) values: the n - 2 triangles), the 7 field arrays of
//             PolygonSearch (H entries each), then H storage slots of 4 n - 6 values (the
//             record's sub-polygon, n, then its best list, 3 (n - 2));
//   reals     the best values (H), then the triangle qualities (H);
//   H = min((integers - 3 n + 6) div (4 n + 2), reals div 2). A search uses at most 2 n - 5
//   records (1 for a triangle); trpls2Need turns that into sizes.
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>

namespace tesmo {

/// Bound of the whole polygon: below every quality, so that its first apex is always taken.
inline constexpr float kWholePolygonBound = -1.0f;

/// A triangle quality: larger is better; called with the three corner points (2 reals each).
using TriangleQuality = float (*)(const float* p1, const float* p2, const float* p3);

/// Quality of the triangle p1 p2 p3: twice its signed area over its largest squared edge (about
/// 0.866 when equilateral); 0 when clockwise, flat or made of coincident points.
float trrilf(const float* p1, const float* p2, const float* p3);

/// The record arrays of one polygon search, carved from the work arrays by trpls2. Record r
/// (1..H) has one entry in each field array, a storage slot of `slot` integers starting at
/// (r - 1) slot + 1 (its sub-polygon, up to n vertices, then its best list, up to 3 (n - 2)
/// nodes) and two reals: its best value and the quality of the triangle of its current apex.
struct PolygonSearch {
    Vec<int32_t> parent;      ///< record whose sub-polygon this one is; 0 for the whole polygon
    Vec<int32_t> vertexCount; ///< number m of vertices w1..wm of the sub-polygon
    Vec<int32_t> apex;        ///< position j of the apex wj being tried (2 before the first)
    Vec<int32_t> stage;       ///< choosing an apex, left child running, right child running
    Vec<int32_t> leftChild;   ///< record of the sub-polygon w2..wj, 0 when it has 2 vertices
    Vec<int32_t> rightChild;  ///< record of the sub-polygon wj..wm, w1, 0 when it has 2 vertices
    Vec<int32_t> listed;      ///< 1 when the best list holds a triangulation
    Vec<int32_t> storage;     ///< H slots of `slot` integers
    int32_t slot = 0;
    Vec<float> bestValue;       ///< best smallest quality found, starting at the bound
    Vec<float> triangleQuality; ///< quality of (w1, w2, wj) for the current apex
    /// Number H of records: the shortest of the arrays.
    int32_t records() const;
};

/// The search over the counter-clockwise polygon with the records of `search`: the n - 2
/// triangles of the best list go to `triangles`, its smallest quality to `best`. Returns 0, -1
/// for a bad polygon or nothing above the bound, -2 when the records run out or a table is short.
[[nodiscard]] int trplsi(Vec<const int32_t> polygon, Rows<const float> COORD, TriangleQuality quality,
                         const PolygonSearch& search, Vec<int32_t> triangles, float& best);

/// Triangulates the counter-clockwise polygon (n >= 3 nodes) with the best smallest quality; the
/// n - 2 triangles are left at the start of `iwork`. Sizes: see the layout above. Returns 0, -1
/// for fewer than 3 nodes or a node without coordinates, -2 when H <= 0, reals < 2 n or the
/// records run out.
[[nodiscard]] int trpls2(Vec<const int32_t> polygon, Rows<const float> COORD, Vec<int32_t> iwork, Vec<float> rwork,
                         float& best, TriangleQuality quality = trrilf);

/// Integers and reals with which trpls2 never runs out of records for a polygon of n vertices.
void trpls2Need(int32_t n, int64_t& integers, int64_t& reals);

} // namespace tesmo
