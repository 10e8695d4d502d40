// The triangles crossed by a border edge ab.
//
// A point x lies on the line of ab when twice the area of a b x is below eps = |Pb - Pa|^2
// 1e-10: an area against an area, so that the test is the same at every scale (x within
// 1e-10 |ab| of the line); the sides of the line are the exact signs of that area, computed
// from the stored single-precision coordinates. The first triangle is the one about a whose
// face opposite a is cut by the ray a -> b, the last the one about b whose face opposite b is
// cut by the ray b -> a. Between them the walk enters each triangle by one side and leaves it
// by the other side the line cuts:
//
//      a ---- first ---- t2 ---- t3 ---- ... ---- last ---- b
//
// A triangle of the walk with a node on the line would let ab pass through that node; the
// walk refuses it, as it refuses a triangle that the line does not cross side to side.
#include "triangulation/m3_inter2d.hpp"

#include "geometry/cg_predicat.hpp"
#include "messages/es_erreur.hpp"
#include "topology/st_2dstruct.hpp"
#include "topology/st_struct.hpp"

namespace tesmo {

namespace {

int32_t magnitude(int32_t entry) { return entry < 0 ? -entry : entry; }

/// The side of x against the line of the edge p -> q: +1 left, -1 right, 0 on the line.
int sideOfEdge(const float* p, const float* q, const float* x) { return sideOfLine(p, q, x, double(kOnLineFactor)); }

/// The sides of triangle e that the line of p -> q crosses, as indrpo lists them: side l
/// (node l to node l mod 3 + 1) when its end node has the strict side opposite to the last
/// strict side met from node 1. `onLine` tells that a node lies on the line.
void crossedSidesOf(Rows<const int32_t> ITRNOE, int32_t e, Rows<const float> COORD, const float* p, const float* q,
                    int32_t* sides, int32_t& sideCount, bool& onLine)
{
    int sign[3];
    onLine = false;
    for (int32_t i = 0; i < 3; ++i) {
        sign[i] = sideOfEdge(p, q, COORD.row(ITRNOE(e, i + 1)));
        onLine = onLine || sign[i] == 0;
    }
    sideCount = 0;
    int last = sign[0];
    for (int32_t l = 1; l <= 3; ++l) {
        const int current = sign[l % 3];
        if (current == 0) {
            continue;
        }
        if (last != 0 && current != last) {
            sides[sideCount++] = l;
        }
        last = current;
    }
}

/// Position (from 1) of node v in triangle e, 0 when absent or when e is not a triangle.
int32_t positionInTriangle(Rows<const int32_t> ITRNOE, int32_t e, int32_t v)
{
    if (strnbn(ITRNOE.row(e), ITRNOE.width()) != 3) {
        return 0;
    }
    for (int32_t i = 1; i <= 3; ++i) {
        if (ITRNOE(e, i) == v) {
            return i;
        }
    }
    return 0;
}

/// True when the three nodes of triangle e have coordinates.
bool hasCoordinates(Rows<const int32_t> ITRNOE, int32_t e, Rows<const float> COORD)
{
    for (int32_t i = 1; i <= 3; ++i) {
        if (ITRNOE(e, i) < 1 || ITRNOE(e, i) > COORD.count()) {
            return false;
        }
    }
    return true;
}

bool tablesHold(Rows<const int32_t> ITRNOE, Rows<const int32_t> ITRTRI, int32_t NBE)
{
    return NBE >= 0 && NBE <= ITRNOE.count() && NBE <= ITRTRI.count() && ITRNOE.width() >= 3 &&
           ITRTRI.width() >= 3;
}

} // namespace

int trdbse(int32_t p, int32_t q, Rows<const int32_t> ITRNOE, Rows<const int32_t> ITRTRI, Vec<const int32_t> NOETRI,
           int32_t NBE, Rows<const float> COORD, int32_t& element, int32_t& face, double band)
{
    element = 0;
    face = 0;
    if (p < 1 || p > COORD.count() || q < 1 || q > COORD.count() || COORD.width() < 2 ||
        !tablesHold(ITRNOE, ITRTRI, NBE)) {
        return traced(kDataError, "TRDBSE", " ARGUMENTS INCORRECTS");
    }
    const float* Pp = COORD.row(p);
    const float* Pq = COORD.row(q);
    if (Pp[0] == Pq[0] && Pp[1] == Pq[1]) {
        return traced(kDataError, "TRDBSE", "APPEL DR2PO");
    }
    // 1. where the walk about p stops
    int32_t start = 0;
    int32_t startFace = 0;
    if (sesfr2(p, 2, ITRNOE, ITRTRI, NOETRI, NBE, start, startFace) != kOk || start == 0) {
        return traced(kDataError, "TRDBSE", "1 APPEL SESFR2");
    }
    // 2. the triangles about p one by one, crossing the face (p, W)
    int32_t here = start;
    for (int32_t steps = 0; steps < NBE; ++steps) {
        const int32_t h = positionInTriangle(ITRNOE, here, p);
        if (h == 0 || !hasCoordinates(ITRNOE, here, COORD)) {
            return traced(kDataError, "TRDBSE", "STRUCTURE INCORRECTE");
        }
        const int32_t after = h % 3 + 1;
        const float* PW = COORD.row(ITRNOE(here, after));
        const float* PU = COORD.row(ITRNOE(here, after % 3 + 1));
        // U and W on either side of the line pq, and q on the side of pW where U lies: the
        // ray leaves p between W and U
        const int sideU = sideOfLine(Pp, Pq, PU, band);
        const int sideW = sideOfLine(Pp, Pq, PW, band);
        const bool apart = sideU != 0 && sideW != 0 && sideU != sideW;
        if (apart && orientation(Pp, PW, Pq) * orientation(Pp, PW, PU) > 0) {
            element = here;
            face = after; // the face (W, U) opposite p
            return kOk;
        }
        int32_t next = 0;
        int32_t back = 0;
        if (sesfr1(here, h, ITRTRI, NBE, next, back) != kOk) {
            return traced(kDataError, "TRDBSE", "STRUCTURE INCORRECTE");
        }
        if (next == 0 || next == start) {
            break;
        }
        here = next;
    }
    return traced(kDataError, "TRDBSE", "1 APPEL SESFR2");
}

int tritse(Vec<const int32_t> edge, Rows<const int32_t> ITRNOE, Rows<const int32_t> ITRTRI,
           Vec<const int32_t> NOETRI, int32_t NBE, Rows<const float> COORD, Vec<int32_t> crossed, int32_t& count)
{
    count = 0;
    auto fail = [&](int code, std::string_view text) {
        count = code;
        return traced(code, "TRITSE", text);
    };
    if (edge.count() < 2) {
        return fail(kDataError, " ARETE INCOMPLETE");
    }
    const int32_t a = edge(1);
    const int32_t b = edge(2);
    if (a < 1 || b < 1 || a > COORD.count() || b > COORD.count() || a > NOETRI.count() || b > NOETRI.count() ||
        a == b || COORD.width() < 2 || !tablesHold(ITRNOE, ITRTRI, NBE)) {
        return fail(kDataError, " ARETE INCORRECTE");
    }
    // 1. ab already an edge
    EdgeSides sides;
    if (sfri2d(a, b, 2, ITRNOE, ITRTRI, NOETRI, NBE, sides) != kOk) {
        return fail(kDataError, "APPEL SFRI2D");
    }
    if (sides.E1 != 0 || sides.E2 != 0) {
        return kOk;
    }
    // 2. the triangle leaving a
    int32_t first = 0;
    int32_t firstFace = 0;
    if (trdbse(a, b, ITRNOE, ITRTRI, NOETRI, NBE, COORD, first, firstFace) != kOk) {
        const bool connected = NOETRI(a) > 0 && NOETRI(b) > 0;
        mgerre(kConsoleDevice, kDataError, "TRITSE",
               connected ? "FRONTIERE HORS DU MAILLAGE" : "POINT DE FRONTIERE NON CONNECTE");
        return fail(kDataError, "1 APPEL TRDBSE");
    }
    int32_t listed = 0;
    if (crossed.count() < 1) {
        return fail(kCapacityError, "1 TROP D INTERSECTIONS");
    }
    crossed(++listed) = first;
    // 3. the triangle reaching b
    int32_t last = 0;
    int32_t lastFace = 0;
    if (trdbse(b, a, ITRNOE, ITRTRI, NOETRI, NBE, COORD, last, lastFace) != kOk || last == first) {
        return fail(kDataError, "2 APPEL TRDBSE");
    }
    // 4. the line of ab: a and b apart
    const float* Pa = COORD.row(a);
    const float* Pb = COORD.row(b);
    if (Pa[0] == Pb[0] && Pa[1] == Pb[1]) {
        return fail(kDataError, "1 APPEL DR2PO");
    }
    // 5. the walk from the first triangle to the last
    int32_t previous = first;
    int32_t current = magnitude(ITRTRI(first, firstFace));
    while (current != last) {
        if (current < 1 || current > NBE || !hasCoordinates(ITRNOE, current, COORD) ||
            strnbn(ITRNOE.row(current), ITRNOE.width()) != 3) {
            return fail(kDataError, " SORTIE DU MAILLAGE");
        }
        if (listed >= NBE - 1) {
            return fail(kDataError, " PARCOURS SANS FIN"); // more triangles than the mesh holds
        }
        if (listed >= crossed.count()) {
            return fail(kCapacityError, " TROP D INTERSECTIONS");
        }
        crossed(++listed) = current;
        int32_t sideList[3];
        int32_t sideCount = 0;
        bool onLine = false;
        crossedSidesOf(ITRNOE, current, COORD, Pa, Pb, sideList, sideCount, onLine);
        if (onLine) {
            return fail(kDataError, " NOEUD SUR LA FRONTIERE");
        }
        if (sideCount != 2) {
            return fail(kDataError, " TRIANGLE NON TRAVERSE");
        }
        int32_t next = magnitude(ITRTRI(current, sideList[0]));
        if (next == previous) {
            next = magnitude(ITRTRI(current, sideList[1]));
        }
        previous = current;
        current = next;
    }
    // 6. the last triangle
    if (listed >= crossed.count()) {
        return fail(kCapacityError, "2 TROP D INTERSECTIONS");
    }
    crossed(++listed) = last;
    count = listed;
    return kOk;
}

} // namespace tesmo
