#include "triangulation/d2_delaunay.hpp"

#include "delaunay_support.hpp"
#include "shell/es_chaine.hpp"
#include "shell/es_erreur.hpp"
#include "support/structure_check.hpp"

#include <gtest/gtest.h>

#include <algorithm>
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

} // namespace
} // namespace tesmo
