#include "triangulation/m3_tripo.hpp"

#include "m3_mesh_fixture.hpp"
#include "triangulation/m3_inter2d.hpp"
#include "triangulation/st_polygon.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <numeric>
#include <random>
#include <set>
#include <string>

namespace tesmo {
namespace {

using List = std::vector<int32_t>;

constexpr float kInfinity = std::numeric_limits<float>::infinity();

/// Points numbered from 1 and a polygon over them (1..n unless given).
struct Polygon {
    std::vector<float> xy;
    List w;
    void add(float x, float y) { xy.insert(xy.end(), {x, y}); }
    const float* at(int32_t v) const { return xy.data() + 2 * (v - 1); }
    int32_t points() const { return int32_t(xy.size() / 2); }
    List vertices() const
    {
        if (!w.empty()) {
            return w;
        }
        List all(static_cast<std::size_t>(points()));
        std::iota(all.begin(), all.end(), 1);
        return all;
    }
    Rows<const float> COORD() const { return Rows<const float>(xy.data(), 2, points()); }
};

/// What a search answers: its code, the best value and the list.
struct Answer {
    int code = 0;
    float best = 0.0f;
    List triangles;
    bool operator==(const Answer& other) const
    {
        return code == other.code && (code != kOk || (best == other.best && triangles == other.triangles));
    }
};

std::ostream& operator<<(std::ostream& out, const Answer& a)
{
    out << "code " << a.code << " best " << a.best << " list";
    for (const int32_t v : a.triangles) {
        out << ' ' << v;
    }
    return out;
}

/// trpls2 with the given work sizes (trpls2Need by default).
Answer triangulate(const Polygon& p, TriangleQuality quality = trrilf, int64_t integers = -1, int64_t reals = -1)
{
    const List w = p.vertices();
    int64_t needI = 0;
    int64_t needR = 0;
    trpls2Need(int32_t(w.size()), needI, needR);
    List iwork(std::size_t(integers < 0 ? needI : integers), -7);
    std::vector<float> rwork(std::size_t(reals < 0 ? needR : reals), -7.0f);
    Answer a;
    a.code = trpls2(Vec<const int32_t>(w.data(), int32_t(w.size())), p.COORD(), Vec<int32_t>(iwork.data(), int32_t(iwork.size())),
                    Vec<float>(rwork.data(), int32_t(rwork.size())), a.best, quality);
    a.triangles.assign(iwork.begin(), iwork.begin() + (a.code == kOk ? 3 * std::ptrdiff_t(w.size() - 2) : 0));
    return a;
}

/// The ways trplsi can be run: interval bounds from the start or after some plain tests, or
/// none; bounds on small pieces only (their owners opened under unbounded records); a table
/// that fills up at once, or none.
struct Setting {
    int32_t boundLimit;
    int32_t entries;
    int32_t plainTests;
};
constexpr Setting kSettings[] = {{kBoundLimit, 1024, 0}, {kBoundLimit, 1024, 5}, {0, 1024, 0},
                                 {5, 16, 0},             {7, 0, 3},             {0, 0, 0}};

Answer search(const Polygon& p, Setting s, TriangleQuality quality = trrilf)
{
    const List w = p.vertices();
    const int32_t n = int32_t(w.size());
    const int32_t K = std::min(n, s.boundLimit);
    const int32_t words = (n + 31) / 32;
    List integers(std::size_t(n * (n + 1) + K * (K + 1) + words));
    List keys(std::size_t(s.entries * (words + 2)));
    std::vector<float> reals(std::size_t(n * (n + 1) + K * (K + 1)));
    std::vector<float> intervals(std::size_t(K * (K - 1)));
    std::vector<float> bounds(std::size_t(2 * s.entries));
    PolygonSearch work;
    work.integers = Vec<int32_t>(integers.data(), int32_t(integers.size()));
    work.reals = Vec<float>(reals.data(), int32_t(reals.size()));
    work.intervals = Vec<float>(intervals.data(), int32_t(intervals.size()));
    work.tableKeys = Vec<int32_t>(keys.data(), int32_t(keys.size()));
    work.tableBounds = Vec<float>(bounds.data(), int32_t(bounds.size()));
    work.entries = s.entries;
    work.boundLimit = s.boundLimit;
    work.plainTests = s.plainTests;
    Answer a;
    a.triangles.assign(std::size_t(3 * (n - 2)), 0);
    a.code = trplsi(Vec<const int32_t>(w.data(), n), p.COORD(), quality, work,
                    Vec<int32_t>(a.triangles.data(), int32_t(a.triangles.size())), a.best);
    if (a.code != kOk) {
        a.triangles.clear();
    }
    return a;
}

/// The rules as a plain recursion without bounds: for each apex in order the smallest of the
/// triangle's quality and both pieces' values; the first apex with the largest value wins,
/// its list being the triangle, the right list, then the left list.
float reference(const Polygon& p, const List& w, List& list, TriangleQuality quality)
{
    float best = -kInfinity;
    for (std::size_t j = 2; j < w.size(); ++j) {
        float value = quality(p.at(w[0]), p.at(w[1]), p.at(w[j]));
        value = value == value ? value : -kInfinity;
        List left(w.begin() + 1, w.begin() + std::ptrdiff_t(j) + 1);
        List right(w.begin() + std::ptrdiff_t(j), w.end());
        right.push_back(w[0]);
        List leftList;
        List rightList;
        value = left.size() < 3 ? value : std::min(value, reference(p, left, leftList, quality));
        value = right.size() < 3 ? value : std::min(value, reference(p, right, rightList, quality));
        if (value > best || list.empty()) {
            best = value;
            list = {w[0], w[1], w[j]};
            list.insert(list.end(), rightList.begin(), rightList.end());
            list.insert(list.end(), leftList.begin(), leftList.end());
        }
    }
    return best;
}

Answer reference(const Polygon& p, TriangleQuality quality = trrilf)
{
    Answer a;
    a.best = reference(p, p.vertices(), a.triangles, quality);
    a.code = a.best > kWholePolygonBound ? kOk : kDataError;
    return a;
}

/// The search as first built, without any pruning: apexes in order, each piece searched with
/// its parent's best value as bound (both pieces, even when the left one failed), a strictly
/// larger value replacing the best one. False when nothing beats the bound.
bool plainSearch(const Polygon& p, const List& w, float bound, TriangleQuality quality, float& best, List& list)
{
    best = bound;
    bool listed = false;
    for (std::size_t j = 2; j < w.size(); ++j) {
        const float q = quality(p.at(w[0]), p.at(w[1]), p.at(w[j]));
        if (!(q > best)) {
            continue;
        }
        const float pieceBound = best;
        List left(w.begin() + 1, w.begin() + std::ptrdiff_t(j) + 1);
        List right(w.begin() + std::ptrdiff_t(j), w.end());
        right.push_back(w[0]);
        float value = q;
        bool complete = true;
        List lists[2];
        int32_t k = 0;
        for (const List* piece : {&left, &right}) {
            float pieceBest = 0.0f;
            if (piece->size() >= 3) {
                complete = plainSearch(p, *piece, pieceBound, quality, pieceBest, lists[k]) && complete;
                value = std::min(value, pieceBest);
            }
            ++k;
        }
        if (complete && value > best) {
            best = value;
            listed = true;
            list = {w[0], w[1], w[j]};
            list.insert(list.end(), lists[1].begin(), lists[1].end());
            list.insert(list.end(), lists[0].begin(), lists[0].end());
        }
    }
    return listed;
}

Answer plainSearch(const Polygon& p, TriangleQuality quality = trrilf)
{
    Answer a;
    a.code = plainSearch(p, p.vertices(), kWholePolygonBound, quality, a.best, a.triangles) ? kOk : kDataError;
    if (a.code != kOk) {
        a.triangles.clear();
    }
    return a;
}

// --- polygons ------------------------------------------------------------------------------

/// Counter-clockwise polygons with ties and degeneracies: on a coarse lattice (equal
/// qualities, collinear and coincident corners), convex or star-shaped in floats, and runs
/// of collinear points as along a border.
Polygon randomPolygon(int32_t kind, int32_t n, std::mt19937& random)
{
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::vector<float> angles(static_cast<std::size_t>(n));
    std::generate(angles.begin(), angles.end(), [&] { return 6.2831855f * unit(random); });
    std::sort(angles.begin(), angles.end());
    Polygon p;
    if (kind == 3) {
        const int32_t top = n / 2;
        for (int32_t i = 0; i < n - top; ++i) {
            p.add(0.1f * float(i), 0.0f);
        }
        for (int32_t i = 0; i < top; ++i) {
            p.add(0.1f * float(n - top - 1 - i) + 0.03f * unit(random), 0.3f + 0.01f * unit(random));
        }
        return p;
    }
    for (const float angle : angles) {
        const float radius = kind == 0 ? 1.0f : 0.3f + unit(random);
        if (kind == 2) {
            p.add(std::round(radius * std::cos(angle) * 6.0f), std::round(radius * std::sin(angle) * 6.0f));
        } else {
            p.add(radius * std::cos(angle) * 3.7f + 11.3f, radius * std::sin(angle) * 3.7f - 7.1f);
        }
    }
    return p;
}

/// The two polygons a recovery of ab triangulates, taken from a jittered grid with random
/// diagonals: the frontier of the triangles ab crosses, cut at a and b (first b..a, then a..b).
std::vector<Polygon> cavityPolygons(int32_t nx, int32_t ny, uint32_t seed, int32_t a, int32_t b, bool& found)
{
    found = false;
    std::mt19937 random(seed);
    testing::PlaneMesh grid = testing::gridMesh(nx, ny, seed);
    std::uniform_real_distribution<float> jitter(-0.2f, 0.2f);
    std::vector<testing::Point> points;
    for (int32_t v = 1; v <= grid.nodeCount; ++v) {
        points.push_back({grid.COORD()(v, 1) + jitter(random), grid.COORD()(v, 2) + jitter(random)});
    }
    const std::vector<int32_t> rows = grid.rows();
    std::vector<std::array<int32_t, 3>> triangles;
    for (std::size_t t = 0; t < rows.size(); t += 3) {
        triangles.push_back({rows[t], rows[t + 1], rows[t + 2]});
    }
    testing::PlaneMesh mesh(points, triangles);
    List crossed(1024, 0);
    int32_t count = 0;
    const int32_t edge[2] = {a, b};
    if (tritse(Vec<const int32_t>(edge, 2), mesh.ITRNOE(), mesh.ITRTRI(), mesh.NOETRI(), mesh.NBE, mesh.COORD(),
               Vec<int32_t>(crossed.data(), 1024), count) != kOk ||
        count < 2) {
        return {};
    }
    // frontier: the sides of the crossed triangles not shared by two of them, chained
    std::set<std::pair<int32_t, int32_t>> sides;
    for (int32_t i = 0; i < count; ++i) {
        const int32_t* t = mesh.ITRNOE().row(crossed[std::size_t(i)]);
        for (int32_t k = 0; k < 3; ++k) {
            sides.insert({t[k], t[(k + 1) % 3]});
        }
    }
    std::map<int32_t, int32_t> next;
    for (const auto& side : sides) {
        if (sides.count({side.second, side.first}) == 0) {
            next[side.first] = side.second;
        }
    }
    List polygon = {a};
    while (int32_t(polygon.size()) <= count + 2 && next.count(polygon.back()) != 0 && next[polygon.back()] != a) {
        polygon.push_back(next[polygon.back()]);
    }
    if (int32_t(polygon.size()) != count + 2 || int32_t(next.size()) != count + 2) {
        return {}; // not a simple strip
    }
    List first(polygon.size()), second(polygon.size());
    int32_t n1 = 0;
    int32_t n2 = 0;
    EXPECT_EQ(splipl(Vec<const int32_t>(polygon.data(), int32_t(polygon.size())), a, b,
                     Vec<int32_t>(first.data(), int32_t(first.size())), n1,
                     Vec<int32_t>(second.data(), int32_t(second.size())), n2),
              kOk);
    Polygon one;
    for (const auto& pt : points) {
        one.add(pt[0], pt[1]);
    }
    Polygon two = one;
    one.w.assign(first.begin(), first.begin() + n1);
    two.w.assign(second.begin(), second.begin() + n2);
    found = true;
    return {one, two};
}

/// A quality that depends on the corner taken first (a rounding difference made large), so
/// that a triangle chosen in another corner order than the search's would show.
float firstCornerQuality(const float* p1, const float* p2, const float* p3)
{
    return trrilf(p1, p2, p3) + 0.01f * p1[0];
}

/// A quality that is not a number for some corner orders and below -1 for others.
float oddQuality(const float* p1, const float* p2, const float* p3)
{
    const float q = trrilf(p1, p2, p3);
    if (p1[0] > p2[0] && q < 0.2f) {
        return std::numeric_limits<float>::quiet_NaN();
    }
    return p1[1] > p3[1] ? q : q - 1.1f;
}

// --- tests ---------------------------------------------------------------------------------

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
    // apex 3: 4/13 and 3/13; apex 4: 2/5 and 5/10
    Polygon kite;
    for (const auto& [x, y] : {std::pair{0, 0}, std::pair{2, 0}, std::pair{3, 2}, std::pair{0, 1}}) {
        kite.add(float(x), float(y));
    }
    Answer a = triangulate(kite);
    ASSERT_EQ(a.code, kOk);
    EXPECT_EQ(a.triangles, (List{1, 2, 4, 2, 3, 4}));
    EXPECT_FLOAT_EQ(a.best, 0.4f);
    // clockwise: every triangle scores 0 and the first apexes win
    Polygon clockwise;
    for (int32_t i = 0; i < 5; ++i) {
        clockwise.add(std::cos(-1.2566371f * float(i)), std::sin(-1.2566371f * float(i)));
    }
    a = triangulate(clockwise);
    ASSERT_EQ(a.code, kOk);
    EXPECT_EQ(a.triangles, (List{1, 2, 3, 3, 4, 5, 5, 1, 3}));
    EXPECT_FLOAT_EQ(a.best, 0.0f);
}

TEST(Trpls2, AgreesWithThePlainRecursionOnRandomPolygonsWithTies)
{
    std::mt19937 random(12345);
    for (int32_t trial = 0; trial < 500; ++trial) {
        const int32_t n = 3 + trial % 10;
        const Polygon p = randomPolygon(trial / 10 % 4, n, random);
        const Answer expected = reference(p);
        ASSERT_EQ(triangulate(p), expected) << "trial " << trial;
        for (const Setting& s : kSettings) {
            ASSERT_EQ(search(p, s), expected) << "trial " << trial << " limit " << s.boundLimit;
        }
    }
    for (int32_t n = 13; n <= 15; ++n) {
        for (int32_t kind = 0; kind < 4; ++kind) {
            const Polygon p = randomPolygon(kind, n, random);
            EXPECT_EQ(triangulate(p), reference(p)) << "n " << n << " kind " << kind;
        }
    }
}

TEST(Trpls2, AgreesWithThePlainRecursionForQualitiesThatDependOnTheCornerOrder)
{
    // the interval bounds take one corner order for triangles with a polygon side: a quality
    // that changes with the first corner shows if the search ever takes another one
    std::mt19937 random(777);
    for (int32_t trial = 0; trial < 300; ++trial) {
        const Polygon p = randomPolygon(trial % 4, 4 + trial % 9, random);
        for (const TriangleQuality quality : {firstCornerQuality, oddQuality}) {
            const Answer expected = reference(p, quality);
            ASSERT_EQ(triangulate(p, quality), expected) << "trial " << trial;
            ASSERT_EQ(search(p, kSettings[0], quality), expected) << "trial " << trial;
            ASSERT_EQ(search(p, kSettings[3], quality), expected) << "trial " << trial;
        }
    }
}

TEST(Trpls2, SubPolygonsOfTheSameVerticesAndAnotherFirstVertexAreKeptApart)
{
    // pieces of the same vertices can start at different vertices (their triangles then take
    // other corner orders): their bounds must not be shared
    Polygon p;
    for (const auto& [x, y] : {std::pair{6, 2}, std::pair{3, 2}, std::pair{5, 3}, std::pair{-2, 4}, std::pair{-6, 1},
                               std::pair{0, -7}, std::pair{4, -4}, std::pair{5, -5}, std::pair{5, -3}, std::pair{6, -1}}) {
        p.add(float(x), float(y));
    }
    const Answer expected = reference(p, firstCornerQuality);
    ASSERT_EQ(expected.code, kOk);
    EXPECT_EQ(search(p, Setting{5, 16, 40}, firstCornerQuality), expected);
}

TEST(Trpls2, AgreesWithThePlainSearchOnRecoveryCavities)
{
    int32_t polygons = 0;
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        const int32_t nx = 6 + int32_t(seed % 9);
        const int32_t a = testing::gridNode(nx, 0, int32_t(seed % 2));
        const int32_t b = testing::gridNode(nx, nx, 2 + int32_t(seed % 2));
        bool found = false;
        for (const Polygon& p : cavityPolygons(nx, 3, seed, a, b, found)) {
            ++polygons;
            const Answer expected = plainSearch(p);
            EXPECT_EQ(triangulate(p), expected) << "seed " << seed;
            EXPECT_EQ(search(p, kSettings[3]), expected) << "seed " << seed;
            if (p.w.size() <= 13) {
                EXPECT_EQ(reference(p), expected) << "seed " << seed;
            }
        }
    }
    EXPECT_GE(polygons, 40);
}

