#pragma once
// Delaunay triangulation of a set of points in the plane: the points, normalised into
// [-1, 1] x [-1, 1], are inserted one by one into the fan of an enclosing regular polygon,
// which is removed at the end; what remains triangulates the points.
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>

namespace tesmo {

/// Vertices of the enclosing regular polygon.
inline constexpr int32_t kPolygonVertices = 50;
/// Radius of the enclosing polygon (normalised units): twice the largest extent of the
/// square [-1, 1] x [-1, 1] the points are normalised into.
inline constexpr float kPolygonRadius = 4.0f;
/// A full turn (radians), as the polygon vertices are placed.
inline constexpr float kFullTurn = 6.2831855f;
/// Consecutive passes over the rejected points without any insertion before giving up.
inline constexpr int32_t kFruitlessPasses = 11;
/// Longest strip of triangles crossed by a missing hull edge that the border recovery takes
/// at once; a longer one is restored by exchanging diagonals, since the search of the best
/// triangulation of the strip's polygons grows exponentially with their size.
inline constexpr int32_t kDirectStrip = 8;
/// Smallest integer work area of the triangulation.
inline constexpr int32_t kMinimumIntegerWork = 310;

/// Elements the tables of a triangulation of J points need: 2J + 48 triangles inside the
/// polygon plus the two spare rows of an insertion.
constexpr int64_t trnupoElements(int32_t J) { return 2 * int64_t(J) + kPolygonVertices; }
/// Reals the real work area of a triangulation of J points needs: the normalised
/// coordinates of the points and polygon vertices, then the sphere table.
constexpr int64_t trnupoReals(int32_t J)
{
    return 2 * (int64_t(J) + kPolygonVertices) + 3 * trnupoElements(J);
}

/// Writes the enclosing polygon of `vertexCount` vertices of radius `radius` about the
/// origin as nodes J+1..J+vertexCount of `normalised` (vertex i at angle i 6.2831855 / n),
/// and its fan about node 1: element i = (1, J+i, J+i+1), the last closing on J+1, with
/// face 1 on element i-1, face 2 outer, face 3 on element i+1; NOETRI(J+i) = i, NOETRI(1) = 1.
/// NBE = vertexCount. Returns 0, -1 for fewer than 3 vertices ("IL FAUT 3 POINTS") or J < 1,
/// -2 when a table is too small.
[[nodiscard]] int t2isp(int32_t J, int32_t vertexCount, float radius, Rows<float> normalised, Rows<int32_t> ITRNOE,
                        Rows<int32_t> ITRTRI, Vec<int32_t> NOETRI, int32_t& NBE);

/// Triangulates the convex hull of points 1..J of COORD (2 coordinates each, never changed)
/// into ITRNOE, ITRTRI (0 on the outer boundary, no border marks) and NOETRI,
/// counter-clockwise, NBE triangles; hull edges the insertion missed are restored before the
/// enclosing polygon goes. `work` holds the list of points to insert (J entries) and the lists
/// of each insertion, then of the recovery; `realWork` the normalised coordinates and the
/// sphere table (trnupoReals). Points still left out after 11 fruitless passes, or cut off
/// with the polygon, make the triangulation start again with exact decisions (trnupx).
/// Returns 0; -1 for a table of fewer than 3 slots per row ("EN 2D SEULEMENT"), points on a
/// line parallel to an axis ("APPEL PTINIT"), a point that coincides with another ("BOUCLE
/// REJET", the others triangulated), a point left in no triangle (points all on one line) or a
/// damaged structure; -2 when `work` holds fewer than 310 entries or J + the lists of an
/// insertion ("ITVL TROP PETIT"), the element tables fewer than 2J + 50 rows, NOETRI fewer than
/// J + 50 entries or `realWork` too small (`shortage`, when given, tells which of `work` and
/// `realWork` ran short, the polygon search of the hull's recovery included).
[[nodiscard]] int trnupo(Rows<const float> COORD, int32_t J, Rows<int32_t> ITRNOE, Rows<int32_t> ITRTRI,
                         Vec<int32_t> NOETRI, int32_t& NBE, Vec<int32_t> work, Vec<float> realWork,
                         WorkShortage* shortage = nullptr);

/// The same triangulation with exact decisions throughout, for points on which trnupo fails or
/// leaves a triangle that turns clockwise in the coordinates given (its normalised copy is
/// rounded): the points as given and the enclosing polygon about their box, each point inserted
/// by exact location and diagonal exchanges, the hull edges restored and the polygon removed
/// as by trnupo. Same arguments, room and codes as trnupo; a point that coincides with another
/// is left out ("BOUCLE REJET") and fails it.
[[nodiscard]] int trnupx(Rows<const float> COORD, int32_t J, Rows<int32_t> ITRNOE, Rows<int32_t> ITRTRI,
                         Vec<int32_t> NOETRI, int32_t& NBE, Vec<int32_t> work, Vec<float> realWork,
                         WorkShortage* shortage = nullptr);

} // namespace tesmo
