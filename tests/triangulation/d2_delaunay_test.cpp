#include "triangulation/d2_delaunay.hpp"

#include "delaunay_support.hpp"
#include "messages/es_chaine.hpp"
#include "messages/es_erreur.hpp"
#include "support/structure_check.hpp"
#include "topology/st_2dstruct.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace tesmo {
namespace {

using testing::checkStructure;
using testing::DelaunayTables;

int run(DelaunayTables& t, int32_t& NBE)
{
    return trnupo(t.COORD(), t.J, t.ITRNOE(), t.ITRTRI(), t.NOETRI(), NBE, t.WORK(), t.REALS());
}

std::size_t occurrences(const std::string& text, const std::string& word)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
        ++count;
    }
    return count;
}

/// A Delaunay triangulation of the points (checked on the normalised coordinates it was built
/// from) covering their convex hull, or, when `fullHull` is false, at most the hull: a hull
/// edge whose empty circles all reach past the enclosing polygon's vertices goes with it.
void expectHullTriangulation(DelaunayTables& t, int32_t NBE, const std::string& name, bool fullHull = true,
                             double tolerance = 1e-5)
{
    EXPECT_EQ(checkStructure(2, t.ITRNOE(), t.ITRTRI(), NBE, t.NOETRI()), "") << name;
    EXPECT_EQ(testing::checkDelaunay(t.ITRNOE(), NBE, t.normalised(), t.J, tolerance), "") << name;
    const double hull = testing::convexHullArea(t.COORD(), t.J);
    const double area = testing::meshArea(t.ITRNOE(), NBE, t.COORD());
    if (fullHull) {
        EXPECT_NEAR(area, hull, 1e-5 * hull) << name;
    } else {
        EXPECT_LE(area, hull * (1 + 1e-5)) << name;
        EXPECT_GE(area, 0.9 * hull) << name;
    }
    for (int32_t v = 1; v <= t.J; ++v) {
        EXPECT_NE(t.NOETRI()(v), 0) << name << " node " << v;
    }
    for (int32_t e = 1; e <= NBE; ++e) {
        for (int32_t k = 1; k <= 3; ++k) {
            EXPECT_GE(t.ITRTRI()(e, k), 0) << name; // no border mark yet
        }
    }
    EXPECT_TRUE(t.guardsIntact()) << name;
}

TEST(Trnupo, ThreePointsGiveOneTriangle)
{
    DelaunayTables t({10, 10, 14, 10, 11, 13});
    int32_t NBE = -5;
    ASSERT_EQ(run(t, NBE), kOk);
    ASSERT_EQ(NBE, 1);
    std::vector<int32_t> nodes(t.ITRNOE().row(1), t.ITRNOE().row(1) + 3);
    std::rotate(nodes.begin(), std::min_element(nodes.begin(), nodes.end()), nodes.end());
    EXPECT_EQ(nodes, (std::vector<int32_t>{1, 2, 3})); // counter-clockwise
    EXPECT_EQ(std::vector<int32_t>(t.ITRTRI().row(1), t.ITRTRI().row(1) + 3), std::vector<int32_t>(3, 0));
    EXPECT_EQ(std::count(t.noetri.begin(), t.noetri.begin() + 53, 0), 50); // polygon vertices gone
    // the input coordinates are never changed
    EXPECT_EQ(t.coord, (std::vector<float>{10, 10, 14, 10, 11, 13}));
    expectHullTriangulation(t, NBE, "three points");
}

TEST(Trnupo, PointsOnALineParallelToAnAxisFailAtNormalisation)
{
    DelaunayTables t({0, 2, 1, 2, 5, 2, 3, 2});
    int32_t NBE = 0;
    modini = 2;
    ConsoleCapture capture;
    EXPECT_EQ(run(t, NBE), kDataError);
    modini = 0;
    EXPECT_NE(capture.text().find("ERR -1  DONNEES INCORRECTES DANS :TRNUPO"), std::string::npos);
    EXPECT_NE(capture.text().find("APPEL PTINIT"), std::string::npos);
    EXPECT_EQ(NBE, 0);
    EXPECT_TRUE(std::all_of(t.nodeRows.begin(), t.nodeRows.end(), [](int32_t v) { return v == testing::kSentinel; }));
}

