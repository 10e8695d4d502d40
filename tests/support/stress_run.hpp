#pragma once
// Whole runs of the mesher in the test process, on work arrays as long as the program's, for
// the stress runs: each geometry is meshed in a directory of its own and the mesh written is
// checked by the mesh checker.
#include "support/stress_geometry.hpp"

#include <cstdint>
#include <string>
#include <vector>

namespace tesmo::testing {

/// Meshes geometries one after the other in `directory` (which must exist), on work arrays of
/// the given lengths (the program's by default).
class StressRunner {
public:
    explicit StressRunner(std::string directory, int32_t integers = 0, int32_t reals = 0);
    /// Meshes the geometry with its size file (nbn as given: -1 none) and checks the mesh:
    /// "" when a valid mesh was written, else what went wrong (the console of the run in debug
    /// mode follows the reason). The work arrays are cleared before each run, as the program
    /// starts with them cleared.
    std::string mesh(const GeometryText& geometry, int32_t nbn = -1);
    /// The mesh file of the last run.
    std::string meshFile() const { return directory_ + "/out.msh"; }

private:
    std::string directory_;
    int32_t integers_;
    int32_t reals_;
    std::vector<int32_t> itvl_;
    std::vector<float> rtvl_;
};

} // namespace tesmo::testing
