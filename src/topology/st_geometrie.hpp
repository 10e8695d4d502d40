#pragma once
// Measures of one element: length, signed area, volume, centre and orientation.
//
// An element is a row of node numbers with its node count and its element dimension
// (1 edge, 2 polygon, 3 solid). Coordinates are rows of ndim reals, one row per node; ndim
// is the width of the coordinate table. Node numbers are checked against its row count.
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>

namespace tesmo {

/// One sixth, the factor of the tetrahedron volume.
inline constexpr float kSixth = 0.16666667f;

/// Length (dimension 1), signed area in the plane or unsigned area in space (dimension 2)
/// or signed tetrahedron volume (dimension 3) of the element; 0 for any other dimension.
/// Returns 0, -1 for a polygon in space of other than 3 or 4 nodes, a bad node number or a
/// coordinate table too narrow for the element, -3 for a solid other than a tetrahedron.
[[nodiscard]] int gtaill(const int32_t* nodes, int32_t nodeCount, int32_t elementDim,
                         Rows<const float> COORD, float& measure);

/// Centre of the element: the mean of its node coordinates, written to the first ndim
/// values of `centre` (zeros first). Returns 0, -1 for no node or a bad node number, -2
/// when `centre` holds fewer than ndim values.
[[nodiscard]] int gbaryc(const int32_t* nodes, int32_t nodeCount, Rows<const float> COORD, Vec<float> centre);

/// Compares the measure of the element with `reference`: -1 below, +1 above, 0 equal.
/// A measure that cannot be taken answers 0 (after the trace "APPEL GTAILL").
int32_t gorien(const int32_t* nodes, int32_t nodeCount, int32_t elementDim, Rows<const float> COORD,
               float reference);

/// Signed area of a polygon of the plane, positive when it runs counter-clockwise; 0 for
/// fewer than 2 nodes. Returns 0, or -1 for a bad node number or coordinates of fewer
/// than 2 columns.
[[nodiscard]] int g2sfpl(const int32_t* nodes, int32_t nodeCount, Rows<const float> COORD, float& area);

/// Area of the triangle P Q R given by points of ndim (2 or 3) reals.
float trsurf(const float* p, const float* q, const float* r, int32_t ndim);

/// Area of the quadrilateral P Q R S: the sum of the areas of P Q R and R S P.
float q4surf(const float* p, const float* q, const float* r, const float* s, int32_t ndim);

/// Signed volume of the tetrahedron P Q R S (points of 3 reals); positive when S lies on
/// the side of P Q R towards which (Q - P) x (R - Q) points.
float ttvo(const float* p, const float* q, const float* r, const float* s);

} // namespace tesmo
