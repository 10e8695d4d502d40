// Recovery of a missing border edge ab.
//
// The k triangles crossed by ab form a strip whose frontier is a polygon of k + 2 vertices
// with a and b among them. The strip is moved to rows 1..k, the outside faces along its
// frontier are recorded, and the polygon is cut along ab into two polygons of n1 and n2
// vertices (n1 + n2 = k + 4), each triangulated with the best smallest quality. The
// (n1 - 2) + (n2 - 2) = k new triangles take rows 1..k back and are glued to the recorded
// faces, so the count of elements and the covered area do not change. For k = 2 this is
// the exchange of a diagonal:
//
//          u                      u
//        / | \                  /   \     the two triangles on either side of uv, the
//       a  |  b      ->        a-----b    edge cut by ab, become two triangles sharing ab
//        \ | /                  \   /
//          v                      v
//
// The strip need not be a simple polygon: a triangle below ab can have its three sides on
// three triangles of the strip, which then wraps round it. And the polygon search rates
// triangles in single precision, so the triangulation it keeps is checked with exact signs
// before it replaces the strip. Whenever the re-triangulation cannot take the strip (a frontier
// of another size, touching itself or closing in fewer than 4 sides, a polygon without ab, a
// triangle flat or reversed), ab is left missing and the mesh as it was. The edge is then
// restored by exchanging the diagonals that cross it (rf2dia), which cannot fail unless a node
// lies on ab; where the re-triangulation succeeds, it alone decides the triangles.
#include "triangulation/m3_respect.hpp"

#include "geometry/cg_predicat.hpp"
#include "messages/es_erreur.hpp"
#include "topology/st_2dstruct.hpp"
#include "topology/st_ensemble.hpp"
#include "topology/st_numero.hpp"
#include "topology/st_struct.hpp"
#include "topology/st_topologie.hpp"
#include "triangulation/m3_diagonale.hpp"
#include "triangulation/m3_inter2d.hpp"
#include "triangulation/m3_tripo.hpp"
#include "triangulation/st_polygon.hpp"

#include <algorithm>
#include <string_view>

