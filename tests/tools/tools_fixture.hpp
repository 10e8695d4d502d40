#pragma once
// Runs of tesmo-tools in a scratch directory, and the lines an independent reader
// (read_outputs.py) prints for a file it wrote.
#include "support/run_binary.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace tesmo::testing {

class ToolsRun : public ::testing::Test {
protected:
    RunResult tools(const std::vector<std::string>& arguments)
    {
        return runBinary(TESMO_TOOLS_BINARY, arguments, directory.path(), std::nullopt, 60);
    }
    /// The lines an independent reader prints for a written file.
    std::vector<std::string> readBack(const std::string& kind, const std::string& file)
    {
        const RunResult r = runBinary(TESMO_PYTHON, {TESMO_TOOLS_TEST_DIR "/read_outputs.py", kind, file},
                                      directory.path(), std::nullopt, 120);
        EXPECT_EQ(r.exitStatus, 0) << r.errors;
        std::vector<std::string> lines;
        std::istringstream in(r.output);
        for (std::string line; std::getline(in, line);) {
            if (!line.empty()) { // the reader may print blank lines of its own
                lines.push_back(line);
            }
        }
        return lines;
    }
    ScratchDirectory directory;
};

} // namespace tesmo::testing