TEST(Trnupo, DuplicatePointIsLeftOutAfterElevenFruitlessPasses)
{
    std::vector<float> points = testing::randomPoints(30, 4);
    points.push_back(points[10]); // node 31 repeats node 6
    points.push_back(points[11]);
    DelaunayTables t(points);
    int32_t NBE = 0;
    modini = 2;
    ConsoleCapture capture;
    EXPECT_EQ(run(t, NBE), kDataError);
    modini = 0;
    EXPECT_EQ(occurrences(capture.text(), "BOUCLE REJET"), 1u);
    EXPECT_NE(capture.text().find("ERR -1  DONNEES INCORRECTES DANS :TRNUPO\n BOUCLE REJET"), std::string::npos);
    // the other points are triangulated; the duplicate stands in no element
    EXPECT_EQ(t.NOETRI()(31), 0);
    EXPECT_EQ(checkStructure(2, t.ITRNOE(), t.ITRTRI(), NBE, t.NOETRI()), "");
    EXPECT_EQ(testing::checkDelaunay(t.ITRNOE(), NBE, t.normalised(), t.J), "");
    for (int32_t v = 1; v <= 30; ++v) {
        EXPECT_NE(t.NOETRI()(v), 0) << v;
    }
    EXPECT_TRUE(t.guardsIntact());
}

TEST(Trnupo, RefusesTablesItCannotUseWithoutWritingToThem)
{
    const std::vector<float> points = testing::randomPoints(40, 8);
    int32_t NBE = 0;
    DelaunayTables t(points);
    modini = 2;
    {
        ConsoleCapture capture;
        EXPECT_EQ(trnupo(t.COORD(), t.J, Rows<int32_t>(t.nodeRows.data(), 2, t.rows), t.ITRTRI(), t.NOETRI(), NBE,
                         t.WORK(), t.REALS()),
                  kDataError);
        EXPECT_NE(capture.text().find("EN 2D SEULEMENT"), std::string::npos);
        EXPECT_EQ(trnupo(t.COORD(), t.J, t.ITRNOE(), t.ITRTRI(), t.NOETRI(), NBE, Vec<int32_t>(t.work.data(), 309),
                         t.REALS()),
                  kCapacityError);
        EXPECT_NE(capture.text().find("ERR -2  PROBLEME MEMOIRE DANS :TRNUPO\n ITVL TROP PETIT"), std::string::npos);
    }
    modini = 0;
    const Rows<int32_t> shortRows(t.nodeRows.data(), 3, t.rows - 1);
    EXPECT_EQ(trnupo(t.COORD(), t.J, shortRows, t.ITRTRI(), t.NOETRI(), NBE, t.WORK(), t.REALS()), kCapacityError);
    EXPECT_EQ(trnupo(t.COORD(), t.J, t.ITRNOE(), t.ITRTRI(), Vec<int32_t>(t.noetri.data(), t.J + 49), NBE, t.WORK(),
                     t.REALS()),
              kCapacityError);
    EXPECT_EQ(trnupo(t.COORD(), t.J, t.ITRNOE(), t.ITRTRI(), t.NOETRI(), NBE, t.WORK(),
                     Vec<float>(t.reals.data(), int32_t(trnupoReals(t.J)) - 1)),
              kCapacityError);
    EXPECT_EQ(trnupo(t.COORD(), t.J + 1, t.ITRNOE(), t.ITRTRI(), t.NOETRI(), NBE, t.WORK(), t.REALS()), kDataError);
    EXPECT_TRUE(std::all_of(t.nodeRows.begin(), t.nodeRows.end(), [](int32_t v) { return v == testing::kSentinel; }));
    EXPECT_EQ(trnupo(t.COORD(), 0, t.ITRNOE(), t.ITRTRI(), t.NOETRI(), NBE, t.WORK(), t.REALS()), kOk);
    EXPECT_EQ(NBE, 0);
}

