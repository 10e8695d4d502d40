#pragma once
// Border location in a structure of edges (dimension 1), where a border "edge" is a node.
#include "support/tables.hpp"
#include "topology/st_struct.hpp"

#include <cstdint>

namespace tesmo {

/// Locates node a between the edges of the structure: E1 = NOETRI(a) with F1 the position
/// of a in it, E2 the edge across that face with F2 the position of a in E2 (0 where none).
/// Returns 0, -3 when d is not 1 (" NE FONCTIONNE QU EN 1D"), -1 when a is not in the edge
/// NOETRI gives ("STRUCTURE INCORRECTE") or in its neighbour ("STRUCTURE INCORRECTE 2"),
/// or when a or an element number is out of range.
[[nodiscard]] int sfri1d(int32_t a, int32_t d, Rows<const int32_t> ITRNOE, Rows<const int32_t> ITRTRI,
                         Vec<const int32_t> NOETRI, int32_t NBE, EdgeSides& sides);

} // namespace tesmo
