#pragma once
// The refinement's watch over its node cap, for a caller that can run the job again with longer
// work arrays: how many nodes the zone will need is estimated from the wanted sizes, so that a
// zone whose need is well beyond its cap stops early (little work lost) and the caller knows
// how long the arrays must be.
//
// The estimate is a quadrature of the node density over the current triangles: a mesh whose
// triangles follow a wanted size h holds a constant number of nodes times 1/h^2 per unit of
// area (a constant of the refinement mode), whatever the shape of the zone, so the zone needs
// about
//     density constant * sum over the triangles of area / h^2,
// h the smallest wanted size of the triangle among the concentrations. The sum is good once
// the triangles are small beside the distances over which h changes, which the refinement
// reaches early since it always refines the worst triangle first.
#include "size/rf_densdef.hpp"
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>

namespace tesmo {

/// Nodes per unit of area and of 1/h^2 in a finished refinement, by the measure each mode's
/// size function compares with the wanted size (measured on uniform and graded squares):
/// concentrations stop at circumradii below 0.87 h, sizes at the points at longest edges below
/// 1.5 h.
inline constexpr double kNodesPerUnitDensityConcentrations = 0.88;
inline constexpr double kNodesPerUnitDensityAtPoints = 1.12;

/// What the refinement does about its node cap when its caller can lengthen the work arrays.
struct CapacityWatch {
    /// In: watch the cap (off for the console program's runs within its arrays).
    bool active = false;
    /// In: the nodes the run allows the zone to reach (its room), whatever the tables hold: a
    /// cap that comes from there is the user's maximum, not a capacity stop.
    int64_t allowed = 0;
    /// In: every concentration of the run (mode 2), so that the estimate takes the smallest
    /// wanted size of each triangle; mode 3 reads the sizes at the nodes.
    DensityRecords density;
    /// Kept: the refinement passes made in the zone (one per concentration).
    int32_t passes = 0;
    /// Out: the nodes the zone is estimated to need (0 when the size does not tell: mode 1).
    int64_t estimate = 0;
    /// Out: the refinement stopped before its cap, the estimate being far beyond it.
    bool abandoned = false;
    /// Out: the nodes the zone's tables allow (the node cap, or two new elements a node in the
    /// element rows left), as the refinement found them.
    int64_t cap = 0;
};

/// The node counts at which a watched refinement of cap `cap` estimates its need, and the
/// factor by which the estimate must pass the cap there for the refinement to stop early: the
/// later the checkpoint, the closer the estimate, the smaller the factor.
struct Checkpoint {
    int64_t nodes = 0;
    double factor = 0.0;
};
/// The checkpoint after `nodes` nodes of a refinement that started with `start` nodes under
/// cap `cap` (checkpoints at fractions of the nodes it may add); nodes 0 when none is left.
Checkpoint nextCheckpoint(int64_t nodes, int64_t start, int64_t cap);

/// The nodes a zone needs by the quadrature above, over elements 1..NBE of `elements` with the
/// circle rows `circles` (read by the size functions), in refinement mode `mode` with size
/// function `sizeFunction`: mode 2 takes the smallest wanted size of the concentrations of
/// `density`, mode 3 the sizes at the nodes `nodeSizes`. Answers 0 in mode 1. Returns 0, or the
/// code of a size function that fails.
[[nodiscard]] int estimateNodes(int32_t mode, SizeFunction sizeFunction, const DensityRecords& density,
                                Vec<const float> nodeSizes, Rows<const int32_t> elements, int32_t NBE,
                                Rows<const float> coordinates, Rows<float> circles, int64_t& nodes);

} // namespace tesmo