TEST(Trnupo, SmallWorkListIsEnoughForOrdinaryPointsAndRefusedWhenOutgrown)
{
    const std::vector<float> points = testing::randomPoints(100, 21);
    int32_t NBE = 0;
    DelaunayTables t(points, 0, 100 + kMinimumIntegerWork);
    ASSERT_EQ(run(t, NBE), kOk);
    expectHullTriangulation(t, NBE, "work J + 310", false);
    // a list too short for the first cavity (the fan about point 1) stops the triangulation
    DelaunayTables u(points, 0, 100 + 20);
    EXPECT_EQ(trnupo(u.COORD(), u.J, u.ITRNOE(), u.ITRTRI(), u.NOETRI(), NBE, Vec<int32_t>(u.work.data(), 120),
                     u.REALS()),
              kCapacityError);
    EXPECT_TRUE(u.guardsIntact());
}

/// Random points inside a square whose sides carry `perSide` points each, as a zone's
/// border nodes would, the border first.
std::vector<float> framedRandomPoints(int32_t count, int32_t perSide, uint32_t seed)
{
    std::vector<float> points;
    for (int32_t side = 0; side < 4; ++side) {
        for (int32_t i = 0; i < perSide; ++i) {
            const float u = 10.0f * float(i) / float(perSide);
            const float xy[4][2] = {{u, 0}, {10, u}, {10 - u, 10}, {0, 10 - u}};
            points.push_back(xy[side][0]);
            points.push_back(xy[side][1]);
        }
    }
    const std::vector<float> inside = testing::randomPoints(count, seed, 0.2f, 9.8f);
    points.insert(points.end(), inside.begin(), inside.end());
    return points;
}

TEST(Trnupo, ResultIsTheDelaunayTriangulationOfTheConvexHull)
{
    const std::vector<std::pair<std::string, std::vector<float>>> sets = {
        {"grid", testing::gridPoints(12, 9)},
        {"shuffled grid", testing::gridPoints(10, 10, 7)},
        {"framed random", framedRandomPoints(300, 15, 3)},
        {"framed random 2", framedRandomPoints(150, 25, 4)},
    };
    for (const auto& [name, points] : sets) {
        DelaunayTables t(points);
        int32_t NBE = 0;
        ASSERT_EQ(run(t, NBE), kOk) << name;
        expectHullTriangulation(t, NBE, name);
    }
    // points on a circle are co-circular up to rounding: their circles are only compared
    // coarsely
    DelaunayTables circle(testing::circlePoints(300));
    int32_t NBE = 0;
    ASSERT_EQ(run(circle, NBE), kOk);
    expectHullTriangulation(circle, NBE, "circle", true, 1e-2);
}

TEST(Trnupo, RandomPointsGiveADelaunayTriangulationWithinTheirHull)
{
    for (uint32_t seed = 1; seed <= 8; ++seed) {
        DelaunayTables t(testing::randomPoints(50 * int32_t(seed), seed));
        int32_t NBE = 0;
        ASSERT_EQ(run(t, NBE), kOk) << seed;
        expectHullTriangulation(t, NBE, "random " + std::to_string(seed), false);
    }
}

