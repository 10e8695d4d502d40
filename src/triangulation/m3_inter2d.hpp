#pragma once
// The triangles crossed by a border edge ab of a triangulation: the one leaving a, the one
// reaching b, and the walk between them along the line of ab.
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>

namespace tesmo {

/// Factor of the squared length of ab giving the tolerance of a point on the line of ab: a
/// point x is on it when twice the area of a b x is below 1e-10 |ab|^2, that is when x lies
/// within 1e-10 |ab| of the line, whatever the scale of the coordinates.
inline constexpr float kOnLineFactor = 1e-10f;

/// The triangle about p (`element`) whose face opposite p (`face`) is cut by the ray p -> q,
/// looked for from where the walk about p stops: its two other nodes lie on either side of the
/// line pq, beyond `band` |pq| of it (exact signs; band 0: strictly on either side).
/// Returns 0; -1 with (0, 0) when there is none ("1 APPEL SESFR2"), p and q coincide
/// ("APPEL DR2PO") or the structure is inconsistent.
[[nodiscard]] int trdbse(int32_t p, int32_t q, Rows<const int32_t> ITRNOE, Rows<const int32_t> ITRTRI,
                         Vec<const int32_t> NOETRI, int32_t NBE, Rows<const float> COORD, int32_t& element,
                         int32_t& face, double band = double(kOnLineFactor));

/// Lists in `crossed` (its count is the capacity) the triangles cut by the edge (a, b) = the
/// first two values of `edge`, in walking order from a to b; `count` is their number, 0 when ab
/// is an edge, else the code. The sides of the line are exact signs; a node within the
/// tolerance of the line counts as on it. Returns 0; -1 when the walk meets a node on ab, a
/// triangle not cut side to side or leaves the mesh, or a or b is not in it; -2 when `crossed`
/// is full.
[[nodiscard]] int tritse(Vec<const int32_t> edge, Rows<const int32_t> ITRNOE, Rows<const int32_t> ITRTRI,
                         Vec<const int32_t> NOETRI, int32_t NBE, Rows<const float> COORD, Vec<int32_t> crossed,
                         int32_t& count);

} // namespace tesmo
