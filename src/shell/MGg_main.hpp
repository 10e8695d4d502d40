#pragma once
// The run sequence of the tesmo program: mode word, banner, parameters, output checks,
// shared constants, then the generation.
#include "shell/es_prog.hpp"
#include "shell/work_sizing.hpp"
#include "support/tables.hpp"

#include <cstdint>
#include <string>
#include <string_view>

namespace tesmo {


/// Banner of the program.
inline constexpr std::string_view nomprg = "tesmo";
inline constexpr float releas = 2.06f;
inline constexpr std::string_view copyri = "tesmo team  ";
inline constexpr int32_t kReleaseDate = 20111123; ///< yyyymmdd
inline constexpr std::string_view contac = " no contact configured           ";

/// Number of parameters of the program: Df1, Df2, Rf1, Rf2, nbn.
inline constexpr int32_t kProgramParameters = 5;

/// The four file names of a run (blank when absent) and the maximum number of nodes.
struct RunFiles {
    std::string df1; ///< geometry file
    std::string df2; ///< mesh-size file
    std::string rf1; ///< resulting mesh file
    std::string rf2; ///< resulting nodal-size file
    int32_t nbn = -1; ///< maximum number of nodes, -1 when none
};

/// Checks that the requested outputs can be produced: blanks the absent names, sets `nbn`
/// to -1 when it was not given (presence flags in the order Df1, Df2, Rf1, Rf2, nbn; 0 or
/// less is absent). Returns 0, or -1 when no mesh file is named and the nodal sizes cannot
/// be produced alone (reported).
[[nodiscard]] int mgtest(RunFiles& files, Vec<const int32_t> presence, int32_t mode);

/// Stores the mode in `modini`, fills the tolerance block and the element-type tables.
void mginit2(int32_t mode);

/// The generation from the input files to the output files, in the work memory.
/// Returns the generation's code (0, a positive status, or -1, -2, -3).
[[nodiscard]] int runGeneration(const RunFiles& files, const WorkMemory& memory, int32_t mode);

/// The whole run for the command-line arguments after the program name, in the work memory
/// (a memory limit that TESMO_MEMORY sets badly is refused before any file is read). Returns
/// the code at which the run stopped (0 when it went through); the exit status is always 0.
int runTesmo(Arguments arguments, const WorkMemory& memory);
/// The same on the two fixed work arrays.
int runTesmo(Arguments arguments, Vec<int32_t> itvl, Vec<float> rtvl);
/// The same, from the process's argument vector.
int runTesmo(int argc, char** argv, const WorkMemory& memory);

} // namespace tesmo