TEST(Trpls2, AgreesWithThePlainSearchOnLargerPolygons)
{
    std::mt19937 random(4242);
    for (const auto& [kind, n] : {std::pair{1, 20}, std::pair{2, 22}, std::pair{3, 24}, std::pair{0, 18}, std::pair{1, 24}}) {
        const Polygon p = randomPolygon(kind, n, random);
        const Answer expected = plainSearch(p);
        EXPECT_EQ(triangulate(p), expected) << "kind " << kind << " n " << n;
        EXPECT_EQ(search(p, kSettings[2]), expected) << "kind " << kind << " n " << n;
    }
}

TEST(Trpls2, WorkSizesAndCodes)
{
    Polygon hexagon;
    for (int32_t i = 0; i < 6; ++i) {
        hexagon.add(std::cos(1.0471976f * float(i)), std::sin(1.0471976f * float(i)));
    }
    const Answer expected = reference(hexagon);
    // n = 6, K = 6, W = 1: the result (12), the stacks (42 + 42 + 1) then 128 keys of 3; the
    // interval bounds (15 pairs), the real stack (84) then 128 pairs
    int64_t integers = 0;
    int64_t reals = 0;
    trpls2Need(6, integers, reals);
    EXPECT_EQ(integers, 12 + 85 + 384);
    EXPECT_EQ(reals, 30 + 84 + 256);
    EXPECT_EQ(triangulate(hexagon, trrilf, integers, reals), expected);
    EXPECT_EQ(triangulate(hexagon, trrilf, 12 + 85, 30 + 84), expected);           // without a table
    EXPECT_EQ(triangulate(hexagon, trrilf, 12 + 85 + 48, 30 + 84 + 32), expected); // 16 entries
    EXPECT_EQ(triangulate(hexagon, trrilf, 12 + 84, reals).code, kCapacityError);
    EXPECT_EQ(triangulate(hexagon, trrilf, integers, 30 + 83).code, kCapacityError);
    // bad polygons
    Polygon two = hexagon;
    two.w = {1, 2};
    EXPECT_EQ(triangulate(two, trrilf, 100, 100).code, kDataError);
    two.w = {1, 2, 7};
    EXPECT_EQ(triangulate(two, trrilf, 100, 100).code, kDataError);
    // trplsi refuses a table that is not a power of two and short areas
    Setting odd = kSettings[0];
    odd.entries = 24;
    EXPECT_EQ(search(hexagon, odd).code, kCapacityError);
    // nothing above the bound: every quality at or below -1
    const TriangleQuality low = [](const float*, const float*, const float*) { return -1.0f; };
    EXPECT_EQ(triangulate(hexagon, low).code, kDataError);
    EXPECT_EQ(plainSearch(hexagon, low).code, kDataError);
}

} // namespace
} // namespace tesmo
