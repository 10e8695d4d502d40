#pragma once
// Renumbering of elements: exchange of two numbers and the move of a set to the front.
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>

namespace tesmo {

/// Faces of the two elements of an exchange whose back references are rewritten.
inline constexpr int32_t kMaxExchangeFaces = 6;

/// Exchanges the numbers of elements A and B: their rows, the references of their
/// neighbours (signs kept) and, when `update` > 0, the NOETRI entries naming them. ITRTRI
/// of width 0 means no neighbour table. Returns 0, -1 for A or B outside 1..NBE ("NUMERO
/// HORS INTERVAL"), a neighbour without back reference (" STRUCTURE MAILLAGE") or out of
/// range, -2 for NFE above 6, a table shorter than NBE rows or NOETRI shorter than a node.
[[nodiscard]] int nuperm(Rows<int32_t> ITRNOE, Rows<int32_t> ITRTRI, Vec<int32_t> NOETRI, int32_t update, int32_t NBE,
                         int32_t a, int32_t b);

/// Exchanges element list(i) with element i for i = 1..count of `list`, stopping at the first
/// failure (earlier exchanges stay done). With a list ascending and without repeats, the
/// listed elements end at 1..count in list order. Returns 0 or the code of nuperm.
[[nodiscard]] int nucomp(Rows<int32_t> ITRNOE, Rows<int32_t> ITRTRI, Vec<int32_t> NOETRI, int32_t update, int32_t NBE,
                         Vec<const int32_t> list);

} // namespace tesmo
