#pragma once
// The orthonormal frame of a plane of points in space, and the plane coordinates of the points.
//
// The frame is an origin O on the plane and a 3x3 matrix A (stored by columns, see m33at)
// whose rows are two unit vectors u, v of the plane and its unit normal n: A (p - O) gives
// the plane coordinates of p in its first two entries. The inverse frame, m33inv(A), maps
// (x, y, 0) back to p - O.
#include "support/tables.hpp"

#include <cstdint>

namespace tesmo {

/// Plane coefficients smaller than this in absolute value are taken as 0 before the frame is
/// built, so that a plane nearly parallel to an axis gets axis-aligned frame vectors; the last
/// coefficient, a length, is compared with this times the largest coordinate of the points.
inline constexpr float kPlaneCoefficientZero = 1e-7f;

/// Builds the frame of the plane fitted through the selected rows of `points` (width 3; a list
/// of m node numbers, or the nodes first ... last when m < 1), writes its origin (3 reals) and
/// matrix A (9 reals), and row i of `plane2d` = the first w = plane2d.width() entries of
/// A (p_i - O), p_i the i-th selected point. Returns 0, -1 for a selection `plmcar` refuses,
/// a degenerate plane or w above 3, -2 when `plane2d` has fewer rows than selected points.
[[nodiscard]] int rppncr(Vec<const int32_t> nodes, int32_t m, int32_t first, int32_t last, Rows<const float> points,
                         float* origin, float* frame, Rows<float> plane2d);

/// The frame vectors of a plane: a unit vector u of the plane, v = n x u normalised, and
/// the plane's normal n copied. Returns 0, or -1 when u or v comes out null.
[[nodiscard]] int m33dpn(const float* plane, float* u, float* v, float* n);

/// A vector orthogonal to `normal`, built by crossing out its last negligible component
/// (not normalised).
void vedupn(const float* normal, float* u);

} // namespace tesmo
