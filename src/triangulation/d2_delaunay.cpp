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
#include "geometry/cg_droite.hpp"
#include "geometry/cg_predicat.hpp"
#include "topology/st_2dstruct.hpp"
#include "topology/st_numero.hpp"
#include "topology/st_struct.hpp"
#include "topology/st_topologie.hpp"
#include "triangulation/d2_sph2d.hpp"
#include "triangulation/m2_point.hpp"
#include "triangulation/m2_triangule.hpp"
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
/// that points were left out after the fruitless passes. Returns 0 or a negative code of the
/// insertion.
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
            (void)traced(kDataError, kRoutine, "BOUCLE REJET");
            stuck = true;
            return kOk;
        }
    }
    return kOk;
}

/// Value of x against the line through p and q as the border recovery forms it (dr2po: a
/// vertical offset, or a horizontal one for an upright line), signed positive on the left of
/// p -> q, with the tolerance of a node on that line; in double (`exact`) or in single
/// precision as the recovery walk computes it. False when p and q coincide.
bool inwardValue(const float* p, const float* q, const float* x, bool exact, double& value, double& eps)
{
    float line[3];
    if (dr2po(p, q, line) != kOk) {
        return false;
    }
    const float dx = q[0] - p[0];
    const float dy = q[1] - p[1];
    eps = double((dx * dx + dy * dy) * kOnLineFactor);
    // the line value grows upwards across a sloping line and rightwards across an upright
    // one; the left side is upwards when the edge runs right, leftwards when it runs up
    const bool upright = line[1] == 0.0f;
    if (!exact) {
        const float inward = upright ? (dy < 0.0f ? 1.0f : -1.0f) : (dx > 0.0f ? 1.0f : -1.0f);
        value = double(inward * (line[0] * x[0] + line[1] * x[1] + line[2]));
        return true;
    }
    // twice the signed area of p q x over the run the line value is scaled by
    const double run = upright ? double(q[1]) - double(p[1]) : double(q[0]) - double(p[0]);
    value = turn(p, q, x) / std::fabs(run);
    return true;
}

/// True when x lies strictly on the inner (left) side of the edge p -> q of a counter-clockwise
/// hull, beyond the tolerance of a node on the line that the border recovery uses; `exact`
/// as for inwardValue. A point within the tolerance stays a hull point, so that hull edges run
/// between such points and the recovery never meets a node on a hull edge.
bool strictlyInside(const float* p, const float* q, const float* x, bool exact = true)
{
    double value = 0.0;
    double eps = 0.0;
    return inwardValue(p, q, x, exact, value, eps) && value >= eps;
}

