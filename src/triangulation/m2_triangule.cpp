// Insertion of a point P into a Delaunay triangulation (Bowyer-Watson). The triangles whose
// circles contain P form its cavity; the k cavity elements and two spare rows are brought to
// rows 1..S (S = k + 2), its frontier faces are listed, and when every check passes the
// cavity is replaced by the fan of P over its frontier:
//
//      D_________C              D_________C
//      |        /|              |\       /|
//      |  P   /  |     -->      |  \   /  |     the k = 2 triangles (A,B,C), (A,C,D) whose
//      |    /    |              |    P    |     circles contain P give way to the S = k + 2
//      |  /      |              |  /   \  |     triangles (A,B,P), (B,C,P), (C,D,P), (D,A,P),
//      |/________|              |/_______\|     one per frontier face, P last
//      A         B              A         B
//
// Bringing the cavity to the front moves as few elements as possible: only the elements of
// rows 1..S outside the cavity change places, with cavity elements beyond S or with the
// spare rows NBE + 1, NBE + 2; a refused insertion sends the spare rows back to the end.
//
// A small cavity in a large mesh (every insertion of the refinement) first goes through the
// checks in place: the rows 1..S are read as they would be after the exchanges, and nothing is
// written but the frontier map of NOETRI, undone when a check refuses. When every check
// passes, only the elements of rows 1..S outside the cavity move, each to the row the
// exchanges would give it: the cavity's elements, which the exchanges would carry to the
// front only for them to go, are not carried, nor their neighbours told. The tables end as the
// exchanges leave them. When a check refuses, the insertion is made again the long way, whose
// refusal leaves the mesh as it always has.
//
// The work list holds first the cavity (and the search queue), then from step 3 on the
// frontier faces (element, face) in rows 1..S, replaced by their nodes (A, B) before the
// cavity goes, and the outer faces they are glued to (element, face with the border sign)
// in rows S+1..2S; the new frontier overwrites rows 1..S once the new triangles are written.
// Once every check has passed, NOETRI(A) holds -L for the frontier face L = A -> B: the
// linking and the gluing find the face starting at a node at once, and the last step gives
// every node of the new triangles its NOETRI entry anyway.
#include "triangulation/m2_triangule.hpp"

#include "messages/es_erreur.hpp"
#include "geometry/cg_distance.hpp"
#include "geometry/cg_predicat.hpp"
#include "topology/st_ensemble.hpp"
#include "topology/st_numero.hpp"
#include "topology/st_topologie.hpp"
#include "topology/st_2dstruct.hpp"
#include "triangulation/d2_sph2d.hpp"
#include "triangulation/m2_recherche.hpp"
#include "triangulation/st_sph.hpp"

#include <algorithm>
#include <string_view>

namespace tesmo {

namespace {

constexpr std::string_view kRoutine = "TRAJPO";

int32_t magnitude(int32_t value) { return value < 0 ? -value : value; }

/// One insertion: the tables, the point and the bookkeeping shared by the steps.
class Insertion {
public:
    Insertion(int32_t point, Rows<int32_t> nodes, Rows<int32_t> neighbours, Vec<int32_t> nodeElements, int32_t count,
              Rows<const float> coord, Rows<float> sphereTable, Vec<int32_t> workList, const RowExchanges& told)
        : P(point), ITRNOE(nodes), ITRTRI(neighbours), NOETRI(nodeElements), NBE(count), total(count + 2),
          COORD(coord), spheres(sphereTable), work(workList), x(coord.row(point)),
          faces(workList.data(), 2, workList.count() / 2), exchanges(told)
    {
    }

