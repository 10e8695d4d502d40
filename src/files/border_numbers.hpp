#pragma once
// The border records of a geometry file that gave elements: the geometry reader cuts each
// border into elements in file order and keeps no trace of the border, so a report that names
// the border of an element reads the border block once more.
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>
#include <string_view>

namespace tesmo {

/// For each element number of `elements` (in the order the geometry reader made them), the
/// number of the border record that gave it into `borders` (0 for a number beyond the
/// elements). `count` is the number of elements the file gave when it was read.
/// Returns 0; -1 when the file no longer gives `count` elements (the borders are then 0).
/// Prints nothing, as the file was read before without a fault (unless it cannot be opened).
[[nodiscard]] int borderNumbers(std::string_view name, int32_t count, Vec<const int32_t> elements, Vec<int32_t> borders);

} // namespace tesmo
