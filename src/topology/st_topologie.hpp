#pragma once
// Building, orienting and deleting elements of the element-face structure, and the location
// and marking of border edges in it.
//
// Every routine receives the element dimension d, the tables with their row lengths (the
// widths of the views: NNE for ITRNOE, NFE for ITRTRI), the element count NBE and its work
// areas with their capacities (the counts of the views). Nothing is allocated.
#include "support/tables.hpp"
#include "topology/st_struct.hpp"

#include <cstdint>

namespace tesmo {

/// Builds the neighbours of elements 1..NBE of `source` into ITRTRI (0 on the outer
/// boundary, slots past an element's faces 0), copies the node rows to ITRNOE (which may
/// be `source` itself) and, when NOETRI has at least one entry, fills it (the last element
/// containing a node wins; nodes in no element get 0). Returns 0, -1 for NBE < 0, a
/// negative node number or an unknown type, -2 when a table holds fewer than NBE rows,
/// an element has more faces than NFE, or NOETRI is shorter than the largest node or
/// nodeCount.
[[nodiscard]] int smacre(int32_t d, Rows<const int32_t> source, int32_t NBE, int32_t nodeCount, Rows<int32_t> ITRNOE,
                         Rows<int32_t> ITRTRI, Vec<int32_t> NOETRI, Vec<int32_t> work);

/// How smacre finds the elements through a node. kIndexed lists every element of every
/// node in the work array (nodes + 2 x node slots of the elements); kBuckets keeps the
/// node buckets alone and compares an element whose bucket overflowed with every later
/// element. Both give the same tables; smacre takes kIndexed when the work holds it.
enum class NeighbourSearch { kIndexed, kBuckets };

/// smacre with the search imposed (kIndexed falls back to kBuckets when the work is too
/// small for the lists). Same results and codes as smacre.
[[nodiscard]] int smacreUsing(NeighbourSearch search, int32_t d, Rows<const int32_t> source, int32_t NBE,
                              int32_t nodeCount, Rows<int32_t> ITRNOE, Rows<int32_t> ITRTRI, Vec<int32_t> NOETRI,
                              Vec<int32_t> work);

/// Orients every connected group of freshly built elements 1..NBE like its lowest
/// element, reversing elements with sinvor; counts the groups. `work` is the stack of
/// records (element and neighbour row, NFE + 1 values each), `marks` one entry per element.
/// Returns 0, -1 for NBE < 0, two neighbours without a common face or a neighbour out of
/// range, -2 when the stack or the marks are too small, -3 for a solid that cannot be reversed.
[[nodiscard]] int sorien(int32_t d, Rows<int32_t> ITRNOE, Rows<int32_t> ITRTRI, int32_t NBE, Vec<int32_t> work,
                         Vec<int32_t> marks, int32_t& groups);

/// smacre then sorien; when d is not lower than the coordinate dimension, each group whose
/// lowest element has a negative measure (gorien) is reversed, so that planar polygons run
/// counter-clockwise. `groups` is the number of connected groups. `work` serves all three
/// steps. Returns 0 or the code of the failing step; -1 when a deciding element has a node
/// beyond the coordinates.
[[nodiscard]] int smaocr(int32_t d, Rows<const int32_t> source, int32_t NBE, int32_t nodeCount, Rows<int32_t> ITRNOE,
                         Rows<int32_t> ITRTRI, Vec<int32_t> NOETRI, Rows<const float> COORD, Vec<int32_t> work,
                         int32_t& groups);

/// Builds, from `count` listed (element, face) pairs of a structure of dimension d (2 or
/// 3), the elements of dimension d - 1 made of those faces (their nodes in face order),
/// with their neighbours and a consistent orientation. Returns 0, -1 for another d, a pair
/// out of range or a failed orientation, -2 when the output tables hold fewer than `count`
/// rows or a face has more nodes than a row, or the code of smacre or sorien.
[[nodiscard]] int sfrcre(int32_t d, Rows<const int32_t> faces, int32_t count, Rows<const int32_t> ITRNOE, int32_t NBE,
                         Rows<int32_t> faceNodes, Rows<int32_t> faceNeighbours, Vec<int32_t> work);

/// Deletes element e: its neighbours lose their reference to it and its two rows become
/// zeros; NBE is unchanged. With `update` non-zero, a node whose NOETRI names e is given the
/// first neighbour of e across a face through the node, or, when there is none, 0 and a
/// place in `lostNodes` (after `lostCount` entries), even if an element not adjacent to e
/// still holds it.
/// Returns 0, -1 for e or a neighbour out of 1..NBE, -2 when a neighbour holds no reference
/// to e, the lost list is full, NOETRI is too short or a table holds fewer than NBE rows.
[[nodiscard]] int smadet(int32_t d, Rows<int32_t> ITRNOE, Rows<int32_t> ITRTRI, int32_t NBE, Vec<int32_t> NOETRI,
                         int32_t update, int32_t e, Vec<int32_t> lostNodes, int32_t& lostCount);

/// Locates the border edge whose end nodes are the first two values of `record` (dimension
/// 1: the node given first) in the structure of dimension d. Returns 0, -1 for an
/// inconsistent structure or a bad dimension, -3 in dimension 3.
[[nodiscard]] int sfride(Vec<const int32_t> record, int32_t d, Rows<const int32_t> ITRNOE,
                         Rows<const int32_t> ITRTRI, Vec<const int32_t> NOETRI, int32_t NBE, EdgeSides& sides);

/// Marks the border edge of `record`: both neighbour entries across it become negative. An
/// edge not found is searched again with its two nodes exchanged in the record when the
/// record holds just them; an edge with an element on one side only is left unmarked.
/// Returns 0, -1 when the edge is not in the structure, or the code of sfride.
[[nodiscard]] int sfricr(Vec<int32_t> record, int32_t d, Rows<const int32_t> ITRNOE, Rows<int32_t> ITRTRI,
                         Vec<const int32_t> NOETRI, int32_t NBE, EdgeSides& sides);

} // namespace tesmo
