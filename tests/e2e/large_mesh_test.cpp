// A job far beyond the program's own work arrays: the unit square at a size that wants about
// 1.5 million triangles is meshed whole, its edges as close to the wanted size as those of a
// mesh of 100 000 triangles.
#include "support/mesh_check.hpp"
#include "support/run_binary.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace tesmo {
namespace {

using testing::MeshData;
using testing::readMesh;
using testing::runBinary;
using testing::ScratchDirectory;

/// Meshes the unit square with size h at its corners; the median of its edge lengths over h,
/// and its triangle count.
void meshSquare(const ScratchDirectory& directory, double h, double& median, std::size_t& triangles)
{
    directory.write("square.geo", "DEBXYZ\n4 2\n0. 0.\n1. 0.\n1. 1.\n0. 1.\nFINXYZ\n"
                                  "DEBILM\n1\n5 1 2 3 4 1 100 1 1\nFINILM\n");
    const std::string size = std::to_string(h);
    directory.write("sizes.grd", "DEBGRD\n4 1\n1 " + size + "\n2 " + size + "\n3 " + size + "\n4 " + size + "\nFINGRD\n");
    const auto result = runBinary(TESMO_BINARY, {"s", "square.geo", "sizes.grd", "square.msh"}, directory.path(),
                                  std::nullopt, 900);
    ASSERT_FALSE(result.timedOut);
    ASSERT_EQ(result.output, "");
    MeshData mesh;
    ASSERT_EQ(readMesh(directory.file("square.msh"), mesh), "");
    std::vector<double> ratios;
    ratios.reserve(3 * mesh.elements.size());
    for (const auto& triangle : mesh.elements) {
        for (std::size_t k = 0; k < 3; ++k) {
            const auto& a = mesh.points[std::size_t(triangle.nodes[k] - 1)];
            const auto& b = mesh.points[std::size_t(triangle.nodes[(k + 1) % 3] - 1)];
            ratios.push_back(std::hypot(a[0] - b[0], a[1] - b[1]) / h);
        }
    }
    std::nth_element(ratios.begin(), ratios.begin() + std::ptrdiff_t(ratios.size() / 2), ratios.end());
    median = ratios[ratios.size() / 2];
    triangles = mesh.elements.size();
}

TEST(LargeMesh, AJobBeyondTheBaseArraysIsMeshedWhole)
{
    ScratchDirectory directory;
    double smallMedian = 0.0;
    std::size_t smallCount = 0;
    meshSquare(directory, 0.0045, smallMedian, smallCount);
    double largeMedian = 0.0;
    std::size_t largeCount = 0;
    meshSquare(directory, 0.00122, largeMedian, largeCount);
    EXPECT_GT(smallCount, 100000u);
    EXPECT_GT(largeCount, 1450000u);
    // the whole square at the wanted size: the count grows as 1/h^2 and the edges keep their ratio
    const double areaRatio = (0.0045 / 0.00122) * (0.0045 / 0.00122);
    EXPECT_NEAR(double(largeCount) / double(smallCount), areaRatio, 0.03 * areaRatio);
    EXPECT_NEAR(largeMedian, smallMedian, 0.01 * smallMedian);
}

} // namespace
} // namespace tesmo
