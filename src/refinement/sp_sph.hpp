#pragma once
// The circle table of the refinement: for each element its circumscribed circle (in the plane)
// or sphere (in space) as the vector from the element's last node to twice its centre, so that
// the centre is that node + 0.5 v and the radius 0.5 |v|.
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>

namespace tesmo {

/// Writes the circle of element e into the first ndim reals of row e of `circles`: in the plane
/// the circumscribed circle of the element's first three nodes (spcerc), in space the sphere
/// (spsphe). Returns 0; -1 for ndim other than 2 and 3, an element or node outside its table, or
/// a flat triangle; -3 in space.
[[nodiscard]] int spcree(int32_t ndim, int32_t e, Rows<const int32_t> ITRNOE, Rows<const float> COORD,
                         Rows<float> circles);

/// The circumscribed sphere of a tetrahedron: not available. Returns -3.
[[nodiscard]] int spsphe(int32_t e, Rows<const int32_t> ITRNOE, Rows<const float> COORD, Rows<float> circles);

} // namespace tesmo