TEST(T2isp, FanAboutPointOneInsideTheRegularPolygon)
{
    std::vector<float> coord(2 * 55, 0.0f);
    std::vector<int32_t> nodes(3 * 52, -9), neighbours(3 * 52, -9), noetri(55, -9);
    int32_t NBE = 0;
    auto fan = [&](int32_t vertices, int32_t coordRows) {
        return t2isp(5, vertices, 4.0f, Rows<float>(coord.data(), 2, coordRows), Rows<int32_t>(nodes.data(), 3, 52),
                     Rows<int32_t>(neighbours.data(), 3, 52), Vec<int32_t>(noetri.data(), 55), NBE);
    };
    ASSERT_EQ(fan(50, 55), kOk);
    EXPECT_EQ(NBE, 50);
    EXPECT_EQ(coord[10], 4.0f); // vertex 0 on the x axis
    EXPECT_EQ(std::vector<int32_t>(nodes.begin(), nodes.begin() + 6), (std::vector<int32_t>{1, 6, 7, 1, 7, 8}));
    EXPECT_EQ(std::vector<int32_t>(nodes.begin() + 147, nodes.begin() + 151), (std::vector<int32_t>{1, 55, 6, -9}));
    EXPECT_EQ(std::vector<int32_t>(neighbours.begin(), neighbours.begin() + 3), (std::vector<int32_t>{50, 0, 2}));
    EXPECT_EQ(noetri[54], 50);
    modini = 2;
    ConsoleCapture capture;
    EXPECT_EQ(fan(2, 55), kDataError);
    modini = 0;
    EXPECT_NE(capture.text().find("IL FAUT 3 POINTS"), std::string::npos);
    EXPECT_EQ(fan(50, 54), kCapacityError);
}

/// True when the points a and b are joined by an edge of the triangulation.
bool joined(DelaunayTables& t, int32_t NBE, int32_t a, int32_t b)
{
    EdgeSides sides;
    EXPECT_EQ(sfri2d(a, b, 2, t.ITRNOE(), t.ITRTRI(), t.NOETRI(), NBE, sides), kOk);
    return sides.E1 != 0 || sides.E2 != 0;
}

/// Points given as (x, y) pairs, in order.
std::vector<float> flatten(const std::vector<std::pair<float, float>>& nodes)
{
    std::vector<float> points;
    for (const auto& [x, y] : nodes) {
        points.push_back(x);
        points.push_back(y);
    }
    return points;
}

TEST(TrnupoHull, SidesOfASquareWithPointsCloseToThemAreEdges)
{
    // the point near each side makes the circle through that side's corners reach far past
    // the enclosing polygon, so the insertion alone leaves the four sides out
    DelaunayTables t(flatten({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {5, 0.01f}, {9.99f, 5}, {5, 9.99f}, {0.01f, 5}}));
    int32_t NBE = 0;
    ASSERT_EQ(run(t, NBE), kOk);
    for (int32_t corner = 1; corner <= 4; ++corner) {
        EXPECT_TRUE(joined(t, NBE, corner, corner % 4 + 1)) << "side from corner " << corner;
    }
    EXPECT_EQ(NBE, 10); // 2 J - 2 - hull points
    expectHullTriangulation(t, NBE, "square with points near its sides");
    EXPECT_NEAR(testing::meshArea(t.ITRNOE(), NBE, t.COORD()), 100.0, 1e-9);
}

TEST(TrnupoHull, PointsAlmostOnAnUprightSideDoNotBendTheHull)
{
    // points 5e-7 right of the left side: to the border recovery the line through a corner
    // and one of them is upright (x = -1) and holds the opposite corner, which lies far beyond
    // the point and must not bend the hull
    DelaunayTables t(flatten({{0, 0}, {10, 0}, {10, 4}, {0, 4}, {5e-7f, 0.16f}, {5e-7f, 1.5f}, {5e-7f, 3.1f},
                              {5, 0.002f}, {9.998f, 2}, {5, 3.998f}}));
    int32_t NBE = 0;
    ASSERT_EQ(run(t, NBE), kOk);
    EXPECT_TRUE(joined(t, NBE, 1, 4));
    expectHullTriangulation(t, NBE, "upright side");
}

