// Random valid geometries of every shape, as drawn, scaled by 1e-4 and moved far from the
// origin: each must be meshed and pass the mesh checker. And the same geometry, with its size
// file, scaled by a power of two from 2^-30 to 2^30 must give the same mesh, its coordinates
// scaled. `make stress` runs the same shapes by the thousand.
#include "support/mesh_check.hpp"
#include "support/run_binary.hpp"
#include "support/stress_geometry.hpp"
#include "support/stress_run.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace tesmo {
namespace {

using testing::drawShape;
using testing::GeometryText;
using testing::kShapes;
using testing::MeshData;
using testing::Placement;
using testing::readMesh;
using testing::Shape;
using testing::Sizes;

/// Work arrays of 2^21 entries: cleared quickly before each run, ample for these sizes.
constexpr int32_t kWork = 1 << 21;

class Stress : public ::testing::Test {
protected:
    testing::ScratchDirectory directory;
    testing::StressRunner runner{directory.path(), kWork, kWork};
};

TEST_F(Stress, EveryShapeAtEveryPlacementIsMeshed)
{
    // the default sizes on 20 seeds, a density file and sizes at the points on 3
    const Placement placements[3] = {Placement::drawn, Placement::small, Placement::far};
    for (const Sizes kind : testing::kSizes) {
        for (const Shape shape : kShapes) {
            for (uint64_t seed = 1; seed <= (kind == Sizes::none ? 20u : 3u); ++seed) {
                // stars up to 800 spikes, the other shapes up to 30 of their parts
                const int size = shape == Shape::star ? int(3 + seed * seed * 2) : int(2 + (seed * 7) % 29);
                for (const Placement placement : placements) {
                    GeometryText geometry = drawShape(shape, seed, size);
                    testing::drawSizes(geometry, kind, seed);
                    place(geometry, placement);
                    EXPECT_EQ(runner.mesh(geometry), "") << shapeName(shape) << " seed " << seed << " size " << size
                                                         << " " << placementName(placement) << ", " << sizesName(kind);
                }
            }
        }
    }
}

TEST_F(Stress, AStarWhoseStripsTouchThemselvesIsMeshed)
{
    // 2790 spikes: two border edges cross strips whose frontier touches itself at a node, which
    // the re-triangulation refuses; the exchanges of diagonals restore them
    EXPECT_EQ(runner.mesh(drawShape(Shape::star, 777264, 2790)), "");
}

/// "" when `scaled` is `original` with its coordinates multiplied by 2^k, exactly; else what
/// differs first.
std::string scaledCopy(const MeshData& original, const MeshData& scaled, int k)
{
    if (scaled.points.size() != original.points.size() || scaled.elements.size() != original.elements.size()) {
        return std::to_string(scaled.points.size()) + " nodes and " + std::to_string(scaled.elements.size()) +
               " triangles instead of " + std::to_string(original.points.size()) + " and " +
               std::to_string(original.elements.size());
    }
    for (std::size_t e = 0; e < scaled.elements.size(); ++e) {
        if (scaled.elements[e].nodes != original.elements[e].nodes) {
            return "triangle " + std::to_string(e + 1) + " differs";
        }
    }
    for (std::size_t p = 0; p < scaled.points.size(); ++p) {
        for (std::size_t c = 0; c < 2; ++c) {
            if (float(scaled.points[p][c]) != std::ldexp(float(original.points[p][c]), k)) {
                return "node " + std::to_string(p + 1) + " differs";
            }
        }
    }
    return "";
}

TEST_F(Stress, APowerOfTwoScalesTheMeshAndNothingElse)
{
    // every shape with the default sizes, a density file and sizes at its points, both scaled
    for (const Sizes kind : testing::kSizes) {
        int refined = 0; // meshes with nodes added (on the borders or, mostly, inside the zones)
        for (const Shape shape : kShapes) {
            for (uint64_t seed = 1; seed <= 2; ++seed) {
                GeometryText geometry = drawShape(shape, seed, 20);
                testing::drawSizes(geometry, kind, seed);
                const std::string what = std::string(shapeName(shape)) + ", " + sizesName(kind) + ", seed " +
                                         std::to_string(seed);
                ASSERT_EQ(runner.mesh(geometry), "") << what;
                MeshData original;
                ASSERT_EQ(readMesh(runner.meshFile(), original), "");
                refined += original.points.size() > geometry.points.size() ? 1 : 0;
                for (const int k : {-30, -13, 17, 30}) {
                    GeometryText scaled = geometry;
                    scaled.scale(std::ldexp(1.0, k));
                    const std::string outcome = runner.mesh(scaled);
                    MeshData mesh;
                    EXPECT_EQ(outcome.empty() ? readMesh(runner.meshFile(), mesh) : "", "");
                    EXPECT_EQ(outcome.empty() ? scaledCopy(original, mesh, k) : outcome.substr(0, 40), "")
                        << what << ", 2^" << k;
                }
            }
        }
        EXPECT_GE(refined, 10) << sizesName(kind);
    }
}

} // namespace
} // namespace tesmo
