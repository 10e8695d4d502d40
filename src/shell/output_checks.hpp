#pragma once
// The outputs of a run checked before any input is read, so that a run that could not write
// its results is refused before minutes of meshing are spent on it.
#include "shell/MGg_main.hpp"

#include <cstdint>

namespace tesmo {

/// Checks that each output file the run will write can be written: the mesh file (replaced
/// when it exists) and the nodal-size file, which must not exist (when the size specification
/// gives it values) nor be the mesh file; each in a folder that exists and takes a new file.
/// Creates nothing that stays. Returns 0, or -1 after reporting "while writing the file :"
/// with the name of the first output that cannot be written.
[[nodiscard]] int checkOutputs(const RunFiles& files);

} // namespace tesmo
