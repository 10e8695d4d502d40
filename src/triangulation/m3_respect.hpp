#pragma once
// Recovery of a border edge missing from a triangulation: the triangles it crosses are
// replaced by the same number of triangles of which it is an edge.
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>

namespace tesmo {

/// Makes the border edge (a, b) = the first two values of `edge` an edge of the triangulation:
/// the `crossed` triangles it crosses (tritse) are replaced by as many (rf2far); `crossed` is 0
/// when ab was already there, or tritse's negative code. When the walk refuses ab (a node
/// within its tolerance) or the re-triangulation leaves it missing, the diagonals crossing ab
/// are exchanged instead (rf2dia). Integer work: the crossed list, then rf2far's. Returns 0,
/// or the callee's code (" APPEL TRITSE" for a full list, " APPEL RF2FAR", " APPEL RF2DIA":
/// -1 when a node lies on ab); `shortage`, when given, tells which array a -2 ran short of.
[[nodiscard]] int rf2rar(Vec<const int32_t> edge, Rows<int32_t> ITRNOE, Rows<int32_t> ITRTRI, Vec<int32_t> NOETRI,
                         int32_t NBE, Rows<const float> COORD, Vec<int32_t> iwork, Vec<float> rwork, int32_t& crossed,
                         WorkShortage* shortage = nullptr);

/// Replaces the k `crossed` triangles (sorted in place) by as many triangles of best smallest
/// quality on either side of ab, in rows 1..k; a strip it cannot take (a frontier of other than
/// k + 2 faces, no single loop or a loop of fewer than 4 sides, a polygon without ab, a flat or
/// reversed new triangle: each told as a notice) leaves ab missing and the tables as they were
/// given, with code 0. Integer work: 8 k + 10 at least, in use 14 k + 19, then 14 k + 10 plus
/// trpls2Need(k + 1). Returns 0, -1 bad data (a crossed list or a structure that is wrong), -2 short work
/// (`shortage`, when given, tells which array), or a step's code.
[[nodiscard]] int rf2far(Vec<const int32_t> edge, Vec<int32_t> crossed, Rows<int32_t> ITRNOE, Rows<int32_t> ITRTRI,
                         Vec<int32_t> NOETRI, int32_t NBE, Rows<const float> COORD, Vec<int32_t> iwork,
                         Vec<float> rwork, WorkShortage* shortage = nullptr);

} // namespace tesmo
