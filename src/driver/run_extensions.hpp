#pragma once
// What a run may do beyond the console program's own behaviour, and what it tells its caller
// back. The console program passes none, so that every stage then behaves exactly as its own;
// the front end for scripts and the sizing of longer work arrays fill in what they need.
#include "driver/geometry_fault.hpp"
#include "refinement/capacity_watch.hpp"
#include "refinement/quality.hpp"
#include "support/tables.hpp"

#include <cstdint>

namespace tesmo {

/// How a run meets the capacity of its work arrays, when its caller can hand it longer ones.
struct CapacityOutcome {
    /// In: a stop for capacity (a table full before the job is done, where longer arrays would
    /// go further) ends the run at once, before anything about it is printed or written, so
    /// that the caller can run the job again with longer arrays.
    bool stopAtCapacity = false;
    /// In: the arrays are as long as the memory limit allows; a capacity stop is told, as the
    /// full tables always are, and with one line saying that memory was the limit.
    bool memoryLimited = false;
    /// In: the memory limit in megabytes, for that line.
    int64_t limitMegabytes = 0;
    /// Out: the run ended at a capacity stop (with `stopAtCapacity`), or went on past one
    /// (with `memoryLimited`).
    bool stopped = false;
    /// Out: the nodes the mesh held, or the node maximum that stopped it, where it stopped.
    int64_t nodesHeld = 0;
    /// Out: the nodes the job is estimated to need in all (0 when unknown).
    int64_t nodesWanted = 0;
};

/// The border edges shared by two zones that a zone's refinement split during one pass of the
/// zone loop, in global node numbers: rows (a, b, m), the edge a b split at the node m, in the
/// order of the splits (so m grows from row to row).
struct BorderSplitLog {
    Rows<int32_t> rows;
    int32_t count = 0;
};

/// Settings and results of one run beyond the console program's own; handed down from the
/// driver to the zone pipeline and the zone stages, which read and fill it.
struct RunExtensions {
    CapacityOutcome capacity;
    /// The refinement's watch over its node cap (set by the zone stages from `capacity`).
    CapacityWatch watch;
    GeometryFault fault; ///< filled by the driver when it refuses the geometry at a place it located
    /// Asked by the caller: well-shaped triangles (a shape bound, a largest area, smoothing).
    QualityRequest quality;
    /// Told to the caller now and then: the nodes a zone's refinement has reached.
    ProgressHook progress;
    /// Given back: the largest status of a zone's refinement in the last pass (1 the maximum
    /// of nodes, 2 the maximum of elements stopped it; 0 every zone was refined to the end).
    int32_t stoppedEarly = 0;

    // Kept by the run while the zones are meshed with a shape refinement:
    /// The splits of shared borders of the current pass.
    BorderSplitLog splits;
    /// False on the last pass: shared borders are no longer split.
    bool splitShared = true;
    /// The zone being meshed: its shared border nodes and its splits on them.
    QualityBorders zoneBorders;
};

} // namespace tesmo
