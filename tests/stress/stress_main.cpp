// The long stress run (`make stress`): thousands of random valid geometries of every shape,
// as drawn, scaled by 1e-4 and moved far from the origin, each meshed in process with the
// default sizes, a density file and sizes at its points, and checked by the mesh checker.
// Prints the counts per shape, sizes and placement; a geometry that is refused or gives an
// invalid mesh is kept in the failure directory with its size file and the console of its run.
//
// Usage: tesmo_stress [CASES_PER_SHAPE [FIRST_SEED [FAILURE_DIRECTORY [SIZES]]]]
// SIZES: all (the default), none, density or points.
#include "support/stress_geometry.hpp"
#include "support/stress_run.hpp"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using tesmo::testing::drawShape;
using tesmo::testing::GeometryText;
using tesmo::testing::kShapes;
using tesmo::testing::Placement;
using tesmo::testing::Random;
using tesmo::testing::Shape;
using tesmo::testing::Sizes;

/// Largest size drawn for each shape (spikes, holes, points per wall...).
int largestSize(Shape shape)
{
    switch (shape) {
    case Shape::star: return 3000;
    case Shape::holes: return 150;
    case Shape::strips: return 60;
    case Shape::staircase: return 120;
    case Shape::clusteredSquare: return 40;
    case Shape::closePoints: return 120;
    case Shape::nearBorder: return 120;
    }
    return 10;
}

/// The size kinds the argument names: all, none, density or points.
std::vector<Sizes> sizeKinds(const std::string& word)
{
    if (word == "none") {
        return {Sizes::none};
    }
    if (word == "density") {
        return {Sizes::density};
    }
    if (word == "points") {
        return {Sizes::atPoints};
    }
    return {tesmo::testing::kSizes.begin(), tesmo::testing::kSizes.end()};
}

} // namespace

int main(int argc, char** argv)
{
    const int cases = argc > 1 ? std::atoi(argv[1]) : 60;
    const uint64_t firstSeed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 777000;
    const std::string failures = argc > 3 ? argv[3] : "stress_failures";
    const std::vector<Sizes> kinds = sizeKinds(argc > 4 ? argv[4] : "all");
    std::filesystem::create_directories(failures);
    const std::string work = std::filesystem::absolute(failures).string() + "/run";
    std::filesystem::create_directories(work);
    tesmo::testing::StressRunner runner(work);
    const Placement placements[3] = {Placement::drawn, Placement::small, Placement::far};
    int total = 0;
    int failed = 0;
    const auto start = std::chrono::steady_clock::now();
    for (const Shape shape : kShapes) {
        const auto shapeStart = std::chrono::steady_clock::now();
        for (const Sizes kind : kinds) {
            int ok[3] = {};
            int bad[3] = {};
            for (int c = 0; c < cases; ++c) {
                const uint64_t seed = firstSeed + uint64_t(c);
                // sizes spread evenly on a log scale from 3 to the largest
                Random spread(seed);
                const int size = int(std::lround(3.0 * std::pow(largestSize(shape) / 3.0, spread.uniform())));
                for (int p = 0; p < 3; ++p) {
                    GeometryText geometry = drawShape(shape, seed, size);
                    tesmo::testing::drawSizes(geometry, kind, seed);
                    tesmo::testing::place(geometry, placements[p]);
                    const std::string outcome = runner.mesh(geometry);
                    ++total;
                    if (outcome.empty()) {
                        ++ok[p];
                        continue;
                    }
                    ++bad[p];
                    ++failed;
                    std::string name = failures + "/" + std::string(shapeName(shape)) + "_" + sizesName(kind) +
                                       "_" + std::to_string(seed) + "_" + std::to_string(p);
                    std::replace(name.begin(), name.end(), ' ', '_');
                    std::ofstream(name + ".geo") << geometry.text();
                    if (kind != Sizes::none) {
                        std::ofstream(name + geometry.sizes.extension()) << geometry.sizes.text();
                    }
                    std::ofstream(name + ".txt") << outcome;
                }
            }
            for (int p = 0; p < 3; ++p) {
                std::printf("%-17s %-20s %-20s %5d meshed %5d failed\n", shapeName(shape), sizesName(kind),
                            placementName(placements[p]), ok[p], bad[p]);
            }
        }
        std::printf("%-17s %.1f s\n", shapeName(shape),
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - shapeStart).count());
        std::fflush(stdout);
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%d geometries, %d meshed, %d failed, %.1f s\n", total, total - failed, failed, seconds);
    return failed == 0 ? 0 : 1;
}
