#pragma once
// Orientation and in-circle predicates of points of the plane given in single precision. The
// signs are exact: a fast evaluation in double whose rounding is bounded decides when the
// bound allows, otherwise the value is computed exactly as a floating-point expansion.
#include <cstdint>

namespace tesmo {

/// Twice the signed area of p q x, positive when x lies to the left of p -> q, evaluated in
/// double (its sign may be wrong when the two products nearly cancel: see orientation).
double turn(const float* p, const float* q, const float* x);

/// The sign of the turn p q x, exactly: +1 when x lies to the left of p -> q, -1 to its right,
/// 0 on the line.
int orientation(const float* p, const float* q, const float* x);

/// Twice the signed area of p q x: the exact value rounded to double, so that its sign is
/// exact and its magnitude is known to a few units of the last place.
double exactTurn(const float* p, const float* q, const float* x);

/// The side of x against the line through p and q, with a band of half-width
/// `relativeWidth` |pq| about the line: +1 left, -1 right, 0 within the band, that is when
/// |turn| < relativeWidth |pq|^2 (an area against an area, so the same for every scale of the
/// points). With relativeWidth 0 this is the exact orientation.
int sideOfLine(const float* p, const float* q, const float* x, double relativeWidth);

/// The position of d against the circle through a, b and c (counter-clockwise), exactly: +1
/// strictly inside, 0 on the circle, -1 outside (the signs swap for a clockwise a b c).
int circleSide(const float* a, const float* b, const float* c, const float* d);

/// True when d lies inside the circle of the counter-clockwise triangle a b c beyond a margin:
/// the in-circle determinant, in double, must exceed 1e-12 times the sum of the magnitudes of
/// its terms (a relative margin, the same at every scale); points co-circular up to that margin
/// count as outside. A test of quality, not of validity: see circleSide for the exact sign.
bool insideCircle(const float* a, const float* b, const float* c, const float* d);

/// True when the segments pq and ab cross at a point inside both (exact).
bool crossing(const float* p, const float* q, const float* a, const float* b);

} // namespace tesmo
