#pragma once
// Border nodes from default sizes (refinement mode 1): a size at each geometry point from the
// border edges about it, smoothed by the default progression, then every border edge filled
// with nodes whose spacing grows from both ends toward its middle.
#include "boundary/st_1dstruct.hpp"
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>

namespace tesmo {

/// Cuts the border edges by the default sizes of the progression (type, ratio). `sizeTable`
/// holds the size at each of the n points present, then room for the node positions of one
/// edge. `work` (integers) speeds up the default sizes when large enough (see `d1dsln`).
/// Returns 0; +1 when the node or edge capacity stopped the cutting (what fits is placed);
/// -1 for a bad edge or an edge of no length; -2 when the size table is short.
[[nodiscard]] int r1raf(int32_t type, float ratio, BorderMesh& border, Vec<float> sizeTable, Vec<int32_t> work);

/// Cuts every edge present at its start by `r1arno`, with the sizes of its ends in `sizes`;
/// `scratch` (rows of ndim) receives the node positions of one edge. Stops at the first
/// non-zero code. Returns 0, +1, or the code of `r1arno`; -1 for an end outside `sizes`.
[[nodiscard]] int r1no(int32_t type, float ratio, BorderMesh& border, Vec<const float> sizes, Rows<float> scratch);

/// Fills edge k = (a, b) with the nodes of the progression from size sA at a and sB at b: when
/// the size reached at the midpoint from either end (at most the half length) exceeds both, each
/// half grows toward the midpoint, which becomes a node when both halves hold its size; else one
/// progression runs from a to b. `placed` tells the nodes added. Returns 0; +1 when the node or
/// edge capacity left room for only the first `placed` positions from a; -1 for a bad end; the
/// codes of the placement (-2 when `scratch` cannot hold the positions).
[[nodiscard]] int r1arno(int32_t k, int32_t type, float sA, float sB, float ratio, BorderMesh& border,
                         Rows<float> scratch, int32_t& placed);

} // namespace tesmo