TEST(TrnupoHull, PointsNearALongHullEdgeAreNotLost)
{
    // side nodes on y = 0 with points just above between them: every triangle of the middle
    // side nodes reaches a polygon vertex, so they went with the polygon
    std::vector<std::pair<float, float>> nodes = {{0, 60}, {100, 60}};
    for (int32_t i = 0; i <= 8; ++i) {
        nodes.emplace_back(12.5f * float(i), 0.0f);
    }
    for (int32_t i = 0; i < 8; ++i) {
        nodes.emplace_back(12.5f * float(i) + 6.25f, 0.05f);
    }
    DelaunayTables t(flatten(nodes));
    int32_t NBE = 0;
    ASSERT_EQ(run(t, NBE), kOk);
    for (int32_t i = 3; i <= 10; ++i) {
        EXPECT_TRUE(joined(t, NBE, i, i + 1)) << "bottom edge from node " << i;
    }
    expectHullTriangulation(t, NBE, "points near a long edge");
}

TEST(TrnupoHull, ThinSliverCoversItsHull)
{
    // a zone 1000 long and about 1 thick along a sloping axis: border nodes cut at uneven
    // steps on its two long sides (collinear only up to rounding), nodes inside close to them;
    // every circle through three of its nodes is far larger than the zone
    std::vector<std::pair<float, float>> nodes;
    for (int32_t i = 0; i <= 6; ++i) {
        const float s = (float(i) + 0.3f * std::fmod(0.618034f * float(i), 1.0f) * float(i % 6 != 0)) / 6.0f;
        nodes.emplace_back(1000.0f * s, 7.0f * s);
        nodes.emplace_back(1000.0f * s, 1.0f + 7.2f * s);
    }
    for (int32_t i = 1; i < 20; ++i) {
        const float s = float(i) / 20.0f;
        nodes.emplace_back(1000.0f * s, 0.5f + 7.1f * s);
    }
    DelaunayTables t(flatten(nodes));
    int32_t NBE = 0;
    ASSERT_EQ(run(t, NBE), kOk);
    expectHullTriangulation(t, NBE, "sliver", true, 1e-3);
}

TEST(TrnupoHull, ShallowConcaveSideLeavesItsChordOnTheHull)
{
    // 1000 border nodes on an arc bowing 0.01 into a zone 100 wide: three nodes in a row are
    // collinear to within rounding, yet the chord between the arc's ends is the hull edge
    std::vector<std::pair<float, float>> nodes = {{0, 0}, {100, 0}, {100, 30}, {0, 30}};
    for (int32_t i = 1; i < 1000; ++i) {
        const double x = 0.1 * double(i);
        nodes.emplace_back(float(x), float(0.01 * std::sin(3.14159265358979 * x / 100.0)));
    }
    DelaunayTables t(flatten(nodes));
    int32_t NBE = 0;
    ASSERT_EQ(run(t, NBE), kOk);
    EXPECT_TRUE(joined(t, NBE, 1, 2));
    EXPECT_EQ(NBE, 2 * t.J - 2 - 4);
    expectHullTriangulation(t, NBE, "shallow arc");
}

/// Random points of one of four kinds: uniform in a square, in a thin band, on the sides of
/// a rotated rectangle with inner points close to them, or in clusters.
std::vector<float> randomSet(uint32_t seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    const int32_t count = 20 + int32_t(random() % 200);
    std::vector<std::pair<float, float>> nodes;
    const uint32_t kind = seed % 4;
    if (kind == 0) {
        for (int32_t i = 0; i < count; ++i) {
            nodes.emplace_back(unit(random) * 7.0f - 3.0f, unit(random) * 7.0f + 2.0f);
        }
    } else if (kind == 1) {
        for (int32_t i = 0; i < count; ++i) {
            nodes.emplace_back(unit(random) * 100.0f, unit(random) * 0.5f);
        }
    } else if (kind == 2) {
        const float angle = unit(random) * 3.0f;
        const float c = std::cos(angle);
        const float s = std::sin(angle);
        const auto place = [&](float u, float v) { nodes.emplace_back(c * u - s * v + 3.0f, s * u + c * v - 1.0f); };
        const float corners[4][2] = {{0, 0}, {10, 0}, {10, 4}, {0, 4}};
        for (const auto& corner : corners) {
            place(corner[0], corner[1]);
        }
        for (int32_t i = 0; i < count; ++i) {
            const float u = unit(random);
            const float gap = 1e-3f * unit(random); // close to a side
            const int32_t side = int32_t(random() % 4);
            const float uv[4][2] = {{10 * u, gap}, {10 - gap, 4 * u}, {10 * u, 4 - gap}, {gap, 4 * u}};
            place(uv[side][0], uv[side][1]);
        }
    } else {
        for (int32_t i = 0; i < count; ++i) {
            const float cx = float(i % 3) * 40.0f;
            const float cy = float(i % 2) * 25.0f;
            nodes.emplace_back(cx + unit(random), cy + unit(random));
        }
    }
    return flatten(nodes);
}

