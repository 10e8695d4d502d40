#pragma once
// Least-squares plane through a selection of points in space, and the plane's origin.
//
// A plane is four reals (a, b, c, d): (a, b, c) is its unit normal and the plane is
// a x + b y + c z + d = 0. A selection is a list of m node numbers, or, when m < 1, the
// nodes first ... last.
#include "support/tables.hpp"

#include <cstdint>

namespace tesmo {

/// A null vector of `pronul` whose largest component is below this is first divided by that
/// component, so that its squares do not underflow and the normal comes out of unit length.
inline constexpr float kTinyComponent = 1e-18f;

/// Number of selected points: m when m >= 1, else last - first + 1.
int32_t selectionCount(int32_t m, int32_t first, int32_t last);
/// Node number at position i (from 1) of the selection.
int32_t selectedNode(Vec<const int32_t> nodes, int32_t m, int32_t first, int32_t i);

/// Fits a plane through the selected rows of `points` (width 3) by the smallest principal
/// axis of their covariance. Returns 0, or -1 for fewer than 3 points, a width other than 3,
/// a selection outside the list or the table, or points that all coincide.
[[nodiscard]] int plmcar(Vec<const int32_t> nodes, int32_t m, int32_t first, int32_t last, Rows<const float> points,
                         float* plane);

/// A unit vector spanning the null direction of a symmetric 3x3 matrix (stored by columns):
/// the row of its adjugate with the largest diagonal entry, or a fallback built from the
/// diagonal when every principal minor vanishes.
void pronul(const float* matrix, float* vector);

/// The point where the plane meets the axis of its largest normal component, or (0, 0, 0)
/// when the plane passes through the origin. Returns 0, or -1 for a null normal.
[[nodiscard]] int podupn(const float* plane, float* origin);

} // namespace tesmo
