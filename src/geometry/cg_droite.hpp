#pragma once
// Lines of the plane: the line through two points, a point and a direction of a line, the
// crossing of a segment and a line, the intersection of two lines.
//
// A line is three reals (a, b, c) meaning a x + b y + c = 0; points are 2 reals. Tolerances
// are the rounding of the coordinates: word 3 of the tolerance block (2^-23) times their
// magnitude, so that a geometry scaled by a power of two meets the same decisions.
#include <cstdint>

namespace tesmo {

/// Modes of `indrse`.
inline constexpr int32_t kCrossingPoint = 0; ///< report the crossing and compute its point
inline constexpr int32_t kCrossingOnly = 1;  ///< report the crossing only

/// The line through p1 and p2: (1, 0, -x1) when they share their abscissa within rounding,
/// else (a, 1, -y1 - a x1) with the slope a = (y1 - y2) / (x2 - x1).
/// Returns 0, or -1 when the points coincide within rounding.
[[nodiscard]] int dr2po(const float* p1, const float* p2, float* line);

/// A point of the line (on the x axis unless a is negligible beside b, else on the y axis)
/// and its direction (-b, a). Returns 0, or -1 when a and b are both 0 (no line).
[[nodiscard]] int pvdroi(const float* line, float* point, float* direction);

/// Whether the segment pq crosses the line, its ends lying strictly on either side of it beyond
/// the rounding of the line's values (crossing = 1, else 0); in mode kCrossingPoint the
/// crossing point is written too, p + t (q - p) with t where the values vanish.
/// Returns 0, or -1 for another mode.
[[nodiscard]] int indrse(const float* p, const float* q, const float* line, int32_t mode, int32_t& crossing,
                         float* point);

/// Intersection of the lines p1p2 and q1q2 (2D only): found = 1 and the point, or found = 0
/// when they are parallel within the rounding of the coordinates. Returns 0, or -3 when ndim
/// is not 2.
[[nodiscard]] int indrdr(const float* p1, const float* p2, const float* q1, const float* q2, int32_t ndim,
                         int32_t& found, float* point);

} // namespace tesmo