    [[nodiscard]] int cavity(int32_t start);
    [[nodiscard]] int toFront();
    [[nodiscard]] int frontier();
    [[nodiscard]] int checkFaces(float areaTolerance, float clearance);
    [[nodiscard]] int recordOuterFaces();
    [[nodiscard]] int mapFrontier();
    [[nodiscard]] int replaceCavity();
    [[nodiscard]] int glue();
    void finish(int32_t& count, int32_t& created);
    /// The checks in place of a small cavity (see the top of this file): true when they all
    /// pass, the frontier then mapped in NOETRI and the outer faces recorded as after the
    /// exchanges; false, with nothing changed, when the cavity is not small or a check
    /// refuses.
    [[nodiscard]] bool acceptedInPlace(float areaTolerance, float clearance);
    /// After `acceptedInPlace`: the elements of rows 1..S outside the cavity go where the
    /// exchanges would take them, then the fan replaces the cavity.
    [[nodiscard]] int replaceInPlace();
    /// Steps 8 and 9: the fan of P over the frontier faces whose nodes `faces` holds.
    [[nodiscard]] int writeFan();

private:
    /// Hands `code` back after the spare rows went back to the end (a refused insertion).
    [[nodiscard]] int refuse(int code);
    /// Rotates element e one place, nodes (1,2,3) becoming (3,1,2), with a new sphere.
    [[nodiscard]] int rotate(int32_t e);
    /// Nodes A -> B of frontier face L.
    void faceNodes(int32_t L, int32_t& A, int32_t& B) const;
    /// Gives NOETRI of frontier faces 1..count back an element holding their first node.
    void unmapFrontier(int32_t count);

    const int32_t P;
    Rows<int32_t> ITRNOE;
    Rows<int32_t> ITRTRI;
    Vec<int32_t> NOETRI;
    const int32_t NBE;
    const int32_t total; ///< NBE and the two spare rows
    Rows<const float> COORD;
    Rows<float> spheres;
    Vec<int32_t> work;
    const float* x;
    Rows<int32_t> faces; ///< frontier faces (rows 1..S), outer faces (rows S+1..2S)
    const RowExchanges& exchanges;
    int32_t k = 0;       ///< cavity elements
    int32_t S = 0;       ///< k + 2: frontier faces, new triangles
    int32_t spareMoves = 0;  ///< intruders sent to the spare rows (at most 2)
    int32_t spareFrom[2] = {}; ///< where they came from

