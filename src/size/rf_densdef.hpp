#pragma once
// The size function: one calling convention shared by the four ways of stating the wanted
// size (default size, concentrations on edges, concentrations on triangles, sizes at the
// points). The border and interior refinement loops receive one as a plain function pointer
// and call it with one concentration's records at a time.
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>

namespace tesmo {

/// Evaluates element `element` (an edge in 1D, a triangle in 2D) of `elementNodes` against the
/// wanted size. `neighbours` is handed through unread. `coordinates` has one row of ndim reals
/// per node. `perElement` is the per-element real table: the edge length in 1D (an entry of 0
/// or less is computed and stored back), the circle vector in 2D; a width of 0 means there is
/// none. `densityIntegers` and `densityReals` are one concentration's records, or in mode 3
/// the sizes at the nodes (one real per node). Gives `ratio` (wanted size over the element's
/// own measure) and `wanted` (the wanted size). Returns 0 or -1.
using SizeFunction = int (*)(int32_t element, Rows<const int32_t> elementNodes, Rows<const int32_t> neighbours,
                             Rows<const float> coordinates, Rows<float> perElement, Vec<const int32_t> densityIntegers,
                             Vec<const float> densityReals, float& ratio, float& wanted);

} // namespace tesmo
