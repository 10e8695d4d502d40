#pragma once
// Sets of elements: the frontier of the first elements, connected sets, and sorted lists.
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>

namespace tesmo {

/// Lists the frontier faces of elements 1..n: for each element in order and each of its
/// faces k, the row (element, k) of `frontier` when the neighbour entry is <= 0 or above n,
/// with k negated for a border-marked (negative) entry. `count` is the number of rows
/// written. Returns 0, -1 for a bad n or an unknown type, -2 when `frontier` has too few
/// rows (or fewer than 2 columns) or an element has more faces than NFE.
[[nodiscard]] int tmafrt(int32_t d, Rows<const int32_t> ITRNOE, Rows<const int32_t> ITRTRI, int32_t n,
                         Rows<int32_t> frontier, int32_t& count);

/// Collects the connected set of `seed`: from the seed (marked), takes the last element of
/// the stack, appends it to `output` after its `count` entries, and pushes every entry of
/// its row of `table` that is at least `threshold` and not marked, marking it. Element
/// numbers run up to the smaller of the table's rows and the marks. Returns 0, -1 for a
/// seed or an entry out of range or a threshold below 1, -2 when the stack or the output is full.
[[nodiscard]] int tma1cc(Rows<const int32_t> table, int32_t threshold, int32_t seed, Vec<int32_t> stack,
                         Vec<int32_t> marks, Vec<int32_t> output, int32_t& count);

/// Partitions elements 1..NBE into connected sets through the positive entries of `table`:
/// each set starts at the lowest element not yet taken; its elements are appended to
/// `output` (NBE entries in all) and its size to `sizes`. Returns 0, -1 for an entry beyond
/// NBE, -2 when there are more sets than `sizes` holds or a work area is too small.
[[nodiscard]] int tmapar(Rows<const int32_t> table, int32_t NBE, Vec<int32_t> stack, Vec<int32_t> marks,
                         Vec<int32_t> output, Vec<int32_t> sizes, int32_t& setCount);

/// Sorts the list ascending (knuta).
void enstri(Vec<int32_t> list);

} // namespace tesmo
