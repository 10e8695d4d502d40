#include "triangulation/m2_triangule.hpp"

#include "delaunay_support.hpp"
#include "small_mesh.hpp"
#include "messages/es_chaine.hpp"
#include "messages/es_erreur.hpp"
#include "support/structure_check.hpp"
#include "topology/st_topologie.hpp"
#include "triangulation/d2_delaunay.hpp"
#include "triangulation/d2_sph2d.hpp"
#include "triangulation/m2_point.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace tesmo {
namespace {

using testing::checkStructure;
using testing::SmallMesh;

/// Every element 1..NBE is a live triangle whose record is its circle, recomputed.
std::string checkSpheres(Rows<const int32_t> ITRNOE, int32_t NBE, Rows<const float> COORD, Rows<float> spheres)
{
    std::vector<float> record(3);
    const Rows<float> fresh(record.data(), 3, 1);
    for (int32_t e = 1; e <= NBE; ++e) {
        const std::vector<int32_t> row(ITRNOE.row(e), ITRNOE.row(e) + 3);
        if (spcerc(Rows<const int32_t>(row.data(), 3, 1), 1, COORD, fresh) != kOk) {
            return "element " + std::to_string(e) + " is not a triangle with a circle";
        }
        if (record[0] != spheres(e, 1) || record[1] != spheres(e, 2)) {
            return "record " + std::to_string(e) + " is not the circle of element " + std::to_string(e);
        }
    }
    return "";
}

/// After inserting P: the new triangles are exactly elements 1..S, each ending with P.
std::string checkNewTriangles(Rows<const int32_t> ITRNOE, int32_t NBE, int32_t P, int32_t S)
{
    for (int32_t e = 1; e <= NBE; ++e) {
        const bool holds = ITRNOE(e, 1) == P || ITRNOE(e, 2) == P || ITRNOE(e, 3) == P;
        if (holds != (e <= S) || (e <= S && ITRNOE(e, 3) != P)) {
            return "element " + std::to_string(e) + " of " + std::to_string(NBE) + " breaks the new-first order";
        }
    }
    return "";
}

/// Same rows 1..NBE (nodes, neighbours, circles) and same NOETRI; the spare rows after them
/// are cleared by any insertion that finds a cavity.
bool sameElements(const SmallMesh& mesh, const SmallMesh& before, int32_t NBE)
{
    const auto n = std::ptrdiff_t(3 * NBE);
    return std::equal(mesh.nodeRows.begin(), mesh.nodeRows.begin() + n, before.nodeRows.begin()) &&
           std::equal(mesh.neighbourRows.begin(), mesh.neighbourRows.begin() + n, before.neighbourRows.begin()) &&
           std::equal(mesh.sphereRows.begin(), mesh.sphereRows.begin() + n, before.sphereRows.begin()) &&
           mesh.noetri == before.noetri;
}

int insertIn(SmallMesh& mesh, int32_t P, int32_t start, int32_t& NBE, float clearance = 0.0f)
{
    int32_t created = 0;
    return trajpo(P, start, mesh.ITRNOE(), mesh.ITRTRI(), mesh.NOETRI(), NBE, mesh.COORD(), mesh.SPHERES(),
                  mesh.WORK(), kAreaTolerance, clearance, created);
}

TEST(Trajpo, PointOnACircleLeavesThatTriangleOutAndBorderMarksStay)
{
    SmallMesh mesh = testing::twoTriangles();
    mesh.ITRTRI()(1, 3) = -2; // the edge 1-3 between T and U is a border edge
    mesh.ITRTRI()(2, 1) = -1;
    int32_t NBE = 2, created = 0;
    ASSERT_EQ(trajpo(5, 0, mesh.ITRNOE(), mesh.ITRTRI(), mesh.NOETRI(), NBE, mesh.COORD(), mesh.SPHERES(),
                     mesh.WORK(), kAreaTolerance, 0.0f, created),
              kOk);
    // only U = (1,3,4) is replaced; T, on whose circle node 5 lies, stays and comes last
    EXPECT_EQ(created, 3);
    EXPECT_EQ(NBE, 4);
    EXPECT_EQ(mesh.nodesOf(1), (std::vector<int32_t>{1, 3, 5}));
    EXPECT_EQ(mesh.nodesOf(2), (std::vector<int32_t>{3, 4, 5}));
    EXPECT_EQ(mesh.nodesOf(3), (std::vector<int32_t>{4, 1, 5}));
    EXPECT_EQ(mesh.nodesOf(4), (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(mesh.neighboursOf(1), (std::vector<int32_t>{-4, 2, 3})); // the mark on both sides
    EXPECT_EQ(mesh.neighboursOf(4), (std::vector<int32_t>{0, 0, -1}));
    EXPECT_EQ(checkStructure(2, mesh.ITRNOE(), mesh.ITRTRI(), NBE, mesh.NOETRI()), "");
    EXPECT_EQ(checkSpheres(mesh.ITRNOE(), NBE, mesh.COORD(), mesh.SPHERES()), "");
    EXPECT_TRUE(mesh.guardsIntact());
}

TEST(Trajpo, PointTooCloseToAnOuterFaceIsRefusedWithTheMeshUnchanged)
{
    SmallMesh mesh = testing::twoTriangles();
    const SmallMesh before = mesh;
    int32_t NBE = 2;
    // node 5 is 0.632 from the outer faces 3-4 and 4-1 of U
    EXPECT_EQ(insertIn(mesh, 5, 0, NBE, 0.7f), kPointRejected);
    EXPECT_EQ(NBE, 2);
    EXPECT_TRUE(sameElements(mesh, before, 2));
    EXPECT_EQ(insertIn(mesh, 5, 0, NBE, 0.6f), kOk);
}

TEST(Trajpo, ReversedNewTriangleTurnsTheElementAndItsNeighbour)
{
    SmallMesh mesh({0, 0, 2, 0, 2, 2, -1, 3, 0.5f, 1.5f}, {{1, 2, 3}, {1, 3, 4}});
    mesh.setCircle(2, mesh.COORD().row(5), false); // U keeps out of the cavity
    int32_t NBE = 2;
    // the cavity is T alone (a start is taken without test); the face 3 -> 1 would give
    // the reversed triangle (3, 1, 5)
    EXPECT_EQ(insertIn(mesh, 5, 1, NBE), kPointRejected);
    EXPECT_EQ(NBE, 2);
    EXPECT_EQ(mesh.nodesOf(1), (std::vector<int32_t>{3, 1, 2}));
    EXPECT_EQ(mesh.neighboursOf(1), (std::vector<int32_t>{2, 0, 0}));
    EXPECT_EQ(mesh.nodesOf(2), (std::vector<int32_t>{4, 1, 3}));
    EXPECT_EQ(mesh.neighboursOf(2), (std::vector<int32_t>{0, 1, 0}));
    EXPECT_EQ(checkStructure(2, mesh.ITRNOE(), mesh.ITRTRI(), NBE, mesh.NOETRI()), "");
    // both circles recomputed from their new third nodes
    EXPECT_EQ(checkSpheres(mesh.ITRNOE(), NBE, mesh.COORD(), mesh.SPHERES()), "");
    EXPECT_EQ(mesh.sphereRows[0], -2.0f);
    EXPECT_EQ(mesh.sphereRows[1], 2.0f);
}

TEST(Trajpo, NewTriangleOfPositiveAreaBelowTheToleranceIsRefused)
{
    // node 5 lies inside T, y above its side 1 -> 2: the new triangle (1, 2, 5) has the area y
    for (const auto& [y, expected] : {std::pair{1e-17f, kPointRejected}, std::pair{-1e-17f, kPointRejected},
                                      std::pair{4e-16f, kOk}}) {
        SmallMesh mesh({0, 0, 2, 0, 2, 2, -1, 3, 1, y}, {{1, 2, 3}, {1, 3, 4}});
        int32_t NBE = 2;
        EXPECT_EQ(insertIn(mesh, 5, 0, NBE), expected) << y;
        EXPECT_EQ(checkStructure(2, mesh.ITRNOE(), mesh.ITRTRI(), NBE, mesh.NOETRI()), "");
    }
}

TEST(Trajpo, EnclosedNodeIsReportedAndThePointRefused)
{
    // four triangles about node 5; every circle made to contain node 6
    SmallMesh mesh({0, 0, 2, 0, 2, 2, 0, 2, 1, 1, 1, 0.5f}, {{1, 2, 5}, {2, 3, 5}, {3, 4, 5}, {4, 1, 5}});
    for (int32_t e = 1; e <= 4; ++e) {
        mesh.setCircle(e, mesh.COORD().row(6), true);
    }
    const SmallMesh before = mesh;
    int32_t NBE = 4;
    modini = 2;
    ConsoleCapture capture;
    EXPECT_EQ(insertIn(mesh, 6, 0, NBE), kPointRejected);
    modini = 0;
    EXPECT_NE(capture.text().find("TRAJPO"), std::string::npos);
    EXPECT_NE(capture.text().find("UN SOMMET PERDU"), std::string::npos);
    EXPECT_TRUE(sameElements(mesh, before, 4));
}

TEST(Trajpo, ShortTablesOrWorkAreRefusedWithoutWritingPastThem)
{
    {
        SmallMesh mesh = testing::twoTriangles(1); // one spare row only
        const SmallMesh before = mesh;
        int32_t NBE = 2;
        EXPECT_EQ(insertIn(mesh, 5, 0, NBE), kCapacityError);
        EXPECT_EQ(mesh.nodeRows, before.nodeRows);
        EXPECT_TRUE(mesh.guardsIntact());
    }
    // the cavity fits in the work list, its frontier lists do not
    for (const int32_t size : {0, 1, 4, 8, 11}) {
        SmallMesh mesh = testing::twoTriangles(2, size);
        int32_t NBE = 2;
        EXPECT_EQ(insertIn(mesh, 5, 0, NBE), kCapacityError) << size;
        EXPECT_EQ(NBE, 2);
        EXPECT_EQ(checkStructure(2, mesh.ITRNOE(), mesh.ITRTRI(), NBE, mesh.NOETRI()), "");
        EXPECT_EQ(checkSpheres(mesh.ITRNOE(), NBE, mesh.COORD(), mesh.SPHERES()), "");
        EXPECT_TRUE(mesh.guardsIntact()) << size;
    }
    SmallMesh mesh = testing::twoTriangles(2, 12);
    int32_t NBE = 2;
    EXPECT_EQ(insertIn(mesh, 5, 0, NBE), kOk);
    EXPECT_TRUE(mesh.guardsIntact());
}

/// Tables of the insertion loop of a triangulation, run here step by step.
struct Insertions {
    explicit Insertions(std::vector<float> points) : tables(std::move(points))
    {
        J = tables.J;
        EXPECT_EQ(ptinit(tables.COORD(), J, tables.normalised()), kOk);
        std::fill(tables.noetri.begin(), tables.noetri.begin() + J + 50, 0);
        EXPECT_EQ(t2isp(J, kPolygonVertices, kPolygonRadius, tables.normalised(), tables.ITRNOE(), tables.ITRTRI(),
                        tables.NOETRI(), NBE),
                  kOk);
        for (int32_t e = 1; e <= NBE; ++e) {
            EXPECT_EQ(spcerc(tables.ITRNOE(), e, tables.normalised(), tables.spheres()), kOk);
        }
    }
    int insert(int32_t P, int32_t start, int32_t& created)
    {
        return trajpo(P, start, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), NBE, tables.normalised(),
                      tables.spheres(), tables.WORK(), kAreaTolerance, 0.0f, created);
    }
    std::string check()
    {
        std::string fault = checkStructure(2, tables.ITRNOE(), tables.ITRTRI(), NBE, tables.NOETRI());
        return fault.empty() ? checkSpheres(tables.ITRNOE(), NBE, tables.normalised(), tables.spheres()) : fault;
    }

    testing::DelaunayTables tables;
    int32_t J = 0;
    int32_t NBE = 0;
};

void insertAllChecked(std::vector<float> points, const std::string& name)
{
    Insertions run(std::move(points));
    ASSERT_EQ(run.check(), "") << name;
    for (int32_t P = 2; P <= run.J; ++P) {
        int32_t created = 0;
        const int32_t before = run.NBE;
        const int code = run.insert(P, 0, created);
        ASSERT_GE(code, 0) << name << " point " << P;
        ASSERT_EQ(run.check(), "") << name << " point " << P;
        if (code == kOk) {
            ASSERT_EQ(run.NBE, before + 2) << name;
            ASSERT_EQ(checkNewTriangles(run.tables.ITRNOE(), run.NBE, P, created), "") << name << " point " << P;
        } else {
            ASSERT_EQ(run.NBE, before);
        }
    }
    EXPECT_TRUE(run.tables.guardsIntact()) << name;
}

TEST(Trajpo, EveryInsertionKeepsTheStructureAndPutsTheNewTrianglesFirst)
{
    for (uint32_t seed = 1; seed <= 6; ++seed) {
        insertAllChecked(testing::randomPoints(60 + 20 * int32_t(seed), seed), "random " + std::to_string(seed));
    }
    insertAllChecked(testing::gridPoints(8, 6), "grid");
    insertAllChecked(testing::gridPoints(7, 7, 99), "shuffled grid");
    insertAllChecked(testing::circlePoints(120), "circle");
}

TEST(Trajpo, RefusedInsertionsFromArbitraryStartsLeaveAValidMesh)
{
    // a start is taken without test: most of these are refused, after renumbering and
    // turning elements; the mesh must stay valid and dense whatever happens
    std::vector<float> points = testing::randomPoints(120, 17);
    Insertions run(points);
    std::mt19937 random(5);
    int32_t refused = 0;
    for (int32_t P = 2; P <= run.J; ++P) {
        int32_t created = 0;
        const int32_t start = int32_t(random() % uint32_t(run.NBE)) + 1;
        const int code = run.insert(P, start, created);
        ASSERT_GE(code, 0) << P;
        refused += code == kPointRejected ? 1 : 0;
        ASSERT_EQ(run.check(), "") << P;
        for (int32_t e = 1; e <= run.NBE; ++e) {
            ASSERT_NE(run.tables.ITRNOE()(e, 3), 0) << "hole at " << e;
        }
    }
    EXPECT_GT(refused, 20);
    EXPECT_TRUE(run.tables.guardsIntact());
}

TEST(Trajpo, InPlaceAndTheLongWayLeaveTheSameTables)
{
    // the same points inserted both ways, from arbitrary starts (many refused) and with a
    // border clearance, into a triangulation with border marks: the same tables after every
    // insertion, and the same row exchanges told
    for (uint32_t seed = 1; seed <= 4; ++seed) {
        std::vector<float> points = testing::randomPoints(150, seed);
        Insertions ways[2] = {Insertions(points), Insertions(points)};
        std::vector<std::pair<int32_t, int32_t>> told[2];
        const auto note = [](void* list, int32_t a, int32_t b) {
            static_cast<std::vector<std::pair<int32_t, int32_t>>*>(list)->emplace_back(a, b);
        };
        std::mt19937 random(seed);
        for (int32_t P = 2; P <= ways[0].J; ++P) {
            const int32_t start = random() % 3 == 0 ? int32_t(random() % uint32_t(ways[0].NBE)) + 1 : 0;
            const float clearance = random() % 4 == 0 ? 0.05f : 0.0f;
            int codes[2] = {};
            for (int w = 0; w < 2; ++w) {
                Insertions& run = ways[w];
                int32_t created = 0;
                if (P == 60) { // marks on a few edges, the same on both
                    for (int32_t e = 1; e <= run.NBE; e += 7) {
                        std::vector<int32_t> record = {run.tables.ITRNOE()(e, 1), run.tables.ITRNOE()(e, 2)};
                        EdgeSides sides;
                        ASSERT_EQ(sfricr(Vec<int32_t>(record.data(), 2), 2, run.tables.ITRNOE(), run.tables.ITRTRI(),
                                         run.tables.NOETRI(), run.NBE, sides),
                                  kOk);
                    }
                }
                codes[w] = trajpo(P, start, run.tables.ITRNOE(), run.tables.ITRTRI(), run.tables.NOETRI(), run.NBE,
                                  run.tables.normalised(), run.tables.spheres(), run.tables.WORK(), kAreaTolerance,
                                  clearance, created, RowExchanges{note, &told[w]},
                                  w == 0 ? InsertionWay::inPlace : InsertionWay::longWay);
            }
            ASSERT_EQ(codes[0], codes[1]) << seed << " point " << P;
            ASSERT_EQ(ways[0].NBE, ways[1].NBE) << seed << " point " << P;
            ASSERT_EQ(ways[0].tables.nodeRows, ways[1].tables.nodeRows) << seed << " point " << P;
            ASSERT_EQ(ways[0].tables.neighbourRows, ways[1].tables.neighbourRows) << seed << " point " << P;
            ASSERT_EQ(ways[0].tables.noetri, ways[1].tables.noetri) << seed << " point " << P;
            ASSERT_EQ(ways[0].tables.reals, ways[1].tables.reals) << seed << " point " << P;
            ASSERT_EQ(told[0], told[1]) << seed << " point " << P;
        }
        EXPECT_EQ(ways[0].check(), "") << seed;
    }
}

TEST(Trajpo, BorderMarksSurviveInsertionsNextToThem)
{
    // a grid triangulated, some of its edges marked, then random points inserted
    testing::DelaunayTables tables(testing::gridPoints(6, 6), 100);
    const int32_t J = tables.J;
    int32_t NBE = 0;
    ASSERT_EQ(trnupo(tables.COORD(), J, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), NBE, tables.WORK(),
                     tables.REALS()),
              kOk);
    auto marked = [&] {
        std::set<std::pair<int32_t, int32_t>> edges;
        for (int32_t e = 1; e <= NBE; ++e) {
            for (int32_t k = 1; k <= 3; ++k) {
                if (tables.ITRTRI()(e, k) < 0) {
                    const int32_t a = tables.ITRNOE()(e, k), b = tables.ITRNOE()(e, k % 3 + 1);
                    edges.emplace(std::min(a, b), std::max(a, b));
                }
            }
        }
        return edges;
    };
    std::mt19937 random(3);
    for (int32_t count = 0; count < 25;) {
        const int32_t e = int32_t(random() % uint32_t(NBE)) + 1;
        const int32_t k = int32_t(random() % 3) + 1;
        if (tables.ITRTRI()(e, k) > 0) {
            std::vector<int32_t> record = {tables.ITRNOE()(e, k), tables.ITRNOE()(e, k % 3 + 1)};
            EdgeSides sides;
            ASSERT_EQ(sfricr(Vec<int32_t>(record.data(), 2), 2, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(),
                             NBE, sides),
                      kOk);
            ++count;
        }
    }
    const auto before = marked();
    ASSERT_GE(before.size(), 20u);
    // the polygon vertices' rows now hold the new points; circles of the final mesh
    for (int32_t e = 1; e <= NBE; ++e) {
        ASSERT_EQ(spcerc(tables.ITRNOE(), e, tables.normalised(), tables.spheres()), kOk);
    }
    std::uniform_real_distribution<float> inside(-0.95f, 0.95f);
    int32_t inserted = 0;
    for (int32_t P = J + 1; P <= J + 40; ++P) {
        tables.normalised()(P, 1) = inside(random);
        tables.normalised()(P, 2) = inside(random);
        // the search starts in the triangle holding the point, as the refinement does: a
        // circle found first across a border edge would not lead to it
        int32_t start = 0;
        for (int32_t e = 1; e <= NBE && start == 0; ++e) {
            const float* x = tables.normalised().row(P);
            bool holds = true;
            for (int32_t k = 1; k <= 3; ++k) {
                holds = holds && testing::cross(tables.normalised().row(tables.ITRNOE()(e, k)),
                                                tables.normalised().row(tables.ITRNOE()(e, k % 3 + 1)), x) > 0.0;
            }
            start = holds ? e : 0;
        }
        ASSERT_NE(start, 0);
        int32_t created = 0;
        const int code = trajpo(P, start, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), NBE,
                                tables.normalised(), tables.spheres(), tables.WORK(), kAreaTolerance, 0.0f, created);
        ASSERT_GE(code, 0);
        inserted += code == kOk ? 1 : 0;
        ASSERT_EQ(checkStructure(2, tables.ITRNOE(), tables.ITRTRI(), NBE, tables.NOETRI()), "") << P;
        ASSERT_EQ(marked(), before) << P;
    }
    EXPECT_GT(inserted, 30);
}

} // namespace
} // namespace tesmo
