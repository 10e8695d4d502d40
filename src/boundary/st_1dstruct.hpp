#pragma once
// The edge list of the borders: each edge a row (first node, second node, ...), with
// optional neighbour rows (previous edge, next edge; -k refers to edge k) and an optional
// node-to-edge table. A neighbour table of width 0 and a node-to-edge table of no entry
// are absent.
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>

namespace tesmo {

/// Splits edge e = (a, b) at node q: e becomes (a, q) and the new edge m + 1 = (q, b)
/// (`edge`) follows it among the neighbours; m increases. Returns 0, -1 for e outside 1..m
/// or q < 1 ("DANS S1AJNO : NUMERO INCORRECT"), an edge without second node ("DANS S1AJNO
/// : PAS D ARETE A DECOUPER") or a neighbour out of range, -2 when a table is full or the
/// node-to-edge table is shorter than q or b ("DANS S1AJNO : NOEMAX TROP PETIT").
[[nodiscard]] int s1ajno(int32_t e, int32_t q, int32_t& m, Rows<int32_t> edges, Rows<int32_t> neighbours,
                         Vec<int32_t> nodeEdge, int32_t& edge);

} // namespace tesmo
