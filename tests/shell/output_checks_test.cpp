// The outputs checked before the geometry is read: each case in a fresh folder, which the
// check must leave as it found it.
#include "shell/output_checks.hpp"

#include "messages/es_chaine.hpp"
#include "support/files_test_support.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

namespace tesmo {
namespace {

/// The names of the entries of the current folder and its sub-folders, with their sizes.
std::set<std::string> listing()
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(".")) {
        names.insert(entry.path().string() + (entry.is_regular_file() ? " " + std::to_string(entry.file_size()) : ""));
    }
    return names;
}

struct Outputs {
    const char* what;
    std::string sizes; ///< the size file named (blank: none)
    std::string mesh;
    std::string nodalSizes;
    const char* refused; ///< the name in the report, nullptr when the outputs can be written
};

class CheckOutputs : public testfiles::FileTest, public ::testing::WithParamInterface<Outputs> {};

TEST_P(CheckOutputs, RefusesTheFirstThatCannotBeWrittenAndLeavesNothing)
{
    const Outputs& c = GetParam();
    std::filesystem::create_directory("folder");
    write("folder/old.msh", "an old mesh\n");
    write("old.grd", "old sizes\n");
    write("plain", "a file, not a folder\n");
    write("none.den", "DEBGEO\n0 2\nFINGEO\nDEBSUI\n0\nFINSUI\nDEBDEN\n0 1\nFINDEN\n");
    write("one.den", "DEBGEO\n1 2\n1 0 0\nFINGEO\nDEBSUI\n1\n1 1 0.1 1.2\nFINSUI\nDEBDEN\n1 1\n1 1 2 1 1\nFINDEN\n");
    const std::set<std::string> before = listing();
    ConsoleCapture console;
    const int code = checkOutputs(RunFiles{"geo.txt", c.sizes, c.mesh, c.nodalSizes, -1});
    if (c.refused == nullptr) {
        EXPECT_EQ(code, kOk) << c.what;
        EXPECT_EQ(console.text(), "") << c.what;
    } else {
        EXPECT_EQ(code, kDataError) << c.what;
        EXPECT_EQ(console.text(), testfiles::dataError("while writing the file :", c.refused)) << c.what;
    }
    EXPECT_EQ(listing(), before) << c.what;
}

const std::string kNone = "   ";

INSTANTIATE_TEST_SUITE_P(
    Outputs, CheckOutputs,
    ::testing::Values(
        Outputs{"new mesh and nodal sizes", kNone, "out.msh", "out.grd", nullptr},
        Outputs{"an existing mesh file is replaced", kNone, "folder/old.msh", kNone, nullptr},
        Outputs{"no folder for the mesh", kNone, "nowhere/out.msh", "out.grd", "nowhere/out.msh"},
        Outputs{"a file as the folder", kNone, "plain/out.msh", kNone, "plain/out.msh"},
        Outputs{"a folder as the mesh file", kNone, "folder", kNone, "folder"},
        Outputs{"no folder for the nodal sizes", kNone, "out.msh", "nowhere/out.grd", "nowhere/out.grd"},
        Outputs{"an existing nodal-size file", kNone, "out.msh", "old.grd", "old.grd"},
        Outputs{"an existing nodal-size file, with sizes", "one.den", "out.msh", "old.grd", "old.grd"},
        Outputs{"an existing nodal-size file that gets no value", "none.den", "out.msh", "old.grd", nullptr},
        Outputs{"the nodal sizes in the mesh file", kNone, "out.msh", "./out.msh", "./out.msh"},
        Outputs{"nodal sizes only", kNone, kNone, "out.grd", nullptr}),
    [](const ::testing::TestParamInfo<Outputs>& param) { return "case" + std::to_string(param.index); });

} // namespace
} // namespace tesmo
