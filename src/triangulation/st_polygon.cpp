// Polygons as cyclic lists of node numbers.
#include "triangulation/st_polygon.hpp"

#include "messages/es_erreur.hpp"

namespace tesmo {

namespace {

int32_t magnitude(int32_t entry) { return entry < 0 ? -entry : entry; }

/// Last position (from 1) of node v in the polygon, 0 when absent.
int32_t lastPosition(Vec<const int32_t> polygon, int32_t v)
{
    for (int32_t i = polygon.count(); i >= 1; --i) {
        if (polygon(i) == v) {
            return i;
        }
    }
    return 0;
}

/// Copies the polygon's vertices forward from position `from` to position `to` (wrapping).
[[nodiscard]] int copyForward(Vec<const int32_t> polygon, int32_t from, int32_t to, Vec<int32_t> out, int32_t& count)
{
    const int32_t n = polygon.count();
    count = (to - from + n) % n + 1;
    if (count > out.count()) {
        count = 0;
        return kCapacityError;
    }
    for (int32_t i = 0; i < count; ++i) {
        out(i + 1) = polygon((from - 1 + i) % n + 1);
    }
    return kOk;
}

} // namespace

int artopl(Rows<const int32_t> chainNodes, Rows<const int32_t> chainNeighbours, int32_t count, Vec<int32_t> polygon,
           int32_t& n)
{
    n = 0;
    if (count < 1 || count > chainNodes.count() || count > chainNeighbours.count() || chainNodes.width() < 2 ||
        chainNeighbours.width() < 2) {
        return kDataError;
    }
    // From edge 1, follow the neighbour across node 2; a closed chain of `count` edges comes
    // back to edge 1 after at most `count` steps.
    int32_t edge = 1;
    do {
        if (n >= count) {
            n = 0;
            return kDataError; // `count` edges passed without coming back to edge 1
        }
        if (n >= polygon.count()) {
            n = 0;
            return kCapacityError;
        }
        polygon(++n) = chainNodes(edge, 1);
        const int32_t next = magnitude(chainNeighbours(edge, 2));
        if (next < 1 || next > count || chainNodes(next, 1) != chainNodes(edge, 2)) {
            n = 0;
            return kDataError;
        }
        edge = next;
    } while (edge != 1);
    return kOk;
}

int splipl(Vec<const int32_t> polygon, int32_t a, int32_t b, Vec<int32_t> first, int32_t& n1, Vec<int32_t> second,
           int32_t& n2)
{
    n1 = 0;
    n2 = 0;
    if (a == b) {
        return traced(kDataError, "SPLIPL", " ARETE: ORIGINE=EXTREMITE");
    }
    const int32_t i = lastPosition(polygon, a);
    if (i == 0) {
        return traced(kDataError, "SPLIPL", " ORIGINE HORS POLYGONE");
    }
    const int32_t j = lastPosition(polygon, b);
    if (j == 0) {
        return traced(kDataError, "SPLIPL", " EXTREMITE HORS POLYGONE");
    }
    //          b                 b      b
    //        /   \             / |      | \    first:  b -> left side -> a
    //       .     .    ->     .  |      |  .   second: a -> right side -> b
    //        \   /             \ |      | /
    //          a                 a      a
    if (copyForward(polygon, j, i, first, n1) != kOk || copyForward(polygon, i, j, second, n2) != kOk) {
        n1 = 0;
        n2 = 0;
        return traced(kCapacityError, "SPLIPL", " POLYGONES TROP GRANDS");
    }
    return kOk;
}

} // namespace tesmo
