// Whole runs of the tesmo program on its command line and console.
#include "support/run_binary.hpp"

#include <gtest/gtest.h>

#include <filesystem>

namespace tesmo {
namespace {

using testing::readFile;
using testing::runBinary;
using testing::RunResult;
using testing::ScratchDirectory;

const std::string kBanner = " tesmo 2.06\n DATE 23 11 2011\n";
const std::string kOnlineHelp = " For online help type : tesmo h\n";

/// Runs tesmo in a fresh directory holding the square geometry as geo.txt.
class Shell : public ::testing::Test {
protected:
    void SetUp() override
    {
        directory.write("geo.txt", readFile(TESMO_TEST_DATA "/shell_square.geo"));
        ASSERT_FALSE(readFile(directory.file("geo.txt")).empty());
    }
    RunResult tesmo(const std::vector<std::string>& arguments, const std::optional<std::string>& input = std::nullopt)
    {
        RunResult result = runBinary(TESMO_BINARY, arguments, directory.path(), input);
        EXPECT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitStatus, 0);
        EXPECT_EQ(result.errors, "");
        return result;
    }
    bool exists(const std::string& name) const { return std::filesystem::exists(directory.file(name)); }
    ScratchDirectory directory;
};

TEST_F(Shell, HelpPrintsTheBannerAndTheUsage)
{
    const RunResult run = tesmo({"h", "geo.txt"}, "geo.txt\n");
    EXPECT_EQ(run.output, kBanner +
                              " Usage  : tesmo [v/s/h]   Df1    [Df2]   [Rf1]   [Rf2]    [nbn]\n"
                              " OPTION : v for verbose, s for silent and h for help\n"
                              "              where Df1 is the data geometry file Df2 the data mesh size file  Rf1  "
                              "the resulting mesh file and  Rf2 the resulting mesh size.\n"
                              "   [] means the parameter is optional.\n");
    EXPECT_EQ(tesmo({"H"}).output, run.output);
}

TEST_F(Shell, BothResultNamesMissing)
{
    EXPECT_EQ(tesmo({"v", "geo.txt"}).output,
              kBanner + " DATA ERROR  the name of the resulting mesh file is missing\n" + kOnlineHelp);
}

TEST_F(Shell, GeometryThatCannotBeOpened)
{
    EXPECT_EQ(tesmo({"v", "missing.txt", "-", "out.msh"}).output,
              kBanner + " DATA ERROR  can t open the file :missing.txt\n" + kOnlineHelp);
    EXPECT_FALSE(exists("out.msh"));
}

TEST_F(Shell, NodalSizesAlone)
{
    EXPECT_EQ(tesmo({"v", "geo.txt", "-", "-", "out.grd"}).output,
              kBanner + " DATA ERROR  no mesh file given, the nodal values won t be located\n" + kOnlineHelp);
    const RunResult accepted = tesmo({"v", "geo.txt", "-", "-", "out.grd", "0"});
    EXPECT_TRUE(accepted.output.starts_with(kBanner + " nodal value computation only\n")) << accepted.output;
    EXPECT_EQ(accepted.output.find("DATA ERROR"), std::string::npos);
}

TEST_F(Shell, SilentRunsPrintOnlyErrors)
{
    EXPECT_EQ(tesmo({"s", "missing.txt", "-", "out.msh"}).output,
              " DATA ERROR  can t open the file :missing.txt\n" + kOnlineHelp);
    EXPECT_EQ(tesmo({"S", "geo.txt"}).output,
              " DATA ERROR  the name of the resulting mesh file is missing\n" + kOnlineHelp);
    EXPECT_EQ(tesmo({"s", "geo.txt", "-", "-", "out.grd", "0"}).output.find("nodal value"), std::string::npos);
}

TEST_F(Shell, DebugRunsPrintTheTraces)
{
    EXPECT_EQ(tesmo({"d", "missing.txt", "-", "out.msh"}).output,
              " DATA ERROR  can t open the file :missing.txt\n"
              " ERR -1  DONNEES INCORRECTES DANS :ESPROG\n"
              "  APPEL ESPEXF\n" +
                  kOnlineHelp);
    EXPECT_TRUE(tesmo({"d", "geo.txt", "-", "out.msh", "-", "abc"}).output.starts_with(" 0\n ?? IOS EST POSITIF\n"));
}

TEST_F(Shell, SixParametersAreTooMany)
{
    EXPECT_EQ(tesmo({"v", "geo.txt", "a", "b", "c", "d", "e"}).output,
              kBanner + " DATA ERROR  too many parameters for the application, must be <= 5\n" + kOnlineHelp);
}

TEST_F(Shell, NoArgumentAsksEveryParameter)
{
    const std::string expected = kBanner + " Geometry file ?\n"
                                           " DATA ERROR  not a string :Geometry file ?\n"
                                           " Mesh size definition file ?\n"
                                           " DATA ERROR  not a string :Mesh size definition file ?\n"
                                           " Name of the resulting mesh ?\n"
                                           " DATA ERROR  not a string :Name of the resulting mesh ?\n"
                                           " Name of the resulting mesh size (optional) ?\n"
                                           " DATA ERROR  not a string :Name of the resulting mesh size (optional) ?\n"
                                           " Maximum number of nodes (optional) ?\n"
                                           " DATA ERROR  not a string :Maximum number of nodes (optional) ?\n"
                                           " DATA ERROR  the following parameter is missing :Geometry file ?\n" +
                                 kOnlineHelp;
    EXPECT_EQ(tesmo({}).output, expected);
    EXPECT_EQ(tesmo({}, "").output, expected);
}

TEST_F(Shell, PromptsGoOnAfterEndOfInput)
{
    EXPECT_EQ(tesmo({}, "missing.txt\n\nout.msh\n").output,
              kBanner + " Geometry file ?\n Mesh size definition file ?\n Name of the resulting mesh ?\n"
                        " Name of the resulting mesh size (optional) ?\n"
                        " DATA ERROR  not a string :Name of the resulting mesh size (optional) ?\n"
                        " Maximum number of nodes (optional) ?\n"
                        " DATA ERROR  not a string :Maximum number of nodes (optional) ?\n"
                        " DATA ERROR  can t open the file :missing.txt\n" +
                  kOnlineHelp);
    // A lone word is the mode word: every parameter is still asked for.
    EXPECT_TRUE(tesmo({"geo.txt"}, "missing.txt\n").output.starts_with(kBanner + " Geometry file ?\n"));
}

TEST_F(Shell, ParameterLongerThanItsFieldIsRefused)
{
    const std::string name(100, 'g');
    EXPECT_EQ(tesmo({"v", name, "-", "out.msh"}).output,
              kBanner + " DATA ERROR  too many character for a parameter, must be <= 80 :Geometry file ?\n" +
                  kOnlineHelp);
    EXPECT_EQ(tesmo({"s", "geo.txt", "-", "out.msh", name + ".grd"}).output,
              " DATA ERROR  too many character for a parameter, must be <= 80 :\n"
              " Name of the resulting mesh size (optional) ?\n" +
                  kOnlineHelp);
    const std::string asked = tesmo({}, name + "\n").output;
    EXPECT_TRUE(asked.starts_with(kBanner + " Geometry file ?\n Mesh size definition file ?\n")) << asked;
    EXPECT_TRUE(asked.ends_with(" DATA ERROR  not a string :Maximum number of nodes (optional) ?\n"
                                " DATA ERROR  too many character for a parameter, must be <= 80 :Geometry file ?\n" +
                                kOnlineHelp))
        << asked;
}

} // namespace
} // namespace tesmo
