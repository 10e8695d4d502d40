#pragma once
// What a run may do beyond the console program's own behaviour, and what it tells its caller
// back. The console program passes none, so that every stage then behaves exactly as its own;
// the front end for scripts and the sizing of longer work arrays fill in what they need.
#include <cstdint>

namespace tesmo {

/// Settings and results of one run beyond the console program's own; handed down from the
/// driver to the zone pipeline and the zone stages, which read and fill it.
struct RunExtensions {
};

} // namespace tesmo
