#pragma once
// Sorting of integer lists and their distinct values.
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>

namespace tesmo {

/// Sorts the values of `list` ascending in place by Shell's method (gaps n div 2, halved
/// down to 1; equal values are never passed over).
void knuta(Vec<int32_t> list);

/// Writes the distinct values of `values` ascending to `output` and their number to
/// `distinct`, sorting a copy of the values in `work` (which may be the storage of the values
/// or of the output). The number is given in full even when `output` cannot hold them all.
/// Returns 0, or -2 when `output` holds no value, holds fewer than the distinct values, or
/// `work` is shorter than the values.
[[nodiscard]] int tbvtab(Vec<const int32_t> values, Vec<int32_t> work, Vec<int32_t> output, int32_t& distinct);

} // namespace tesmo
