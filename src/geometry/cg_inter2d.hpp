#pragma once
// Crossing of a polygon of the plane by a line: the sides the line cuts and the vertices it
// touches.
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>

namespace tesmo {

/// Sides of the polygon (x[i], y[i]) crossed by the line (a, b, c), and vertices on it (|a x +
/// b y + c| < eps): side l (vertex l to l mod n + 1) is crossed when its end vertex has a strict
/// sign opposite to the last one met since vertex 1. Returns 0, -1 for n < 1, -2 for short lists.
[[nodiscard]] int indrpo(const float* x, const float* y, int32_t n, const float* line, float eps, Vec<int32_t> sides,
                         int32_t& sideCount, Vec<int32_t> onLine, int32_t& onLineCount);

} // namespace tesmo
