#pragma once
// Orientation and in-circle predicates of points of the plane given in single precision.
#include <cstdint>

namespace tesmo {

/// Relative margin of the in-circle determinant (double precision, relative to the sum of the
/// magnitudes of its terms) beyond which a point is inside a circle; below it the four points
/// count as co-circular.
inline constexpr double kCircleTolerance = 1e-12;

/// Twice the signed area of p q x, positive when x lies to the left of p -> q.
double turn(const float* p, const float* q, const float* x);

/// True when d lies strictly inside the circle of the counter-clockwise triangle a b c, beyond
/// the rounding of the determinant; a point on the circle (co-circular up to rounding) is
/// outside.
bool insideCircle(const float* a, const float* b, const float* c, const float* d);

/// True when the segments pq and ab cross at a point inside both.
bool crossing(const float* p, const float* q, const float* a, const float* b);

} // namespace tesmo
