#pragma once
// The default size (refinement mode 1): no size is given beyond a progression, so the wanted
// size comes from the elements themselves: the shortest edge of a triangle, and at the
// geometry points the shortest border edge about them, smoothed along the borders.
#include "size/rf_densdef.hpp"
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>

namespace tesmo {

/// Size function of the default size for triangles: the shortest edge over the circumradius,
/// the half length of the element's circle vector (its per-element row). Returns 0, or -1 for
/// an element or node out of range, a missing circle vector or a null circumradius.
[[nodiscard]] int dnidef(int32_t element, Rows<const int32_t> elementNodes, Rows<const int32_t> neighbours,
                         Rows<const float> coordinates, Rows<float> perElement, Vec<const int32_t> densityIntegers,
                         Vec<const float> densityReals, float& ratio, float& wanted);

/// The default size of one triangle of nodes `nodes` and circle vector `circle` (ndim reals):
/// ratio = shortest edge / circumradius, wanted = shortest edge. Returns 0, or -1 for a node
/// out of range or a null circumradius (no message).
[[nodiscard]] int dntsdf(const int32_t* nodes, const float* circle, Rows<const float> coordinates, float& ratio,
                         float& wanted);

/// Default sizes at the points that end border edges (rows of `edges`, first and second point;
/// a second point 0 marks an isolated point, which is skipped): each starts at 1e38, then every
/// edge brings both its ends down to its length and each end down to what the progression
/// (type, ratio) grows to from the other end over the edge, sweep after sweep until a sweep
/// lowers nothing through the progression. `work` (integers) holds the list of edges to visit
/// again when it has room for N + 2 + 5 m entries (N the points, m the edges); otherwise every
/// sweep visits every edge, with the same result. Returns 0; -1 for a point outside the
/// coordinates or an edge of no length; -2 when `sizes` is shorter than a point number
/// ("TABLEAU TSN TROP PETIT").
[[nodiscard]] int d1dsln(int32_t type, float ratio, Rows<const int32_t> edges, Rows<const float> coordinates,
                         Vec<float> sizes, Vec<int32_t> work);

} // namespace tesmo
