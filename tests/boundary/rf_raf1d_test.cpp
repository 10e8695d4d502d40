#include "boundary/rf_raf1d.hpp"

#include "boundary/border_fixture.hpp"
#include "files/es_densite.hpp"
#include "size/size.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace tesmo {
namespace {

using testing::Border;

/// Sizes at the points (mode 3) with room for `nodes` nodes.
struct Sizes {
    Sizes(std::vector<float> given, int32_t nodes) : values(std::move(given))
    {
        values.resize(std::size_t(nodes), 0.0f);
        records = DensityRecords{{}, 0, Vec<float>(values.data(), nodes), nodes, 1};
    }
    std::vector<float> values;
    DensityRecords records;
};

TEST(R1dir, SizesAtTheEndsGiveAProgression)
{
    // sizes 1 and 1 on an edge of 10: nodes at 1, 2, ..., 9, each of size 1
    Border border({0, 0, 10, 0}, {1, 2}, 20, 20);
    Sizes sizes({1.0f, 1.0f}, 20);
    std::vector<float> scratch(40);
    int32_t placed = 0;
    ASSERT_EQ(r1dir(kSizesAtPoints, 1, sizes.records, 1, border.mesh, Vec<float>(scratch.data(), 40), placed), kOk);
    ASSERT_EQ(placed, 9);
    for (int32_t i = 1; i <= 9; ++i) {
        EXPECT_NEAR(border.x(2 + i), float(i), 1e-5f);
        EXPECT_NEAR(sizes.values[std::size_t(1 + i)], 1.0f, 1e-6f);
    }
    // sizes 0.2 and 2, in both directions: node i gets the term u0 q^i, the interval before it
    for (const bool reversed : {false, true}) {
        Border edge({0, 0, 10, 0}, {reversed ? 2 : 1, reversed ? 1 : 2}, 40, 40);
        Sizes ends({0.2f, 2.0f}, 40);
        ASSERT_EQ(r1dir(kSizesAtPoints, 1, ends.records, 1, edge.mesh, Vec<float>(scratch.data(), 40), placed), kOk);
        ASSERT_GT(placed, 5);
        float previous = edge.x(reversed ? 2 : 1);
        for (int32_t k = 3; k < 3 + placed; ++k) {
            EXPECT_NEAR(ends.values[std::size_t(k - 1)], std::fabs(edge.x(k) - previous), 1e-4f) << k;
            previous = edge.x(k);
        }
    }
}

TEST(R1dir, NodeMaximumKeepsTheFirstPositions)
{
    Border border({0, 0, 10, 0}, {1, 2}, 5, 20);
    Sizes sizes({1.0f, 1.0f}, 5);
    std::vector<float> scratch(40);
    int32_t placed = 0;
    ASSERT_EQ(r1dir(kSizesAtPoints, 1, sizes.records, 1, border.mesh, Vec<float>(scratch.data(), 40), placed),
              kMaxNodesReached);
    EXPECT_EQ(placed, 3);
    EXPECT_NEAR(border.x(5), 3.0f, 1e-5f);
    EXPECT_EQ(border.mesh.edges(4, 2), 2);
}

/// A size function that finds every edge a little too long, never enough to be cut.
int almostFine(int32_t, Rows<const int32_t>, Rows<const int32_t>, Rows<const float>, Rows<float>, Vec<const int32_t>,
               Vec<const float>, float& ratio, float& wanted)
{
    ratio = 0.7f;
    wanted = 1.0f;
    return kOk;
}

TEST(R1iter, HalvesTheWorstEdgeFirst)
{
    // an edge of 4 with sizes 1: halved at 2, then the halves at 1 and 3 (lowest edge first);
    // the row of an isolated point (node 2 and no second node) is no edge to cut
    Border border({0, 0, 4, 0}, {1, 2, 2, 0}, 20, 20);
    Sizes sizes({1.0f, 1.0f}, 20);
    std::vector<float> ratios(20);
    std::vector<int32_t> heap(40);
    ASSERT_EQ(r1iter(dnchpo, sizes.records, 1, kSizesAtPoints, border.mesh, Vec<float>(ratios.data(), 20),
                     Vec<int32_t>(heap.data(), 40)),
              kOk);
    EXPECT_EQ(border.xs(), (std::vector<float>{0.0f, 4.0f, 2.0f, 1.0f, 3.0f}));
    EXPECT_EQ(sizes.values, (std::vector<float>{1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    // ratio 0.7 cuts nothing; no room gives +1 at once; a full edge table gives +1 too
    Border fine({0, 0, 4, 0}, {1, 2}, 20, 20);
    EXPECT_EQ(r1iter(almostFine, sizes.records, 1, kSizesAtPoints, fine.mesh, Vec<float>(ratios.data(), 20),
                     Vec<int32_t>()),
              kOk);
    EXPECT_EQ(fine.mesh.nodeCount, 2);
    Border full({0, 0, 4, 0}, {1, 2}, 2, 20);
    EXPECT_EQ(r1iter(dnchpo, sizes.records, 1, kSizesAtPoints, full.mesh, Vec<float>(ratios.data(), 20),
                     Vec<int32_t>()),
              kMaxNodesReached);
    Border noEdges({0, 0, 4, 0}, {1, 2}, 20, 2);
    EXPECT_EQ(r1iter(dnchpo, sizes.records, 1, kSizesAtPoints, noEdges.mesh, Vec<float>(ratios.data(), 20),
                     Vec<int32_t>()),
              kMaxNodesReached);
    EXPECT_EQ(noEdges.mesh.nodeCount, 3);
    EXPECT_EQ(noEdges.mesh.edgeCount, 2);
}

/// A random border: a polyline of `points` points along x with some wobble, closed or open.
std::vector<float> polyline(std::mt19937& random, int32_t points, std::vector<int32_t>& pairs)
{
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::vector<float> xy;
    float x = 0.0f;
    for (int32_t p = 1; p <= points; ++p) {
        xy.push_back(x);
        xy.push_back(unit(random) - 0.5f);
        x += 0.2f + 3.0f * unit(random);
        if (p > 1) {
            pairs.push_back(p - 1);
            pairs.push_back(p);
        }
    }
    if (random() % 2 == 0) {
        pairs.push_back(points);
        pairs.push_back(1);
    }
    return xy;
}

/// Random borders and concentrations (points, axes, segments; geometric and arithmetic), with
/// node maxima large and small: the indexed choice of the worst edge cuts the borders exactly
/// as the scan of `r1rech` does, smoothing included.
TEST(R1iter, IndexedChoiceIsTheScansChoice)
{
    std::mt19937 random(11);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    int cut = 0;
    for (int trial = 0; trial < 120; ++trial) {
        const int32_t points = 2 + int32_t(random() % 12);
        std::vector<int32_t> pairs;
        const std::vector<float> xy = polyline(random, points, pairs);
        const int32_t records = 1 + int32_t(random() % 3);
        std::vector<int32_t> integers;
        std::vector<float> reals;
        for (int32_t k = 0; k < records; ++k) {
            const bool geometric = random() % 3 != 0;
            const int32_t object = 1 + int32_t(random() % 3);
            integers.insert(integers.end(), {geometric ? kGeometricProgression : kArithmeticProgression, object});
            reals.insert(reals.end(), {geometric ? 1.05f + unit(random) : 0.3f * unit(random), 0.05f + 0.5f * unit(random),
                                       10.0f * unit(random), unit(random) - 0.5f, 10.0f * unit(random),
                                       2.0f + unit(random)});
        }
        const DensityRecords density{Vec<const int32_t>(integers.data(), int32_t(integers.size())), 2,
                                     Vec<float>(reals.data(), int32_t(reals.size())), 6, records};
        const int32_t nodes = trial % 4 == 0 ? points + int32_t(random() % 20) : 4000;
        const int32_t method = trial % 3 == 0 ? kSmoothedCutting : kIterativeCutting;
        std::vector<float> work(8000);
        std::vector<int32_t> heap(16000);
        Border indexed(xy, pairs, nodes, 4000, method == kSmoothedCutting);
        Border scanned(xy, pairs, nodes, 4000, method == kSmoothedCutting);
        const int first = r1raff(kDensityConcentrations, method, indexed.mesh, d1isui, density, {},
                                 Vec<float>(work.data(), 8000), Vec<int32_t>(heap.data(), 16000));
        const int second = r1raff(kDensityConcentrations, method, scanned.mesh, d1isui, density, {},
                                  Vec<float>(work.data(), 8000), Vec<int32_t>());
        ASSERT_EQ(first, second) << trial;
        ASSERT_GE(first, kOk) << trial;
        ASSERT_EQ(indexed.mesh.nodeCount, scanned.mesh.nodeCount) << trial;
        cut += indexed.mesh.nodeCount > points ? 1 : 0;
        EXPECT_EQ(indexed.coordinates, scanned.coordinates) << trial;
        EXPECT_EQ(indexed.edgeNodes, scanned.edgeNodes) << trial;
        EXPECT_EQ(indexed.codes, scanned.codes) << trial;
    }
    EXPECT_GT(cut, 100); // most borders were cut
}

/// The smoothing leaves neighbouring new edges closer in length than the cutting alone.
TEST(R1raff, SmoothingEvensOutNeighbouringEdges)
{
    std::vector<int32_t> integers{kGeometricProgression, kPointObject};
    std::vector<float> reals{1.3f, 0.05f, 0.0f, 0.0f, 0.0f, 0.0f};
    const DensityRecords density{Vec<const int32_t>(integers.data(), 2), 2, Vec<float>(reals.data(), 6), 6, 1};
    std::vector<float> work(2000);
    const auto worst = [](const Border& b) {
        // largest ratio of two neighbouring edges along the line, walking the nodes by x
        std::vector<float> x = b.xs();
        std::sort(x.begin(), x.end());
        float largest = 1.0f;
        for (std::size_t i = 2; i < x.size(); ++i) {
            const float l1 = x[i - 1] - x[i - 2];
            const float l2 = x[i] - x[i - 1];
            largest = std::max(largest, std::max(l1 / l2, l2 / l1));
        }
        return largest;
    };
    Border cut({0, 0, 10, 0}, {1, 2}, 1000, 1000, true);
    Border smoothed({0, 0, 10, 0}, {1, 2}, 1000, 1000, true);
    ASSERT_EQ(r1raff(kDensityConcentrations, kIterativeCutting, cut.mesh, d1isui, density, {},
                     Vec<float>(work.data(), 2000), Vec<int32_t>()),
              kOk);
    ASSERT_EQ(r1raff(kDensityConcentrations, kSmoothedCutting, smoothed.mesh, d1isui, density, {},
                     Vec<float>(work.data(), 2000), Vec<int32_t>()),
              kOk);
    EXPECT_EQ(cut.mesh.nodeCount, smoothed.mesh.nodeCount);
    EXPECT_LT(worst(smoothed), worst(cut));
    EXPECT_LT(worst(smoothed), 1.6f);
    EXPECT_EQ(r1raff(kDensityConcentrations, 4, cut.mesh, d1isui, density, {}, {}, {}), kDataError);
}

} // namespace
} // namespace tesmo
