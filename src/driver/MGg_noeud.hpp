#pragma once
// The generation driver: from the geometry and the size specification to the mesh file and
// the nodal-size file, on the two work arrays of the program.
#include "driver/run_extensions.hpp"
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>
#include <string_view>

namespace tesmo {

/// Reads the geometry and the size specification (counting, checks, storing), sizes and carves
/// the work arrays, discretises the borders, meshes every zone, and writes the mesh file and the
/// nodal-size file (blank names: not written). `nbn` is the maximum number of nodes (-1 none).
/// Returns 0; -1 bad data; -2 memory or a maximum already reached; -3 not available; the code
/// of a writer that failed (every failure is reported, and nothing is written before the end).
/// `extensions`, when given, carries what the run does beyond the console program's own.
[[nodiscard]] int mggmem(std::string_view geometry, std::string_view sizes, std::string_view mesh,
                         std::string_view nodalSizes, int32_t nbn, Vec<int32_t> itvl, Vec<float> rtvl, int32_t mode,
                         RunExtensions* extensions = nullptr);

} // namespace tesmo
