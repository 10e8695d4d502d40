#pragma once
// The nodal-values file: a title, then block GRD with the number of nodes n, the number of
// values per node m, and one line per node holding its number and its m values.
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>
#include <string_view>

namespace tesmo {

/// First line of every nodal-values file.
inline constexpr std::string_view kGrandeurHeading = "* GRANDEUR 1.0.0  (12 AOUT 97)";

/// Writes a nodal-values file (one row of values per node, nodes 1..n in order) to a new file,
/// or to standard output when the name is blank. Returns 0, or the file manager's code when the
/// file cannot be created (-1 when it exists or is already open), with no message.
[[nodiscard]] int ecrgrd(std::string_view name, std::string_view title, Rows<const float> values);

/// Reads the GRD block: n and m, and when the pass is not 0 and `values` has room, the values
/// of each node line into the row of its node number. Returns 0; -1 bad data; -2 (no message)
/// when `values` cannot hold n rows of m or a node's row lies beyond it.
[[nodiscard]] int litgrd(int32_t pass, std::string_view name, Vec<float> values, int32_t& m, int32_t& n);

} // namespace tesmo
