#pragma once
// Work arrays sized for the job. A run starts on arrays of the program's own lengths; when a
// table fills before the job is done (a capacity stop that longer arrays would avoid), the run
// is abandoned before anything is written and made again on longer arrays, laid out by the
// same rules: the lengths grow by the nodes the refinement estimates the job to need (or
// geometrically when it cannot tell), up to the memory limit. The last run, on arrays as long
// as the limit allows, meets its capacity stops as the program always has, and says that
// memory was the limit.
//
// The console text of an abandoned run is not repeated: the next run's text is swallowed as
// long as it repeats what was already printed.
#include "driver/run_extensions.hpp"
#include "support/tables.hpp"

#include <cstdint>
#include <string>
#include <string_view>

namespace tesmo {

inline constexpr int32_t kItvlLength = 13002248; ///< integers of the work array `itvl`
inline constexpr int32_t kRtvlLength = 13000794; ///< reals of the work array `rtvl`

/// The environment variable that lowers the memory limit, in megabytes.
inline constexpr const char* kMemoryVariable = "TESMO_MEMORY";
/// Largest length of one work array: tables are indexed by 32-bit integers.
inline constexpr int64_t kLongestArray = 2147483647;

/// How the arrays of a run are sized.
struct ArraySizing {
    int32_t baseIntegers = kItvlLength; ///< the least lengths, always available
    int32_t baseReals = kRtvlLength;
    int64_t limitBytes = 0;             ///< the memory limit of the two arrays together
    int64_t limitMegabytes = 0;         ///< the same, as the user gave it or as the machine has it
};

/// The memory limit from `setting` (the value of TESMO_MEMORY, null when unset): that many
/// megabytes, else the machine's physical memory less an eighth; never below the base arrays.
/// Returns 0, or -1 when the setting is not a positive whole number of megabytes.
[[nodiscard]] int memoryLimit(const char* setting, ArraySizing& sizing);

/// The generation on arrays sized for the job (see the top of this file): the four file names
/// and the maximum of nodes as the driver takes them. `caller`, when given, holds what the run
/// is asked beyond the program's own (each run made starts from it) and receives what the last
/// run tells back. Returns the code of the last run made.
[[nodiscard]] int generateGrowing(std::string_view geometry, std::string_view sizes, std::string_view mesh,
                                  std::string_view nodalSizes, int32_t nbn, const ArraySizing& sizing, int32_t mode,
                                  RunExtensions* caller = nullptr);

/// Where a run meshes: the fixed arrays it is given, or (`grow`) arrays sized for the job from
/// the base lengths of `sizing`, within the memory limit that TESMO_MEMORY sets.
struct WorkMemory {
    Vec<int32_t> itvl;
    Vec<float> rtvl;
    bool grow = false;
    ArraySizing sizing;
};

} // namespace tesmo
