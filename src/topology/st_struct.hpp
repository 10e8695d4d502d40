#pragma once
// The element-face structure: face conventions and the queries on one or two elements.
//
// Tables (all 1-based, views into the integer work array):
//   ITRNOE  one row of NNE node numbers per element; the node count of an element is the
//           number of leading non-zero slots; a row of zeros is a deleted element.
//   ITRTRI  one row of NFE entries per element; entry k is 0 when face k lies on the outer
//           boundary, +j when element j lies across it, -j when j lies across it and the
//           face is a border edge; -1 only while the table is being built.
//   NOETRI  one entry per node: an element containing the node, or 0.
// Invariant: when e holds +j (or -j) at face k, j holds +e (or -e) at exactly one face,
// whose nodes are those of face k in the opposite order.
//
// Faces by element dimension d:
//   d = 1 (edges)     face k is node k;
//   d = 2 (polygons)  face k runs from node k to node (k mod n) + 1; node k lies on the
//                     faces k - 1 (n for k = 1) and k, in that order;
//   d = 3 (solids)    from the tables of the tetrahedron (type 4) and the hexahedron
//                     (type 8); the type of a solid is its node count.
// strnbc, strksf and strkfs are the only routines that know these conventions.
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cassert>
#include <cstdint>

namespace tesmo {

/// At most this many local numbers in a face or around a node (a hexahedron face).
inline constexpr int32_t kMaxLocal = 4;

/// A short list of local numbers: the nodes of one face or the faces through one node.
struct LocalSet {
    int32_t count = 0;
    int32_t item[kMaxLocal] = {};
    /// Entry i, counting from 1.
    constexpr int32_t operator()(int32_t i) const
    {
        assert(i >= 1 && i <= count);
        return item[i - 1];
    }
};

/// Result of the comparison of two elements: `result` 0 (no common face), +1 (a common
/// face run in opposite directions: orientations agree) or -1 (same direction: they
/// disagree); `faceA` and `faceB` are the common face in each element.
struct FaceMatch {
    int32_t result = 0;
    int32_t faceA = 0;
    int32_t faceB = 0;
};

/// Where a border edge a -> b lies: E1 is the element in which it runs a -> b and F1 that
/// face of E1; E2 the element in which it runs b -> a and F2 that face; 0 where none.
struct EdgeSides {
    int32_t E1 = 0;
    int32_t E2 = 0;
    int32_t F1 = 0;
    int32_t F2 = 0;
};

/// Node count of a row of NNE slots: the number of leading non-zero slots.
int32_t strnbn(const int32_t* row, int32_t NNE);
/// Node count of element e of ITRNOE; -1 when e is not a row of the table.
int32_t strnbn(int32_t e, Rows<const int32_t> ITRNOE);

/// Face count of an element of n nodes (in dimension 3, of type n) in dimension d; a
/// deleted element (n = 0) has none. Returns 0, or -1 for an unknown solid type (" TYPE D
/// ELEMENT INCONNU"), a negative n or a dimension other than 1, 2, 3.
[[nodiscard]] int strnbc(int32_t n, int32_t d, int32_t& faceCount);

/// Local node numbers of face k of an element of n nodes (type n in dimension 3).
/// Returns 0, or -1 for a face number out of range, an unknown type or dimension.
[[nodiscard]] int strksf(int32_t d, int32_t n, int32_t k, LocalSet& nodes);

/// Faces on which local node k of an element of n nodes lies (dimension 2: the face ending
/// at k, then the face starting at k). Returns 0, or -1 as strksf.
[[nodiscard]] int strkfs(int32_t d, int32_t k, int32_t n, LocalSet& faces);

/// The face from which a walk about a node continues: in dimension 2 the face preceding
/// face k of an element of n nodes; in dimension 3 (tetrahedron only) the face through which
/// a walk about the edge from local node k to local node l leaves. -1 in any other case.
int32_t stfasu(int32_t d, int32_t n, int32_t k, int32_t l = 0);

/// Node numbers of face |k| of element e (the sign of k is ignored). Returns 0, or -1 when
/// e is not a row of ITRNOE or the face does not exist.
[[nodiscard]] int tnofrt(int32_t d, Rows<const int32_t> ITRNOE, int32_t e, int32_t k, LocalSet& nodes);

/// Looks for a common face of element A (nA nodes) and element B (nB nodes): the first one
/// found, scanning A's faces and then B's. Returns 0, or -1 for an unknown dimension or
/// solid type.
[[nodiscard]] int sfaide(const int32_t* rowA, int32_t nA, const int32_t* rowB, int32_t nB, int32_t d, FaceMatch& match);

/// Reverses the orientation of one element of n nodes in place: its node row (n values)
/// and, unless `neighbours` is null, its neighbour row, so that each face keeps its
/// neighbour. An edge of one node is left as it is. Returns 0, -1 for an unknown
/// dimension, -3 for a solid other than a tetrahedron.
[[nodiscard]] int sinvor(int32_t n, int32_t d, int32_t* nodes, int32_t* neighbours);

/// Position (from 1) of node v among the nodes of element e of ITRNOE, 0 when absent.
int32_t positionOf(Rows<const int32_t> ITRNOE, int32_t e, int32_t v);

} // namespace tesmo
