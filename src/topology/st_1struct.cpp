// Border location among edges: the "edge" is a node, between the two edges meeting there.
#include "topology/st_1struct.hpp"

#include "messages/es_erreur.hpp"

namespace tesmo {


int sfri1d(int32_t a, int32_t d, Rows<const int32_t> ITRNOE, Rows<const int32_t> ITRTRI, Vec<const int32_t> NOETRI,
           int32_t NBE, EdgeSides& sides)
{
    sides = EdgeSides{};
    if (d != 1) {
        return traced(kNotAvailable, "SFRI1D", " NE FONCTIONNE QU EN 1D");
    }
    if (a < 1 || a > NOETRI.count() || NBE > ITRNOE.count() || NBE > ITRTRI.count()) {
        return traced(kDataError, "SFRI1D", "STRUCTURE INCORRECTE");
    }
    const int32_t first = NOETRI(a);
    if (first == 0) {
        return kOk;
    }
    const int32_t firstFace = first >= 1 && first <= NBE ? positionOf(ITRNOE, first, a) : 0;
    if (firstFace == 0 || firstFace > ITRTRI.width()) {
        return traced(kDataError, "SFRI1D", "STRUCTURE INCORRECTE");
    }
    const int32_t entry = ITRTRI(first, firstFace);
    const int32_t second = entry < 0 ? -entry : entry;
    int32_t secondFace = 0;
    if (second != 0) {
        secondFace = second <= NBE ? positionOf(ITRNOE, second, a) : 0;
        if (secondFace == 0) {
            return traced(kDataError, "SFRI1D", "STRUCTURE INCORRECTE 2");
        }
    }
    sides = EdgeSides{first, second, firstFace, secondFace};
    return kOk;
}

} // namespace tesmo
