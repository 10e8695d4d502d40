#pragma once
// The check, made before any zone is meshed, that the zones of a geometry can be meshed one
// by one into a mesh without overlap: no two border edges of the zones meet except at a point
// of both (two edges through the same two points run together and are one), no such edge has
// its two points at one place, and no area lies inside two zones. In space, the zones lying
// in one plane are checked together.
#include "driver/geometry_fault.hpp"
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>

namespace tesmo {

/// The borders as read, before the border stage cuts them.
struct BorderLayout {
    Rows<const int32_t> edgeNodes; ///< E rows of P: (a, b) an edge, (a, 0) a lone point (P 1: points only)
    Rows<const int32_t> edgeCodes; ///< E rows of L zone codes, 0 past the element's own
    Rows<const float> coordinates; ///< N rows of D (2, or 3 for zones in space)
    Vec<const int32_t> zoneCodes;  ///< the distinct zone codes
};

/// Checks the layout. Elements listing no zone are not meshed and are left out; a lone point
/// counts where it lies. On a fault, `fault` receives its kind, the edge numbers (elements in
/// the order read), their points, the zones and the place; the borders are left to the caller.
/// Returns 0 when the zones can be meshed; -1 with the fault; -1 with no fault for a point
/// number outside the coordinates; -2 when the work is too small (nothing was checked).
[[nodiscard]] int checkBorderCrossings(const BorderLayout& layout, Vec<int32_t> work, Vec<float> realWork,
                                       GeometryFault& fault);

} // namespace tesmo
