// Delaunay triangulation of points in the plane by insertion. The points are normalised into
// [-1, 1] x [-1, 1]; a regular polygon of 50 vertices and radius 4 encloses them, fanned
// about point 1:
//
//            J+2 ____ J+1
//              /\    /\              element i = (1, J+i, J+i+1):
//             /  \ 2/  \             face 1 on element i-1, face 2 on the polygon side
//        J+3 /_3__\/_1__\ J+50       (outer), face 3 on element i+1
//            \    /1\   /
//             \  /   \ /
//              ...
//
// Points 2..J are inserted one by one (trajpo); a point refused is tried again in later
// passes, since the mesh changes meanwhile. Finally every element holding a polygon vertex
// is deleted, walking about each vertex from the outer boundary inwards, which leaves the
// triangulation of the points alone.
//
// What is left must be a triangulation of the convex hull of the points, but the polygon is
// only a few times larger than the points' box. An edge ab of the hull whose nearest inner
// point c lies close to it has a circle through a, c and b so large that it holds a polygon
// vertex V; the triangles about c then reach out to V across ab, and ab is no edge:
//
//                       V                   a c V and c b V are the triangles; their side
//                      /|\                  c V cuts the hull edge a b (dotted). Deleting
//                    /  |  \                the elements of V takes the sliver a c b of
//                  /    |    \              the hull away, and c itself when all its
//                a . . .|. . . b            triangles touch the polygon.
//                   ` - c - `
//
// So before the polygon goes, the convex hull of the inserted points is computed and each hull
// edge missing from the triangulation is restored, the polygon still there: by the border
// recovery (rf2rar) when the edge crosses a few triangles, by exchanging the diagonals it
// crosses one at a time when it crosses a long strip of them. The triangles changed are then
// made Delaunay again by exchanging diagonals. Nothing changes when every hull edge is there.
// The removal of a polygon vertex then goes on until the vertex's own last element is gone,
// whatever other node loses its last element meanwhile, and a point left in no element
// (a hull edge that could not be restored) fails the triangulation instead of leaving a hole.
#include "triangulation/d2_delaunay.hpp"

#include "messages/es_erreur.hpp"
#include "geometry/cg_epsi.hpp"
#include "geometry/cg_predicat.hpp"
#include "topology/st_2dstruct.hpp"
#include "topology/st_numero.hpp"
#include "topology/st_struct.hpp"
#include "topology/st_topologie.hpp"
#include "triangulation/d2_sph2d.hpp"
#include "triangulation/m2_point.hpp"
#include "triangulation/m2_triangule.hpp"
#include "triangulation/m3_diagonale.hpp"
#include "triangulation/m3_inter2d.hpp"
#include "triangulation/m3_respect.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string_view>
#include <utility>

