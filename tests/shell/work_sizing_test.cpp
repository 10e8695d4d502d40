// Work arrays sized for the job, in-process on small base lengths: the job crosses them many
// times over in a few milliseconds, as a large job crosses the program's own lengths.
#include "messages/messages.hpp"
#include "shell/shell.hpp"
#include "support/mesh_check.hpp"
#include "support/run_binary.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace tesmo {
namespace {

using testing::checkMeshFiles;
using testing::readFile;
using testing::ScratchDirectory;

/// Base lengths that hold a few hundred nodes of one zone.
constexpr int32_t kSmallBase = 40000;

/// The unit square with the size 0.02 at its corners: about 2 800 nodes.
const char* const kSquare = "DEBXYZ\n4 2\n0. 0.\n1. 0.\n1. 1.\n0. 1.\nFINXYZ\nDEBILM\n1\n5 1 2 3 4 1 100 1 1\nFINILM\n";
const char* const kSizes = "DEBGRD\n4 1\n1 0.02\n2 0.02\n3 0.02\n4 0.02\nFINGRD\n";

struct Outcome {
    int code = 0;
    std::string console;
    std::string mesh;
    int nodes = 0;
};

class GrowingArrays : public ::testing::Test {
protected:
    void SetUp() override
    {
        unsetenv(kMemoryVariable);
        directory.write("square.geo", kSquare);
        directory.write("sizes.grd", kSizes);
    }
    void TearDown() override { unsetenv(kMemoryVariable); }

    /// One run of `tesmo v square.geo sizes.grd out.msh - [nbn]`, on growing arrays from
    /// `base` entries, or on fixed arrays of `fixed` entries when it is positive.
    Outcome run(const std::string& nbn, int32_t base, int32_t fixed = 0)
    {
        const std::string mesh = directory.file("out.msh");
        std::remove(mesh.c_str());
        const std::vector<std::string> words = {"v", directory.file("square.geo"), directory.file("sizes.grd"), mesh, "-",
                                                nbn};
        std::vector<std::string_view> views(words.begin(), words.end() - (nbn.empty() ? 1 : 0));
        WorkMemory memory;
        std::vector<int32_t> itvl(std::size_t(std::max(fixed, 1)));
        std::vector<float> rtvl(std::size_t(std::max(fixed, 1)));
        if (fixed > 0) {
            memory.itvl = Vec<int32_t>(itvl.data(), fixed);
            memory.rtvl = Vec<float>(rtvl.data(), fixed);
        } else {
            memory.grow = true;
            memory.sizing.baseIntegers = base;
            memory.sizing.baseReals = base;
        }
        Outcome outcome;
        {
            ConsoleCapture capture;
            outcome.code = runTesmo(Arguments(views.data(), int32_t(views.size())), memory);
            outcome.console = capture.text();
        }
        outcome.mesh = readFile(mesh);
        outcome.nodes = outcome.mesh.empty() ? 0 : std::atoi(outcome.mesh.c_str() + outcome.mesh.find('\n') + 1);
        return outcome;
    }

    ScratchDirectory directory;
};

/// The node-maximum warning of a console text, with its count; "" when there is none.
std::string warning(const std::string& console)
{
    const std::string tag = "Maximum number of nodes reached  :";
    const std::size_t at = console.find(tag);
    return at == std::string::npos ? "" : console.substr(at, console.find('\n', at) - at);
}

TEST_F(GrowingArrays, ALongerJobMeshesAsOnArraysOfTheRightLengthAndTheMaximumIsKept)
{
    // arrays long enough from the start, then arrays lengthened several times: the same files
    // and the same console text, no line repeated by the runs made again
    const Outcome reference = run("", 0, 4000000);
    const Outcome grown = run("", kSmallBase);
    ASSERT_EQ(grown.code, kOk) << grown.console;
    EXPECT_GT(reference.nodes, 2000);
    EXPECT_EQ(grown.mesh, reference.mesh);
    EXPECT_EQ(grown.console, reference.console);
    EXPECT_EQ(warning(grown.console), "");
    EXPECT_EQ(checkMeshFiles(directory.file("out.msh"), directory.file("square.geo")), "");
    // a sweep of the maximum: the mesh has min(maximum, wanted) nodes, never fewer for a larger
    // maximum, and the warning tells the count it holds
    const int full = reference.nodes;
    int previous = 0;
    for (const int nbn : {full / 8, full / 3, full - 1, full, 2 * full}) {
        const Outcome limited = run(std::to_string(nbn), kSmallBase);
        ASSERT_EQ(limited.code, kOk) << nbn << limited.console;
        EXPECT_EQ(limited.nodes, std::min(nbn, full)) << nbn;
        EXPECT_GE(limited.nodes, previous) << nbn;
        previous = limited.nodes;
        EXPECT_EQ(warning(limited.console),
                  nbn <= full ? "Maximum number of nodes reached  : " + std::to_string(limited.nodes) : "")
            << nbn;
    }
}

TEST_F(GrowingArrays, TheMemoryLimitStopsWithTheTrueCountAndAValidMesh)
{
    // one megabyte holds about three times the base lengths: far less than the job wants
    setenv(kMemoryVariable, "1", 1);
    const Outcome stopped = run("", kSmallBase);
    ASSERT_EQ(stopped.code, kOk) << stopped.console;
    EXPECT_GT(stopped.nodes, 100);
    EXPECT_EQ(warning(stopped.console), "Maximum number of nodes reached  : " + std::to_string(stopped.nodes));
    EXPECT_NE(stopped.console.find(" WARNING  memory limit reached, the mesh is not complete : 1 MB\n"),
              std::string::npos)
        << stopped.console;
    EXPECT_EQ(checkMeshFiles(directory.file("out.msh"), directory.file("square.geo")), "");
    // a maximum of nodes far beyond the memory: memory bounds the nodes first, the same way
    const Outcome beyond = run("1000000", kSmallBase);
    ASSERT_EQ(beyond.code, kOk) << beyond.console;
    EXPECT_EQ(warning(beyond.console), "Maximum number of nodes reached  : " + std::to_string(beyond.nodes));
    EXPECT_NE(beyond.console.find("memory limit reached"), std::string::npos) << beyond.console;
    EXPECT_EQ(checkMeshFiles(directory.file("out.msh"), directory.file("square.geo")), "");
    // a limit below the base lengths leaves them available
    setenv(kMemoryVariable, "0000001", 1);
    EXPECT_EQ(run("", 20 * kSmallBase).code, kOk);
}

TEST_F(GrowingArrays, ABadMemoryLimitIsRefusedBeforeAnyFileIsRead)
{
    directory.write("square.geo", "not a geometry");
    for (const char* bad : {"abc", "0", "-3", "", "12MB"}) {
        setenv(kMemoryVariable, bad, 1);
        const Outcome refused = run("", kSmallBase);
        EXPECT_EQ(refused.code, kDataError);
        EXPECT_EQ(refused.console, std::string(" tesmo 2.06\n DATE 23 11 2011\n DATA ERROR  TESMO_MEMORY is not a "
                                               "number of megabytes : ") +
                                       (*bad == '\0' ? "(empty)" : bad) + "\n")
            << bad;
    }
}

} // namespace
} // namespace tesmo
