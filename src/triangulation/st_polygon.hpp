#pragma once
// Polygons given as cyclic lists of node numbers: the polygon of a closed chain of edges and
// the split of a polygon along one of its diagonals.
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>

namespace tesmo {

/// Cyclic vertex list of a closed chain of `count` oriented edges (as sfrcre builds them): node
/// 1 of edge 1, then of each edge met across node 2, until back at edge 1. Returns 0, -1 for an
/// open or broken chain (an edge not starting where the previous ends), -2 for a short list.
[[nodiscard]] int artopl(Rows<const int32_t> chainNodes, Rows<const int32_t> chainNeighbours, int32_t count,
                         Vec<int32_t> polygon, int32_t& n);

/// Splits the polygon along a -> b (last occurrences): `first` runs forward from b to a, `second`
/// from a to b (n1 + n2 = n + 2). Returns 0, -1 for a = b (" ARETE: ORIGINE=EXTREMITE"), a or b
/// absent (" ORIGINE HORS POLYGONE", " EXTREMITE HORS POLYGONE"), -2 when an output is short.
[[nodiscard]] int splipl(Vec<const int32_t> polygon, int32_t a, int32_t b, Vec<int32_t> first, int32_t& n1,
                         Vec<int32_t> second, int32_t& n2);

} // namespace tesmo
