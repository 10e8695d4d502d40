// Removal of the triangles outside a zone.
//
// Once every border edge of the zone is an edge of the triangulation, the border edges cut
// it into regions. Marking them (negative neighbour entries) stops the floods, which cross
// unmarked edges only. A border edge on the outer boundary has the zone on its one side: the
// region there is inside. Across a border edge with a signed region on one side, the other
// side gets the opposite sign. When no border edge lies on the outer boundary, the region
// of the first element with an outer face is outside. The border edges are visited
// cyclically until every element has a sign; a whole cycle that signs nothing new means a
// region no border edge reaches, and the visit stops there.
#include "triangulation/m2_sculpture.hpp"

#include "messages/es_erreur.hpp"
#include "topology/st_ensemble.hpp"
#include "topology/st_numero.hpp"
#include "topology/st_struct.hpp"
#include "topology/st_topologie.hpp"

#include <algorithm>

namespace tesmo {

namespace {

/// The first element, in element order, with a face on the outer boundary; 0 when none.
[[nodiscard]] int firstOuterElement(int32_t d, Rows<const int32_t> ITRNOE, Rows<const int32_t> ITRTRI, int32_t NBE,
                                    int32_t& element)
{
    element = 0;
    for (int32_t e = 1; e <= NBE; ++e) {
        int32_t faces = 0;
        const int code = strnbc(strnbn(ITRNOE.row(e), ITRNOE.width()), d, faces);
        if (code != kOk) {
            return code;
        }
        for (int32_t k = 1; k <= std::min(faces, ITRTRI.width()); ++k) {
            if (ITRTRI(e, k) == 0) {
                element = e;
                return kOk;
            }
        }
    }
    return kOk;
}

/// The flood a border edge calls for: the seed, its sign and the trace of its failure;
/// seed 0 when the edge calls for none.
struct Flood {
    int32_t seed = 0;
    int32_t sign = 0;
    const char* trace = "";
};

Flood floodAcross(const EdgeSides& sides, Vec<const int32_t> signs)
{
    Flood flood;
    if (sides.E1 == 0) {
        if (sides.E2 != 0 && signs(sides.E2) == 0) {
            flood = {sides.E2, kInsideRegion, " 1 APPEL SCRGCC"};
        }
    } else if (sides.E2 == 0) {
        if (signs(sides.E1) == 0) {
            flood = {sides.E1, kInsideRegion, " 2 APPEL SCRGCC"};
        }
    } else {
        const int32_t s1 = signs(sides.E1);
        const int32_t s2 = signs(sides.E2);
        if (s1 == 0 && s2 != 0) {
            flood = {sides.E1, -s2, " 3 APPEL SCRGCC"};
        } else if (s1 != 0 && s2 == 0) {
            flood = {sides.E2, -s1, " 4 APPEL SCRGCC"};
        }
    }
    return flood;
}

/// Step 7: every face of the kept elements with no element across (0) must lie on a border
/// edge: a region that a border does not close (an open line carrying the zone alone, whose
/// zone would be the hull of the line) leaves such a face. `marks` (NBE entries) records, face
/// by face as bits, the outer faces found on a border edge. Returns 0, or -1 for an outer face
/// on no border edge (" BORD HORS DES FRONTIERES") or a failed location.
[[nodiscard]] int checkBoundary(Rows<int32_t> border, int32_t d, Rows<const int32_t> ITRNOE,
                                Rows<const int32_t> ITRTRI, Vec<const int32_t> NOETRI, int32_t NBE, Vec<int32_t> marks)
{
    for (int32_t e = 1; e <= NBE; ++e) {
        marks(e) = 0;
    }
    for (int32_t i = 1; i <= border.count(); ++i) {
        EdgeSides sides;
        if (sfride(Vec<const int32_t>(border.row(i), border.width()), d, ITRNOE, ITRTRI, NOETRI, NBE, sides) != kOk) {
            return traced(kDataError, "SCULPT", "APPEL SFRIDE");
        }
        const int32_t e = sides.E1 != 0 ? sides.E1 : sides.E2;
        const int32_t f = sides.E1 != 0 ? sides.F1 : sides.F2;
        if ((sides.E1 == 0) != (sides.E2 == 0) && e >= 1 && e <= NBE && f >= 1 && f <= 30) {
            marks(e) |= int32_t(1) << f;
        }
    }
    for (int32_t e = 1; e <= NBE; ++e) {
        int32_t faces = 0;
        if (strnbc(strnbn(ITRNOE.row(e), ITRNOE.width()), d, faces) != kOk) {
            return traced(kDataError, "SCULPT", " TYPE D ELEMENT INCONNU");
        }
        for (int32_t k = 1; k <= std::min(faces, ITRTRI.width()); ++k) {
            if (ITRTRI(e, k) == 0 && (marks(e) & (int32_t(1) << k)) == 0) {
                return traced(kDataError, "SCULPT", " BORD HORS DES FRONTIERES");
            }
        }
    }
    return kOk;
}

} // namespace

int scrgcc(int32_t seed, int32_t sign, Rows<const int32_t> ITRTRI, int32_t NBE, Vec<int32_t> work, Vec<int32_t> signs,
           int32_t& flooded)
{
    flooded = 0;
    if (NBE < 1 || NBE > ITRTRI.count() || signs.count() < NBE || seed < 1 || seed > NBE || signs(seed) != 0) {
        return traced(kDataError, "SCRGCC", " GERME INCORRECT");
    }
    if (int64_t(work.count()) < 2 * int64_t(NBE)) {
        return traced(kCapacityError, "SCRGCC", " APPEL TMA1CC");
    }
    // the region through positive neighbour entries, collected in the list, then signed
    const Vec<int32_t> list = work.slice(1, NBE);
    const Vec<int32_t> stack = work.slice(NBE + 1, NBE);
    const Rows<const int32_t> neighbours(ITRTRI.data(), ITRTRI.width(), NBE);
    const int code = tma1cc(neighbours, 1, seed, stack, signs.slice(1, NBE), list, flooded);
    if (code != kOk) {
        return traced(code, "SCRGCC", " APPEL TMA1CC");
    }
    for (int32_t i = 1; i <= flooded; ++i) {
        signs(list(i)) = sign;
    }
    return kOk;
}

int scmat(Rows<int32_t> border, int32_t d, Rows<const int32_t> ITRNOE, Rows<int32_t> ITRTRI,
          Vec<const int32_t> NOETRI, int32_t NBE, Vec<int32_t> work, Vec<int32_t> signs, int32_t& insideCount)
{
    insideCount = 0;
    const int32_t NB = border.count();
    const int32_t L = border.width();
    if (NBE < 0 || NBE > ITRNOE.count() || NBE > ITRTRI.count() || (NB > 0 && L < 2)) {
        return traced(kDataError, "SCMAT", " ARGUMENTS INCORRECTS");
    }
    if (signs.count() < NBE || int64_t(work.count()) < 2 * int64_t(NBE)) {
        return traced(kCapacityError, "SCMAT", " TABLEAUX TROP PETITS");
    }
    // 1. the border edges marked
    for (int32_t i = 1; i <= NB; ++i) {
        EdgeSides sides;
        const int code = sfricr(Vec<int32_t>(border.row(i), L), d, ITRNOE, ITRTRI, NOETRI, NBE, sides);
        if (code != kOk) {
            return traced(code, "SCMAT", " APPEL SFRICR");
        }
    }
    // 2. the regions, visiting the border edges cyclically until every element is signed
    for (int32_t e = 1; e <= NBE; ++e) {
        signs(e) = 0;
    }
    if (NB == 0) {
        return NBE == 0 ? kOk : traced(kDataError, "SCMAT", " REGIONS NON ATTEINTES");
    }
    int32_t total = 0;
    int32_t idle = 0; // border edges visited since the last new sign
    for (int32_t i = 1; total < NBE; i = i % NB + 1) {
        EdgeSides sides;
        int code = sfride(Vec<const int32_t>(border.row(i), L), d, ITRNOE, ITRTRI, NOETRI, NBE, sides);
        if (code != kOk || sides.E1 < 0 || sides.E1 > NBE || sides.E2 < 0 || sides.E2 > NBE) {
            return traced(code != kOk ? code : kDataError, "SCMAT", "APPEL SFRIDE");
        }
        Flood flood = floodAcross(sides, signs);
        if (flood.seed == 0 && i == NB && total == 0) {
            // no border edge on the outer boundary: the first element with an outer face is
            // outside
            if ((code = firstOuterElement(d, ITRNOE, ITRTRI, NBE, flood.seed)) != kOk || flood.seed == 0) {
                return traced(code != kOk ? code : kDataError, "SCMAT", " 5 APPEL SCRGCC");
            }
            flood.sign = kOutsideRegion;
            flood.trace = " 5 APPEL SCRGCC";
        }
        if (flood.seed == 0) {
            if (++idle >= NB) {
                return traced(kDataError, "SCMAT", " REGIONS NON ATTEINTES");
            }
            continue;
        }
        int32_t flooded = 0;
        if ((code = scrgcc(flood.seed, flood.sign, ITRTRI, NBE, work, signs, flooded)) != kOk) {
            return traced(code, "SCMAT", flood.trace);
        }
        total += flooded;
        insideCount += flood.sign == kInsideRegion ? 1 : 0;
        idle = 0;
    }
    return kOk;
}

int sculpt(Rows<int32_t> border, int32_t d, Rows<int32_t> ITRNOE, Rows<int32_t> ITRTRI, Vec<int32_t> NOETRI,
           int32_t& NBE, Vec<int32_t> iwork, int32_t& insideCount)
{
    insideCount = 0;
    if (border.count() == 0) {
        insideCount = 1;
        return kOk;
    }
    if (NBE < 0 || NBE > ITRNOE.count() || NBE > ITRTRI.count()) {
        return traced(kDataError, "SCULPT", " ARGUMENTS INCORRECTS");
    }
    if (int64_t(iwork.count()) < 3 * int64_t(NBE)) {
        return traced(kCapacityError, "SCULPT", " TROP D ELEMENTS");
    }
    // 1. region signs
    const Vec<int32_t> signs = iwork.slice(1, NBE);
    int code = scmat(border, d, ITRNOE, ITRTRI, NOETRI, NBE, iwork.slice(NBE + 1, 2 * NBE), signs, insideCount);
    if (code != kOk) {
        return traced(code, "SCULPT", " APPEL SCMAT");
    }
    // 2. the outside elements, listed over the signs already read; their nodes lose them
    int32_t t = 0;
    for (int32_t e = 1; e <= NBE; ++e) {
        if (signs(e) != kOutsideRegion) {
            continue;
        }
        signs(++t) = e;
        for (int32_t i = 1, n = strnbn(ITRNOE.row(e), ITRNOE.width()); i <= n; ++i) {
            if (ITRNOE(e, i) < 1 || ITRNOE(e, i) > NOETRI.count()) {
                return traced(kDataError, "SCULPT", " NOEUD HORS DE NOETRI");
            }
            NOETRI(ITRNOE(e, i)) = 0;
        }
    }
    const Vec<int32_t> outside = signs.slice(1, t);
    // 3. to rows 1..t
    enstri(outside);
    if ((code = nucomp(ITRNOE, ITRTRI, NOETRI, 0, NBE, outside)) != kOk) {
        return traced(code, "SCULPT", "APPEL NUCOMP");
    }
    // 4. deleted
    int32_t lost = 0;
    for (int32_t e = 1; e <= t; ++e) {
        if ((code = smadet(d, ITRNOE, ITRTRI, NBE, NOETRI, 0, e, Vec<int32_t>(), lost)) != kOk) {
            return traced(code, "SCULPT", "APPEL SMADET");
        }
    }
    // 5. the kept elements from the end to the freed rows
    //      [ 0 0 0 | k k k k k ]   ->   [ k k k k k | 0 0 0 ]
    for (int32_t i = 1; i <= std::min(NBE - t, t); ++i) {
        if ((code = nuperm(ITRNOE, ITRTRI, NOETRI, 0, NBE, i, NBE - i + 1)) != kOk) {
            return traced(code, "SCULPT", "APPEL NUPERM");
        }
    }
    NBE -= t;
    // 6. NOETRI from the kept elements; the last one containing a node wins
    for (int32_t e = 1; e <= NBE; ++e) {
        for (int32_t i = 1, n = strnbn(ITRNOE.row(e), ITRNOE.width()); i <= n; ++i) {
            if (ITRNOE(e, i) < 1 || ITRNOE(e, i) > NOETRI.count()) {
                return traced(kDataError, "SCULPT", " NOEUD HORS DE NOETRI");
            }
            NOETRI(ITRNOE(e, i)) = e;
        }
    }
    // 7. what is left must be bounded by the borders alone
    return checkBoundary(border, d, ITRNOE, ITRTRI, NOETRI, NBE, iwork.slice(1, NBE));
}

} // namespace tesmo
