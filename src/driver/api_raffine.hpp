#pragma once
// The refinement stage of a zone: interior nodes inserted until the triangles match the wanted
// size of the refinement mode, then the wanted size at every node of the zone.
#include "driver/api_triangulation.hpp"
#include "driver/run_extensions.hpp"
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>

namespace tesmo {

/// Refines the triangulated `zone` (plane `coordinates`, at least NOEMAXz rows) by the refinement
/// mode of `sizes`, adding at most `room` nodes and keeping within `zone.nbemax` elements; then,
/// when `IGRDMX` is not empty (a nodal-size file is asked for), the wanted size of every node of
/// the zone into it. With sizes at the nodes, the sizes of the new nodes extend `sizes.reals`
/// and `sizes.realsPerRecord` becomes the zone's node count. Returns 0, 1 when the node cap was
/// reached, 2 when the element tables are full; -1 for a mode other than 1 to 3 ("DEFINITION
/// DENSITE INCORRECTE"); -2 when `IGRDMX` or the sizes hold fewer entries than the nodes
/// ("PLUS DE PLACE "); the code of the refinement or of the size evaluation.
[[nodiscard]] int mgraft(ZoneElements& zone, int32_t room, Rows<float> coordinates, Vec<float> IGRDMX,
                         SizeSpecification& sizes, Vec<int32_t> freeIntegers, Vec<float> freeReals,
                         RunExtensions* extensions = nullptr);

} // namespace tesmo
