// Recovery of an edge ab by exchanging diagonals (Sloan's method).
//
// The diagonals that the segment ab crosses are queued, from a to b. One is taken from the
// queue at a time: when its two triangles form a strictly convex quadrilateral it is exchanged
// for the other diagonal of the quadrilateral, which goes back to the queue when it still
// crosses ab and to the list of new diagonals otherwise; when they do not, the diagonal goes
// back to the queue. Among the diagonals crossing ab there is always one with a strictly convex
// quadrilateral, as long as no node lies on the open segment ab, so that with exact signs the
// queue empties and ab is an edge; only triangles crossed by ab change.
//
// A point is inserted the same way (insertByExchanges): the triangle holding it is split
// about it, then the sides opposite it are exchanged while they are not Delaunay; with exact
// signs this never fails for a point distinct from the nodes.
//
//            C                        C
//           / \                      /|\          (A, B, C) becomes (A, B, P),
//          /   \          ->        / | \         (B, C, P) and (C, A, P)
//         /  P  \                  /  P  \        (P joined to A, B and C)
//        A-------B                A-------B
//
// The new diagonals are then made Delaunay again (Lawson's exchanges restricted to them): a
// new diagonal other than ab whose far corner lies inside the circle of the near triangle is
// exchanged, and the diagonal it becomes is new in turn, until none is. Every other edge of
// the mesh stays, so the border edges restored before ab stay too.
#include "triangulation/m3_diagonale.hpp"

#include "geometry/cg_predicat.hpp"
#include "messages/es_erreur.hpp"
#include "topology/st_2dstruct.hpp"
#include "topology/st_struct.hpp"
#include "triangulation/m2_triangule.hpp"
#include "triangulation/m3_inter2d.hpp"

#include <string_view>

