// Random valid geometries of every shape, as drawn, scaled by 1e-4 and moved far from the
// origin: each must be meshed and pass the mesh checker. And the same geometry scaled by a
// power of two must give the same mesh, its coordinates scaled. `make stress` runs the same
// shapes by the thousand.
#include "support/mesh_check.hpp"
#include "support/run_binary.hpp"
#include "support/stress_geometry.hpp"
#include "support/stress_run.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace tesmo {
namespace {

using testing::drawShape;
using testing::GeometryText;
using testing::kShapes;
using testing::MeshData;
using testing::Placement;
using testing::readMesh;
using testing::Shape;

/// Work arrays of 2^21 entries: cleared quickly before each run, ample for these sizes.
constexpr int32_t kWork = 1 << 21;

class Stress : public ::testing::Test {
protected:
    testing::ScratchDirectory directory;
    testing::StressRunner runner{directory.path(), kWork, kWork};
};

TEST_F(Stress, EveryShapeAtEveryPlacementIsMeshed)
{
    const Placement placements[3] = {Placement::drawn, Placement::small, Placement::far};
    for (const Shape shape : kShapes) {
        for (uint64_t seed = 1; seed <= 20; ++seed) {
            // stars up to 800 spikes, the other shapes up to 30 of their parts
            const int size = shape == Shape::star ? int(3 + seed * seed * 2) : int(2 + (seed * 7) % 29);
            for (const Placement placement : placements) {
                GeometryText geometry = drawShape(shape, seed, size);
                place(geometry, placement);
                EXPECT_EQ(runner.mesh(geometry), "")
                    << shapeName(shape) << " seed " << seed << " size " << size << " " << placementName(placement);
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

TEST_F(Stress, APowerOfTwoScalesTheMeshAndNothingElse)
{
    int refined = 0; // meshes with nodes added (on the borders or, mostly, inside the zones)
    for (const Shape shape : kShapes) {
        for (uint64_t seed = 1; seed <= 2; ++seed) {
            const GeometryText geometry = drawShape(shape, seed, 20);
            ASSERT_EQ(runner.mesh(geometry), "") << shapeName(shape);
            MeshData original;
            ASSERT_EQ(readMesh(runner.meshFile(), original), "");
            refined += original.points.size() > geometry.points.size() ? 1 : 0;
            for (const int k : {-13, 17}) {
                GeometryText scaled = geometry;
                scaled.scale(std::ldexp(1.0, k));
                ASSERT_EQ(runner.mesh(scaled), "") << shapeName(shape) << " 2^" << k;
                MeshData mesh;
                ASSERT_EQ(readMesh(runner.meshFile(), mesh), "");
                ASSERT_EQ(mesh.elements.size(), original.elements.size()) << shapeName(shape) << " 2^" << k;
                for (std::size_t e = 0; e < mesh.elements.size(); ++e) {
                    EXPECT_EQ(mesh.elements[e].nodes, original.elements[e].nodes) << shapeName(shape) << " 2^" << k;
                }
                ASSERT_EQ(mesh.points.size(), original.points.size());
                for (std::size_t p = 0; p < mesh.points.size(); ++p) {
                    for (int c = 0; c < 2; ++c) {
                        EXPECT_EQ(float(mesh.points[p][std::size_t(c)]),
                                  std::ldexp(float(original.points[p][std::size_t(c)]), k));
                    }
                }
            }
        }
    }
    EXPECT_GE(refined, 10);
}

} // namespace
} // namespace tesmo
