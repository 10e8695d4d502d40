#include "triangulation/m3_tripo.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>

namespace tesmo {
namespace {

using List = std::vector<int32_t>;

/// Points numbered from 1, and trpls2 over the polygon 1..n with the given work sizes
/// (trpls2Need by default).
struct Polygon {
    std::vector<float> xy;
    float best = 0.0f;
    void add(float x, float y) { xy.insert(xy.end(), {x, y}); }
    const float* at(int32_t v) const { return xy.data() + 2 * (v - 1); }
    int32_t n() const { return int32_t(xy.size() / 2); }
    List vertices() const
    {
        List w(static_cast<std::size_t>(n()));
        std::iota(w.begin(), w.end(), 1);
        return w;
    }
    int triangulate(List& triangles, int64_t integers = -1, int64_t reals = -1, List w = {})
    {
        if (w.empty()) {
            w = vertices();
        }
        int64_t needI = 0;
        int64_t needR = 0;
        trpls2Need(int32_t(w.size()), needI, needR);
        List iwork(std::size_t(integers < 0 ? needI : integers), -7);
        std::vector<float> rwork(std::size_t(reals < 0 ? needR : reals), -7.0f);
        const int code = trpls2(Vec<const int32_t>(w.data(), int32_t(w.size())), Rows<const float>(xy.data(), 2, n()),
                                Vec<int32_t>(iwork.data(), int32_t(iwork.size())),
                                Vec<float>(rwork.data(), int32_t(rwork.size())), best);
        triangles.assign(iwork.begin(), iwork.begin() + (code == kOk ? 3 * std::ptrdiff_t(w.size() - 2) : 0));
        return code;
    }
};

/// The same search as a plain recursion without bounds: for each apex in order the smallest
/// of the triangle's quality and both sub-polygons' best values; the first apex with the
/// largest value wins, its list being the triangle, the right list, then the left list.
float reference(const Polygon& points, const List& w, List& list)
{
    float best = -2.0f;
    for (std::size_t j = 2; j < w.size(); ++j) {
        float value = trrilf(points.at(w[0]), points.at(w[1]), points.at(w[j]));
        List left(w.begin() + 1, w.begin() + std::ptrdiff_t(j) + 1);
        List right(w.begin() + std::ptrdiff_t(j), w.end());
        right.push_back(w[0]);
        List leftList;
        List rightList;
        value = left.size() < 3 ? value : std::min(value, reference(points, left, leftList));
        value = right.size() < 3 ? value : std::min(value, reference(points, right, rightList));
        if (value > best) {
            best = value;
            list = {w[0], w[1], w[j]};
            list.insert(list.end(), rightList.begin(), rightList.end());
            list.insert(list.end(), leftList.begin(), leftList.end());
        }
    }
    return best;
}

TEST(Trrilf, ScoresShapeAndGivesZeroToClockwiseFlatOrPointTriangles)
{
    const float p[2] = {0, 0};
    const float q[2] = {1, 0};
    const float apex[2] = {0.5f, 0.8660254f};
    const float corner[2] = {0, 1};
    const float beyond[2] = {3, 0};
    EXPECT_NEAR(trrilf(p, q, apex), 0.8660254f, 1e-6f);
    EXPECT_FLOAT_EQ(trrilf(p, q, corner), 0.5f);
    EXPECT_FLOAT_EQ(trrilf(p, corner, q), 0.0f);
    EXPECT_FLOAT_EQ(trrilf(p, q, beyond), 0.0f);
    EXPECT_FLOAT_EQ(trrilf(p, p, p), 0.0f);
}

TEST(Trpls2, HandExamplesOfABetterDiagonalAndOfZeroScores)
{
    List triangles;
    // apex 3: 4/13 and 3/13; apex 4: 2/5 and 5/10
    Polygon kite;
    for (const auto& [x, y] : {std::pair{0, 0}, std::pair{2, 0}, std::pair{3, 2}, std::pair{0, 1}}) {
        kite.add(float(x), float(y));
    }
    ASSERT_EQ(kite.triangulate(triangles), kOk);
    EXPECT_EQ(triangles, (List{1, 2, 4, 2, 3, 4}));
    EXPECT_FLOAT_EQ(kite.best, 0.4f);
    // clockwise: every triangle scores 0 and the first apexes win
    Polygon clockwise;
    for (int32_t i = 0; i < 5; ++i) {
        clockwise.add(std::cos(-1.2566371f * float(i)), std::sin(-1.2566371f * float(i)));
    }
    ASSERT_EQ(clockwise.triangulate(triangles), kOk);
    EXPECT_EQ(triangles, (List{1, 2, 3, 3, 4, 5, 5, 1, 3}));
    EXPECT_FLOAT_EQ(clockwise.best, 0.0f);
}

TEST(Trpls2, AgreesWithThePlainRecursionOnRandomPolygons)
{
    std::mt19937 random(12345);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    for (int32_t trial = 0; trial < 300; ++trial) {
        std::vector<float> angles(std::size_t(3 + trial % 8));
        std::generate(angles.begin(), angles.end(), [&] { return 6.2831855f * unit(random); });
        std::sort(angles.begin(), angles.end());
        Polygon polygon; // convex or star-shaped, on a coarse lattice so that apexes tie
        for (const float angle : angles) {
            const float radius = trial % 2 == 1 ? 0.3f + unit(random) : 1.0f;
            polygon.add(std::round(radius * std::cos(angle) * 8.0f), std::round(radius * std::sin(angle) * 8.0f));
        }
        List expected;
        const float value = reference(polygon, polygon.vertices(), expected);
        List triangles;
        ASSERT_EQ(polygon.triangulate(triangles), kOk) << "trial " << trial;
        EXPECT_EQ(polygon.best, value) << "trial " << trial;
        EXPECT_EQ(triangles, expected) << "trial " << trial;
    }
}

TEST(Trpls2, RecordsAndRealsAreCountedAsStated)
{
    Polygon square;
    for (const auto& [x, y] : {std::pair{0, 0}, std::pair{1, 0}, std::pair{1, 1}, std::pair{0, 1}}) {
        square.add(float(x), float(y));
    }
    List triangles;
    // n = 4: 6 result values then 18 per record; the square needs 2 records and 2 n reals
    EXPECT_EQ(square.triangulate(triangles, 6 + 2 * 18, 8), kOk);
    EXPECT_EQ(square.triangulate(triangles, 6 + 2 * 18 - 1, 8), kCapacityError);
    EXPECT_EQ(square.triangulate(triangles, 6 + 17, 8), kCapacityError);
    EXPECT_EQ(square.triangulate(triangles, 6 + 2 * 18, 7), kCapacityError);
    EXPECT_EQ(square.triangulate(triangles, 6 + 3 * 18, 3), kCapacityError);
    EXPECT_EQ(square.triangulate(triangles, 3 + 14, 6, {1, 2, 3}), kOk); // a triangle: one record
    EXPECT_EQ(square.triangulate(triangles, 100, 100, {1, 2}), kDataError);
    EXPECT_EQ(square.triangulate(triangles, 100, 100, {1, 2, 5}), kDataError);
}

} // namespace
} // namespace tesmo