namespace tesmo {

namespace {

constexpr std::string_view kRoutine = "RF2DIA";

int32_t magnitude(int32_t entry) { return entry < 0 ? -entry : entry; }

/// Queues the sides crossed by the segment a b, walking from a to b with exact signs: first
/// the triangle about a whose face opposite a the segment leaves by, then across one side after
/// the other. `blocked` is set when the segment runs into a node. Returns 0, -2 when the queue
/// is full, -1 for an inconsistent structure.
[[nodiscard]] int crossedSides(const EdgeTables& mesh, int32_t a, int32_t b, EdgeQueue& queue, bool& blocked)
{
    blocked = false;
    const float* Pa = mesh.at(a);
    const float* Pb = mesh.at(b);
    // 1. about a, the triangle a W U with W right of a b and U left of it
    int32_t e = 0;
    int32_t face = 0;
    if (trdbse(a, b, mesh.ITRNOE, mesh.ITRTRI, mesh.NOETRI, mesh.NBE, mesh.points, e, face, 0.0) != kOk) {
        blocked = true;
        return kOk;
    }
    int32_t right = mesh.ITRNOE(e, face);
    int32_t left = mesh.ITRNOE(e, face % 3 + 1);
    // 2. side after side up to b
    for (int32_t steps = 0; steps < mesh.NBE; ++steps) {
        if (!queue.push(right, left)) {
            return traced(kCapacityError, mesh.routine, " FILE D ARETES PLEINE");
        }
        face = 0;
        for (int32_t f = 1; f <= 3; ++f) {
            face = mesh.ITRNOE(e, f) == right && mesh.ITRNOE(e, f % 3 + 1) == left ? f : face;
        }
        const int32_t next = face == 0 ? 0 : magnitude(mesh.ITRTRI(e, face));
        const int32_t back = next == 0 ? 0 : mesh.faceToward(next, e);
        if (back == 0) {
            return traced(kDataError, mesh.routine, " STRUCTURE INCORRECTE");
        }
        const int32_t X = mesh.opposite(next, back);
        if (X == b) {
            return kOk;
        }
        const int side = orientation(Pa, Pb, mesh.at(X));
        if (side == 0) {
            blocked = true;
            return kOk;
        }
        (side > 0 ? left : right) = X;
        e = next;
    }
    return traced(kDataError, mesh.routine, " PARCOURS SANS FIN");
}

/// Makes the diagonals listed in `created` Delaunay again, a b excepted (see the top).
/// Returns 0, or the code of a failed exchange or location.
[[nodiscard]] int restoreCreated(EdgeTables& mesh, int32_t a, int32_t b, EdgeQueue& created)
{
    // each exchange lowers the sum of the squared circle radii, so the passes end; the budget
    // only guards against a damaged structure
    int64_t budget = 4 * int64_t(created.count()) * created.count() + 64;
    for (bool exchanged = true; exchanged && budget > 0;) {
        exchanged = false;
        for (int32_t i = created.count(); i > 0 && budget > 0; --i, --budget) {
            int32_t u = 0;
            int32_t v = 0;
            (void)created.pop(u, v);
            if ((u == a && v == b) || (u == b && v == a)) {
                (void)created.push(u, v);
                continue;
            }
            EdgeSides sides;
            if (sfri2d(u, v, 2, mesh.ITRNOE, mesh.ITRTRI, mesh.NOETRI, mesh.NBE, sides) != kOk || sides.E1 == 0 ||
                sides.E2 == 0) {
                return traced(kDataError, mesh.routine, " APPEL SFRI2D");
            }
            const int32_t p = mesh.opposite(sides.E1, sides.F1);
            const int32_t q = mesh.opposite(sides.E2, sides.F2);
            if (circleSide(mesh.at(u), mesh.at(v), mesh.at(p), mesh.at(q)) <= 0 || !convexPair(mesh, u, v, p, q)) {
                (void)created.push(u, v);
                continue;
            }
            const int code = exchangeDiagonal(mesh, sides.E1, sides.F1);
            if (code != kOk) {
                return code;
            }
            (void)created.push(p, q);
            exchanged = true;
        }
    }
    return kOk;
}

} // namespace

int32_t EdgeTables::faceToward(int32_t y, int32_t e) const
{
    for (int32_t f = 1; f <= 3; ++f) {
        if (magnitude(ITRTRI(y, f)) == e) {
            return f;
        }
    }
    return 0;
}

bool EdgeQueue::push(int32_t a, int32_t b)
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

bool EdgeQueue::pop(int32_t& a, int32_t& b)
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

bool ElementStack::push(int32_t e)
{
    if (count_ >= area_.count()) {
        return false;
    }
    area_(++count_) = e;
    return true;
}

bool ElementStack::pop(int32_t& e)
{
    if (count_ == 0) {
        return false;
    }
    e = area_(count_--);
    return true;
}

bool convexPair(const EdgeTables& mesh, int32_t u, int32_t v, int32_t p, int32_t q)
{
    return orientation(mesh.at(p), mesh.at(q), mesh.at(u)) * orientation(mesh.at(p), mesh.at(q), mesh.at(v)) < 0;
}

//          v                      v
//        / | \                  /   \       e1 = u v p and e2 = v u q become
//       p  |  q      ->        p-----q      e1 = p q v and e2 = q p u
//        \ | /                  \   /
//          u                      u
int exchangeDiagonal(EdgeTables& mesh, int32_t e1, int32_t f1)
{
    const Rows<int32_t>& N = mesh.ITRNOE;
    const Rows<int32_t>& T = mesh.ITRTRI;
    const int32_t e2 = magnitude(T(e1, f1));
    const int32_t f2 = e2 == 0 ? 0 : mesh.faceToward(e2, e1);
    if (f2 == 0) {
        return traced(kDataError, mesh.routine, " ECHANGE SANS VOISIN");
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

int exchangeAcross(EdgeTables& mesh, int32_t a, int32_t b, EdgeQueue& queue, ElementStack* pending,
                   EdgeQueue* created, bool& blocked)
{
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
            return traced(kDataError, mesh.routine, " APPEL SFRI2D");
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
        if (pending != nullptr && (!pending->push(sides.E1) || !pending->push(sides.E2))) {
            return traced(kCapacityError, mesh.routine, " PILE DE TRIANGLES PLEINE");
        }
        idle = 0;
        if (crossing(mesh.at(p), mesh.at(q), mesh.at(a), mesh.at(b))) {
            (void)queue.push(p, q);
        } else if (created != nullptr && !created->push(p, q)) {
            return traced(kCapacityError, mesh.routine, " FILE D ARETES PLEINE");
        }
    }
    return kOk;
}

namespace {

/// Where a point lies against triangle e: -1 outside, else the number of its sides the point
/// lies on (0 inside, 1 on a side whose face is `onFace`, 2 at a corner).
int32_t locate(const EdgeTables& mesh, int32_t e, const float* x, int32_t& onFace)
{
    int32_t on = 0;
    onFace = 0;
    for (int32_t f = 1; f <= 3; ++f) {
        const int side = orientation(mesh.at(mesh.ITRNOE(e, f)), mesh.at(mesh.ITRNOE(e, f % 3 + 1)), x);
        if (side < 0) {
            return -1;
        }
        if (side == 0) {
            ++on;
            onFace = f;
        }
    }
    return on;
}

/// Splits triangle e = (A, B, C) about P into e = (A, B, P), t1 = (B, C, P), t2 = (C, A, P)
/// (the sketch at the top); the outer neighbours keep their signs.
void splitAbout(EdgeTables& mesh, int32_t e, int32_t P, int32_t t1, int32_t t2)
{
    const Rows<int32_t>& N = mesh.ITRNOE;
    const Rows<int32_t>& T = mesh.ITRTRI;
    const int32_t A = N(e, 1), B = N(e, 2), C = N(e, 3);
    const int32_t acrossBC = T(e, 2), acrossCA = T(e, 3);
    const int32_t rows[3][6] = {{A, B, P, T(e, 1), t1, t2}, {B, C, P, acrossBC, t2, e}, {C, A, P, acrossCA, e, t1}};
    const int32_t elements[3] = {e, t1, t2};
    for (int32_t r = 0; r < 3; ++r) {
        for (int32_t j = 1; j <= 3; ++j) {
            N(elements[r], j) = rows[r][j - 1];
            T(elements[r], j) = rows[r][j + 2];
        }
    }
    const int32_t moved[2][2] = {{magnitude(acrossBC), t1}, {magnitude(acrossCA), t2}};
    for (const auto& [y, to] : moved) {
        const int32_t face = y == 0 ? 0 : mesh.faceToward(y, e);
        if (face != 0) {
            T(y, face) = T(y, face) < 0 ? -to : to;
        }
    }
    if (mesh.NOETRI(C) == e) {
        mesh.NOETRI(C) = t1;
    }
    mesh.NOETRI(P) = e;
}

} // namespace

int insertByExchanges(EdgeTables& mesh, int32_t P, Vec<int32_t> work)
{
    const float* x = mesh.at(P);
    if (int64_t(mesh.NBE) + 2 > mesh.ITRNOE.count() || int64_t(mesh.NBE) + 2 > mesh.ITRTRI.count() ||
        P > mesh.NOETRI.count()) {
        return traced(kCapacityError, mesh.routine, " TABLEAUX TROP PETITS");
    }
    // 1. the triangle holding P
    int32_t e = 0;
    int32_t on = -1;
    int32_t onFace = 0;
    for (int32_t t = 1; t <= mesh.NBE && on < 0; ++t) {
        if (mesh.ITRNOE(t, 3) != 0 && (on = locate(mesh, t, x, onFace)) >= 0) {
            e = t;
        }
    }
    if (e == 0 || on >= 2) {
        return kPointRejected;
    }
    if (on == 1 && mesh.ITRTRI(e, onFace) == 0) {
        return kPointRejected; // on the outer boundary: no triangle to share the side with
    }
    // 2. split in three; a point on a side leaves a flat triangle there, whose side goes
    const int32_t t1 = mesh.NBE + 1;
    const int32_t t2 = mesh.NBE + 2;
    splitAbout(mesh, e, P, t1, t2);
    mesh.NBE += 2;
    ElementStack pending(work);
    if (on == 1) {
        const int32_t flat = onFace == 1 ? e : (onFace == 2 ? t1 : t2);
        const int32_t across = magnitude(mesh.ITRTRI(flat, 1));
        const int code = exchangeDiagonal(mesh, flat, 1);
        if (code != kOk) {
            return code;
        }
        if (!pending.push(across)) {
            return traced(kCapacityError, mesh.routine, " PILE DE TRIANGLES PLEINE");
        }
    }
    if (!pending.push(e) || !pending.push(t1) || !pending.push(t2)) {
        return traced(kCapacityError, mesh.routine, " PILE DE TRIANGLES PLEINE");
    }
    // 3. the sides opposite P made Delaunay (Lawson's exchanges)
    int32_t t = 0;
    while (pending.pop(t)) {
        int32_t h = 0;
        for (int32_t i = 1; i <= 3; ++i) {
            h = mesh.ITRNOE(t, i) == P ? i : h;
        }
        const int32_t f = h % 3 + 1; // the side opposite P
        const int32_t g = h == 0 ? 0 : magnitude(mesh.ITRTRI(t, f));
        const int32_t back = g == 0 ? 0 : mesh.faceToward(g, t);
        if (back == 0) {
            continue;
        }
        const int32_t u = mesh.ITRNOE(t, f);
        const int32_t v = mesh.ITRNOE(t, f % 3 + 1);
        const int32_t q = mesh.opposite(g, back);
        if (circleSide(mesh.at(u), mesh.at(v), x, mesh.at(q)) <= 0 || !convexPair(mesh, u, v, P, q)) {
            continue;
        }
        const int code = exchangeDiagonal(mesh, t, f);
        if (code != kOk) {
            return code;
        }
        if (!pending.push(t) || !pending.push(g)) {
            return traced(kCapacityError, mesh.routine, " PILE DE TRIANGLES PLEINE");
        }
    }
    return kOk;
}

int rf2dia(Vec<const int32_t> edge, Rows<int32_t> ITRNOE, Rows<int32_t> ITRTRI, Vec<int32_t> NOETRI, int32_t NBE,
           Rows<const float> COORD, Vec<int32_t> iwork)
{
    if (edge.count() < 2 || NBE < 0 || NBE > ITRNOE.count() || NBE > ITRTRI.count() || ITRNOE.width() < 3 ||
        ITRTRI.width() < 3 || COORD.width() < 2) {
        return traced(kDataError, kRoutine, " ARGUMENTS INCORRECTS");
    }
    const int32_t a = edge(1);
    const int32_t b = edge(2);
    if (a < 1 || b < 1 || a == b || a > COORD.count() || b > COORD.count() || a > NOETRI.count() ||
        b > NOETRI.count()) {
        return traced(kDataError, kRoutine, " ARETE INCORRECTE");
    }
    EdgeTables mesh{ITRNOE, ITRTRI, NOETRI, NBE, COORD};
    // 1. already an edge
    EdgeSides sides;
    if (sfri2d(a, b, 2, ITRNOE, ITRTRI, NOETRI, NBE, sides) != kOk) {
        return traced(kDataError, mesh.routine, " APPEL SFRI2D");
    }
    if (sides.E1 != 0 || sides.E2 != 0) {
        return kOk;
    }
    // 2. the exchanges: the crossed diagonals queued in the first half of the work, the new
    //    ones listed in the second
    const int32_t half = iwork.count() / 2;
    EdgeQueue queue(iwork.slice(1, half));
    EdgeQueue created(iwork.slice(half + 1, iwork.count() - half));
    bool blocked = false;
    int code = exchangeAcross(mesh, a, b, queue, nullptr, &created, blocked);
    if (code != kOk) {
        return traced(code, kRoutine, " APPEL ECHANGES");
    }
    if (blocked) {
        return traced(kDataError, kRoutine, " ARETE NON RESTAUREE");
    }
    // 3. the new diagonals made Delaunay again
    return restoreCreated(mesh, a, b, created);
}

} // namespace tesmo