namespace tesmo {

namespace {

int32_t magnitude(int32_t entry) { return entry < 0 ? -entry : entry; }

/// Consecutive areas taken from the start of a work array; `failed` once one did not fit.
class Carver {
public:
    explicit Carver(Vec<int32_t> work, int32_t from = 1) : work_(work), next_(from) {}
    Vec<int32_t> take(int64_t length)
    {
        if (failed_ || length < 0 || int64_t(next_) - 1 + length > work_.count()) {
            failed_ = true;
            return Vec<int32_t>();
        }
        const Vec<int32_t> area = work_.slice(next_, int32_t(length));
        next_ += int32_t(length);
        return area;
    }
    Rows<int32_t> rows(int32_t width, int32_t count)
    {
        const Vec<int32_t> area = take(int64_t(width) * count);
        return failed_ ? Rows<int32_t>() : Rows<int32_t>(area.data(), width, count);
    }
    Vec<int32_t> rest() { return failed_ ? Vec<int32_t>() : take(int64_t(work_.count()) - next_ + 1); }
    bool failed() const { return failed_; }
    int32_t next() const { return next_; }

private:
    Vec<int32_t> work_;
    int32_t next_;
    bool failed_ = false;
};

/// The first k rows of a table.
template <class T>
Rows<T> firstRows(Rows<T> table, int32_t k)
{
    return Rows<T>(table.data(), table.width(), k);
}

/// Face of element y holding e (either sign), 0 when none.
int32_t faceHolding(Rows<const int32_t> ITRTRI, int32_t y, int32_t e)
{
    for (int32_t m = 1; m <= ITRTRI.width(); ++m) {
        if (magnitude(ITRTRI(y, m)) == e) {
            return m;
        }
    }
    return 0;
}

/// Sorts the crossed list and checks it names distinct elements of 1..NBE.
bool sortedDistinct(Vec<int32_t> crossed, int32_t NBE)
{
    enstri(crossed);
    for (int32_t i = 1; i <= crossed.count(); ++i) {
        if (crossed(i) < 1 || crossed(i) > NBE || (i > 1 && crossed(i) == crossed(i - 1))) {
            return false;
        }
    }
    return true;
}

/// Step 5: for each frontier face with an element outside, that element and its face back
/// to the strip, signed like the frontier face.
[[nodiscard]] int recordOutside(Rows<const int32_t> frontier, int32_t faces, Rows<const int32_t> ITRTRI,
                                int32_t NBE, Rows<int32_t> outside, int32_t& outsideCount)
{
    outsideCount = 0;
    for (int32_t i = 1; i <= faces; ++i) {
        const int32_t e = frontier(i, 1);
        const int32_t f = frontier(i, 2);
        const int32_t y = magnitude(ITRTRI(e, magnitude(f)));
        if (y == 0) {
            continue;
        }
        const int32_t back = y <= NBE ? faceHolding(ITRTRI, y, e) : 0;
        if (back == 0 || outsideCount >= outside.count()) {
            return traced(kDataError, "RF2FAR", "ERREUR TROU");
        }
        ++outsideCount;
        outside(outsideCount, 1) = y;
        outside(outsideCount, 2) = f < 0 ? -back : back;
    }
    return kOk;
}

/// Step 8: the two polygons triangulated into the rows of `triangles`, first polygon first.
[[nodiscard]] int triangulateBoth(Vec<const int32_t> first, Vec<const int32_t> second, Rows<const float> COORD,
                                  Vec<int32_t> work, Vec<float> rwork, Rows<int32_t> triangles, WorkShortage* shortage)
{
    int32_t row = 0;
    for (const Vec<const int32_t> polygon : {first, second}) {
        float best = 0.0f;
        const int code = trpls2(polygon, COORD, work, rwork, best, trrilf, shortage);
        if (code != kOk) {
            return traced(code, "RF2FAR", row == 0 ? " PREMIER APPEL TRPLS2" : " DEUXIEME APPEL TRPLS2");
        }
        const int32_t count = polygon.count() - 2;
        if (row + count > triangles.count()) {
            return traced(kDataError, "RF2FAR", " NOMBRE DE TRIANGLES INCORRECT");
        }
        for (int32_t t = 1; t <= count; ++t) {
            for (int32_t j = 1; j <= 3; ++j) {
                triangles(row + t, j) = work(3 * (t - 1) + j);
            }
        }
        row += count;
    }
    if (row != triangles.count()) {
        return traced(kDataError, "RF2FAR", " NOMBRE DE TRIANGLES INCORRECT");
    }
    return kOk;
}

/// Undoes step 2 when the strip is left as it was: the exchanges of nucomp, last first, so
/// that the tables are those rf2far was given. Returns 0 or the code of an exchange.
[[nodiscard]] int restoreOrder(Vec<const int32_t> crossed, Rows<int32_t> ITRNOE, Rows<int32_t> ITRTRI,
                               Vec<int32_t> NOETRI, int32_t NBE)
{
    for (int32_t i = crossed.count(); i >= 1; --i) {
        const int code = nuperm(ITRNOE, ITRTRI, NOETRI, 1, NBE, crossed(i), i);
        if (code != kOk) {
            return traced(code, "RF2FAR", " APPEL NUPERM");
        }
    }
    return kOk;
}

/// A strip the re-triangulation cannot take: the reason told as a notice, the tables given
/// back as they came and ab left missing, code 0, so that the exchanges of diagonals restore
/// it. Returns 0 or the code of an exchange.
[[nodiscard]] int leaveMissing(std::string_view why, Vec<const int32_t> crossed, Rows<int32_t> ITRNOE,
                               Rows<int32_t> ITRTRI, Vec<int32_t> NOETRI, int32_t NBE)
{
    mgerre(kConsoleDevice, kOk, "RF2FAR", why);
    return restoreOrder(crossed, ITRNOE, ITRTRI, NOETRI, NBE);
}

/// True when no node stands twice in the polygon (a frontier that touches itself at a node).
bool distinctVertices(Vec<const int32_t> polygon)
{
    for (int32_t i = 2; i <= polygon.count(); ++i) {
        for (int32_t j = 1; j < i; ++j) {
            if (polygon(i) == polygon(j)) {
                return false;
            }
        }
    }
    return true;
}

/// True when every triangle of `triangles` turns counter-clockwise, exactly.
bool allCounterClockwise(Rows<const int32_t> triangles, Rows<const float> COORD)
{
    for (int32_t t = 1; t <= triangles.count(); ++t) {
        if (orientation(COORD.row(triangles(t, 1)), COORD.row(triangles(t, 2)), COORD.row(triangles(t, 3))) <= 0) {
            return false;
        }
    }
    return true;
}

/// Step 11: each recorded outside face (y, g) is glued to the new frontier face running over
/// the same two nodes the other way; one left without partner becomes an outer face.
[[nodiscard]] int glueOutside(Rows<const int32_t> outside, int32_t outsideCount, Rows<const int32_t> frontier,
                              int32_t faces, Rows<int32_t> ITRNOE, Rows<int32_t> ITRTRI)
{
    for (int32_t i = 1; i <= outsideCount; ++i) {
        const int32_t y = outside(i, 1);
        const int32_t g = outside(i, 2);
        LocalSet nodes;
        if (tnofrt(2, ITRNOE, y, g, nodes) != kOk || nodes.count != 2) {
            return traced(kDataError, "RF2FAR", " FACE EXTERIEURE INCORRECTE");
        }
        const int32_t sign = g < 0 ? -1 : 1;
        ITRTRI(y, magnitude(g)) = 0;
        for (int32_t j = 1; j <= faces; ++j) {
            const int32_t t = frontier(j, 1);
            const int32_t f = magnitude(frontier(j, 2));
            if (ITRNOE(t, f) == nodes(2) && ITRNOE(t, f % 3 + 1) == nodes(1) && ITRTRI(t, f) == 0) {
                ITRTRI(t, f) = sign * y;
                ITRTRI(y, magnitude(g)) = sign * t;
                break;
            }
        }
    }
    return kOk;
}

} // namespace

int rf2far(Vec<const int32_t> edge, Vec<int32_t> crossed, Rows<int32_t> ITRNOE, Rows<int32_t> ITRTRI,
           Vec<int32_t> NOETRI, int32_t NBE, Rows<const float> COORD, Vec<int32_t> iwork, Vec<float> rwork,
           WorkShortage* shortage)
{
    const int32_t k = crossed.count();
    if (edge.count() < 2 || k < 1 || k > NBE || NBE > ITRNOE.count() || NBE > ITRTRI.count() ||
        ITRNOE.width() < 3 || ITRTRI.width() < 3) {
        return traced(kDataError, "RF2FAR", " ARGUMENTS INCORRECTS");
    }
    const int32_t a = edge(1);
    const int32_t b = edge(2);
    // 1. work: frontier faces, outside faces, polygon, then the chain of frontier edges
    if (int64_t(iwork.count()) < 8 * int64_t(k) + 10) {
        return traced(kCapacityError, "RF2FAR", " TABLEAU D ENTIERS TROP PETIT");
    }
    const int32_t sides = k + 2;
    Carver carver(iwork);
    const Rows<int32_t> frontier = carver.rows(2, 3 * k);
    const Rows<int32_t> outside = carver.rows(2, sides);
    const Vec<int32_t> polygon = carver.take(sides);
    const int32_t chainStart = carver.next();
    const Rows<int32_t> chainNodes = carver.rows(2, sides);
    const Rows<int32_t> chainNeighbours = carver.rows(2, sides);
    const Vec<int32_t> chainWork = carver.rest();
    if (carver.failed()) {
        return traced(kCapacityError, "RF2FAR", " TABLEAU D ENTIERS TROP PETIT");
    }
    // 2. the crossed triangles to rows 1..k
    if (!sortedDistinct(crossed, NBE)) {
        return traced(kDataError, "RF2FAR", " LISTE DES TRIANGLES INCORRECTE");
    }
    int code = nucomp(ITRNOE, ITRTRI, NOETRI, 1, NBE, crossed);
    if (code != kOk) {
        return traced(code, "RF2FAR", " APPEL NUCOMP");
    }
    // 3. their frontier: k + 2 faces for a strip without hole
    int32_t faces = 0;
    if ((code = tmafrt(2, ITRNOE, ITRTRI, k, frontier, faces)) != kOk) {
        return traced(code, "RF2FAR", " APPEL TMAFRT");
    }
    if (faces != sides) {
        return leaveMissing(" CARDINAL POLYGONE ?", crossed, ITRNOE, ITRTRI, NOETRI, NBE);
    }
    // 4. the frontier as a closed chain of edges; one that cannot be oriented touches itself
    if ((code = sfrcre(2, frontier, faces, ITRNOE, NBE, chainNodes, chainNeighbours, chainWork)) != kOk) {
        (void)traced(code, "RF2FAR", " APPEL SFRCRE");
        return code == kDataError ? leaveMissing(" POLYGONE NON SIMPLE", crossed, ITRNOE, ITRTRI, NOETRI, NBE)
                                  : code;
    }
    // 5. the outside faces against the strip
    int32_t outsideCount = 0;
    if ((code = recordOutside(frontier, faces, ITRTRI, NBE, outside, outsideCount)) != kOk) {
        return code;
    }
    // 6. the cavity polygon
    int32_t n = 0;
    if ((code = artopl(chainNodes, chainNeighbours, faces, polygon, n)) != kOk) {
        if (code != kDataError) {
            return traced(code, "RF2FAR", " APPEL ARTOPL");
        }
        // the frontier is no single loop: the strip wraps round triangles it does not hold
        return leaveMissing(" POLYGONE NON SIMPLE", crossed, ITRNOE, ITRTRI, NOETRI, NBE);
    }
    if (n < 4) {
        // the loop found closes early: the frontier touches itself at a node
        return leaveMissing(" POLYGONE A MOINS DE 4 COTES", crossed, ITRNOE, ITRTRI, NOETRI, NBE);
    }
    if (n != faces || !distinctVertices(polygon.slice(1, n))) {
        return leaveMissing(" POLYGONE NON SIMPLE", crossed, ITRNOE, ITRTRI, NOETRI, NBE);
    }
    // 7. split along ab; the chain's room now holds the two polygons, the new triangles and
    //    the work of the later steps
    Carver after(iwork, chainStart);
    const Vec<int32_t> firstPolygon = after.take(n);
    const Vec<int32_t> secondPolygon = after.take(n);
    const Rows<int32_t> triangles = after.rows(3, k);
    const Vec<int32_t> work = after.rest();
    if (after.failed() || work.count() < 1) {
        return traced(kCapacityError, "RF2FAR", " TABLEAU D ENTIERS TROP PETIT");
    }
    int32_t n1 = 0;
    int32_t n2 = 0;
    if ((code = splipl(polygon.slice(1, n), a, b, firstPolygon, n1, secondPolygon, n2)) != kOk) {
        (void)traced(code, "RF2FAR", " APPEL SPLIPL");
        return code == kDataError ? leaveMissing(" POLYGONE SANS L ARETE", crossed, ITRNOE, ITRTRI, NOETRI, NBE)
                                  : code;
    }
    // 8. both polygons triangulated
    if ((code = triangulateBoth(firstPolygon.slice(1, n1), secondPolygon.slice(1, n2), COORD, work, rwork,
                                triangles, shortage)) != kOk) {
        return code == kDataError ? leaveMissing(" POLYGONE NON TRIANGULE", crossed, ITRNOE, ITRTRI, NOETRI, NBE)
                                  : code;
    }
    if (!allCounterClockwise(triangles, COORD)) {
        return leaveMissing(" TRIANGLE PLAT OU RETOURNE", crossed, ITRNOE, ITRTRI, NOETRI, NBE);
    }
    // 9. the crossed triangles deleted
    int32_t lostCount = 0;
    for (int32_t e = 1; e <= k; ++e) {
        if ((code = smadet(2, ITRNOE, ITRTRI, NBE, NOETRI, 1, e, work, lostCount)) != kOk) {
            return traced(code, "RF2FAR", " APPEL SMADET");
        }
    }
    // 10. the new triangles in rows 1..k, with their neighbours among themselves
    for (int32_t t = 1; t <= k; ++t) {
        for (int32_t j = 1; j <= ITRNOE.width(); ++j) {
            ITRNOE(t, j) = j <= 3 ? triangles(t, j) : 0;
        }
    }
    const Rows<int32_t> rows = firstRows(ITRNOE, k);
    if ((code = smacre(2, rows, k, 0, rows, firstRows(ITRTRI, k), Vec<int32_t>(), work)) != kOk) {
        return traced(code, "RF2FAR", " APPEL SMACRE");
    }
    // 11. their frontier glued to the outside
    if ((code = tmafrt(2, ITRNOE, ITRTRI, k, frontier, faces)) != kOk) {
        return traced(code, "RF2FAR", " APPEL TMAFRT");
    }
    if ((code = glueOutside(outside, outsideCount, frontier, faces, ITRNOE, ITRTRI)) != kOk) {
        return code;
    }
    // 12. NOETRI of their nodes
    for (int32_t t = 1; t <= k; ++t) {
        for (int32_t j = 1; j <= 3; ++j) {
            if (ITRNOE(t, j) < 1 || ITRNOE(t, j) > NOETRI.count()) {
                return traced(kDataError, "RF2FAR", " NOEUD HORS DE NOETRI");
            }
            NOETRI(ITRNOE(t, j)) = t;
        }
    }
    return kOk;
}

int rf2rar(Vec<const int32_t> edge, Rows<int32_t> ITRNOE, Rows<int32_t> ITRTRI, Vec<int32_t> NOETRI, int32_t NBE,
           Rows<const float> COORD, Vec<int32_t> iwork, Vec<float> rwork, int32_t& crossed, WorkShortage* shortage)
{
    crossed = 0;
    // 1. the crossed triangles, listed at the start of the integer work; a walk that meets a
    //    node within the tolerance of ab goes to the exchanges
    int code = tritse(edge, ITRNOE, ITRTRI, NOETRI, NBE, COORD, iwork, crossed);
    if (code == kCapacityError) {
        return traced(code, "RF2RAR", " APPEL TRITSE");
    }
    if (code == kOk && crossed == 0) {
        return kOk;
    }
    // 2. their replacement
    if (code == kOk) {
        code = rf2far(edge, iwork.slice(1, crossed), ITRNOE, ITRTRI, NOETRI, NBE, COORD,
                      iwork.slice(crossed + 1, iwork.count() - crossed), rwork, shortage);
        if (code != kOk) {
            return traced(code, "RF2RAR", " APPEL RF2FAR");
        }
        EdgeSides sides;
        const bool present = sfri2d(edge(1), edge(2), 2, ITRNOE, ITRTRI, NOETRI, NBE, sides) == kOk &&
                             (sides.E1 != 0 || sides.E2 != 0);
        if (present) {
            return kOk;
        }
    }
    // 3. ab still missing: the diagonals that cross it exchanged; when they cannot help a
    //    refused walk either (a node on ab), the walk's refusal is the one told
    const bool walkRefused = code != kOk;
    code = rf2dia(edge, ITRNOE, ITRTRI, NOETRI, NBE, COORD, iwork);
    if (code != kOk) {
        return traced(code, "RF2RAR", walkRefused ? " APPEL TRITSE" : " APPEL RF2DIA");
    }
    return kOk;
}

} // namespace tesmo
