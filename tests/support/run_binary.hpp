#pragma once
// Runs a built program as a child process and collects what it prints, for whole-run tests;
// plus a scratch directory that removes itself.
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tesmo::testing {

/// What a child run gave back.
struct RunResult {
    std::string output;     ///< everything written on standard output
    std::string errors;     ///< everything written on standard error
    int exitStatus = -1;    ///< the exit status, or -1 when the process did not exit normally
    bool timedOut = false;  ///< the run was killed after the time limit
};

/// Runs `program` with `arguments` in `directory`. Standard input receives `input`, or is at
/// end of input at once when `input` is empty (std::nullopt). The run is killed after
/// `seconds`. Uses no shell: the arguments reach the program as given.
RunResult runBinary(const std::string& program, const std::vector<std::string>& arguments,
                    const std::string& directory, const std::optional<std::string>& input = std::nullopt,
                    int seconds = 20);

/// A fresh directory under the system's temporary directory, removed with its content.
class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;
    const std::string& path() const { return path_; }
    /// The path of a file of this directory.
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    /// Writes a text file of this directory.
    void write(const std::string& name, const std::string& text) const;

private:
    std::string path_;
};

/// While alive, the program's standard input (std::cin) reads the given text instead, so that
/// in-process runs that ask questions on the console get their answers, then end of input.
class StandardInput {
public:
    explicit StandardInput(const std::string& text);
    ~StandardInput();
    StandardInput(const StandardInput&) = delete;
    StandardInput& operator=(const StandardInput&) = delete;

private:
    std::unique_ptr<std::istringstream> text_;
    std::streambuf* previous_;
};

/// The whole content of a file ("" when it cannot be read).
std::string readFile(const std::string& path);

} // namespace tesmo::testing
