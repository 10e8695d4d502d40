#pragma once
// What a run may do beyond the console program's own behaviour, and what it tells its caller
// back. The console program passes none, so that every stage then behaves exactly as its own;
// the front end for scripts and the sizing of longer work arrays fill in what they need.
#include "driver/geometry_fault.hpp"

#include <cstdint>

namespace tesmo {

/// Settings and results of one run beyond the console program's own; handed down from the
/// driver to the zone pipeline and the zone stages, which read and fill it.
struct RunExtensions {
    GeometryFault fault; ///< filled by the driver when it refuses the geometry at a place it located
};

} // namespace tesmo