namespace tesmo {

namespace {

constexpr std::string_view kRoutine = "TRNUPO";

/// Step 5: inserts the points listed in work(1..pending), pass after pass. `stuck` tells
/// that points were left out after the fruitless passes ("BOUCLE REJET"). Returns 0 or a
/// negative code of the insertion.
[[nodiscard]] int insertPoints(int32_t pending, Rows<int32_t> ITRNOE, Rows<int32_t> ITRTRI, Vec<int32_t> NOETRI,
                               int32_t& NBE, Rows<const float> normalised, Rows<float> spheres, Vec<int32_t> list,
                               Vec<int32_t> insertionWork, bool& stuck)
{
    stuck = false;
    int32_t fruitless = 0;
    while (pending > 0) {
        int32_t rejected = 0;
        for (int32_t i = 1; i <= pending; ++i) {
            const int32_t point = list(i);
            int32_t created = 0;
            const int code = trajpo(point, 0, ITRNOE, ITRTRI, NOETRI, NBE, normalised, spheres, insertionWork,
                                    kAreaTolerance, 0.0f, created);
            if (code < 0) {
                return traced(code, kRoutine, "APPEL TRAJPO");
            }
            if (code != kOk) {
                list(++rejected) = point; // refused points keep their order
            }
        }
        fruitless = rejected < pending ? 0 : fruitless + 1;
        pending = rejected;
        if (pending > 0 && fruitless >= kFruitlessPasses) {
            stuck = true;
            return kOk;
        }
    }
    return kOk;
}

/// True when x lies strictly on the inner (left) side of the edge p -> q of a counter-clockwise
/// hull, beyond the tolerance of a node on the line that the border recovery uses (exact
/// signs): the walk of the recovery along p q accepts x.
bool strictlyInside(const float* p, const float* q, const float* x)
{
    return sideOfLine(p, q, x, double(kOnLineFactor)) > 0;
}

/// True when the chain point x between p and q lies strictly inside the chord p -> q of a
/// counter-clockwise hull. `tolerant`: the test of the written triangulation, in its normalised
/// coordinates (numbers without unit): the offset of x from the line pq along the axis that
/// line crosses (the value of the line equation of dr2po), exact, must reach |pq|^2 1e-10, so
/// that a point within that tolerance of a hull edge stays a hull point, as it has always
/// done. A point beyond an end of the chord (a hairpin of the chain) is tested exactly, as
/// are all the points when not `tolerant`: a point kept within a tolerance there would turn
/// the chain back on itself, and the points after it could no longer drop it.
bool insideChord(const float* p, const float* q, const float* x, bool tolerant)
{
    const double along = (double(x[0]) - double(p[0])) * (double(q[0]) - double(p[0])) +
                         (double(x[1]) - double(p[1])) * (double(q[1]) - double(p[1]));
    const double back = (double(x[0]) - double(q[0])) * (double(p[0]) - double(q[0])) +
                        (double(x[1]) - double(q[1])) * (double(p[1]) - double(q[1]));
    if (!tolerant || along <= 0.0 || back <= 0.0) {
        return orientation(p, q, x) > 0;
    }
    const float dx = q[0] - p[0];
    const float dy = q[1] - p[1];
    const bool upright = std::fabs(dx) <= epsRelative();
    if (upright && std::fabs(dy) <= epsRelative()) {
        return false;
    }
    const float eps = (dx * dx + dy * dy) * kOnLineFactor;
    const double run = upright ? double(q[1]) - double(p[1]) : double(q[0]) - double(p[0]);
    return exactTurn(p, q, x) / std::fabs(run) >= double(eps);
}

/// Counter-clockwise convex hull of the points listed in list(1..m), found in place by two
/// monotone chains: the list is reordered so that list(1..h) run round the hull from the
/// leftmost point, the points inside it following. A point is dropped only when it lies
/// strictly inside the chord between its chain neighbours (insideChord). Returns h.
int32_t convexHull(Rows<const float> points, Vec<int32_t> list, int32_t m, bool tolerant)
{
    const auto leftOf = [&](int32_t i, int32_t j) {
        const float* a = points.row(i);
        const float* b = points.row(j);
        return a[0] < b[0] || (a[0] == b[0] && a[1] < b[1]);
    };
    const auto dropsTop = [&](int32_t top, int32_t next) {
        return insideChord(points.row(list(top - 1)), points.row(next), points.row(list(top)), tolerant);
    };
    // a chain grows over list(base..top); the points it drops are exchanged behind it
    const auto grow = [&](int32_t base, int32_t from, int32_t& top) {
        for (int32_t i = from; i <= m; ++i) {
            while (top > base && dropsTop(top, list(i))) {
                --top;
            }
            ++top;
            std::swap(list(top), list(i));
        }
    };
    // 1. lower chain, left to right
    std::sort(list.data(), list.data() + m, leftOf);
    int32_t top = 0;
    grow(1, 1, top);
    // 2. upper chain, right to left over the points the lower one dropped, back to the first
    const int32_t lower = top;
    std::sort(list.data() + lower, list.data() + m, [&](int32_t i, int32_t j) { return leftOf(j, i); });
    grow(lower, lower + 1, top);
    while (top > lower && dropsTop(top, list(1))) {
        --top;
    }
    return top;
}

int32_t magnitude(int32_t entry) { return entry < 0 ? -entry : entry; }

/// The tables a hull edge is restored in, with the normalised points 1..J and the polygon
/// vertices.
struct Mesh : EdgeTables {
    int32_t J = 0;
    /// The points are the normalised ones of the written triangulation (not those given).
    bool normalised = true;
    /// Told which work array ran short, when given.
    WorkShortage* shortage = nullptr;

