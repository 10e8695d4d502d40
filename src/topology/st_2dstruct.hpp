#pragma once
// Walks in a structure of polygons (dimension 2): across one face, about a node, and the
// location of a border edge by a walk about its first node.
#include "support/tables.hpp"
#include "topology/st_struct.hpp"

#include <cstdint>

namespace tesmo {

/// Locates the edge a -> b: E1 (and face F1) the element in which it runs a -> b, E2 (and
/// F2) the one in which it runs b -> a, found by walking about a first one way, then the
/// other. All 0 when the edge is not in the structure. Returns 0, -3 when d is not 2
/// (" NE FONCTIONNE PAS EN 3D"), -1 for an inconsistent structure ("STRUCTURE INCORRECTE",
/// "STRUCTURE INCORRECTE 3") or a node or element number out of range.
[[nodiscard]] int sfri2d(int32_t a, int32_t b, int32_t d, Rows<const int32_t> ITRNOE, Rows<const int32_t> ITRTRI,
                         Vec<const int32_t> NOETRI, int32_t NBE, EdgeSides& sides);

/// Steps across face k of element e: `next` is the element across (border marks ignored),
/// `back` its face holding e (either sign); (0, 0) on the outer boundary, (next, 0) when
/// next holds no reference to e. Returns 0, or -1 when e, k or next is out of range.
[[nodiscard]] int sesfr1(int32_t e, int32_t k, Rows<const int32_t> ITRTRI, int32_t NBE, int32_t& next, int32_t& back);

/// Walks about node p from NOETRI(p), crossing each time the face that ends at p, until the
/// outer boundary (p on the boundary: the last element and its face with no neighbour) or
/// back at the start (p interior: the element before the start and its face leading to
/// it); the output face always ends at p. Element 0 when p is in no element. Returns 0, -3
/// in dimension 3, -1 (and face -1) for an inconsistent structure or a bad argument.
[[nodiscard]] int sesfr2(int32_t p, int32_t d, Rows<const int32_t> ITRNOE, Rows<const int32_t> ITRTRI,
                         Vec<const int32_t> NOETRI, int32_t NBE, int32_t& element, int32_t& face);

} // namespace tesmo
