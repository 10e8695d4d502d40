// Whole runs that refine by size, as a new user runs them: each way of giving the size, checked
// by the mesh checker and by the edge lengths against the nodal sizes written beside the mesh;
// a maximum number of nodes stops the refinement with its warning and a valid mesh.
#include "support/mesh_check.hpp"
#include "support/run_binary.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

namespace tesmo {
namespace {

using testing::checkMeshFiles;
using testing::MeshData;
using testing::readFile;
using testing::readMesh;
using testing::runBinary;
using testing::RunResult;
using testing::ScratchDirectory;

/// A square of side 4 with a square hole of side 1 near its corner (0, 0), one zone.
const std::string kSquareWithHole = "DEBXYZ\n 8 2\n 0. 0.\n 4. 0.\n 4. 4.\n 0. 4.\n"
                                    " 1. 1.\n 1. 2.\n 2. 2.\n 2. 1.\nFINXYZ\n"
                                    "DEBILM\n 2\n 5 1 2 3 4 1 100 1 1\n 5 5 6 7 8 5 100 1 1\nFINILM\n";
/// The same square cut at x = 2 into two zones, the hole in zone 1.
const std::string kTwoZones = "DEBXYZ\n 10 2\n 0. 0.\n 2. 0.\n 4. 0.\n 4. 4.\n 2. 4.\n 0. 4.\n"
                              " 0.5 1.\n 0.5 2.\n 1.5 2.\n 1.5 1.\nFINXYZ\n"
                              "DEBILM\n 4\n 4 2 1 6 5 100 1 1\n 4 5 4 3 2 100 1 2\n 2 2 5 100 2 1 2\n"
                              " 5 7 8 9 10 7 100 1 1\nFINILM\n";
/// Concentrations at (1.5, 1.5), geometric from 0.03 by 1.1, and along the axis y = 4,
/// arithmetic from 0.06 by 0.1.
const std::string kDensity = "DEBGEO\n 3 2\n 1 1.5 1.5\n 2 0. 4.\n 3 4. 4.\nFINGEO\n"
                             "DEBSUI\n 2\n 1 1 0.03 1.1\n 2 2 0.06 0.1\nFINSUI\n"
                             "DEBDEN\n 2 2\n 1 1 2 1 1\n 2 2 3 2 2 3\nFINDEN\n";
/// Sizes at the 8 points of the square with a hole: fine at the hole, coarse at the far corner.
const std::string kSizesAtPoints = "* GRANDEUR 1.0.0  (12 AOUT 97)\n* square.msh\nDEBGRD\n 8 1\n"
                                   " 1 0.1\n 2 0.3\n 3 0.6\n 4 0.3\n 5 0.06\n 6 0.06\n 7 0.06\n 8 0.06\nFINGRD\n";

/// The values of a nodal-values file, by node.
std::vector<double> readNodalSizes(const std::string& path)
{
    std::istringstream text(readFile(path));
    std::string line;
    while (std::getline(text, line) && line.find("DEBGRD") == std::string::npos) {
    }
    int count = 0;
    int perNode = 0;
    text >> count >> perNode;
    std::vector<double> sizes(std::size_t(std::max(count, 0)), 0.0);
    for (int i = 0; i < count; ++i) {
        int node = 0;
        text >> node >> sizes.at(std::size_t(node - 1));
    }
    return sizes;
}

/// The median over the mesh edges of their length over the mean nodal size of their ends.
double medianLengthOverSize(const MeshData& mesh, const std::vector<double>& sizes)
{
    std::vector<double> ratios;
    for (const auto& element : mesh.elements) {
        for (std::size_t i = 0; i < 3; ++i) {
            const int a = element.nodes[i];
            const int b = element.nodes[(i + 1) % 3];
            const auto& p = mesh.points.at(std::size_t(a - 1));
            const auto& q = mesh.points.at(std::size_t(b - 1));
            const double wanted = 0.5 * (sizes.at(std::size_t(a - 1)) + sizes.at(std::size_t(b - 1)));
            ratios.push_back(std::hypot(p[0] - q[0], p[1] - q[1]) / wanted);
        }
    }
    std::nth_element(ratios.begin(), ratios.begin() + std::ptrdiff_t(ratios.size() / 2), ratios.end());
    return ratios[ratios.size() / 2];
}

/// A square of side 4 with a round hole of 48 sides and radius 0.3 at (1, 1): the only fine
/// border, which the default size grades the interior from.
std::string roundHole()
{
    std::ostringstream text;
    text << "DEBXYZ\n 52 2\n 0. 0.\n 4. 0.\n 4. 4.\n 0. 4.\n";
    for (int i = 0; i < 48; ++i) {
        const double angle = -2.0 * 3.14159265358979 * i / 48.0;
        text << " " << float(1.0 + 0.3 * std::cos(angle)) << " " << float(1.0 + 0.3 * std::sin(angle)) << "\n";
    }
    text << "FINXYZ\nDEBILM\n 3\n 5 1 2 3 4 1 100 1 1\n -3 5 52 1 100 1 1\n 2 52 5 100 1 1\nFINILM\n";
    return text.str();
}
const std::string kRoundHole = roundHole();

struct Case {
    const char* name;
    const std::string* geometry;
    const std::string* sizes; ///< nullptr: no size file
    const char* sizeFile;
    int maximum; ///< 0: no maximum number of nodes
};

class RefinementRun : public ::testing::TestWithParam<Case> {};

TEST_P(RefinementRun, MeshIsValidAndFollowsTheWantedSize)
{
    const Case& c = GetParam();
    ScratchDirectory directory;
    directory.write("square.geo", *c.geometry);
    std::vector<std::string> arguments{"v", "square.geo", "-", "out.msh", "out.grd"};
    if (c.sizes != nullptr) {
        directory.write(c.sizeFile, *c.sizes);
        arguments[2] = c.sizeFile;
    }
    if (c.maximum > 0) {
        arguments.push_back(std::to_string(c.maximum));
    }
    const RunResult run = runBinary(TESMO_BINARY, arguments, directory.path());
    ASSERT_EQ(run.exitStatus, 0);
    ASSERT_EQ(checkMeshFiles(directory.file("out.msh"), directory.file("square.geo")), "") << run.output;
    MeshData mesh;
    ASSERT_EQ(readMesh(directory.file("out.msh"), mesh), "");
    const std::vector<double> sizes = readNodalSizes(directory.file("out.grd"));
    ASSERT_EQ(sizes.size(), mesh.points.size());
    const std::string warning = " WARNING  Maximum number of nodes reached  : " + std::to_string(c.maximum) + "\n";
    if (c.maximum > 0) {
        EXPECT_NE(run.output.find(warning), std::string::npos) << run.output;
        EXPECT_EQ(int(mesh.points.size()), c.maximum);
        return;
    }
    EXPECT_EQ(run.output.find("WARNING"), std::string::npos) << run.output;
    if (c.sizes == nullptr) {
        // graded from the border spacing: nodes inside, near the hole
        EXPECT_GT(mesh.points.size(), 100u);
        return;
    }
    const double median = medianLengthOverSize(mesh, sizes);
    EXPECT_GE(median, 0.5);
    EXPECT_LE(median, 1.6);
    EXPECT_GT(mesh.elements.size(), 800u);
}

INSTANTIATE_TEST_SUITE_P(
    SizeGiven, RefinementRun,
    ::testing::Values(Case{"none", &kRoundHole, nullptr, "", 0},
                      Case{"density", &kSquareWithHole, &kDensity, "square.den", 0},
                      Case{"sizesAtPoints", &kSquareWithHole, &kSizesAtPoints, "square.grd", 0},
                      Case{"maximum", &kSquareWithHole, &kDensity, "square.den", 400},
                      Case{"twoZonesShareTheRoom", &kTwoZones, &kDensity, "square.den", 450}),
    [](const ::testing::TestParamInfo<Case>& tested) { return std::string(tested.param.name); });

} // namespace
} // namespace tesmo
