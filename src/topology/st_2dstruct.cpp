// Walks about a node of a structure of polygons.
//
// About node a, crossing the face a -> w (w the node after a) turns one way, crossing the
// face w -> a (w the node before a) the other way. A walk ends on the outer boundary or back
// at its start element; a walk longer than the number of elements means that the
// neighbours do not close about the node, and is refused.
#include "topology/st_2dstruct.hpp"

#include "messages/es_erreur.hpp"

namespace tesmo {

namespace {

int32_t magnitude(int32_t entry) { return entry < 0 ? -entry : entry; }

bool tablesHold(Rows<const int32_t> ITRNOE, Rows<const int32_t> ITRTRI, int32_t NBE)
{
    return NBE >= 0 && NBE <= ITRNOE.count() && NBE <= ITRTRI.count();
}

/// The other side of an edge found at `face` of element `here`: the element across and the
/// position of `node` in it (0, 0 on the outer boundary). -1 when the element across does
/// not hold the node.
[[nodiscard]] int otherSide(Rows<const int32_t> ITRNOE, Rows<const int32_t> ITRTRI, int32_t NBE, int32_t here,
                            int32_t face, int32_t node, int32_t& element, int32_t& position)
{
    element = magnitude(ITRTRI(here, face));
    position = 0;
    if (element == 0) {
        return kOk;
    }
    position = element <= NBE ? positionOf(ITRNOE, element, node) : 0;
    if (position == 0) {
        return traced(kDataError, "SFRI2D", "STRUCTURE INCORRECTE 3");
    }
    return kOk;
}

} // namespace

int sfri2d(int32_t a, int32_t b, int32_t d, Rows<const int32_t> ITRNOE, Rows<const int32_t> ITRTRI,
           Vec<const int32_t> NOETRI, int32_t NBE, EdgeSides& sides)
{
    sides = EdgeSides{};
    if (d != 2) {
        return traced(kNotAvailable, "SFRI2D", " NE FONCTIONNE PAS EN 3D");
    }
    if (a < 1 || a > NOETRI.count() || !tablesHold(ITRNOE, ITRTRI, NBE)) {
        return traced(kDataError, "SFRI2D", "STRUCTURE INCORRECTE");
    }
    const int32_t start = NOETRI(a);
    if (start == 0) {
        return kOk;
    }
    for (const int32_t direction : {1, -1}) {
        int32_t here = start;
        for (int32_t steps = 0;; ++steps) {
            // 2. a in the current element, and the node after (or before) it
            const int32_t n = here >= 1 && here <= NBE ? strnbn(ITRNOE.row(here), ITRNOE.width()) : 0;
            const int32_t t = n > 0 ? positionOf(ITRNOE, here, a) : 0;
            if (t == 0 || n > ITRTRI.width() || steps > NBE) {
                return traced(kDataError, "SFRI2D", "STRUCTURE INCORRECTE");
            }
            const int32_t w = direction > 0 ? t % n + 1 : (n + t - 2) % n + 1;
            const int32_t face = direction > 0 ? t : w;
            // 3. the edge found: this element and the one across
            if (ITRNOE(here, w) == b) {
                EdgeSides found;
                int code = kOk;
                if (direction > 0) {
                    found.E1 = here;
                    found.F1 = t;
                    code = otherSide(ITRNOE, ITRTRI, NBE, here, face, b, found.E2, found.F2);
                } else {
                    found.E2 = here;
                    found.F2 = w;
                    code = otherSide(ITRNOE, ITRTRI, NBE, here, face, a, found.E1, found.F1);
                }
                if (code == kOk) {
                    sides = found;
                }
                return code;
            }
            // 4. across the face, unless on the outer boundary or back at the start
            const int32_t next = magnitude(ITRTRI(here, face));
            if (next == 0) {
                break;
            }
            if (next == start) {
                return kOk;
            }
            here = next;
        }
    }
    return kOk;
}

int sesfr1(int32_t e, int32_t k, Rows<const int32_t> ITRTRI, int32_t NBE, int32_t& next, int32_t& back)
{
    next = 0;
    back = 0;
    if (e < 1 || e > NBE || NBE > ITRTRI.count() || k < 1 || k > ITRTRI.width()) {
        return traced(kDataError, "SESFR1", " NUMERO INCORRECT");
    }
    const int32_t across = magnitude(ITRTRI(e, k));
    if (across > NBE) {
        return traced(kDataError, "SESFR1", " NUMERO INCORRECT");
    }
    next = across;
    if (across == 0) {
        return kOk;
    }
    for (int32_t m = 1; m <= ITRTRI.width(); ++m) {
        if (magnitude(ITRTRI(across, m)) == e) {
            back = m;
            return kOk;
        }
    }
    return kOk;
}

int sesfr2(int32_t p, int32_t d, Rows<const int32_t> ITRNOE, Rows<const int32_t> ITRTRI, Vec<const int32_t> NOETRI,
           int32_t NBE, int32_t& element, int32_t& face)
{
    element = 0;
    face = -1;
    if (d == 3) {
        return traced(kNotAvailable, "SESFR2", " NE FONCTIONNE PAS EN 3D");
    }
    if (d != 2 || p < 1 || p > NOETRI.count() || !tablesHold(ITRNOE, ITRTRI, NBE)) {
        return traced(kDataError, "SESFR2", " ARGUMENTS INCORRECTS");
    }
    // 1. the start element and p in it
    const int32_t start = NOETRI(p);
    if (start == 0) {
        face = 0;
        return kOk;
    }
    const int32_t n = start >= 1 && start <= NBE ? strnbn(ITRNOE.row(start), ITRNOE.width()) : 0;
    const int32_t h = n > 0 ? positionOf(ITRNOE, start, p) : 0;
    if (h == 0) {
        return traced(kDataError, "SESFR2", "STRUCTURE INCORRECTE");
    }
    // 2. the face ending at p, 3. crossed element after element
    int32_t here = start;
    int32_t current = stfasu(2, n, h);
    for (int32_t steps = 0; steps <= NBE; ++steps) {
        int32_t next = 0;
        int32_t back = 0;
        if (sesfr1(here, current, ITRTRI, NBE, next, back) != kOk) {
            return traced(kDataError, "SESFR2", "STRUCTURE INCORRECTE");
        }
        // 4. outer boundary, or round the node
        if (next == 0 || next == start) {
            element = here;
            face = current;
            return kOk;
        }
        const int32_t following = back == 0 ? -1 : stfasu(2, strnbn(ITRNOE.row(next), ITRNOE.width()), back);
        if (following < 1) {
            return traced(kDataError, "SESFR2", "STRUCTURE INCORRECTE");
        }
        here = next;
        current = following;
    }
    return traced(kDataError, "SESFR2", "STRUCTURE INCORRECTE");
}

} // namespace tesmo
