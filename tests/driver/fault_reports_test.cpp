// The reports that point at the fault of a refused run, and the notes on an empty result:
// whole runs of the program on small files, and one run in process for the extension record.
#include "driver/MGg_noeud.hpp"

#include "geometry/cg_epsi.hpp"
#include "messages/es_chaine.hpp"
#include "messages/es_erreur.hpp"
#include "support/files_test_support.hpp"
#include "support/run_binary.hpp"
#include "topology/st_generic.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tesmo {
namespace {

using testing::readFile;
using testing::runBinary;
using testing::RunResult;
using testing::ScratchDirectory;

const std::string kNotValid = " DATA ERROR  geometry is not valid\n";
const std::string kOnlineHelp = " For online help type : tesmo h\n";

/// A geometry file: points of the plane, then border records as written.
std::string geometry(const std::vector<std::pair<float, float>>& points, const std::vector<std::string>& borders)
{
    std::string text = "DEBXYZ\n" + std::to_string(points.size()) + " 2\n";
    for (const auto& [x, y] : points) {
        text += std::to_string(x) + " " + std::to_string(y) + "\n";
    }
    text += "FINXYZ\nDEBILM\n" + std::to_string(borders.size()) + "\n";
    for (const std::string& border : borders) {
        text += border + "\n";
    }
    return text + "FINILM\n";
}

const std::vector<std::pair<float, float>> kSquare = {{0, 0}, {2, 0}, {2, 2}, {0, 2}};

/// kSquare and more points.
std::vector<std::pair<float, float>> squareAnd(std::vector<std::pair<float, float>> more)
{
    more.insert(more.begin(), kSquare.begin(), kSquare.end());
    return more;
}

class Reports : public ::testing::Test {
protected:
    std::string tesmo(const std::vector<std::string>& arguments)
    {
        const RunResult result = runBinary(TESMO_BINARY, arguments, directory.path());
        EXPECT_EQ(result.exitStatus, 0);
        EXPECT_EQ(result.errors, "");
        return result.output;
    }
    /// What a verbose run prints after its storing read, and its silent twin.
    std::string afterReading(const std::string& text, const std::string& sizes = "-")
    {
        directory.write("in.geo", text);
        const std::string verbose = tesmo({"v", "in.geo", sizes, "out.msh"});
        const std::size_t at = verbose.find(" Number of zones   :");
        return at == std::string::npos ? verbose : verbose.substr(verbose.find('\n', at) + 1);
    }
    ScratchDirectory directory;
};

struct Located {
    const char* what;
    std::string geometry;
    std::string line;
};

class LocatedRefusals : public Reports, public ::testing::WithParamInterface<Located> {};

TEST_P(LocatedRefusals, FollowTheMessageInVerboseModeOnly)
{
    const Located& c = GetParam();
    EXPECT_EQ(afterReading(c.geometry), kNotValid + c.line + kOnlineHelp) << c.what;
    EXPECT_EQ(tesmo({"s", "in.geo", "-", "out.msh"}), kNotValid + kOnlineHelp) << c.what;
    EXPECT_FALSE(std::filesystem::exists(directory.file("out.msh"))) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Geometries, LocatedRefusals,
    ::testing::Values(
        Located{"borders that cross",
                geometry(squareAnd({{1, 1}, {3, 1}, {3, 3}, {1, 3}}), {"5 1 2 3 4 1 100 1 1", "5 5 6 7 8 5 100 1 2"}),
                " border 2 crosses border 1 at 1. 2., points 8 5 3 4\n"},
        Located{"a border that crosses itself", geometry(kSquare, {"5 1 2 4 3 1 100 1 1"}),
                " border 1 crosses itself at 1. 1., points 3 1 2 4\n"},
        Located{"a zone inside another",
                geometry(squareAnd({{0.5f, 0.5f}, {1.5f, 0.5f}, {1.5f, 1.5f}, {0.5f, 1.5f}}),
                         {"5 1 2 3 4 1 100 1 1", "5 5 6 7 8 5 100 1 2"}),
                " zones 1 and 2 overlap along border 2 at 1. 0.5, points 5 6 1 2\n"},
        Located{"a border ending inside another", geometry(squareAnd({{1, 0}, {1, 1}}), {"5 1 2 3 4 1 100 1 1", "2 6 5 100 1 1"}),
                " border 2 touches border 1 off their points at 1. 0., points 5 1 2\n"},
        Located{"an edge of length zero in a zone", geometry(kSquare, {"6 1 2 2 3 4 1 100 1 1"}),
                " border 1 has an edge of length zero at 2. 0., points 2 2\n"},
        Located{"an edge of length zero on a border of no zone, which the border stage refuses",
                geometry(squareAnd({{3, 3}}), {"5 1 2 3 4 1 100 1 1", "2 5 5 100 1 0"}),
                " border 2 has an edge of length zero at 3. 3., points 5 5\n"},
        Located{"an open line alone in its zone", geometry(kSquare, {"4 1 2 3 4 100 1 1"}),
                " the borders of zone 1 bound no region, border 1 at 0. 0., point 1\n"},
        Located{"a lone point on a corner of its zone", geometry(squareAnd({{2, 2}}), {"5 1 2 3 4 1 100 1 1", "1 5 99 1 1"}),
                " zone 1 has two points at one place, border 1 at 2. 2., points 3 5\n"}),
    [](const ::testing::TestParamInfo<Located>& param) { return "case" + std::to_string(param.index); });

TEST_F(Reports, SizeFileValuesAreNamedWithTheirRecord)
{
    directory.write("in.geo", geometry(kSquare, {"5 1 2 3 4 1 100 1 1"}));
    // the counting read refuses the generation mode, the storing read a size at a point
    directory.write("mode.den", "DEBGEO\n1 2\n1 0 0\nFINGEO\nDEBSUI\n1\n1 1 0.1 1.2\nFINSUI\nDEBDEN\n1 5\n1 1 2 1 1\nFINDEN\n");
    directory.write("zero.grd", "DEBGRD\n4 1\n1 0.5\n2 0.5\n3 0.\n4 0.5\nFINGRD\n");
    EXPECT_EQ(tesmo({"s", "in.geo", "mode.den", "out.msh"}),
              " DATA ERROR  error in the file :mode.den\n in block DEN : generation mode 5, not 1, 2 or 3\n" + kOnlineHelp);
    EXPECT_EQ(tesmo({"s", "in.geo", "zero.grd", "out.msh"}),
              " DATA ERROR  error in the file :zero.grd\n in block GRD, point 3 : size 0., not positive\n" + kOnlineHelp);
    EXPECT_FALSE(std::filesystem::exists(directory.file("out.msh")));
}

TEST_F(Reports, ZonesWithoutTriangleAreTold)
{
    // zone 1: lone points round a free line, whose inside is no region: all its triangles go
    const std::string empty = geometry({{0, 0}, {4, 0}, {4, 4}, {0, 4}, {1, 1}, {2, 2}, {5, 0}, {6, 0}, {6, 1}, {5, 1}},
                                       {"4 1 2 3 4 99 1 1", "2 5 6 100 1 1", "5 7 8 9 10 7 100 1 2"});
    EXPECT_EQ(afterReading(empty), " -->MESHING THE ZONE : 1\n Number of triangles : 0\n"
                                   " WARNING  no triangle in the zone : 1\n"
                                   " -->MESHING THE ZONE : 2\n Number of triangles : 2\n"
                                   " -->WRITTING MESH FILE :out.msh\n Number of nodes   : 10\n"
                                   " Number of triangles : 2\n Number of zones   : 2\n");
    // without zone 2 no triangle at all: said in any mode, and the mesh written as ever
    directory.write("in.geo", geometry({{0, 0}, {4, 0}, {4, 4}, {0, 4}, {1, 1}, {2, 2}},
                                       {"4 1 2 3 4 99 1 1", "2 5 6 100 1 1"}));
    std::filesystem::remove(directory.file("out.msh"));
    EXPECT_EQ(tesmo({"s", "in.geo", "-", "out.msh"}), " WARNING  no triangle in the mesh\n");
    EXPECT_EQ(readFile(directory.file("out.msh")), "DEBXYZ\n 6 2\n 0. 0.\n 4. 0.\n 4. 4.\n 0. 4.\n 1. 1.\n 2. 2.\nFINXYZ\n");
}

class ExtensionRecord : public testfiles::FileTest {};

TEST_F(ExtensionRecord, HoldsTheFaultForAFrontEnd)
{
    write("cross.geo", geometry(squareAnd({{1, 1}, {3, 1}, {3, 3}, {1, 3}}), {"5 1 2 3 4 1 100 1 1", "5 5 6 7 8 5 100 1 2"}));
    icgeps();
    stinit();
    std::vector<int32_t> itvl(200000, 0);
    std::vector<float> rtvl(200000, 0.0f);
    RunExtensions extensions;
    ConsoleCapture console; // a silent run: the record is filled all the same
    ASSERT_EQ(mggmem("cross.geo", " ", "out.msh", " ", -1, Vec<int32_t>(itvl.data(), int32_t(itvl.size())),
                     Vec<float>(rtvl.data(), int32_t(rtvl.size())), 0, &extensions),
              kDataError);
    EXPECT_EQ(console.text(), kNotValid);
    const GeometryFault& fault = extensions.fault;
    EXPECT_EQ(fault.kind, FaultKind::crossing);
    EXPECT_EQ(fault.borders, (std::array<int32_t, 2>{2, 1}));
    EXPECT_EQ(fault.points, (std::array<int32_t, 4>{8, 5, 3, 4}));
    EXPECT_EQ(fault.dimension, 2);
    EXPECT_EQ(fault.place[0], 1.0f);
    EXPECT_EQ(fault.place[1], 2.0f);
}

} // namespace
} // namespace tesmo
