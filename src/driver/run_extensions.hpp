#pragma once
// What a run may do beyond the console program's own behaviour, and what it tells its caller
// back. The console program passes none, so that every stage then behaves exactly as its own;
// the front end for scripts and the sizing of longer work arrays fill in what they need.
#include "refinement/quality.hpp"
#include "support/tables.hpp"

#include <cstdint>

namespace tesmo {

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
