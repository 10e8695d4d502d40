#pragma once
// Size concentrations along border edges (refinement mode 2, 1D): the size function of an
// edge, and the node positions one concentration gives to an edge, cut at the break points of
// the distance to its object so that each piece follows a monotone progression.
//
// A concentration is an integer record (progression type, object type) and a real record
// (ratio or difference, size at the object, the object's points of ndim reals each).
#include "size/rf_densdef.hpp"
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>

namespace tesmo {

/// Reals of a concentration record before its object's points: ratio, size.
inline constexpr int32_t kConcentrationHead = 2;

/// Number of reals a concentration record needs for an object of `objectType` in ndim: the head
/// and one point (point) or two (axis, segment, and any other type, so that no read passes them).
int32_t concentrationReals(int32_t objectType, int32_t ndim);

/// Size function of concentrations for edges: the progression size at the distance from the
/// edge's midpoint to the object, over the edge's length (from `perElement` when it holds a
/// positive one; a width of 0 means no table). Returns 0; -1 for an edge or node out of range,
/// a record too short, a failing distance, a wanted size at or below zero ("TAILLE SOUHAITEE
/// NEGATIVE") or a null edge ("SEGMENT NUL").
[[nodiscard]] int d1isui(int32_t element, Rows<const int32_t> elementNodes, Rows<const int32_t> neighbours,
                         Rows<const float> coordinates, Rows<float> perElement, Vec<const int32_t> densityIntegers,
                         Vec<const float> densityReals, float& ratio, float& wanted);

/// Interior nodes of edge AB from one concentration (no break point): the progression sizes at
/// A and B, then `posum`. X (width ndim) receives the n positions from A. Returns 0; -1 for a
/// failing distance or a size at or below zero; the codes of `posum` (-2 when X is too small).
[[nodiscard]] int d1sum(const float* a, const float* b, int32_t type, float size, float step, int32_t objectType,
                        const float* object, Rows<float> X, int32_t& n);

/// As `d1sum`, with the edge cut at the break points of the distance to the object (up to 3,
/// 2D for axes and segments) through `posunm2`. Returns 0; -1 for a failing distance or break
/// point, a size at A or B at or below zero; -3 for an object without break points in this
/// dimension; the codes of the placement (-2 when X is too small).
[[nodiscard]] int d1su2(const float* a, const float* b, int32_t type, float size, float step, int32_t objectType,
                        const float* object, Rows<float> X, int32_t& n);

} // namespace tesmo
