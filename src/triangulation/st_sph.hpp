#pragma once
// Renumbering of the sphere table alongside the elements: the same exchanges as nuperm and
// nucomp apply to the element tables, so that record e stays the circle of element e.
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>

namespace tesmo {

/// Longest sphere record an exchange moves (reals).
inline constexpr int32_t kMaxSphereRecord = 7;

/// Exchanges records a and b of `spheres` (record length: the width of the table), elements
/// numbered 1..count. Returns 0, -1 for a or b outside 1..count, -2 when the table holds
/// fewer than `count` records or its records are longer than 7 reals (or empty).
[[nodiscard]] int spperm(Rows<float> spheres, int32_t count, int32_t a, int32_t b);

/// Exchanges record list(i) with record i for i = 1..count of `list`, stopping at the first
/// failure, exactly as nucomp does with the elements. Returns 0 or the code of spperm.
[[nodiscard]] int spcomp(Rows<float> spheres, int32_t count, Vec<const int32_t> list);

} // namespace tesmo