    /// True when every corner of element e is one of the points 1..J.
    bool ofPointsOnly(int32_t e) const { return ITRNOE(e, 1) <= J && ITRNOE(e, 2) <= J && ITRNOE(e, 3) <= J; }
};

/// Makes the triangles of points 1..J Delaunay again about the elements on `pending`: the
/// side that an element shares with another element of points only is exchanged when the far
/// corner lies inside its circle (the sketch of exchangeDiagonal, q inside the circle of
/// u v p), and both rows go back on the stack. Triangles holding a polygon vertex are left
/// alone. Returns 0, -2 when `pending` is full, or the code of a failed exchange.
[[nodiscard]] int restoreDelaunay(Mesh& mesh, ElementStack& pending)
{
    int32_t e = 0;
    while (pending.pop(e)) {
        for (int32_t f = 1; f <= 3 && mesh.ofPointsOnly(e); ++f) {
            const int32_t g = magnitude(mesh.ITRTRI(e, f));
            const int32_t back = g == 0 ? 0 : mesh.faceToward(g, e);
            if (back == 0 || !mesh.ofPointsOnly(g)) {
                continue;
            }
            const int32_t u = mesh.ITRNOE(e, f);
            const int32_t v = mesh.ITRNOE(e, f % 3 + 1);
            const int32_t p = mesh.opposite(e, f);
            const int32_t q = mesh.opposite(g, back);
            if (!insideCircle(mesh.at(u), mesh.at(v), mesh.at(p), mesh.at(q)) || !convexPair(mesh, u, v, p, q)) {
                continue;
            }
            const int code = exchangeDiagonal(mesh, e, f);
            if (code != kOk) {
                return code;
            }
            if (!pending.push(e) || !pending.push(g)) {
                return traced(kCapacityError, kRoutine, " PILE DE TRIANGLES PLEINE");
            }
            break; // e is checked again from the stack
        }
    }
    return kOk;
}

/// Makes the hull edge a b (counter-clockwise) an edge. A short strip of crossed triangles is
/// recovered at once by the re-triangulation of the border recovery (tritse, rf2far). A longer
/// one would make its search of the best triangulation of the strip's polygons far too long,
/// and its walk refuses a point within the tolerance of a b: then a b is restored by exchanging
/// diagonals (exchangeAcross). Either way the triangles changed are made Delaunay again
/// (restoreDelaunay). An edge that cannot be restored (a node on it) is traced and left out.
/// Returns 0, -2 when `work` is short, or a callee's code.
[[nodiscard]] int restoreHullEdge(Mesh& mesh, int32_t a, int32_t b, Vec<int32_t> work, Vec<float> realWork)
{
    // 1. the crossed triangles; none: ab is there
    const int32_t edge[2] = {a, b};
    int32_t k = 0;
    int code = tritse(Vec<const int32_t>(edge, 2), mesh.ITRNOE, mesh.ITRTRI, mesh.NOETRI, mesh.NBE, mesh.points,
                      work, k);
    if (code == kOk && k == 0) {
        return kOk;
    }
    // 2. a short strip recovered at once, its new triangles pending, when its walk sees each
    //    point of the strip inside, as the hull does; a strip the recovery leaves (its
    //    frontier no simple polygon, a flat triangle) goes to the exchanges
    bool seenInside = code == kOk && k <= kDirectStrip;
    for (int32_t i = 1; seenInside && i <= k; ++i) {
        for (int32_t j = 1; j <= 3; ++j) {
            const int32_t x = mesh.ITRNOE(work(i), j);
            seenInside = seenInside && (x == a || x == b || x > mesh.J ||
                                        strictlyInside(mesh.at(a), mesh.at(b), mesh.at(x)));
        }
    }
    if (seenInside) {
        EdgeSides sides;
        if ((code = rf2far(Vec<const int32_t>(edge, 2), work.slice(1, k), mesh.ITRNOE, mesh.ITRTRI, mesh.NOETRI,
                           mesh.NBE, mesh.points, work.slice(k + 1, work.count() - k), realWork,
                           mesh.shortage)) != kOk ||
            (code = sfri2d(a, b, 2, mesh.ITRNOE, mesh.ITRTRI, mesh.NOETRI, mesh.NBE, sides)) != kOk) {
            (void)traced(code, "RF2RAR", " APPEL RF2FAR");
            return traced(code, kRoutine, " APPEL RF2RAR");
        }
        if (sides.E1 != 0 || sides.E2 != 0) {
            ElementStack pending(work);
            for (int32_t t = 1; t <= k; ++t) {
                if (!pending.push(t)) {
                    return traced(kCapacityError, kRoutine, " PILE DE TRIANGLES PLEINE");
                }
            }
            return restoreDelaunay(mesh, pending);
        }
    }
    // 3. otherwise exchanges: the crossing sides queued in the first half of the work, the
    //    rows exchanged pending in the second
    const int32_t half = work.count() / 2;
    EdgeQueue queue(work.slice(1, half));
    ElementStack pending(work.slice(half + 1, work.count() - half));
    bool blocked = false;
    if ((code = exchangeAcross(mesh, a, b, queue, &pending, nullptr, blocked)) != kOk) {
        return code;
    }
    if (blocked) {
        (void)traced(kDataError, kRoutine, " ARETE DE L ENVELOPPE NON RESTAUREE");
    }
    return restoreDelaunay(mesh, pending);
}

/// Step 6: lists in work(1..inserted) the points standing in an element, hull points first,
/// and makes every hull edge an edge of the triangulation (restoreHullEdge on the normalised
/// points, the polygon still there). Nothing changes when every hull edge is there already.
/// Returns 0, -2 when a work area is short, or the code of a failed re-triangulation.
[[nodiscard]] int restoreHull(Mesh& mesh, Vec<int32_t> work, Vec<float> realWork, int32_t& inserted)
{
    inserted = 0;
    for (int32_t v = 1; v <= mesh.J; ++v) {
        if (mesh.NOETRI(v) != 0) {
            work(++inserted) = v;
        }
    }
    if (inserted < 3) {
        return kOk; // no hull with an inside: the points are lost with the polygon
    }
    const int32_t h = convexHull(mesh.points, work, inserted, mesh.normalised);
    const Vec<int32_t> recoveryWork = work.slice(inserted + 1, work.count() - inserted);
    for (int32_t i = 1; h >= 3 && i <= h; ++i) {
        const int code = restoreHullEdge(mesh, work(i), work(i % h + 1), recoveryWork, realWork);
        if (code != kOk) {
            return code;
        }
    }
    return kOk;
}

/// Step 7: deletes every element holding a polygon vertex J+1..J+n, each found by a walk
/// about the vertex to the outer boundary and exchanged with the last element first; a
/// vertex is done when its own last element is gone.
[[nodiscard]] int removePolygon(int32_t J, int32_t vertexCount, Rows<int32_t> ITRNOE, Rows<int32_t> ITRTRI,
                                Vec<int32_t> NOETRI, int32_t& NBE)
{
    for (int32_t vertex = J + 1; vertex <= J + vertexCount; ++vertex) {
        bool gone = false;
        while (!gone) {
            int32_t element = 0;
            int32_t face = 0;
            int code = sesfr2(vertex, 2, ITRNOE, ITRTRI, NOETRI, NBE, element, face);
            if (code != kOk) {
                return traced(code, kRoutine, "DESTRUCTION FINALE");
            }
            if (element == 0) {
                break; // no element left about this vertex
            }
            if (ITRTRI(element, face) != 0) {
                return traced(kDataError, kRoutine, "DESTRUCTION FINALE");
            }
            if ((code = nuperm(ITRNOE, ITRTRI, NOETRI, 1, NBE, element, NBE)) != kOk) {
                return traced(code, kRoutine, "APPEL NUPERM");
            }
            int32_t lost[3] = {};
            int32_t lostCount = 0;
            if ((code = smadet(2, ITRNOE, ITRTRI, NBE, NOETRI, 1, NBE, Vec<int32_t>(lost, 3), lostCount)) != kOk) {
                return traced(code, kRoutine, "APPEL SMADET");
            }
            --NBE;
            gone = std::find(lost, lost + lostCount, vertex) != lost + lostCount;
        }
    }
    return kOk;
}

/// Step 8: NOETRI rebuilt from the elements in order (the last element wins); every node
/// must be one of the points 1..J.
[[nodiscard]] int rebuildNodeElements(int32_t J, int32_t nodeCount, Rows<const int32_t> ITRNOE, Vec<int32_t> NOETRI,
                                      int32_t NBE)
{
    for (int32_t v = 1; v <= nodeCount; ++v) {
        NOETRI(v) = 0;
    }
    for (int32_t e = 1; e <= NBE; ++e) {
        for (int32_t i = 1, n = strnbn(ITRNOE.row(e), ITRNOE.width()); i <= n; ++i) {
            const int32_t v = ITRNOE(e, i);
            if (v < 1 || v > J) {
                return traced(kDataError, kRoutine, "STRUCTURE NON CORRECTE");
            }
            NOETRI(v) = e;
        }
    }
    return kOk;
}

/// Step 9: every inserted point still stands in an element. Returns 0, or -1 for the first
/// point the removal of the polygon cut off.
[[nodiscard]] int checkNoPointLost(Vec<const int32_t> inserted, Vec<const int32_t> NOETRI)
{
    for (int32_t i = 1; i <= inserted.count(); ++i) {
        if (NOETRI(inserted(i)) == 0) {
            char text[64];
            const int n = std::snprintf(text, sizeof text, "DESTRUCTION FINALE : POINT PERDU %d", int(inserted(i)));
            const std::size_t length = n < 0 ? 0 : std::min(std::size_t(n), sizeof text - 1);
            return traced(kDataError, kRoutine, std::string_view(text, length));
        }
    }
    return kOk;
}

/// Steps 6 to 9 on the points and polygon of `mesh`: the hull edges restored (restoreHull),
/// the polygon removed, NOETRI rebuilt; `valid` tells that no inserted point was cut off.
/// `realWork` serves the recovery. Returns 0 or the code of a failed step.
[[nodiscard]] int completeTriangulation(Mesh& mesh, Vec<int32_t> work, Vec<float> realWork, bool& valid)
{
    valid = false;
    int32_t inserted = 0;
    int code = restoreHull(mesh, work, realWork, inserted);
    if (code != kOk) {
        return code;
    }
    int32_t NBE = mesh.NBE;
    const int32_t nodeCount = mesh.J + kPolygonVertices;
    if ((code = removePolygon(mesh.J, kPolygonVertices, mesh.ITRNOE, mesh.ITRTRI, mesh.NOETRI, NBE)) != kOk ||
        (code = rebuildNodeElements(mesh.J, nodeCount, mesh.ITRNOE, mesh.NOETRI, NBE)) != kOk) {
        return code;
    }
    mesh.NBE = NBE;
    valid = checkNoPointLost(work.slice(1, inserted), mesh.NOETRI) == kOk;
    return kOk;
}

/// The checks trnupo and trnupx make of their arguments and room. Returns 0; -1 for a table
/// of fewer than 3 slots per row ("EN 2D SEULEMENT") or bad points; -2 for short work or
/// tables (`shortage`, when given, tells which work array; nothing for the element tables and
/// NOETRI, which the caller sized). `none` tells that there is no point to triangulate.
[[nodiscard]] int checkRoom(Rows<const float> COORD, int32_t J, Rows<int32_t> ITRNOE, Rows<int32_t> ITRTRI,
                            Vec<int32_t> NOETRI, Vec<int32_t> work, Vec<float> realWork, bool& none,
                            WorkShortage* shortage)
{
    none = false;
    const auto shortOf = [&](WorkShortage which, std::string_view text) {
        if (shortage != nullptr) {
            *shortage = which;
        }
        return traced(kCapacityError, kRoutine, text);
    };
    if (ITRNOE.width() <= 2 || ITRTRI.width() <= 2) {
        return traced(kDataError, kRoutine, "EN 2D SEULEMENT");
    }
    if (work.count() < kMinimumIntegerWork) {
        return shortOf(WorkShortage::integers, "ITVL TROP PETIT");
    }
    if (J == 0) {
        none = true;
        return kOk;
    }
    if (J < 0 || J > COORD.count() || COORD.width() < 2) {
        return traced(kDataError, kRoutine, " DONNEES INCORRECTES");
    }
    // room: the point list and the insertion lists, the element tables, NOETRI, the reals
    if (J >= work.count() || J > (std::numeric_limits<int32_t>::max() - 2 * kPolygonVertices) / 2) {
        return shortOf(WorkShortage::integers, "ITVL TROP PETIT");
    }
    const int32_t elementCount = int32_t(trnupoElements(J));
    if (ITRNOE.count() < elementCount || ITRTRI.count() < elementCount) {
        return traced(kCapacityError, kRoutine, " TABLEAUX TROP PETITS");
    }
    if (NOETRI.count() < J + kPolygonVertices) {
        return traced(kCapacityError, kRoutine, " NOETRI TROP PETIT");
    }
    if (realWork.count() < trnupoReals(J)) {
        return shortOf(WorkShortage::reals, " RTVL TROP PETIT");
    }
    return kOk;
}

} // namespace

int t2isp(int32_t J, int32_t vertexCount, float radius, Rows<float> normalised, Rows<int32_t> ITRNOE,
          Rows<int32_t> ITRTRI, Vec<int32_t> NOETRI, int32_t& NBE)
{
    NBE = 0;
    if (vertexCount < 3) {
        return traced(kDataError, "T2ISP", "IL FAUT 3 POINTS");
    }
    if (J < 1 || ITRNOE.width() < 3 || ITRTRI.width() < 3 || normalised.width() < 2) {
        return kDataError;
    }
    if (int64_t(J) + vertexCount > normalised.count() || int64_t(J) + vertexCount > NOETRI.count() ||
        vertexCount > ITRNOE.count() || vertexCount > ITRTRI.count()) {
        return kCapacityError;
    }
    // the vertices, counter-clockwise
    const float step = kFullTurn / float(vertexCount);
    for (int32_t i = 0; i < vertexCount; ++i) {
        const float angle = float(i) * step;
        normalised(J + 1 + i, 1) = radius * std::cos(angle);
        normalised(J + 1 + i, 2) = radius * std::sin(angle);
    }
    // the fan about point 1
    for (int32_t i = 1; i <= vertexCount; ++i) {
        const int32_t next = i == vertexCount ? 1 : i + 1;
        const int32_t row[3] = {1, J + i, J + next};
        const int32_t across[3] = {i == 1 ? vertexCount : i - 1, 0, next};
        for (int32_t j = 1; j <= ITRNOE.width(); ++j) {
            ITRNOE(i, j) = j <= 3 ? row[j - 1] : 0;
        }
        for (int32_t j = 1; j <= ITRTRI.width(); ++j) {
            ITRTRI(i, j) = j <= 3 ? across[j - 1] : 0;
        }
        NOETRI(J + i) = i;
    }
    NOETRI(1) = 1;
    NBE = vertexCount;
    return kOk;
}

int trnupx(Rows<const float> COORD, int32_t J, Rows<int32_t> ITRNOE, Rows<int32_t> ITRTRI, Vec<int32_t> NOETRI,
           int32_t& NBE, Vec<int32_t> work, Vec<float> realWork, WorkShortage* shortage)
{
    NBE = 0;
    bool none = false;
    int code = checkRoom(COORD, J, ITRNOE, ITRTRI, NOETRI, work, realWork, none, shortage);
    if (code != kOk || none) {
        return code;
    }
    // 1. the points as given (refused as by the normalisation when they have no area), and
    //    the polygon of radius 4 about the centre of their box in units of half its largest
    //    extent, as the normalisation places it
    const int32_t nodeCount = J + kPolygonVertices;
    const Rows<float> points(realWork.data(), 2, nodeCount);
    float low[2];
    float high[2];
    if ((code = ptinit(COORD, J, points)) != kOk || (code = pobten(COORD, J, low, high)) != kOk) {
        return traced(code, kRoutine, "APPEL PTINIT");
    }
    const float half = std::max(high[0] - low[0], high[1] - low[1]) / 2.0f;
    const float centre[2] = {(low[0] + high[0]) / 2.0f, (low[1] + high[1]) / 2.0f};
    for (int32_t v = 1; v <= nodeCount; ++v) {
        NOETRI(v) = 0;
    }
    if ((code = t2isp(J, kPolygonVertices, kPolygonRadius, points, ITRNOE, ITRTRI, NOETRI, NBE)) != kOk) {
        return traced(code, kRoutine, "APPEL T2ISP");
    }
    for (int32_t v = 1; v <= J; ++v) {
        points(v, 1) = COORD(v, 1);
        points(v, 2) = COORD(v, 2);
    }
    for (int32_t v = J + 1; v <= nodeCount; ++v) {
        points(v, 1) = centre[0] + half * points(v, 1);
        points(v, 2) = centre[1] + half * points(v, 2);
    }
    // 2. points 2..J
    Mesh mesh{{ITRNOE, ITRTRI, NOETRI, NBE, points, kRoutine}, J, false, shortage};
    bool stuck = false;
    for (int32_t P = 2; P <= J; ++P) {
        code = insertByExchanges(mesh, P, work);
        if (code < kOk) {
            return traced(code, kRoutine, "APPEL TRAJPO");
        }
        stuck = stuck || code == kPointRejected;
    }
    // 3. steps 6 to 9
    bool valid = false;
    const Vec<float> recoveryReals = realWork.slice(2 * nodeCount + 1, realWork.count() - 2 * nodeCount);
    code = completeTriangulation(mesh, work, recoveryReals, valid);
    NBE = mesh.NBE;
    if (code != kOk) {
        return code;
    }
    if (stuck) {
        return traced(kDataError, kRoutine, "BOUCLE REJET");
    }
    return valid ? kOk : traced(kDataError, kRoutine, "DESTRUCTION FINALE");
}

int trnupo(Rows<const float> COORD, int32_t J, Rows<int32_t> ITRNOE, Rows<int32_t> ITRTRI, Vec<int32_t> NOETRI,
           int32_t& NBE, Vec<int32_t> work, Vec<float> realWork, WorkShortage* shortage)
{
    NBE = 0;
    bool none = false;
    int code = checkRoom(COORD, J, ITRNOE, ITRTRI, NOETRI, work, realWork, none, shortage);
    if (code != kOk || none) {
        return code;
    }
    const int32_t nodeCount = J + kPolygonVertices;
    const int32_t elementCount = int32_t(trnupoElements(J));
    const Rows<float> normalised(realWork.data(), 2, nodeCount);
    const Rows<float> spheres(realWork.data() + 2 * nodeCount, kSphereRecord, elementCount);
    // 1.-2. normalised points
    code = ptinit(COORD, J, normalised);
    if (code != kOk) {
        return traced(code, kRoutine, "APPEL PTINIT");
    }
    // 3. the polygon and its fan; the points not yet inserted are in no element
    for (int32_t v = 1; v <= nodeCount; ++v) {
        NOETRI(v) = 0;
    }
    if ((code = t2isp(J, kPolygonVertices, kPolygonRadius, normalised, ITRNOE, ITRTRI, NOETRI, NBE)) != kOk) {
        return traced(code, kRoutine, "APPEL T2ISP");
    }
    // 4. their circles
    for (int32_t e = 1; e <= NBE; ++e) {
        if ((code = spcerc(ITRNOE, e, normalised, spheres)) != kOk) {
            return traced(code, kRoutine, "APPEL SPCERC");
        }
    }
    // 5. points 2..J
    Vec<int32_t> list = work.slice(1, J);
    for (int32_t i = 1; i < J; ++i) {
        list(i) = i + 1;
    }
    bool stuck = false;
    if ((code = insertPoints(J - 1, ITRNOE, ITRTRI, NOETRI, NBE, normalised, spheres, list,
                             work.slice(J + 1, work.count() - J), stuck)) != kOk) {
        return code;
    }
    // 6.-9. the hull, the polygon removed, and every point kept
    bool valid = false;
    if (!stuck) {
        Mesh mesh{{ITRNOE, ITRTRI, NOETRI, NBE, normalised, kRoutine}, J, true, shortage};
        const Vec<float> recoveryReals = realWork.slice(2 * nodeCount + 1, realWork.count() - 2 * nodeCount);
        if ((code = completeTriangulation(mesh, work, recoveryReals, valid)) != kOk) {
            return code;
        }
        NBE = mesh.NBE;
    }
    // 10. points left out: the points are triangulated again with exact decisions throughout
    return valid ? kOk : trnupx(COORD, J, ITRNOE, ITRTRI, NOETRI, NBE, work, realWork, shortage);
}

} // namespace tesmo
