#pragma once
// The edge list of the borders: each edge a row (first node, second node, ...), with
// optional neighbour rows (previous edge, next edge; -k refers to edge k) and an optional
// node-to-edge table. A neighbour table of width 0 and a node-to-edge table of no entry
// are absent.
#include "boundary/st_0dstruct.hpp"
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

/// The border edges being cut and the nodes they run through, as the border refinement grows
/// them in place.
struct BorderMesh {
    Rows<int32_t> edges;      ///< rows (first node, second node, ...); its row count is the edge capacity
    int32_t edgeCount = 0;    ///< m
    Rows<int32_t> neighbours; ///< (previous edge, next edge) of each edge; width 0: absent
    Vec<int32_t> nodeEdge;    ///< an edge of each node; no entry: absent
    Rows<int32_t> attributes; ///< one row per edge, copied to the edges cut from it
    Rows<float> coordinates;  ///< rows of ndim reals; its row count is the node capacity NMAX
    int32_t nodeCount = 0;    ///< n
    /// The m edges present.
    Rows<const int32_t> edgeRows() const { return Rows<const int32_t>(edges.data(), edges.width(), edgeCount); }
    /// The n nodes present.
    Rows<const float> nodeRows() const { return Rows<const float>(coordinates.data(), coordinates.width(), nodeCount); }
};

/// Appends the node at `point` and splits edge e at it (`s0ajno`, then `s1ajno`); the new edge
/// (`edge`) gets a copy of e's attribute row when the attribute table holds its row. Returns 0,
/// or the code of the failing call with `nodeFailed` telling which one failed.
[[nodiscard]] int cutAtNewNode(BorderMesh& border, int32_t e, const float* point, int32_t& node, int32_t& edge,
                         bool& nodeFailed);

} // namespace tesmo
