#pragma once
// What every subcommand of tesmo-tools shares: its command line, its failure report on
// standard error with the exit status, the progress line of long runs, and writing a
// finished text to its file.
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tesmo::tools {

inline constexpr int kExitOk = 0;      ///< the subcommand did its work
inline constexpr int kExitFailure = 1; ///< bad input file, or an output that could not be written
inline constexpr int kExitUsage = 2;   ///< wrong command line

/// The words of a subcommand's command line after the subcommand name.
struct CommandLine {
    std::vector<std::string> positional; ///< the words that are not options
    std::string output;                  ///< -o FILE
    std::string sizes;                   ///< --sizes FILE
    std::string geometry;                ///< --geometry FILE
    bool json = false;                   ///< --json
    bool help = false;                   ///< --help or -h
};

/// Which options a subcommand accepts besides --help.
struct OptionSet {
    bool output = false;
    bool sizes = false;
    bool geometry = false;
    bool json = false;
};

/// Splits `words` into options and positional words. Returns "" or what is wrong (an
/// unknown option, an option without its value, an option given twice).
std::string parseCommandLine(const std::vector<std::string>& words, const OptionSet& accepted, CommandLine& line);

/// Prints "tesmo-tools COMMAND: TEXT" on standard error and answers `status`, so that a
/// failing branch reads `return fail("svg", kExitFailure, "...")`.
int fail(std::string_view command, int status, std::string_view text);

/// Prints a usage error followed by the hint to ask for help, and answers kExitUsage.
int usageError(std::string_view command, std::string_view text);

/// Writes a whole text to a file, replacing it. Returns "" or what went wrong.
std::string writeTextFile(const std::string& path, std::string_view text);

/// A progress line on standard error for work that takes more than a second: nothing is
/// printed before a second has passed, then the line is redrawn at most a few times a second
/// and ended by `finish`.
class Progress {
public:
    explicit Progress(std::string what);
    /// Tells how far the work is (done out of total); cheap enough to call often.
    void update(int64_t done, int64_t total);
    /// Ends the line with the time taken, when a line was shown or the work took over a second.
    void finish();

private:
    double elapsed() const;
    std::string what_;
    std::chrono::steady_clock::time_point start_;
    double shownAt_ = -1.0;
    int64_t calls_ = 0;
};

/// The file name without its folders and without its last extension ("a/b/plate.msh": "plate").
std::string baseName(const std::string& path);

} // namespace tesmo::tools
