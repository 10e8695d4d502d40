#pragma once
// Borders shared by two zones under the shape refinement: a zone's refinement may split a
// border edge that another zone also has; the split must then be made for every zone that
// uses the edge, or the mesh would not be conforming. The zone loop is run again with the
// split nodes added to the border description, until a pass splits no shared border edge; the
// last pass allowed splits none.
#include "driver/api_mesh.hpp"
#include "driver/run_extensions.hpp"
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>

namespace tesmo {

/// Passes of the zone loop at most; the last one splits no shared border edge.
inline constexpr int32_t kSharedSplitPasses = 8;

/// Before the zone loop: when `extensions` asks for a shape refinement, the log of the shared
/// splits is carved from the end of `freeIntegers` (which loses it) and the passes start.
/// Returns 0; -2 when the free integers cannot hold it.
[[nodiscard]] int startSharedSplits(RunExtensions* extensions, Vec<int32_t>& freeIntegers);

/// Before the stages of zone `zoneCode` (nz nodes, `INEWNU` its local numbers): its nodes on
/// a border edge that lists another zone are flagged, and its split table is set, both carved
/// from the end of `stageIntegers` (which loses them). Nothing is done unless `extensions`
/// asks for a shape refinement. Returns 0; -2 when the integers cannot hold them.
[[nodiscard]] int prepareZoneBorders(const BorderDescription& border, int32_t zoneCode, const ZoneEdges& candidates,
                                     Vec<const int32_t> INEWNU, int32_t nz, Vec<int32_t>& stageIntegers,
                                     RunExtensions* extensions);

/// After the merge of a zone: its splits of shared borders, in global numbers (local node l
/// is nodeList(l) for l <= nz, else newNumbers(l - nz)), appended to the run's log.
/// Returns 0; -2 when the log is full; -1 for a node outside the zone.
[[nodiscard]] int logZoneSplits(Vec<const int32_t> nodeList, Vec<const int32_t> newNumbers, int32_t zoneNodes,
                                RunExtensions* extensions);

/// After a pass of the zone loop: the logged splits become border nodes (numbered after the
/// border's, with their coordinates and sizes) and their edges border edges (the edge a b of
/// the description becomes a m, and m b is appended with the same zone codes); the mesh goes
/// back to the border nodes alone. `again` tells that the zones must be meshed again. `work`
/// (free integers) sorts the edges for their search. Returns 0; -2 when the edge tables are
/// full; -1 for a logged edge not in the description.
[[nodiscard]] int applySharedSplits(RunExtensions* extensions, int32_t& pass, BorderDescription& border,
                                    Rows<int32_t> edgeNodes, Rows<int32_t> edgeCodes, GlobalMesh& mesh,
                                    Vec<float> RADEC, Vec<int32_t> work, bool& again);

} // namespace tesmo
