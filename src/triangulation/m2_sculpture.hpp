#pragma once
// Removal of the triangles outside a zone: the zone's border edges are marked in the
// neighbour table, the triangles are sorted into regions by flooding across unmarked edges
// (inside +1, outside -1, the sign alternating across each border edge), and the outside
// triangles are deleted.
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>

namespace tesmo {

/// Region signs of the elements.
inline constexpr int32_t kInsideRegion = 1;
inline constexpr int32_t kOutsideRegion = -1;

/// Gives `sign` to the region of `seed` (unsigned): the elements reached through positive
/// neighbour entries whose sign is 0. `work`: flood list then stack, NBE entries each. Returns 0,
/// -1 for a seed out of range or signed, -2 for short work (" APPEL TMA1CC").
[[nodiscard]] int scrgcc(int32_t seed, int32_t sign, Rows<const int32_t> ITRTRI, int32_t NBE, Vec<int32_t> work,
                         Vec<int32_t> signs, int32_t& flooded);

/// Marks the `border` edges (rows, end nodes first) and signs every element (`signs`); `work`
/// holds 2 NBE. `insideCount` counts the floods setting +1. Returns 0, -1 for an edge not in the
/// mesh (" APPEL SFRICR") or a whole idle cycle of the edges (" REGIONS NON ATTEINTES"), or a callee's code.
[[nodiscard]] int scmat(Rows<int32_t> border, int32_t d, Rows<const int32_t> ITRNOE, Rows<int32_t> ITRTRI,
                        Vec<const int32_t> NOETRI, int32_t NBE, Vec<int32_t> work, Vec<int32_t> signs,
                        int32_t& insideCount);

/// Keeps the triangles inside the `border` edges: marks, signs and deletes the outside ones,
/// leaving 1..NBE without zero rows and NOETRI rebuilt; no border edge: nothing done, count 1.
/// Every face left on the outer boundary must then lie on a border edge. `iwork` holds 3 NBE.
/// Returns 0, -2 when it does not (" TROP D ELEMENTS"), -1 for an outer face on no border edge
/// (" BORD HORS DES FRONTIERES": a zone its borders do not close), or the failing step's code
/// (" APPEL SCMAT", "APPEL NUCOMP", "APPEL SMADET", "APPEL NUPERM"); signs first.
[[nodiscard]] int sculpt(Rows<int32_t> border, int32_t d, Rows<int32_t> ITRNOE, Rows<int32_t> ITRTRI,
                         Vec<int32_t> NOETRI, int32_t& NBE, Vec<int32_t> iwork, int32_t& insideCount);

} // namespace tesmo
