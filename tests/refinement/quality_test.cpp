// The shape refinement on random zones (every angle at least the bound, every triangle small
// enough, a valid zone even when a cap stops it), and the smoothing against its promise on
// jittered grids (no smallest angle lowered, the border kept, the mean raised).
#include "refinement/quality.hpp"

#include "files/es_densite.hpp"
#include "refinement/zone_fixture.hpp"
#include "support/mesh_fixture.hpp"
#include "triangulation/d2_sph2d.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace tesmo {
namespace {

using testing::gradedSize;
using testing::randomSquare;
using testing::Zone;

/// The smallest angle over the elements (degrees) and the mean of their smallest angles,
/// from the angles' cosines (an independent count of the one the refinement makes).
void angleFigures(const RefinementMesh& mesh, double& smallest, double& mean)
{
    smallest = 180.0;
    mean = 0.0;
    for (int32_t e = 1; e <= mesh.NBE; ++e) {
        double least = 180.0;
        for (int32_t i = 1; i <= 3; ++i) {
            const float* a = mesh.COORD.row(mesh.ITRNOE(e, i));
            const float* b = mesh.COORD.row(mesh.ITRNOE(e, i % 3 + 1));
            const float* c = mesh.COORD.row(mesh.ITRNOE(e, (i + 1) % 3 + 1));
            const double ux = double(b[0]) - double(a[0]), uy = double(b[1]) - double(a[1]);
            const double vx = double(c[0]) - double(a[0]), vy = double(c[1]) - double(a[1]);
            const double cosine = (ux * vx + uy * vy) / (std::hypot(ux, uy) * std::hypot(vx, vy));
            least = std::min(least, std::acos(std::clamp(cosine, -1.0, 1.0)) * 180.0 / M_PI);
        }
        smallest = std::min(smallest, least);
        mean += least / mesh.NBE;
    }
}

/// The largest size ratio of the graded size over the elements' own circles: at most 2/3 for
/// an element still too large.
float smallestRatio(const RefinementMesh& mesh, const std::vector<float>& density)
{
    std::vector<float> row(3, 0.0f);
    float smallest = 1e30f;
    for (int32_t e = 1; e <= mesh.NBE; ++e) {
        if (!circleVector(mesh.COORD.row(mesh.ITRNOE(e, 1)), mesh.COORD.row(mesh.ITRNOE(e, 2)),
                          mesh.COORD.row(mesh.ITRNOE(e, 3)), row.data())) {
            return 0.0f;
        }
        // the circle row of element e alone, as the size function reads it
        std::vector<float> circles(std::size_t(3 * e), 0.0f);
        std::copy(row.begin(), row.end(), circles.end() - 3);
        float ratio = 0.0f, wanted = 0.0f;
        (void)gradedSize(e, mesh.ITRNOE, mesh.ITRTRI, mesh.COORD, Rows<float>(circles.data(), 3, e), {},
                         Vec<const float>(density.data(), 4), ratio, wanted);
        smallest = std::min(smallest, ratio);
    }
    return smallest;
}

TEST(ShapeRefinement, RandomZonesReachTheBoundWithTheirSizes)
{
    std::mt19937 random(20250611);
    std::uniform_real_distribution<float> uniform(0.0f, 1.0f);
    const float bounds[] = {20.0f, 30.0f, 33.5f};
    for (int round = 0; round < 24; ++round) {
        const bool hole = round % 2 == 1;
        const auto loops = randomSquare(random, hole);
        const bool capped = round % 6 == 5;
        Zone zone(loops, capped ? 150 : 6000, 12000);
        std::vector<float> density{0.03f + 0.04f * uniform(random), 0.2f * uniform(random), uniform(random),
                                   uniform(random)};
        DensityRecords records;
        records.reals = Vec<float>(density.data(), 4);
        records.realsPerRecord = 4;
        records.records = 1;
        QualityRequest request;
        request.minAngle = bounds[round % 3];
        request.smoothing = round % 4 == 0 ? 3 : 0;
        QualityBorders borders;
        const int code = rfqual(kDensityConcentrations, zone.mesh, gradedSize, records, request, borders,
                                Vec<int32_t>(zone.work.data(), int32_t(zone.work.size())),
                                Vec<float>(zone.reals.data(), int32_t(zone.reals.size())));
        ASSERT_EQ(code, capped ? kMaxNodesReached : kOk) << round;
        EXPECT_EQ(zone.check(hole ? 0.96 : 1.0), "") << round;
        if (capped) {
            continue;
        }
        double smallest = 0.0, mean = 0.0;
        angleFigures(zone.mesh, smallest, mean);
        EXPECT_GE(smallest, double(request.minAngle) - 1e-4) << round;
        if (request.smoothing == 0) { // a smoothed node may leave a triangle a little larger
            EXPECT_GT(smallestRatio(zone.mesh, density), kRefineRatio) << round;
        }
        EXPECT_EQ(borders.splitCount, 0) << round; // no border of the zone is shared
    }
}

TEST(ShapeRefinement, SharedBordersSplitOnlyWhenAllowedAndTheSplitsAreLogged)
{
    // a strip 1 by 0.05 whose long sides have no node between its corners, every border node
    // on a border another zone shares
    const std::vector<std::vector<float>> strip{{0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 0.05f, 0.0f, 0.05f}};
    const std::vector<int32_t> shared(4, 1);
    for (const bool allowed : {true, false}) {
        Zone zone(strip, 3000, 6000);
        std::vector<int32_t> table(3 * 500, 0);
        QualityBorders borders{Vec<const int32_t>(shared.data(), 4), allowed, Rows<int32_t>(table.data(), 3, 500), 0};
        QualityRequest request;
        request.minAngle = 30.0f;
        const int code = rfqual(kDefaultSize, zone.mesh, nullptr, DensityRecords{}, request, borders,
                                Vec<int32_t>(zone.work.data(), int32_t(zone.work.size())),
                                Vec<float>(zone.reals.data(), int32_t(zone.reals.size())));
        ASSERT_EQ(code, kOk) << allowed;
        EXPECT_EQ(zone.check(0.05), "") << allowed;
        const Rows<const float> at = zone.mesh.COORD;
        int32_t onBorder = 0;
        for (int32_t v = 5; v <= zone.mesh.nodes; ++v) {
            onBorder += at(v, 2) == 0.0f || at(v, 2) == 0.05f || at(v, 1) == 0.0f || at(v, 1) == 1.0f ? 1 : 0;
        }
        // every node on the border is a logged split, between the two nodes it split
        EXPECT_EQ(borders.splitCount, onBorder) << allowed;
        EXPECT_EQ(onBorder > 0, allowed);
        for (int32_t i = 1; i <= borders.splitCount; ++i) {
            const float* a = at.row(borders.splits(i, 1));
            const float* b = at.row(borders.splits(i, 2));
            const float* m = at.row(borders.splits(i, 3));
            EXPECT_GT(borders.splits(i, 3), 4);
            const double along = (double(m[0]) - double(a[0])) * (double(b[0]) - double(a[0])) +
                                 (double(m[1]) - double(a[1])) * (double(b[1]) - double(a[1]));
            const double cross = (double(m[1]) - double(a[1])) * (double(b[0]) - double(a[0])) -
                                 (double(m[0]) - double(a[0])) * (double(b[1]) - double(a[1]));
            const double squared = (double(b[0]) - double(a[0])) * (double(b[0]) - double(a[0])) +
                                   (double(b[1]) - double(a[1])) * (double(b[1]) - double(a[1]));
            EXPECT_GT(along, 0.0) << i;
            EXPECT_LT(along, squared) << i;
            EXPECT_NEAR(cross, 0.0, 1e-7) << i;
        }
        if (allowed) {
            double smallest = 0.0, mean = 0.0;
            angleFigures(zone.mesh, smallest, mean);
            EXPECT_GE(smallest, 30.0 - 1e-4);
        }
    }
}

TEST(Smoothing, NeverLowersTheSmallestAngleAndKeepsTheBorder)
{
    std::mt19937 random(31);
    std::uniform_real_distribution<float> jitter(-0.3f, 0.3f);
    for (int round = 0; round < 6; ++round) {
        testing::Grid grid(12, 9, random);
        for (int32_t v = 1; v <= grid.nodeCount(); ++v) {
            if (!grid.onBoundary(v)) {
                grid.coord[std::size_t(2 * v - 2)] += jitter(random);
                grid.coord[std::size_t(2 * v - 1)] += jitter(random);
            }
        }
        const std::vector<float> before = grid.coord;
        testing::Tables tables = grid.tables();
        ASSERT_EQ(tables.smacre(2), kOk);
        RefinementMesh mesh{tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), tables.NBE,
                            Rows<float>(grid.coord.data(), 2, grid.nodeCount()), grid.nodeCount(),
                            grid.nodeCount()};
        double smallest = 0.0, mean = 0.0;
        angleFigures(mesh, smallest, mean);
        int32_t moved = 0;
        ASSERT_EQ(smoothNodes(mesh, 0, 1 + round % 3, moved), kOk);
        double smoothedSmallest = 0.0, smoothedMean = 0.0;
        angleFigures(mesh, smoothedSmallest, smoothedMean);
        EXPECT_GT(moved, 0) << round;
        EXPECT_GE(smoothedSmallest, smallest) << round;
        EXPECT_GT(smoothedMean, mean + 1.0) << round;
        EXPECT_EQ(tables.check(2), "") << round;
        for (int32_t v = 1; v <= grid.nodeCount(); ++v) {
            if (grid.onBoundary(v)) {
                EXPECT_EQ(grid.coord[std::size_t(2 * v - 2)], before[std::size_t(2 * v - 2)]) << v;
                EXPECT_EQ(grid.coord[std::size_t(2 * v - 1)], before[std::size_t(2 * v - 1)]) << v;
            }
        }
        for (int32_t e = 1; e <= mesh.NBE; ++e) {
            EXPECT_GT(smallestAngle(mesh.ITRNOE, e, mesh.COORD), 0.0) << e;
        }
    }
}

} // namespace
} // namespace tesmo
