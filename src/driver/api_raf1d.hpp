#pragma once
// The border stage: every border edge of the geometry cut once by the size specification,
// before any zone is meshed, and the wanted size evaluated at every node for the nodal-size
// file.
#include "boundary/boundary.hpp"
#include "driver/api_triangulation.hpp"
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>

namespace tesmo {

/// Cuts the border edges of `border` by the refinement mode of `sizes` (1 default sizes; 2
/// concentrations and 3 sizes at the points, with the generation mode as method) when `room`
/// is not 0; then, when `GRDNOE` has entries (a nodal-size file is named), the size at every
/// node. In mode 3 every new node gets its size in `sizes.reals`. Returns 0; 1 when the maximum
/// number of nodes (or of edges) stopped the cutting, the border being coarser but valid; -1 for
/// a refinement mode out of 1..3 ("DEFINITION DENSITE INCORRECTE") or bad data; -2 when a table
/// or `GRDNOE` is too small; -3 for concentrations in 3D.
[[nodiscard]] int mg1fct(BorderMesh& border, const SizeSpecification& sizes, int32_t room, Vec<float> GRDNOE,
                         Vec<int32_t> freeIntegers, Vec<float> freeReals);

} // namespace tesmo
