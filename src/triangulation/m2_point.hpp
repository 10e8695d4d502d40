#pragma once
// Normalisation of the points of a triangulation into the square [-1, 1] x [-1, 1], so that
// its enclosing polygon and its tolerances do not depend on the units of the data.
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>

namespace tesmo {

/// An extent (largest extent relative to the largest coordinate, or normalised extent of one
/// axis) at or below this is no extent at all: the points lie on a line parallel to an axis,
/// or on one point.
inline constexpr float kNoExtent = 1.0e-30f;

/// Bounding box of points 1..J (first two coordinates): lower corner `low`, upper corner
/// `high`. Returns 0, or -1 for J < 1, J beyond the coordinates or fewer than 2 per point.
[[nodiscard]] int pobten(Rows<const float> COORD, int32_t J, float* low, float* high);

/// Writes 2 (x - m) / E of points 1..J into rows 1..J of `normalised`, m the centre of the
/// box and E > 0 its largest extent. Returns 0, or -1 when E is not positive, -2 when
/// `normalised` holds fewer than J rows or fewer than 2 reals per row.
[[nodiscard]] int ptnorm(Rows<const float> COORD, int32_t J, const float* centre, float extent,
                         Rows<float> normalised);

/// Normalises points 1..J: box (pobten), largest extent E, then the normalised copy
/// (ptnorm); the input coordinates are never changed. Returns 0, -1 when E <= 1.0e-30 times the
/// largest magnitude of the box's corners or an axis has 2 (max - min) / E <= 1.0e-30 (points
/// on one line parallel to an axis) or the points are bad, -2 when `normalised` is too small.
[[nodiscard]] int ptinit(Rows<const float> COORD, int32_t J, Rows<float> normalised);

} // namespace tesmo