/// Counter-clockwise convex hull of the points listed in list(1..m), found in place by two
/// monotone chains: the list is reordered so that list(1..h) run round the hull from the
/// leftmost point, the points inside it following. A point is dropped only when it lies
/// strictly inside the chord between its chain neighbours (strictlyInside). Returns h.
int32_t convexHull(Rows<const float> points, Vec<int32_t> list, int32_t m)
{
    const auto leftOf = [&](int32_t i, int32_t j) {
        const float* a = points.row(i);
        const float* b = points.row(j);
        return a[0] < b[0] || (a[0] == b[0] && a[1] < b[1]);
    };
    const auto dropsTop = [&](int32_t top, int32_t next) {
        return strictlyInside(points.row(list(top - 1)), points.row(next), points.row(list(top)));
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

/// Edges (node pairs) waiting in a queue: the rows of a work area used round.
class EdgeQueue {
public:
    explicit EdgeQueue(Vec<int32_t> area) : rows_(area.data(), 2, area.count() / 2) {}
    [[nodiscard]] bool push(int32_t a, int32_t b)
    {
        if (count_ >= rows_.count()) {
            return false;
        }
        const int32_t at = (first_ - 1 + count_) % rows_.count() + 1;
        rows_(at, 1) = a;
        rows_(at, 2) = b;
        ++count_;
        return true;
    }
    bool pop(int32_t& a, int32_t& b)
    {
        if (count_ == 0) {
            return false;
        }
        a = rows_(first_, 1);
        b = rows_(first_, 2);
        first_ = first_ % rows_.count() + 1;
        --count_;
        return true;
    }
    int32_t count() const { return count_; }

private:
    Rows<int32_t> rows_;
    int32_t first_ = 1;
    int32_t count_ = 0;
};

/// Elements waiting on a stack kept in a work area.
class ElementStack {
public:
    explicit ElementStack(Vec<int32_t> area) : area_(area) {}
    [[nodiscard]] bool push(int32_t e)
    {
        if (count_ >= area_.count()) {
            return false;
        }
        area_(++count_) = e;
        return true;
    }
    bool pop(int32_t& e)
    {
        if (count_ == 0) {
            return false;
        }
        e = area_(count_--);
        return true;
    }

private:
    Vec<int32_t> area_;
    int32_t count_ = 0;
};

int32_t magnitude(int32_t entry) { return entry < 0 ? -entry : entry; }

/// The tables a hull edge is restored in, the normalised points 1..J and the polygon vertices.
struct Mesh {
    Rows<int32_t> ITRNOE;
    Rows<int32_t> ITRTRI;
    Vec<int32_t> NOETRI;
    int32_t NBE;
    Rows<const float> points;
    int32_t J;

    /// True when every corner of element e is one of the points 1..J.
    bool ofPointsOnly(int32_t e) const { return ITRNOE(e, 1) <= J && ITRNOE(e, 2) <= J && ITRNOE(e, 3) <= J; }
    /// The corner of element e opposite its face f.
    int32_t opposite(int32_t e, int32_t f) const { return ITRNOE(e, (f + 1) % 3 + 1); }
    /// The face of element y across which element e lies, 0 when none.
    int32_t faceToward(int32_t y, int32_t e) const
    {
        for (int32_t f = 1; f <= 3; ++f) {
            if (magnitude(ITRTRI(y, f)) == e) {
                return f;
            }
        }
        return 0;
    }
    const float* at(int32_t v) const { return points.row(v); }
};

/// True when the pair u v p, v u q is strictly convex, so that p q can replace u v.
bool convexPair(const Mesh& mesh, int32_t u, int32_t v, int32_t p, int32_t q)
{
    return turn(mesh.at(p), mesh.at(q), mesh.at(u)) * turn(mesh.at(p), mesh.at(q), mesh.at(v)) < 0.0;
}

/// Exchanges the diagonal u v that element e1 (its face f1 running u -> v) shares with its
/// neighbour e2 for the other diagonal p q of the pair, in the same two rows:
///
///          v                      v
///        / | \                  /   \       e1 = u v p and e2 = v u q become
///       p  |  q      ->        p-----q      e1 = p q v and e2 = q p u
///        \ | /                  \   /
///          u                      u
///
/// The neighbours across the four sides keep their entries (signs included) and are told
/// which row now holds them; NOETRI of u and v follows. Returns 0, or -1 when e2 does not
/// hold e1 back.
[[nodiscard]] int exchangeDiagonal(Mesh& mesh, int32_t e1, int32_t f1)
{
    const Rows<int32_t>& N = mesh.ITRNOE;
    const Rows<int32_t>& T = mesh.ITRTRI;
    const int32_t e2 = magnitude(T(e1, f1));
    const int32_t f2 = e2 == 0 ? 0 : mesh.faceToward(e2, e1);
    if (f2 == 0) {
        return traced(kDataError, kRoutine, " ECHANGE SANS VOISIN");
    }
    const int32_t u = N(e1, f1);
    const int32_t v = N(e1, f1 % 3 + 1);
    const int32_t p = mesh.opposite(e1, f1);
    const int32_t q = mesh.opposite(e2, f2);
    const int32_t acrossVP = T(e1, f1 % 3 + 1);
    const int32_t acrossPU = T(e1, (f1 + 1) % 3 + 1);
    const int32_t acrossUQ = T(e2, f2 % 3 + 1);
    const int32_t acrossQV = T(e2, (f2 + 1) % 3 + 1);
    const int32_t sign = T(e1, f1) < 0 ? -1 : 1;
    const int32_t rows[2][6] = {{p, q, v, sign * e2, acrossQV, acrossVP}, {q, p, u, sign * e1, acrossPU, acrossUQ}};
    const int32_t elements[2] = {e1, e2};
    for (int32_t r = 0; r < 2; ++r) {
        for (int32_t j = 1; j <= 3; ++j) {
            N(elements[r], j) = rows[r][j - 1];
            T(elements[r], j) = rows[r][j + 2];
        }
    }
    // the neighbours that changed rows: across q v (was e2, now e1), across p u (was e1, now e2)
    const int32_t moved[2][3] = {{magnitude(acrossQV), e2, e1}, {magnitude(acrossPU), e1, e2}};
    for (const auto& [y, from, to] : moved) {
        const int32_t face = y == 0 ? 0 : mesh.faceToward(y, from);
        if (face != 0) {
            T(y, face) = T(y, face) < 0 ? -to : to;
        }
    }
    if (mesh.NOETRI(u) == e1) {
        mesh.NOETRI(u) = e2;
    }
    if (mesh.NOETRI(v) == e2) {
        mesh.NOETRI(v) = e1;
    }
    return kOk;
}

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

/// Queues the sides crossed by the segment a b, walking from a to b in double: first the
/// triangle about a whose face opposite a the segment leaves by, then across one side after
/// the other. `blocked` is set when the segment runs into a node. Returns 0, -2 when the
/// queue is full, -1 for an inconsistent structure.
[[nodiscard]] int crossedSides(const Mesh& mesh, int32_t a, int32_t b, EdgeQueue& queue, bool& blocked)
{
    blocked = false;
    const float* Pa = mesh.at(a);
    const float* Pb = mesh.at(b);
    // 1. about a, the triangle a W U with W right of a b and U left of it
    int32_t e = mesh.NOETRI(a);
    int32_t right = 0;
    int32_t left = 0;
    for (int32_t steps = 0; steps < mesh.NBE && right == 0; ++steps) {
        int32_t h = 0;
        for (int32_t i = 1; i <= 3; ++i) {
            h = mesh.ITRNOE(e, i) == a ? i : h;
        }
        if (h == 0) {
            return traced(kDataError, kRoutine, " STRUCTURE INCORRECTE");
        }
        const int32_t W = mesh.ITRNOE(e, h % 3 + 1);
        const int32_t U = mesh.opposite(e, h);
        const double sideW = turn(Pa, Pb, mesh.at(W));
        const double sideU = turn(Pa, Pb, mesh.at(U));
        if (sideW == 0.0 || sideU == 0.0) {
            // a node on the line of a b: blocking when it lies towards b
            const int32_t on = sideW == 0.0 ? W : U;
            const double ahead = (double(mesh.at(on)[0]) - double(Pa[0])) * (double(Pb[0]) - double(Pa[0])) +
                                 (double(mesh.at(on)[1]) - double(Pa[1])) * (double(Pb[1]) - double(Pa[1]));
            if (ahead > 0.0) {
                blocked = true;
                return kOk;
            }
        }
        if (sideW < 0.0 && sideU > 0.0) {
            right = W;
            left = U;
            break;
        }
        e = magnitude(mesh.ITRTRI(e, h)); // across a W, the next triangle about a
        if (e == 0) {
            break;
        }
    }
    if (right == 0) {
        blocked = true;
        return kOk;
    }
    // 2. side after side up to b
    for (int32_t steps = 0; steps < mesh.NBE; ++steps) {
        if (!queue.push(right, left)) {
            return traced(kCapacityError, kRoutine, " FILE D ARETES PLEINE");
        }
        int32_t face = 0;
        for (int32_t f = 1; f <= 3; ++f) {
            face = mesh.ITRNOE(e, f) == right && mesh.ITRNOE(e, f % 3 + 1) == left ? f : face;
        }
        const int32_t next = face == 0 ? 0 : magnitude(mesh.ITRTRI(e, face));
        const int32_t back = next == 0 ? 0 : mesh.faceToward(next, e);
        if (back == 0) {
            return traced(kDataError, kRoutine, " STRUCTURE INCORRECTE");
        }
        const int32_t X = mesh.opposite(next, back);
        if (X == b) {
            return kOk;
        }
        const double side = turn(Pa, Pb, mesh.at(X));
        if (side == 0.0) {
            blocked = true;
            return kOk;
        }
        (side > 0.0 ? left : right) = X;
        e = next;
    }
    return traced(kDataError, kRoutine, " PARCOURS SANS FIN");
}

/// Makes a b an edge by exchanging, one at a time, the diagonals that cross it (Sloan's
/// queue): each crossing side is taken from the queue and put back when its pair is not
/// convex, or when the new diagonal still crosses a b; the rows exchanged go on `pending`.
/// An edge that stays out (a node on a b, no convex pair left) is traced.
/// Returns 0, -2 when a work area is short, or the code of a failed exchange.
[[nodiscard]] int exchangeAcross(Mesh& mesh, int32_t a, int32_t b, EdgeQueue& queue, ElementStack& pending)
{
    bool blocked = false;
    int code = crossedSides(mesh, a, b, queue, blocked);
    if (code != kOk) {
        return code;
    }
    int64_t budget = 4 * int64_t(queue.count()) * queue.count() + 64;
    int32_t idle = 0;
    int32_t u = 0;
    int32_t v = 0;
    while (!blocked && queue.count() > 0) {
        if (idle >= queue.count() || budget-- == 0) {
            blocked = true;
            break;
        }
        (void)queue.pop(u, v);
        EdgeSides sides;
        if (sfri2d(u, v, 2, mesh.ITRNOE, mesh.ITRTRI, mesh.NOETRI, mesh.NBE, sides) != kOk || sides.E1 == 0 ||
            sides.E2 == 0) {
            return traced(kDataError, kRoutine, " APPEL SFRI2D");
        }
        const int32_t p = mesh.opposite(sides.E1, sides.F1);
        const int32_t q = mesh.opposite(sides.E2, sides.F2);
        if (!convexPair(mesh, u, v, p, q)) {
            ++idle;
            (void)queue.push(u, v); // one out, one in
            continue;
        }
        if ((code = exchangeDiagonal(mesh, sides.E1, sides.F1)) != kOk) {
            return code;
        }
        if (!pending.push(sides.E1) || !pending.push(sides.E2)) {
            return traced(kCapacityError, kRoutine, " PILE DE TRIANGLES PLEINE");
        }
        idle = 0;
        if (crossing(mesh.at(p), mesh.at(q), mesh.at(a), mesh.at(b))) {
            (void)queue.push(p, q);
        }
    }
    if (blocked) {
        (void)traced(kDataError, kRoutine, " ARETE DE L ENVELOPPE NON RESTAUREE");
    }
    return kOk;
}

/// Makes the hull edge a b (counter-clockwise) an edge. A short strip of crossed triangles is
/// recovered at once by the border recovery (rf2rar). A longer one would make its search of
/// the best triangulation of the strip's polygons far too long, and its single-precision walk
/// (tritse) refuses the very thin triangles found along such edges, or may see a point within
/// rounding of a b on its outer side: then a b is restored by exchanging diagonals
/// (exchangeAcross), in double. Either way the triangles changed are made Delaunay again
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
    //    frontier no simple polygon) goes to the exchanges
    bool seenInside = code == kOk && k <= kDirectStrip;
    for (int32_t i = 1; seenInside && i <= k; ++i) {
        for (int32_t j = 1; j <= 3; ++j) {
            const int32_t x = mesh.ITRNOE(work(i), j);
            seenInside = seenInside && (x == a || x == b || x > mesh.J ||
                                        strictlyInside(mesh.at(a), mesh.at(b), mesh.at(x), false));
        }
    }
    if (seenInside) {
        int32_t crossed = 0;
        EdgeSides sides;
        if ((code = rf2rar(Vec<const int32_t>(edge, 2), mesh.ITRNOE, mesh.ITRTRI, mesh.NOETRI, mesh.NBE,
                           mesh.points, work, realWork, crossed)) != kOk ||
            (code = sfri2d(a, b, 2, mesh.ITRNOE, mesh.ITRTRI, mesh.NOETRI, mesh.NBE, sides)) != kOk) {
            return traced(code, kRoutine, " APPEL RF2RAR");
        }
        if (sides.E1 != 0 || sides.E2 != 0) {
            ElementStack pending(work);
            for (int32_t t = 1; t <= crossed; ++t) {
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
    if ((code = exchangeAcross(mesh, a, b, queue, pending)) != kOk) {
        return code;
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
    const int32_t h = convexHull(mesh.points, work, inserted);
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

int trnupo(Rows<const float> COORD, int32_t J, Rows<int32_t> ITRNOE, Rows<int32_t> ITRTRI, Vec<int32_t> NOETRI,
           int32_t& NBE, Vec<int32_t> work, Vec<float> realWork)
{
    NBE = 0;
    if (ITRNOE.width() <= 2 || ITRTRI.width() <= 2) {
        return traced(kDataError, kRoutine, "EN 2D SEULEMENT");
    }
    if (work.count() < kMinimumIntegerWork) {
        return traced(kCapacityError, kRoutine, "ITVL TROP PETIT");
    }
    if (J == 0) {
        return kOk;
    }
    if (J < 0 || J > COORD.count() || COORD.width() < 2) {
        return traced(kDataError, kRoutine, " DONNEES INCORRECTES");
    }
    // room: the point list and the insertion lists, the element tables, NOETRI, the reals
    if (J >= work.count() || J > (std::numeric_limits<int32_t>::max() - 2 * kPolygonVertices) / 2) {
        return traced(kCapacityError, kRoutine, "ITVL TROP PETIT");
    }
    const int32_t nodeCount = J + kPolygonVertices;
    const int32_t elementCount = int32_t(trnupoElements(J));
    if (ITRNOE.count() < elementCount || ITRTRI.count() < elementCount) {
        return traced(kCapacityError, kRoutine, " TABLEAUX TROP PETITS");
    }
    if (NOETRI.count() < nodeCount) {
        return traced(kCapacityError, kRoutine, " NOETRI TROP PETIT");
    }
    if (realWork.count() < trnupoReals(J)) {
        return traced(kCapacityError, kRoutine, " RTVL TROP PETIT");
    }
    const Rows<float> normalised(realWork.data(), 2, nodeCount);
    const Rows<float> spheres(realWork.data() + 2 * nodeCount, kSphereRecord, elementCount);
    // 1.-2. normalised points
    int code = ptinit(COORD, J, normalised);
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
    // 6. the hull edges of the inserted points made edges; the spheres are no longer needed
    //    and their room serves the recovery
    int32_t inserted = 0;
    Mesh mesh{ITRNOE, ITRTRI, NOETRI, NBE, normalised, J};
    if ((code = restoreHull(mesh, work, realWork.slice(2 * nodeCount + 1, realWork.count() - 2 * nodeCount),
                            inserted)) != kOk) {
        return code;
    }
    // 7. the polygon goes, 8. NOETRI of the points alone, 9. no point went with the polygon
    if ((code = removePolygon(J, kPolygonVertices, ITRNOE, ITRTRI, NOETRI, NBE)) != kOk ||
        (code = rebuildNodeElements(J, nodeCount, ITRNOE, NOETRI, NBE)) != kOk ||
        (code = checkNoPointLost(work.slice(1, inserted), NOETRI)) != kOk) {
        return code;
    }
    // 10. points left out make the triangulation fail
    return stuck ? kDataError : kOk;
}

} // namespace tesmo
