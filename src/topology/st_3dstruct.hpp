#pragma once
// Face queries of the solid elements, read from the element-type tables, and the border
// location of dimension 3 (not available).
#include "support/tables.hpp"
#include "topology/st_struct.hpp"

#include <cstdint>

namespace tesmo {

/// Face count of a solid of the given type: 4 (tetrahedron) 4, 5 (pyramid) 5, 6 (prism) 6,
/// 8 (hexahedron) 6. Returns 0, or -1 for any other type (" TYPE D ELEMENT INCONNU").
[[nodiscard]] int s3nbco(int32_t type, int32_t& faceCount);

/// Local nodes of face k of a tetrahedron or hexahedron. Returns 0, or -1 for another type
/// (" TYPE D ELEMENT INCONNU") or a face out of range.
[[nodiscard]] int s3sofa(int32_t type, int32_t k, LocalSet& nodes);

/// Faces through local node k of a tetrahedron or hexahedron. Returns 0, or -1 for another
/// type (" TYPE D ELEMENT INCONNU") or a node out of range.
[[nodiscard]] int s3faso(int32_t type, int32_t k, LocalSet& faces);

/// Common face of two solids: the first face of A (in face order) whose node set is that of
/// a face of B; +1 when B runs it the other way round, -1 when the same way. Returns 0, or
/// -1 for a type without face table.
[[nodiscard]] int s3faid(const int32_t* rowA, int32_t typeA, const int32_t* rowB, int32_t typeB, FaceMatch& match);

/// Border location among solids: not available. Returns -3 (" NE FONCTIONNE PAS EN 3D").
[[nodiscard]] int sfri3d(int32_t a, int32_t b, int32_t d, Rows<const int32_t> ITRNOE, Rows<const int32_t> ITRTRI,
                         Vec<const int32_t> NOETRI, int32_t NBE, EdgeSides& sides);

} // namespace tesmo