TEST(TrnupoHull, RandomSetsCoverTheirHullExactly)
{
    for (uint32_t seed = 1; seed <= 160; ++seed) {
        DelaunayTables t(randomSet(seed));
        int32_t NBE = 0;
        ASSERT_EQ(run(t, NBE), kOk) << seed;
        expectHullTriangulation(t, NBE, "random set " + std::to_string(seed), true, 1e-4);
    }
}

TEST(TrnupoHull, PointsOnASlopingLineAreReportedLostAndThePolygonRemovedWhole)
{
    DelaunayTables t({0, 0, 1, 1, 2.5f, 2.5f, 4, 4});
    int32_t NBE = 0;
    modini = 2;
    ConsoleCapture capture;
    EXPECT_EQ(run(t, NBE), kDataError);
    modini = 0;
    EXPECT_NE(capture.text().find("DONNEES INCORRECTES DANS :TRNUPO\n DESTRUCTION FINALE : POINT PERDU 1"),
              std::string::npos)
        << capture.text();
    EXPECT_EQ(capture.text().find("STRUCTURE NON CORRECTE"), std::string::npos);
    for (int32_t e = 1; e <= NBE; ++e) {
        for (int32_t k = 1; k <= 3; ++k) {
            EXPECT_LE(t.ITRNOE()(e, k), t.J); // no polygon vertex left
        }
    }
    EXPECT_TRUE(t.guardsIntact());
}

TEST(TrnupoHull, LongStripIsRecoveredAndAShortWorkAreaRefused)
{
    // 100 points scattered just above the long side of a triangle: the side crosses a long
    // strip of very thin triangles, restored by exchanging diagonals
    std::vector<std::pair<float, float>> nodes = {{0, 0}, {100, 0}, {50, 40}};
    for (int32_t i = 1; i <= 100; ++i) {
        const float u = std::fmod(0.618034f * float(i), 1.0f);
        const float w = std::fmod(0.414214f * float(i), 1.0f);
        nodes.emplace_back(2.0f + 96.0f * u, 0.01f * (0.5f + w));
    }
    const std::vector<float> points = flatten(nodes);
    DelaunayTables t(points);
    int32_t NBE = 0;
    ASSERT_EQ(run(t, NBE), kOk);
    EXPECT_TRUE(joined(t, NBE, 1, 2));
    expectHullTriangulation(t, NBE, "long strip");
    // the insertion fits in J + 250 integers, the sides crossed by the long side do not
    DelaunayTables u(points, 0, t.J + 250);
    modini = 2;
    ConsoleCapture capture;
    EXPECT_EQ(run(u, NBE), kCapacityError);
    modini = 0;
    EXPECT_NE(capture.text().find("PROBLEME MEMOIRE DANS :TRNUPO\n  FILE D ARETES PLEINE"), std::string::npos)
        << capture.text();
    EXPECT_EQ(capture.text().find("APPEL TRAJPO"), std::string::npos);
    EXPECT_TRUE(u.guardsIntact());
}

} // namespace
} // namespace tesmo