    // the checks in place
    /// True when element e is in the cavity (work(1..k)).
    bool inCavity(int32_t e) const;
    /// The row intruder r goes to (0 for a cavity row r of 1..S).
    int32_t destination(int32_t r) const { return work(k + r); }
    /// The element whose rows row r of 1..S would hold after the exchanges: r itself when it is
    /// in the cavity, else the cavity element its intruder changes place with (0: a spare row).
    int32_t heldAt(int32_t r) const
    {
        const int32_t to = destination(r);
        return to == 0 ? r : to <= NBE ? to : 0;
    }
    /// Where element e (outside the cavity) stands after the exchanges.
    int32_t movedTo(int32_t e) const { return e <= S ? destination(e) : e; }
    /// The frontier faces of the checks in place (element held, signed face), then the outer
    /// faces (row after the exchanges, signed face), as `faces` holds them the long way.
    Rows<int32_t> inPlace;
};

/// Largest cavity whose checks are made in place.
constexpr int32_t kInPlaceCavity = 62;

bool Insertion::inCavity(int32_t e) const
{
    for (int32_t i = 1; i <= k; ++i) {
        if (work(i) == e) {
            return true;
        }
    }
    return false;
}

bool Insertion::acceptedInPlace(float areaTolerance, float clearance)
{
    S = k + 2;
    // 1. a small cavity in a mesh beyond its rows: the rows each intruder goes to, in the
    //    order of the exchanges (work(k + r) for row r, 0 for a cavity row)
    // (its own records after the 4 S entries where the long way keeps the faces, which the
    // fan writes over the cavity list and the intruders' rows)
    const int64_t base = 4 * int64_t(S);
    if (k > kInPlaceCavity || NBE + 1 <= S || base + 6 * int64_t(S) > work.count()) {
        return false;
    }
    int32_t next = 1;
    int32_t spares = 0;
    for (int32_t r = 1; r <= S; ++r) {
        work(k + r) = 0;
        if (inCavity(r)) {
            continue;
        }
        if (ITRNOE(r, 1) == 0) {
            return false; // a deleted row: the long way
        }
        while (next <= k && work(next) <= S) {
            ++next;
        }
        work(k + r) = next <= k ? work(next++) : NBE + 1 + spares++;
    }
    inPlace = Rows<int32_t>(work.data() + base, 2, 3 * S);
    // 2. the frontier, as tmafrt lists it over rows 1..S after the exchanges
    int32_t count = 0;
    for (int32_t r = 1; r <= S; ++r) {
        const int32_t e = heldAt(r);
        if (e == 0) {
            continue;
        }
        int32_t faceCount = 0;
        if (strnbc(strnbn(ITRNOE.row(e), ITRNOE.width()), 2, faceCount) != kOk || faceCount > ITRTRI.width()) {
            return false;
        }
        for (int32_t f = 1; f <= faceCount; ++f) {
            const int32_t entry = ITRTRI(e, f);
            if (entry > 0 && inCavity(entry)) {
                continue;
            }
            if (entry < 0 && inCavity(-entry)) {
                return false; // two cavity elements across a border face: the long way
            }
            if (++count > S) {
                return false;
            }
            inPlace(count, 1) = e;
            inPlace(count, 2) = entry < 0 ? -f : f;
        }
    }
    if (count != S) {
        return false;
    }
    // 3. the checks of each new triangle
    for (int32_t L = 1; L <= S; ++L) {
        const int32_t e = inPlace(L, 1);
        const int32_t f = magnitude(inPlace(L, 2));
        const int32_t A = ITRNOE(e, f);
        const int32_t B = ITRNOE(e, f % 3 + 1);
        if (A < 1 || B < 1 || A > NOETRI.count() || B > NOETRI.count() || A > COORD.count() || B > COORD.count()) {
            return false;
        }
        const float* a = COORD.row(A);
        const float* b = COORD.row(B);
        float circle[2];
        if ((clearance > 0.0f && ITRTRI(e, f) <= 0 && clearance >= segmentDistance(2, x, a, b)) ||
            0.5 * exactTurn(a, b, x) < double(areaTolerance) || !circleVector(a, b, x, circle)) {
            return false;
        }
    }
    // 4. the outer faces, in the rows they will have
    for (int32_t L = 1; L <= S; ++L) {
        const int32_t e = inPlace(L, 1);
        const int32_t f = inPlace(L, 2);
        const int32_t across = magnitude(ITRTRI(e, magnitude(f)));
        int32_t back = 0;
        if (across != 0) {
            if (across > NBE || strnbn(ITRNOE.row(across), ITRNOE.width()) != 3) {
                return false;
            }
            for (int32_t m = 1; m <= ITRTRI.width() && back == 0; ++m) {
                back = magnitude(ITRTRI(across, m)) == e ? m : 0;
            }
            if (back == 0) {
                return false;
            }
        }
        inPlace(S + L, 1) = across == 0 ? 0 : movedTo(across);
        inPlace(S + L, 2) = f < 0 ? -back : back;
    }
    // 5. the frontier closes once through distinct nodes: mapped in NOETRI, or left as found
    const auto unmap = [this](int32_t mapped) {
        for (int32_t M = 1; M <= mapped; ++M) {
            NOETRI(ITRNOE(inPlace(M, 1), magnitude(inPlace(M, 2)))) = inPlace(2 * S + M, 1);
        }
    };
    for (int32_t L = 1; L <= S; ++L) {
        const int32_t A = ITRNOE(inPlace(L, 1), magnitude(inPlace(L, 2)));
        if (NOETRI(A) < 0) {
            unmap(L - 1);
            return false;
        }
        inPlace(2 * S + L, 1) = NOETRI(A); // kept to undo the map
        NOETRI(A) = -L;
    }
    int32_t current = 1;
    for (int32_t step = 1; step <= S; ++step) {
        const int32_t e = inPlace(current, 1);
        const int32_t B = ITRNOE(e, magnitude(inPlace(current, 2)) % 3 + 1);
        const int32_t following = NOETRI(B) < 0 ? -NOETRI(B) : 0;
        if (following == 0 || (following == 1) != (step == S)) {
            unmap(S);
            return false;
        }
        current = following;
    }
    return true;
}

int Insertion::replaceInPlace()
{
    // 0. the nodes of the frontier faces, read before the intruders take the cavity's rows
    for (int32_t L = 1; L <= S; ++L) {
        const int32_t e = inPlace(L, 1);
        const int32_t f = magnitude(inPlace(L, 2));
        inPlace(2 * S + L, 1) = ITRNOE(e, f);
        inPlace(2 * S + L, 2) = ITRNOE(e, f % 3 + 1);
    }
    // 1. each intruder to its row, its sphere record exchanged with that row's; its neighbours outside the cavity and the
    //    intruders name its new row, and NOETRI follows it (the cavity's nodes are the
    //    frontier's, mapped already)
    for (int32_t r = 1; r <= S; ++r) {
        const int32_t to = destination(r);
        if (to == 0) {
            continue;
        }
        std::copy(ITRNOE.row(r), ITRNOE.row(r) + ITRNOE.width(), ITRNOE.row(to));
        std::copy(ITRTRI.row(r), ITRTRI.row(r) + ITRTRI.width(), ITRTRI.row(to));
        std::swap_ranges(spheres.row(r), spheres.row(r) + spheres.width(), spheres.row(to)); // as exchanged
        exchanges(r, to);
    }
    for (int32_t r = 1; r <= S; ++r) {
        const int32_t to = destination(r);
        if (to == 0) {
            continue;
        }
        for (int32_t f = 1; f <= ITRTRI.width(); ++f) {
            const int32_t entry = ITRTRI(to, f);
            const int32_t j = magnitude(entry);
            if (j == 0 || inCavity(j)) {
                continue; // the glue names the new triangle there
            }
            if (j <= S) {
                ITRTRI(to, f) = entry < 0 ? -destination(j) : destination(j); // an intruder too
                continue;
            }
            for (int32_t m = 1; m <= ITRTRI.width(); ++m) {
                if (magnitude(ITRTRI(j, m)) == r) {
                    ITRTRI(j, m) = ITRTRI(j, m) < 0 ? -to : to;
                    break;
                }
            }
        }
        for (int32_t i = 1; i <= ITRNOE.width(); ++i) {
            const int32_t node = ITRNOE(to, i);
            if (node >= 1 && node <= NOETRI.count() && NOETRI(node) == r) {
                NOETRI(node) = to;
            }
        }
    }
    // 2. the frontier faces and the outer faces where the long way keeps them
    for (int32_t L = 1; L <= 2 * S; ++L) {
        faces(L, 1) = inPlace(L, 1);
        faces(L, 2) = inPlace(L, 2);
    }
    // 3. the nodes of the frontier faces, then the fan over them (the cavity's rows 1..S are
    //    written over, its rows beyond S hold the intruders)
    for (int32_t L = 1; L <= S; ++L) {
        faces(L, 1) = inPlace(2 * S + L, 1);
        faces(L, 2) = inPlace(2 * S + L, 2);
    }
    return writeFan();
}


int Insertion::cavity(int32_t start)
{
    const int code = start == 0 ? rtadet(x, ITRNOE, ITRTRI, NBE, COORD, spheres, work, k)
                                : rtconn(x, start, ITRNOE, ITRTRI, NBE, COORD, spheres, work, k);
    if (code != kOk) {
        return traced(code, kRoutine, "APPEL RTADET OU RTCONN");
    }
    if (k == 0) {
        return traced(kPointRejected, kRoutine, "DANS LA RECHERCHE");
    }
    return kOk;
}

int Insertion::toFront()
{
    S = k + 2;
    if (int64_t(k) + S > work.count()) {
        return traced(kCapacityError, kRoutine, "ITVL TROP PETIT");
    }
    for (int32_t e = NBE + 1; e <= total; ++e) {
        for (int32_t j = 1; j <= ITRNOE.width(); ++j) {
            ITRNOE(e, j) = 0;
        }
        for (int32_t j = 1; j <= ITRTRI.width(); ++j) {
            ITRTRI(e, j) = 0;
        }
    }
    // the intruders: rows 1..S (up to NBE) that are not in the cavity, a deleted row as
    // well (the cavity is marked by the sign of its first node meanwhile), listed after it
    for (int32_t i = 1; i <= k; ++i) {
        ITRNOE(work(i), 1) = -ITRNOE(work(i), 1);
    }
    int32_t intruders = 0;
    for (int32_t e = 1; e <= S && e <= NBE; ++e) {
        if (ITRNOE(e, 1) >= 0) {
            work(k + ++intruders) = e;
        }
    }
    for (int32_t i = 1; i <= k; ++i) {
        ITRNOE(work(i), 1) = -ITRNOE(work(i), 1);
    }
    // each intruder changes place with a cavity element beyond S, then with the spare rows
    // beyond S; element and sphere exchanges go together
    int32_t next = 1;
    for (int32_t j = 1; j <= intruders; ++j) {
        while (next <= k && work(next) <= S) {
            ++next;
        }
        int32_t place = 0;
        if (next <= k) {
            place = work(next++);
        } else {
            place = NBE + 1 <= S ? NBE + 2 : NBE + 1 + spareMoves;
            spareFrom[spareMoves++] = work(k + j);
        }
        int code = nuperm(ITRNOE, ITRTRI, NOETRI, 1, total, work(k + j), place);
        if (code == kOk) {
            code = spperm(spheres, total, work(k + j), place);
        }
        if (code != kOk) {
            if (place > NBE) {
                --spareMoves;
            }
            return refuse(traced(code, kRoutine, "1 APPEL NUCOMP"));
        }
        exchanges(work(k + j), place);
    }
    return kOk;
}

int Insertion::refuse(int code)
{
    // the intruders sent to the spare rows come back, so that the spare rows end at
    // NBE + 1 and NBE + 2 again
    while (spareMoves > 0) {
        --spareMoves;
        const int32_t spare = NBE + 1 <= S ? NBE + 2 : NBE + 1 + spareMoves;
        int failure = nuperm(ITRNOE, ITRTRI, NOETRI, 1, total, spareFrom[spareMoves], spare);
        if (failure == kOk) {
            failure = spperm(spheres, total, spareFrom[spareMoves], spare);
        }
        if (failure != kOk) {
            return traced(failure, kRoutine, "1 APPEL NUCOMP");
        }
        exchanges(spareFrom[spareMoves], spare);
    }
    return code;
}

int Insertion::frontier()
{
    // rows 1..S hold the cavity and two empty rows (which have no face)
    int32_t count = 0;
    int code = tmafrt(2, ITRNOE, ITRTRI, S, faces, count);
    if (code != kOk) {
        return refuse(traced(code, kRoutine, "APPEL TMAFRT"));
    }
    if (2 * count > faces.count()) {
        return refuse(traced(kCapacityError, kRoutine, "ITVL TROP PETIT"));
    }
    // 4. count check: a simple region of k triangles with all its nodes on its frontier
    if (count < S) {
        (void)traced(kDataError, kRoutine, "UN SOMMET PERDU");
        return refuse(kPointRejected);
    }
    if (count > S) {
        (void)traced(kDataError, kRoutine, "PLUSIEURS COMPOSANTES CONNEXES");
        return refuse(kPointRejected);
    }
    return kOk;
}

void Insertion::faceNodes(int32_t L, int32_t& A, int32_t& B) const
{
    const int32_t e = faces(L, 1);
    const int32_t f = magnitude(faces(L, 2));
    A = ITRNOE(e, f);
    B = ITRNOE(e, f % 3 + 1);
}

int Insertion::rotate(int32_t e)
{
    if (strnbn(ITRNOE.row(e), ITRNOE.width()) != 3) {
        return traced(kDataError, kRoutine, " DONNEES INCORRECTES");
    }
    const int32_t n1 = ITRNOE(e, 1), n2 = ITRNOE(e, 2), n3 = ITRNOE(e, 3);
    if (n1 < 1 || n2 < 1 || n3 < 1 || n1 > COORD.count() || n2 > COORD.count() || n3 > COORD.count()) {
        return traced(kDataError, kRoutine, " DONNEES INCORRECTES");
    }
    float S3[2];
    if (!circleVector(COORD.row(n3), COORD.row(n1), COORD.row(n2), S3)) {
        return traced(kDataError, kRoutine, "APPEL SPCERC");
    }
    const int32_t t3 = ITRTRI(e, 3);
    ITRNOE(e, 1) = n3;
    ITRNOE(e, 2) = n1;
    ITRNOE(e, 3) = n2;
    ITRTRI(e, 3) = ITRTRI(e, 2);
    ITRTRI(e, 2) = ITRTRI(e, 1);
    ITRTRI(e, 1) = t3;
    spheres(e, 1) = S3[0];
    spheres(e, 2) = S3[1];
    return kOk;
}

int Insertion::checkFaces(float areaTolerance, float clearance)
{
    for (int32_t L = 1; L <= S; ++L) {
        const int32_t e = faces(L, 1);
        const int32_t across = ITRTRI(e, magnitude(faces(L, 2)));
        int32_t A = 0, B = 0;
        faceNodes(L, A, B);
        if (A > NOETRI.count() || B > NOETRI.count()) {
            return refuse(traced(kCapacityError, kRoutine, " TABLEAUX TROP PETITS"));
        }
        const float* a = COORD.row(A);
        const float* b = COORD.row(B);
        // too close to an outer or border face
        if (clearance > 0.0f && across <= 0 && clearance >= segmentDistance(2, x, a, b)) {
            return refuse(kPointRejected);
        }
        // flat or reversed new triangle: e (and its neighbour there) turn one place, so
        // that their circles are recomputed from another node. The area is exact (rounded to
        // double): in single precision a thin clockwise triangle can come out positive.
        const double area = 0.5 * exactTurn(a, b, x);
        if (area < double(areaTolerance)) {
            int code = rotate(e);
            if (code == kOk && across > 0) {
                code = rotate(across);
            }
            return refuse(code == kOk ? kPointRejected : code);
        }
        // a new triangle without circle (not met after the area check in practice)
        float circle[2];
        if (!circleVector(a, b, x, circle)) {
            return refuse(kPointRejected);
        }
    }
    return kOk;
}

int Insertion::mapFrontier()
{
    // NOETRI(A) = -L for the frontier face L = A -> B; a node starting two faces is a pinch
    for (int32_t L = 1; L <= S; ++L) {
        int32_t A = 0, B = 0;
        faceNodes(L, A, B);
        if (NOETRI(A) < 0) {
            unmapFrontier(L - 1);
            (void)traced(kDataError, kRoutine, "PLUSIEURS COMPOSANTES CONNEXES");
            return refuse(kPointRejected);
        }
        NOETRI(A) = -L;
    }
    // from face 1, each face leads to the one starting at its end: back at 1 after S faces
    int32_t current = 1;
    for (int32_t step = 1; step <= S; ++step) {
        int32_t A = 0, B = 0;
        faceNodes(current, A, B);
        const int32_t next = NOETRI(B) < 0 ? -NOETRI(B) : 0;
        if (next == 0 || (next == 1) != (step == S)) {
            unmapFrontier(S);
            (void)traced(kDataError, kRoutine, "PLUSIEURS COMPOSANTES CONNEXES");
            return refuse(kPointRejected);
        }
        current = next;
    }
    return kOk;
}

void Insertion::unmapFrontier(int32_t count)
{
    for (int32_t L = 1; L <= count; ++L) {
        int32_t A = 0, B = 0;
        faceNodes(L, A, B);
        NOETRI(A) = faces(L, 1);
    }
}

int Insertion::recordOuterFaces()
{
    for (int32_t L = 1; L <= S; ++L) {
        const int32_t e = faces(L, 1);
        const int32_t f = faces(L, 2);
        int32_t outer = 0;
        int32_t back = 0;
        if (ITRTRI(e, magnitude(f)) != 0) {
            const int code = sesfr1(e, magnitude(f), ITRTRI, total, outer, back);
            if (code != kOk || back == 0 || strnbn(ITRNOE.row(outer), ITRNOE.width()) != 3) {
                return refuse(traced(kDataError, kRoutine, "ERREUR TROU"));
            }
        }
        faces(S + L, 1) = outer;
        faces(S + L, 2) = f < 0 ? -back : back;
    }
    return kOk;
}

int Insertion::replaceCavity()
{
    // the nodes of the frontier faces, before the cavity goes
    for (int32_t L = 1; L <= S; ++L) {
        int32_t A = 0, B = 0;
        faceNodes(L, A, B);
        faces(L, 1) = A;
        faces(L, 2) = B;
    }
    // 7. the cavity elements go (their neighbours forget them)
    int32_t lost = 0;
    for (int32_t e = 1; e <= S; ++e) {
        if (ITRNOE(e, 1) == 0) {
            continue; // a spare row
        }
        const int code = smadet(2, ITRNOE, ITRTRI, total, NOETRI, 0, e, Vec<int32_t>(), lost);
        if (code != kOk) {
            return traced(code, kRoutine, "ERREUR DESTRUCTION");
        }
    }
    return writeFan();
}

int Insertion::writeFan()
{
    // 8. new triangle L = (A, B, P) in row L, linked to the others through P
    for (int32_t L = 1; L <= S; ++L) {
        const int32_t A = faces(L, 1);
        const int32_t B = faces(L, 2);
        for (int32_t j = 1; j <= ITRNOE.width(); ++j) {
            ITRNOE(L, j) = j == 1 ? A : j == 2 ? B : j == 3 ? P : 0;
        }
        for (int32_t j = 1; j <= ITRTRI.width(); ++j) {
            ITRTRI(L, j) = 0;
        }
    }
    // triangle t and the triangle s whose first node is t's second share the face B_t -> P
    // (face 2 of t, face 3 of s); the frontier map gives s at once
    for (int32_t t = 1; t <= S; ++t) {
        const int32_t s = -NOETRI(ITRNOE(t, 2));
        ITRTRI(t, 2) = s;
        ITRTRI(s, 3) = t;
    }
    // 9. their circles
    for (int32_t L = 1; L <= S; ++L) {
        if (spcerc(ITRNOE, L, COORD, spheres) != kOk) {
            return traced(kDataError, kRoutine, "APPEL SPCERC");
        }
    }
    return kOk;
}

int Insertion::glue()
{
    // the new frontier is face 1 of each new triangle, which starts at a frontier node
    Rows<int32_t> newFaces(faces.data(), 2, S);
    int32_t count = 0;
    const int code = tmafrt(2, ITRNOE, ITRTRI, S, newFaces, count);
    if (code != kOk || count != S) {
        return traced(code != kOk ? code : kDataError, kRoutine, "FRONTIERE T CREES");
    }
    for (int32_t L = 1; L <= S; ++L) {
        const int32_t outer = faces(S + L, 1);
        if (outer == 0) {
            continue;
        }
        const int32_t g = magnitude(faces(S + L, 2));
        const int32_t sign = faces(S + L, 2) < 0 ? -1 : 1;
        // the new face that starts where the outer face ends
        const int32_t second = ITRNOE(outer, g % 3 + 1);
        const int32_t t = NOETRI(second) < 0 ? -NOETRI(second) : 0;
        if (t == 0) {
            ITRTRI(outer, g) = 0;
            continue;
        }
        ITRTRI(t, 1) = sign * outer;
        ITRTRI(outer, g) = sign * t;
    }
    return kOk;
}

void Insertion::finish(int32_t& count, int32_t& created)
{
    // every frontier node is node 1 of a new triangle: the map goes
    NOETRI(P) = 1;
    for (int32_t t = 1; t <= S; ++t) {
        for (int32_t i = 1; i <= 3; ++i) {
            NOETRI(ITRNOE(t, i)) = t;
        }
    }
    count = total;
    created = S;
}

} // namespace

int trajpo(int32_t P, int32_t start, Rows<int32_t> ITRNOE, Rows<int32_t> ITRTRI, Vec<int32_t> NOETRI, int32_t& NBE,
           Rows<const float> COORD, Rows<float> spheres, Vec<int32_t> work, float areaTolerance, float clearance,
           int32_t& created, const RowExchanges& exchanges, InsertionWay way)
{
    created = 0;
    // 0. arguments and room for the two spare rows
    if (ITRNOE.width() < 3 || ITRTRI.width() < 3 || COORD.width() < 2 || spheres.width() < 2 || NBE < 0 || P < 1 ||
        P > COORD.count() || start < 0 || start > NBE) {
        return traced(kDataError, kRoutine, " DONNEES INCORRECTES");
    }
    if (ITRTRI.width() > kMaxExchangeFaces || spheres.width() > kMaxSphereRecord || P > NOETRI.count() ||
        int64_t(NBE) + 2 > ITRNOE.count() || int64_t(NBE) + 2 > ITRTRI.count() ||
        int64_t(NBE) + 2 > spheres.count()) {
        return traced(kCapacityError, kRoutine, " TABLEAUX TROP PETITS");
    }
    Insertion insertion(P, ITRNOE, ITRTRI, NOETRI, NBE, COORD, spheres, work, exchanges);
    int code = insertion.cavity(start);
    if (code != kOk) {
        return code;
    }
    // a small cavity whose checks pass in place goes without being brought to the front
    if (way == InsertionWay::inPlace && insertion.acceptedInPlace(areaTolerance, clearance)) {
        if ((code = insertion.replaceInPlace()) != kOk || (code = insertion.glue()) != kOk) {
            return code;
        }
        insertion.finish(NBE, created);
        return kOk;
    }
    // 1. cavity, 2. brought to the front with the spare rows, 3.-4. its frontier,
    // 5. the checks of each new triangle, 6. the outer faces to glue back, then the
    // frontier must close once through distinct nodes (mapped in NOETRI from here on)
    if ((code = insertion.toFront()) != kOk ||
        (code = insertion.frontier()) != kOk || (code = insertion.checkFaces(areaTolerance, clearance)) != kOk ||
        (code = insertion.recordOuterFaces()) != kOk || (code = insertion.mapFrontier()) != kOk) {
        return code;
    }
    // 7.-9. the fan of P replaces the cavity, 10. glued to the outside, 11. NOETRI
    if ((code = insertion.replaceCavity()) != kOk || (code = insertion.glue()) != kOk) {
        return code;
    }
    insertion.finish(NBE, created);
    return kOk;
}

} // namespace tesmo
